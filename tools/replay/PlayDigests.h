// The state digest of a play at the start of every frame (StateDigest), and where two
// plays part. Kept beside a recorded play as its expected states: the final digest whole,
// and the low 32 bits of the running digest at each frame, enough to name the first frame
// whose state differs.
#pragma once

#include <functional>
#include <string>
#include <vector>

class PlayDigests {
public:
    // Runs the game's WinMain on the selected backend, taking the digest at every frame
    // start; then `script` (if any) sees the running digest and scripts the frame's input,
    // as velmora::headless::onFrame does.
    static PlayDigests ofWinMain(const std::function<void(int frame, unsigned long long running)>& script = {});

    int frames() const { return static_cast<int>(running_.size()); }
    // The running digest at frame `frame`'s start (only its low 32 bits when loaded).
    unsigned long long at(int frame) const { return running_[static_cast<size_t>(frame)]; }
    unsigned long long final() const { return final_; }

    // -1 when the plays match, else the first frame whose state differs (or where one play
    // ended and the other went on).
    int firstDifference(const PlayDigests& expected) const;

    bool save(const std::string& path) const;
    static bool load(const std::string& path, PlayDigests& digests);

private:
    std::vector<unsigned long long> running_;
    unsigned long long final_ = 0;
};
