#!/usr/bin/env bash
# Installs what is missing, builds Tacknote and starts it.
set -euo pipefail
cd "$(dirname "$0")"

# A desktop program needs a display: say so before spending minutes on the build.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No graphical display found (neither DISPLAY nor WAYLAND_DISPLAY is set)." >&2
    echo "Tacknote is a desktop program: start it from a desktop session." >&2
    exit 1
fi

scripts/ensure-packages.sh scripts/packages-build.txt

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTACKNOTE_BUILD_TESTS=OFF -DTACKNOTE_BUILD_BENCH=OFF >/dev/null
cmake --build build/release --target tacknote

exec build/release/app/tacknote "$@"
