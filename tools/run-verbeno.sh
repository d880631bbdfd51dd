#!/bin/sh
# Starts the program from a build folder: tools/run-verbeno.sh <build folder> [arguments...]
set -e
build=${1:?usage: run-verbeno.sh <build folder> [arguments...]}
shift
exec "$build/bin/verbeno" "$@"
