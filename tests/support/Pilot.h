// A scripted player for the climb: it plays only through the game's input (mouse
// motion, the left button and the walking keys) and reads the object list the way a
// player reads the screen, to see where it stands and where the anchors are. It walks to
// the far area, then shoots the thread at each anchor of the route in turn: it waits
// until an anchor is within the thread's reach, turns the view onto it, holds the button
// until the lock-on marker sits on that anchor, releases, rides the pull and lands.
// A dragonfly that comes close while it stands is caught with the thread first, and a
// ball in hand is thrown away before the next hop (a shot with a ball throws it). A fall
// to the hall floor starts the climb again; a fall into the boss's wing ends it there.
#pragma once

#include <string>
#include <vector>

#include <windows.h>
#include <d3dx9.h>

class CharaBase;

namespace gametest {

struct RouteStep {
    enum Action { Walk, Shoot };
    // How a pull ends: on a ledge or a lift the pilot waits to stand before the next
    // shot; from a hook it aims at the next one while falling; a drop falls to the floor
    // below the last hook.
    enum Landing { Ledge, OnLift, Hook, Drop };

    Action action;
    const char* name;
    int anchorKind;    // KIND_ROPE or KIND_LIFT
    int anchorNumber;  // its rank among the objects of that kind
    Landing landing;
    float x, z;        // where a walk goes
};

// The route of the level design, from the hall floor to the boss's wing.
std::vector<RouteStep> climbRoute();

// What the pilot has learned of a lift by watching it: where it is, how it moved in the
// last frame and where it turned back so far, along each axis.
struct LiftWatch {
    D3DXVECTOR3 position{0, 0, 0};
    D3DXVECTOR3 step{0, 0, 0};
    float low[3] = {0, 0, 0};
    float high[3] = {0, 0, 0};
    bool lowSeen[3] = {false, false, false};
    bool highSeen[3] = {false, false, false};
    bool seen = false;

    void observe(const D3DXVECTOR3& now);
    // Where the lift will be after `frames` frames, turning where it has turned before.
    D3DXVECTOR3 predict(int frames) const;
};

class Pilot {
public:
    explicit Pilot(std::vector<RouteStep> route);

    // Scripts the input of one frame; called before the frame's update.
    void onFrame(int frame);

    bool done() const { return phase_ == Phase::Done || phase_ == Phase::Failed; }
    bool reachedBossRegion() const { return phase_ == Phase::Done; }
    const std::string& journal() const { return journal_; }
    int framesPlayed() const { return frame_; }
    int dragonfliesCaught() const { return fliesCaught_; }
    int ballsThrown() const { return ballsThrown_; }
    int restarts() const { return restarts_; }
    // The step the pilot is on and how many hops it has landed.
    size_t stepIndex() const { return step_; }

    // Where the boss's wing begins.
    static bool inBossRegion(const D3DXVECTOR3& p);

private:
    enum class Phase { Title, WaitForPlay, Settle, Walking, Aiming, Flying, Pulled, Landing, Done, Failed };
    // What a shot in flight was fired at.
    enum class Shot { Anchor, Dragonfly, Throw };

    void note(const std::string& text);
    void fail(const std::string& why);
    void nextStep();
    void beginStep();

    CharaBase* player() const;
    CharaBase* camera() const;
    CharaBase* thread() const;
    CharaBase* anchor(const RouteStep& step) const;
    int indexOf(const CharaBase* object) const;

    bool standing();
    void walk(const RouteStep& step);
    // The view angles that send a shot through the anchor's box; false when the pitch
    // limit puts it out of reach from here.
    // For a lift, aims between where it is and where it will be when the thread gets
    // there, and says whether a lock on it now also means a hit then.
    bool aimAt(CharaBase* target, float* yaw, float* pitch, bool* leadFits) const;
    void watchLifts();
    void turnToward(float yaw, float pitch);
    void aim();
    // A live dragonfly near enough to come for the player, or null.
    CharaBase* nearbyDragonfly() const;
    // Turns onto a point and lets go once the view is on it; true when it let go.
    bool shootAt(const D3DXVECTOR3& point, Shot kind, const char* what);
    // Standing somewhere the route does not expect: start again or finish from there.
    bool recoverFromFall();
    void watchShot();
    void watchPull();
    void watchLanding();

    std::vector<RouteStep> route_;
    size_t step_ = 0;
    Phase phase_ = Phase::Title;
    int frame_ = 0;
    int phaseStart_ = 0;
    int tries_ = 0;
    int settledFrames_ = 0;
    float lastHeight_ = 0.0f;
    std::vector<LiftWatch> lifts_;
    int scan_ = 0;
    int scanFrames_ = 0;
    Shot shot_ = Shot::Anchor;
    int flyPauseUntil_ = 0;
    int fliesCaught_ = 0;
    int ballsThrown_ = 0;
    int restarts_ = 0;
    std::string journal_;
};

}  // namespace gametest
