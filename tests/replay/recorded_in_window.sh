#!/bin/bash
# A play recorded in a real window with real input (xdotool) replays headless to the same
# state digests, frame for frame, and in a window to the same last image; the game itself
# plays the recording back and stops at its end, refuses a cut one, and records a play of
# its own.
# usage: recorded_in_window.sh VELMORA VELMORA_REPLAY RUN_DIR ARTEFACTS   (exit 77: no display)
set -u
GAME="$1" REPLAY="$2" RUN_DIR="$3" ARTEFACTS="$4"
[ -n "${DISPLAY:-}" ] || { echo "no X display: skipped"; exit 77; }
mkdir -p "$ARTEFACTS" && cd "$RUN_DIR" || exit 1
export LC_ALL=C.UTF-8

fail() { echo "FAILED: $*"; exit 1; }

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

# 1. Record: through the title into the play, walk, turn, shoot the thread, quit.
"$REPLAY" --record "$ARTEFACTS/play.vrp" --save-digests "$ARTEFACTS/play.digests" \
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
hold Escape 0.4
wait $RECORDER || fail "the recording run failed"
cat "$ARTEFACTS/record.out"

# 2. Headless, as fast as it goes: the same digest at every frame.
"$REPLAY" "$ARTEFACTS/play.vrp" --expect "$ARTEFACTS/play.digests" 2>/dev/null | tail -n 1
[ "${PIPESTATUS[0]}" = 0 ] || fail "the headless replay parted from the recording"

# 3. In a window: the same digests and the same last image.
"$REPLAY" "$ARTEFACTS/play.vrp" --window --expect "$ARTEFACTS/play.digests" \
    --screenshot "$ARTEFACTS/replayed.png" 2>/dev/null | tail -n 1
[ "${PIPESTATUS[0]}" = 0 ] || fail "the replay in a window parted from the recording"
cmp -s "$ARTEFACTS/recorded.png" "$ARTEFACTS/replayed.png" || fail "the last image differs from the recording's"
echo "ok: the last image replayed in a window is the recording's"

# 4. The game plays it back by itself and stops at its end; a cut file is refused.
timeout 120 "$GAME" --replay "$ARTEFACTS/play.vrp" >/dev/null 2>&1 || fail "velmora --replay did not end on its own"
echo "ok: velmora --replay ended with the recording"
head -c 40 "$ARTEFACTS/play.vrp" >"$ARTEFACTS/cut.vrp"
timeout 60 "$GAME" --replay "$ARTEFACTS/cut.vrp" 2>"$ARTEFACTS/cut.err" >/dev/null
status=$?
grep -q "truncated" "$ARTEFACTS/cut.err" && [ $status = 1 ] || fail "a cut file was not refused (status $status)"
echo "ok: $(grep truncated "$ARTEFACTS/cut.err")"

# 5. The game records too: a short play quit at the title replays headless to its end.
"$GAME" --windowed --record "$ARTEFACTS/game.vrp" >/dev/null 2>&1 &
RECORDER=$!
game_window
xdotool windowfocus "$WINDOW"
sleep 2
hold Escape 0.4
wait $RECORDER || fail "velmora --record failed"
"$REPLAY" "$ARTEFACTS/game.vrp" 2>/dev/null | tail -n 1
[ "${PIPESTATUS[0]}" = 0 ] || fail "the game's own recording did not replay"
