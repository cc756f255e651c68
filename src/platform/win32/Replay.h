// Recording and replaying what the game reads from the platform. While recording, every
// key state GetAsyncKeyState returns, clock reading, cursor position and message box
// answer is kept, frame by frame; a key reads the same all frame long, as it will on
// replay. While replaying, those reads come from the file instead of the devices, except
// that the player's Escape still ends the play. Off, every read passes straight through.
//
// How a recorded play ended is in its last record: Escape read as down there, or the game
// quit by itself. Anything else that ended it came from outside the game's reads, after the
// last record: the window's close box. So a replay whose records have run out ends as that
// play did, with the window closed, rather than run a frame the recording never had; should
// the game go on regardless, Escape reads as down.
#pragma once

#include "FrameCodec.h"
#include "RecordingStream.h"
#include "ReplayFile.h"

#include <memory>
#include <string>

namespace velmora::win32 {

class Replay {
public:
    enum class Mode { Off, Recording, Playing };

    void startRecording(DWORD clockNow);
    // The same, each frame written to `path` as soon as it is complete.
    bool startRecording(DWORD clockNow, const std::string& path, std::string& problem);
    bool saveRecording(const std::string& path, std::string& problem) const;
    // The last frame and the end of the file being written.
    bool finishRecording(std::string& problem);
    bool cut() const { return file_.cut; }
    void startPlaying(ReplayFile file);
    Mode mode() const { return mode_; }
    bool ended() const { return ended_; }
    unsigned long frames() const { return file_.frames; }

    // The frame loop starts a frame: the last one's reads are done. False when a replay has
    // just run out of records: the play ends instead (its window is closed).
    bool frameStarting();

    template <class LiveRead>
    bool keyDown(int virtualKey, LiveRead liveDown) {
        const size_t key = static_cast<size_t>(virtualKey);
        switch (mode_) {
            case Mode::Off: return liveDown();
            case Mode::Recording:
                if (!keysRead_.test(key)) {
                    keysRead_.set(key);
                    frame_.keysDown.set(key, liveDown());
                }
                return frame_.keysDown.test(key);
            case Mode::Playing:
                if (virtualKey == VK_ESCAPE && (ended_ || liveDown())) return true;
                return !ended_ && frame_.keysDown.test(key);
        }
        return false;
    }

    template <class LiveRead>
    DWORD time(LiveRead liveTime) {
        return next(frame_.times, nextTime_, liveTime);
    }
    template <class LiveRead>
    POINT cursor(LiveRead liveCursor) {
        return next(frame_.cursors, nextCursor_, liveCursor);
    }
    template <class LiveRead>
    int answer(LiveRead liveAnswer) {
        return next(frame_.answers, nextAnswer_, liveAnswer);
    }

private:
    // Recording keeps the live value; playing gives the recorded one, or the live one
    // once a frame asks for more than its recording holds (the play has parted from it).
    template <class Value, class LiveRead>
    Value next(std::vector<Value>& values, size_t& nextIndex, LiveRead live) {
        if (mode_ == Mode::Playing && nextIndex < values.size()) return values[nextIndex++];
        Value value = live();
        if (mode_ == Mode::Recording) values.push_back(value);
        return value;
    }

    Mode mode_ = Mode::Off;
    ReplayFile file_;
    std::unique_ptr<RecordingStream> stream_;
    FrameCodec codec_{0};
    FrameInput frame_;
    std::bitset<FrameInput::kVirtualKeys> keysRead_;
    const unsigned char* playAt_ = nullptr;
    unsigned long framesPlayed_ = 0;
    size_t nextTime_ = 0, nextCursor_ = 0, nextAnswer_ = 0;
    bool ended_ = false;
};

}  // namespace velmora::win32
