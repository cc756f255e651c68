#!/bin/bash
# The installed game, started the way a menu or a shell does: games/velmora (here through
# a symbolic link to it) from an unrelated folder. It must find its
# data and shader, so its title screen shows; Escape ends it with exit code 0.
set -u
source "$(dirname "$0")/lib.sh"
window_test_setup "$@" installed_game_in_window

work=$(mktemp -d)
trap 'stop_game; rm -rf "$work"' EXIT
prefix="$work/prefix"
"$CMAKE_COMMAND" --install "$BUILD_DIR" --prefix "$prefix" >"$work/install.log" 2>&1 \
    || { cat "$work/install.log"; fail "cmake --install failed"; }
ln -s "$prefix/games/velmora" "$work/velmora"

cd / || exit 1
start_game "$work/velmora" --escape=quit
trap 'stop_game; rm -rf "$work"' EXIT
answer_question Return
find_game_window
wait_for_title 60
shot installed-title
expect "$("$PROBE" count "$ARTEFACTS/installed-title.png" $(region 0.1 0.2 0.8 0.45) orange)" '$1 > 20000' \
    "the installed game shows its title picture, read from its own data folder"
quit_with_escape
echo "PASSED"
