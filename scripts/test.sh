#!/usr/bin/env bash
# Installs what is missing, builds Ferncastle and runs the whole test suite:
# once in a normal build, once under AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh test
jobs=$(nproc)

echo "== Build and test"
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/test -j"$jobs"
(cd build/test && ctest --output-on-failure -j"$jobs")

echo "== Build and test under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug -DFERNCASTLE_SANITIZE=ON >/dev/null
cmake --build build/sanitize -j"$jobs"
(cd build/sanitize && ctest --output-on-failure -j"$jobs")

echo "== Fuzz the option-file reader, the numeric rules and the disk image reader"
bash scripts/fuzz.sh
