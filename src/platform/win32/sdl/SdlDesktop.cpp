#include "SdlDesktop.h"

#include "StopSignals.h"
#include "Utf8Locale.h"
#include "Win32Platform.h"
#include "menu/MenuScreen.h"
#include "velmora/Settings.h"

#include <SDL.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <thread>
#include <vector>

namespace velmora::win32 {

namespace {

Win32Platform& platform() { return Win32Platform::instance(); }

bool scancodeDown(SDL_Scancode code) {
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    return code > SDL_SCANCODE_UNKNOWN && code < count && state[code];
}

bool keycodeDown(SDL_Keycode key) { return scancodeDown(SDL_GetScancodeFromKey(key)); }

// A replay is only watched: its Escape stops it, as the game's Escape stops a play.
bool escapeOpensMenu() {
    return settings().escape == EscapeChoice::Menu && platform().replay.mode() != Replay::Mode::Playing;
}

bool mouseButtonDown(int sdlButton) { return (SDL_GetGlobalMouseState(nullptr, nullptr) & SDL_BUTTON(sdlButton)) != 0; }

SDL_Scancode scancodeOf(int virtualKey) {
    switch (virtualKey) {
        case VK_BACK: return SDL_SCANCODE_BACKSPACE;
        case VK_TAB: return SDL_SCANCODE_TAB;
        case VK_RETURN: return SDL_SCANCODE_RETURN;
        case VK_PAUSE: return SDL_SCANCODE_PAUSE;
        case VK_CAPITAL: return SDL_SCANCODE_CAPSLOCK;
        case VK_ESCAPE: return SDL_SCANCODE_ESCAPE;
        case VK_SPACE: return SDL_SCANCODE_SPACE;
        case VK_PRIOR: return SDL_SCANCODE_PAGEUP;
        case VK_NEXT: return SDL_SCANCODE_PAGEDOWN;
        case VK_END: return SDL_SCANCODE_END;
        case VK_HOME: return SDL_SCANCODE_HOME;
        case VK_LEFT: return SDL_SCANCODE_LEFT;
        case VK_UP: return SDL_SCANCODE_UP;
        case VK_RIGHT: return SDL_SCANCODE_RIGHT;
        case VK_DOWN: return SDL_SCANCODE_DOWN;
        case VK_INSERT: return SDL_SCANCODE_INSERT;
        case VK_DELETE: return SDL_SCANCODE_DELETE;
        case VK_LSHIFT: return SDL_SCANCODE_LSHIFT;
        case VK_RSHIFT: return SDL_SCANCODE_RSHIFT;
        case VK_LCONTROL: return SDL_SCANCODE_LCTRL;
        case VK_RCONTROL: return SDL_SCANCODE_RCTRL;
        case VK_LMENU: return SDL_SCANCODE_LALT;
        case VK_RMENU: return SDL_SCANCODE_RALT;
        case VK_NUMPAD0: return SDL_SCANCODE_KP_0;
        default: break;
    }
    if (virtualKey >= VK_NUMPAD1 && virtualKey <= VK_NUMPAD9)
        return static_cast<SDL_Scancode>(SDL_SCANCODE_KP_1 + (virtualKey - VK_NUMPAD1));
    if (virtualKey >= VK_F1 && virtualKey <= VK_F12)
        return static_cast<SDL_Scancode>(SDL_SCANCODE_F1 + (virtualKey - VK_F1));
    return SDL_SCANCODE_UNKNOWN;
}

void postClientSize(HWND window, WPARAM kind) {
    const WindowRecord* record = platform().windows.find(window);
    platform().post(window, WM_SIZE, kind,
                    MAKELONG(static_cast<WORD>(record->clientWidth()), static_cast<WORD>(record->clientHeight())));
}

// What the close box does, for a signal asking the game to end.
void closeGameWindow() {
    HWND window = platform().windows.lastCreated();
    if (platform().windows.find(window)) platform().post(window, WM_CLOSE, 0, 0);
}

void handleWindowEvent(const SDL_WindowEvent& event) {
    HWND window = platform().windows.findBySdlId(event.windowID);
    if (!window) return;
    switch (event.event) {
        case SDL_WINDOWEVENT_CLOSE:
            platform().post(window, WM_CLOSE, 0, 0);
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            if (platform().windows.resizedByUser(window, event.data1, event.data2)) {
                // A maximised window's new size comes this way too, in either order with MAXIMIZED.
                const bool maximized = SDL_GetWindowFlags(platform().windows.find(window)->sdl) & SDL_WINDOW_MAXIMIZED;
                postClientSize(window, maximized ? SIZE_MAXIMIZED : SIZE_RESTORED);
            }
            break;
        case SDL_WINDOWEVENT_MAXIMIZED:
            postClientSize(window, SIZE_MAXIMIZED);
            break;
        case SDL_WINDOWEVENT_RESTORED:
            postClientSize(window, SIZE_RESTORED);
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
            // An iconic window has no client area.
            platform().post(window, WM_SIZE, SIZE_MINIMIZED, 0);
            break;
        default:
            break;
    }
}

Uint32 sdlIconFlags(UINT type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONERROR: return SDL_MESSAGEBOX_ERROR;
        case MB_ICONWARNING: return SDL_MESSAGEBOX_WARNING;
        default: return SDL_MESSAGEBOX_INFORMATION;
    }
}

// Returns the answer, or 0 when SDL could not show the box.
int showSdlBox(const char* text, const char* caption, UINT type, const MessageBoxButtons& layout,
               SDL_Window* parent) {
    std::vector<SDL_MessageBoxButtonData> buttons;
    for (size_t i = 0; i < layout.buttons.size(); ++i) {
        Uint32 flags = 0;
        if (static_cast<int>(i) == layout.defaultIndex) flags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
        if (layout.buttons[i].answer == layout.escapeAnswer) flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
        buttons.push_back({flags, layout.buttons[i].answer, layout.buttons[i].label.c_str()});
    }
    SDL_MessageBoxData data{};
    data.flags = sdlIconFlags(type) | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
    data.window = parent;
    data.title = caption;
    data.message = text;
    data.numbuttons = static_cast<int>(buttons.size());
    data.buttons = buttons.data();

    useUtf8TextLocale();
    int pressed = -1;
    if (SDL_ShowMessageBox(&data, &pressed) != 0) return 0;
    // Closed through the window manager: what Escape would answer, or the default.
    if (pressed < 0) return layout.escapeAnswer ? layout.escapeAnswer : layout.defaultAnswer();
    return pressed;
}

ULONGLONG monotonicMs() {
    auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<ULONGLONG>(std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count());
}

void sleepReally(DWORD ms) {
    if (ms == 0) {
        std::this_thread::yield();  // Sleep(0) gives up the rest of the time slice
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace

bool SdlDesktop::startVideo() {
    const bool wasRunning = platform().video.running();
    if (!platform().video.start()) return false;
    if (!wasRunning) {
        // New video starts with the pointer free and no window of the game in front.
        cursorHidden_ = anyWindow_ = focused_ = false;
        motionX_ = motionY_ = 0.0;
        gamepads_.start();
    }
    return true;
}

bool SdlDesktop::gameHasFocus() const {
    return SDL_GetKeyboardFocus() != nullptr || !platform().video.showsOnScreen();
}

bool SdlDesktop::followFocus() {
    if (gameHasFocus() != focused_) {
        applyCursorMode(cursorHidden_, anyWindow_);
        int dropX = 0, dropY = 0;
        takeMouseMotion(dropX, dropY);
        motionX_ = motionY_ = 0.0;
    }
    return focused_;
}

void SdlDesktop::pumpEvents() {
    if (!platform().video.running()) return;
    if (StopSignals::takeRequest()) closeGameWindow();
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_WINDOWEVENT) handleWindowEvent(event.window);
        gamepads_.handleEvent(event);
        noteInput(event);
        if (SdlVideo::isFullScreenToggle(event))
            platform().windows.toggleFullScreen(platform().windows.findBySdlId(event.key.windowID));
        const bool escape = event.type == SDL_KEYDOWN && !event.key.repeat &&
                            event.key.keysym.scancode == SDL_SCANCODE_ESCAPE && escapeOpensMenu();
        const bool start = event.type == SDL_CONTROLLERBUTTONDOWN && event.cbutton.button == SDL_CONTROLLER_BUTTON_START;
        // What follows in the queue (keys typed fast after Escape) is the menu's.
        if (escape || start) {
            menuAsked_ = true;
            break;
        }
    }
    followFocus();
}

bool SdlDesktop::keyDown(int virtualKey) {
    if (virtualKey == VK_ESCAPE && menu_.quitChosen()) return true;
    if (!platform().video.running()) return false;
    SDL_PumpEvents();  // the state of the keys now, not as of the last message poll
    // A click or a pad in use while another program is in front is not the game's.
    if (!followFocus()) return false;
    if (virtualKey == VK_ESCAPE && escapeOpensMenu()) return false;
    if (gamepads_.keyDown(virtualKey)) return true;
    const KeyBindings& keys = settings().keys;
    switch (virtualKey) {
        case VK_LBUTTON:
            return mouseButtonDown(SDL_BUTTON_LEFT) || scancodeDown(SDL_Scancode(keys.scancode(KeyAction::Thread)));
        case VK_RBUTTON: return mouseButtonDown(SDL_BUTTON_RIGHT);
        case VK_MBUTTON: return mouseButtonDown(SDL_BUTTON_MIDDLE);
        case VK_XBUTTON1: return mouseButtonDown(SDL_BUTTON_X1);
        case VK_XBUTTON2: return mouseButtonDown(SDL_BUTTON_X2);
        case VK_SHIFT: return scancodeDown(SDL_SCANCODE_LSHIFT) || scancodeDown(SDL_SCANCODE_RSHIFT);
        case VK_CONTROL: return scancodeDown(SDL_SCANCODE_LCTRL) || scancodeDown(SDL_SCANCODE_RCTRL);
        case VK_MENU: return scancodeDown(SDL_SCANCODE_LALT) || scancodeDown(SDL_SCANCODE_RALT);
        default: break;
    }
    for (int action = 0; action < kKeyActionCount; ++action)
        if (virtualKey == KeyBindings::virtualKey(KeyAction(action)))
            return scancodeDown(SDL_Scancode(keys.scancode(KeyAction(action))));
    // Other letter and digit keys are named by the character they type in the current layout.
    if (virtualKey >= 'A' && virtualKey <= 'Z') return keycodeDown(SDLK_a + (virtualKey - 'A'));
    if (virtualKey >= '0' && virtualKey <= '9') return keycodeDown(SDLK_0 + (virtualKey - '0'));
    return scancodeDown(scancodeOf(virtualKey));
}

void SdlDesktop::takeMotion(int& dx, int& dy) {
    if (!platform().video.running()) return;
    SDL_PumpEvents();
    const bool focused = followFocus();  // first: a change of focus drops the motion before it
    int mouseX = 0, mouseY = 0;
    takeMouseMotion(mouseX, mouseY);
    double padX = 0.0, padY = 0.0;
    gamepads_.takeMotion(padX, padY);  // also while away, so that its clock stays current
    if (!focused) return;

    const Settings& tuning = settings();
    motionX_ += mouseX * tuning.mouseSpeed + padX;
    motionY_ += (mouseY * tuning.mouseSpeed + padY) * (tuning.invertY ? -1.0 : 1.0);
    dx = static_cast<int>(motionX_);
    dy = static_cast<int>(motionY_);
    motionX_ -= dx;
    motionY_ -= dy;
}

void SdlDesktop::applyCursorMode(bool cursorHidden, bool anyWindow) {
    cursorHidden_ = cursorHidden;
    anyWindow_ = anyWindow;
    focused_ = gameHasFocus();
    // Away from the game the pointer is the player's: free and never held by the window.
    platform().video.applyCursorMode(cursorHidden, anyWindow && focused_);
}

int SdlDesktop::askPlayer(const char* text, const char* caption, UINT type, const MessageBoxButtons& layout,
                          SDL_Window* parent) {
    if (startVideo() && platform().video.showsOnScreen()) {
        if (int answer = showSdlBox(text, caption, type, layout, parent)) return answer;
    }
    std::fprintf(stderr, "%s%s%s\n", caption, caption[0] ? ": " : "", text);
    return layout.defaultAnswer();
}

void SdlDesktop::useSoundControls(std::function<void(bool)> pause, std::function<void()> applyVolume) {
    pauseSound_ = std::move(pause);
    applyVolume_ = std::move(applyVolume);
}

void SdlDesktop::runPauseMenu(menu::MenuScreen& screen) {
    menuAsked_ = false;
    menu_.open(quitOffered());
    if (!settingsKept()) menu_.warnSettingsNotKept();
    menu_.inputUsed(lastInput_);
    if (pauseSound_) pauseSound_(true);
    platform().video.applyCursorMode(false, false);
    screen.keepFrame();
    stickX_ = stickY_ = 0;
    pointerAtOpen_ = {-1, -1};
    pointerMoved_ = false;
    pressY_ = -1;
    // Drawn again only after an event: a still menu redrawn sixty times a second keeps a
    // phone's browser busy compositing frames it has already shown.
    bool redraw = true;
    while (menu_.isOpen()) {
        if (StopSignals::takeRequest()) {
            closeGameWindow();
            menu_.close();
            break;
        }
        SDL_Event event;
        while (menu_.isOpen() && SDL_PollEvent(&event)) {
            handleMenuEvent(event, screen);
            redraw = true;
        }
        const std::string change = menu_.takeChange();
        if (!change.empty()) settingsSaved();
        applyChange(change);
        if (!menu_.isOpen()) break;
        if (redraw) screen.show(menu_);
        redraw = false;
        sleep(16);
    }
    screen.restoreFrame();
    if (pauseSound_) pauseSound_(false);
    // Back to the game as it was: its cursor mode, and no motion made in the menu.
    applyCursorMode(cursorHidden_, anyWindow_);
    int dropX = 0, dropY = 0;
    takeMouseMotion(dropX, dropY);
    double padX = 0.0, padY = 0.0;
    gamepads_.takeMotion(padX, padY);
    motionX_ = motionY_ = 0.0;
}

void SdlDesktop::handleMenuEvent(const SDL_Event& event, menu::MenuScreen& screen) {
    using menu::PauseMenu;
    using Command = PauseMenu::Command;
    gamepads_.handleEvent(event);
    noteInput(event);
    menu_.inputUsed(lastInput_);
    switch (event.type) {
        case SDL_WINDOWEVENT:
            handleWindowEvent(event.window);
            // Closing the window closes the game: it sees WM_CLOSE once it runs again.
            if (event.window.event == SDL_WINDOWEVENT_CLOSE) menu_.close();
            break;
        case SDL_KEYDOWN: {
            if (SdlVideo::isFullScreenToggle(event)) {
                platform().windows.toggleFullScreen(platform().windows.findBySdlId(event.key.windowID));
                break;
            }
            // One step a press: a key held down (or a slow machine's late release) repeats.
            if (event.key.repeat) break;
            const SDL_Scancode code = event.key.keysym.scancode;
            // Escape cancels the wait for a key, as Back.
            if (menu_.page() == PauseMenu::Page::PressKey && code != SDL_SCANCODE_ESCAPE) {
                menu_.keyPressed(code);
                break;
            }
            if (code == SDL_SCANCODE_UP) menu_.command(Command::Up);
            if (code == SDL_SCANCODE_DOWN) menu_.command(Command::Down);
            if (code == SDL_SCANCODE_LEFT) menu_.command(Command::Left);
            if (code == SDL_SCANCODE_RIGHT) menu_.command(Command::Right);
            if (code == SDL_SCANCODE_RETURN || code == SDL_SCANCODE_KP_ENTER || code == SDL_SCANCODE_SPACE)
                menu_.command(Command::Accept);
            if (code == SDL_SCANCODE_ESCAPE) menu_.command(Command::Back);
            break;
        }
        case SDL_MOUSEMOTION:
            // Freeing the pointer puts it back (in full screen, in the middle): only the
            // player's own move away from there hovers, so that the keys start from Resume.
            if (!pointerMoved_ && pointerAtOpen_.x < 0) pointerAtOpen_ = {event.motion.x, event.motion.y};
            pointerMoved_ = pointerMoved_ || std::abs(event.motion.x - pointerAtOpen_.x) + std::abs(event.motion.y - pointerAtOpen_.y) > 8;
            // A finger's jitter is not yet a drag; lines that do not all fit then follow it.
            if (pressY_ >= 0 && (dragged_ || std::abs(event.motion.y - pressY_) > 12))
                dragged_ = screen.drag(menu_, dragged_ ? event.motion.yrel : event.motion.y - pressY_);
            if (pointerMoved_) menu_.hover(screen.lineAt(menu_, event.motion.x, event.motion.y));
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (event.button.button == SDL_BUTTON_LEFT) {
                pressY_ = event.button.y;
                dragged_ = false;
            }
            break;
        // A click and the pad's A take effect when let go: still held, they would reach the
        // game as its own button (a click on the title, a thread) once the menu closes.
        case SDL_MOUSEBUTTONUP:
            if (event.button.button != SDL_BUTTON_LEFT) break;
            if (!dragged_) menu_.click(screen.lineAt(menu_, event.button.x, event.button.y));
            pressY_ = -1;
            dragged_ = false;
            break;
        case SDL_CONTROLLERBUTTONUP:
            if (event.cbutton.button == SDL_CONTROLLER_BUTTON_A) menu_.command(Command::Accept);
            break;
        case SDL_CONTROLLERBUTTONDOWN:
            switch (event.cbutton.button) {
                case SDL_CONTROLLER_BUTTON_DPAD_UP: menu_.command(Command::Up); break;
                case SDL_CONTROLLER_BUTTON_DPAD_DOWN: menu_.command(Command::Down); break;
                case SDL_CONTROLLER_BUTTON_DPAD_LEFT: menu_.command(Command::Left); break;
                case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: menu_.command(Command::Right); break;
                case SDL_CONTROLLER_BUTTON_B: menu_.command(Command::Back); break;
                case SDL_CONTROLLER_BUTTON_START: menu_.close(); break;
                default: break;
            }
            break;
        case SDL_CONTROLLERAXISMOTION: stickCommand(event.caxis); break;
        default: break;
    }
}

// SDL presses its own mouse for a finger too (a tap is a click): that one is touch.
void SdlDesktop::noteInput(const SDL_Event& event) {
    using Input = menu::PauseMenu::Input;
    switch (event.type) {
        case SDL_KEYDOWN: lastInput_ = Input::Keys; break;
        case SDL_MOUSEMOTION: lastInput_ = event.motion.which == SDL_TOUCH_MOUSEID ? Input::Touch : Input::Keys; break;
        case SDL_MOUSEBUTTONDOWN: lastInput_ = event.button.which == SDL_TOUCH_MOUSEID ? Input::Touch : Input::Keys; break;
        case SDL_FINGERDOWN:
        case SDL_FINGERMOTION:
        case SDL_FINGERUP: lastInput_ = Input::Touch; break;
        case SDL_CONTROLLERBUTTONDOWN: lastInput_ = Input::Pad; break;
        // A stick resting a little off centre is no use of the pad.
        case SDL_CONTROLLERAXISMOTION:
            if (std::abs(event.caxis.value) > kStickHalfWay) lastInput_ = Input::Pad;
            break;
        default: break;
    }
}

void SdlDesktop::stickCommand(const SDL_ControllerAxisEvent& axis) {
    using Command = menu::PauseMenu::Command;
    const int direction = axis.value > kStickHalfWay ? 1 : axis.value < -kStickHalfWay ? -1 : 0;
    if (axis.axis == SDL_CONTROLLER_AXIS_LEFTX) {
        if (direction != 0 && direction != stickX_) menu_.command(direction > 0 ? Command::Right : Command::Left);
        stickX_ = direction;
    } else if (axis.axis == SDL_CONTROLLER_AXIS_LEFTY) {
        if (direction != 0 && direction != stickY_) menu_.command(direction > 0 ? Command::Down : Command::Up);
        stickY_ = direction;
    }
}

void SdlDesktop::applyChange(const std::string& setting) {
    if (setting == "full_screen")
        platform().windows.setFullScreen(platform().windows.lastCreated(), settings().fullScreen == FullScreenChoice::Yes);
    if (setting == "volume" && applyVolume_) applyVolume_();
}

std::string SdlDesktop::keyLabel(int scancode) {
    const char* name = SDL_GetKeyName(SDL_GetKeyFromScancode(static_cast<SDL_Scancode>(scancode)));
    return name[0] ? name : KeyBindings::name(scancode);
}

void SdlDesktop::takeMouseMotion(int& dx, int& dy) { SDL_GetRelativeMouseState(&dx, &dy); }

DWORD SdlDesktop::now() { return static_cast<DWORD>(monotonicMs()); }

void SdlDesktop::sleep(DWORD ms) { sleepReally(ms); }

}  // namespace velmora::win32
