#!/bin/sh
# The working copy with the real program on a real X server (run inside
# xvfb-run), typed into with xdotool and killed with SIGKILL: a new project
# typed through New and the guided input (project text, then the element table,
# still open), kill -9, restart: the start offers the copy, Ja restores it, Save
# writes what was typed, and SIGTERM ends the program with 143 and nothing left;
# two programs on two projects in one folder, both edited, one killed: its
# restart restores its own project and the other's copy is untouched; twenty
# kills at random points of a session: every copy left reads as a project in the
# state after a completed command, every restart offers it, nothing torn is left.
#   xvfb_working_copy.sh <wzam1> <project.zm1> <folder>
set -eu
exe=$(readlink -f "$1") project=$(readlink -f "$2") out=$3
rm -rf "$out"
mkdir -p "$out/config" "$out/tmp" "$out/a" "$out/b" "$out/c"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
wm=""

started=""
fail() {
  echo "FAILED: $*" >&2
  echo "FAILED: $*" > "$out/failed.txt"  # kept for the reader of a run without its output
  [ -z "$wm" ] || kill "$wm" 2>/dev/null || true
  # what the screen showed, for the one who reads the failure
  /usr/bin/python3 -c "from PIL import ImageGrab; ImageGrab.grab().save('$out/failed.png')" 2>/dev/null || true
  for w in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
    echo "  window $w of process $(xdotool getwindowpid "$w" 2>/dev/null): $(xdotool getwindowname "$w")" >&2
  done
  echo "  the keyboard: $(xdotool getwindowfocus getwindowname 2>/dev/null)" >&2
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

# focus <pid> <title pattern>: that window has the keyboard, and still has it a
# second later (the graphics window takes it when a diagram is shown).
focus() {
  i=0
  while :; do
    # found anew each time: a window may be replaced while it comes up
    w=$(window "$1" "$2")
    if [ -n "$wm" ]; then
      xdotool windowactivate --sync "$w" 2>/dev/null || true
    else
      xdotool windowfocus --sync "$w" 2>/dev/null || true
    fi
    sleep 1 # keys sent before the window is ready for them get lost
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$w" ] && return
    i=$((i + 1))
    [ $i -lt 10 ] || fail "window \"$2\" of process $1 does not keep the keyboard"
  done
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
echo "(a) a new project killed with its table open was restored"

# sigma <pid> <title pattern> <value>: Bearbeiten > Sigma, typed over, OK.
sigma() {
  # the graphics window opens after the start and takes the keyboard: wait for it
  window "$1" '^KorvGraf$' >/dev/null
  tries=0
  while :; do
    focus "$1" "$2"
    xdotool key alt+b
    # The menu's letters work once its popup shows (a window named after the
    # program); a letter sent before goes to the window behind it, and a loaded
    # machine may take seconds.
    i=0
    until xdotool search --onlyvisible --pid "$1" --name '^wzam1$' >/dev/null 2>&1; do
      i=$((i + 1))
      [ $i -lt 100 ] || break
      sleep 0.1
    done
    # a popup just shown may not take keys yet: a letter sent at once is lost
    sleep 1
    xdotool key g
    i=0
    until xdotool getwindowfocus getwindowname 2>/dev/null | grep -q '^Eingabe$'; do
      i=$((i + 1))
      [ $i -lt 200 ] || break
      sleep 0.1
    done
    [ $i -lt 200 ] && break
    # a window that came up in between took the keys: close the menu, again
    xdotool key Escape Escape
    sleep 1
    tries=$((tries + 1))
    [ $tries -lt 5 ] || fail "the sigma prompt of process $1 does not come"
  done
  sleep 0.5
  xdotool key ctrl+a
  xdotool type --delay 20 "$3"
  xdotool key Return
}

# waitgrep <text> <file> <what failed>: the text in the file within 10 s.
waitgrep() {
  i=0
  until grep -q -- "$1" "$2" 2>/dev/null; do
    i=$((i + 1))
    [ $i -lt 100 ] || fail "$3"
    sleep 0.1
  done
}

# offered <pid>: true when the start asks a question (the restore offer) before
# its main window shows; it then has the keyboard.
offered() {
  i=0
  until xdotool search --onlyvisible --pid "$1" --name '^ZAM1 - Toleranzrechnung$' >/dev/null 2>&1; do
    i=$((i + 1))
    [ $i -lt 300 ] || fail "no offer and no window of process $1"
    sleep 0.1
  done
  sleep 1
  xdotool getwindowfocus getwindowname 2>/dev/null | grep -q '^ZAM1 - Toleranzrechnung$'
}

# ---- (b) two programs on two projects in one folder, one killed
# From here with a window manager, which decides which window is active, as on a
# desktop; without one Qt may keep the graphics window active (and its Ctrl+S)
# while the keyboard is in the main window.
if command -v openbox >/dev/null 2>&1; then
  openbox >/dev/null 2>&1 &
  wm=$!
  sleep 1
fi
cp "$project" "$out/b/x.zm1"
cp "$project" "$out/b/y.zm1"
start "$out/b" x.zm1
pidx=$pid
start "$out/b" y.zm1
pidy=$pid
window $pidx 'x\.zm1' >/dev/null
window $pidy 'y\.zm1' >/dev/null
sleep 2 # both started: neither takes the keyboard from the other any more
sigma $pidx 'x\.zm1' 4.5
waitgrep "4.5000000" "$out/b/aktuell-x.zm1" "(b) no working copy of x after its edit"
sigma $pidy 'y\.zm1' 5.5
waitgrep "5.5000000" "$out/b/aktuell-y.zm1" "(b) no working copy of y after its edit"
cp "$out/b/aktuell-y.zm1" "$out/y-copy-before"
kill -9 $pidx
wait $pidx 2>/dev/null || true
start "$out/b" x.zm1
pidx=$pid
offered $pidx || fail "(b) the restart on x offers nothing"
xdotool key Return # Ja
window $pidx '^KorvGraf$' >/dev/null
sleep 1
focus $pidx 'x\.zm1'
echo "(b) x is process $pidx, y is $pidy" >&2
xdotool key ctrl+s
waitgrep "4.5000000" "$out/b/x.zm1" "(b) Save after the restore did not write x's sigma"
grep -q "5.5000000" "$out/b/x.zm1" && fail "(b) x received y's edit"
cmp -s "$out/b/aktuell-y.zm1" "$out/y-copy-before" || fail "(b) the other program's copy was touched"
grep -q "5.5000000" "$out/b/y.zm1" && fail "(b) y was saved though nobody saved it"
kill -0 $pidy 2>/dev/null || fail "(b) the other program is gone"
for p in $pidx $pidy; do kill -s TERM $p; wait $p 2>/dev/null || true; done
echo "(b) the killed program got its own project back, the other's copy untouched"

# ---- (c) twenty kills at random points of a session
cp "$project" "$out/c/p.zm1"
typed="3.0000000"
for round in $(seq 1 20); do
  start "$out/c" p.zm1
  if [ -e "$out/c/aktuell-p.zm1" ]; then
    offered $pid || fail "(c) round $round: a copy is there but the restart offers nothing"
    xdotool key Return # Ja
    sleep 1
  fi
  value="$round.25"
  typed="$typed $round.2500000"
  sigma $pid 'p\.zm1' "$value"
  # a random moment: before, while or after the copy is written
  sleep "0.$(shuf -i 0-9 -n 1)$(shuf -i 0-9 -n 1)"
  kill -9 $pid
  wait $pid 2>/dev/null || true
  copy="$out/c/aktuell-p.zm1"
  [ -e "$copy" ] || continue
  rm -rf "$out/c-check"
  mkdir -p "$out/c-check"
  cp "$copy" "$out/c-check/check.zm1"
  (cd "$out/c-check" && XDG_CONFIG_HOME="$out/config" TEMP="$out/tmp" "$exe" check.zm1 /I /NOGUI) \
    || fail "(c) round $round: the copy left does not read as a project"
  # sigma stands just before the change records; any completed edit's value is right
  line=$(tr -d '\r' < "$copy" | awk '/NDERUNGEN$/ { print prev; exit } { prev = $0 }')
  case " $typed " in
    *" $line "*) ;;
    *) fail "(c) round $round: the copy holds sigma \"$line\", no completed state" ;;
  esac
done
start "$out/c" p.zm1
if [ -e "$out/c/aktuell-p.zm1" ]; then
  offered $pid || fail "(c) the last restart offers nothing"
  xdotool key Return
  sleep 1
fi
window $pid '^KorvGraf$' >/dev/null
kill -s TERM $pid
wait $pid 2>/dev/null || true
if ls -A "$out/c" | grep -q '^\.zam1-'; then fail "(c) temporary files left after the next start"; fi
[ -z "$(ls -A "$out/tmp")" ] || fail "(c) private folders left: $(ls -A "$out/tmp")"
echo "(c) twenty kills left only copies of completed commands"
[ -z "$wm" ] || kill "$wm" 2>/dev/null || true
