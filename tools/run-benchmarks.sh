#!/usr/bin/env bash
# Runs every benchmark of the build folder $1 and prints their figures.
set -euo pipefail
build=${1:-build}
export QT_QPA_PLATFORM=offscreen
export VERBENO_ENCODER_LIBRARY="$(cd "$build/bin" && pwd)/libbladeenc.so"
status=0
for bench in "$build"/bench/bench_*; do
  [[ -f "$bench" && -x "$bench" ]] || continue
  echo "== $(basename "$bench")"
  "$bench" || status=1
  echo
done
exit $status
