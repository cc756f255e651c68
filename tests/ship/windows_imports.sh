#!/bin/bash
# The Windows zip is self-contained: velmora.exe and every DLL in the zip import, through
# each other, only DLLs that are in the zip or that Windows 10 itself provides. Prints
# each file's import list. Argument: the zip (default build-windows/Velmora-windows-x64.zip).
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
zip=${1:-$root/build-windows/Velmora-windows-x64.zip}
fail() { echo "FAILED: $*"; exit 1; }
[ -f "$zip" ] || fail "no $zip: run scripts/windows.sh first"
objdump=x86_64-w64-mingw32-objdump

# Part of every Windows 10 (x64) installation; D3DX (d3dx9_*) and the Visual C++ and
# mingw runtimes are not.
windows_dlls=" kernel32.dll user32.dll gdi32.dll opengl32.dll winmm.dll imm32.dll ole32.dll oleaut32.dll
 shell32.dll advapi32.dll version.dll setupapi.dll cfgmgr32.dll dinput8.dll xinput1_4.dll hid.dll msvcrt.dll
 shlwapi.dll comdlg32.dll dwmapi.dll uxtheme.dll ws2_32.dll avrt.dll ksuser.dll dsound.dll ntdll.dll
 bcrypt.dll dbghelp.dll "

windows_dlls=" $(echo $windows_dlls) "
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
unzip -q "$zip" -d "$folder" || fail "cannot unzip $zip"
game=$(dirname "$(find "$folder" -iname velmora.exe | head -n 1)")
[ -f "$game/velmora.exe" ] || fail "the zip has no velmora.exe"

# Walks the imports from velmora.exe; a DLL in the zip is followed into its own imports.
checked=" "
pending="velmora.exe"
while [ -n "$pending" ]; do
    set -- $pending
    file=$1
    shift
    pending="$*"
    checked="$checked$file "
    headers=$("$objdump" -p "$game/$file") || fail "$file is not a PE file"
    echo "$headers" | grep -q "file format pei-x86-64" || fail "$file is not a 64-bit Windows file"
    imports=$(echo "$headers" | awk '/DLL Name:/ {print $3}')
    echo "$file imports: $(echo $imports)"
    for dll in $imports; do
        name=$(echo "$dll" | tr 'A-Z' 'a-z')
        shipped=$(cd "$game" && ls | grep -ixF "$dll")
        if [ -n "$shipped" ]; then
            case "$checked $pending " in *" $shipped "*) ;; *) pending="$pending $shipped" ;; esac
        elif [[ "$windows_dlls" != *" $name "* && "$name" != api-ms-win-crt-*.dll ]]; then
            fail "$file needs $dll, which is neither in the zip nor part of Windows"
        fi
    done
done
for dll in $(cd "$game" && ls | grep -i '\.dll$'); do
    [[ "$checked" == *" $dll "* ]] || fail "the zip carries $dll, which nothing imports"
done
echo "ok: every import is in the zip or in Windows 10 ($(du -h "$zip" | cut -f1) zip)"
echo "PASSED"
