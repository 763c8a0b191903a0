#!/usr/bin/env bash
# Builds the fuzzers with clang, AddressSanitizer and UndefinedBehaviorSanitizer
# in a build folder of its own, then runs each for a bounded time: the
# options-file reader with the numeric rules, the disk image reader, and
# the run window's core over any tool output (decoder, parsers, disk map).
# Exits non-zero when the build fails or a fuzzer finds anything; the input
# that caused it is kept in the artifacts folder and belongs in a regular
# test row once fixed.
#
#   FERNCASTLE_FUZZ_BUILD    build folder                (default: <source>/build-fuzz)
#   FERNCASTLE_FUZZ_SECONDS  time for all three fuzzers  (default: 75)
#   FERNCASTLE_SHARED_DIR    sample images' shared folder (default: <source>/../shared)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${FERNCASTLE_FUZZ_BUILD:-$root/build-fuzz}"
seconds="${FERNCASTLE_FUZZ_SECONDS:-75}"
shared="${FERNCASTLE_SHARED_DIR:-$root/../shared}"

for tool in clang clang++ cmake gzip; do
    if ! command -v "$tool" >/dev/null; then
        echo "fuzz.sh: $tool is missing (Debian: apt-get install clang libclang-rt-14-dev)" >&2
        exit 2
    fi
done

cmake -S "$root" -B "$build" \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
    -DFERNCASTLE_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --target fuzz_optionfile fuzz_diskimage fuzz_tooloutput -j2

artifacts="$build/artifacts"
mkdir -p "$artifacts"
export ASAN_OPTIONS="${ASAN_OPTIONS:-abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}"

# run TARGET CORPUS SECONDS [libFuzzer options...]
run() {
    local target="$1" corpus="$2" time="$3"
    shift 3
    echo "== $target for ${time}s"
    "$build/fuzz/$target" "$corpus" \
        -max_total_time="$time" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$artifacts/" -print_final_stats=1 "$@"
}

# The seeds stay untouched; each fuzzer grows a working copy.
corpus="$build/corpus"
mkdir -p "$corpus"
cp -n "$root"/fuzz/corpus/* "$corpus"/
run fuzz_optionfile "$corpus" $((seconds / 4))

# The disk image seeds are the sample images, unpacked at fuzz time; the
# reader is fuzzed on their first 20000 bytes: a JV3 header block and its
# first sectors, or a DMK header and its first tracks.
images="$build/corpus-diskimage"
mkdir -p "$images"
if [ -d "$shared/tool-output/files" ]; then
    for sample in "$shared"/tool-output/files/*.dmk "$shared"/tool-output/files/*.dsk \
                  "$shared"/tool-output/files/*.dmk.gz "$shared"/tool-output/files/*.dsk.gz; do
        [ -e "$sample" ] || continue
        name="$(basename "$sample" .gz)"
        [ -e "$images/$name" ] && continue
        gzip -dcf "$sample" > "$images/unpacked"
        head -c 20000 "$images/unpacked" > "$images/$name"
        rm "$images/unpacked"
    done
else
    echo "fuzz.sh: no sample images in $shared; the disk image reader starts from nothing" >&2
fi
# The directory reader stands on the same target: the two real disks in the
# test fixtures seed it up to their directory cylinder and a little past it
# (the LDOS disk's cylinders 0-17, the TRSDOS 6 disk's header block and
# cylinders 0-18), so the inputs stay short enough to mutate quickly.
fixtures="$root/tests/fixtures/dos"
[ -e "$images/ld1-531-dir.dsk" ] || head -c 46080 "$fixtures/ld1-531.dsk" > "$images/ld1-531-dir.dsk"
[ -e "$images/xtrs-utility-dir.dsk" ] || head -c 57344 "$fixtures/xtrs-utility.dsk" > "$images/xtrs-utility-dir.dsk"
# Inputs that once broke the reader are run first, every time.
cp -n "$root"/fuzz/corpus-diskimage/* "$images"/
run fuzz_diskimage "$images" $((seconds / 2)) -max_len=57344

# The tool output seeds are the captured runs' stdout and stderr, each behind
# a first byte that picks the tool it is read as (see fuzz_tooloutput.cpp).
outputs="$build/corpus-tooloutput"
mkdir -p "$outputs"
if [ -d "$shared/tool-output" ]; then
    for run in "$shared"/tool-output/*/; do
        name="$(basename "$run")"
        case "$name" in
            cw2dmk*) pick='\000' ;; dmk2cw*) pick='\001' ;;
            dmk2jv3*) pick='\002' ;; jv2dmk*) pick='\003' ;; *) continue ;;
        esac
        for stream in stdout stderr; do
            [ -f "$run/$stream" ] || continue
            { printf "$pick"; head -c 20000 "$run/$stream"; } > "$outputs/$name-$stream"
        done
    done
fi
run fuzz_tooloutput "$outputs" $((seconds - seconds / 4 - seconds / 2)) -max_len=20000
