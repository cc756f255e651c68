#include "HeadlessDesktop.h"

#include "Win32Platform.h"

namespace velmora::win32 {

int HeadlessDesktop::askPlayer(const char*, const char*, UINT, const MessageBoxButtons& layout, SDL_Window*) {
    return layout.defaultAnswer();
}

DWORD HeadlessDesktop::now() { return Win32Platform::instance().clock.readVirtual(); }

void HeadlessDesktop::sleep(DWORD ms) { Win32Platform::instance().clock.advanceVirtual(ms); }

bool HeadlessDesktop::pauseMenuAsked() const { return Win32Platform::instance().clock.scriptedMenuMs > 0; }

void HeadlessDesktop::runPauseMenu(menu::MenuScreen&) {
    Clock& clock = Win32Platform::instance().clock;
    clock.advanceVirtual(clock.scriptedMenuMs);
    clock.scriptedMenuMs = 0;
}

}  // namespace velmora::win32
