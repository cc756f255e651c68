#include "PageDesktop.h"

#include "MessageBoxButtons.h"

#include <SDL.h>
#include <emscripten.h>
#include <string>
#include <vector>

namespace velmora::win32 {

namespace {

// The labels come one a line, the answers as an array of ints.
EM_ASYNC_JS(int, askPage, (const char* caption, const char* text, const char* labels, const int* answers, int count), {
    var names = UTF8ToString(labels).split('\n');
    var buttons = [];
    for (var i = 0; i < count; ++i) buttons.push({label: names[i], answer: HEAP32[(answers >> 2) + i]});
    return await Module.askPlayer(UTF8ToString(caption), UTF8ToString(text), buttons);
});

// Counted from the first call on, over the canvas or while it holds the pointer (the events
// then go to it); the whole pixels are taken, the fractions kept for later.
EM_JS(void, takePointerMovement, (int* dx, int* dy), {
    if (!Module.pointerMovement) {
        Module.pointerMovement = {x: 0, y: 0};
        Module.canvas.addEventListener('mousemove', function(event) {
            Module.pointerMovement.x += event.movementX;
            Module.pointerMovement.y += event.movementY;
        });
    }
    var moved = Module.pointerMovement;
    var x = Math.trunc(moved.x), y = Math.trunc(moved.y);
    moved.x -= x;
    moved.y -= y;
    HEAP32[dx >> 2] = x;
    HEAP32[dy >> 2] = y;
});

// Whether the canvas lost the captured pointer (the browser's Escape, or another window)
// since the last click on it or the last forget; watched from the first call on.
EM_JS(int, pointerFreedByBrowser, (int forget), {
    if (Module.pointerFreed === undefined) {
        Module.pointerFreed = false;
        var held = false;
        document.addEventListener('pointerlockchange', function() {
            var holds = document.pointerLockElement === Module.canvas;
            if (held && !holds) Module.pointerFreed = true;
            held = holds;
        });
        Module.canvas.addEventListener('mousedown', function() { Module.pointerFreed = false; });
    }
    if (forget) Module.pointerFreed = false;
    return Module.pointerFreed ? 1 : 0;
});

}  // namespace

bool PageDesktop::keyDown(int virtualKey) { return virtualKey != VK_ESCAPE && SdlDesktop::keyDown(virtualKey); }

int PageDesktop::askPlayer(const char* text, const char* caption, UINT type, const MessageBoxButtons& layout,
                           SDL_Window* parent) {
    if (layout.buttons.empty()) return SdlDesktop::askPlayer(text, caption, type, layout, parent);
    std::string labels;
    std::vector<int> answers;
    for (const MessageBoxButton& button : layout.buttons) {
        labels += button.label;
        labels += '\n';
        answers.push_back(button.answer);
    }
    return askPage(caption, text, labels.c_str(), answers.data(), static_cast<int>(answers.size()));
}

void PageDesktop::sleep(DWORD ms) { emscripten_sleep(ms); }

void PageDesktop::applyCursorMode(bool cursorHidden, bool anyWindow) {
    const bool wanted = cursorHidden && anyWindow;
    if (wanted && !wantsPointer_) pointerFreedByBrowser(1);
    wantsPointer_ = wanted;
    SdlDesktop::applyCursorMode(cursorHidden, anyWindow);
}

bool PageDesktop::pauseMenuAsked() const { return menuAsked_ || (wantsPointer_ && pointerFreedByBrowser(0)); }

void PageDesktop::runPauseMenu(menu::MenuScreen& screen) {
    // The menu frees the pointer itself, and the browser reports that later as a freeing;
    // the game's wish for the pointer starts anew when the menu closes.
    wantsPointer_ = false;
    SdlDesktop::runPauseMenu(screen);
}

bool PageDesktop::gameHasFocus() const {
    return SdlDesktop::gameHasFocus() && !(wantsPointer_ && pointerFreedByBrowser(0));
}

void PageDesktop::takeMouseMotion(int& dx, int& dy) {
    SDL_GetRelativeMouseState(nullptr, nullptr);  // SDL's own count is not used, only emptied
    takePointerMovement(&dx, &dy);
}

}  // namespace velmora::win32
