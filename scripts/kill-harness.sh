#!/usr/bin/env bash
# Crash safety of the notes file and of the deleted-notes file: kills programs with SIGKILL
# at random moments of a save of 101 full notes (or of 50 deleted notes) and checks after
# every kill that the file holds one whole save (see tests/crash/KillHarness.cpp).
#
#   scripts/kill-harness.sh [saver kills, default 250] [program kills, default 25]
#                           [deleted-notes saver kills, default half the saver kills]
#
# The saver kills go to a small program that saves through the program's own notes-file
# (or deleted-notes) code in a loop (a tenth of a second each); the program kills go to
# the real tacknote executable, made to save by SIGTERM (about a second each). A longer
# run:
#   scripts/kill-harness.sh 3000 300
set -euo pipefail
cd "$(dirname "$0")/.."

kills="${1:-250}"
programKills="${2:-25}"
deletedKills="${3:-$((kills / 2))}"
build=build/test
if [ ! -f "$build/build.ninja" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTACKNOTE_WERROR=ON >/dev/null
fi
cmake --build "$build" --target tacknote_kill_harness
exec "$build/tests/crash/tacknote_kill_harness" --kills "$kills" --deleted-kills "$deletedKills" \
    --program-kills "$programKills"
