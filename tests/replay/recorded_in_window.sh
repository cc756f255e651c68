#!/bin/bash
# A play recorded in a real window with real input (xdotool) replays headless to the same
# state digests, frame for frame, and in a window to the same last image; the game itself
# plays the recording back and stops at its end, refuses a cut one, and records a play of
# its own.
# usage: recorded_in_window.sh VELMORA VELMORA_REPLAY RUN_DIR ARTEFACTS SHOT_PROBE   (exit 77: no display)
set -u
GAME="$1" REPLAY="$2" RUN_DIR="$3" ARTEFACTS="$4" PROBE="$5"
[ -n "${DISPLAY:-}" ] || { echo "no X display: skipped"; exit 77; }
mkdir -p "$ARTEFACTS" && cd "$RUN_DIR" || exit 1
export LC_ALL=C.UTF-8

source "$(dirname "$0")/../ship/lib.sh"

game_window() {
    for _ in $(seq 300); do
        WINDOW=$(xwininfo -root -tree 2>/dev/null | grep -F '"Velmora":' | awk '{print $1}' | head -n 1)
        [ -n "$WINDOW" ] && xwininfo -id "$WINDOW" | grep -q IsViewable && return 0
        sleep 0.1
    done
    fail "no game window within 30 s"
}

hold() {  # a key or the button (1) for a while: a tap shorter than a frame is missed
    if [ "$1" = 1 ]; then xdotool mousedown 1; sleep "$2"; xdotool mouseup 1
    else xdotool keydown "$1"; sleep "$2"; xdotool keyup "$1"; fi
}

# 1. Record: through the title into the play, walk, turn, shoot the thread, pause, quit.
# A line of digest a frame, as it is played.
stdbuf -oL "$REPLAY" --record "$ARTEFACTS/play.vrp" --every-frame --save-digests "$ARTEFACTS/play.digests" \
    --screenshot "$ARTEFACTS/recorded.png" >"$ARTEFACTS/record.out" 2>/dev/null &
RECORDER=$!
trap 'kill -KILL $RECORDER 2>/dev/null' EXIT
game_window
xdotool windowfocus "$WINDOW" mousemove --window "$WINDOW" 640 360
sleep 2
hold 1 0.4
sleep 25  # the title fades out for 128 frames
xdotool keydown w mousemove_relative -- 120 -40
sleep 2
hold 1 1
xdotool keyup w mousemove_relative -- -200 0
sleep 1
# Escape opens the menu: for 2 s no frame runs and the state's digest stays; Resume goes on.
xdotool key Escape
sleep 0.5
paused=$(tail -n 1 "$ARTEFACTS/record.out")
sleep 2
[ "$(tail -n 1 "$ARTEFACTS/record.out")" = "$paused" ] || fail "the play ran on with the menu open"
xdotool key Return
sleep 1
[ "$(tail -n 1 "$ARTEFACTS/record.out")" != "$paused" ] || fail "the play did not go on after Resume"
echo "ok: the menu held the play at \"$paused\" for 2 s; Resume went on"
xdotool key Escape
sleep 0.5
choose_quit_in_menu
wait $RECORDER || fail "the recording run failed"
tail -n 1 "$ARTEFACTS/record.out"

# 2. Headless, as fast as it goes: the same digest at every frame.
"$REPLAY" "$ARTEFACTS/play.vrp" --expect "$ARTEFACTS/play.digests" 2>/dev/null | tail -n 1
[ "${PIPESTATUS[0]}" = 0 ] || fail "the headless replay parted from the recording"

# 3. In a window: the same digests and the same last image.
"$REPLAY" "$ARTEFACTS/play.vrp" --window --expect "$ARTEFACTS/play.digests" \
    --screenshot "$ARTEFACTS/replayed.png" 2>/dev/null | tail -n 1
[ "${PIPESTATUS[0]}" = 0 ] || fail "the replay in a window parted from the recording"
cmp -s "$ARTEFACTS/recorded.png" "$ARTEFACTS/replayed.png" || fail "the last image differs from the recording's"
echo "ok: the last image replayed in a window is the recording's"

# 4. The game plays it back by itself and stops at its end; a file cut in its header is
# refused, one cut in its frames plays up to there and says so.
timeout 120 "$GAME" --replay "$ARTEFACTS/play.vrp" >/dev/null 2>&1 || fail "velmora --replay did not end on its own"
echo "ok: velmora --replay ended with the recording"
head -c 14 "$ARTEFACTS/play.vrp" >"$ARTEFACTS/cut.vrp"
timeout 60 "$GAME" --replay "$ARTEFACTS/cut.vrp" 2>"$ARTEFACTS/cut.err" >/dev/null
status=$?
grep -q "truncated" "$ARTEFACTS/cut.err" && [ $status = 1 ] || fail "a file cut in its header was not refused (status $status)"
echo "ok: $(grep truncated "$ARTEFACTS/cut.err")"
head -c 200 "$ARTEFACTS/play.vrp" >"$ARTEFACTS/cut.vrp"
timeout 60 "$GAME" --replay "$ARTEFACTS/cut.vrp" 2>"$ARTEFACTS/cut.err" >/dev/null || fail "a cut file did not play"
grep -q "cut short after" "$ARTEFACTS/cut.err" || fail "a cut file played without a word"
echo "ok: $(grep "cut short" "$ARTEFACTS/cut.err")"

# 5. The game records too: a short play quit at the title replays headless to its end.
# On the way the menu turns the volume down a step: the file says so, its own lines kept.
mkdir -p "$ARTEFACTS/config/velmora"
printf '# my own note\nmouse_speed = 1 # as I like it\n' >"$ARTEFACTS/config/velmora/settings.ini"
XDG_CONFIG_HOME="$ARTEFACTS/config" "$GAME" --windowed --record "$ARTEFACTS/game.vrp" >/dev/null 2>&1 &
RECORDER=$! GAME_PID=$!
find_game_window
xdotool windowfocus --sync "$GAME_WINDOW"
sleep 2
xdotool key Escape
wait_for_menu
for key in Down Return Left Escape Escape Escape; do xdotool key $key; sleep 0.3; done
wait_for_menu
choose_quit_in_menu
wait $RECORDER || fail "velmora --record failed"
[ "$(cat "$ARTEFACTS/config/velmora/settings.ini")" = "$(printf '# my own note\nmouse_speed = 1 # as I like it\nvolume = 90')" ] ||
    fail "the settings file after the menu: $(cat "$ARTEFACTS/config/velmora/settings.ini")"
echo "ok: the menu's volume is in the settings file, the player's lines kept"
"$REPLAY" "$ARTEFACTS/game.vrp" 2>/dev/null | tail -n 1
[ "${PIPESTATUS[0]}" = 0 ] || fail "the game's own recording did not replay"

# 6. Stopped from outside mid-play: SIGTERM ends it as the close box does, the recording
# whole; SIGKILL leaves every frame written but the one in progress. Each file replays
# headless to the recorded state at every frame it holds.
for signal in TERM KILL; do
    stdbuf -oL "$REPLAY" --record "$ARTEFACTS/$signal.vrp" --every-frame >"$ARTEFACTS/$signal.out" 2>/dev/null &
    RECORDER=$!
    game_window
    xdotool windowfocus "$WINDOW" mousemove --window "$WINDOW" 640 360
    sleep 2
    hold 1 0.4
    sleep 3
    kill -$signal $RECORDER
    wait $RECORDER
    status=$?
    "$REPLAY" "$ARTEFACTS/$signal.vrp" --every-frame >"$ARTEFACTS/$signal.replayed" 2>/dev/null || fail "the $signal recording did not replay"
    recorded=$(grep -c '^frame ' "$ARTEFACTS/$signal.out")
    replayed=$(grep -c '^frame ' "$ARTEFACTS/$signal.replayed")
    cmp -s <(grep '^frame ' "$ARTEFACTS/$signal.replayed") <(grep '^frame ' "$ARTEFACTS/$signal.out" | head -n "$replayed") ||
        fail "the $signal recording parted from its play"
    if [ $signal = TERM ]; then
        [ $status = 0 ] && [ "$replayed" = "$recorded" ] && ! grep -q "cut short" "$ARTEFACTS/$signal.replayed" ||
            fail "SIGTERM: status $status, $replayed of $recorded frames replayed"
    else
        [ "$replayed" -ge $((recorded - 1)) ] && [ "$recorded" -gt 100 ] && grep -q "cut short" "$ARTEFACTS/$signal.replayed" ||
            fail "SIGKILL: $replayed of $recorded frames replayed"
    fi
    echo "ok: SIG$signal mid-play: $replayed of $recorded frames replayed to the recorded states"
done
echo "PASSED"
