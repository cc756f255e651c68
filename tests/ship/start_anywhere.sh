#!/bin/bash
# The game started as a new user would, from folders other than its own: from /, from
# the source tree's root (which holds Shader/ but not data/) and from its run folder,
# with --windowed; then --fullscreen from /. It must find its data each time and show
# its title without asking the start-up question; Escape ends it with exit code 0.
set -u
source "$(dirname "$0")/lib.sh"
window_test_setup "$1" "$2" "$3" "$4" start_anywhere
source_dir="$5"

no_question() {
    [ -z "$(window_captioned "$QUESTION_CAPTION")" ] || fail "$1 asked the start-up question"
}

start_from() {
    local folder="$1" answer="$2" name="$3"
    cd "$folder" || fail "no folder $folder"
    start_game "$BUILD_DIR/game/velmora" "$answer" --escape=quit
    find_game_window
    no_question "$answer"
    wait_for_title 60
    shot "$name"
}

for folder in / "$source_dir" "$BUILD_DIR/game"; do
    start_from "$folder" --windowed "title-from-$(echo "$folder" | tr / _)"
    [ "$GAME_W" = 1280 ] && [ "$GAME_H" = 720 ] || fail "--windowed from $folder: a ${GAME_W}x${GAME_H} window"
    echo "ok: started from $folder, the title shows in a window"
    quit_with_escape
done

start_from / --fullscreen title-full-screen
read -r screen_w screen_h < <(xwininfo -root | awk '/^ *Width:/ {w = $2} /^ *Height:/ {h = $2} END {print w, h}')
[ "$GAME_W" = "$screen_w" ] && [ "$GAME_H" = "$screen_h" ] || fail "--fullscreen: a ${GAME_W}x${GAME_H} window on a ${screen_w}x${screen_h} screen"
echo "ok: --fullscreen covers the screen without asking"
quit_with_escape
echo "PASSED"
