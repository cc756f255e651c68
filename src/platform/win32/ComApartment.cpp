// CoInitialize and CoUninitialize on the process's one apartment.
#include "Win32Platform.h"

#include <windows.h>

using velmora::win32::Win32Platform;

HRESULT WINAPI CoInitialize(LPVOID) { return Win32Platform::instance().com.initialize(); }

void WINAPI CoUninitialize() { Win32Platform::instance().com.uninitialize(); }
