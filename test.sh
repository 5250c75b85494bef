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
set -euo pipefail
cd "$(dirname "$0")"

scripts/ensure-packages.sh scripts/packages-build.txt scripts/packages-test.txt

cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTACKNOTE_WERROR=ON >/dev/null
cmake --build build/test -j"$(nproc)"
(cd build/test && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" "$@")

if [ $# -eq 0 ]; then
    echo "== The core alone, with only Qt Core and Network found"
    cmake -S . -B build/core -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTACKNOTE_WERROR=ON \
          -DTACKNOTE_CORE_ONLY=ON -DCMAKE_UNITY_BUILD=ON >/dev/null
    cmake --build build/core -j"$(nproc)"
    scripts/check-layers.py

    echo "== Crash safety: kills during saves"
    scripts/kill-harness.sh
fi

if ! command -v clang++ >/dev/null; then
    echo "clang++ is missing (Debian package clang): no sanitizer suite, no fuzzing" >&2
    exit 1
fi
echo "== The suite under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset asan >/dev/null
cmake --build --preset asan -j"$(nproc)"
ctest --preset asan -j"$(nproc)" "$@"

if [ $# -eq 0 ]; then
    echo "== Fuzzing, a few seconds per target"
    scripts/fuzz.sh 5
fi
