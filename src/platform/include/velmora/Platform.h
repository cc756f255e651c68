// Choosing the backend of the platform layer, and what program entry asks of it before the
// game starts. The game itself never calls this: program entry picks the real backend,
// tests and tools pick the headless one.
#pragma once

#include <string>

namespace velmora {

enum class Backend {
    Real,      // SDL2 window and input, OpenGL 3.3 drawing, OpenAL sound
    Headless,  // no window, no GL, no audio output; virtual clock and scripted input
};

// Must be called before the game makes any call into the platform layer; tests may
// switch between backends, between one game object and the next. The real backend also
// makes the text locale a UTF-8 one (message boxes show the game's Japanese texts).
void selectBackend(Backend backend);

// For a display whose graphics are too old to draw the game, what the player is told;
// empty when they can draw it or when there is no display.
std::string missingGraphics();

// The answer the game's next message box gets without asking, as a remembered choice
// (the start-up question's); further calls answer the boxes after it, in order.
void answerNextMessageBox(int answer);

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
