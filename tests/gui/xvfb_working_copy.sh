#!/bin/sh
# The working copy with the real program on a real X server (run inside
# xvfb-run), typed into with xdotool and killed with SIGKILL: a new project
# typed through New and the guided input (project text, then the element table,
# still open), kill -9, restart: the start offers the copy, Ja restores it, Save
# writes what was typed, and SIGTERM ends the program with 143 and nothing left.
# (Two programs in one folder and kills at random points are driven through the
# real commands with real processes in tests/app/working_copy_session_test.cpp.)
#   xvfb_working_copy.sh <wzam1> <project.zm1> <folder>
set -eu
exe=$(readlink -f "$1") project=$(readlink -f "$2") out=$3
rm -rf "$out"
mkdir -p "$out/config" "$out/tmp" "$out/a"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

started=""
fail() {
  echo "FAILED: $*" >&2
  for p in $started; do kill -9 "$p" 2>/dev/null || true; done
  exit 1
}

# start <folder> [project]: the program in that folder; its process id in $pid.
start() {
  (cd "$1" && shift && XDG_CONFIG_HOME="$out/config" XDG_DATA_HOME="$out/data" TEMP="$out/tmp" exec "$exe" "$@") &
  pid=$!
  started="$started $pid"
}

# window <pid> <title pattern>: the visible window of that program, waiting up to 30 s.
window() {
  i=0
  while :; do
    w=$(xdotool search --onlyvisible --pid "$1" --name "$2" 2>/dev/null | tail -1 || true)
    [ -n "$w" ] && { echo "$w"; return; }
    i=$((i + 1))
    [ $i -lt 300 ] || fail "no window \"$2\" of process $1"
    sleep 0.1
  done
}

focus() {
  w=$(window "$1" "$2")
  xdotool windowfocus --sync "$w"
  sleep 1 # keys sent before the window is ready for them get lost
}

# waitfocus <title pattern>: a dialog that opens takes the keyboard; wait for it.
waitfocus() {
  i=0
  until xdotool getwindowfocus getwindowname 2>/dev/null | grep -q -- "$1"; do
    i=$((i + 1))
    [ $i -lt 300 ] || fail "no dialog \"$1\" has the keyboard"
    sleep 0.1
  done
  sleep 1
}

# waitfile <path> <seconds>
waitfile() {
  i=0
  while [ ! -s "$1" ]; do
    i=$((i + 1))
    [ $i -lt $(($2 * 10)) ] || fail "no file $1"
    sleep 0.1
  done
}

typecells() {
  for text in "$@"; do
    xdotool type --delay 30 -- "$text"
    xdotool key Tab
    sleep 0.2
  done
}

# ---- (a) a new project, killed while its element table is open
start "$out/a"
focus $pid '^ZAM1 - Toleranzrechnung$'
xdotool key ctrl+n
waitfocus 'Projekttext$'
xdotool type --delay 30 "Neue Welle"
xdotool key Return
waitfocus 'elemente$'
typecells 0 + 47 0.1
# The copy follows the typing within a few seconds.
i=0
until grep -q "47.0000000" "$out/a"/aktuell-*.zm1 2>/dev/null; do
  i=$((i + 1))
  [ $i -lt 100 ] || fail "(a) the typed nominal is not in the working copy while the table is open"
  sleep 0.1
done
copy=$(ls "$out/a"/aktuell-*.zm1 | head -1)
grep -q "Neue Welle" "$copy" || fail "(a) the project text is not in $copy"
kill -9 $pid
wait $pid 2>/dev/null || true

start "$out/a"
# The offer comes before the window shows: the only visible window with the title.
focus $pid '^ZAM1 - Toleranzrechnung$'
xdotool key Return # Ja
sleep 2
# A chain without a closing dimension: the overall graphic says so.
if xdotool search --onlyvisible --pid $pid --name '^Fehler' >/dev/null 2>&1; then
  focus $pid '^Fehler'
  xdotool key Return
fi
focus $pid '^ZAM1 - Toleranzrechnung$'
xdotool key ctrl+s
sleep 1
waitfocus '^\(Save As\|Speichern unter\)$'  # Qt's title, in the program's language
xdotool type --delay 20 "$out/a/gerettet.zm1"
xdotool key Return
waitfile "$out/a/gerettet.zm1" 10
grep -q "47.0000000" "$out/a/gerettet.zm1" || fail "(a) the restored project lacks the typed element"
grep -q "Neue Welle" "$out/a/gerettet.zm1" || fail "(a) the restored project lacks its text"
sleep 1
[ ! -e "$copy" ] || fail "(a) the copy is still there after Save"
kill -s TERM $pid
code=0
wait $pid || code=$?
[ $code -eq 143 ] || fail "(a) SIGTERM ended with $code"

[ -z "$(ls -A "$out/tmp")" ] || fail "private folders left: $(ls -A "$out/tmp")"
if ls -A "$out/a" | grep -q '^\.zam1-'; then fail "temporary files left"; fi
echo "a new project killed with its table open was restored"
