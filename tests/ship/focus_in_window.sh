#!/bin/bash
# Another window takes the focus in the middle of a play: the game lets the pointer go
# (it can leave the game's window and stays where it is put), and neither the mouse nor
# a held key or button moves the view. With the focus back the view has not jumped, and
# the mouse turns it again.
set -u
source "$(dirname "$0")/lib.sh"
window_test_setup "$@" focus_in_window
command -v xmessage >/dev/null || { echo "SKIPPED: xmessage missing"; exit 77; }

CONFIG=$(mktemp -d)
mkdir "$CONFIG/velmora"
echo "full_screen = no" >"$CONFIG/velmora/settings.ini"
cd "$BUILD_DIR/game" || fail "no run directory $BUILD_DIR/game"
XDG_CONFIG_HOME="$CONFIG" start_game ./velmora
find_game_window
click_into_play
wait_until_still 60 || echo "note: the view never settled after the start"
shot 01-play

# The other window, away from the game's, takes the focus.
xmessage -geometry 300x100+1500+900 "VelmoraFocusThief" &
THIEF=$!
trap 'kill $THIEF 2>/dev/null; rm -rf "$CONFIG"; stop_game' EXIT
OTHER=""
for _ in $(seq 50); do
    OTHER=$(xdotool search --name '^xmessage$' | head -n 1)
    [ -n "$OTHER" ] && viewable "$OTHER" && break
    sleep 0.1
done
[ -n "$OTHER" ] || fail "the other window did not show"
xdotool windowfocus --sync "$OTHER"
sleep 0.5

xdotool mousemove 1600 950
sleep 1
read -r x y < <(xdotool getmouselocation | sed 's/x:\([0-9]*\) y:\([0-9]*\).*/\1 \2/')
expect "$x $y" '$1 == 1600 && $2 == 950' "the pointer is free outside the game's window and stays put"
xdotool mousemove_relative -- 200 80 keydown w mousedown 1
sleep 1.5
xdotool keyup w mouseup 1
shot 02-away
expect "$("$PROBE" diff "$ARTEFACTS/01-play.png" "$ARTEFACTS/02-away.png" $(region 0 0 1 0.6))" '$1 < 1.0' \
    "away from the game, mouse, key and button leave the view still"

# The focus back: no jump, and the mouse turns the view again.
xdotool windowfocus --sync "$GAME_WINDOW"
sleep 1
shot 03-back
expect "$("$PROBE" diff "$ARTEFACTS/01-play.png" "$ARTEFACTS/03-back.png" $(region 0 0 1 0.6))" '$1 < 1.0' \
    "the view does not jump when the focus comes back"
xdotool mousemove_relative -- 150 0
sleep 1
shot 04-turned-right
expect "$("$PROBE" shift "$ARTEFACTS/03-back.png" "$ARTEFACTS/04-turned-right.png" $(region 0 0.05 1 0.45) 300)" \
    '$1 < -40' "the mouse turns the view again"

quit_through_menu
echo "PASSED"
