// The game made the way WinMain makes it: the application window, device and model
// shader, the scene manager, and a play started through a scene change. frame() runs one
// pass of the frame loop (update, Present, draw) without its pacing; on the headless
// backend it moves the virtual clock on by the frame's 16 ms.
//
// The real backend draws with OpenGL into an X window when DISPLAY is set, otherwise
// through SDL's offscreen driver; it runs without sound, as on a machine without a
// sound card.
#pragma once

#include <cstddef>
#include <vector>

#include <velmora/Platform.h>

#include "CharaBase.h"
#include "ObjectList.h"

namespace bench {

// Sets whether the headless device records draws for as long as it lives.
class DrawRecordingScope {
public:
    explicit DrawRecordingScope(bool on);
    ~DrawRecordingScope();
    DrawRecordingScope(const DrawRecordingScope&) = delete;
    DrawRecordingScope& operator=(const DrawRecordingScope&) = delete;

private:
    bool before_;
};

class PlaySession {
public:
    enum class Start { Title, Play };

    explicit PlaySession(velmora::Backend backend = velmora::Backend::Headless, Start start = Start::Play);
    ~PlaySession();
    PlaySession(const PlaySession&) = delete;
    PlaySession& operator=(const PlaySession&) = delete;

    // False when the window, device or the play's data could not be made (run the
    // benchmarks from the game's folder, with the generated data).
    bool ready() const { return ready_; }

    void frame();
    // True while the current scene is the play and it has not finished.
    bool playing() const;
    // Ends whatever runs and starts a fresh play, as a click on the title would.
    void restartPlay();

    ObjectList& objects();
    CharaBase* player();
    // Deletes the objects after the first `count`, as if they had never been appended.
    void trimObjects(std::size_t count);
    // Puts the player at a point and lets it stand there (it falls onto the ground).
    void placePlayer(float x, float y, float z);

private:
    velmora::Backend backend_;
    bool ready_ = false;
};

}  // namespace bench
