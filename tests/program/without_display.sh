#!/bin/bash
# With no display at all the game cannot make its device: it must say so on standard
# error (no box can be shown) and end with exit code 0, without hanging; the player's
# own locale chooses the words (English, or the game's Japanese).
set -u
binary="$1"
run_dir="$2"
cd "$run_dir" || exit 1

errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
for case in "C.UTF-8|velmora: no display|Direct3D initialization error" \
            "ja_JP.UTF-8|velmora: ディスプレイ|Direct3D初期化ミス"; do
    IFS='|' read -r locale platform_words game_words <<<"$case"
    env -u DISPLAY -u WAYLAND_DISPLAY -u LC_MESSAGES -u LANG LC_ALL="$locale" timeout -s KILL 30 "$binary" \
        2>"$errors" >/dev/null
    status=$?
    cat "$errors"

    if [ "$status" -ne 0 ]; then
        echo "FAILED: exit code $status, expected 0"
        exit 1
    fi
    if ! grep -q "$game_words" "$errors" || ! grep -q "$platform_words" "$errors"; then
        echo "FAILED: in $locale, the start-up failure was not reported on standard error in its words"
        exit 1
    fi
done
echo "PASSED: exit 0 with the start-up failure on standard error, in English and in Japanese"
