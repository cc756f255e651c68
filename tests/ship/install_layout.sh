#!/bin/bash
# Installs the build into a fresh prefix (with a space in its path, as a user's folder
# may have) and checks what a player gets: the game with its data and shader in one
# folder, a launcher on bin/, a real icon and a desktop entry that starts the launcher.
# Then starts the installed game through the launcher, from another folder and through
# a symbolic link, with no display: it must say why it cannot start and exit 0.
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

game_dir="$prefix/lib/velmora"
[ -x "$game_dir/velmora" ] || fail "no executable game at lib/velmora/velmora"
[ -f "$game_dir/data/Field/SubField2.x" ] || fail "the arena mesh is not installed beside the game"
[ -f "$game_dir/data/Texture/Title.png" ] || fail "the title picture is not installed beside the game"
ls "$game_dir"/data/Sound/BGM/*.wav >/dev/null 2>&1 || fail "no music installed"
cmp -s "$build_dir/game/Shader/Sample.fx" "$game_dir/Shader/Sample.fx" || fail "Shader/Sample.fx is not the built one"
installed=$(cd "$game_dir" && find data -type f | wc -l)
built=$(cd "$build_dir/game" && find data -type f | wc -l)
[ "$installed" -eq "$built" ] || fail "$installed data files installed, $built generated"
if readelf -d "$game_dir/velmora" | grep -E 'RPATH|RUNPATH' | grep -qF "$build_dir"; then
    fail "the installed game still looks for libraries in the build tree"
fi
echo "ok: game, $installed data files and the shader under lib/velmora"

launcher="$prefix/bin/velmora"
[ -x "$launcher" ] || fail "no executable launcher at bin/velmora"
sh -n "$launcher" || fail "the launcher is not a valid shell script"

icon="$prefix/share/icons/hicolor/256x256/apps/velmora.png"
[ -f "$icon" ] || fail "no icon at share/icons/hicolor/256x256/apps/velmora.png"
read -r width height covered < <("$PROBE" size "$icon") || fail "the icon is not a readable picture"
[ "$width" = 256 ] && [ "$height" = 256 ] || fail "the icon is ${width}x${height}, expected 256x256"
[ "$covered" -gt $((256 * 256 * 3 / 4)) ] || fail "the icon is mostly transparent ($covered pixels drawn)"
read -r _ _ _ contrast colours < <("$PROBE" stats "$icon" 0 0 256 256)
echo "$contrast $colours" | awk '{ exit !($1 > 20 && $2 > 100) }' \
    || fail "the icon is too plain to be a picture (contrast $contrast, $colours colours)"
echo "ok: icon 256x256, $covered pixels drawn, $colours colours"

desktop="$prefix/share/applications/velmora.desktop"
[ -f "$desktop" ] || fail "no desktop entry at share/applications/velmora.desktop"
value() { sed -n "s/^$1=//p" "$desktop" | head -n 1; }
[ "$(head -n 1 "$desktop")" = "[Desktop Entry]" ] || fail "the desktop entry does not start with its group"
[ "$(value Type)" = Application ] || fail "desktop entry Type is '$(value Type)'"
[ "$(value Name)" = Velmora ] || fail "desktop entry Name is '$(value Name)'"
[ "$(value Icon)" = velmora ] || fail "desktop entry Icon is '$(value Icon)', the icon is installed as velmora"
[ "$(value Terminal)" = false ] || fail "the game should not start in a terminal"
# The prefix has a space: Exec must quote the launcher's path.
[ "$(value Exec)" = "\"$launcher\"" ] || fail "desktop entry Exec is '$(value Exec)', expected the quoted launcher"
if command -v desktop-file-validate >/dev/null 2>&1; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the entry"
fi
echo "ok: desktop entry starts $(value Exec)"

# No display: the start-up failure goes to standard error and the game exits 0. Run from
# elsewhere and through a link, as a menu or a PATH entry would.
ln -s "$launcher" "$work/velmora-link"
for start in "$launcher" "$work/velmora-link"; do
    (cd / && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER LC_ALL=C.UTF-8 \
        timeout -s KILL 30 "$start" 2>"$work/errors" >/dev/null)
    status=$?
    [ "$status" -eq 0 ] || { cat "$work/errors"; fail "$start without a display: exit code $status, expected 0"; }
    grep -q "Direct3D初期化ミス" "$work/errors" \
        || { cat "$work/errors"; fail "$start without a display did not report the start-up failure"; }
done
echo "ok: the installed game without a display reports the start-up failure and exits 0"
echo "PASSED"
