#!/bin/sh
# Starts the program from a build folder: tools/run-verbeno.sh <build folder> [arguments...]
# On a machine without a CD drive (and with VERBENO_CD_DEVICE unset) it offers the demo disc
# that the build wrote, and starts in the demo folder, where sample.wav waits for Wav -> MP3.
set -e
build=${1:?usage: run-verbeno.sh <build folder> [arguments...]}
shift
build=$(cd "$build" && pwd)
demo="$build/demo"
if [ -z "${VERBENO_CD_DEVICE:-}" ] && ! ls /dev/sr[0-9]* /dev/cdrom >/dev/null 2>&1 &&
   [ -f "$demo/demo.cue" ]; then
    export VERBENO_CD_DEVICE="$demo/demo.cue"
    echo "No CD drive here: using the demo disc $VERBENO_CD_DEVICE"
    echo "and the sample $demo/sample.wav."
    cd "$demo"
fi
exec "$build/bin/verbeno" "$@"
