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
// The same kept in `path` as the play goes on, so that a game stopped any way leaves its
// frames there; false with the system's reason when the file cannot be made.
bool startRecording(const std::string& path, std::string& problem);
// Ends such a recording: its last frame and the file's end.
bool finishRecording(std::string& problem);
// Checks the whole file; if it is good, the game's reads come from it from now on and
// true is returned, else nothing changes and `problem` says why it was refused.
bool startReplay(const std::string& path, std::string& problem);
// The file being replayed lacks its end (the game recording it was stopped): it plays up
// to its last whole frame.
bool replayIsCut();
// The replay has given its last frame (Escape now reads as down).
bool replayEnded();
// The input records in the file being replayed (the first is the one before frame 0).
unsigned long replayFrames();

}  // namespace velmora::replay
