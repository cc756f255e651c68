#include "Pilot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include <velmora/HeadlessInput.h>

#include "CharaBase.h"
#include "GameTestHelpers.h"
#include "SceneManager.h"
#include "SpiderLine.h"

namespace headless = velmora::headless;

namespace gametest {

namespace {

// A shot is gone beyond 60.
const float SHOT_REACH = 56.0f;
// A lift's box, drawn at scale 1.5: half its width, depth and height, less a margin.
const float LIFT_HALF_WIDTH = 3.0f - 0.8f;
const float LIFT_HALF_HEIGHT = 0.75f - 0.25f;
// Aim is good enough to shoot once both angles are within this.
const float AIM_TOLERANCE = 0.35f;
const int MAX_TRIES = 8;
const int MAX_RESTARTS = 3;
// A dragonfly closer than this is dealt with before the next hop.
const float DRAGONFLY_ALERT = 14.0f;
const int FLY_PAUSE = 90;
// From a lift a shot pitched lower than this would meet the lift's own box.
const float LIFT_SHOT_DIP = 1.0f;
// Where the hall floor and the boss's wing lie: standing there ends a failed hop.
const float HALL_FLOOR_TOP = 2.0f;
const float WEST_WING_EDGE = -41.0f;
const int STEP_FRAMES = 8000;
// The scan tried when the aim is right but the marker does not come: (pitch, yaw) offsets.
const float SCAN[][2] = {{0, 0},    {-0.5f, 0}, {0.5f, 0},  {-1, 0},  {1, 0},   {0, -0.5f}, {0, 0.5f},
                         {-1.5f, 0}, {1.5f, 0}, {0, -1},    {0, 1},   {-2, 0},  {2, 0},     {-1, -1},
                         {-1, 1},   {1, -1},    {1, 1},     {-2.5f, 0}, {2.5f, 0}, {0, -1.5f}, {0, 1.5f}};
const int SCAN_COUNT = sizeof SCAN / sizeof SCAN[0];
const int SCAN_HOLD = 3;

float component(const D3DXVECTOR3& v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; }
float& component(D3DXVECTOR3& v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; }

ObjectList* playObjects() {
    if (!g_sceneManager) return nullptr;
    return &g_sceneManager->objects;
}

}  // namespace

std::vector<RouteStep> climbRoute() {
    using S = RouteStep;
    return {
        {S::Walk, "walk to the far area", 0, 0, S::Ledge, 36.0f, -66.0f},
        {S::Shoot, "rope 0", KIND_ROPE, 0, S::Ledge, 0, 0},
        {S::Shoot, "rope 1", KIND_ROPE, 1, S::Ledge, 0, 0},
        {S::Shoot, "rope 2", KIND_ROPE, 2, S::Ledge, 0, 0},
        {S::Shoot, "rope 3 (bridge)", KIND_ROPE, 3, S::Ledge, 0, 0},
        {S::Shoot, "rope 4 (pillar)", KIND_ROPE, 4, S::Ledge, 0, 0},
        {S::Shoot, "lift 0", KIND_LIFT, 0, S::OnLift, 0, 0},
        {S::Shoot, "lift 1", KIND_LIFT, 1, S::OnLift, 0, 0},
        {S::Shoot, "lift 2", KIND_LIFT, 2, S::OnLift, 0, 0},
        {S::Shoot, "hook 6", KIND_ROPE, 6, S::Hook, 0, 0},
        {S::Shoot, "hook 7", KIND_ROPE, 7, S::Hook, 0, 0},
        {S::Shoot, "hook 8", KIND_ROPE, 8, S::Hook, 0, 0},
        {S::Shoot, "hook 9", KIND_ROPE, 9, S::Drop, 0, 0},
        {S::Walk, "walk into the boss's wing", 0, 0, S::Ledge, -85.0f, 30.0f},
    };
}

void LiftWatch::observe(const D3DXVECTOR3& now) {
    if (!seen) {
        position = now;
        seen = true;
        return;
    }
    const D3DXVECTOR3 next = now - position;
    for (int axis = 0; axis < 3; ++axis) {
        const float before = component(step, axis);
        const float after = component(next, axis);
        // A lift turns back at the end of each leg: note where.
        if (before > 0.0f && after < 0.0f) {
            high[axis] = component(position, axis);
            highSeen[axis] = true;
        }
        if (before < 0.0f && after > 0.0f) {
            low[axis] = component(position, axis);
            lowSeen[axis] = true;
        }
    }
    // A frozen frame keeps the last motion.
    if (D3DXVec3LengthSq(&next) > 0.0f) step = next;
    position = now;
}

D3DXVECTOR3 LiftWatch::predict(int frames) const {
    D3DXVECTOR3 at = position;
    D3DXVECTOR3 moving = step;
    for (int i = 0; i < frames; ++i) {
        at += moving;
        for (int axis = 0; axis < 3; ++axis) {
            const float speed = component(moving, axis);
            if (speed > 0.0f && highSeen[axis] && component(at, axis) >= high[axis] - 1e-3f) {
                component(moving, axis) = -speed;
            }
            if (speed < 0.0f && lowSeen[axis] && component(at, axis) <= low[axis] + 1e-3f) {
                component(moving, axis) = -speed;
            }
        }
    }
    return at;
}

Pilot::Pilot(std::vector<RouteStep> route) : route_(std::move(route)) {}

bool Pilot::inBossRegion(const D3DXVECTOR3& p) { return p.x <= -41.0f && p.y <= 60.0f && p.z <= 36.0f; }

void Pilot::note(const std::string& text) {
    char prefix[32];
    std::snprintf(prefix, sizeof prefix, "[%6d] ", frame_);
    journal_ += prefix + text + "\n";
}

void Pilot::fail(const std::string& why) {
    const CharaBase* me = player();
    note("FAILED at " + std::string(step_ < route_.size() ? route_[step_].name : "the end") + ": " + why +
         (me ? " player at " + describe(positionOf(me->TransMatrix)) : std::string()));
    phase_ = Phase::Failed;
}

CharaBase* Pilot::player() const {
    ObjectList* objects = playObjects();
    if (!objects) return nullptr;
    for (CharaBase* object : *objects) {
        if (object->Kind == KIND_PLAYER) return object;
    }
    return nullptr;
}

CharaBase* Pilot::camera() const {
    ObjectList* objects = playObjects();
    if (!objects) return nullptr;
    for (CharaBase* object : *objects) {
        if (object->Kind == KIND_CAMERA) return object;
    }
    return nullptr;
}

CharaBase* Pilot::thread() const {
    ObjectList* objects = playObjects();
    if (!objects) return nullptr;
    for (CharaBase* object : *objects) {
        if (object->Kind == KIND_SPIDER_LINE) return object;
    }
    return nullptr;
}

CharaBase* Pilot::anchor(const RouteStep& step) const {
    ObjectList* objects = playObjects();
    if (!objects) return nullptr;
    int rank = 0;
    for (CharaBase* object : *objects) {
        if (object->Kind != step.anchorKind) continue;
        if (rank++ == step.anchorNumber) return object;
    }
    return nullptr;
}

int Pilot::indexOf(const CharaBase* object) const {
    ObjectList* objects = playObjects();
    if (!objects) return -1;
    for (size_t i = 0; i < objects->size(); ++i) {
        if ((*objects)[i] == object) return static_cast<int>(i);
    }
    return -1;
}

void Pilot::watchLifts() {
    ObjectList* objects = playObjects();
    if (!objects) return;
    size_t rank = 0;
    for (CharaBase* object : *objects) {
        if (object->Kind != KIND_LIFT) continue;
        if (lifts_.size() <= rank) lifts_.resize(rank + 1);
        lifts_[rank++].observe(positionOf(object->TransMatrix));
    }
}

void Pilot::onFrame(int frame) {
    frame_ = frame;
    if (done()) {
        headless::releaseAllKeys();
        headless::setKeyDown(VK_ESCAPE, true);
        return;
    }
    headless::setKeyDown('W', false);

    if (phase_ == Phase::Title) {
        // Click through the title screen.
        if (frame == 10) headless::setKeyDown(VK_LBUTTON, true);
        if (frame == 11) {
            headless::setKeyDown(VK_LBUTTON, false);
            phase_ = Phase::WaitForPlay;
            phaseStart_ = frame;
        }
        return;
    }
    CharaBase* me = player();
    if (phase_ == Phase::WaitForPlay) {
        if (me) {
            note("the play has begun");
            phase_ = Phase::Settle;
            phaseStart_ = frame;
        } else if (frame - phaseStart_ > 600) {
            fail("the play never began");
        }
        return;
    }
    if (!me) {
        fail("the play ended");
        return;
    }
    if (me->Life < 1) {
        fail("the player died");
        return;
    }
    watchLifts();
    const D3DXVECTOR3 at = positionOf(me->TransMatrix);
    if (inBossRegion(at)) {
        int dragonflies = 0;
        for (const CharaBase* object : *playObjects()) dragonflies += object->Kind == KIND_DRAGONFLY;
        note("reached the boss's wing at " + describe(at) + " with " + std::to_string(dragonflies) +
             " dragonflies born");
        phase_ = Phase::Done;
        headless::releaseAllKeys();
        return;
    }
    if (frame - phaseStart_ > STEP_FRAMES) {
        fail("this step takes too long");
        return;
    }

    switch (phase_) {
        case Phase::Settle:
            if (standing()) beginStep();
            break;
        case Phase::Walking:
            walk(route_[step_]);
            break;
        case Phase::Aiming:
            aim();
            break;
        case Phase::Flying:
            watchShot();
            break;
        case Phase::Pulled:
            watchPull();
            break;
        case Phase::Landing:
            watchLanding();
            break;
        default:
            break;
    }
}

bool Pilot::standing() {
    const CharaBase* me = player();
    const float height = me->TransMatrix._42;
    const bool still = me->Falling == 0 && (std::fabs(height - lastHeight_) < 1e-4f || me->RideHit);
    lastHeight_ = height;
    settledFrames_ = still ? settledFrames_ + 1 : 0;
    return settledFrames_ >= 3;
}

void Pilot::beginStep() {
    if (step_ >= route_.size()) {
        fail("the route ended outside the boss's wing");
        return;
    }
    const RouteStep& step = route_[step_];
    phaseStart_ = frame_;
    tries_ = 0;
    scan_ = 0;
    scanFrames_ = 0;
    note(std::string("begin ") + step.name + " from " + describe(positionOf(player()->TransMatrix)));
    phase_ = step.action == RouteStep::Walk ? Phase::Walking : Phase::Aiming;
}

void Pilot::nextStep() {
    ++step_;
    settledFrames_ = 0;
    beginStep();
}

void Pilot::turnToward(float yaw, float pitch) {
    if (const CharaBase* view = camera()) turnViewToward(view, yaw, pitch);
}

void Pilot::walk(const RouteStep& step) {
    const CharaBase* me = player();
    const D3DXVECTOR3 at = positionOf(me->TransMatrix);
    const float dx = step.x - at.x;
    const float dz = step.z - at.z;
    const float distance = std::sqrt(dx * dx + dz * dz);
    if (distance < 0.4f) {
        note(std::string("arrived at ") + describe(at));
        nextStep();
        return;
    }
    const float yaw = std::atan2(dx, dz) * DEGREES;
    turnToward(yaw, 0.0f);
    const CharaBase* view = camera();
    if (view && std::fabs(wrap(yaw - view->Yaw)) < 5.0f) headless::setKeyDown('W', true);
}

bool Pilot::aimAt(CharaBase* target, float* yaw, float* pitch, bool* leadFits) const {
    const CharaBase* me = player();
    const D3DXVECTOR3 launch = positionOf(me->TransMatrix) + D3DXVECTOR3(0, BACK_HEIGHT, 0);
    D3DXVECTOR3 now = positionOf(target->TransMatrix);
    D3DXVECTOR3 aimPoint = now;
    *leadFits = true;
    if (target->Kind == KIND_LIFT) {
        // Lead the lift: the shot needs about one frame per unit of horizontal distance,
        // less the four steps of its look-ahead.
        int rank = 0;
        for (CharaBase* object : *playObjects()) {
            if (object == target) break;
            if (object->Kind == KIND_LIFT) ++rank;
        }
        const LiftWatch& watch = lifts_[rank];
        D3DXVECTOR3 then = now;
        for (int pass = 0; pass < 2; ++pass) {
            const float reach = std::sqrt((then.x - launch.x) * (then.x - launch.x) +
                                          (then.z - launch.z) * (then.z - launch.z));
            then = watch.predict(std::max(0, static_cast<int>(reach) - 3));
        }
        // Between the box of now, which the lock-on sees, and the box of then, which the
        // thread meets: both must hold the aim point.
        aimPoint = (now + then) * 0.5f;
        const D3DXVECTOR3 lead = (then - now) * 0.5f;
        *leadFits = std::fabs(lead.x) < LIFT_HALF_WIDTH && std::fabs(lead.z) < LIFT_HALF_WIDTH &&
                    std::fabs(lead.y) < LIFT_HALF_HEIGHT;
    }
    const D3DXVECTOR3 to = aimPoint - launch;
    const float across = std::sqrt(to.x * to.x + to.z * to.z);
    *yaw = std::atan2(to.x, to.z) * DEGREES;
    const float sine = to.y / (SHOT_CLIMB * std::max(across, 1e-3f));
    const float wanted = -std::asin(std::max(-1.0f, std::min(1.0f, sine))) * DEGREES;
    *pitch = std::max(-PITCH_REACH, std::min(PITCH_REACH, wanted));
    const float length = across * std::sqrt(1.0f + (SHOT_CLIMB * sine) * (SHOT_CLIMB * sine));
    return std::fabs(wanted) <= PITCH_REACH && length < SHOT_REACH;
}

void Pilot::aim() {
    const RouteStep& step = route_[step_];
    CharaBase* target = anchor(step);
    CharaBase* line = thread();
    const CharaBase* view = camera();
    if (!target || !line || !view) {
        fail("an object of the route is missing");
        return;
    }
    // Hold the button throughout: letting it go is the shot.
    headless::setKeyDown(VK_LBUTTON, true);
    const CharaBase* me = player();
    // A ball in hand goes first: a shot would throw it, and it holds up a pull.
    if (line->Mode == 0 && line->BallMode == 1) {
        CharaBase* fly = nearbyDragonfly();
        const D3DXVECTOR3 ahead = positionOf(me->TransMatrix) +
                                  D3DXVECTOR3(std::sin(view->Yaw / DEGREES), BACK_HEIGHT, std::cos(view->Yaw / DEGREES));
        shootAt(fly ? positionOf(fly->WorldMatrix) : ahead, Shot::Throw, "the ball");
        return;
    }

    float yaw = 0.0f;
    float pitch = 0.0f;
    bool leadFits = true;
    const bool reachable = aimAt(target, &yaw, &pitch, &leadFits);
    const float yawError = std::fabs(wrap(yaw - view->Yaw));
    const float pitchError = std::fabs(pitch - view->Pitch);
    const bool onTarget = yawError < AIM_TOLERANCE && pitchError < AIM_TOLERANCE;

    // What the marker says, read only when the last frame ran the lock-on.
    const SpiderLine* spider = static_cast<const SpiderLine*>(line);
    const bool lockRan = line->Mode == 0 && line->Anchored == 0 && spider->Aiming == 1 && line->BallMode == 0;
    const bool lockedOnTarget = lockRan && spider->Locked == 1 && spider->TargetIndex == indexOf(target);

    // The route comes first: a shot that is ready goes whatever flies about.
    if (reachable && leadFits && lockedOnTarget && (onTarget || scan_ > 0)) {
        headless::setKeyDown(VK_LBUTTON, false);
        shot_ = Shot::Anchor;
        note(std::string("shot at ") + step.name + " from " + describe(positionOf(player()->TransMatrix)) +
             " yaw " + std::to_string(view->Yaw) + " pitch " + std::to_string(view->Pitch));
        phase_ = Phase::Flying;
        return;
    }
    if (me->Falling == 0 && line->Mode == 0 && line->Anchored == 0) {
        if (recoverFromFall()) return;
        CharaBase* fly = frame_ >= flyPauseUntil_ ? nearbyDragonfly() : nullptr;
        if (fly) {
            shootAt(positionOf(fly->WorldMatrix), Shot::Dragonfly, "a dragonfly");
            return;
        }
    }
    // Right on it but no marker: look around the point a little.
    if (reachable && leadFits && onTarget && lockRan && scan_ == 0) {
        if (++scanFrames_ > SCAN_HOLD) {
            scan_ = 1;
            scanFrames_ = 0;
        }
    }
    if (scan_ > 0) {
        if (++scanFrames_ > SCAN_HOLD) {
            scanFrames_ = 0;
            scan_ = (scan_ + 1) % SCAN_COUNT;
        }
        pitch += SCAN[scan_][0];
        yaw += SCAN[scan_][1];
    }
    turnToward(yaw, pitch);
}

CharaBase* Pilot::nearbyDragonfly() const {
    const CharaBase* me = player();
    const D3DXVECTOR3 at = positionOf(me->TransMatrix);
    CharaBase* nearest = nullptr;
    float nearestDistance = DRAGONFLY_ALERT;
    for (CharaBase* object : *playObjects()) {
        if (object->Kind != KIND_DRAGONFLY || object->Active == 0 || object->Dead != 0 || object->Caught != 0) continue;
        const D3DXVECTOR3 apart = positionOf(object->WorldMatrix) - at;
        if (me->RideHit && apart.y < BACK_HEIGHT - LIFT_SHOT_DIP) continue;
        const float distance = D3DXVec3Length(&apart);
        if (distance < nearestDistance) {
            nearest = object;
            nearestDistance = distance;
        }
    }
    return nearest;
}

bool Pilot::shootAt(const D3DXVECTOR3& point, Shot kind, const char* what) {
    const D3DXVECTOR3 launch = positionOf(player()->TransMatrix) + D3DXVECTOR3(0, BACK_HEIGHT, 0);
    const D3DXVECTOR3 to = point - launch;
    const float across = std::sqrt(to.x * to.x + to.z * to.z);
    const float yaw = std::atan2(to.x, to.z) * DEGREES;
    const float sine = to.y / (SHOT_CLIMB * std::max(across, 1e-3f));
    const float pitch =
        std::max(-PITCH_REACH, std::min(PITCH_REACH, -std::asin(std::max(-1.0f, std::min(1.0f, sine))) * DEGREES));
    const CharaBase* view = camera();
    const bool onTarget =
        std::fabs(wrap(yaw - view->Yaw)) < AIM_TOLERANCE && std::fabs(pitch - view->Pitch) < AIM_TOLERANCE;
    const SpiderLine* spider = static_cast<const SpiderLine*>(thread());
    if (onTarget && spider->Aiming == 1) {
        headless::setKeyDown(VK_LBUTTON, false);
        note(std::string("shot at ") + what + " at " + describe(point));
        shot_ = kind;
        phase_ = Phase::Flying;
        return true;
    }
    turnToward(yaw, pitch);
    return false;
}

bool Pilot::recoverFromFall() {
    const RouteStep& step = route_[step_];
    const D3DXVECTOR3 at = positionOf(player()->TransMatrix);
    if (at.x <= WEST_WING_EDGE && step.action == RouteStep::Shoot) {
        note("fell into the boss's wing: walk on from here");
        step_ = route_.size() - 2;
        nextStep();
        return true;
    }
    // The first hop starts from the hall floor; every later one from above it.
    const bool expectedOnFloor = step_ <= 1;
    if (at.y < HALL_FLOOR_TOP && !expectedOnFloor) {
        if (++restarts_ > MAX_RESTARTS) {
            fail("fell to the hall floor too often");
            return true;
        }
        note("fell to the hall floor: climb again");
        step_ = 0;
        settledFrames_ = 0;
        beginStep();
        return true;
    }
    return false;
}

void Pilot::watchShot() {
    CharaBase* line = thread();
    if (shot_ != Shot::Anchor) {
        // Wait for the thread to come home, with a catch (a ball) or from a throw; a
        // shot that met a box on its way pulls the player there first.
        if (line->Mode == 1 || (line->Anchored == 1 && line->BallMode == 0)) return;
        if (shot_ == Shot::Dragonfly) {
            if (line->BallMode == 1) {
                ++fliesCaught_;
                note("caught a dragonfly");
            } else {
                // Missed: leave the dragonflies alone for a while and mind the route.
                flyPauseUntil_ = frame_ + FLY_PAUSE;
            }
        }
        if (shot_ == Shot::Throw) {
            ++ballsThrown_;
            note("threw the ball away");
        }
        phase_ = Phase::Aiming;
        return;
    }
    const RouteStep& step = route_[step_];
    const int target = indexOf(anchor(step));
    const SpiderLine* spider = static_cast<const SpiderLine*>(line);
    if (line->Anchored == 1) {
        if (spider->TargetIndex != target) {
            fail("the thread anchored somewhere else (object " + std::to_string(spider->TargetIndex) + ")");
            return;
        }
        note(std::string("anchored in ") + step.name);
        phase_ = Phase::Pulled;
        return;
    }
    if (line->Mode == 0) {
        note(std::string("missed ") + step.name + ", the thread is home");
        if (++tries_ > MAX_TRIES) {
            fail("too many misses");
            return;
        }
        scan_ = 0;
        scanFrames_ = 0;
        phase_ = Phase::Aiming;
    }
}

void Pilot::watchPull() {
    const CharaBase* line = thread();
    if (line->Anchored == 1) return;
    const RouteStep& step = route_[step_];
    note(std::string("let go at ") + step.name + " at " + describe(positionOf(player()->TransMatrix)));
    if (step.landing == RouteStep::Hook) {
        nextStep();
        return;
    }
    settledFrames_ = 0;
    phase_ = Phase::Landing;
}

void Pilot::watchLanding() {
    if (!standing()) return;
    if (recoverFromFall()) return;
    const RouteStep& step = route_[step_];
    const CharaBase* me = player();
    if (step.landing == RouteStep::OnLift && !me->RideHit) {
        fail("did not land on the lift");
        return;
    }
    note(std::string("landed after ") + step.name + " at " + describe(positionOf(me->TransMatrix)));
    nextStep();
}

}  // namespace gametest
