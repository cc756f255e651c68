#!/bin/bash
# With no display at all the game cannot make its device: it must say so on standard
# error (no box can be shown) and end with exit code 0, without hanging.
set -u
binary="$1"
run_dir="$2"
cd "$run_dir" || exit 1

errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
env -u DISPLAY -u WAYLAND_DISPLAY LC_ALL=C.UTF-8 timeout -s KILL 30 "$binary" 2>"$errors" >/dev/null
status=$?
cat "$errors"

if [ "$status" -ne 0 ]; then
    echo "FAILED: exit code $status, expected 0"
    exit 1
fi
if ! grep -q "Direct3D初期化ミス" "$errors"; then
    echo "FAILED: the start-up failure was not reported on standard error"
    exit 1
fi
echo "PASSED: exit 0 with the start-up failure on standard error"
