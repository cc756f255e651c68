#!/bin/bash
# Compiles every game source (everything under src/ except src/platform) with the
# 64-bit mingw-w64 cross compiler (the shipped zip is x86-64) against its own Windows SDK
# headers, without warnings, so that the game stays real Win32 / Direct3D 9 / DirectSound
# code and never leans on the Linux platform layer.
# Exit 77 (skipped) only when the cross compiler is not installed.
set -u
root="$1"
compiler="${MINGW_CXX:-x86_64-w64-mingw32-g++}"

if ! command -v "$compiler" >/dev/null 2>&1; then
    echo "SKIPPED: $compiler is not installed; the game sources were not checked against mingw-w64's headers."
    exit 77
fi

includes=()
for folder in app render scene world player enemy sound; do
    includes+=("-I$root/src/$folder")
done

mapfile -t sources < <(find "$root/src" -path "$root/src/platform" -prune -o -name '*.cpp' -print | sort)
if [ "${#sources[@]}" -eq 0 ]; then
    echo "no game sources found under $root/src"
    exit 1
fi

failed=0
for source in "${sources[@]}"; do
    if ! output=$("$compiler" -std=c++17 -Wall -Werror -fsyntax-only "${includes[@]}" "$source" 2>&1); then
        echo "FAILED: ${source#$root/}"
        echo "$output" | head -n 40
        failed=$((failed + 1))
    fi
done

echo "checked ${#sources[@]} game sources with $compiler: $failed failed"
[ "$failed" -eq 0 ]
