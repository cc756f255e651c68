// The controls of velmora/Replay.h.
#include "Desktop.h"
#include "Win32Platform.h"
#include "velmora/Replay.h"

namespace velmora::replay {

namespace {

win32::Replay& replay() { return win32::Win32Platform::instance().replay; }

}  // namespace

void startRecording() { replay().startRecording(win32::desktop().now()); }

bool saveRecording(const std::string& path, std::string& problem) {
    if (replay().mode() != win32::Replay::Mode::Recording) {
        problem = "nothing was recorded";
        return false;
    }
    return replay().saveRecording(path, problem);
}

bool startRecording(const std::string& path, std::string& problem) {
    return replay().startRecording(win32::desktop().now(), path, problem);
}

bool finishRecording(std::string& problem) { return replay().finishRecording(problem); }

bool startReplay(const std::string& path, std::string& problem) {
    win32::ReplayFile file;
    if (!win32::ReplayFile::load(path, file, problem)) return false;
    replay().startPlaying(std::move(file));
    return true;
}

bool replayIsCut() { return replay().cut(); }

bool replayEnded() { return replay().ended(); }

unsigned long replayFrames() { return replay().frames(); }

}  // namespace velmora::replay
