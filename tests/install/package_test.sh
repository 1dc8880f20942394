#!/usr/bin/env bash
# tests/install/package_test.sh: builds the Debian package from this build and
# validates it (scripts/package). Then, when the machine allows a system
# install (root or sudo), uses it as a player does: apt-get installs it and
# its dependencies, the desktop entry's Exec line starts the game in a virtual
# display, the game saves in the player's data folder, and apt-get purge
# leaves no file of the package behind. Exits 77 (skipped) otherwise.
# Usage: package_test.sh BUILD CLOSE-WINDOW-TOOL
set -uo pipefail
build=$1
export MARVOLET_CLOSE_WINDOW=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/tests/support/display_checks.sh" package

echo "== the package"
status=0
deb=$("$root/scripts/package" --no-build "$build" | tee "$work/package.log" | tail -n 1) || status=$?
cat "$work/package.log"
[ "$status" -eq 77 ] && { echo "SKIPPED: the packaging tools are missing (scripts/test installs them)"; exit 77; }
[ "$status" -eq 0 ] || exit 1

sudo=()
if [ "$(id -u)" -ne 0 ]; then
  sudo -n true 2>/dev/null || {
    echo "SKIPPED the install as a player: it needs root or sudo without a password"
    exit 77
  }
  sudo=(sudo -n)
fi
apt() { DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get -y -qq -o DPkg::Lock::Timeout=300 "$@"; }
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

# One system install at a time on this machine, whoever runs it.
exec 9>/tmp/marvolet-package-test.lock
flock -w 900 9 || { echo "FAIL another package test holds the lock"; exit 1; }
if installed marvolet; then
  echo "SKIPPED the install as a player: marvolet is installed here already; it is left alone"
  exit 77
fi
# Whatever happens below, the package does not stay installed.
purge() { ! installed marvolet || apt purge marvolet >"$work/purge.log" 2>&1; }
trap 'purge; finish' EXIT

echo "== apt-get install $deb"
apt install --no-install-recommends "$(realpath "$deb")" >"$work/install.log" 2>&1 ||
  { cat "$work/install.log"; echo "FAIL apt-get install"; exit 1; }
check_true "the package is installed" installed marvolet
depends=$(dpkg-deb -f "$deb" Depends)
check_true "its dependencies were worked out from the program" grep -q 'libglfw3.*libopenal1' <<<"$depends"
for package in $(tr ',' '\n' <<<"$depends" | sed 's/(.*)//; s/|.*//' | tr -d ' '); do
  check_true "the dependency $package came in" installed "$package"
done
files=$(dpkg -L marvolet)

echo "== the game from its desktop entry"
command=$(sed -n 's/^Exec=//p' /usr/share/applications/marvolet.desktop | sed 's/ *%[a-zA-Z]//g')
# A desktop session's path: games live in /usr/games.
program=$(PATH=/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games command -v "$command")
check "the Exec line runs /usr/games/marvolet" /usr/games/marvolet "$program"
mkdir -p "$work/elsewhere" "$work/xdg"
XDG_DATA_HOME=$work/xdg "$runner" start -C "$work/elsewhere" "$program" >/dev/null || exit 1
"$runner" window >/dev/null || exit 1
check_true "the menu shows the wordmark from /usr/share/games/marvolet" wordmark_seen "$work/menu.png"
check_true "losing the focus saves the state in \$XDG_DATA_HOME/marvolet" \
  saved_on_focus_loss "$work/xdg/marvolet/.zorvexstate"
"$runner" close
check "the close button ends it with status 0" 0 "$("$runner" wait 10)"
"$runner" stop >/dev/null

echo "== apt-get purge marvolet"
purge || { cat "$work/purge.log"; check "apt-get purge" 0 1; }
check_true "dpkg lists the package no more" test -z "$(dpkg-query -W -f='${Status}' marvolet 2>/dev/null | grep -v not-installed)"
# Folders such as /usr/share/icons/hicolor/48x48/apps are shared; files and
# the package's own folders are not.
left=$(while read -r path; do
  [ -e "$path" ] && { [ ! -d "$path" ] || [[ $path == */marvolet ]]; } && echo "$path"
done <<<"$files")
check "no file of the package remains" "" "$left"
check_true "it had files to remove" test "$(wc -l <<<"$files")" -gt 20

verdict package
