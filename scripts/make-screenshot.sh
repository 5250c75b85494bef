#!/usr/bin/env bash
# Makes docs/screenshot.png, the picture in the README: Tacknote with a few notes on a
# private X server (Xvfb) with fluxbox, whose tool bar holds the tray icon.
# Usage: scripts/make-screenshot.sh [build folder]   (default: build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
program="$build/app/tacknote"
[ -x "$program" ] || { echo "No program at $program: build it first (./run.sh builds it)." >&2; exit 1; }
for tool in Xvfb fluxbox import xdpyinfo; do
    command -v "$tool" >/dev/null || { echo "$tool is missing (xvfb, fluxbox, imagemagick)." >&2; exit 1; }
done

work=$(mktemp -d)
display=:$((90 + RANDOM % 100))
cleanup() {
    kill "${program_pid:-}" "${wm_pid:-}" "${x_pid:-}" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

user=$(id -un)
data="$work/Documents/Tacknote/$user/data"
mkdir -p "$data" "$work/run" "$work/.fluxbox"
chmod 700 "$work/run"
# A plain blue background instead of fluxbox's wallpaper tool.
cat > "$work/.fluxbox/init" <<FLUXBOX
session.screen0.toolbar.visible: true
session.screen0.toolbar.placement: BottomCenter
session.styleOverlay: $work/.fluxbox/overlay
FLUXBOX
printf 'background: none\n' > "$work/.fluxbox/overlay"
# Four notes in the notes file's own format: INI, CR LF, Windows-1252.
python3 - "$data/stickies.tkn" <<'NOTES'
import sys
sections = [
    ("General", [("NumStickies", "4"), ("DefaultLang", "Port")]),
    ("Stick0", [("caption", "Compras"), ("note", r"Pão\nLeite\nCafé\nFrutas para a semana"),
                ("posx", "40"), ("posy", "40"), ("Width", "200"), ("Height", "150"),
                ("Color", "8454143"), ("FontName", "Arial"), ("FontSize", "11")]),
    ("Stick1", [("caption", "Dentista"), ("alarm", "1"), ("AlarmDateTime", "25/12/2030 14:30:00"),
                ("note", r"Consulta às 14h30\nLevar os exames"), ("posx", "280"), ("posy", "60"),
                ("Width", "220"), ("Height", "120"), ("Color", "16762048"), ("DarkCaption", "1"),
                ("TrackPosition", "12"), ("FontName", "Times New Roman"), ("FontSize", "12")]),
    ("Stick2", [("caption", "Reunião de sexta"), ("note", r"Pauta:\n- orçamento\n- férias\n- novo projeto"),
                ("posx", "90"), ("posy", "230"), ("Width", "240"), ("Height", "160"),
                ("Color", "12648384"), ("FontName", "Courier New"), ("FontSize", "10"),
                ("FontBold", "1")]),
    ("Stick3", [("caption", "Recado"), ("note", "O relatório está na pasta compartilhada."),
                ("Rodape", "De Bruno (192.168.0.12)"), ("posx", "400"), ("posy", "250"),
                ("Width", "240"), ("Height", "110"), ("Color", "255"), ("FontName", "Courier New"),
                ("FontSize", "8"), ("FontBold", "1"), ("FontColor", "16777215")]),
]
lines = []
for name, keys in sections:
    lines.append("[%s]" % name)
    lines += ["%s=%s" % key for key in keys]
with open(sys.argv[1], "wb") as out:
    out.write(("\r\n".join(lines) + "\r\n").encode("cp1252"))
NOTES

Xvfb "$display" -screen 0 760x520x24 -nolisten tcp >/dev/null 2>&1 & x_pid=$!
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
HOME=$work fluxbox -rc "$work/.fluxbox/init" >/dev/null 2>&1 & wm_pid=$!
sleep 1
xsetroot -solid '#3c6e91' 2>/dev/null || true
HOME=$work XDG_RUNTIME_DIR=$work/run XDG_DOCUMENTS_DIR=$work/Documents LANG=pt_BR.UTF-8 \
    "$program" >/dev/null 2>&1 & program_pid=$!
sleep 3
import -window root docs/screenshot.png
echo "docs/screenshot.png written"
