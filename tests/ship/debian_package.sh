#!/bin/bash
# The Debian package, made from the build tree as it is: lintian finds no error, apt
# installs it, /usr/games/velmora started from /tmp with --windowed shows its title
# and ends with Escape (exit code 0), and removing the package leaves none of its files.
# Installs into the system, so it needs root and apt; skipped (77) otherwise.
set -u
source "$(dirname "$0")/lib.sh"
window_test_setup "$@" debian_package
if [ "$(id -u)" -ne 0 ] || ! command -v apt-get >/dev/null || ! command -v lintian >/dev/null; then
    echo "SKIPPED: needs root, apt-get and lintian"
    exit 77
fi
dpkg-query -W velmora >/dev/null 2>&1 && fail "a velmora package is already installed; this test would remove it"

work=$(mktemp -d)
apt_get() { DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=120 -y "$@"; }
cleanup() {
    stop_game
    dpkg-query -W velmora >/dev/null 2>&1 && apt_get purge velmora >/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

"$(dirname "$CMAKE_COMMAND")/cpack" -G DEB --config "$BUILD_DIR/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 \
    || { cat "$work/cpack.log"; fail "cpack could not make the package"; }
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$BUILD_DIR/CPackConfig.cmake")
package="$work/velmora_${version}_$(dpkg --print-architecture).deb"
[ -f "$package" ] || fail "no $(basename "$package") made (made: $(ls "$work"))"
echo "ok: made $(basename "$package"), Depends: $(dpkg-deb -f "$package" Depends)"

lintian --fail-on error "$package" >"$work/lintian.log" 2>&1 || { cat "$work/lintian.log"; fail "lintian reports errors"; }
echo "ok: lintian reports no error"

apt_get install "$package" >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; fail "apt cannot install the package"; }
# Its files (folders such as /usr/share/icons are shared with other packages).
dpkg-deb --fsys-tarfile "$package" | tar -t | grep -v '/$' | sed 's|^\./|/|' >"$work/files"
while read -r file; do [ -e "$file" ] || fail "$file is not installed"; done <"$work/files"
appstreamcli validate --no-net $(grep "/metainfo/" "$work/files") >"$work/appstream.log" 2>&1 \
    || { cat "$work/appstream.log"; fail "appstreamcli rejects the metainfo file"; }
echo "ok: apt installed its $(wc -l <"$work/files") files; the metainfo file validates"

cd /tmp || exit 1
start_game /usr/games/velmora --windowed --escape=quit
find_game_window
wait_for_title 60
shot installed-title
quit_with_escape

apt_get remove velmora >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; fail "apt cannot remove the package"; }
dpkg -s velmora 2>/dev/null | grep -q "^Status: install" && fail "dpkg still has velmora installed after removal"
left=""
while read -r file; do [ -e "$file" ] && left="$left $file"; done <"$work/files"
for folder in /usr/share/games/velmora /usr/share/doc/velmora; do [ -e "$folder" ] && left="$left $folder"; done
[ -z "$left" ] || fail "left after removal:$left"
echo "ok: removed, no file of the package left"
echo "PASSED"
