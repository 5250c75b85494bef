#!/usr/bin/env bash
# Resident memory of the real program before and after a peer sends one "new" with the
# width and height given (default 30000 x 30000), under a private X server; also the
# note's geometry and whether the keyboard focus moved to it.
#
#   bench/received-note-memory.sh [PROGRAM] [DISPLAY_NUMBER] [SIZE] [WINDOW_MANAGER]
#
# PROGRAM defaults to build/test/app/tacknote. With a window manager (openbox, fluxbox)
# an xev window stands for the window the user is typing in. Needs Xvfb, xdotool and
# xev (Debian: xvfb, xdotool, x11-utils) and bash's /dev/tcp.
set -euo pipefail
cd "$(dirname "$0")/.."
program=${1:-build/test/app/tacknote}
display=${2:-11}
size=${3:-30000}
wm=${4:-}
port=$((20000 + RANDOM % 20000))

home=$(mktemp -d)
xvfb_pid=
program_pid=
wm_pid=
typing_pid=
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null && wait "$program_pid" 2>/dev/null || true
    [ -n "$typing_pid" ] && kill "$typing_pid" 2>/dev/null || true
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$home"
}
trap cleanup EXIT

data="$home/Documents/Tacknote/$(id -un)/data"
mkdir -p "$data" "$home/run"
chmod 700 "$home/run"
printf '[General]\r\nNumStickies=0\r\nNoteDaily=0\r\n[Network]\r\nEnabled=1\r\nPortTCP=%s\r\n' \
    "$port" >"$data/stickies.tkn"

Xvfb ":$display" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.05; done
if [ -n "$wm" ]; then
    DISPLAY=":$display" HOME="$home" "$wm" >/dev/null 2>&1 &
    wm_pid=$!
    sleep 1
fi

env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY DISPLAY=":$display" HOME="$home" \
    XDG_CONFIG_HOME="$home/.config" XDG_DOCUMENTS_DIR="$home/Documents" \
    XDG_RUNTIME_DIR="$home/run" "$program" >/dev/null 2>&1 &
program_pid=$!

rss() { awk '/^VmRSS:/ { print $2 }' "/proc/$program_pid/status"; }
for _ in $(seq 200); do
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
    sleep 0.05
done
sleep 1
if [ -n "$wm" ]; then
    DISPLAY=":$display" xev -name typing >/dev/null 2>&1 &
    typing_pid=$!
    sleep 1
fi
before=$(rss)
focus_before=$(DISPLAY=":$display" xdotool getwindowfocus 2>/dev/null || echo none)

exec 3<>"/dev/tcp/127.0.0.1/$port"
printf 'new\xa2bench\xa2Grande\xa2255\xa2%s\xa2%s\xa2255\xa2Arial\xa210\xa20\xa2nobold\xa2noitalic\r\n\r\nend\xa2\r\n\r\n' \
    "$size" "$size" >&3
sleep 3
exec 3>&-
after=$(rss)
focus_after=$(DISPLAY=":$display" xdotool getwindowfocus 2>/dev/null || echo none)
peak=$(awk '/^VmHWM:/ { print $2 }' "/proc/$program_pid/status")
window=$(DISPLAY=":$display" xdotool search --name '^Grande$' 2>/dev/null | head -1 || true)
geometry=
[ -n "$window" ] && geometry=$(DISPLAY=":$display" xdotool getwindowgeometry "$window" | tr '\n' ' ')
echo "new ${size}x${size} on a 1920x1080 screen: resident ${before} KiB before, ${after} KiB after," \
    "peak ${peak} KiB; note window: ${geometry:-not found}; keyboard focus on window" \
    "${focus_before} before, ${focus_after} after"
