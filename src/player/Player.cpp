#include "Player.h"

#include <cstdlib>

#include "GameHelpers.h"
#include "Graphics.h"
#include "SpiderLine.h"

using namespace game;

namespace {

const float PI = 3.1415927f;
const D3DXVECTOR3 START_POSITION(0.0f, 5.0f, 73.0f);

// Walking: 0.3 units a frame in any direction, diagonals included.
const float WALK_SPEED = 0.3f;
// A pulled player hangs this far below the thread's end.
const float BACK_HEIGHT = 1.2f;
// Left with this upward speed when the pull ends in the air: a small hop before falling.
const float PULL_HOP = -0.1f;

// A non-lethal hit knocks the player up: it rises at this speed, slowing by 0.01 a frame.
const float KNOCK_UP_SPEED = -0.3f;
const float KNOCK_UP_SLOWING = 0.01f;
const float DAMAGE_FLASH_SIZE = 0.35f;
const float EXPLOSION_RISE = 0.5f;

// Smoke rises from a player with 5 points or fewer, a darker one at 2 or fewer.
const int SMOKE_LIMIT = 5;
const int DARK_SMOKE_LIMIT = 2;
const float SMOKE_START_HEIGHT = 0.6f;

// The gait: a square of 1.1 per side in the body's Y-Z plane, 0.05 per call.
const float GAIT_SIDE = 1.1f;
const float GAIT_STEP = 0.05f;
const int GAIT_GROUP_A[4] = {0, 3, 4, 7};
const int GAIT_GROUP_B[4] = {1, 2, 5, 6};

struct LegPlacement {
    D3DXVECTOR3 offset;
    float turn;  // radians about Y; a left leg's is 180 degrees minus its right twin's
};
const LegPlacement LEGS[8] = {
    {D3DXVECTOR3(0.35f, 0.4f, 0.4f), -1.2217305f},   {D3DXVECTOR3(-0.35f, 0.4f, 0.4f), 4.3633232f},
    {D3DXVECTOR3(0.35f, 0.4f, 0.15f), -0.5235988f},  {D3DXVECTOR3(-0.35f, 0.4f, 0.15f), 3.6651914f},
    {D3DXVECTOR3(0.35f, 0.4f, 0.0f), 0.1745329f},    {D3DXVECTOR3(-0.35f, 0.4f, 0.0f), 2.9670596f},
    {D3DXVECTOR3(0.45f, 0.4f, -0.15f), 0.8726646f},  {D3DXVECTOR3(-0.45f, 0.4f, -0.15f), 2.2689280f},
};

const D3DCOLOR DAMAGE_BAR_COLOUR = 0x64FF6464;
const D3DCOLOR LIFE_BAR_COLOUR = 0xFF96FF96;
const D3DCOLOR FRAME_COLOUR = 0xFFFFFFFF;

const char* const SOUND_FILES[Player::SOUND_COUNT] = {
    "data/Sound/SE/ExploSE.wav",
    "data/Sound/SE/PlayMoveSE.wav",
    "data/Sound/SE/DamageSE.wav",
};

bool keyHeld(int virtualKey) { return (GetAsyncKeyState(virtualKey) & 0x8000) != 0; }

}  // namespace

Player::Player() : Staggered(0) {
    Move = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    Velocity = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    D3DXMatrixTranslation(&TransMatrix, START_POSITION.x, START_POSITION.y, START_POSITION.z);
    D3DXMatrixRotationY(&RotYMatrix, PI);
    D3DXMatrixMultiply(&WorldMatrix, &RotYMatrix, &TransMatrix);
    Dead = 0;
    EffectOn = 0;
    FallSpeed = 0.0f;
    Life = START_LIFE;
    GaugeShown = FULL_GAUGE;
    Active = 1;
    Mode = 0;
    RideHit = FALSE;
    for (int i = 0; i < SOUND_COUNT; ++i) {
        SeBuffers[i] = nullptr;
        Se3D[i] = nullptr;
    }
    for (EffectVertex& vertex : ExploQuad) vertex = EffectVertex();

    IDirect3DDevice9* device = Graphics::get().device;
    BodyMesh.load(device, "data/Chara/Spider/SpiderMachineBody2.x");
    LegMesh.load(device, "data/Chara/Spider/SpiderMachineArm2.x");
    BulletMesh.load(device, "data/Chara/Spider/SpiderMachineBullet.x");
    SubMesh.load(device, "data/Chara/Spider/SpiderMachineShadow.x");

    loadGauges("data/Texture/gauge2.png", "data/Texture/damagegauge2.png", "data/Texture/gaugeframe.png");
    RiseTexture.load("data/Texture/Smoke.png", true);
    SwellTexture.load("data/Texture/DamageWave.png", true);
    loadSoundSet(SeBuffers, Se3D, SOUND_FILES, SOUND_COUNT);

    for (int i = 0; i < 8; ++i) {
        D3DXMatrixRotationY(&LegTurn[i], LEGS[i].turn);
        D3DXMatrixTranslation(&Legs[i].trans, LEGS[i].offset.x, LEGS[i].offset.y, LEGS[i].offset.z);
        D3DXMatrixIdentity(&Legs[i].world);
    }
    D3DXMatrixTranslation(&BulletOffset, 0.0f, 1.2f, -0.5f);
    D3DXMatrixIdentity(&BulletWorld);
    Kind = KIND_PLAYER;
}

Player::~Player() {
    BulletMesh.release();
    LegMesh.release();
    // The gauges' sprites and textures and the sounds are the player's own as well.
    releaseGauges();
    releaseSoundSet(SeBuffers, Se3D, SOUND_COUNT);
}

void Player::playSound(int index) {
    if (SeBuffers[index]) SeBuffers[index]->Play(0, 0, 0);
}

void Player::Update() {
    if (Dead == 1) return;
    // Once the boss is beaten the player stands frozen.
    if (anyLifeGone(KIND_PILLBUGS)) return;
    FieldMesh = arenaMesh();
    // Built from last frame's values: the drawn body lags the position by one frame.
    D3DXMatrixMultiply(&WorldMatrix, &RotYMatrix, &TransMatrix);
    Mode = 0;
    Move = D3DXVECTOR3(0.0f, 0.0f, 0.0f);

    const CharaBase* camera = firstOfKind(KIND_CAMERA);
    if (camera) readWalkingKeys(camera);
    moveStep(camera);

    ShadowMatrix = WorldMatrix;
    PlaceShadow(&arenaWorld(), &FieldMesh, &WorldMatrix);
    if (EffectOn == 1) DrawSwellEffect(DAMAGE_FLASH_SIZE, &EffectTrans);

    contactStep();
    if (camera) gaitStep(camera);
}

void Player::readWalkingKeys(const CharaBase* camera) {
    const D3DXVECTOR3 forwardAxis(0.0f, 0.0f, 1.0f);
    const D3DXVECTOR3 rightAxis(1.0f, 0.0f, 0.0f);
    D3DXVECTOR3 forward;
    D3DXVECTOR3 right;
    D3DXVec3TransformNormal(&forward, &forwardAxis, &camera->RotYMatrix);
    D3DXVec3TransformNormal(&right, &rightAxis, &camera->RotYMatrix);
    // W wins over S and D over A.
    if (keyHeld('W')) {
        Move += forward;
        Mode = 1;
    } else if (keyHeld('S')) {
        Move -= forward;
        Mode = 1;
    }
    if (keyHeld('D')) {
        Move += right;
        Mode = 1;
    } else if (keyHeld('A')) {
        Move -= right;
        Mode = 1;
    }
}

void Player::moveStep(const CharaBase* camera) {
    for (CharaBase* line : objectsOfKind(KIND_SPIDER_LINE)) {
        if (line->BallMode == 0 && line->Anchored == 1) followThread(line);
    }
    if (camera) RotYMatrix = camera->RotYMatrix;

    if (D3DXVec3LengthSq(&Move) > 0.0f) D3DXVec3Normalize(&Move, &Move);
    if (Mode == 1) {
        Move *= WALK_SPEED;
        SlideOnWall(&arenaWorld(), &FieldMesh, &Move);
        const D3DXMATRIX step = translation(Move);
        D3DXMatrixMultiply(&TransMatrix, &TransMatrix, &step);
    }

    // While staggered the landing is the stagger step's business.
    if (Staggered != 0) return;
    for (CharaBase* lift : objectsOfKind(KIND_LIFT)) {
        if (RideOn(lift)) break;
    }
    if (RideHit == 0) GroundCheck(&arenaWorld(), &FieldMesh, &TransMatrix);
}

void Player::followThread(CharaBase* line) {
    const D3DXVECTOR3 end = positionOf(static_cast<SpiderLine*>(line)->LineOrigin);
    D3DXMatrixTranslation(&TransMatrix, end.x, end.y - BACK_HEIGHT, end.z);
    // The walking input of this frame is dropped.
    Mode = 0;
    Falling = 0;
    for (CharaBase* lift : objectsOfKind(KIND_LIFT)) {
        if (RideOn(lift)) {
            FallSpeed = 0.0f;
            break;
        }
        FallSpeed = PULL_HOP;
    }
}

void Player::contactStep() {
    if (Staggered == 0) {
        // Every touch costs a point, whatever touched first.
        for (CharaBase* fly : objectsOfKind(KIND_DRAGONFLY)) {
            if (fly->Dead == 0 && IsNear(fly) && fly->Caught == 0) {
                OnHit(this);
                fly->OnHit(fly);
            }
        }
        for (CharaBase* boss : objectsOfKind(KIND_PILLBUGS)) {
            if (boss->Dead == 0 && IsNear(boss)) OnHit(this);
        }
    }
    if (Staggered == 1) staggerStep();
}

void Player::staggerStep() {
    if (FallSpeed <= 0.0f) {
        TransMatrix._42 -= FallSpeed;
        FallSpeed += KNOCK_UP_SLOWING;
        return;
    }
    if (GroundCheck(&arenaWorld(), &FieldMesh, &TransMatrix)) {
        Staggered = 0;
        FallSpeed = 0.0f;
    }
    for (CharaBase* lift : objectsOfKind(KIND_LIFT)) {
        if (RideOn(lift)) {
            Staggered = 0;
            FallSpeed = 0.0f;
            break;
        }
    }
}

void Player::gaitStep(const CharaBase* camera) {
    if ((Mode == 1 || camera->Mode == 1) && Falling == 0) {
        playSound(SOUND_WALK);
        // All eight legs share one PathLeg/PathDist: the order of the calls matters.
        for (int leg : GAIT_GROUP_A) Legs[leg].trans = StepSquare(&Legs[leg].trans, GAIT_SIDE, GAIT_STEP);
        for (int leg : GAIT_GROUP_B) Legs[leg].trans = StepSquareReverse(&Legs[leg].trans, GAIT_SIDE, GAIT_STEP);
    }
    for (int i = 0; i < 8; ++i) {
        D3DXMatrixMultiply(&Legs[i].world, &LegTurn[i], &Legs[i].trans);
        D3DXMatrixMultiply(&Legs[i].world, &Legs[i].world, &WorldMatrix);
    }
    // The gun pitches with the view.
    D3DXMatrixMultiply(&BulletWorld, &camera->RotXMatrix, &BulletOffset);
    D3DXMatrixMultiply(&BulletWorld, &BulletWorld, &WorldMatrix);
}

void Player::OnHit(CharaBase*) {
    const D3DXVECTOR3 at = positionOf(TransMatrix);
    if (Life == 1) {
        playSound(SOUND_EXPLOSION);
        D3DXMatrixTranslation(&RiseTrans, at.x, at.y + EXPLOSION_RISE, at.z);
        Dead = 1;
        ExploFrame = 0;
        Life = 0;
        return;
    }
    playSound(SOUND_DAMAGE);
    Life -= 1;
    Staggered = 1;
    FallSpeed = KNOCK_UP_SPEED;
    EffectOn = 1;
    SwellSize = 0.0f;
    EffectTrans = translation(at);
}

void Player::Draw() {
    drawGauges();
    if (Dead == 1) {
        const CharaBase* camera = firstOfKind(KIND_CAMERA);
        if (camera) {
            D3DXMatrixMultiply(&RiseWorld, &camera->RotXMatrix, &camera->RotYMatrix);
            D3DXMatrixMultiply(&RiseWorld, &RiseWorld, &RiseTrans);
        }
        if (DrawExplosion(&RiseWorld, ExploQuad, &RiseTexture.texture)) Active = 0;
        return;
    }
    DrawRiseEffect(&TransMatrix, &RiseTexture.texture, SMOKE_LIMIT, DARK_SMOKE_LIMIT, SMOKE_START_HEIGHT);
    drawMeshes();
}

void Player::drawMeshes() {
    drawModel(BodyMesh, WorldMatrix);
    drawModel(SubMesh, ShadowMatrix);
    for (const Leg& leg : Legs) drawModel(LegMesh, leg.world);
    drawModel(BulletMesh, BulletWorld);
}

void Player::drawGauges() {
    if (GaugeShown <= 0) return;
    const D3DPRESENT_PARAMETERS& screen = Graphics::get().presentParams;
    const float width = static_cast<float>(screen.BackBufferWidth);
    const float height = static_cast<float>(screen.BackBufferHeight);

    // Both draws are made every frame; the shake shows only while staggered.
    const int shakeY = std::rand() % 20 - 10;
    const int shakeX = std::rand() % 20 - 10;
    D3DXMATRIX shake;
    D3DXMatrixTranslation(&shake, static_cast<float>(shakeX), static_cast<float>(shakeY), 0.0f);

    DamageGauge.source = sourceRect(0, 12, GaugeShown, 40);
    // The red bar runs down one pixel a frame to the life left.
    if (Life * PIXELS_PER_LIFE < GaugeShown) GaugeShown -= 1;
    D3DXMATRIX bars;
    D3DXMatrixTranslation(&bars, width - 421.0f, height - 50.0f, 0.0f);
    if (Staggered == 1) D3DXMatrixMultiply(&bars, &bars, &shake);
    drawGauge(DamageGauge, bars, DAMAGE_BAR_COLOUR);

    // Life below 0 (two hits in the frame of the lethal one) would be a negative width.
    LifeGauge.source = sourceRect(0, 12, Life * PIXELS_PER_LIFE, 40);
    if (Life >= 0) drawGauge(LifeGauge, bars, LIFE_BAR_COLOUR);

    FrameGauge.source = sourceRect(0, 0, FULL_GAUGE, 40);
    D3DXMATRIX frame;
    D3DXMatrixTranslation(&frame, width - 420.0f, height - 60.0f, 0.0f);
    if (Staggered == 1) D3DXMatrixMultiply(&frame, &frame, &shake);
    drawGauge(FrameGauge, frame, FRAME_COLOUR);
}

void Player::drawGauge(Gauge& gauge, const D3DXMATRIX& transform, D3DCOLOR colour) {
    if (!gauge.sprite) return;
    const D3DXVECTOR3 centre(0.0f, 0.0f, 0.0f);
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    gauge.sprite->Begin(D3DXSPRITE_ALPHABLEND);
    gauge.sprite->SetTransform(&transform);
    gauge.sprite->Draw(gauge.texture, &gauge.source, &centre, nullptr, colour);
    gauge.sprite->SetTransform(&identity);
    gauge.sprite->End();
}
