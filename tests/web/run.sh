#!/usr/bin/env bash
# tests/web/run.sh: serves a built web site on 127.0.0.1 and plays it in
# headless Chromium (browser_test.js, or another script given with its arguments).
# Usage: tests/web/run.sh SITE-FOLDER [SCRIPT [ARGS...]]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
site=$1
script=${2:-browser_test.js}
shift $(($# > 1 ? 2 : 1))
log=$(mktemp)
python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$site" > "$log" 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null; rm -f "$log"' EXIT
port=""
for _ in $(seq 50); do
  port=$(sed -n 's/.*port \([0-9]*\).*/\1/p' "$log" | head -n 1)
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || { echo "the web server did not start"; cat "$log"; exit 1; }
node "$here/$script" "http://127.0.0.1:$port/" "$@"
