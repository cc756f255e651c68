// A game pad for scripts, preloaded into the real game (LD_PRELOAD): once the game has
// started SDL's game controllers, a virtual one is plugged in and driven by the lines a
// script writes to the pipe named in VELMORA_TEST_PAD:
//   set AXIS SHARE     leftx lefty rightx righty (-1 to 1), lefttrigger righttrigger (0 to 1)
//   press BUTTON / release BUTTON     a b x y back start up down left right (the d-pad)
//   wait MS            the next line waits that long, so that holds are timed here
// The game itself is unchanged: it finds the pad as a player's.
#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

int axisNamed(const std::string& name) {
    const char* names[] = {"leftx", "lefty", "rightx", "righty", "lefttrigger", "righttrigger"};
    for (int i = 0; i < 6; ++i)
        if (name == names[i]) return i;
    return -1;
}

int buttonNamed(const std::string& name) {
    if (name == "a") return SDL_CONTROLLER_BUTTON_A;
    if (name == "b") return SDL_CONTROLLER_BUTTON_B;
    if (name == "x") return SDL_CONTROLLER_BUTTON_X;
    if (name == "y") return SDL_CONTROLLER_BUTTON_Y;
    if (name == "back") return SDL_CONTROLLER_BUTTON_BACK;
    if (name == "start") return SDL_CONTROLLER_BUTTON_START;
    if (name == "up") return SDL_CONTROLLER_BUTTON_DPAD_UP;
    if (name == "down") return SDL_CONTROLLER_BUTTON_DPAD_DOWN;
    if (name == "left") return SDL_CONTROLLER_BUTTON_DPAD_LEFT;
    if (name == "right") return SDL_CONTROLLER_BUTTON_DPAD_RIGHT;
    return -1;
}

void setAxis(SDL_Joystick* pad, int axis, double share) {
    // A trigger's raw axis spans the whole range from released to fully pulled.
    bool trigger = axis >= SDL_CONTROLLER_AXIS_TRIGGERLEFT;
    double raw = trigger ? share * 65535.0 - 32768.0 : share * 32767.0;
    SDL_JoystickSetVirtualAxis(pad, axis, static_cast<Sint16>(raw));
}

void drive(const std::string& pipePath) {
    while (!SDL_WasInit(SDL_INIT_GAMECONTROLLER)) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    int index = SDL_JoystickAttachVirtualEx(&desc);
    SDL_Joystick* pad = SDL_JoystickOpen(index);
    if (!pad) {
        std::fprintf(stderr, "virtual pad: %s\n", SDL_GetError());
        return;
    }
    setAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERLEFT, 0.0);
    setAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 0.0);

    // Read and write: the pipe never reaches its end between two of the script's writes.
    std::FILE* commands = fdopen(open(pipePath.c_str(), O_RDWR), "r");
    char line[256];
    while (commands && std::fgets(line, sizeof line, commands)) {
        char verb[32] = "", name[32] = "";
        double value = 0.0;
        int fields = std::sscanf(line, "%31s %31s %lf", verb, name, &value);
        std::string what = verb;
        if (what == "wait" && fields >= 2) {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(name)));
        } else if (what == "set" && fields == 3 && axisNamed(name) >= 0) {
            setAxis(pad, axisNamed(name), value);
        } else if ((what == "press" || what == "release") && buttonNamed(name) >= 0) {
            SDL_JoystickSetVirtualButton(pad, buttonNamed(name), what == "press");
        } else {
            std::fprintf(stderr, "virtual pad: cannot follow '%s'\n", line);
        }
    }
}

struct StartWithTheGame {
    StartWithTheGame() {
        const char* pipePath = std::getenv("VELMORA_TEST_PAD");
        if (pipePath) std::thread(drive, std::string(pipePath)).detach();
    }
} startWithTheGame;

}  // namespace
