#!/bin/bash
# Installs the build into a fresh prefix (with a space in its path, as a user's folder
# may have) and checks what a player gets: the game on games/, its data and shader in
# share/games/velmora, real icons in every size and a desktop entry that starts the game.
# Then starts the installed game from another folder and through a symbolic link, with
# no display: it must find its data, say why it cannot start and exit 0.
set -u
cmake_command="$1"
build_dir="$2"
PROBE="$3"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/velmora prefix"
fail() { echo "FAILED: $*"; exit 1; }

"$cmake_command" --install "$build_dir" --prefix "$prefix" >"$work/install.log" 2>&1 \
    || { cat "$work/install.log"; fail "cmake --install failed"; }

game="$prefix/games/velmora"
data_dir="$prefix/share/games/velmora"
[ -x "$game" ] || fail "no executable game at games/velmora"
[ -f "$data_dir/data/Field/SubField2.x" ] || fail "the arena mesh is not installed in share/games/velmora"
[ -f "$data_dir/data/Texture/Title.png" ] || fail "the title picture is not installed in share/games/velmora"
ls "$data_dir"/data/Sound/BGM/*.wav >/dev/null 2>&1 || fail "no music installed"
cmp -s "$build_dir/game/Shader/Sample.fx" "$data_dir/Shader/Sample.fx" || fail "Shader/Sample.fx is not the built one"
installed=$(cd "$data_dir" && find data -type f | wc -l)
built=$(cd "$build_dir/game" && find data -type f | wc -l)
[ "$installed" -eq "$built" ] || fail "$installed data files installed, $built generated"
if readelf -d "$game" | grep -E 'RPATH|RUNPATH' | grep -qF "$build_dir"; then
    fail "the installed game still looks for libraries in the build tree"
fi
[ -f "$prefix/share/man/man6/velmora.6.gz" ] || fail "no manual page at share/man/man6/velmora.6.gz"
echo "ok: game, $installed data files, the shader and the manual page"

for size in 16 24 32 48 64 128 256; do
    icon="$prefix/share/icons/hicolor/${size}x${size}/apps/velmora.png"
    [ -f "$icon" ] || fail "no icon at share/icons/hicolor/${size}x${size}/apps/velmora.png"
    read -r width height covered < <("$PROBE" size "$icon") || fail "the $size icon is not a readable picture"
    [ "$width" = "$size" ] && [ "$height" = "$size" ] || fail "the $size icon is ${width}x${height}"
    [ "$covered" -gt $((size * size / 2)) ] || fail "the $size icon is mostly transparent ($covered pixels drawn)"
done
read -r _ _ _ contrast colours < <("$PROBE" stats "$icon" 0 0 256 256)
echo "$contrast $colours" | awk '{ exit !($1 > 20 && $2 > 100) }' \
    || fail "the icon is too plain to be a picture (contrast $contrast, $colours colours)"
echo "ok: icons from 16 to 256 pixels, $colours colours in the largest"

desktop="$prefix/share/applications/velmora.desktop"
[ -f "$desktop" ] || fail "no desktop entry at share/applications/velmora.desktop"
value() { sed -n "s/^$1=//p" "$desktop" | head -n 1; }
[ "$(head -n 1 "$desktop")" = "[Desktop Entry]" ] || fail "the desktop entry does not start with its group"
[ "$(value Type)" = Application ] || fail "desktop entry Type is '$(value Type)'"
[ "$(value Name)" = Velmora ] || fail "desktop entry Name is '$(value Name)'"
[ "$(value Icon)" = velmora ] || fail "desktop entry Icon is '$(value Icon)', the icon is installed as velmora"
[ "$(value Terminal)" = false ] || fail "the game should not start in a terminal"
# The prefix has a space: Exec must quote the game's path.
[ "$(value Exec)" = "\"$game\"" ] || fail "desktop entry Exec is '$(value Exec)', expected the quoted game"
if command -v desktop-file-validate >/dev/null 2>&1; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the entry"
fi
echo "ok: desktop entry starts $(value Exec)"

# No display: the start-up failure goes to standard error and the game exits 0. Run from
# elsewhere and through a link, as a menu or a PATH entry would.
ln -s "$game" "$work/velmora-link"
for start in "$game" "$work/velmora-link"; do
    (cd / && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER LC_ALL=C.UTF-8 \
        timeout -s KILL 30 "$start" 2>"$work/errors" >/dev/null)
    status=$?
    [ "$status" -eq 0 ] || { cat "$work/errors"; fail "$start without a display: exit code $status, expected 0"; }
    grep -q "Direct3D initialization error" "$work/errors" \
        || { cat "$work/errors"; fail "$start without a display did not report the start-up failure"; }
done
echo "ok: the installed game without a display reports the start-up failure and exits 0"
echo "PASSED"
