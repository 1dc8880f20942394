#!/usr/bin/env bash
# tests/game/sanitized_session.sh: the real game, built with AddressSanitizer,
# UndefinedBehaviorSanitizer and LeakSanitizer, for about a minute in a
# virtual display with OpenAL Soft's null device as its sound card: the tour
# of the screens by keys twice (the second time with the state the first
# saved), each ended by the close button. Any report fails it.
# Usage: sanitized_session.sh MARVOLET
set -uo pipefail
game=$1
. "$(dirname "$0")/../support/display_checks.sh" sanitized
export ALSOFT_DRIVERS=null
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for round in 1 2; do
  "$runner" start -C "$work" "$game" >/dev/null || exit 1
  "$runner" window >/dev/null || exit 1
  sleep 4
  play_screens
  "$runner" close
  status=$("$runner" wait 60)
  check "round $round: the game ends with status 0" 0 "$status"
  report=$(grep -E -A12 "ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:" "$MARVOLET_XVFB/err")
  check "round $round: no sanitizer report" "" "$report"
  check_true "round $round: a game was played" grep -qE "^[-+*/.0-9]+=[0-9]+$" "$MARVOLET_XVFB/out"
  "$runner" stop >/dev/null
done
verdict "sanitized session"
