#!/bin/bash
# The window changes under a play: resized larger (the picture follows at once, drawn at
# the new size, the life gauge where it sits at 1280 x 720 relative to the frame),
# resized to another shape (black bars above and below), then Alt+Enter to full screen
# and back. After each change the play goes on: the mouse still turns the view.
# Screenshots of every step are kept in screens/resize_and_full_screen/.
set -u
source "$(dirname "$0")/lib.sh"
window_test_setup "$@" resize_and_full_screen

# Re-reads the window's place and size after a change, waiting for the size asked for.
window_becomes() {
    for _ in $(seq 50); do
        find_game_window
        [ "$GAME_W" = "$1" ] && [ "$GAME_H" = "$2" ] && return 0
        sleep 0.1
    done
    fail "the window is ${GAME_W}x${GAME_H}, expected $1x$2"
}

gauge_pixels() {
    "$PROBE" count "$ARTEFACTS/$1.png" $(region 0.66 0.88 0.34 0.12) green
}

# The life gauge covers the same share of the frame ($2: the frame's height in pixels)
# as in the first 1280 x 720 shot, within a fifth.
expect_gauge_in_place() {
    local pixels
    pixels=$(gauge_pixels "$1")
    expect "$pixels $GAUGE_720 $2" '$1 / ($3 * $3 * 16 / 9) > 0.8 * $2 / 921600 && $1 / ($3 * $3 * 16 / 9) < 1.2 * $2 / 921600' \
        "the life gauge covers the share of the frame it covers at 1280 x 720 ($1)"
}

# The play goes on: turning with the mouse changes the view.
expect_play_goes_on() {
    look
    cp "$LOOK" "$ARTEFACTS/before.bmp"
    xdotool mousemove_relative -- 150 0
    sleep 1
    look
    expect "$("$PROBE" diff "$LOOK" "$ARTEFACTS/before.bmp" $(region 0 0 1 0.6))" '$1 > 3' \
        "the view turns with the mouse after $1"
}

cd "$BUILD_DIR/game" || fail "no run directory $BUILD_DIR/game"
start_game ./velmora --escape=quit
answer_question Return
find_game_window
click_into_play
sleep 2
shot 01-play-1280x720
GAUGE_720=$(gauge_pixels 01-play-1280x720)
expect "$GAUGE_720" '$1 > 2000' "the life gauge shows at 1280 x 720"

# At the screen's top left, so that the whole larger window is on the screenshots.
xdotool windowmove "$GAME_WINDOW" 0 0
xdotool windowsize "$GAME_WINDOW" 1920 1080
window_becomes 1920 1080
sleep 1
shot 02-play-1920x1080
expect_gauge_in_place 02-play-1920x1080 1080
expect "$("$PROBE" stats "$ARTEFACTS/02-play-1920x1080.png" $(region 0 0 1 0.85))" '$4 > 15 && $5 > 60' \
    "the arena fills the larger window"
expect_play_goes_on "the resize"

# 1280 x 800 holds a 1280 x 720 frame with 40-pixel bars above and below.
xdotool windowsize "$GAME_WINDOW" 1280 800
window_becomes 1280 800
sleep 1
shot 03-play-1280x800
expect "$("$PROBE" stats "$ARTEFACTS/03-play-1280x800.png" 0 0 1280 38)" '$1 < 1 && $2 < 1 && $3 < 1' \
    "a black bar above the frame"
expect "$("$PROBE" stats "$ARTEFACTS/03-play-1280x800.png" 0 762 1280 38)" '$1 < 1 && $2 < 1 && $3 < 1' \
    "a black bar below the frame"
expect "$("$PROBE" stats "$ARTEFACTS/03-play-1280x800.png" 0 40 1280 600)" '$4 > 15 && $5 > 60' \
    "the arena between the bars"

read -r screen_w screen_h < <(xwininfo -root | awk '/^ *Width:/ {w = $2} /^ *Height:/ {h = $2} END {print w, h}')
xdotool windowfocus "$GAME_WINDOW"; xdotool key alt+Return
window_becomes "$screen_w" "$screen_h"
sleep 1
shot 04-full-screen screen
expect_gauge_in_place 04-full-screen "$screen_h"
expect_play_goes_on "Alt+Enter to full screen"

xdotool windowfocus "$GAME_WINDOW"; xdotool key alt+Return
window_becomes 1280 720
sleep 1
shot 05-back-in-window
expect_gauge_in_place 05-back-in-window 720
expect_play_goes_on "Alt+Enter back to the window"

quit_with_escape
echo "PASSED"
