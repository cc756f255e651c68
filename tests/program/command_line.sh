#!/bin/bash
# The program's command line and its data search, without a display: --help (with the
# controls) and --version print and exit 0, an unknown option or an empty file or folder
# prints the usage on standard error and exits 2, and the man page names every option
# --help does. With no data anywhere, or a --data folder without it, the game names the
# places it tried and exits 1, even though its own folder holds data in the second case;
# so does a replay file named from a working folder that was deleted.
set -u
binary="$1"
run_dir="$2"
man_page="$3"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*"; [ -s "$work/err" ] && cat "$work/err"; exit 1; }
run() {
    env -u DISPLAY -u WAYLAND_DISPLAY LC_ALL=C.UTF-8 timeout -s KILL 30 "$@" >"$work/out" 2>"$work/err"
    status=$?
}

run "$binary" --help
[ "$status" -eq 0 ] || fail "--help: exit code $status"
for text in "Usage: velmora" "--windowed" "--fullscreen" "--data DIR" "--version" "Controls:" "W A S D" "Escape"; do
    grep -qF -- "$text" "$work/out" || fail "--help does not show '$text'"
done
[ -s "$work/err" ] && fail "--help wrote to standard error"
for option in $(grep -o -- '--[a-z-]*' "$work/out" | sort -u); do
    grep -qF -- "$(echo "$option" | sed 's/-/\\-/g')" "$man_page" || fail "the man page does not mention $option"
done
echo "ok: --help shows the options and the controls; the man page names every option"

run env LC_ALL=ja_JP.UTF-8 "$binary" --help
grep -qF "使い方: velmora" "$work/out" && grep -qF "操作:" "$work/out" && grep -qF -- "--language=V" "$work/out" \
    || fail "--help in a Japanese locale is not in Japanese"
echo "ok: --help in a Japanese locale is in Japanese"

run "$binary" --version
[ "$status" -eq 0 ] && grep -qE '^velmora [0-9]+\.[0-9]+' "$work/out" || fail "--version: exit code $status, '$(cat "$work/out")'"
echo "ok: --version prints $(cat "$work/out")"

run "$binary" --no-such-option
[ "$status" -eq 2 ] || fail "an unknown option: exit code $status, expected 2"
[ -s "$work/out" ] && fail "an unknown option wrote to standard output"
grep -qF -- "--no-such-option" "$work/err" && grep -qF "Usage: velmora" "$work/err" \
    || fail "an unknown option is not named with the usage on standard error"
echo "ok: an unknown option prints the usage on standard error and exits 2"

# An unset shell variable: an empty value is not the default.
for option in --record= --replay= --data=; do
    run "$binary" "$option"
    [ "$status" -eq 2 ] && grep -qE -- "^velmora: ${option%=} needs a (file|folder)" "$work/err" || fail "$option: exit code $status"
done
echo "ok: an empty --record=, --replay= or --data= is refused with the usage, exit 2"

# What the player typed reaches the terminal with its control characters escaped; a file
# that cannot be replayed is named once, with the system's reason.
cd "$run_dir" || exit 1
esc=$(printf '\033')
for typed in "--${esc}]0;t$(printf '\a')|unknown option '--\x1b]0;t\x07'" \
    "--replay|$work/${esc}[2J|velmora: cannot replay $work/\x1b[2J: No such file or directory"; do
    IFS='|' read -r -a words <<<"$typed"
    expected=${words[${#words[@]}-1]}
    run "$binary" "${words[@]:0:${#words[@]}-1}"
    grep -qF -- "$expected" "$work/err" && ! grep -q "$esc" "$work/err" || fail "${words[0]}: not '$expected'"
done
cd "$work" || exit 1
echo "ok: control characters typed are escaped; an unopenable replay is named once, with the system's reason"

# Started from a folder deleted under the shell: a file named from it cannot be found.
mkdir "$work/gone" && cd "$work/gone" && rmdir "$work/gone" || exit 1
for option in --record --replay; do
    run "$binary" "$option" play.vrp
    [ "$status" -eq 1 ] && grep -qF "cannot find play.vrp from the working folder" "$work/err" || fail "$option from a deleted folder: exit code $status"
done
cd "$work" || exit 1
echo "ok: --record or --replay from a deleted working folder says so and exits 1"

# The executable alone, started from an empty folder: no place holds data.
mkdir -p "$work/games" "$work/empty"
cp "$binary" "$work/games/velmora"
cd "$work/empty" || exit 1
run "$work/games/velmora" --windowed
[ "$status" -eq 1 ] || fail "no data anywhere: exit code $status, expected 1"
for place in "$work/empty" "$work/games" "$work/share/games/velmora"; do
    grep -qF "Velmora: " "$work/err" && grep -qxF "  $place" "$work/err" \
        || fail "no data anywhere: the box's text on standard error does not name $place"
done
echo "ok: no data anywhere names the working directory, the program's folder and the installed folder and exits 1"

cd "$run_dir" || exit 1
run "$binary" --data "$work/empty"
[ "$status" -eq 1 ] && grep -qxF "  $work/empty" "$work/err" || fail "--data without data: exit code $status"
grep -qxF "  $run_dir" "$work/err" && fail "--data without data fell back to other folders"
echo "ok: --data naming a folder without data exits 1 naming it alone"
echo "PASSED"
