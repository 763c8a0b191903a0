#!/usr/bin/env bash
# Start-up benchmark. Under an Xvfb server of its own, it times Ferncastle
# from its start to the mapping of its main window and reads its peak memory
# (VmHWM, once the first paint is done), over repeated runs, side by side
# with the toolkit's floor: a bare Qt Widgets window with a menu bar and a
# few controls. It prints the medians and the ratios to the floor. The CPU
# time to the map is shown beside the wall time: on a busy machine the wall
# time mostly measures the wait for a core, the CPU time hardly moves.
#
# Usage: scripts/benchmark-startup.sh [RUNS] [BUILD_DIR]
#   RUNS       runs of each program, after one unmeasured warm-up (default 15)
#   BUILD_DIR  build folder (default build-bench); a new one is configured
#              as a Release build. The three targets are built if needed.
# Needs: Xvfb (Debian package xvfb) and Xlib's headers (libx11-dev).
set -euo pipefail

runs=${1:-15}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${2:-$root/build-bench}
settle_ms=500
timeout_ms=30000
targets="start-up 1.20x, peak memory 1.15x"

build_targets() {
    if [ ! -f "$build/CMakeCache.txt" ]; then
        cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
    fi
    cmake --build "$build" -j2 --target ferncastle ferncastle_floor ferncastle_mapwatch >/dev/null
}

# Starts Xvfb on a free display and exports DISPLAY once it accepts clients.
start_xvfb() {
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" \
        2>"$work/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$work/display" ] && break
        sleep 0.1
    done
    [ -s "$work/display" ] || { cat "$work/xvfb.log" >&2; exit 1; }
    export DISPLAY=":$(head -n 1 "$work/display")"
}

# Settings that name a tools folder, so that a program that reads its
# settings store shows its main window instead of the first-run prompt.
write_settings() {
    mkdir -p "$work/config"
    mkdir -m 700 "$work/runtime"
    printf '[Ferncastle]\nDOS%%20Files%%20Path=/tmp/\n' >"$work/config/Larkvale.ini"
}

# One run: prints "<ms to map> <CPU ms to map> <peak KiB>".
measure() {
    if ! XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb \
        "$build/bench/ferncastle_mapwatch" "$1" "$settle_ms" "$timeout_ms" "$2" \
        2>>"$work/runs.log"; then
        cat "$work/runs.log" >&2
        exit 1
    fi
}

median() {
    sort -n | awk '{ v[NR] = $1 }
        END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2fx", a / b }'; }

run_all() {
    measure "Ferncastle Floor" "$build/bench/ferncastle_floor" >/dev/null
    measure "Larkvale Ferncastle" "$build/src/ferncastle" >/dev/null
    for _ in $(seq "$runs"); do
        measure "Ferncastle Floor" "$build/bench/ferncastle_floor" >>"$work/floor"
        measure "Larkvale Ferncastle" "$build/src/ferncastle" >>"$work/program"
    done
}

# The medians of the three columns of a results file.
medians() {
    for column in 1 2 3; do
        cut -d' ' -f"$column" "$1" | median
    done
}

report() {
    local floor program
    mapfile -t floor < <(medians "$work/floor")
    mapfile -t program < <(medians "$work/program")
    echo "Start-up to main window mapped, medians of $runs runs" \
        "($(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$build/CMakeCache.txt") build, Xvfb $DISPLAY)"
    printf '%-12s %14s %16s %18s\n' "" "start-up (ms)" "CPU to map (ms)" "peak memory (KiB)"
    printf '%-12s %14s %16s %18s\n' "floor" "${floor[@]}"
    printf '%-12s %14s %16s %18s\n' "ferncastle" "${program[@]}"
    printf '%-12s %14s %16s %18s\n' "ratio" "$(ratio "${program[0]}" "${floor[0]}")" \
        "$(ratio "${program[1]}" "${floor[1]}")" "$(ratio "${program[2]}" "${floor[2]}")"
    echo "targets: $targets"
}

main() {
    command -v Xvfb >/dev/null || { echo "Xvfb not found (Debian package xvfb)" >&2; exit 1; }
    build_targets
    work=$(mktemp -d)
    xvfb_pid=
    trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null; wait; rm -rf "$work"' EXIT
    start_xvfb
    write_settings
    : >"$work/floor"
    : >"$work/program"
    run_all
    report
}

main
