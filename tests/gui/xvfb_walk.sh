#!/bin/sh
# A walk through the real program on a real X server with a window manager (run
# inside xvfb-run; openbox is started here), as a new user would take it: start
# on a project, the overall graphic, the scheme, a zoom box drawn with the
# mouse, every menu of the main window opened once, every dialog that leaves
# the project as it is opened with F1 pressed in it (the manual must come up),
# the language switched to English, a dialog in English, and Exit with the close
# query answered. A numbered PNG of the screen at each step goes to <folder>.
# Checked at each step: the expected window is there, every window of the
# program lies within the screen, the graphics window leaves the main window's
# menu strip free; at the end the program has ended with 0 and saved the project.
#   xvfb_walk.sh <wzam1> <project.zm1> <folder>
set -eu
exe=$(readlink -f "$1") project=$(readlink -f "$2") out=$3
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$out"
mkdir -p "$out/config" "$out/data" "$out/tmp" "$out/work"
cp "$project" "$out/work/getriebewelle.zm1"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
wm="" pid="" step=0 began=$(date +%s)
log="$out/walk.log"
: > "$log"

say() {
  echo "[$(($(date +%s) - began)) s] $*" | tee -a "$log" >&2
}

fail() {
  say "FAILED: $*"
  /usr/bin/python3 "$here/xvfb_screen.py" shot "$out/failed.png" 2>/dev/null || true
  for w in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
    echo "  window $w of process $(xdotool getwindowpid "$w" 2>/dev/null || echo -): $(xdotool getwindowname "$w" 2>/dev/null)" >&2
  done
  echo "  the keyboard: $(xdotool getwindowfocus getwindowname 2>/dev/null || true)" >&2
  [ -z "$pid" ] || kill -9 "$pid" 2>/dev/null || true
  [ -z "$wm" ] || kill "$wm" 2>/dev/null || true
  exit 1
}

# shot <name>: the screen as <folder>/NN_<name>.png, numbered in walking order.
shot() {
  step=$((step + 1))
  file=$(printf '%s/%02d_%s.png' "$out" "$step" "$1")
  /usr/bin/python3 "$here/xvfb_screen.py" shot "$file" || fail "no screenshot $file"
  say "screenshot $(basename "$file")"
}

# waitfor <seconds> <what> <command...>: until the command succeeds (by the
# clock: on a loaded machine each try takes its time).
waitfor() {
  seconds=$1 what=$2
  deadline=$(($(date +%s) + seconds))
  shift 2
  until "$@"; do
    [ "$(date +%s)" -lt "$deadline" ] || fail "$what (after $seconds s)"
    sleep 0.1
  done
}

# visible <title pattern>: the id of a visible window of the program with that title.
visible() {
  xdotool search --all --onlyvisible --pid "$pid" --name "$1" 2>/dev/null | tail -1
}
# every visible window of the program, popup menus included
windows() { xdotool search --onlyvisible --pid "$pid" 2>/dev/null || true; }
shown() { [ -n "$(visible "$1")" ]; }
gone() { ! windows | grep -qx "$1"; }
focused() { xdotool getwindowfocus 2>/dev/null || true; }
focusname() { xdotool getwindowfocus getwindowname 2>/dev/null || true; }

# window <title pattern>: the visible window with that title, waiting up to 90 s.
window() {
  waitfor 90 "no window \"$1\"" shown "$1"
  visible "$1"
}

# activate <window id>: the window manager activates it and it has the keyboard.
activate() {
  i=0
  while :; do
    xdotool windowactivate --sync "$1" 2>/dev/null || true
    sleep 0.5 # keys sent before the window is ready for them get lost
    [ "$(focused)" = "$1" ] && return
    i=$((i + 1))
    [ $i -lt 40 ] || fail "window $1 ($(xdotool getwindowname "$1" 2>/dev/null)) does not take the keyboard"
  done
}

# dialog <title pattern>: a window with that title that has the keyboard (a
# dialog opened by the keys just sent); its id in $dlg.
hasfocus() {
  f=$(focused)
  [ -n "$f" ] && [ "$f" != "$main" ] && [ "$f" != "$graf" ] && focusname | grep -q -- "$1"
}
dialog() {
  waitfor 90 "no window \"$1\" has the keyboard (it is \"$(focusname)\")" hasfocus "$1"
  dlg=$(focused)
  sleep 0.5
}

# geometry <window id>: its client area on the screen in X Y WIDTH HEIGHT (by
# xwininfo: xdotool counts a window manager's frame twice).
geometry() {
  eval "$(xwininfo -id "$1" | awk -F: '
    /Absolute upper-left X/ { printf "X=%d\n", $2 }
    /Absolute upper-left Y/ { printf "Y=%d\n", $2 }
    /^ *Width/ { printf "WIDTH=%d\n", $2 }
    /^ *Height/ { printf "HEIGHT=%d\n", $2 }')"
}

# onscreen <what>: every visible window of the program lies within the screen.
onscreen() {
  for w in $(windows); do
    geometry "$w"
    [ "$WIDTH" -gt 1 ] && [ "$HEIGHT" -gt 1 ] || continue
    name=$(xdotool getwindowname "$w" 2>/dev/null || true)
    [ "$X" -ge 0 ] && [ "$Y" -ge 0 ] && [ $((X + WIDTH)) -le "$SW" ] && [ $((Y + HEIGHT)) -le "$SH" ] ||
      fail "$1: window \"$name\" at ${WIDTH}x${HEIGHT}+${X}+${Y} is not wholly on the ${SW}x${SH} screen"
  done
}

# stripfree <what>: no other window of the program covers the main window's
# menu strip (the top of its client area) while the main window shows.
stripfree() {
  geometry "$main"
  mx=$X my=$Y mw=$WIDTH
  for w in $(xdotool search --all --onlyvisible --pid "$pid" --name '^KorvGraf$' 2>/dev/null); do
    geometry "$w"
    # overlap of the two rectangles: the strip is the first 20 pixels of the main window
    if [ "$X" -lt $((mx + mw)) ] && [ $((X + WIDTH)) -gt "$mx" ] && [ "$Y" -lt $((my + 20)) ] && [ $((Y + HEIGHT)) -gt "$my" ]; then
      fail "$1: the graphics window ${WIDTH}x${HEIGHT}+${X}+${Y} covers the menu strip at ${mw}x20+${mx}+${my}"
    fi
  done
}

# check <what>: the two rules of the screen, then a picture.
check() {
  onscreen "$1"
  stripfree "$1"
  shot "$1"
}

# digest of the graphics window's picture, to see it change
picture() {
  geometry "$graf"
  /usr/bin/python3 "$here/xvfb_screen.py" digest "$X" "$Y" "$WIDTH" "$HEIGHT"
}
# alone: only the main and the graphics window show (no menu or dialog lies
# over the picture and changes its pixels)
alone() { [ "$(windows | wc -l)" -le 2 ]; }
# changed <digest before>: the picture differs from it and has stopped changing.
changed() {
  alone || return 1
  now=$(picture)
  [ "$now" != "$1" ] || return 1
  sleep 1
  alone && [ "$(picture)" = "$now" ]
}

# help: F1 in the window that has the keyboard opens the manual in a help
# window of the program; it lies on the screen, gets its picture, and goes again.
help() {
  owner=$(focused)
  xdotool key F1
  waitfor 90 "F1 in \"$(xdotool getwindowname "$owner" 2>/dev/null)\" opens no help window" shown "$helptitle"
  hw=$(visible "$helptitle")
  sleep 1 # the page is laid out
  check "$1"
  activate "$hw"
  xdotool key alt+F4 # the window manager's close
  waitfor 60 "the help window does not close" gone "$hw"
  activate "$owner"
}

# menu <alt letter> <name>: the menu opens from the main window's strip (a new
# visible window of the program), is photographed, and closes again.
popups() { windows | wc -l; }
more() { [ "$(popups)" -gt "$1" ]; }
back() { [ "$(popups)" -le "$1" ]; }
menu() {
  activate "$main"
  before=$(popups)
  xdotool key "alt+$1"
  waitfor 30 "the $2 menu (Alt+$1) does not open" more "$before"
  sleep 0.5
  check "menu_$2"
  xdotool key Escape
  waitfor 30 "the $2 menu does not close" back "$before"
  # Qt leaves the strip in its keyboard mode after Escape: a second one ends it
  xdotool key Escape
}

# command <alt letter> <entry keys>: a menu entry chosen with the keyboard (a
# letter two entries share moves between them: "i i Return").
command() {
  activate "$main"
  before=$(popups)
  xdotool key "alt+$1"
  waitfor 30 "the menu of Alt+$1 does not open" more "$before"
  sleep 0.3
  # shellcheck disable=SC2086 # one key name per word
  xdotool key $2
}

# withhelp <alt> <letter> <title pattern> <name> [keys]: a dialog from the
# menu, F1 in it, closed with Escape (nothing taken over) or the keys given.
withhelp() {
  command "$1" "$2"
  dialog "$3"
  d=$dlg
  say "dialog \"$(xdotool getwindowname "$d")\""
  check "$4"
  help "$4_help"
  xdotool key "${5:-Escape}"
  waitfor 60 "the dialog \"$3\" does not close on ${5:-Escape}" gone "$d"
}

# ---- the window manager, the screen, the program
openbox >/dev/null 2>&1 &
wm=$!
wmup() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
waitfor 30 "openbox does not start" wmup
read -r SW SH <<EOF
$(xdotool getdisplaygeometry)
EOF
say "screen ${SW}x${SH}, the program $exe"

cd "$out/work"
XDG_CONFIG_HOME="$out/config" XDG_DATA_HOME="$out/data" TEMP="$out/tmp" "$exe" getriebewelle.zm1 &
pid=$!
cd "$out"
helptitle='^ZAM1 - Hilfe$'

# 1 the start: the main window on the project, 2 the overall graphic
main=$(window 'getriebewelle\.zm1$')
graf=$(window '^KorvGraf$')
say "main window $main, graphics window $graf"
sleep 2
shot start
# the overall graphic is drawn once the picture stops changing
settled() { alone && a=$(picture) && sleep 1 && alone && [ "$(picture)" = "$a" ]; }
waitfor 90 "the overall graphic does not settle" settled
check overall_graphic

# 3 the scheme of closing dimension 1 (View > Scheme); the choice of the
# closing dimension, when it comes, is answered with the one offered
before=$(picture)
drawn() {
  f=$(focused)
  if [ -n "$f" ] && [ "$f" != "$graf" ] && [ "$f" != "$main" ]; then
    say "the scheme asks: \"$(focusname)\""
    sleep 0.5
    xdotool key Return
    waitfor 60 "the choice of the closing dimension does not close" gone "$f"
    return 1
  fi
  changed "$before"
}
command a s
waitfor 120 "the scheme does not replace the overall graphic" drawn
check scheme

# 4 a zoom box drawn with the left button in the graphics window
geometry "$graf"
x0=$((X + WIDTH * 30 / 100)) y0=$((Y + HEIGHT * 30 / 100))
x1=$((X + WIDTH * 60 / 100)) y1=$((Y + HEIGHT * 65 / 100))
before=$(picture)
activate "$graf"
xdotool mousemove --sync "$x0" "$y0" mousedown 1
for f in 1 2 3 4 5; do
  xdotool mousemove --sync $((x0 + (x1 - x0) * f / 5)) $((y0 + (y1 - y0) * f / 5))
  sleep 0.2
done
sleep 1
shot rubber_band_drawn
banded=$(picture)
xdotool mouseup 1
# neither the picture before nor the one with the box on it
zoomed() { [ "$(picture)" != "$banded" ] && changed "$before"; }
waitfor 90 "the zoom box does not change the picture" zoomed
check rubber_band_zoomed
# move the pointer off the pictures
xdotool mousemove --sync 5 $((SH - 5))

# 5 every menu of the main window once
menu d Datei
menu b Bearbeiten
menu a Ansicht
menu c CAD
menu o Dokumentation
menu x Excel
menu h Hilfe

# 6 the dialogs that leave the project as it is, F1 in each
# Import and Einstellungen share the I: the second I reaches Einstellungen
withhelp d 'i i Return' 'Einstellungen' settings
withhelp b t 'Projekttext' project_text
withhelp b e 'elemente' element_table
withhelp b s 'Schlie' closing_dimensions
withhelp b g '^Eingabe$' sigma
withhelp b n '^Eingabe$' decimals
withhelp a l 'Monte Carlo' monte_carlo
withhelp o z 'Zeichnungsinfo' drawing_info
withhelp o e '^Document Setup$' document_setup
withhelp o n 'nderung$' new_change
withhelp a d '.' standard_report alt+F4
# without calculation messages, Help > Error messages only says so
command h f
dialog '^Meldung:$'
check error_messages_none
xdotool key Return
waitfor 60 "the note does not close" gone "$dlg"
withhelp h h '.' help_picture
withhelp h i '.' history
withhelp h z '.' about
# the graphics window and its manual
activate "$graf"
help graphics_window_help

# 7 the language: Help > Language > English
command h s
# the submenu is open before its letter is typed (E is E-Mail in the Help menu)
waitfor 30 "the language submenu does not open" more $((before + 1))
sleep 0.3
xdotool key e
helptitle='^ZAM1 - Help$'
# the strip now reads English: Alt+F opens File
menu f File
menu h Help

# 8 a dialog in English, its help in English
withhelp e t 'Project' english_project_text
withhelp f c '.' english_settings

# 9 Exit: sigma taken over as it is (the project counts as changed), then
# File > Exit; the close query is answered Yes and the project is saved
command e g
dialog '.'
xdotool key Return
waitfor 60 "the sigma prompt does not close" gone "$dlg"
stamp=$(stat -c %Y "$out/work/getriebewelle.zm1")
sleep 1.1
command f x
dialog '^ZAM1 - Toleranzrechnung$'
check close_query
xdotool key Return
ended() { ! kill -0 "$pid" 2>/dev/null; }
if ! ended; then
  shot closing_screen
fi
waitfor 120 "the program does not end after the close query" ended
code=0
wait "$pid" || code=$?
pid=""
[ $code -eq 0 ] || fail "the program ended with $code"
[ "$(stat -c %Y "$out/work/getriebewelle.zm1")" -gt "$stamp" ] || fail "Yes in the close query did not save the project"
[ -z "$(ls -A "$out/tmp")" ] || fail "private folders left: $(ls -A "$out/tmp")"
kill "$wm" 2>/dev/null || true
say "the walk ended with 0 after $(($(date +%s) - began)) s; $step screenshots in $out"
