// Program entry on Linux: what the Windows loader does before WinMain.
#include "win32/sdl/Utf8Locale.h"
#include "velmora/Platform.h"

#include <windows.h>

namespace {

// A distinct handle standing for the module; the game only passes it back to Windows.
HINSTANCE moduleInstance() {
    static char module;
    return reinterpret_cast<HINSTANCE>(&module);
}

}  // namespace

int main() {
    velmora::selectBackend(velmora::Backend::Real);
    velmora::win32::useUtf8TextLocale();
    char commandLine[] = "";
    return WinMain(moduleInstance(), nullptr, commandLine, SW_SHOWDEFAULT);
}
