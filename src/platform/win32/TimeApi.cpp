// winmm's timer and kernel32's Sleep.
#include "Win32Platform.h"

#include <windows.h>
#include <mmsystem.h>

using velmora::win32::Win32Platform;

DWORD WINAPI timeGetTime() { return Win32Platform::instance().clock.now(); }

MMRESULT WINAPI timeBeginPeriod(UINT uPeriod) { return Win32Platform::instance().clock.beginPeriod(uPeriod); }

MMRESULT WINAPI timeEndPeriod(UINT uPeriod) { return Win32Platform::instance().clock.endPeriod(uPeriod); }

void WINAPI Sleep(DWORD dwMilliseconds) { Win32Platform::instance().clock.sleep(dwMilliseconds); }
