#!/usr/bin/env bash
# bench/web/measure.sh: the web site's figures (measure.js), the site served
# on 127.0.0.1 and driven as the browser tests drive it.
# Usage: bench/web/measure.sh [SITE-FOLDER] [MENU-PNG]   (default: build-web/site)
# Needs what scripts/test-web installs: chromium and tests/web/node_modules.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
[ -d "$root/tests/web/node_modules/puppeteer-core" ] ||
  { echo "puppeteer-core is missing: run scripts/test-web once first"; exit 1; }
site=$(realpath "${1:-$root/build-web/site}")
exec "$root/tests/web/run.sh" "$site" ../../bench/web/measure.js "${@:2}"
