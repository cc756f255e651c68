#include "Win32Platform.h"

#include <windows.h>

using velmora::win32::Win32Platform;

int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    Win32Platform& p = Win32Platform::instance();
    const velmora::win32::WindowRecord* owner = p.windows.find(hWnd);
    return p.messageBoxes.show(lpText, lpCaption, uType, [&p] { return p.videoAvailable() && p.video.showsOnScreen(); },
                               owner ? owner->sdl : nullptr);
}
