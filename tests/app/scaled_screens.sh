#!/usr/bin/env bash
# Notes on scaled screens, under a real X server and window manager (fluxbox): at 200 %
# (Xft.dpi 192, as GNOME and KDE set it) and at 150 % (QT_SCALE_FACTOR=1.5) every note
# maps at its stored place and size in logical pixels, memory stays bounded, notes that
# gave back their drawing surfaces while idle draw themselves whole again when a window
# that covered them goes away, and a start followed by a close leaves the notes file byte
# for byte as a 100 % desktop wrote it.
#
# Usage: scaled_screens.sh PROGRAM. Exits 77 (skipped) when a tool is missing.
set -euo pipefail
program=$1
for tool in Xvfb fluxbox xrdb xdotool xprop xwd xmessage; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# Polls a command for up to thirty seconds.
wait_for() {
    for _ in $(seq 300); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
    return 1
}

# A display of its own with fluxbox on it; the X resources after the window manager,
# which replaces them when it starts.
start_display() {
    local dpi=$1
    local numberFile="$work/display-$RANDOM"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$numberFile" >/dev/null 2>&1 &
    pids+=($!)
    wait_for test -s "$numberFile" || fail "Xvfb did not start"
    export DISPLAY=":$(head -1 "$numberFile")"
    fluxbox >/dev/null 2>&1 &
    pids+=($!)
    wait_for sh -c "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q window" ||
        fail "fluxbox did not start"
    # fluxbox may replace the resources a moment after it is up (later on a busy
    # machine): merged until they stay.
    local kept=0
    for _ in $(seq 150); do
        if xrdb -query | grep -q "^Xft.dpi:[[:space:]]*$dpi\$"; then
            kept=$((kept + 1))
            [ "$kept" -ge 3 ] && return 0
        else
            kept=0
            echo "Xft.dpi: $dpi" | xrdb -merge
        fi
        sleep 0.2
    done
    fail "the X resources did not keep Xft.dpi $dpi"
}

export HOME="$work/home"
export XDG_RUNTIME_DIR="$work/run"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
data="$HOME/Documents/Tacknote/$(id -un)/data"
mkdir -p "$data"
notes="$data/stickies.tkn"
printf '%s\r\n' "[General]" "NumStickies=2" "DefaultLang=Port" "TrayNoticeShown=1" \
    "[Stick0]" "caption=Nota A" "posx=100" "posy=60" "Width=250" "Height=200" "note=um" \
    "[Stick1]" "caption=Nota B" "posx=420" "posy=300" "Width=300" "Height=150" \
    "note=dois" >"$notes"

# Whether xdotool's geometry line shows a note at x,y of w x h logical pixels at the
# scale factor: the position exact, the size within the window manager's rounding to its
# resize steps (a pixel or so).
at_place() {
    local geometry=$1 factor=$2 x=$3 y=$4 w=$5 h=$6
    local position=${geometry##*Position: } size=${geometry##*Geometry: }
    awk -v position="${position%% *}" -v size="${size%% *}" -v x="$x" -v y="$y" -v w="$w" \
        -v h="$h" -v f="$factor" 'BEGIN {
        split(position, at, ","); split(size, got, "x")
        dw = got[1] - w * f; dh = got[2] - h * f
        exit !(at[1] == int(x * f) && at[2] == int(y * f) &&
               dw > -2 && dw < 2 && dh > -2 && dh < 2) }'
}

shmem() { awk '/RssShmem/ {print $2}' "/proc/$1/status"; }
# The pixels of windows as the X server shows them.
pixels() {
    local id
    for id in "$@"; do xwd -silent -id "$id" | md5sum; done
}

# Waits until the program has given back the drawing surface of at least one idle note
# (neither active nor under the pointer), covers the notes with another window, takes it
# away, and checks that they are drawn as they were before.
redrawn_after_cover() {
    local pid=$1
    shift
    xdotool mousemove 1279 0
    local before=$(shmem "$pid") released=
    for _ in $(seq 150); do
        (($(shmem "$pid") < before - 150)) && { released=1; break; }
        sleep 0.1
    done
    [ -n "$released" ] || fail "no idle note gave back its surface ($(shmem "$pid") kB shared)"
    local seen=$(pixels "$@")
    xmessage -geometry 1200x900+0+0 "$(seq 1 400 | tr '\n' ' ')" >/dev/null 2>&1 &
    local cover=$!
    wait_for sh -c "xdotool search --onlyvisible --class Xmessage" || fail "no covering window"
    [ "$(pixels "$@")" != "$seen" ] || fail "the covering window did not cover the notes"
    kill "$cover"
    wait "$cover" 2>/dev/null || true
    for _ in $(seq 100); do
        [ "$(pixels "$@")" = "$seen" ] && return 0
        sleep 0.1
    done
    fail "the notes were not drawn again after being uncovered"
}

# Runs the program until its notes are mapped, checks them, and ends it as a session does.
run() {
    local factor=$1
    shift
    env -u QT_QPA_PLATFORM "$@" "$program" >"$work/out.log" 2>&1 &
    local pid=$!
    local caption x y w h ids=()
    for note in "Nota A 100 60 250 200" "Nota B 420 300 300 150"; do
        read -r _ caption x y w h <<<"$note"
        local id
        # Polled rather than waited for with --sync: a window that goes away while xdotool
        # walks the tree (a menu, a tooltip) ends a search with an X error.
        id=
        for _ in $(seq 300); do
            id=$(xdotool search --onlyvisible --name "^Nota $caption\$" 2>/dev/null | head -1) || true
            [ -n "$id" ] && break
            sleep 0.1
        done
        [ -n "$id" ] || fail "note $caption never showed ($*): $(tail -5 "$work/out.log")"
        # The window manager places the window after mapping it: polled until it is
        # where it belongs, or ten seconds have passed.
        local geometry
        for _ in $(seq 100); do
            geometry=$(xdotool getwindowgeometry "$id" 2>/dev/null | tr -s ' \n' ' ') || true
            at_place "$geometry" "$factor" "$x" "$y" "$w" "$h" && break
            sleep 0.1
        done
        at_place "$geometry" "$factor" "$x" "$y" "$w" "$h" ||
            fail "note $caption: $geometry, wanted ${w}x${h} at $x,$y times $factor ($*)"
        ids+=("$id")
    done
    redrawn_after_cover "$pid" "${ids[@]}"
    local rss
    rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
    ((rss < 200000)) || fail "resident memory $rss kB ($*)"
    kill -TERM "$pid"
    wait "$pid" || fail "the program ended with status $? ($*): $(tail -5 "$work/out.log")"
}

start_display 96
run 1 A=1
cp "$notes" "$work/at-100.tkn"
start_display 192
run 2 A=1
cmp "$notes" "$work/at-100.tkn" || fail "the notes file changed at 200 %"
start_display 96
run 1.5 QT_SCALE_FACTOR=1.5
cmp "$notes" "$work/at-100.tkn" || fail "the notes file changed at 150 %"
echo "scaled screens: passed"
