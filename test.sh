#!/usr/bin/env bash
# Installs what is missing, builds Tacknote with its tests and runs the whole suite.
set -euo pipefail
cd "$(dirname "$0")"

scripts/ensure-packages.sh scripts/packages-build.txt scripts/packages-test.txt

cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTACKNOTE_WERROR=ON >/dev/null
cmake --build build/test -j"$(nproc)"
cd build/test
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" "$@"
