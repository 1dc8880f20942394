#!/usr/bin/env bash
# tests/host/windows_test.sh: the real programs in a virtual display, driven
# through scripts/xvfb: the game's window and close button; the probe's state
# file, assets, keys, clicks, the switch to full screen and focus.
# Usage: windows_test.sh MARVOLET PROBE CLOSE-TOOL
set -uo pipefail
game=$1
probe=$2
export MARVOLET_CLOSE_WINDOW=$3
. "$(dirname "$0")/../support/display_checks.sh" windows

# Waits up to 5 s for the COUNTth line (default the first) of the program's output.
expect_line() {  # expect_line NAME LINE [COUNT]
  for _ in $(seq 100); do
    [ "$(grep -cxF "$2" "$MARVOLET_XVFB/out" 2>/dev/null)" -ge "${3:-1}" ] && { echo "ok   $1"; return; }
    sleep 0.05
  done
  echo "FAIL $1: no line [$2] in:"; sed 's/^/     /' "$MARVOLET_XVFB/out"
  failures=$((failures + 1))
}

echo "== the game's window"
"$runner" start -C "$work" "$game" >/dev/null || exit 1
id=$("$runner" window) || exit 1
check "title" "Marvolet" "$("$runner" run xdotool getwindowname "$id")"
geometry=$("$runner" run xwininfo -id "$id" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
  /Width:/ {w=$NF} /Height:/ {h=$NF} END {print w "x" h "+" x "+" y}')
check "640 x 480, centred on 1280 x 1024" "640x480+320+272" "$geometry"
sleep 0.5
"$runner" close
check "the close button ends the game with status 0" "0" "$("$runner" wait 5)"
"$runner" stop >/dev/null

echo "== every way out saves what the session holds"
# A fresh folder has no state file; none is written while the game runs in focus.
for way in close F4 TERM; do
  mkdir -p "$work/$way"
  "$runner" start -C "$work/$way" "$game" >/dev/null || exit 1
  "$runner" window >/dev/null || exit 1
  sleep 1
  case $way in
    close) "$runner" close ;;
    F4) "$runner" key F4 ;;
    TERM) kill -TERM "$(cat "$MARVOLET_XVFB/program.pid")" ;;
  esac
  status=$("$runner" wait 5)
  "$runner" stop >/dev/null
  check "$way: the same exit status as without a save" "$([ $way = TERM ] && echo 143 || echo 0)" "$status"
  check "$way: the whole state is in the file" "203" \
    "$(tr '|' '\n' <"$work/$way/.zorvexstate" 2>/dev/null | grep -c .)"
done

echo "== without a display, and on a display without OpenGL"
mkdir -p "$work/bare"
out=$(cd "$work/bare" && env -u DISPLAY "$game" 2>&1)
check "no display: status 255" "255" "$?"
check "no display: DISPLAY is named" "glfwInit failed: no display could be opened (DISPLAY is not set)" "$out"
# A private display without GLX; it picks a free number and writes it to fd 3.
Xvfb -displayfd 3 -screen 0 640x480x24 -extension GLX -nolisten tcp 3>"$work/noglx" \
  </dev/null >/dev/null 2>&1 &
noglx=$!
for _ in $(seq 100); do [ -s "$work/noglx" ] && break; sleep 0.05; done
out=$(cd "$work/bare" && DISPLAY=":$(head -n 1 "$work/noglx")" "$game" 2>&1)
status=$?
kill "$noglx"
wait "$noglx" 2>/dev/null
check "no OpenGL: status 1" "1" "$status"
check "no OpenGL: said so" "No OpenGL context could be made: GLX: GLX extension not found" "$out"
check "no OpenGL: nothing saved" "" "$(ls -A "$work/bare")"

echo "== broken and missing data files are named"
# The game with its own copy of the data: no font, an empty sound, a 1x1 dice picture.
mkdir -p "$work/broken/program" "$work/nodata/program"
cp "$game" "$work/broken/program/"
cp -r "$(dirname "$game")/data" "$work/broken/program/"
rm "$work/broken/program/data/fonts/"shadow_editundo*.png
: >"$work/broken/program/data/sfx/001.wav"
for level in "" -hd -hd2; do convert -size 1x1 xc:red "$work/broken/program/data/dice$level.png"; done
ALSOFT_DRIVERS=null "$runner" start -C "$work/broken" "$work/broken/program/$(basename "$game")" \
  >/dev/null || exit 1
check "a picture too small for its frames is fatal" "255" "$("$runner" wait 10)"
err=$(cat "$MARVOLET_XVFB/err")
check "the missing font is named once" "1" "$(grep -c "^Cannot load .*/fonts/shadow_editundo.*: No such file or directory$" <<<"$err")"
check "the empty sound is named" "1" "$(grep -c "^Cannot load .*/sfx/001.wav: the file is empty$" <<<"$err")"
check "the fatal error names the picture and its size" "1" \
  "$(grep -c "^Zorvex Runtime Error : Image frame outside surface: zorvex://data/dice.*png is 1x1 pixels" "$MARVOLET_XVFB/out")"
check "and the session was saved first" "yes" "$([ -s "$work/broken/.zorvexstate" ] && echo yes)"
"$runner" stop >/dev/null
cp "$game" "$work/nodata/program/"
"$runner" start -C "$work/nodata" "$work/nodata/program/$(basename "$game")" >/dev/null || exit 1
"$runner" window >/dev/null || exit 1
sleep 1
"$runner" close
"$runner" wait 5 >/dev/null
check "a missing data folder is one line that says where" \
  "No data folder: looked in $work/nodata/program/data," "$(grep -v "^ALSA\|^AL lib" "$MARVOLET_XVFB/err" | cut -d" " -f1-6)"
"$runner" stop >/dev/null

echo "== the probe, started from another working directory"
# The probe sits in a folder of its own with its data beside it.
mkdir -p "$work/program/data" "$work/elsewhere"
cp "$probe" "$work/program/probe"
echo "found beside the program" >"$work/program/data/probe.txt"
printf 'from before' >"$work/elsewhere/.zorvexstate"
"$runner" start -C "$work/elsewhere" "$work/program/probe" >/dev/null || exit 1
"$runner" window >/dev/null || exit 1
expect_line "reads the state file in the working directory" "state from before"
expect_line "finds its assets beside the executable" "asset found beside the program"
check "writes the state file in the working directory" "saved by the probe" \
  "$(cat "$work/elsewhere/.zorvexstate")"
check "and not beside the program" "no" "$([ -e "$work/program/.zorvexstate" ] && echo yes || echo no)"
expect_line "the first update sees the window size" "size 640x480"

echo "== keys, characters and clicks through the real window"
"$runner" key Prior
expect_line "Page Up goes down as 33" "down 33"
expect_line "and types 0x10021" "char 65569"
"$runner" key Delete
expect_line "Delete types 127" "char 127"
"$runner" key a
expect_line "a letter goes down as its capital" "hit 65 1"
expect_line "and types its character" "char 97"
"$runner" click 100 50
expect_line "a click is seen where it happened" "click 100 50"
expect_line "and as finger 0" "down 384"

echo "== full screen and back, with a key held across the switch"
"$runner" run xdotool keydown shift
expect_line "Shift is down" "down 16"
"$runner" key F11
expect_line "full screen at the desktop size" "size 1280x1024"
expect_line "the held key was released by the switch" "up 16"
"$runner" run xdotool keyup shift
sleep 0.3
"$runner" key F11
expect_line "windowed again at 640 x 480" "size 640x480" 2

echo "== focus"
root_window=$("$runner" run xwininfo -root | awk '/Window id:/ {print $4}')
"$runner" run xdotool windowfocus "$root_window"
expect_line "losing the focus suspends" "suspend"
"$runner" run xdotool windowfocus "$("$runner" window)"
expect_line "regaining it resumes" "resume"
"$runner" key b
expect_line "and keys arrive again" "char 98"
"$runner" close
check "the probe ends with status 0" "0" "$("$runner" wait 5)"

verdict window
