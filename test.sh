#!/usr/bin/env bash
# Installs what is missing, builds Tacknote with its tests and runs the whole suite; then
# builds the core alone (Qt Core and Network only), checks the folders' layers
# (scripts/check-layers.py) and proves its reliability: the crash-safety harness
# (scripts/kill-harness.sh), the suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer (the "asan" CMake preset, in build/asan), and every fuzz
# target for a few seconds (scripts/fuzz.sh).
#
# Arguments go to ctest (./test.sh -R IniFile); with arguments only the two suites run,
# not the harness and the fuzz targets.
#
# Both full builds compile the libraries a dozen sources to a unit and the tests on
# precompiled headers; the benchmarks are not built (bench/README.md builds them). Most
# tests wait on timers, servers and child programs rather than on the processor, so
# ctest runs three of them per core; the crash-safety harness runs while the sanitizer
# build compiles.
set -euo pipefail
cd "$(dirname "$0")"
testJobs=$(($(nproc) * 3))

scripts/ensure-packages.sh scripts/packages-build.txt scripts/packages-test.txt

cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTACKNOTE_WERROR=ON \
      -DTACKNOTE_PCH=ON -DTACKNOTE_UNITY=ON -DTACKNOTE_BUILD_BENCH=OFF >/dev/null
cmake --build build/test -j"$(nproc)"
(cd build/test && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$testJobs" "$@")

if [ $# -eq 0 ]; then
    echo "== The core alone, with only Qt Core and Network found"
    cmake -S . -B build/core -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTACKNOTE_WERROR=ON \
          -DTACKNOTE_CORE_ONLY=ON -DCMAKE_UNITY_BUILD=ON >/dev/null
    cmake --build build/core -j"$(nproc)"
    scripts/check-layers.py

    echo "== Crash safety: kills during saves (beside the sanitizer build)"
    harnessLog=build/test/kill-harness.log
    scripts/kill-harness.sh >"$harnessLog" 2>&1 &
    harness=$!
    trap 'kill "$harness" 2>/dev/null || true' EXIT
fi

if ! command -v clang++ >/dev/null; then
    echo "clang++ is missing (Debian package clang): no sanitizer suite, no fuzzing" >&2
    exit 1
fi
echo "== The suite under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset asan >/dev/null
cmake --build --preset asan -j"$(nproc)"
if [ $# -eq 0 ]; then
    harnessResult=0
    wait "$harness" || harnessResult=$?
    echo "== Crash safety: the harness's report"
    cat "$harnessLog"
    [ "$harnessResult" -eq 0 ] || { echo "the crash-safety harness failed" >&2; exit 1; }
fi
ctest --preset asan -j"$testJobs" "$@"

if [ $# -eq 0 ]; then
    echo "== Fuzzing, a few seconds per target"
    scripts/fuzz.sh 5
fi
