// Choosing the backend of the platform layer. The game itself never calls this:
// program entry picks the real backend, tests and tools pick the headless one.
#pragma once

namespace velmora {

enum class Backend {
    Real,      // SDL2 window and input, OpenGL 3.3 drawing, OpenAL sound
    Headless,  // no window, no GL, no audio output; virtual clock and scripted input
};

// Must be called before the game makes any call into the platform layer; tests may
// switch between backends, between one game object and the next.
void selectBackend(Backend backend);

// The real backend refuses SDL's offscreen and dummy video drivers, so that a player
// without a display gets the start-up failure instead of an invisible game. Rendering
// tests that run without an X server lift that refusal here.
void allowOffscreenVideo(bool allow);
bool offscreenVideoAllowed();

// Tests and tools stand in for a slow machine: every Present then takes at least `ms` of
// the backend's clock (the virtual one headless); 0 is off.
void setPresentDuration(unsigned long ms);
unsigned long presentDuration();

}  // namespace velmora
