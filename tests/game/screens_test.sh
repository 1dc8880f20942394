#!/usr/bin/env bash
# tests/game/screens_test.sh: the real game in a virtual display, driven like
# a player through scripts/xvfb: the loading screen, full screen and back,
# the state file written on losing the focus and read by the next run, F4.
# Usage: screens_test.sh MARVOLET
set -uo pipefail
game=$1
. "$(dirname "$0")/../support/display_checks.sh" screens

echo "== the loading screen"
# Loading lasts about 17 updates: shoot until a shot shows it, starting the
# game again (up to three times) when a busy machine finished loading first.
# The menu shares the logo and the blues; only the loading screen is black around them.
loading_seen() {
  above "$(share "$1" 100x100+0+0 'r+g+b<0.05')" 0.9 &&
    above "$(share "$1" 200x200+220+140 'r+g+b>0.6')" 0.5 &&
    above "$(share "$1" 640x480+0+0 'b>0.7&&r<0.3')" 0.001
}
for attempt in 1 2 3; do
  "$runner" start -C "$work" "$game" >/dev/null || exit 1
  "$runner" window >/dev/null || exit 1
  for _ in $(seq 20); do
    "$runner" shot "$work/loading.png"
    loading_seen "$work/loading.png" && break 2
  done
  "$runner" stop >/dev/null
done
check "a 640 x 480 window" "640x480" "$(identify -format %wx%h "$work/loading.png")"
check_true "black around the logo" \
  above "$(share "$work/loading.png" 100x100+0+0 'r+g+b<0.05')" 0.9
check_true "the logo fills the middle" \
  above "$(share "$work/loading.png" 200x200+220+140 'r+g+b>0.6')" 0.5
check_true "blue spinner dots" \
  above "$(share "$work/loading.png" 640x480+0+0 'b>0.7&&r<0.3')" 0.001
check_true "orange spinner dots" \
  above "$(share "$work/loading.png" 640x480+0+0 'r>0.7&&g>0.2&&g<0.7&&b<0.2')" 0.0005
check_true "\"Loading...\" in white under the logo" \
  above "$(share "$work/loading.png" 120x24+260+436 'r>0.8&&g>0.8&&b>0.8')" 0.02

echo "== full screen and back"
# The menu's blue fills most of the screen once the images are reloaded.
menu_seen() { above "$(share "$1" "$2" 'r<0.15&&g>0.25&&g<0.4&&b>0.55&&b<0.7')" 0.3; }
# Shoots until the menu shows at this size (WxH), for up to about 5 s.
shoot_menu() {  # shoot_menu FILE SIZE
  for _ in $(seq 50); do
    "$runner" shot "$1"
    [ "$(identify -format %wx%h "$1")" == "$2" ] && menu_seen "$1" "$2+0+0" && return 0
    sleep 0.1
  done
  return 1
}
shoot_menu "$work/menu.png" 640x480
"$runner" key F11
check_true "full screen at the desktop size, the menu drawn over it" \
  shoot_menu "$work/full.png" 1280x1024
"$runner" key F11
check_true "windowed again at 640 x 480, the menu drawn over it" \
  shoot_menu "$work/window.png" 640x480

echo "== settings kept between runs"
root_window=$("$runner" run xwininfo -root | awk '/Window id:/ {print $4}')
"$runner" run xdotool windowfocus "$root_window"
for _ in $(seq 40); do [ -s "$work/.zorvexstate" ] && break; sleep 0.05; done
check "losing the focus saves 203 values" "203" "$(tr -cd '|' <"$work/.zorvexstate" | wc -c)"
"$runner" run xdotool windowfocus "$("$runner" window)"
sleep 0.3
"$runner" key F4
check "F4 ends the game with status 0" "0" "$("$runner" wait 5)"
"$runner" stop >/dev/null
"$runner" start -C "$work" "$game" >/dev/null || exit 1
"$runner" window >/dev/null || exit 1
sleep 0.5
out=$("$runner" output)
check "the next run loads the settings" "yes" "$(grep -qx 'Settings Loaded' <<<"$out" && echo yes)"
check "and the badges" "yes" "$(grep -qx 'Badges Loaded' <<<"$out" && echo yes)"
"$runner" close
check "the close button ends it with status 0" "0" "$("$runner" wait 5)"

verdict screen
