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

void Replay::frameStarting() {
    switch (mode_) {
        case Mode::Off: return;
        case Mode::Recording:
            codec_.write(frame_, file_.body);
            ++file_.frames;
            frame_.clear();
            keysRead_.reset();
            return;
        case Mode::Playing:
            // The file was checked whole when it was loaded; only its end stops the play.
            if (ended_ || framesPlayed_ == file_.frames ||
                !codec_.read(playAt_, file_.body.data() + file_.body.size(), frame_)) {
                ended_ = true;
                frame_.clear();
            } else {
                ++framesPlayed_;
            }
            nextTime_ = nextCursor_ = nextAnswer_ = 0;
            return;
    }
}

}  // namespace velmora::win32
