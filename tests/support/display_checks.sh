# tests/support/display_checks.sh: what the tests that drive programs in a
# virtual display share: a scratch folder with a private scripts/xvfb session
# (both gone when the test ends), the checks, and the closing verdict.
# Sourced by bash: . display_checks.sh NAME (NAME names the scratch folder).
runner=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/scripts/xvfb
work=$(mktemp -d "/tmp/marvolet-$1-XXXXXX")
export MARVOLET_XVFB=$work/session
failures=0
finish() { "$runner" stop >/dev/null 2>&1; rm -rf "$work"; }
trap finish EXIT

check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" == "$3" ]; then
    echo "ok   $1"
  else
    echo "FAIL $1: expected [$2], got [$3]"
    failures=$((failures + 1))
  fi
}
check_true() {  # check_true NAME COMMAND...
  local name=$1
  shift
  if "$@"; then echo "ok   $name"; else echo "FAIL $name"; failures=$((failures + 1)); fi
}

# Share of pixels in a region (WxH+X+Y) whose colour matches an fx test.
share() {  # share FILE REGION FX
  convert "$1" -crop "$2" +repage -fx "$3" -format '%[fx:mean]' info:
}
above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

# The menu's wordmark is white on its sticker: it shows once the images have
# loaded from the data folder. Waits up to 10 s for it.
wordmark_seen() {  # wordmark_seen SHOT-FILE
  for _ in $(seq 50); do
    "$runner" shot "$1"
    above "$(share "$1" 360x90+70+50 'r>0.85&&g>0.85&&b>0.85')" 0.1 && return 0
    sleep 0.2
  done
  return 1
}

# Taking the focus away makes the game save; waits up to 10 s for the file.
saved_on_focus_loss() {  # saved_on_focus_loss STATE-FILE
  local root_window
  root_window=$("$runner" run xwininfo -root | awk '/Window id:/ {print $4}')
  "$runner" run xdotool windowfocus "$root_window"
  for _ in $(seq 200); do [ -s "$1" ] && return 0; sleep 0.05; done
  return 1
}

press() {  # press KEY...: each held 150 ms, then 150 ms apart
  for key in "$@"; do
    "$runner" keydown "$key"; sleep 0.15; "$runner" keyup "$key"; sleep 0.15
  done
}

# A tour of the game by keys from the menu, about half a minute: the side
# panel, options, the gallery, a game with a few steps, pause, and full
# screen and back.
play_screens() {
  press Right Return; sleep 2; press Escape; sleep 1
  press Left Left Return; sleep 1.5; press Escape; sleep 1
  press Left Return; sleep 1.5; press Escape; sleep 1
  press Right Right Return; sleep 3
  press Return Right Return Down Return; sleep 1
  press Escape; sleep 1.5; press Escape; sleep 1
  press F11; sleep 3; press Right Return; sleep 1; press F11; sleep 3
}

# Ends the test: how many of its checks (of KIND) failed, and the exit status.
verdict() {  # verdict KIND
  [ "$failures" -eq 0 ] && echo "all $1 checks passed" || echo "$failures $1 checks failed"
  exit $((failures > 0))
}
