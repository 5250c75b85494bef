#!/bin/bash
# Tacknote and xpad side by side on the same notes, under a private Xvfb (1280x1024) with
# fluxbox: the time from exec until the notes are mapped, the CPU of the start (the
# program's own, and the X server's plus the window manager's), the memory once settled,
# and the wake-ups while nobody does anything. The two programs take turns, round by
# round; the figures are medians, with the ratio Tacknote / xpad.
#
#   bench/compare-xpad.sh [--rounds N] [--idle SECONDS] [--build DIR]
#
# Needs a Release build with bench_map_wait (see bench/README.md) and the Debian packages
# in bench/packages.txt.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
rounds=5
idle=30
settle=5
build="$here/build/release"
while [ $# -gt 0 ]; do
    case $1 in
    --rounds) rounds=$2; shift 2 ;;
    --idle) idle=$2; shift 2 ;;
    --build) build=$2; shift 2 ;;
    *) echo "usage: $0 [--rounds N] [--idle SECONDS] [--build DIR]" >&2; exit 2 ;;
    esac
done

tacknote="$build/app/tacknote"
wait_map="$build/bench/bench_map_wait"
for tool in Xvfb fluxbox xpad; do
    if ! command -v "$tool" >/dev/null; then
        echo "$tool is missing: apt-get install $(tr '\n' ' ' <"$here/bench/packages.txt")" >&2
        exit 1
    fi
done
for built in "$tacknote" "$wait_map"; do
    if [ ! -x "$built" ]; then
        echo "$built is missing: build the Release build first (bench/README.md)" >&2
        exit 1
    fi
done

work=$(mktemp -d /tmp/compare-xpad.XXXXXX)
pids=()
# Ends a process by its id: asked first, then forced; it need not be our child.
end_process() {
    local pid=$1 i
    kill -TERM "$pid" 2>/dev/null || return 0
    for i in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
}
cleanup() {
    local pid
    for pid in "${pids[@]}"; do
        end_process "$pid"
    done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'echo interrupted >&2; exit 130' INT
trap 'echo terminated >&2; exit 143' TERM

display=
for n in $(seq 150 199); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
        display=$n
        break
    fi
done
[ -n "$display" ] || { echo "no free X display number" >&2; exit 1; }
export DISPLAY=":$display"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM DBUS_SESSION_BUS_ADDRESS SESSION_MANAGER

Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xserver=$!
pids+=("$xserver")
for i in $(seq 100); do
    [ -e "/tmp/.X11-unix/X$display" ] && break
    kill -0 "$xserver" 2>/dev/null || { echo "Xvfb did not start:" >&2; cat "$work/xvfb.log" >&2; exit 1; }
    sleep 0.1
done
mkdir -p "$work/wm/.fluxbox"
echo "background: none" >"$work/wm/.fluxbox/overlay"
HOME="$work/wm" fluxbox >"$work/fluxbox.log" 2>&1 &
wm=$!
pids+=("$wm")
sleep 2
kill -0 "$wm" 2>/dev/null || { echo "fluxbox did not start" >&2; exit 1; }

body=
while [ ${#body} -lt 2047 ]; do
    body+="Lorem ipsum dolor sit amet, consectetur adipiscing elit. "
done
body=${body:0:2047}
user=$(id -un)

# A private home with count notes for the program: HOME and the XDG folders in it.
make_home() {
    local program=$1 count=$2 home=$3 i x y
    rm -rf "$home"
    mkdir -p "$home/.config" "$home/.cache" "$home/.local/share"
    mkdir -p -m 700 "$home/run"
    if [ "$program" = tacknote ]; then
        local data="$home/Documents/Tacknote/$user/data"
        mkdir -p "$data"
        {
            printf '%s\r\n' "[General]" "NumStickies=$count" "TrayNoticeShown=1" "AskDelete=1" \
                "AutoSave=1" "TimeAutoSave=10" "[Network]" "Enabled=0"
            for ((i = 0; i < count; i++)); do
                x=$((10 + (i % 10) * 100)) y=$((10 + (i / 10) * 75))
                printf '%s\r\n' "[Stick$i]" "caption=Note $i" "note=$body" "posx=$x" "posy=$y" \
                    "Width=250" "Height=200" "Color=8454143" "visible=1" "topmost=0"
            done
        } >"$data/stickies.tkn"
    else
        local pads="$home/.config/xpad"
        mkdir -p "$pads"
        printf '%s\n' "decorations 0" "height 200" "width 250" "confirm_destroy 1" \
            "tray_enabled 1" "toolbar 1" "auto_hide_toolbar 1" "scrollbar 1" \
            "autostart_wait_systray 0" "autostart_new_pad 0" "autostart_display_pads 2" \
            "hide_from_taskbar 1" "hide_from_task_switcher 0" >"$pads/default-style"
        for ((i = 0; i < count; i++)); do
            x=$((10 + (i % 10) * 100)) y=$((10 + (i / 10) * 75))
            printf '%s' "$body" >"$pads/content-$i"
            printf '%s\n' "width 250" "height 200" "x $x" "y $y" "follow_font 1" \
                "follow_color 1" "sticky 0" "hidden 0" "content content-$i" >"$pads/info-$i"
        done
    fi
}

cpu_ms() { # user + system CPU of a process, in ms
    awk -v tck="$(getconf CLK_TCK)" '{ sub(/^.*\) /, ""); print int(($12 + $13) * 1000 / tck) }' \
        "/proc/$1/stat"
}
kb() { awk -v key="$2:" '$1 == key { print $2 }' "$1"; }
switches() { # voluntary + involuntary context switches over every thread of a process
    cat /proc/"$1"/task/*/status 2>/dev/null |
        awk '/^(voluntary|nonvoluntary)_ctxt_switches:/ { n += $2 } END { print n + 0 }'
}
record() { echo "$3" >>"$work/$1.$2"; } # program, metric, value

# Starts the program on count notes and records its figures.
measure() {
    local program=$1 count=$2 home="$work/home-$1-$2"
    make_home "$program" "$count" "$home"
    local command=("$tacknote")
    [ "$program" = xpad ] && command=(xpad)
    local others_before=$(($(cpu_ms "$xserver") + $(cpu_ms "$wm")))
    local line
    if ! line=$(env HOME="$home" USER="$user" XDG_CONFIG_HOME="$home/.config" \
        XDG_CACHE_HOME="$home/.cache" XDG_DATA_HOME="$home/.local/share" \
        XDG_RUNTIME_DIR="$home/run" "$wait_map" "$count" 240 190 60 "${command[@]}" \
        2>>"$work/$program.log"); then
        echo "$program did not map its $count notes:" >&2
        tail -5 "$work/$program.log" >&2
        exit 1
    fi
    local others_after=$(($(cpu_ms "$xserver") + $(cpu_ms "$wm")))
    local ms pid cpu
    read -r ms pid cpu <<<"$line"
    pids+=("$pid")
    record "$program" "map$count" "$ms"
    record "$program" "cpu$count" "$cpu"
    record "$program" "xcpu$count" $((others_after - others_before))
    sleep "$settle"
    record "$program" "rss$count" "$(kb "/proc/$pid/status" VmRSS)"
    record "$program" "pss$count" "$(kb "/proc/$pid/smaps_rollup" Pss)"
    if [ "$count" -gt 1 ]; then
        local before after
        before=$(switches "$pid")
        sleep "$idle"
        after=$(switches "$pid")
        record "$program" idle $((after - before))
    fi
    end_process "$pid"
    printf '  %s, %d notes: mapped in %d ms\n' "$program" "$count" "$ms"
}

echo "Xvfb 1280x1024 on $DISPLAY with fluxbox; $rounds rounds, idle window $idle s"
for ((round = 1; round <= rounds; round++)); do
    echo "round $round"
    # Who goes first changes every round.
    if ((round % 2)); then order=(tacknote xpad); else order=(xpad tacknote); fi
    for count in 101 1; do
        for program in "${order[@]}"; do
            measure "$program" "$count"
        done
    done
done

median() { sort -n "$1" | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
echo
printf '%-44s %12s %12s %8s\n' "median of $rounds" Tacknote xpad ratio
line() {
    local label=$1 metric=$2 unit=$3 t x
    t=$(median "$work/tacknote.$metric")
    x=$(median "$work/xpad.$metric")
    awk -v l="$label" -v t="$t" -v x="$x" -v u="$unit" \
        'BEGIN { printf "%-44s %9g %-2s %9g %-2s %8s\n", l, t, u, x, u, (x > 0) ? sprintf("%.2f", t / x) : "-" }'
}
line "exec until 101 notes mapped" map101 ms
line "exec until 1 note mapped" map1 ms
line "own CPU until 101 notes mapped" cpu101 ms
line "own CPU until 1 note mapped" cpu1 ms
line "X server + fluxbox CPU, 101 notes" xcpu101 ms
line "X server + fluxbox CPU, 1 note" xcpu1 ms
line "VmRSS, 101 notes, ${settle} s after mapping" rss101 kB
line "PSS, 101 notes" pss101 kB
line "VmRSS, 1 note" rss1 kB
line "PSS, 1 note" pss1 kB
line "context switches in $idle s idle, 101 notes" idle ""
