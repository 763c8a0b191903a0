#!/usr/bin/env bash
# Builds the options-file fuzzer with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in a build folder of its own, then runs it for a
# bounded time. Exits non-zero when the build fails or the fuzzer finds
# anything; the input that caused it is kept in the artifacts folder and
# belongs in a regular test row once fixed.
#
#   FERNCASTLE_FUZZ_BUILD    build folder      (default: <source>/build-fuzz)
#   FERNCASTLE_FUZZ_SECONDS  time to fuzz      (default: 60)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${FERNCASTLE_FUZZ_BUILD:-$root/build-fuzz}"
seconds="${FERNCASTLE_FUZZ_SECONDS:-60}"

for tool in clang clang++ cmake; do
    if ! command -v "$tool" >/dev/null; then
        echo "fuzz.sh: $tool is missing (Debian: apt-get install clang libclang-rt-14-dev)" >&2
        exit 2
    fi
done

cmake -S "$root" -B "$build" \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
    -DFERNCASTLE_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --target fuzz_optionfile -j2

# The seeds stay untouched; the fuzzer grows a working copy.
corpus="$build/corpus"
artifacts="$build/artifacts"
mkdir -p "$corpus" "$artifacts"
cp -n "$root"/fuzz/corpus/* "$corpus"/

export ASAN_OPTIONS="${ASAN_OPTIONS:-abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}"
"$build/fuzz/fuzz_optionfile" "$corpus" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$artifacts/" -print_final_stats=1
