#!/bin/bash
# Plays the Windows zip (scripts/windows.sh) under Wine on the X display, as a player on
# Windows would: unpacked into a fresh folder and started from another folder, with no
# sound card. It answers the start-up question, sees the title, clicks into the play,
# sees the arena and the spider machine drawn by the model effect, turns with the mouse,
# walks with W and quits through the pause menu (exit code 0). Then the zip's program without its
# data beside it: the box naming the places tried, exit code 1.
# Arguments: shot_probe, the screenshots' folder and the zip (defaults: build/, build-windows/).
set -u
source "$(dirname "$0")/lib.sh"
root=$(cd "$(dirname "$0")/../.." && pwd)
window_test_setup cmake "$root/build-windows" "${1:-$root/build/tests/ship/shot_probe}" \
    "${2:-$root/build-windows/screens}" windows_under_wine
zip=${3:-$root/build-windows/Velmora-windows-x64.zip}
[ -f "$zip" ] || fail "no $zip: run scripts/windows.sh first"
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
[ -x "$wine" ] || fail "no wine64 (scripts/windows.sh installs it)"

folder=$(mktemp -d)
unzip -q "$zip" -d "$folder/unpacked" || fail "cannot unzip $zip"
game="$folder/unpacked/Velmora"
# A fresh Wine with no audio driver: the machine has no sound card.
export WINEPREFIX="$folder/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winealsa.drv,winepulse.drv,wineoss.drv="
"$wine" wineboot -i >/dev/null 2>&1 || fail "wineboot could not set up $WINEPREFIX"
cleanup() {
    stop_game
    "$(dirname "$wine")/wineserver" -k 2>/dev/null
    rm -rf "$folder"
}

# Wine takes keys only into the focused window.
answer_focused() {
    wait_for_question
    xdotool windowfocus "$BOX"
    sleep 0.3
    xdotool key Return
}

cd / || exit 1
# Kept for tests/replay/on_every_platform.sh, which replays it on every platform.
start_game "$wine" "$game/velmora.exe" --record "Z:$ARTEFACTS/recorded.vrp"
trap cleanup EXIT
answer_focused
find_game_window
[ "$GAME_W" = 1280 ] && [ "$GAME_H" = 720 ] || fail "the window is ${GAME_W}x${GAME_H}, expected 1280x720"
xdotool windowfocus "$GAME_WINDOW"
wait_for_title 120
shot 01-title
expect "$("$PROBE" count "$ARTEFACTS/01-title.png" $(region 0.1 0.2 0.8 0.45) orange)" '$1 > 20000' \
    "started from /, the title shows: the data beside velmora.exe was found"

# Wine's frames are slow: the button is held longer than a player's click.
xdotool mousemove --window "$GAME_WINDOW" 640 360
hold_button 1.5
wait_for_play 300
wait_until_still 120 2 || echo "note: the view never settled after the start"
shot 02-play
expect "$("$PROBE" count "$ARTEFACTS/02-play.png" $(region 0.66 0.88 0.34 0.12) green)" '$1 > 2000' \
    "the life gauge shows at the bottom right"
expect "$("$PROBE" stats "$ARTEFACTS/02-play.png" $(region 0 0 1 0.85))" '$4 > 15 && $5 > 60' \
    "the arena is drawn (walls and floor, many colours)"
# The spider machine stands at the bottom middle of the view: its bluish steel, which the
# brown floor around it lacks, drawn by Shader/Sample.fx.
expect "$("$PROBE" count "$ARTEFACTS/02-play.png" $(region 0.38 0.63 0.24 0.3) steel)" '$1 > 3000' \
    "the spider machine is drawn where it stands"
expect "$("$PROBE" count "$ARTEFACTS/02-play.png" $(region 0.05 0.63 0.24 0.3) steel)" '$1 < 300' \
    "beside it lies bare floor"

# The mouse turns the view: 15 degrees to the right moves the far walls to the left.
xdotool mousemove_relative -- 150 0
sleep 3
shot 03-turned-right
expect "$("$PROBE" shift "$ARTEFACTS/02-play.png" "$ARTEFACTS/03-turned-right.png" $(region 0 0.05 1 0.45) 300)" \
    '$1 < -40' "turning right moves the scene to the left"

# W walks: the view moves while it is held.
hold_key w 4
sleep 1
shot 04-walked
expect "$("$PROBE" diff "$ARTEFACTS/03-turned-right.png" "$ARTEFACTS/04-walked.png" $(region 0 0 1 0.6))" \
    '$1 > 4' "holding W moves the view"
quit_through_menu

# A machine the game cannot run on: a box captioned Velmora before anything else (its
# screenshot kept as $1), whose text, also on standard error, holds $2; answered, the game
# ends with exit code 1.
expect_refusal() {
    BOX=""
    for _ in $(seq 300); do
        game_alive || break
        BOX=$(window_captioned "Velmora")
        [ -n "$BOX" ] && break
        sleep 0.1
    done
    [ -n "$BOX" ] || fail "no box for $1 within 30 s"
    # Drawn and laid out at its final size a moment after it appears.
    sleep 1
    GAME_WINDOW=$BOX
    read -r GAME_X GAME_Y GAME_W GAME_H < <(xwininfo -id "$BOX" | awk '/Absolute upper-left X:/ {x = $4}
        /Absolute upper-left Y:/ {y = $4} /^ *Width:/ {w = $2} /^ *Height:/ {h = $2} END {print x, y, w, h}')
    shot "$1"
    grep -qF "$2" "$GAME_ERRORS" || fail "the box for $1 does not say '$2'"
    xdotool windowfocus "$BOX"
    sleep 0.3
    xdotool key Return
    for _ in $(seq 100); do game_alive || break; sleep 0.1; done
    game_alive && fail "the game did not end after the box for $1"
    wait "$GAME_PID"
    local status=$?
    [ "$status" -eq 1 ] || fail "exit code $status for $1, expected 1"
    echo "ok: $1: a box saying '$2', exit code 1"
}

# OpenGL older than 3.3: the box names what is needed.
MESA_GL_VERSION_OVERRIDE=3.0 start_game "$wine" "$game/velmora.exe"
expect_refusal 05-old-opengl "needs OpenGL 3.3"

# Without its data beside it (nor in the folder it is started from): the box names the
# places looked at, the program's own folder among them.
lonely="$folder/only-the-program"
mkdir -p "$lonely"
cp "$game"/*.exe "$game"/*.dll "$lonely/"
start_game "$wine" "$lonely/velmora.exe"
expect_refusal 06-no-data "only-the-program"
echo "PASSED"
