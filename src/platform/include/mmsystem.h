// The part of winmm the game uses: the millisecond timer and the multimedia file
// (mmio) functions that read RIFF files.
#pragma once

#include <windows.h>

typedef UINT MMRESULT;
#define TIMERR_NOERROR 0
#define TIMERR_NOCANDO 97

DWORD WINAPI timeGetTime();
MMRESULT WINAPI timeBeginPeriod(UINT uPeriod);
MMRESULT WINAPI timeEndPeriod(UINT uPeriod);
