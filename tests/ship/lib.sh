# Shared by the ship tests: starting the real game under X, answering its start-up
# question, finding its window, screenshots of it and measuring them with shot_probe.
# The caller sets PROBE (the shot_probe binary) and ARTEFACTS (where screenshots go).

fail() {
    echo "FAILED: $*"
    if [ -n "${GAME_ERRORS:-}" ] && [ -s "$GAME_ERRORS" ]; then
        echo "--- standard error of the game:"
        grep -v '^ALSA lib\|^AL lib' "$GAME_ERRORS" | tail -n 20
    fi
    exit 1
}

# The id of the top-level window with exactly this caption, if there is one.
window_captioned() {
    xwininfo -root -tree 2>/dev/null | grep -F "\"$1\":" | awk '{print $1}' | head -n 1
}

viewable() {
    xwininfo -id "$1" 2>/dev/null | grep -q "Map State: IsViewable"
}

# The start-up question as the player reads it in the tests' English locale: the game's
# own words ("確認", "フルスクリーンにしますか？") are for Japanese players.
QUESTION_CAPTION="Confirm"
QUESTION_TEXT="Play in full screen?"

# Starts a command as the game in the background with a UTF-8 locale (message boxes
# need it) and standard error in GAME_ERRORS; sets GAME_PID. Whatever happens, the
# game is killed with SIGKILL on exit (SDL catches SIGTERM, a message box blocks).
start_game() {
    GAME_ERRORS=$(mktemp)
    LC_ALL=C.UTF-8 "$@" 2>"$GAME_ERRORS" >/dev/null &
    GAME_PID=$!
    trap 'stop_game' EXIT
}

stop_game() {
    if [ -n "${GAME_PID:-}" ] && kill -0 "$GAME_PID" 2>/dev/null; then kill -KILL "$GAME_PID"; fi
    for key in w a s d z Escape; do xdotool keyup "$key" 2>/dev/null; done
    [ -n "${LAYOUT_CHANGED:-}" ] && setxkbmap us
    xdotool mouseup 1 2>/dev/null
    [ -n "${GAME_ERRORS:-}" ] && rm -f "$GAME_ERRORS"
    # The quick looks are scratch; the PNG screenshots stay.
    [ -n "${ARTEFACTS:-}" ] && rm -f "$ARTEFACTS"/*.bmp
    return 0
}

# Switches the X server's keyboard layout (stop_game puts back the US one).
use_layout() {
    setxkbmap "$1" || fail "setxkbmap $1 failed"
    LAYOUT_CHANGED=1
}

game_alive() {
    kill -0 "$GAME_PID" 2>/dev/null
}

# Waits for the start-up question (the box captioned QUESTION_CAPTION) and sets BOX to its window.
wait_for_question() {
    BOX=""
    for _ in $(seq 300); do
        game_alive || fail "the game ended before asking the start-up question"
        BOX=$(window_captioned "$QUESTION_CAPTION")
        [ -n "$BOX" ] && break
        sleep 0.1
    done
    [ -n "$BOX" ] || fail "no start-up question within 30 s"
    sleep 0.3
}

# Answers the start-up question with a key: Return takes the default button, No.
answer_question() {
    wait_for_question
    xdotool key --window "$BOX" "$1"
}

# Answers it by clicking its left button, Yes.
answer_question_yes() {
    wait_for_question
    local width height
    read -r width height < <(xwininfo -id "$BOX" | awk '/^ *Width:/ {w = $2} /^ *Height:/ {h = $2} END {print w, h}')
    xdotool mousemove --window "$BOX" $((width * 32 / 100)) $((height * 76 / 100)) mousedown 1
    sleep 0.2
    xdotool mouseup 1
}

# Waits for the viewable game window and reads its place on the screen into
# GAME_WINDOW, GAME_X, GAME_Y, GAME_W, GAME_H.
find_game_window() {
    GAME_WINDOW=""
    for _ in $(seq 300); do
        game_alive || fail "the game ended after the question"
        GAME_WINDOW=$(window_captioned "Velmora")
        if [ -n "$GAME_WINDOW" ] && viewable "$GAME_WINDOW"; then break; fi
        GAME_WINDOW=""
        sleep 0.1
    done
    [ -n "$GAME_WINDOW" ] || fail "no game window within 30 s of the answer"
    local info
    info=$(xwininfo -id "$GAME_WINDOW")
    GAME_X=$(echo "$info" | awk '/Absolute upper-left X:/ {print $4}')
    GAME_Y=$(echo "$info" | awk '/Absolute upper-left Y:/ {print $4}')
    GAME_W=$(echo "$info" | awk '/^ *Width:/ {print $2}')
    GAME_H=$(echo "$info" | awk '/^ *Height:/ {print $2}')
}

# Screenshot of the whole screen (import -window root), kept as ARTEFACTS/<name>.png cut
# to the game's window (the one the checks read); with "screen" as second argument the
# whole screen is kept as well. BMP in between: PNG compression would stall the game.
shot() {
    local name="$1" raw="$ARTEFACTS/$1-screen.bmp"
    import -window root "$raw" || fail "import could not take a screenshot"
    "$PROBE" crop "$raw" "$GAME_X" "$GAME_Y" "$GAME_W" "$GAME_H" "$ARTEFACTS/$name.png" \
        || fail "the game window is not on the screenshot"
    if [ "${2:-}" = screen ]; then
        "$PROBE" crop "$raw" 0 0 100000 100000 "$ARTEFACTS/$name-screen.png" || fail "cannot keep the screenshot"
    fi
    rm -f "$raw"
}

# A quick look at the game's window alone, for polling: ARTEFACTS/look.bmp.
look() {
    import -window "$GAME_WINDOW" "$ARTEFACTS/look.bmp" || fail "import could not read the game window"
    LOOK="$ARTEFACTS/look.bmp"
}

# Region of the game image given in fractions of its size: prints "X Y W H".
region() {
    awk -v w="$GAME_W" -v h="$GAME_H" -v l="$1" -v t="$2" -v rw="$3" -v rh="$4" \
        'BEGIN { printf "%d %d %d %d\n", l * w, t * h, rw * w, rh * h }'
}

# Evaluates an awk condition on the numbers a probe printed ($1, $2, ...); fails with
# the message and the numbers when it does not hold.
expect() {
    local numbers="$1" condition="$2" message="$3"
    echo "$numbers" | awk "{ exit !($condition) }" || fail "$message (measured: $numbers)"
    echo "ok: $message ($numbers)"
}

# Holds keys or the button for a while, as a player does; a tap shorter than a frame
# would be missed by the game's polling.
hold_key() {
    xdotool keydown "$1"
    sleep "$2"
    xdotool keyup "$1"
}

hold_button() {
    xdotool mousedown 1
    sleep "$1"
    xdotool mouseup 1
}

# The common start of a window test: arguments, a display, the artefacts folder.
# Exits 77 (skipped) without an X display.
window_test_setup() {
    CMAKE_COMMAND="$1"
    BUILD_DIR="$2"
    PROBE="$3"
    ARTEFACTS="$4/$5"
    if [ -z "${DISPLAY:-}" ]; then
        echo "SKIPPED: no X display; run the tests under xvfb-run"
        exit 77
    fi
    rm -rf "$ARTEFACTS"
    mkdir -p "$ARTEFACTS"
    echo "screenshots: $ARTEFACTS"
}

# Waits (up to $1 seconds) until more than $2 pixels of colour $3 show in the region
# $4 $5 $6 $7 of the game's window; $8 names the screen awaited, for the failures.
wait_for_colour() {
    local deadline=$((SECONDS + $1))
    while [ $SECONDS -lt $deadline ]; do
        game_alive || fail "the game ended while waiting for the $8"
        look
        [ "$("$PROBE" count "$LOOK" $(region "$4" "$5" "$6" "$7") "$3")" -gt "$2" ] && return 0
        sleep 0.2
    done
    fail "no $8 within $1 s"
}

# The title screen: the orange letters of the title picture across the upper middle.
wait_for_title() {
    wait_for_colour "$1" 20000 orange 0.1 0.2 0.8 0.45 "title screen"
}

# The play: the green life gauge at the bottom right.
wait_for_play() {
    wait_for_colour "$1" 2000 green 0.66 0.88 0.34 0.12 "play"
}

# From the title into a play, with a click at the middle of the game's window.
click_into_play() {
    xdotool windowfocus "$GAME_WINDOW"
    wait_for_title 60
    xdotool mousemove --window "$GAME_WINDOW" 640 360
    hold_button 0.3
    wait_for_play 180
}

# The pause menu: its first line (Resume) highlighted, a solid orange bar across the
# middle (the title's letters under it fill half that strip at most).
wait_for_menu() {
    local strip
    strip=$(awk -v w="$GAME_W" -v h="$GAME_H" 'BEGIN { printf "%d", 0.9 * int(0.46 * w) * int(0.01 * h) }')
    wait_for_colour 5 "$strip" orange 0.27 0.465 0.46 0.01 "pause menu"
}

# Waits (at most 5 s) for the game to end and checks its exit code is 0; $1 says after what.
expect_clean_exit() {
    local gone=""
    for _ in $(seq 50); do
        if ! game_alive; then gone=1; break; fi
        sleep 0.1
    done
    [ -n "$gone" ] || fail "the game did not end within 5 s of $1"
    wait "$GAME_PID"
    local status=$?
    [ "$status" -eq 0 ] || fail "exit code $status after $1, expected 0"
    echo "ok: $1 ends the game with exit code 0"
}

# The menu's keys for Quit: Up from Resume wraps to Quit, Return asks "Quit the game?"
# with No chosen, Up picks Yes.
choose_quit_in_menu() {
    xdotool key Up; sleep 0.2
    xdotool key Return; sleep 0.3
    xdotool key Up; sleep 0.2
    xdotool key Return
}

# Escape opens the pause menu; its Quit, then Yes, ends the game with exit code 0.
quit_through_menu() {
    xdotool key Escape
    wait_for_menu
    choose_quit_in_menu
    expect_clean_exit "the menu's Quit"
}

# With escape = quit: holds Escape until the game is gone (at most
# 5 s) and checks its exit code is 0.
quit_with_escape() {
    xdotool keydown Escape
    expect_clean_exit "Escape"
    xdotool keyup Escape
}

# Waits until two looks $2 seconds apart (default half a second) barely differ over the
# upper part of the view (the machine stopped), for at most $1 seconds; the keys stay
# as they are.
wait_until_still() {
    local deadline=$((SECONDS + $1)) change
    look
    cp "$LOOK" "$ARTEFACTS/before.bmp"
    while [ $SECONDS -lt $deadline ]; do
        sleep "${2:-0.5}"
        look
        change=$("$PROBE" diff "$LOOK" "$ARTEFACTS/before.bmp" $(region 0 0 1 0.6))
        echo "$change" | awk '{ exit !($1 < 1.0) }' && return 0
        cp "$LOOK" "$ARTEFACTS/before.bmp"
    done
    return 1
}

# Pixels of the lock-on marker's colour in picture $1 (the game window now by default),
# above the machine: the anchors hang there, and a hit's red flash around the machine is
# no marker.
marker_pixels() {
    local picture="${1:-}"
    [ -n "$picture" ] || { look; picture="$LOOK"; }
    "$PROBE" count "$picture" $(region 0 0 1 0.7) marker
}

# While the caller's device walks the machine down the hall: the lock-on marker shows on
# an anchor within four minutes.
wait_for_lock_on() {
    local deadline=$((SECONDS + 240))
    while [ $SECONDS -lt $deadline ]; do
        game_alive || fail "the game ended on the way to the anchor"
        [ "$(marker_pixels)" -gt 300 ] && return 0
    done
    return 1
}

# Pixels of the ledge's yellow deck at the bottom of picture $1.
deck_pixels() {
    "$PROBE" count "$1" $(region 0 0.8 1 0.2) yellow
}

# The thread pulled: the upper part of the view is far from the view at the shot
# (07-locked-on) and has stopped moving (the launch wave that grows around the machine
# first is never still), with the ledge's yellow deck underfoot; at most a minute. A
# dragonfly caught on the way comes back as a ball over the machine, which changes the
# view as much, but leaves it on the floor.
wait_for_pull() {
    look
    cp "$LOOK" "$ARTEFACTS/before.bmp"
    local deadline=$((SECONDS + 60)) away moving off_deck=0
    while [ $SECONDS -lt $deadline ]; do
        sleep 1
        look
        away=$("$PROBE" diff "$LOOK" "$ARTEFACTS/07-locked-on.png" $(region 0 0 1 0.45))
        moving=$("$PROBE" diff "$LOOK" "$ARTEFACTS/before.bmp" $(region 0 0 1 0.6))
        if echo "$away $moving" | awk '{ exit !($1 > 15 && $2 < 1.0) }'; then
            [ "$(deck_pixels "$LOOK")" -gt 20000 ] && return 0
            # Still for three looks, away from the shot but off the deck: a ball came home.
            off_deck=$((off_deck + 1))
            [ "$off_deck" -ge 3 ] && return 1
        fi
        cp "$LOOK" "$ARTEFACTS/before.bmp"
    done
    return 1
}

# Lets the thread go at the anchor the marker is on, up to three shots, until it pulls the
# machine up; then the 09-pulled-up screenshot. A dragonfly that crosses the thread's path
# is caught instead and comes home as a ball: it is thrown away and the anchor aimed at
# again. The caller's device gives let_go_of_thread, throw_ball, aim_thread and
# step_back_into_line.
shoot_until_pulled() {
    local attempt
    for attempt in 1 2 3; do
        if [ "$attempt" -gt 1 ]; then
            echo "note: shot $((attempt - 1)) did not pull; throwing away what the thread brought back and aiming again"
            throw_ball
            sleep 3
            aim_thread
            step_back_into_line || { shot 09-lock-lost; fail "the anchor is no longer in line after a missed shot"; }
        fi
        let_go_of_thread
        shot 08-thread-out
        if wait_for_pull; then
            sleep 2
            shot 09-pulled-up
            return 0
        fi
    done
    shot 09-not-pulled
    fail "three shots did not pull the machine onto the ledge"
}
