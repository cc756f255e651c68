// Recording a play as the input the game read, and playing it back (see
// win32/Replay.h). Used by main (--record, --replay) and by the tools and tests; the game
// itself never includes this. Select the backend first.
#pragma once

#include <string>

namespace velmora::replay {

// From now on, keep what the game reads from the platform.
void startRecording();
// Writes what was kept so far to `path`; false with the reason in `problem`.
bool saveRecording(const std::string& path, std::string& problem);
// Checks the whole file; if it is good, the game's reads come from it from now on and
// true is returned, else nothing changes and `problem` says why it was refused.
bool startReplay(const std::string& path, std::string& problem);
// The replay has given its last frame (Escape now reads as down).
bool replayEnded();
// The input records in the file being replayed (the first is the one before frame 0).
unsigned long replayFrames();

}  // namespace velmora::replay
