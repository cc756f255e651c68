#!/bin/bash
# A play replays to the same states on Linux, on Windows (under Wine) and in the browser's
# engine (node), and on 64-bit Arm Linux under qemu-user once scripts/arm64.sh has built it:
# every regression play in plays/ reaches its digests with each build's velmora_replay, and
# the play windows_under_wine.sh recorded with velmora.exe --record replays on all of them to
# the same states, frame for frame. Before that, the game's executables on Linux take rand,
# srand and the float sine, cosine, tangent and arc cosine from none of the system's
# libraries, and lend them to none.
# Run after scripts/build.sh, scripts/web.sh, scripts/windows.sh and windows_under_wine.sh
# (and scripts/arm64.sh).
set -u
source "$(dirname "$0")/../ship/lib.sh"
root=$(cd "$(dirname "$0")/../.." && pwd)
plays=$root/tests/replay/plays
linux_game=$root/build/game
linux_replay=$root/build/tools/replay/velmora_replay
windows_game=$root/build-windows/Velmora
windows_replay=$root/build-windows/velmora_replay.exe
web=$root/build-web
arm64_game=$root/build-arm64/obj/game
arm64_replay=$root/build-arm64/velmora_replay
arm64=
[ -f "$arm64_replay" ] && arm64=$arm64_replay
recorded_under_wine=$root/build-windows/screens/windows_under_wine/recorded.vrp
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
for file in "$linux_replay" "$windows_replay" "$web/velmora_replay.js" "$recorded_under_wine"; do
    [ -f "$file" ] || fail "no $file: run scripts/build.sh, scripts/web.sh, scripts/windows.sh and windows_under_wine.sh first"
done
export NODE_PATH=/usr/share/nodejs

for program in "$linux_game/velmora" "$linux_replay" $arm64; do
    # An nm that cannot read the file would find nothing: it must read it first.
    symbols=$(nm -D "$program") || fail "nm cannot read the dynamic symbols of $program"
    taken=$(echo "$symbols" | grep -wE 'rand|srand|sinf|cosf|tanf|acosf|sincosf')
    [ -z "$taken" ] || fail "$(basename "$program") trades these with the system's libraries: $taken"
done
echo "ok: the Linux executables keep rand, srand, sinf, cosf, tanf and acosf to themselves"

work=$(mktemp -d)
export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winealsa.drv,winepulse.drv,wineoss.drv="
"$wine" wineboot -i >/dev/null 2>&1 || fail "wineboot could not set up $WINEPREFIX"
trap '"$(dirname "$wine")/wineserver" -k 2>/dev/null; rm -rf "$work"' EXIT

# Replays FILE with each platform's tool (further arguments go to all of them, paths
# absolute) and checks that all ended in the same state.
replay_everywhere() {
    local name=$1
    shift
    (cd "$linux_game" && "$linux_replay" "$@") >"$work/$name.linux" 2>&1 || { cat "$work/$name.linux"; fail "$name on Linux"; }
    (cd "$windows_game" && "$wine" "$windows_replay" "$@") 2>&1 | tr -d '\r' >"$work/$name.windows"
    [ "${PIPESTATUS[0]}" -eq 0 ] || { cat "$work/$name.windows"; fail "$name under Wine"; }
    (cd "$web" && node velmora_replay.js "$@") >"$work/$name.web" 2>&1 || { cat "$work/$name.web"; fail "$name under node"; }
    local linux windows browser on_arm64
    linux=$(grep '^frames' "$work/$name.linux")
    windows=$(grep '^frames' "$work/$name.windows")
    browser=$(grep '^frames' "$work/$name.web")
    on_arm64=$linux
    if [ -n "$arm64" ]; then
        (cd "$arm64_game" && qemu-aarch64 "$arm64" "$@") >"$work/$name.arm64" 2>&1 || { cat "$work/$name.arm64"; fail "$name on arm64"; }
        on_arm64=$(grep '^frames' "$work/$name.arm64")
    fi
    [ "$linux" = "$windows" ] && [ "$linux" = "$browser" ] && [ "$linux" = "$on_arm64" ] ||
        fail "$name: Linux '$linux', Windows '$windows', browser '$browser', arm64 '$on_arm64'"
    echo "ok: $name on Linux, Windows${arm64:+, arm64} and in the browser: $linux"
}

for play in "$plays"/*.vrp; do
    name=$(basename "$play" .vrp)
    replay_everywhere "$name" "$play" --expect "$plays/$name.digests"
done

# Windows made it; Linux's replay keeps every frame's state for the other two to meet.
(cd "$linux_game" && "$linux_replay" "$recorded_under_wine" --save-digests "$work/wine.digests") >/dev/null ||
    fail "the play recorded under Wine does not replay on Linux"
replay_everywhere recorded-under-wine "$recorded_under_wine" --expect "$work/wine.digests"
echo "PASSED"
