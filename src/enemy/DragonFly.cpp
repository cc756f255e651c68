#include "DragonFly.h"

#include <cstdlib>

#include "ArenaZones.h"
#include "GameHelpers.h"
#include "Graphics.h"

using namespace game;

namespace {

const float DEGREES_PER_RADIAN = 57.2957763671875f;
const float PI = 3.14159274f;
const float SCALE = 1.2f;
const float CLIMB_SPEED = 0.02f;

// The target point sits this far above the player's position.
const D3DXVECTOR3 ABOVE_PLAYER(0.0f, 1.0f, 0.0f);
const D3DXVECTOR3 LOOK_AHEAD(0.0f, 0.0f, 0.1f);
const D3DXVECTOR3 ORIGIN(0.0f, 0.0f, 0.0f);

// Wings beat 15 degrees a step up to 50, then turn round.
const float FLAP_STEP = 15.0f;
const float FLAP_LIMIT = 50.0f;

// A thrown ball this close destroys the dragonfly.
const float STRIKE_RANGE = 2.0f;
const float DAMAGE_WAVE_SIZE = 5.0f;

const int SMOKE_LAST_CELL = 50;
const int SMOKE_STEP = 2;

const WallRay WALL_RAYS[5] = {
    {D3DXVECTOR3(0.0f, 0.0f, 1.0f), 3},   {D3DXVECTOR3(1.0f, 0.0f, 0.0f), 1},
    {D3DXVECTOR3(0.0f, 1.0f, 0.0f), 2},   {D3DXVECTOR3(-1.0f, 0.0f, 0.0f), -1},
    {D3DXVECTOR3(0.0f, 0.0f, -1.0f), -3},
};

const char* const EXPLOSION_SOUND[1] = {"data/Sound/SE/ExploSE.wav"};

D3DXMATRIX wingOffset(float z) {
    D3DXMATRIX m;
    D3DXMatrixTranslation(&m, 0.0f, 0.3f, z);
    return m;
}

// a x b x c
D3DXMATRIX product(const D3DXMATRIX& a, const D3DXMATRIX& b, const D3DXMATRIX& c) {
    D3DXMATRIX out;
    D3DXMatrixMultiply(&out, &a, &b);
    D3DXMatrixMultiply(&out, &out, &c);
    return out;
}

// a x b x c x d
D3DXMATRIX product(const D3DXMATRIX& a, const D3DXMATRIX& b, const D3DXMATRIX& c, const D3DXMATRIX& d) {
    D3DXMATRIX out = product(a, b, c);
    D3DXMatrixMultiply(&out, &out, &d);
    return out;
}

}  // namespace

DragonFly::DragonFly(float speed)
    : exploBuffer(nullptr), exploBuffer3D(nullptr), bearing(0.0f), turn(0.0f), flapDir(0), flapAngle(0.0f),
      climbSpeed(0.0f) {
    D3DXMatrixIdentity(&flapA);
    D3DXMatrixIdentity(&flapB);
    D3DXMatrixRotationZ(&mirror, PI);
    wingOffset1 = wingOffset(0.1f);
    wingOffset2 = wingOffset(0.1f);
    wingOffset3 = wingOffset(-0.1f);
    wingOffset4 = wingOffset(-0.1f);
    D3DXMatrixIdentity(&wingWorld1);
    D3DXMatrixIdentity(&wingWorld2);
    D3DXMatrixIdentity(&wingWorld3);
    D3DXMatrixIdentity(&wingWorld4);

    if (bornInStartArea()) {
        // Never updated or drawn; it stays in the list as an empty object.
        Active = 0;
        Dead = 0;
        Mode = 0;
        ReleaseMeshes();
        return;
    }

    Move = D3DXVECTOR3(0.0f, 0.0f, speed);
    placeByPlayer();
    ExploFrame = 0;
    FragDone = 0;
    Dead = 0;
    Active = 1;
    Caught = 0;
    Mode = 1;
    climbSpeed = CLIMB_SPEED;

    IDirect3DDevice9* device = Graphics::get().device;
    BodyMesh.load(device, "data/Chara/DragonFly/DragonFlyBody.x");
    BoxMesh.load(device, "data/Chara/DragonFly/DragonFlyBox.x");
    SubMesh.load(device, "data/Chara/DragonFly/DragonFlyShadow.x");
    frontWingMesh.load(device, "data/Chara/DragonFly/DragonFlyFlont.x");
    backWingMesh.load(device, "data/Chara/DragonFly/DragonFlyBack.x");
    for (Fragment& piece : Fragments) piece.mesh.load(device, "data/Chara/DragonFly/DragonFlyDebris.x");
    RiseTexture.load("data/Texture/Smoke.png", true);
    SwellTexture.load("data/Texture/DamageWave.png", true);
    loadSoundSet(&exploBuffer, &exploBuffer3D, EXPLOSION_SOUND, 1);

    Kind = KIND_DRAGONFLY;
}

DragonFly::~DragonFly() {
    backWingMesh.release();
    frontWingMesh.release();
    releaseSoundSet(&exploBuffer, &exploBuffer3D, 1);
}

bool DragonFly::bornInStartArea() const {
    const CharaBase* player = firstOfKind(KIND_PLAYER);
    return player && player->TransMatrix._43 > arena::START_AREA_Z && player->TransMatrix._42 < arena::START_AREA_TOP;
}

void DragonFly::placeByPlayer() {
    // The play's first dragonfly is made before the player: it starts at the origin.
    D3DXVECTOR3 at(0.0f, 0.0f, 0.0f);
    const CharaBase* player = firstOfKind(KIND_PLAYER);
    if (player) {
        const float x = player->TransMatrix._41;
        const float y = player->TransMatrix._42;
        const float z = player->TransMatrix._43;
        const bool hall =
            z < arena::START_AREA_Z && z > arena::FAR_AREA_Z && y < arena::HALL_TOP && x > arena::HALL_WEST_X;
        const bool highBack = z > arena::START_AREA_Z && y >= arena::HIGH_BACK_BOTTOM;
        const bool bossApproach = z < arena::BOSS_APPROACH_Z && x < arena::BOSS_APPROACH_X;
        if (hall || highBack || bossApproach) {
            const int r1 = std::rand();
            const int r2 = std::rand();
            const int r3 = std::rand();
            if (hall) {
                at = D3DXVECTOR3(static_cast<float>(36 - r3 % 72), static_cast<float>(r2 % 9 + 1),
                                 static_cast<float>(31 - r1 % 62));
            } else if (highBack) {
                at = D3DXVECTOR3(static_cast<float>(-(r3 % 30) - 27), static_cast<float>(r2 % 10 + 90),
                                 static_cast<float>(80 - r1 % 30));
            } else {
                at = D3DXVECTOR3(static_cast<float>(-(r3 % 54) - 66), static_cast<float>(r2 % 5 + 18),
                                 static_cast<float>(17 - r1 % 50));
            }
        }
    }
    TransMatrix = translation(at);
    D3DXMatrixScaling(&ScaleMatrix, SCALE, SCALE, SCALE);
    D3DXMatrixMultiply(&WorldMatrix, &ScaleMatrix, &TransMatrix);
}

void DragonFly::Update() {
    if (Active == 0) return;
    // Everything freezes while the play is being decided.
    if (anyLifeGone(KIND_PLAYER) || anyLifeGone(KIND_PILLBUGS)) return;

    steer();
    flapWings();

    FieldMesh = arenaMesh();
    ShadowMatrix = WorldMatrix;
    PlaceShadow(&arenaWorld(), &FieldMesh, &WorldMatrix);
    TransMatrix = WorldMatrix;

    if (Dead == 1) breakApart();
    // The wave is held by EffectOn itself: it grows to its size and then stays hidden.
    if (EffectOn == 1) DrawWaveEffect(&EffectTrans, &SwellTexture.texture, DAMAGE_WAVE_SIZE, &EffectOn);
    followThread();
    checkStruck();
    checkFarZone();

    WorldMatrix = TransMatrix;
    pushOffWalls();
}

void DragonFly::steer() {
    if (Mode == 0) return;
    const CharaBase* player = firstOfKind(KIND_PLAYER);
    if (!player) return;

    D3DXVECTOR3 ahead;
    D3DXVec3TransformNormal(&ahead, &LOOK_AHEAD, &WorldMatrix);
    Velocity = unitOrZero(ahead);
    Yaw = headingDegrees(Velocity, DEGREES_PER_RADIAN);

    D3DXVECTOR3 target;
    D3DXVec3TransformCoord(&target, &ABOVE_PLAYER, &player->TransMatrix);
    D3DXVECTOR3 own;
    D3DXVec3TransformCoord(&own, &ORIGIN, &WorldMatrix);
    const D3DXVECTOR3 toTarget = unitOrZero(target - own);
    bearing = headingDegrees(toTarget, DEGREES_PER_RADIAN);

    turn = wrapDegrees(bearing - Yaw);
    RotYMatrix = yawStepToward(turn, DEGREES_TO_RADIANS);

    D3DXMatrixTranslation(&TransMatrix, 0.0f, 0.0f, Move.z);
    // Never level: always climbing toward or sinking below the point above the player.
    if (player->TransMatrix._42 + 1.0f > WorldMatrix._42) {
        TransMatrix._42 += climbSpeed;
    } else {
        TransMatrix._42 -= climbSpeed;
    }
    // Step and turn in the dragonfly's own scaled space.
    D3DXMATRIX stepAndTurn;
    D3DXMatrixMultiply(&stepAndTurn, &TransMatrix, &RotYMatrix);
    D3DXMatrixMultiply(&WorldMatrix, &stepAndTurn, &WorldMatrix);
}

void DragonFly::flapWings() {
    flapA = flapStep(flapA, 1.0f);
    flapB = flapStep(flapB, -1.0f);
    wingWorld1 = product(flapB, wingOffset1, WorldMatrix);
    wingWorld2 = product(mirror, flapA, wingOffset2, WorldMatrix);
    wingWorld3 = product(flapB, wingOffset3, WorldMatrix);
    wingWorld4 = product(mirror, flapA, wingOffset4, WorldMatrix);
}

// One stroke step shared by both wing pairs; `sign` is +1 for pair A, -1 for pair B.
D3DXMATRIX DragonFly::flapStep(const D3DXMATRIX& current, float sign) {
    if (flapDir != 0 && flapDir != 1) return current;
    if (flapAngle >= FLAP_LIMIT) {
        flapDir = 1 - flapDir;
        flapAngle = 0.0f;
        return current;
    }
    const float direction = (flapDir == 0) ? sign : -sign;
    D3DXMATRIX result;
    D3DXMatrixRotationZ(&result, direction * flapAngle * DEGREES_TO_RADIANS);
    flapAngle += FLAP_STEP;
    return result;
}

void DragonFly::breakApart() {
    D3DXMATRIX facing;
    if (cameraFacing(&facing)) D3DXMatrixMultiply(&RiseWorld, &facing, &RiseTrans);

    EffectVertex* smoke = AuxBlock.quad;
    const float xs[4] = {-8.0f, 8.0f, 8.0f, -8.0f};
    const float ys[4] = {8.0f, 8.0f, -8.0f, -8.0f};
    for (int i = 0; i < 4; ++i) {
        smoke[i].x = xs[i];
        smoke[i].y = ys[i];
        smoke[i].z = 0.0f;
        smoke[i].color = 0xFFFFFFFF;
    }
    setSheetCell(smoke, ExploFrame);

    for (FragIndex = 0; FragIndex < 4; ++FragIndex) {
        Fragment& piece = Fragments[FragIndex];
        FieldMesh = arenaMesh();
        if (FragmentGroundCheck(&arenaWorld(), &FieldMesh)) {
            piece.fly();
        } else {
            // Gone below the ground or out of the arena.
            FragDone += 1;
            piece.active = 0;
            piece.mesh.release();
        }
    }
    if (ExploFrame <= SMOKE_LAST_CELL) ExploFrame += SMOKE_STEP;
    if (FragDone >= 4) {
        FragIndex = 4;
        ExploFrame = 0;
        Active = 0;
        Dead = 0;
    }

    DrawQuad(&RiseWorld, smoke, &RiseTexture.texture);
    for (const Fragment& piece : Fragments) {
        if (piece.active == 1) drawModel(piece.mesh, piece.origin);
    }
}

void DragonFly::followThread() {
    for (const CharaBase* line : objectsOfKind(KIND_SPIDER_LINE)) {
        if (Caught != 1) continue;
        TransMatrix = line->TransMatrix;
        WorldMatrix = line->TransMatrix;
        // The thread has let go, or vanished out of reach: the catch is used up.
        if (line->Caught == 0 || line->Mode == 0) {
            Caught = 0;
            Active = 0;
        }
    }
}

void DragonFly::checkStruck() {
    for (CharaBase* line : objectsOfKind(KIND_SPIDER_LINE)) {
        // IsInRange also needs the thread out (Mode 1): the ball has been thrown.
        if (line->BallMode == 1 && line->Caught == 0 && IsInRange(line, STRIKE_RANGE)) OnHit(this);
    }
}

void DragonFly::checkFarZone() {
    for (const CharaBase* player : objectsOfKind(KIND_PLAYER)) {
        if (player->TransMatrix._43 < arena::FAR_AREA_Z) ReleaseMeshes();
    }
}

void DragonFly::pushOffWalls() {
    // Only the push-back matters: the turn WallCheck leaves is replaced by the next steer.
    for (const WallRay& ray : WALL_RAYS) WallCheck(&arenaWorld(), &FieldMesh, &WorldMatrix, &ray.dir, ray.side);
}

void DragonFly::OnHit(CharaBase*) {
    // Already breaking apart: a ball or the boss still passing through strikes nothing.
    if (Dead == 1) return;
    const D3DXVECTOR3 at = positionOf(TransMatrix);
    for (FragIndex = 0; FragIndex < 4; ++FragIndex) {
        Fragment& piece = Fragments[FragIndex];
        piece.origin = translation(at);
        const int r1 = std::rand();
        const int r2 = std::rand();
        const int r3 = std::rand();
        const int r4 = std::rand();
        const int r5 = std::rand();
        D3DXMatrixTranslation(&piece.drift, (r2 % 20 - 10) / 10.0f, 0.0f, (r1 % 20 - 10) / 10.0f);
        D3DXMatrixRotationX(&piece.rotX, static_cast<float>(r3 % 20) * DEGREES_TO_RADIANS);
        D3DXMatrixRotationY(&piece.rotY, static_cast<float>(r4 % 20) * DEGREES_TO_RADIANS);
        piece.speed = (r5 % 7 + 3) / 10.0f;
        piece.active = 1;
    }
    RiseTrans = translation(at);

    if (exploBuffer) exploBuffer->Play(0, 0, 0);

    Mode = 0;
    BodyMesh.release();
    frontWingMesh.release();
    backWingMesh.release();
    SubMesh.release();
    Dead = 1;
}

void DragonFly::OnCaught(CharaBase*) {
    Caught = 1;
    EffectTrans = translation(positionOf(WorldMatrix));
    EffectOn = 1;
}

void DragonFly::Draw() {
    if (Active == 0) return;
    drawModel(BodyMesh, WorldMatrix);
    drawModel(frontWingMesh, wingWorld1);
    drawModel(frontWingMesh, wingWorld2);
    drawModel(backWingMesh, wingWorld3);
    drawModel(backWingMesh, wingWorld4);
    drawModel(SubMesh, ShadowMatrix);
}

void DragonFly::ReleaseMeshes() {
    Active = 0;
    Dead = 0;
    Mode = 0;
    BodyMesh.release();
    frontWingMesh.release();
    backWingMesh.release();
    SubMesh.release();
}
