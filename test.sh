#!/usr/bin/env bash
# Installs what is missing, then proves the program:
#  - the program as it ships (GCC, warnings as errors): every source of the program, the
#    core alone on Qt Core and Network only (build/core), and the folders' layers
#    (scripts/check-layers.py);
#  - the whole suite, built with clang under AddressSanitizer and
#    UndefinedBehaviorSanitizer (the "asan" CMake preset, in build/asan);
#  - on the GCC-built program: the crash-safety harness (scripts/kill-harness.sh) and the
#    scaled-screen check, whose memory bound means something only without a sanitizer;
#  - every fuzz target for a few seconds (scripts/fuzz.sh).
#
# Arguments go to ctest (./test.sh -R IniFile); with arguments only the suite runs, not
# the core build, the harness, the scaled-screen check on the GCC build and the fuzz
# targets. The GCC build (build/test) builds and runs the tests too when asked:
#   cmake --build build/test && (cd build/test && ctest)
#
# The builds compile the libraries a dozen sources to a unit and the tests on shared
# precompiled headers; the benchmarks are not built (bench/README.md builds them). Most
# tests wait on timers, servers and child programs rather than on the processor, so
# ctest runs three of them per core, and the harness runs beside the suite.
set -euo pipefail
cd "$(dirname "$0")"
testJobs=$(($(nproc) * 3))

scripts/ensure-packages.sh scripts/packages-build.txt scripts/packages-test.txt

echo "== The program as it ships (GCC)"
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTACKNOTE_WERROR=ON \
      -DTACKNOTE_PCH=ON -DTACKNOTE_UNITY=ON -DTACKNOTE_BUILD_BENCH=OFF >/dev/null
cmake --build build/test -j"$(nproc)" --target tacknote tacknote-capture tacknote_data \
      tacknote_translations tacknote_kill_harness
if [ $# -eq 0 ]; then
    cmake -S . -B build/core -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTACKNOTE_WERROR=ON \
          -DTACKNOTE_CORE_ONLY=ON -DCMAKE_UNITY_BUILD=ON >/dev/null
    cmake --build build/core -j"$(nproc)"
    scripts/check-layers.py
    # Alone on the machine: it starts three X servers with a window manager each, which
    # a machine busy with other tests can keep waiting for longer than it allows.
    echo "== Scaled screens, on the GCC-built program"
    (cd build/test && ctest --output-on-failure -R '^scaled_screens$')
fi

if ! command -v clang++ >/dev/null; then
    echo "clang++ is missing (Debian package clang): no sanitizer suite, no fuzzing" >&2
    exit 1
fi
echo "== The suite under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset asan >/dev/null
cmake --build --preset asan -j"$(nproc)"
if [ $# -eq 0 ]; then
    harnessLog=build/test/kill-harness.log
    scripts/kill-harness.sh >"$harnessLog" 2>&1 &
    harness=$!
    trap 'kill "$harness" 2>/dev/null || true' EXIT
fi
if [ $# -eq 0 ]; then
    # The scaled-screen check ran above, on the GCC build.
    ctest --preset asan -j"$testJobs" -E '^scaled_screens$'
else
    ctest --preset asan -j"$testJobs" "$@"
fi

if [ $# -eq 0 ]; then
    echo "== Fuzzing, a few seconds per target"
    scripts/fuzz.sh 5
    echo "== Crash safety: kills during saves"
    harnessResult=0
    wait "$harness" || harnessResult=$?
    cat "$harnessLog"
    [ "$harnessResult" -eq 0 ] || { echo "the crash-safety harness failed" >&2; exit 1; }
fi
