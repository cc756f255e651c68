#include "Replay.h"

namespace velmora::win32 {

void Replay::startRecording(DWORD clockNow) {
    mode_ = Mode::Recording;
    file_ = ReplayFile{};
    file_.clockStart = clockNow;
    stream_.reset();
    codec_ = FrameCodec(clockNow);
    frame_.clear();
    keysRead_.reset();
}

bool Replay::startRecording(DWORD clockNow, const std::string& path, std::string& problem) {
    auto stream = std::make_unique<RecordingStream>();
    if (!stream->open(path, clockNow, problem)) return false;
    startRecording(clockNow);
    stream_ = std::move(stream);
    return true;
}

bool Replay::finishRecording(std::string& problem) {
    if (mode_ != Mode::Recording || !stream_) {
        problem = "nothing was recorded";
        return false;
    }
    // The frame in progress (with the read of Escape that ended the play) is the last.
    std::vector<unsigned char> last;
    codec_.write(frame_, last);
    stream_->writeFrame(last);
    const bool finished = stream_->finish(file_.frames + 1, problem);
    stream_.reset();
    mode_ = Mode::Off;
    return finished;
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
        case Mode::Recording: {
            std::vector<unsigned char> bytes;
            codec_.write(frame_, bytes);
            if (stream_) stream_->writeFrame(bytes);
            file_.body.insert(file_.body.end(), bytes.begin(), bytes.end());
            ++file_.frames;
            frame_.clear();
            keysRead_.reset();
            return true;
        }
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
