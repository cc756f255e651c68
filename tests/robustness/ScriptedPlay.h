// Whole plays from the game's entry point with scripted input, watched frame by frame
// for positions and view matrices that stop being numbers.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace robustness {

// Puts the headless window system, sound and draw log back to a fresh start.
void resetHeadlessPlatform();

// What a play through WinMain left behind.
struct PlayOutcome {
    int exitCode = -1;
    int framesRun = 0;
    bool reachedPlay = false;  // the game scene was entered at some frame
    int firstNonFiniteFrame = -1;
    std::string nonFiniteWhat;
};

// Runs WinMain on the current backend, answering No to the display question and OK to
// any other box; `input` sets each frame's keys and mouse, and Escape is pressed once
// `frames` frames have run.
PlayOutcome playThroughWinMain(int frames, DWORD clockStart, const std::function<void(int)>& input);

// A fixed play: the title is clicked away, then the spider walks a W/A/S/D circuit,
// turns with the mouse and shoots with the left button.
void scriptedPlayInput(int frame);

// Objects of one kind in the current scene.
int objectsOfKind(int kind);

}  // namespace robustness
