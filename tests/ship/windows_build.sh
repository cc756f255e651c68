#!/bin/bash
# The Windows build: configures windows/ with the mingw-w64 toolchain file, builds
# velmora.exe, checks that it is a 32-bit GUI program importing Direct3D 9, D3DX9 42,
# DirectSound and winmm (and no mingw runtime DLL), and packages it with the generated
# data, the HLSL model shader and a README with the controls. Skipped (77) without the cross compiler.
set -u
cmake_command="$1"
source_dir="$2"
data_dir="$3"
build_dir="$4"
fail() { echo "FAILED: $*"; exit 1; }

if ! command -v i686-w64-mingw32-g++ >/dev/null 2>&1; then
    echo "SKIPPED: i686-w64-mingw32-g++ is not installed (scripts/setup.sh installs it)"
    exit 77
fi
objdump=i686-w64-mingw32-objdump
command -v "$objdump" >/dev/null 2>&1 || objdump=objdump

"$cmake_command" -S "$source_dir/windows" -B "$build_dir" \
      -DCMAKE_TOOLCHAIN_FILE="$source_dir/windows/toolchain-i686-w64-mingw32.cmake" \
      -DVELMORA_DATA_DIR="$data_dir" >"$build_dir.configure.log" 2>&1 \
    || { cat "$build_dir.configure.log"; fail "configuring windows/ failed"; }
"$cmake_command" --build "$build_dir" --target velmora_package -j2 >"$build_dir.build.log" 2>&1 \
    || { tail -n 60 "$build_dir.build.log"; fail "building velmora.exe failed"; }
if grep -q "warning:" "$build_dir.build.log"; then
    grep "warning:" "$build_dir.build.log" | head -n 20
    fail "the game sources build with warnings under mingw-w64"
fi

exe="$build_dir/velmora.exe"
[ -f "$exe" ] || fail "no velmora.exe"
headers=$("$objdump" -p "$exe")
echo "$headers" | grep -q "file format pei-i386" && echo "$headers" | grep -qE "^Magic[[:space:]]+010b[[:space:]]+\(PE32\)" \
    || fail "velmora.exe is not a PE32 program for 32-bit x86"
echo "$headers" | grep -qE "^Subsystem[[:space:]]+0*2[[:space:]]" || fail "velmora.exe is not a GUI (windows subsystem) program"
imports=$(echo "$headers" | awk '/DLL Name:/ {print tolower($3)}' | sort -u | tr '\n' ' ')
echo "velmora.exe imports: $imports"
for dll in d3d9.dll d3dx9_42.dll dsound.dll winmm.dll ole32.dll user32.dll gdi32.dll kernel32.dll; do
    case " $imports " in *" $dll "*) ;; *) fail "velmora.exe does not import $dll" ;; esac
done
for dll in $imports; do
    case "$dll" in libstdc++*|libgcc*|libwinpthread*) fail "velmora.exe needs the mingw runtime DLL $dll" ;; esac
done
echo "ok: PE32 i386 GUI program importing Direct3D 9, D3DX9 42, DirectSound and winmm"

# Top-level resource types: 3 icon images, 14 the icon group Explorer shows, 24 the manifest.
resource_types=$(echo "$headers" | sed -n '/The .rsrc Resource Directory section/,/Resources start/p' \
    | awk '/^0[0-9a-f][0-9a-f]   Entry: ID:/ {print $4}' | tr -d ',' | tr '\n' ' ')
for type in 0x000003 0x00000e 0x000018; do
    case " $resource_types " in *" $type "*) ;; *) fail "velmora.exe lacks resource type $type (has: $resource_types)" ;; esac
done
echo "ok: velmora.exe carries its icon and manifest"

package="$build_dir/Velmora"
[ -f "$package/velmora.exe" ] || fail "the package has no velmora.exe"
[ -f "$package/data/Field/SubField2.x" ] || fail "the package has no data"
shipped=$(cd "$package" && find data -type f | wc -l)
generated=$(cd "$data_dir/.." && find data -type f | wc -l)
[ "$shipped" -eq "$generated" ] || fail "$shipped data files packaged, $generated generated"
shader="$package/Shader/Sample.fx"
[ -f "$shader" ] || fail "the package has no Shader/Sample.fx"
grep -q "^technique Tech" "$shader" || fail "Shader/Sample.fx has no technique Tech"
grep -qE "compile vs_[23]_0" "$shader" && grep -qE "compile ps_[23]_0" "$shader" \
    || fail "Shader/Sample.fx does not compile its pass for shader model 2 or 3"
for parameter in "float4x4 mW" "float4x4 mV" "float4x4 mP" "float3 LightDir" "float4 LightColor" \
                 "float4 LightAmbient" "float4 LightSpecular" "float3 CamPos" "float4 MateDiffuse" \
                 "float4 MateSpecular" "float MateSpePower" "texture MateDiffuseTex"; do
    grep -q "^$parameter;" "$shader" || fail "Shader/Sample.fx does not declare $parameter"
done
if grep -q "@technique\|#version\|gl_Position" "$shader"; then fail "the package carries the GLSL effect"; fi
zip="$build_dir/Velmora-win32.zip"
[ -f "$zip" ] || fail "no Velmora-win32.zip"
listing=$("$cmake_command" -E tar tf "$zip")
for entry in Velmora/velmora.exe Velmora/Shader/Sample.fx Velmora/data/Field/SubField2.x Velmora/README.txt; do
    echo "$listing" | grep -qx "$entry" || fail "the zip lacks $entry"
done
for control in "mouse" "left button" "W A S D" "Escape"; do
    grep -qF "$control" "$build_dir/Velmora/README.txt" || fail "README.txt beside velmora.exe does not explain '$control'"
done
echo "ok: package with velmora.exe, $shipped data files and the HLSL Shader/Sample.fx; $(du -h "$zip" | cut -f1) zip"
echo "PASSED"
