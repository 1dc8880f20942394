#!/usr/bin/env bash
# tests/install/install_test.sh: installs the build into a temporary prefix,
# checks the tree (program, data, launcher, desktop entry, icons), moves it
# elsewhere, and starts the launcher in a virtual display from an unrelated
# folder: the state file must land in the player's data folder.
# Usage: install_test.sh BUILD DATA-FOLDER CLOSE-WINDOW-TOOL
set -uo pipefail
build=$1
data=$2
export MARVOLET_CLOSE_WINDOW=$3
. "$(dirname "$0")/../support/display_checks.sh" install

echo "== the installed tree"
cmake --install "$build" --prefix "$work/prefix" >"$work/install.log" 2>&1 ||
  { cat "$work/install.log"; exit 1; }
# The prefix is only ever found relative to the launcher: the tree may move.
mv "$work/prefix" "$work/moved"
prefix=$work/moved
check_true "the program" test -x "$prefix/libexec/marvolet/marvolet"
check_true "the launcher" test -x "$prefix/bin/marvolet"
check "every data file" "$(cd "$data" && find . | sort)" \
  "$(cd "$prefix/share/games/marvolet" 2>/dev/null && find . | sort)"
entry=$prefix/share/applications/marvolet.desktop
for line in Type=Application Name=Marvolet Exec=marvolet Icon=marvolet Terminal=false \
  'Categories=Game;LogicGame;'; do
  check_true "the desktop entry has $line" grep -qx "$line" "$entry"
done
check_true "the desktop entry has a comment" grep -q '^Comment=.' "$entry"
if command -v desktop-file-validate >/dev/null; then
  check "the desktop entry validates" "" "$(desktop-file-validate "$entry" 2>&1)"
fi
for size in 48 128 256; do
  icon=$prefix/share/icons/hicolor/${size}x$size/apps/marvolet.png
  # Clear corners and an opaque middle: a rounded tile, not a square box.
  check "the $size px icon" "PNG ${size}x$size 0 1" \
    "$(identify -format '%m %wx%h ' "$icon" 2>&1)$(convert "$icon" -format '%[fx:p{0,0}.a] %[fx:p{w/2,h/2}.a]' info: 2>&1)"
done

echo "== the launcher"
mkdir -p "$work/elsewhere" "$work/xdg"
XDG_DATA_HOME=$work/xdg "$runner" start -C "$work/elsewhere" "$prefix/bin/marvolet" >/dev/null || exit 1
"$runner" window >/dev/null || exit 1
check_true "the menu shows the wordmark from the installed data" wordmark_seen "$work/menu.png"
state=$work/xdg/marvolet/.zorvexstate
check_true "losing the focus saves the state in \$XDG_DATA_HOME/marvolet" saved_on_focus_loss "$state"
check "and not in the folder the game was started from" "" "$(ls -A "$work/elsewhere")"
"$runner" close
check "the close button ends it with status 0" 0 "$("$runner" wait 10)"
"$runner" stop >/dev/null
# Without a display the game stops at once; the folder is made before that.
(cd "$work/elsewhere" && env -u XDG_DATA_HOME -u DISPLAY -u WAYLAND_DISPLAY HOME="$work/home" \
  "$prefix/bin/marvolet" >/dev/null 2>&1)
check_true "without XDG_DATA_HOME the folder is \$HOME/.local/share/marvolet" \
  test -d "$work/home/.local/share/marvolet"
# Installed under ~/.local, the data and the saves stay apart: removing the
# installed game never takes the player's progress with it.
check "nothing installed where the saves live" "" "$(ls -A "$prefix/share/marvolet" 2>/dev/null)"

verdict install
