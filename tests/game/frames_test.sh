#!/usr/bin/env bash
# tests/game/frames_test.sh: the partial redraw on a real GL window in a
# virtual display. The game runs with MARVOLET_CHECK_FRAMES, which draws
# every frame made in part (or kept) whole as well and compares the two; a
# session by keys (menu, side panel, options, gallery, a game, pause, full
# screen and back) must find no frame that differs.
# Usage: frames_test.sh MARVOLET
set -uo pipefail
game=$1
. "$(dirname "$0")/../support/display_checks.sh" frames
export MARVOLET_CHECK_FRAMES=1
"$runner" start -C "$work" "$game" >/dev/null || exit 1
"$runner" window >/dev/null || exit 1
sleep 3
play_screens
"$runner" close
"$runner" wait >/dev/null
said=$("$runner" output | grep "^Frame check: [0-9]* frames" | tail -n 1)
echo "$said"
checked=$(sed -n 's/^Frame check: \([0-9]*\) frames.*/\1/p' <<<"$said")
check_true "frames drawn in part or kept were checked" above "${checked:-0}" 100
check "no frame differs from the same frame drawn whole" " 0 differ" \
  "$(grep -o ' [0-9]* differ' <<<"$said")"
"$runner" output | grep "^Frame check: frame" | head -n 3
# The window, the full-screen one and the window again each ask what a swap keeps.
probes=$("$runner" output | grep -c "^Back buffer of context [0-9]*: ")
check "each of the three windows probed its back buffer" 3 "$probes"
"$runner" output | grep "^Back buffer of context" | sort -u
[ "$failures" -eq 0 ]
