#!/bin/bash
# Answers Yes to the start-up question: the game must cover the whole screen with its
# 1280 x 720 image scaled up, also on an X server without a window manager (as under
# xvfb-run), title and play alike. The pause menu's Quit ends it with exit code 0.
set -u
source "$(dirname "$0")/lib.sh"
window_test_setup "$@" full_screen

cd "$BUILD_DIR/game" || fail "no run directory $BUILD_DIR/game"
start_game ./velmora
answer_question_yes
find_game_window
read -r screen_w screen_h < <(xwininfo -root | awk '/^ *Width:/ {w = $2} /^ *Height:/ {h = $2} END {print w, h}')
echo "game window ${GAME_W}x${GAME_H} at ${GAME_X},${GAME_Y} on a ${screen_w}x${screen_h} screen"
[ "$GAME_W" = "$screen_w" ] && [ "$GAME_H" = "$screen_h" ] && [ "$GAME_X" = 0 ] && [ "$GAME_Y" = 0 ] \
    || fail "the full-screen window does not cover the screen"

wait_for_title 60
shot 01-title screen
# The title picture reaches across the screen: its letters reach the right third and
# the city skyline fills the bottom right corner.
expect "$("$PROBE" count "$ARTEFACTS/01-title.png" $(region 0.67 0.2 0.2 0.45) orange)" '$1 > 5000' \
    "the title's letters reach into the right third of the screen"
expect "$("$PROBE" stats "$ARTEFACTS/01-title.png" $(region 0.8 0.75 0.2 0.25))" '$4 > 10 && $5 > 10' \
    "the bottom right corner shows the picture, not an empty screen"

xdotool mousemove --window "$GAME_WINDOW" $((GAME_W / 2)) $((GAME_H / 2))
hold_button 0.3
wait_for_play 180
shot 02-play screen
expect "$("$PROBE" count "$ARTEFACTS/02-play.png" $(region 0.66 0.88 0.34 0.12) green)" '$1 > 4000' \
    "the life gauge shows at the bottom right of the screen"
quit_through_menu
echo "PASSED"
