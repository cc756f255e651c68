#include "PageDesktop.h"

#include "MessageBoxButtons.h"
#include "velmora/Settings.h"

#include <SDL.h>
#include <algorithm>
#include <emscripten.h>
#include <emscripten/html5.h>
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

// Whether the page was hidden (another tab, the phone locked) since the last forget; watched
// from the first call on. Hidden, the page is silent; shown again, the sounds the menu
// holds stay held.
EM_JS(int, pageWasHidden, (int forget), {
    if (Module.pageWasHidden === undefined) {
        document.addEventListener('visibilitychange', function() {
            var audio = AL.currentCtx && AL.currentCtx.audioCtx;
            if (document.hidden) Module.pageWasHidden = true;
            if (audio) document.hidden ? audio.suspend() : audio.resume();
        });
    }
    if (forget || Module.pageWasHidden === undefined) Module.pageWasHidden = false;
    return Module.pageWasHidden ? 1 : 0;
});

// Set by BrowserStorage.js once the browser's storage was asked for.
EM_JS(int, storageRefused, (), { return Module.storageRefused ? 1 : 0; });
EM_JS(void, copySettingsToStorage, (), { Module.copySettingsToStorage(); });

// The page's touch layer (#touch in index.html) over the canvas; circles as x, y and radius
// in CSS pixels of the canvas, a radius of 0 not drawn. Only a change is written to the page.
EM_JS(void, drawTouchControls, (int shown, double ringX, double ringY, double ringRadius, double knobX, double knobY,
                                double knobRadius, double threadX, double threadY, double threadRadius, int threadHeld,
                                double pauseX, double pauseY, double pauseRadius), {
    var circles = {ring: [ringX, ringY, ringRadius], knob: [knobX, knobY, knobRadius],
                   thread: [threadX, threadY, threadRadius], pause: [pauseX, pauseY, pauseRadius]};
    var state = JSON.stringify([shown, threadHeld, circles]);
    var layer = document.getElementById('touch');
    if (!layer || state === Module.touchDrawn) return;
    Module.touchDrawn = state;
    layer.style.display = shown ? 'block' : 'none';
    if (!shown) return;
    var box = Module.canvas.getBoundingClientRect();
    Object.assign(layer.style, {left: box.left + 'px', top: box.top + 'px', width: box.width + 'px', height: box.height + 'px'});
    for (var id in circles) {
        var element = document.getElementById(id), circle = circles[id];
        Object.assign(element.style, {display: circle[2] > 0 ? 'block' : 'none', left: (circle[0] - circle[2]) + 'px',
                                      top: (circle[1] - circle[2]) + 'px', width: 2 * circle[2] + 'px', height: 2 * circle[2] + 'px'});
    }
    document.getElementById('thread').className = threadHeld ? "held" : "";
});

void drawControls(const TouchControls& touch, bool shown) {
    const TouchControls::Circle ring = touch.stickRing(), knob = touch.stickKnob();
    const TouchControls::Circle thread = touch.threadButton(), pause = touch.pauseButton();
    drawTouchControls(shown, ring.x, ring.y, ring.radius, knob.x, knob.y, knob.radius, thread.x, thread.y, thread.radius,
                      touch.threadHeld(), pause.x, pause.y, pause.radius);
}

}  // namespace

bool PageDesktop::startVideo() {
    if (!SdlDesktop::startVideo()) return false;
    if (!watching_) SDL_AddEventWatch(&PageDesktop::watchEvent, this);
    watching_ = true;
    return true;
}

int PageDesktop::watchEvent(void* desktop, SDL_Event* event) {
    static_cast<PageDesktop*>(desktop)->watch(*event);
    return 0;
}

void PageDesktop::watch(const SDL_Event& event) {
    // Noted as it arrives too: a first touch read before the poll would be SDL's own left
    // button, a shot wherever the finger landed.
    noteInput(event);
    const bool finger = event.type == SDL_FINGERDOWN || event.type == SDL_FINGERMOTION || event.type == SDL_FINGERUP;
    // Fingers down before the play began (the tap on the title) are not the controls'.
    if (!finger || !inPlay()) return;
    double width = 0, height = 0;
    emscripten_get_element_css_size("#canvas", &width, &height);
    touch_.resize(width, height);
    const double x = event.tfinger.x * width, y = event.tfinger.y * height;
    if (event.type == SDL_FINGERDOWN) touch_.fingerDown(event.tfinger.fingerId, x, y);
    if (event.type == SDL_FINGERMOTION) touch_.fingerMove(event.tfinger.fingerId, x, y);
    if (event.type == SDL_FINGERUP) touch_.fingerUp(event.tfinger.fingerId);
}

void PageDesktop::pumpEvents() {
    pollsSinceLook_ = std::min(pollsSinceLook_ + 1, kPollsInAFrame + 1);
    SdlDesktop::pumpEvents();
    // Out of the play the touch controls hold nothing, and a page hidden has nothing to pause.
    if (!inPlay()) {
        touch_.releaseAll();
        pageWasHidden(1);
    }
    drawControls(touch_, touchInPlay());
}

void PageDesktop::takeMotion(int& dx, int& dy) {
    pollsSinceLook_ = 0;
    SdlDesktop::takeMotion(dx, dy);
}

bool PageDesktop::keyDown(int virtualKey) {
    if (virtualKey == VK_ESCAPE) return false;
    if (touchInPlay()) {
        if (touch_.holdsKey(virtualKey, settings().stickDeadZone)) return true;
        if (virtualKey == VK_LBUTTON) return false;
    }
    return SdlDesktop::keyDown(virtualKey);
}

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

bool PageDesktop::pauseMenuAsked() const {
    return menuAsked_ || touch_.pauseAsked() || (inPlay() && pageWasHidden(0)) ||
           (wantsPointer_ && pointerFreedByBrowser(0));
}

void PageDesktop::runPauseMenu(menu::MenuScreen& screen) {
    // The menu frees the pointer itself, and the browser reports that later as a freeing;
    // the game's wish for the pointer starts anew when the menu closes.
    wantsPointer_ = false;
    touch_.releaseAll();
    drawControls(touch_, false);
    pageWasHidden(1);
    SdlDesktop::runPauseMenu(screen);
    // Hidden while the menu was open, the page has shown its menu already.
    pageWasHidden(1);
}

bool PageDesktop::settingsKept() const { return !storageRefused(); }

void PageDesktop::settingsSaved() { copySettingsToStorage(); }

bool PageDesktop::gameHasFocus() const {
    return SdlDesktop::gameHasFocus() && !(wantsPointer_ && pointerFreedByBrowser(0));
}

void PageDesktop::takeMouseMotion(int& dx, int& dy) {
    SDL_GetRelativeMouseState(nullptr, nullptr);  // SDL's own count is not used, only emptied
    takePointerMovement(&dx, &dy);
    int lookX = 0, lookY = 0;
    touch_.takeLook(lookX, lookY);
    dx += lookX;
    dy += lookY;
}

}  // namespace velmora::win32
