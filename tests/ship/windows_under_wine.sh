#!/bin/bash
# Plays the Windows zip (scripts/windows.sh) under Wine on the X display, as a player on
# Windows would: unpacked into a fresh folder and started from another folder, with no
# sound card. It answers the start-up question, sees the title, clicks into the play,
# sees the arena and the spider machine drawn by the model effect, turns with the mouse,
# walks with W and quits through the pause menu (exit code 0). Then the zip's program without its
# data beside it: the box naming the places tried, exit code 1; and the game in a folder and
# with a profile whose names are not plain ASCII.
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

# A player whose names are not plain ASCII: the game in a folder named "Velmora ゲーム Jörg"
# and started from there, its settings folder (AppData) under such a name too. It finds its
# data, saves a menu change there and reads it back at the next start, and records a play
# into its folder that it then replays.
profile="C:\\プロファイル Jörg"
for key in "User Shell Folders" "Shell Folders"; do
    "$wine" reg add "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\$key" /v AppData /d "$profile" /f \
        >/dev/null 2>&1 || fail "cannot move AppData to $profile"
done
settings_file="$WINEPREFIX/drive_c/プロファイル Jörg/Velmora/settings.ini"
named="$folder/Velmora ゲーム Jörg"
cp -r "$game" "$named"
cd "$named" || exit 1
APPDATA="$profile" start_game "$wine" velmora.exe --windowed --record "プレイ.vrp"
trap cleanup EXIT
find_game_window
xdotool windowfocus "$GAME_WINDOW"
wait_for_title 120
shot 07-title-in-named-folder
# Down to Settings, in, the volume a step down, out, back to the play, the menu again.
xdotool key Escape
wait_for_menu
for key in Down Return Left Escape Escape Escape; do xdotool key $key; sleep 0.5; done
wait_for_menu
choose_quit_in_menu
expect_clean_exit "the menu's Quit in $named"
grep -qx "volume = 90" "$settings_file" 2>/dev/null || fail "the menu's change is not in $settings_file"
[ -z "$(find "$WINEPREFIX/drive_c" -maxdepth 3 -name '*Ã*')" ] || fail "a folder named byte by byte: $(find "$WINEPREFIX/drive_c" -maxdepth 3 -name '*Ã*')"
[ -s "$named/プレイ.vrp" ] || fail "no recording in $named"
echo "ok: started in $named: the data found, the menu's change saved in $settings_file, the play recorded beside"
# A line the next start refuses names the file it read and the value it keeps.
printf 'volume = loud\n' >>"$settings_file"
APPDATA="$profile" start_game "$wine" velmora.exe --replay "プレイ.vrp"
trap cleanup EXIT
for _ in $(seq 1800); do game_alive || break; sleep 0.1; done
game_alive && fail "the replay of $named/プレイ.vrp did not end by itself"
wait "$GAME_PID"
status=$?
[ "$status" -eq 0 ] || fail "the replay of $named/プレイ.vrp: exit code $status"
grep -qF "settings.ini:2: 'loud' is not a value of volume" "$GAME_ERRORS" && grep -qF "keeping '90' from line 1" "$GAME_ERRORS" ||
    fail "the next start did not read back the saved volume"
echo "ok: the next start read volume 90 back from $settings_file and replayed $named/プレイ.vrp to its end"
echo "PASSED"
