#include "PillBugs.h"

#include <cstdlib>

#include "ArenaZones.h"
#include "GameHelpers.h"
#include "Graphics.h"

using namespace game;

namespace {

const float DEGREES_PER_RADIAN = 57.29578f;
const float PI = 3.1415927f;
const float SCALE = 9.0f;
const D3DXVECTOR3 START_POSITION(-93.0f, 15.0f, -47.0f);

// A thrown ball this close hits the boss.
const float HIT_RANGE = 6.0f;
const D3DXVECTOR3 LOOK_AHEAD(0.0f, 0.0f, 0.1f);
const D3DXVECTOR3 ABOVE_PLAYER(0.0f, 1.0f, 0.0f);
const D3DXVECTOR3 ORIGIN(0.0f, 0.0f, 0.0f);

// Walking: 1 degree of turn and 0.2 of step a frame, legs tracing a square.
const float WALK_TURN = 0.017453292f;
const float WALK_STEP = 0.2f;
// Walk bursts go along one world axis, or step in place.
const D3DXVECTOR3 BURSTS[5] = {
    D3DXVECTOR3(1.0f, 0.0f, 0.0f),  D3DXVECTOR3(-1.0f, 0.0f, 0.0f), D3DXVECTOR3(0.0f, 0.0f, 1.0f),
    D3DXVECTOR3(0.0f, 0.0f, -1.0f), D3DXVECTOR3(0.0f, 0.0f, 0.0f),
};
const int STEP_IN_PLACE = 4;
const float LEG_SIDE = 0.7f;
const float LEG_STEP = 0.02f;
const int LEGS_FORWARD[4] = {0, 3, 4, 7};
const int LEGS_REVERSE[4] = {1, 2, 5, 6};
const D3DXVECTOR3 LEG_OFFSETS[8] = {
    D3DXVECTOR3(0.1f, 0.2f, -0.3f), D3DXVECTOR3(-0.1f, 0.2f, -0.3f), D3DXVECTOR3(0.1f, 0.2f, -0.1f),
    D3DXVECTOR3(-0.1f, 0.2f, -0.1f), D3DXVECTOR3(0.1f, 0.2f, 0.1f),  D3DXVECTOR3(-0.1f, 0.2f, 0.1f),
    D3DXVECTOR3(0.1f, 0.2f, 0.3f),  D3DXVECTOR3(-0.1f, 0.2f, 0.3f),
};

// Rolling: spins up by 0.3 degrees a frame to 30, then chases, turning slowly near the
// player and fast far from it.
const float SPIN_UP_SPEED = 30.0f;
const float SPIN_UP_STEP = 0.3f;
const float NEAR_PLAYER = 30.0f;
const float ROLL_TURN_NEAR = 0.008726646f;
const float ROLL_TURN_FAR = 0.034906585f;
const float ROLL_STEP = 0.07f;

const WallRay ROLL_WALLS[4] = {
    {D3DXVECTOR3(0.0f, 0.0f, 1.0f), 3},
    {D3DXVECTOR3(1.0f, 0.0f, 0.0f), 1},
    {D3DXVECTOR3(-1.0f, 0.0f, 0.0f), -1},
    {D3DXVECTOR3(0.0f, 0.0f, -1.0f), -3},
};
const D3DXVECTOR3 DOWN(0.0f, -1.0f, 0.0f);

// The hop of the fourth hit and the gravity that brings it down.
const float HOP_SPEED = 0.8f;
const float AIR_GRAVITY = 0.03f;
// The gun's explosion shows this far above the body.
const float GUN_EXPLOSION_HEIGHT = 7.0f;

const float DAMAGE_SWELL_SIZE = 0.8f;
// Smoke rises from under the body at 2 lives or fewer, darker at 1.
const float SMOKE_DEPTH_WALKING = 2.5f;
const float SMOKE_DEPTH_ROLLING = 5.0f;
const int SMOKE_LIMIT = 2;
const int DARK_SMOKE_LIMIT = 1;
const float SMOKE_START_HEIGHT = 0.15f;

const char* const SOUND_FILES[PillBugs::SOUND_COUNT] = {
    "data/Sound/SE/ExploSE.wav",  "data/Sound/SE/DamageSE.wav", "data/Sound/SE/BossExploSE.wav",
    "data/Sound/SE/RollOver.wav", "data/Sound/SE/BossMove.wav", "data/Sound/SE/Bound.wav",
    "data/Sound/SE/Ball.wav",     "data/Sound/SE/FirstRoll.wav", "data/Sound/SE/LoopRoll.wav",
};

// (rand() % 20 - 10) / 10: one of -1.0, -0.9, ... 0.9.
float randomDrift() { return (std::rand() % 20 - 10) / 10.0f; }

}  // namespace

PillBugs::PillBugs()
    : KnockVelocity(0.0f, 0.0f, 0.0f), RollSpeed(0.0f), WalkForm(1), GunLost(0), GunRise(0.0f), ShellFlying(0),
      ShellBurst(0), ShellDrop(0.0f), TargetYaw(0.0f), TurnDelta(0.0f) {
    D3DXMATRIX* identities[] = {&KnockStep,  &BallDrawMatrix, &GunMount,   &GunTumbleX,  &GunTumbleY,
                                &GunWorld,   &GunDrift,       &ShellStep,  &ShellMatrix, &BurstTrans,
                                &BurstWorld, &LegMirror};
    for (D3DXMATRIX* m : identities) D3DXMatrixIdentity(m);
    for (Leg& leg : Legs) {
        D3DXMatrixIdentity(&leg.local);
        D3DXMatrixIdentity(&leg.world);
    }
    D3DXMatrixScaling(&ShellScale, 0.9f, 0.9f, 0.9f);
    for (EffectVertex& vertex : BurstQuad) vertex = EffectVertex();
    for (int i = 0; i < SOUND_COUNT; ++i) {
        Sounds[i] = nullptr;
        Sounds3D[i] = nullptr;
    }

    Life = START_LIFE;
    Active = 1;
    Dead = 0;
    Mode = 0;
    GaugeShown = FULL_GAUGE;
    TransMatrix = translation(START_POSITION);
    D3DXMatrixRotationY(&RotYMatrix, 0.0f);
    D3DXMatrixScaling(&ScaleMatrix, SCALE, SCALE, SCALE);
    D3DXMatrixMultiply(&WorldMatrix, &ScaleMatrix, &RotYMatrix);
    D3DXMatrixMultiply(&WorldMatrix, &WorldMatrix, &TransMatrix);

    loadResources();
    layOutLegs();
    loadSoundSet(Sounds, Sounds3D, SOUND_FILES, SOUND_COUNT);
    Kind = KIND_PILLBUGS;
}

PillBugs::~PillBugs() {
    BurstTexture.release();
    ShellMesh.release();
    GunMesh.release();
    BallMesh.release();
    ArmMesh.release();
    releaseGauges();
    releaseSoundSet(Sounds, Sounds3D, SOUND_COUNT);
}

void PillBugs::loadResources() {
    IDirect3DDevice9* device = Graphics::get().device;
    BodyMesh.load(device, "data/Chara/PillBugs/PillBugs.x");
    ArmMesh.load(device, "data/Chara/PillBugs/PillBugsArm.x");
    GunMesh.load(device, "data/Chara/PillBugs/PillBugsGun.x");
    ShellMesh.load(device, "data/Chara/PillBugs/Shell.x");
    BallMesh.load(device, "data/Chara/PillBugs/PillBugsBall.x");
    loadGauges("data/Texture/damagegauge2.png", "data/Texture/damagegauge2.png", "data/Texture/Bossgaugeframe.png");
    RiseTexture.load("data/Texture/Smoke.png", true);
    BurstTexture.load("data/Texture/Smoke.png", true);
    SwellTexture.load("data/Texture/DamageWave.png", true);
    WaveTexture.load("data/LineBall/Wave.png", true);
}

void PillBugs::layOutLegs() {
    D3DXMatrixRotationY(&LegMirror, PI);
    for (int i = 0; i < 8; ++i) Legs[i].local = translation(LEG_OFFSETS[i]);
    D3DXMatrixIdentity(&GunMount);
    GunMount._42 = 0.45f;
    // On the back from the start: a shell fired in the boss's first frame leaves from
    // the gun, not from the world's origin.
    placeGun();
}

bool PillBugs::playerInRegion(const CharaBase* player) {
    if (!player) return false;
    const D3DXVECTOR3 at = positionOf(player->TransMatrix);
    return at.x <= arena::BOSS_WING_X && at.y <= arena::BOSS_WING_Y && at.z <= arena::BOSS_WING_Z;
}

void PillBugs::Update() {
    if (Active == 0) return;
    const CharaBase* player = firstOfKind(KIND_PLAYER);
    if (player && player->Life <= 0) {
        // The boss freezes where it is while the play is lost.
        if (WalkForm == 0) {
            silenceSound(Sounds[RollOverSound]);
            silenceSound(Sounds[LoopRollSound]);
        }
        return;
    }
    if (!playerInRegion(player)) return;

    checkThreadHit();
    if (WalkForm == 1 && GunLost == 0) {
        walk(player);
        launchShell();
        placeGun();
    }
    if (GunLost == 1) fallGun();
    if (WalkForm == 0) roll(player);
    if (ShellFlying == 1) flyShell();
    if (WalkForm == 0 || GunLost == 1) airborne();
    if (EffectOn == 1) DrawSwellEffect(DAMAGE_SWELL_SIZE, &EffectTrans);
    drawGauge();
}

void PillBugs::checkThreadHit() {
    for (CharaBase* line : objectsOfKind(KIND_SPIDER_LINE)) {
        // Only a thread flying out with a ball, and only the first such one.
        if (line->Mode != 1 || line->BallMode != 1 || line->Caught != 0) continue;
        if (IsInRange(line, HIT_RANGE)) {
            line->OnCrash(line);
            OnHit(this);
        }
        return;
    }
}

void PillBugs::headingAndAim(const CharaBase* player) {
    D3DXVECTOR3 ahead;
    D3DXVec3TransformNormal(&ahead, &LOOK_AHEAD, &WorldMatrix);
    Velocity = unitOrZero(ahead);
    Yaw = headingDegrees(Velocity, DEGREES_PER_RADIAN);

    D3DXVECTOR3 aim;
    D3DXVec3TransformCoord(&aim, &ABOVE_PLAYER, &player->TransMatrix);
    D3DXVECTOR3 own;
    D3DXVec3TransformCoord(&own, &ORIGIN, &WorldMatrix);
    Aux[21] = aim.x;
    Aux[22] = aim.y;
    Aux[23] = aim.z;
    Aux[24] = own.x;
    Aux[25] = own.y;
    Aux[26] = own.z;
    TargetYaw = headingDegrees(unitOrZero(aim - own), DEGREES_PER_RADIAN);
    TurnDelta = wrapDegrees(TargetYaw - Yaw);
}

void PillBugs::walk(const CharaBase* player) {
    headingAndAim(player);
    RotYMatrix = yawStepToward(TurnDelta, WALK_TURN);

    if (Mode == 0) {
        const int burst = std::rand() % 5;
        Move = BURSTS[burst];
        // A step in place is a shorter burst.
        AuxWord3 = burst == STEP_IN_PLACE ? 25 + std::rand() % 25 : 50 + std::rand() % 50;
        Mode = 1;
    } else {
        AuxWord3 -= 1;
    }
    if (Mode == 1) animateLegs();
    placeLegs();

    if (Mode != 1) return;
    if (AuxWord3 <= 0) {
        // No step and no turn: the next frame chooses a new burst.
        Mode = 0;
        return;
    }
    playSound(Sounds[MoveSound]);
    FieldMesh = arenaMesh();
    Move = unitOrZero(Move) * WALK_STEP;
    SlideOnWall(&arenaWorld(), &FieldMesh, &Move);
    TransMatrix = translation(Move);
    D3DXMatrixMultiply(&WorldMatrix, &RotYMatrix, &WorldMatrix);
    D3DXMatrixMultiply(&WorldMatrix, &WorldMatrix, &TransMatrix);
    AuxWord3 -= 1;
}

void PillBugs::animateLegs() {
    // All eight calls share the one square-path progress: their order matters.
    for (int leg : LEGS_FORWARD) Legs[leg].local = StepSquare(&Legs[leg].local, LEG_SIDE, LEG_STEP);
    for (int leg : LEGS_REVERSE) Legs[leg].local = StepSquareReverse(&Legs[leg].local, LEG_SIDE, LEG_STEP);
}

void PillBugs::placeLegs() {
    for (int i = 0; i < 8; ++i) {
        if (i % 2 == 0) {
            D3DXMatrixMultiply(&Legs[i].world, &Legs[i].local, &WorldMatrix);
        } else {
            D3DXMatrixMultiply(&Legs[i].world, &LegMirror, &Legs[i].local);
            D3DXMatrixMultiply(&Legs[i].world, &Legs[i].world, &WorldMatrix);
        }
    }
}

void PillBugs::roll(const CharaBase* player) {
    if (Active == 0) return;
    D3DXMatrixRotationX(&RotXMatrix, Pitch * DEGREES_TO_RADIANS);
    Pitch += RollSpeed;

    if (RollSpeed < SPIN_UP_SPEED) {
        // Spinning up in place.
        playSound(Sounds[FirstRollSound]);
        RollSpeed += SPIN_UP_STEP;
    } else {
        headingAndAim(player);
        FragValue = distanceBetween(positionOf(player->WorldMatrix), positionOf(WorldMatrix));
        RotYMatrix = yawStepToward(TurnDelta, FragValue < NEAR_PLAYER ? ROLL_TURN_NEAR : ROLL_TURN_FAR);
        Move = D3DXVECTOR3(0.0f, 0.0f, ROLL_STEP);
        FieldMesh = arenaMesh();
        if (bounceOffWalls()) playSound(Sounds[BoundSound]);

        // The step is in the scaled model space: 0.63 world units along the heading.
        D3DXMatrixTranslation(&TransMatrix, 0.0f, 0.0f, Move.z);
        D3DXMATRIX turnAndStep;
        D3DXMatrixMultiply(&turnAndStep, &RotYMatrix, &TransMatrix);
        D3DXMatrixMultiply(&WorldMatrix, &turnAndStep, &WorldMatrix);
        crushDragonFlies();
        if (Life > 0) {
            playSound(Sounds[RollOverSound]);
            silenceSound(Sounds[FirstRollSound]);
            playSound(Sounds[LoopRollSound]);
        }
    }
    D3DXMatrixMultiply(&BallDrawMatrix, &RotXMatrix, &WorldMatrix);
}

bool PillBugs::bounceOffWalls() {
    // A wall closer than 3 pushes the ball back and turns it away.
    for (const WallRay& ray : ROLL_WALLS) {
        if (WallCheck(&arenaWorld(), &FieldMesh, &WorldMatrix, &ray.dir, ray.side)) return true;
    }
    return false;
}

void PillBugs::crushDragonFlies() {
    for (CharaBase* fly : objectsOfKind(KIND_DRAGONFLY)) {
        if (IsNear(fly)) fly->OnHit(fly);
    }
}

void PillBugs::airborne() {
    FieldMesh = arenaMesh();
    // Coming down onto ground within 3: it stands.
    if (FallSpeed < 0.0f && WallCheck(&arenaWorld(), &FieldMesh, &WorldMatrix, &DOWN, 0)) return;
    KnockStep = translation(KnockVelocity);
    if (!WallCheck(&arenaWorld(), &FieldMesh, &WorldMatrix, &KnockVelocity, 0)) {
        D3DXMatrixMultiply(&WorldMatrix, &WorldMatrix, &KnockStep);
    }
    WorldMatrix._42 += FallSpeed;
    FallSpeed -= AIR_GRAVITY;
    // In the air the ball is drawn without its roll.
    BallDrawMatrix = WorldMatrix;
}

void PillBugs::OnHit(CharaBase*) {
    if (WalkForm == 1) {
        if (Life > GUN_LIFE) {
            ordinaryHit();
        } else {
            blowGunOff();
        }
    } else if (Life > LAST_LIFE) {
        ordinaryHit();
    } else {
        destroy();
    }
}

void PillBugs::ordinaryHit() {
    playSound(Sounds[DamageSound]);
    Life -= 1;
    EffectOn = 1;
    SwellSize = 0.0f;
    EffectTrans = translation(positionOf(WorldMatrix));
}

void PillBugs::blowGunOff() {
    restartSound(Sounds[ExploSound]);
    Dead = 1;
    ExploFrame = 0;
    RiseTrans = translation(positionOf(WorldMatrix) + D3DXVECTOR3(0.0f, GUN_EXPLOSION_HEIGHT, 0.0f));
    GunLost = 1;
    setGunLaunch();
    Pitch = 0.0f;
    const float knockX = randomDrift();
    const float knockZ = randomDrift();
    KnockVelocity = D3DXVECTOR3(knockX, 0.0f, knockZ);
    Life -= 1;
    FallSpeed = HOP_SPEED;
}

void PillBugs::destroy() {
    silenceSound(Sounds[LoopRollSound]);
    silenceSound(Sounds[RollOverSound]);
    playSound(Sounds[BossExploSound]);
    Dead = 1;
    ExploFrame = 0;
    // The final explosion is nine times larger.
    const D3DXMATRIX at = translation(positionOf(WorldMatrix));
    D3DXMatrixMultiply(&RiseTrans, &ScaleMatrix, &at);
    BallMesh.release();
    BodyMesh.release();
    ArmMesh.release();
    Life = 0;
}

void PillBugs::Draw() {
    if (!playerInRegion(firstOfKind(KIND_PLAYER))) return;
    if (WalkForm == 1 && GunLost == 0) {
        drawModel(BodyMesh, WorldMatrix);
        for (const Leg& leg : Legs) drawModel(ArmMesh, leg.world);
    }
    drawModel(GunMesh, GunWorld);
    if (WalkForm == 0 || GunLost == 1) drawModel(BallMesh, BallDrawMatrix);
    drawShell();

    if (Dead == 1) drawExplosion();
    drawBurst();
    if (Dead == 0) drawSmoke();
    drawMuzzleWave();
}

void PillBugs::drawExplosion() {
    D3DXMATRIX facing;
    if (cameraFacing(&facing)) D3DXMatrixMultiply(&RiseWorld, &facing, &RiseTrans);
    if (!DrawExplosion(&RiseWorld, AuxBlock.quad, &RiseTexture.texture)) return;
    if (WalkForm == 1) {
        // The break is over: the rolling form begins.
        WalkForm = 0;
        Dead = 0;
    } else {
        Active = 0;
    }
}

void PillBugs::drawSmoke() {
    const D3DXVECTOR3 at = positionOf(WorldMatrix);
    const float depth = WalkForm == 1 ? SMOKE_DEPTH_WALKING : SMOKE_DEPTH_ROLLING;
    D3DXMATRIX below;
    D3DXMatrixTranslation(&below, at.x, at.y - depth, at.z);
    D3DXMatrixMultiply(&TransMatrix, &ScaleMatrix, &below);
    DrawRiseEffect(&TransMatrix, &RiseTexture.texture, SMOKE_LIMIT, DARK_SMOKE_LIMIT, SMOKE_START_HEIGHT);
}
