#!/bin/sh
# Times start-up, a launch attempt up to its message, the message's closing
# and a file dialog with a 10 MB value stored under each key in turn, then
# under every key at once. Usage: scripts/benchmark-longvalues.sh [BUILD_DIR]
set -eu
build=${1:-build}
cmake --build "$build" -j2 --target ferncastle_longvalues >/dev/null
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
"$build/bench/ferncastle_longvalues" \
    "CW Port" "Tracks" "Retries" "Extra Parameters" "Last Used Directory" \
    "DOS Files Path" "Kind" all
