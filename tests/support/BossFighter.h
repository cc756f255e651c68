// A scripted player for a whole game: the climb pilot takes it from
// the title screen into the boss's wing; from there it drops into the pit and fights,
// through the game's input only (mouse motion, the left button, the walking keys),
// reading the object list as a player reads the screen. It catches dragonflies with
// the thread, throws the balls at the boss where their flight meets the boss's path,
// sidesteps shells, the rolling ball and dragonflies it cannot catch, and once the
// stage is clear clicks through the clear screen back to the title.
#pragma once

#include <deque>
#include <map>
#include <string>

#include <windows.h>
#include <d3dx9.h>

#include "Pilot.h"

class CharaBase;

namespace gametest {

class BossFighter {
public:
    // Where the fight begins: after the climb from the title screen, or (for a test that
    // puts the player there itself) in the boss's wing as soon as the play has begun.
    enum class Start { Climb, InTheWing };
    explicit BossFighter(Start start = Start::Climb);

    // Scripts the input of one frame; called before the frame's update.
    void onFrame(int frame);
    // While set, no dragonfly is shot at: the view stays on the boss between throws,
    // for a watcher that must see the boss at a moment it cannot foresee.
    void keepFacingTheBoss(bool keep) { keepFacingTheBoss_ = keep; }

    // Back at the title after the clear screen, or failed.
    bool finished() const { return phase_ == Phase::BackAtTitle || phase_ == Phase::Failed; }
    bool won() const { return phase_ == Phase::BackAtTitle; }
    bool sawClearScreen() const { return sawClear_; }
    int hitsLanded() const { return hits_; }
    int ballsThrown() const { return throws_; }
    const std::string& journal() const { return journal_; }

private:
    enum class Phase { Climb, Title, WaitForPlay, Fight, Cleared, BackAtTitle, Failed };
    enum class Shot { None, Catch, Throw };

    struct Objects {
        CharaBase* player = nullptr;
        CharaBase* camera = nullptr;
        CharaBase* thread = nullptr;
        CharaBase* boss = nullptr;
    };

    void note(const std::string& text);
    void fail(const std::string& why);
    Objects look() const;
    // How far each dragonfly and the boss move in a frame, lately.
    void watchMotion();
    D3DXVECTOR3 motionOf(const CharaBase* object) const;

    void beginFight();
    void fight(const Objects& seen);
    void clickThroughClearScreen();

    // The best shot at a dragonfly; false when none is in reach.
    bool aimAtDragonfly(const Objects& seen, float* yaw, float* pitch) const;
    // The angles of a throw whose ball meets the boss; false when none does from here.
    bool aimAtBoss(const Objects& seen, float* yaw, float* pitch) const;
    // Holds the button, turns the view and lets go once it is on the angles.
    void aimAndShoot(const Objects& seen, Shot kind, float yaw, float pitch);

    // Where the player wants to go this frame, as a world direction (zero to stand).
    D3DXVECTOR3 wantedStep(const Objects& seen) const;
    D3DXVECTOR3 awayFromPath(const D3DXVECTOR3& me, const D3DXVECTOR3& from, const D3DXVECTOR3& motion,
                             float reach, int frames) const;
    void walk(const CharaBase* camera, const D3DXVECTOR3& direction);

    Pilot climb_;
    Phase phase_ = Phase::Climb;
    Shot shot_ = Shot::None;
    int frame_ = 0;
    int phaseStart_ = 0;
    int hits_ = 0;
    int throws_ = 0;
    int lastBossLife_ = 0;
    bool sawClear_ = false;
    bool keepFacingTheBoss_ = false;
    std::map<const CharaBase*, std::deque<D3DXVECTOR3>> tracks_;
    std::map<const CharaBase*, D3DXVECTOR3> motion_;
    std::string journal_;
};

}  // namespace gametest
