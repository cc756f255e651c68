#include "Replay.h"

namespace velmora::win32 {

void Replay::startRecording(DWORD clockNow) {
    mode_ = Mode::Recording;
    file_ = ReplayFile{};
    file_.clockStart = clockNow;
    codec_ = FrameCodec(clockNow);
    frame_.clear();
    keysRead_.reset();
}

bool Replay::saveRecording(const std::string& path, std::string& problem) const {
    // The frame in progress (with the read of Escape that ended the play) is the last.
    ReplayFile file = file_;
    FrameCodec codec = codec_;
    codec.write(frame_, file.body);
    ++file.frames;
    return file.save(path, problem);
}

void Replay::startPlaying(ReplayFile file) {
    mode_ = Mode::Playing;
    file_ = std::move(file);
    codec_ = FrameCodec(file_.clockStart);
    playAt_ = file_.body.data();
    framesPlayed_ = 0;
    ended_ = false;
    frameStarting();
}

bool Replay::frameStarting() {
    switch (mode_) {
        case Mode::Off: return true;
        case Mode::Recording:
            codec_.write(frame_, file_.body);
            ++file_.frames;
            frame_.clear();
            keysRead_.reset();
            return true;
        case Mode::Playing: {
            nextTime_ = nextCursor_ = nextAnswer_ = 0;
            // The file was checked whole when it was loaded; only its end stops the play.
            const bool runsOut = !ended_ && (framesPlayed_ == file_.frames ||
                                             !codec_.read(playAt_, file_.body.data() + file_.body.size(), frame_));
            if (!runsOut && !ended_) {
                ++framesPlayed_;
                return true;
            }
            ended_ = true;
            frame_.clear();
            return !runsOut;
        }
    }
    return true;
}

}  // namespace velmora::win32
