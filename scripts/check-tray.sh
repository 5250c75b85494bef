#!/usr/bin/env bash
# Checks the tray icon's clicks on two real trays, with the built program:
#  - an X11 tray: fluxbox's tool bar under Xvfb, the icon clicked with xdotool;
#  - a D-Bus tray: a StatusNotifierWatcher and host on a private session bus
#    (scripts/tray-host.py) calling the item as a desktop's tray does;
#  - a D-Bus tray drawn by a real host, gtk-sni-tray-standalone, clicked with xdotool.
# A double click makes exactly one note, a click makes none, the right button opens the
# menu on its release, and the exported menu rebuilds its note lists when it opens. On the
# X11 tray, a click while a dialog is open brings the dialog back and opens no menu.
#
#   scripts/check-tray.sh [--shots DIR] [PROGRAM]      (default build/test/app/tacknote)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"

shots=""
if [ "${1:-}" = "--shots" ]; then
    shots="$(mkdir -p "$2" && cd "$2" && pwd)"
    shift 2
fi
program="$(realpath "${1:-$here/../build/test/app/tacknote}")"
[ -x "$program" ] || { echo "No program at $program: build it first." >&2; exit 1; }

"$here/ensure-packages.sh" "$here/packages-tray.txt"

work="$(mktemp -d /tmp/tacknote-tray.XXXXXX)"
pids=()
buses=()
cleanup() {
    local p
    for p in "${pids[@]}" "${buses[@]}"; do kill "$p" 2>/dev/null || true; done
    # Whatever has not ended after five seconds is ended by force.
    (
        sleep 5
        for p in "${pids[@]}"; do
            if kill -9 "$p" 2>/dev/null; then echo "ended by force: $p" >&2; fi
        done
    ) &
    local guard=$!
    for p in "${pids[@]}"; do wait "$p" 2>/dev/null || true; done
    kill "$guard" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

passed=0
failed=0
check() {
    local what="$1"
    shift
    if "$@"; then
        echo "ok   $what"
        passed=$((passed + 1))
    else
        echo "FAIL $what"
        failed=$((failed + 1))
    fi
}

# Waits up to $1 seconds for the command after it to succeed.
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -ge $deadline ] && return 1
        sleep 0.1
    done
}

shot() {
    if [ -n "$shots" ] && command -v import >/dev/null; then
        import -window root "$shots/$1.png"
    fi
}

# --- the display, with a window manager whose tool bar holds a system tray
for n in $(seq 90 150); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
        display=":$n"
        break
    fi
done
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
export DISPLAY="$display"
wait_for 10 xdpyinfo >/dev/null 2>&1 || { echo "Xvfb did not start" >&2; exit 1; }
mkdir -p "$work/wm/.fluxbox"
cat >"$work/wm/.fluxbox/init" <<'INIT'
session.screen0.toolbar.tools: workspacename, iconbar, systemtray, clock
session.screen0.toolbar.visible: true
session.screen0.toolbar.placement: BottomCenter
session.screen0.toolbar.widthPercent: 100
INIT
echo "background: none" >"$work/wm/.fluxbox/overlay"
HOME="$work/wm" fluxbox >"$work/fluxbox.log" 2>&1 &
pids+=($!)
wait_for 10 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'

# A private session bus. Until a watcher is on it, Qt finds no D-Bus tray there and takes
# the X11 one.
new_bus() {
    local bus
    bus="$(dbus-daemon --session --fork --print-address=1 --print-pid=1)"
    export DBUS_SESSION_BUS_ADDRESS="$(echo "$bus" | sed -n 1p)"
    buses+=("$(echo "$bus" | sed -n 2p)")
}
new_bus

# --- the program's windows
app=""
icon=""
windows_of() { xdotool search --onlyvisible --pid "$app" 2>/dev/null || true; }
is_note() { xprop -id "$1" _NET_WM_WINDOW_TYPE | grep -q _NET_WM_WINDOW_TYPE_UTILITY; }
notes() {
    local n=0 w
    for w in $(windows_of); do is_note "$w" && n=$((n + 1)); done
    echo $n
}
# The center of a window: "x y".
center_of() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4}/Absolute upper-left Y/{y=$4}
        /Width:/{w=$2}/Height:/{h=$2}END{print x + int(w / 2), y + int(h / 2)}'
}
# Shown windows that are neither notes nor the tray icon: the open menu.
popups() {
    local n=0 w
    for w in $(windows_of); do
        [ "$w" = "$icon" ] || is_note "$w" || n=$((n + 1))
    done
    echo $n
}
notes_are() { [ "$(notes)" -eq "$1" ]; }
has_notes() { [ "$(notes)" -ge 1 ]; }
menu_open() { [ "$(popups)" -ge 1 ]; }
popups_are() { [ "$(popups)" -eq "$1" ]; }
# After a gesture: the notes reach the count and stay there.
settles_at() { wait_for 5 notes_are "$1" && sleep 0.8 && notes_are "$1"; }
# makes N WHAT COMMAND...: the gesture of COMMAND adds exactly N notes.
makes() {
    local added="$1" what="$2" before
    shift 2
    before=$(notes)
    "$@"
    check "$what" settles_at $((before + added))
}

start_program() {
    local home="$work/$1"
    mkdir -p "$home/run"
    chmod 700 "$home/run"
    HOME="$home" XDG_RUNTIME_DIR="$home/run" XDG_CONFIG_HOME="$home/.config" \
        LANG=pt_BR.UTF-8 QT_QPA_PLATFORM=xcb "$program" >"$work/$1.log" 2>&1 &
    app=$!
    pids+=("$app")
    # The notes file starts with the seed note; the tray icon comes before it.
    wait_for 20 has_notes
}

stop_program() {
    kill "$app" 2>/dev/null || true
    wait "$app" 2>/dev/null || true
}

# --- X11 tray: the icon is a small window of the program in the tool bar
echo "X11 tray (fluxbox, XEmbed)"
start_program x11
for w in $(windows_of); do
    if ! is_note "$w" && [ "$(xwininfo -id "$w" | awk '/Width:/{print $2}')" -le 64 ]; then
        icon="$w"
    fi
done
check "the icon sits in the tray" test -n "$icon"
if [ -n "$icon" ]; then
    read -r cx cy < <(center_of "$icon")
    shot x11-tray
    makes 0 "a click makes no note" xdotool mousemove "$cx" "$cy" click 1
    makes 1 "a double click makes exactly one note" \
        xdotool mousemove "$cx" "$cy" click --repeat 2 --delay 80 1
    makes 0 "two slow clicks make no note" \
        xdotool mousemove "$cx" "$cy" click 1 sleep 0.6 click 1
    makes 0 "a press dragged off the icon makes no note" \
        xdotool mousemove "$cx" "$cy" mousedown 1 mousemove $((cx - 80)) $((cy - 80)) mouseup 1
    n0=$(notes)
    xdotool mousemove "$cx" "$cy" mousedown 3
    sleep 0.5
    check "the right button's press opens no menu" popups_are 0
    xdotool mouseup 3
    check "its release opens the menu" wait_for 5 menu_open
    shot x11-menu
    check "the right button makes no note" notes_are "$n0"
    # "&Nova Nota" by its accelerator: the menu has the keyboard.
    makes 1 "the menu's Nova Nota makes a note" xdotool key n
    check "and the menu closed" wait_for 5 popups_are 0

    # While a dialog waits for its answer, Qt blocks the icon's window like every other
    # window of the program: the click must still bring that dialog back.
    xdotool mousemove "$cx" "$cy" click 3
    wait_for 5 menu_open
    xdotool key p
    check "the menu's Preferences opens the dialog" wait_for 5 popups_are 1
    dialog=""
    for w in $(windows_of); do
        [ "$w" = "$icon" ] || is_note "$w" || dialog="$w"
    done
    # Another program's window takes the focus from the dialog.
    xlogo -geometry 300x300+0+0 >/dev/null 2>&1 &
    pids+=($!)
    other_window() { xdotool search --onlyvisible --class xlogo >/dev/null 2>&1; }
    wait_for 10 other_window
    xdotool windowactivate --sync "$(xdotool search --onlyvisible --class xlogo | head -1)"
    dialog_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$dialog" ]; }
    check "another program's window has the focus" sh -c "! [ \"\$(xdotool getactivewindow)\" = $dialog ]"
    xdotool mousemove "$cx" "$cy" click 1
    check "a click on the icon brings the dialog to the front" wait_for 5 dialog_active
    shot x11-dialog-back
    n0=$(notes)
    xdotool mousemove "$cx" "$cy" click 3
    sleep 0.8
    check "the right button opens no menu over the dialog" popups_are 1
    makes 0 "a double click makes no note while it is open" \
        xdotool mousemove "$cx" "$cy" click --repeat 2 --delay 80 1
    xdotool windowactivate --sync "$dialog" key Escape
    check "the dialog closes" wait_for 5 popups_are 0
fi
stop_program

# --- D-Bus tray: the desktop draws icon and menu and calls the item
echo "D-Bus tray (StatusNotifierItem, com.canonical.dbusmenu)"
host() { /usr/bin/python3 "$here/tray-host.py" "$@"; }
/usr/bin/python3 "$here/tray-host.py" serve "$work/host.log" &
pids+=($!)
host_ready() { grep -q "watcher ready" "$work/host.log" 2>/dev/null; }
wait_for 10 host_ready
icon=""
start_program dbus
check "the program registers its item" host wait-item 10
makes 0 "an activation makes no note" host activate
makes 1 "two activations 80 ms apart make exactly one note" host double 80
makes 0 "two activations 600 ms apart make no note" host double 600
makes 0 "a secondary activation makes no note" host secondary
xdotool mousemove 500 400
host context
check "the host's context request opens the menu" wait_for 5 menu_open
shot dbus-menu
xdotool key Escape
check "Escape closes it" wait_for 5 popups_are 0
host layout >"$work/layout.txt"
check "the exported menu carries the items" \
    grep -q -x -e "  _Nova Nota" "$work/layout.txt"
check "  ... and the note lists and the exit" \
    sh -c "grep -q 'Mo_strar' '$work/layout.txt' && grep -q 'M_ostrar Escondidas' '$work/layout.txt' && grep -q '_Sair' '$work/layout.txt'"
makes 1 "the exported Nova Nota makes a note" host click "_Nova Nota"
before=$(host children "Mo_strar" | wc -l)
host about-to-show 0
sleep 0.5
after=$(host children "Mo_strar" | wc -l)
# "<Todos>", a separator, then one item per note.
check "the note list is rebuilt when the menu opens ($before -> $after entries)" \
    test "$after" -eq $(($(notes) + 2))
stop_program

# --- D-Bus tray drawn by a real host: GTK's menus from the exported one
echo "D-Bus tray drawn by gtk-sni-tray-standalone"
new_bus
gtk-sni-tray-standalone --watcher --top --end --size 30 >"$work/gtk-host.log" 2>&1 &
gtk_host=$!
pids+=("$gtk_host")
host_windows() { xdotool search --onlyvisible --pid "$gtk_host" 2>/dev/null | wc -l; }
host_bar() { [ "$(host_windows)" -ge 1 ]; }
wait_for 20 host_bar
bar="$(xdotool search --onlyvisible --pid "$gtk_host" | head -1)"
start_program gtk
check "the program registers its item" host wait-item 10
# The bar holds one icon, the size of the bar, at its end.
read -r bx by < <(xwininfo -id "$bar" | awk '/Absolute upper-left X/{x=$4}
    /Absolute upper-left Y/{y=$4}/Width:/{w=$2}END{print x + w - 15, y + 15}')
sleep 1
shot gtk-tray
makes 0 "a click makes no note" xdotool mousemove "$bx" "$by" click 1
makes 1 "a double click makes exactly one note" \
    xdotool mousemove "$bx" "$by" click --repeat 2 --delay 80 1
makes 1 "a triple click makes exactly one note" \
    xdotool mousemove "$bx" "$by" click --repeat 3 --delay 80 1
makes 2 "two double clicks in quick succession make two notes" \
    xdotool mousemove "$bx" "$by" click --repeat 2 --delay 80 1 sleep 0.25 click --repeat 2 --delay 80 1
before=$(host_windows)
xdotool mousemove "$bx" "$by" click 3
host_menu() { [ "$(host_windows)" -gt "$before" ]; }
check "the right button opens the host's menu" wait_for 5 host_menu
check "  ... and no menu of the program's own" popups_are 0
shot gtk-menu
xdotool key Escape
stop_program

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
