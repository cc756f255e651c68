#include "BossFighter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include <velmora/HeadlessInput.h>

#include "CharaBase.h"
#include "GameTestHelpers.h"
#include "PillBugs.h"
#include "SceneManager.h"
#include "SpiderLine.h"

namespace headless = velmora::headless;

namespace gametest {

namespace {

const float AIM_TOLERANCE = 0.3f;
// A thread shot is gone beyond 60 from the shoulder; aim well within that.
const float THREAD_REACH = 45.0f;
// A ball that passes this close to the boss's middle hits it (the game allows 6).
const float THROW_ACCURACY = 4.0f;
const int THROW_FRAMES = 90;
const float BALL_DRAG_CHANGE = 0.00005f;
const float BALL_GRAVITY = 0.001f;

// The boss's pit and how far from its walls the fight stays.
const float PIT_WEST = -116.0f, PIT_EAST = -50.0f, PIT_SOUTH = -76.0f, PIT_NORTH = 12.0f;
const float PIT_FLOOR = 12.0f, TERRACE_TOP = 17.0f, TERRACE_EDGE = 20.0f, WING_EDGE = -41.0f;
// The walking boss is kept at this distance; a ball is thrown from within the second.
const float KEEP_AWAY = 14.0f;
const float THROWING_RANGE = 26.0f;
const float DRAGONFLY_TOO_CLOSE = 7.0f;
const float DODGE_REACH = 5.5f;
const int DODGE_LOOKAHEAD = 70;

// Motion is judged over this many frames.
const size_t MOTION_FRAMES = 8;

const int CLEAR_SCREEN_WAIT = 30;
const int SCENE_LIMIT = 900;

D3DXVECTOR3 flat(const D3DXVECTOR3& v) { return D3DXVECTOR3(v.x, 0.0f, v.z); }

float length(const D3DXVECTOR3& v) { return D3DXVec3Length(&v); }

D3DXVECTOR3 unit(const D3DXVECTOR3& v) {
    const float l = length(v);
    return l > 0.0f ? v / l : D3DXVECTOR3(0, 0, 0);
}

float yawTo(const D3DXVECTOR3& from, const D3DXVECTOR3& to) { return std::atan2(to.x - from.x, to.z - from.z) * DEGREES; }

int currentScene() {
    if (!g_sceneManager || !g_sceneManager->currentScene) return -1;
    return g_sceneManager->currentScene->sceneId;
}

// The floor under a point, as the level design lays it out.
float floorUnder(const D3DXVECTOR3& p) {
    if (p.x > WING_EDGE) return 0.0f;
    return p.z < TERRACE_EDGE ? PIT_FLOOR : TERRACE_TOP;
}

bool isLiveDragonfly(const CharaBase* object) {
    return object->Kind == KIND_DRAGONFLY && object->Active == 1 && object->Dead == 0 && object->Caught == 0;
}

}  // namespace

BossFighter::BossFighter(Start start)
    : climb_(climbRoute()), phase_(start == Start::Climb ? Phase::Climb : Phase::Title) {}

void BossFighter::note(const std::string& text) {
    char prefix[32];
    std::snprintf(prefix, sizeof prefix, "[%6d] ", frame_);
    journal_ += prefix + text + "\n";
}

void BossFighter::fail(const std::string& why) {
    note("FAILED: " + why);
    phase_ = Phase::Failed;
}

BossFighter::Objects BossFighter::look() const {
    Objects seen;
    if (!g_sceneManager) return seen;
    for (CharaBase* object : g_sceneManager->objects) {
        if (object->Kind == KIND_PLAYER && !seen.player) seen.player = object;
        if (object->Kind == KIND_CAMERA && !seen.camera) seen.camera = object;
        if (object->Kind == KIND_SPIDER_LINE && !seen.thread) seen.thread = object;
        if (object->Kind == KIND_PILLBUGS && !seen.boss) seen.boss = object;
    }
    return seen;
}

void BossFighter::watchMotion() {
    for (const CharaBase* object : g_sceneManager->objects) {
        if (object->Kind != KIND_DRAGONFLY && object->Kind != KIND_PILLBUGS) continue;
        std::deque<D3DXVECTOR3>& track = tracks_[object];
        track.push_back(positionOf(object->WorldMatrix));
        if (track.size() > MOTION_FRAMES) track.pop_front();
        // Averaged: a dragonfly bobs up and down around its height every frame.
        motion_[object] = track.size() < 2 ? D3DXVECTOR3(0, 0, 0)
                                            : (track.back() - track.front()) / static_cast<float>(track.size() - 1);
    }
}

D3DXVECTOR3 BossFighter::motionOf(const CharaBase* object) const {
    auto found = motion_.find(object);
    return found == motion_.end() ? D3DXVECTOR3(0, 0, 0) : found->second;
}

void BossFighter::onFrame(int frame) {
    frame_ = frame;
    if (finished()) {
        headless::releaseAllKeys();
        headless::setKeyDown(VK_ESCAPE, true);
        return;
    }
    switch (phase_) {
        case Phase::Climb:
            climb_.onFrame(frame);
            if (!climb_.done()) return;
            journal_ += climb_.journal();
            headless::releaseAllKeys();
            if (!climb_.reachedBossRegion()) {
                fail("the climb did not reach the boss's wing");
                return;
            }
            beginFight();
            return;
        case Phase::Title:
            // Click through the title screen.
            if (frame == 10) headless::setKeyDown(VK_LBUTTON, true);
            if (frame == 11) {
                headless::setKeyDown(VK_LBUTTON, false);
                phase_ = Phase::WaitForPlay;
            }
            return;
        case Phase::WaitForPlay:
            if (currentScene() == 1 && look().player) beginFight();
            if (frame > SCENE_LIMIT) fail("the play never began");
            return;
        case Phase::Fight: {
            if (currentScene() == 2) {
                headless::releaseAllKeys();
                sawClear_ = true;
                phase_ = Phase::Cleared;
                phaseStart_ = frame;
                note("the stage clear screen is up");
                return;
            }
            if (currentScene() != 1) {
                fail("the play ended without the stage clear screen");
                return;
            }
            const Objects seen = look();
            // Between the end of the play and the next scene the list is empty.
            if (!seen.player || !seen.camera || !seen.thread || !seen.boss) {
                headless::releaseAllKeys();
                return;
            }
            watchMotion();
            fight(seen);
            return;
        }
        case Phase::Cleared:
            clickThroughClearScreen();
            return;
        default:
            return;
    }
}

void BossFighter::beginFight() {
    phase_ = Phase::Fight;
    phaseStart_ = frame_;
    lastBossLife_ = 8;
    note("the fight begins");
}

void BossFighter::fight(const Objects& seen) {
    for (int key : {'W', 'A', 'S', 'D'}) headless::setKeyDown(key, false);
    CharaBase* boss = seen.boss;
    if (boss->Life < lastBossLife_) {
        hits_ += lastBossLife_ - boss->Life;
        note("the boss is hit: " + std::to_string(boss->Life) + " left, player's life " +
             std::to_string(seen.player->Life));
    }
    lastBossLife_ = boss->Life;
    // Won or lost: hands off while the play ends.
    if (boss->Life <= 0 || seen.player->Life <= 0) {
        headless::releaseAllKeys();
        return;
    }

    const CharaBase* line = seen.thread;
    const bool home = line->Mode == 0 && line->Anchored == 0;
    if (shot_ != Shot::None && home) {
        if (shot_ == Shot::Catch) note(line->BallMode == 1 ? "caught a dragonfly" : "the thread came back empty");
        shot_ = Shot::None;
    }

    bool shooting = false;
    if (shot_ == Shot::None && home) {
        float yaw = 0.0f;
        float pitch = 0.0f;
        const bool aimed = line->BallMode == 1 ? aimAtBoss(seen, &yaw, &pitch)
                                               : !keepFacingTheBoss_ && aimAtDragonfly(seen, &yaw, &pitch);
        if (aimed) {
            aimAndShoot(seen, line->BallMode == 1 ? Shot::Throw : Shot::Catch, yaw, pitch);
            shooting = shot_ != Shot::None;
        } else {
            // Ready to shoot, looking at the boss.
            headless::setKeyDown(VK_LBUTTON, true);
            const D3DXVECTOR3 me = positionOf(seen.player->TransMatrix);
            turnViewToward(seen.camera, yawTo(me, positionOf(boss->WorldMatrix)), 0.0f);
        }
    }
    // Stand still in the frame of a shot: it leaves from where the player stands.
    if (!shooting) walk(seen.camera, wantedStep(seen));
}

bool BossFighter::aimAtDragonfly(const Objects& seen, float* yaw, float* pitch) const {
    const D3DXVECTOR3 launch = positionOf(seen.player->TransMatrix) + D3DXVECTOR3(0, BACK_HEIGHT, 0);
    float soonest = 1e9f;
    for (const CharaBase* fly : g_sceneManager->objects) {
        if (!isLiveDragonfly(fly)) continue;
        const D3DXVECTOR3 now = positionOf(fly->WorldMatrix);
        const D3DXVECTOR3 motion = motionOf(fly);
        // The thread covers one unit a frame across: meet the fly where it will be.
        D3DXVECTOR3 meet = now;
        float frames = 0.0f;
        for (int pass = 0; pass < 3; ++pass) {
            frames = length(flat(meet - launch));
            meet = now + motion * frames;
        }
        if (frames > THREAD_REACH || frames >= soonest) continue;
        // Over the terrace's face from the pit, the thread would meet the wall.
        if (launch.y < TERRACE_TOP && meet.z > TERRACE_EDGE - 2.0f) continue;
        const float climb = (meet.y - launch.y) / std::max(frames, 1.0f) / SHOT_CLIMB;
        const float wanted = -std::asin(std::max(-1.0f, std::min(1.0f, climb))) * DEGREES;
        if (std::fabs(wanted) > PITCH_REACH) continue;
        soonest = frames;
        *yaw = yawTo(launch, meet);
        *pitch = wanted;
    }
    return soonest < 1e9f;
}

bool BossFighter::aimAtBoss(const Objects& seen, float* yaw, float* pitch) const {
    const CharaBase* boss = seen.boss;
    if (boss->Dead == 1 && static_cast<const PillBugs*>(boss)->WalkForm == 0) return false;
    const D3DXVECTOR3 launch = positionOf(seen.player->TransMatrix) + D3DXVECTOR3(0, BACK_HEIGHT, 0);
    const D3DXVECTOR3 now = positionOf(boss->WorldMatrix);
    const D3DXVECTOR3 motion = motionOf(boss);
    if (length(flat(now - launch)) > THROWING_RANGE) return false;

    // A thrown ball crosses about one unit a frame: aim where the boss will be then.
    D3DXVECTOR3 meet = now;
    for (int pass = 0; pass < 3; ++pass) meet = now + motion * (length(flat(meet - launch)) + 1.0f);
    const float bestYaw = yawTo(launch, meet);
    const D3DXVECTOR3 heading(std::sin(bestYaw / DEGREES), 0.0f, std::cos(bestYaw / DEGREES));

    float bestMiss = 1e9f;
    float bestPitch = 0.0f;
    for (float tryPitch = -PITCH_REACH; tryPitch <= PITCH_REACH; tryPitch += 0.25f) {
        // The ball's flight as the thread flies it: the drag, then gravity.
        const float climb = -SHOT_CLIMB * std::sin(tryPitch / DEGREES);
        D3DXVECTOR3 ball = launch;
        D3DXVECTOR3 across = heading;
        float drag = 1.0f;
        float fall = 0.0f;
        float miss = 1e9f;
        for (int k = 0; k < THROW_FRAMES; ++k) {
            const D3DXVECTOR3 step(across.x, climb, across.z);
            across *= drag;
            ball += step;
            drag += climb > 0.0f ? BALL_DRAG_CHANGE : -BALL_DRAG_CHANGE;
            ball.y -= fall;
            fall += BALL_GRAVITY;
            // Broken on the floor.
            if (ball.y < floorUnder(ball) + 0.4f) break;
            // The boss looks for the ball at its next update, before it moves.
            miss = std::min(miss, length(ball - (now + motion * static_cast<float>(k + 1))));
        }
        if (miss < bestMiss) {
            bestMiss = miss;
            bestPitch = tryPitch;
        }
    }
    if (bestMiss > THROW_ACCURACY) return false;
    *yaw = bestYaw;
    *pitch = bestPitch;
    return true;
}

void BossFighter::aimAndShoot(const Objects& seen, Shot kind, float yaw, float pitch) {
    headless::setKeyDown(VK_LBUTTON, true);
    const CharaBase* view = seen.camera;
    const bool onTarget =
        std::fabs(wrap(yaw - view->Yaw)) < AIM_TOLERANCE && std::fabs(pitch - view->Pitch) < AIM_TOLERANCE;
    const SpiderLine* spider = static_cast<const SpiderLine*>(seen.thread);
    if (onTarget && spider->Aiming == 1) {
        headless::setKeyDown(VK_LBUTTON, false);
        shot_ = kind;
        if (kind == Shot::Throw) ++throws_;
        note(std::string(kind == Shot::Throw ? "threw a ball at the boss" : "shot at a dragonfly") + " from " +
             describe(positionOf(seen.player->TransMatrix)) + ", the boss at " +
             describe(positionOf(seen.boss->WorldMatrix)));
        return;
    }
    turnViewToward(view, yaw, std::max(-PITCH_REACH, std::min(PITCH_REACH, pitch)));
}

D3DXVECTOR3 BossFighter::awayFromPath(const D3DXVECTOR3& me, const D3DXVECTOR3& from, const D3DXVECTOR3& motion,
                                      float reach, int frames) const {
    const D3DXVECTOR3 along = flat(motion);
    const float speed2 = D3DXVec3LengthSq(&along);
    if (speed2 < 1e-6f) return D3DXVECTOR3(0, 0, 0);
    const D3DXVECTOR3 offset = flat(me - from);
    const float t = std::max(0.0f, std::min(static_cast<float>(frames), D3DXVec3Dot(&offset, &along) / speed2));
    const D3DXVECTOR3 aside = offset - along * t;
    if (length(aside) >= reach) return D3DXVECTOR3(0, 0, 0);
    // Right on the path: step off to its right.
    if (length(aside) < 0.1f) return unit(D3DXVECTOR3(along.z, 0.0f, -along.x));
    return unit(aside);
}

D3DXVECTOR3 BossFighter::wantedStep(const Objects& seen) const {
    const D3DXVECTOR3 me = positionOf(seen.player->TransMatrix);
    const CharaBase* boss = seen.boss;
    const PillBugs* bug = static_cast<const PillBugs*>(boss);
    D3DXVECTOR3 want(0, 0, 0);

    // Down into the pit and away from its walls.
    if (me.x < PIT_WEST) want.x += 1.0f;
    if (me.x > PIT_EAST) want.x -= 1.0f;
    if (me.z < PIT_SOUTH) want.z += 1.0f;
    if (me.z > PIT_NORTH) want.z -= 1.0f;

    const D3DXVECTOR3 toBoss = flat(positionOf(boss->WorldMatrix) - me);
    const float apart = length(toBoss);
    if (bug->WalkForm == 1 && apart < KEEP_AWAY) want -= unit(toBoss);
    if (seen.thread->BallMode == 1 && apart > THROWING_RANGE - 4.0f) want += unit(toBoss);

    // Out of the way of the rolling ball, the shell and dragonflies too close to catch.
    if (bug->WalkForm == 0) {
        want += 2.0f * awayFromPath(me, positionOf(boss->WorldMatrix), motionOf(boss), DODGE_REACH, DODGE_LOOKAHEAD);
        if (apart < 6.0f) want -= 2.0f * unit(toBoss);
    }
    if (bug->ShellFlying == 1) {
        const D3DXVECTOR3 shell = positionOf(bug->ShellMatrix);
        if (shell.y - me.y < 6.0f) {
            want += 2.0f * awayFromPath(me, shell, positionOf(bug->ShellStep), DODGE_REACH, DODGE_LOOKAHEAD);
        }
    }
    for (const CharaBase* fly : g_sceneManager->objects) {
        if (!isLiveDragonfly(fly)) continue;
        const D3DXVECTOR3 off = flat(me - positionOf(fly->WorldMatrix));
        if (length(off) < DRAGONFLY_TOO_CLOSE) want += 1.5f * unit(off);
    }
    return want;
}

void BossFighter::walk(const CharaBase* camera, const D3DXVECTOR3& direction) {
    if (length(direction) < 0.2f) return;
    const D3DXVECTOR3 d = unit(direction);
    const float yaw = camera->Yaw / DEGREES;
    const D3DXVECTOR3 forward(std::sin(yaw), 0.0f, std::cos(yaw));
    const D3DXVECTOR3 right(std::cos(yaw), 0.0f, -std::sin(yaw));
    const float ahead = D3DXVec3Dot(&d, &forward);
    const float side = D3DXVec3Dot(&d, &right);
    if (ahead > 0.38f) headless::setKeyDown('W', true);
    if (ahead < -0.38f) headless::setKeyDown('S', true);
    if (side > 0.38f) headless::setKeyDown('D', true);
    if (side < -0.38f) headless::setKeyDown('A', true);
}

void BossFighter::clickThroughClearScreen() {
    if (currentScene() == 0) {
        note("back at the title");
        phase_ = Phase::BackAtTitle;
        return;
    }
    const int waited = frame_ - phaseStart_;
    if (waited == CLEAR_SCREEN_WAIT) headless::setKeyDown(VK_LBUTTON, true);
    if (waited == CLEAR_SCREEN_WAIT + 1) headless::setKeyDown(VK_LBUTTON, false);
    if (waited > SCENE_LIMIT) fail("the clear screen never went back to the title");
}

}  // namespace gametest
