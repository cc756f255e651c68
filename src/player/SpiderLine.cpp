#include "SpiderLine.h"

#include <cstdlib>

#include "ComRelease.h"
#include "GameHelpers.h"
#include "Graphics.h"
#include "Stage.h"

using namespace game;

namespace {

const D3DXVECTOR3 FORWARD(0.0f, 0.0f, 1.0f);

// The thread leaves from the player's back.
const float BACK_HEIGHT = 1.2f;
// A shot climbs or dives 1.5 times the pitch direction's height per frame.
const float SHOT_CLIMB = 1.5f;
const float START_SPIN = 20.0f;
const float SPIN_PER_FRAME = 40.0f;
const float PULL_ACCEL = 0.08f;
const float REEL_SPEED_LIMIT = 1.3f;
const float PULL_SPEED_LIMIT = 1.5f;
const float BALL_GROWTH = 0.1f;
const float BALL_MAX_SCALE = 5.0f;
const float BALL_MIN_SCALE = 1.0f;
// A reeled catch has arrived once the ball is this close to the player.
const float CATCH_ARRIVES = 4.0f;
// The pull ends once the thread's end is this close to the anchor.
const float PULL_ARRIVES = 1.0f;
// Beyond this from the shoulder the thread vanishes.
const float THREAD_REACH = 60.0f;
// The ball sits this far above a lift's position.
const float LIFT_ANCHOR_HEIGHT = 2.5f;

const float BALL_DRAG_CHANGE = 0.00005f;
const float BALL_GRAVITY = 0.001f;
const float BALL_WALL_DIP = -0.1f;

// Launch wave: grows to half-size 18.
const float WAVE_SIZE = 18.0f;

// The aiming guide shows 60 frames of flight.
const float GUIDE_CLIMB = 90.0f;
const float GUIDE_REACH = 60.0f;
const float GUIDE_HALF_WIDTH = 0.05f;
const D3DCOLOR GUIDE_COLOUR = 0x7DFF0000;
const D3DCOLOR THREAD_COLOUR = 0xFFFFFFFF;
const float THREAD_HALF_WIDTH = 0.05f;
const float THINNING_PER_UNIT = 0.0001f;

const float MARKER_START_SCALE = 0.7f;
const float MARKER_END_SCALE = 0.5f;
const float MARKER_SHRINK = 0.01f;
const float MARKER_SPIN = 1.5f;
const D3DXVECTOR3 MARKER_CENTRE(128.0f, 128.0f, 0.0f);

const char* const SOUND_FILES[SpiderLine::SOUND_COUNT] = {
    "data/Sound/SE/Line.wav",   "data/Sound/SE/Ball.wav",    "data/Sound/SE/LineReverse.wav",
    "data/Sound/SE/Search.wav", "data/Sound/SE/LockOn.wav",  "data/Sound/SE/LineHit.wav",
    "data/Sound/SE/BallBreak.wav",
};

bool buttonHeld() { return (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0; }

// Z turned as a direction by `rotation`, as a unit vector.
D3DXVECTOR3 forwardOf(const D3DXMATRIX& rotation) {
    D3DXVECTOR3 out;
    D3DXVec3TransformNormal(&out, &FORWARD, &rotation);
    return unitOrZero(out);
}

void setVertex(EffectVertex& v, float x, float y, float z, D3DCOLOR colour, float u, float w) {
    v.x = x;
    v.y = y;
    v.z = z;
    v.color = colour;
    v.u = u;
    v.v = w;
}

}  // namespace

SpiderLine::SpiderLine()
    : Aiming(0), WaveOn(0), SpinDeg(START_SPIN), MarkerDeg(0.0f), LineLength(0.0f), Thinning(0.0f),
      PullSpeed(0.0f), PullAccel(PULL_ACCEL), BallDrag(1.0f), TargetIndex(0), MarkerSprite(nullptr),
      MarkerTexture(nullptr), MarkerScale(MARKER_START_SCALE), Locked(0) {
    D3DXMatrixIdentity(&LineOrigin);
    D3DXMatrixIdentity(&WaveAt);
    D3DXMatrixIdentity(&AimMatrix);
    D3DXMatrixIdentity(&StepMatrix);
    for (int q = 0; q < 2; ++q) {
        for (int v = 0; v < 4; ++v) {
            ThreadQuads[q][v] = EffectVertex();
            AimQuads[q][v] = EffectVertex();
        }
    }
    for (int i = 0; i < SOUND_COUNT; ++i) {
        SeBuffers[i] = nullptr;
        Se3D[i] = nullptr;
    }

    Scale = 0.0f;
    Mode = 0;
    Caught = 0;
    BallMode = 0;
    Anchored = 0;
    for (Fragment& piece : Fragments) piece.active = 0;
    WaveSize = 0.0f;
    FallSpeed = 0.0f;
    D3DXMatrixScaling(&ScaleMatrix, Scale, Scale, Scale);
    D3DXMatrixMultiply(&WorldMatrix, &ScaleMatrix, &TransMatrix);
    Kind = KIND_SPIDER_LINE;

    IDirect3DDevice9* device = Graphics::get().device;
    BodyMesh.load(device, "data/LineBall/LineBall.x");
    for (Fragment& piece : Fragments) piece.mesh.load(device, "data/LineBall/LineBallDeb.x");
    ThreadTexture.load("data/Texture/SpiderLine.bmp", true);
    LoadTexture(&MarkerTexture, "data/Texture/Marker.png", 512, 512, 0);
    D3DXCreateSprite(device, &MarkerSprite);
    if (MarkerSprite) MarkerSprite->OnResetDevice();
    WaveTexture.load("data/LineBall/Wave.png", true);
    loadSoundSet(SeBuffers, Se3D, SOUND_FILES, SOUND_COUNT);
}

SpiderLine::~SpiderLine() {
    ThreadTexture.release();
    // The marker and the sounds are the thread's own as well.
    releaseInterface(MarkerSprite);
    releaseInterface(MarkerTexture);
    releaseSoundSet(SeBuffers, Se3D, SOUND_COUNT);
}

void SpiderLine::playSound(int index) {
    if (SeBuffers[index]) SeBuffers[index]->Play(0, 0, 0);
}

void SpiderLine::rewindSound(int index) {
    if (!SeBuffers[index]) return;
    SeBuffers[index]->Stop();
    SeBuffers[index]->SetCurrentPosition(0);
}

void SpiderLine::Update() {
    const CharaBase* player = firstOfKind(KIND_PLAYER);
    // A dead player's thread freezes for good.
    if (!player || player->Life < 1) return;
    const CharaBase* camera = firstOfKind(KIND_CAMERA);

    if (Mode == 0) homeStep(player, camera);
    if (Mode == 1) {
        const D3DXVECTOR3 p = positionOf(player->TransMatrix);
        if (Anchored == 0) D3DXMatrixTranslation(&LineOrigin, p.x, p.y + BACK_HEIGHT, p.z);
        if (BallMode == 0) threadFlight(player);
        if (BallMode == 1 && Caught == 0) ballFlight();
    } else if (BallMode == 0) {
        rewindSound(SOUND_LINE);
    }
    if (Anchored == 1 && TargetIndex >= 0 && static_cast<size_t>(TargetIndex) < objects().size()) {
        AttachTo(objects()[TargetIndex]);
    }

    SpinDeg += SPIN_PER_FRAME;
    D3DXMatrixRotationZ(&RotZMatrix, SpinDeg * DEGREES_TO_RADIANS);
    D3DXMatrixScaling(&ScaleMatrix, Scale, Scale, Scale);
    D3DXMatrixMultiply(&WorldMatrix, &RotZMatrix, &ScaleMatrix);
    D3DXMatrixMultiply(&WorldMatrix, &WorldMatrix, &TransMatrix);

    piecesStep();
    launchWaveStep(player);
}

void SpiderLine::homeStep(const CharaBase* player, const CharaBase* camera) {
    if (buttonHeld()) {
        Aiming = 1;
        playSound(SOUND_SEARCH);
        return;
    }
    rewindSound(SOUND_SEARCH);
    rewindSound(SOUND_LOCK_ON);
    if (Aiming == 1) shoot(player, camera);
}

void SpiderLine::shoot(const CharaBase* player, const CharaBase* camera) {
    playSound(BallMode == 0 ? SOUND_LINE : SOUND_BALL);
    const D3DXVECTOR3 p = positionOf(player->TransMatrix);
    D3DXMatrixTranslation(&TransMatrix, p.x, p.y + BACK_HEIGHT, p.z);
    D3DXMATRIX pitch;
    if (camera) {
        pitch = camera->RotXMatrix;
    } else {
        D3DXMatrixIdentity(&pitch);
    }
    Velocity = forwardOf(pitch) * SHOT_CLIMB;
    Move = forwardOf(player->RotYMatrix);
    Thinning = 0.0f;
    SpinDeg = START_SPIN;
    Caught = 0;
    Mode = 1;
    Aiming = 0;
    WaveSize = 0.0f;
    WaveOn = 1;
}

void SpiderLine::threadFlight(const CharaBase* player) {
    if (Caught == 0) {
        flyOut();
        if (Caught == 1) {
            rewindSound(SOUND_LINE);
            playSound(SOUND_LINE_REVERSE);
        }
    }
    if (Caught == 1) reelIn(player);

    LineLength = distanceBetween(positionOf(TransMatrix), positionOf(LineOrigin));
    if (LineLength > THREAD_REACH) {
        Scale = 0.0f;
        Mode = 0;
        BallMode = 0;
        // A vanished reel must not hand its speed on to the next one; a pull runs on.
        if (Anchored == 0) PullSpeed = 0.0f;
    }
}

void SpiderLine::flyOut() {
    StepMatrix = translation(D3DXVECTOR3(Move.x, Velocity.y, Move.z));
    if (Anchored == 0) {
        D3DXMatrixMultiply(&TransMatrix, &TransMatrix, &StepMatrix);
        FieldMesh = arenaMesh();
        const D3DXVECTOR3 ahead(Move.x, 0.0f, Move.z);
        if (WallCheck(&arenaWorld(), &FieldMesh, &TransMatrix, &ahead, 0)) OnCrash(this);
    }
    // Ropes are tested after lifts and win when both are ahead.
    anchorAhead(KIND_LIFT);
    anchorAhead(KIND_ROPE);
    // An anchored thread catches nothing: a reel would take the pull over half-way and
    // leave the player's end of the thread behind at the anchor.
    if (Anchored == 1) return;
    for (CharaBase* fly : objectsOfKind(KIND_DRAGONFLY)) {
        if (IsNear(fly) && fly->Dead == 0) {
            Caught = 1;
            fly->OnCaught(this);
            playSound(SOUND_LINE_HIT);
        }
    }
}

void SpiderLine::anchorAhead(int kind) {
    for (CharaBase* anchor : objectsOfKind(kind)) {
        FieldMesh = anchor->BoxMesh.mesh;
        if (RayAhead(&anchor->WorldMatrix, &FieldMesh)) {
            playSound(SOUND_LINE_REVERSE);
            TargetIndex = objects().indexOf(anchor);
            Anchored = 1;
            return;
        }
    }
}

void SpiderLine::reelIn(const CharaBase* player) {
    if (PullSpeed < REEL_SPEED_LIMIT) PullSpeed += PullAccel;
    const D3DXMATRIX forward = translation(D3DXVECTOR3(0.0f, 0.0f, PullSpeed));
    D3DXMatrixMultiply(&TransMatrix, &forward, &TransMatrix);
    const D3DXVECTOR3 p = positionOf(player->TransMatrix);
    pointZAxisAt(TransMatrix, p);
    if (Scale < BALL_MAX_SCALE) Scale += BALL_GROWTH;

    LineLength = distanceBetween(p, positionOf(WorldMatrix));
    if (LineLength < CATCH_ARRIVES) {
        Caught = 0;
        Mode = 0;
        BallMode = 1;
        if (Scale < BALL_MIN_SCALE) Scale = BALL_MIN_SCALE;
        PullSpeed = 0.0f;
        rewindSound(SOUND_LINE_REVERSE);
    }
}

void SpiderLine::ballFlight() {
    StepMatrix = translation(D3DXVECTOR3(Move.x, Velocity.y, Move.z));
    Move *= BallDrag;
    D3DXMatrixMultiply(&TransMatrix, &TransMatrix, &StepMatrix);
    // Thrown upward it speeds up a little every frame; level or downward it slows down.
    BallDrag += (Velocity.y > 0.0f) ? BALL_DRAG_CHANGE : -BALL_DRAG_CHANGE;
    FieldMesh = arenaMesh();
    const D3DXVECTOR3 ahead(Move.x, BALL_WALL_DIP, Move.z);
    if (Caught == 0 && WallCheck(&arenaWorld(), &FieldMesh, &TransMatrix, &ahead, 0)) OnCrash(this);
    TransMatrix._42 -= FallSpeed;
    FallSpeed += BALL_GRAVITY;
    if (Mode == 0) {
        FallSpeed = 0.0f;
        BallDrag = 1.0f;
    }
}

void SpiderLine::OnCrash(CharaBase*) {
    if (Mode != 1) return;
    if (BallMode == 1) {
        rewindSound(SOUND_BALL_BREAK);
        playSound(SOUND_BALL_BREAK);
        for (FragIndex = 0; FragIndex < 4; ++FragIndex) {
            Fragment& piece = Fragments[FragIndex];
            if (piece.active) continue;
            D3DXMatrixMultiply(&piece.origin, &ScaleMatrix, &TransMatrix);
            // Five draws per piece, in this order.
            piece.dx = static_cast<float>(std::rand() % 20 - 10) / 10.0f;
            piece.dz = static_cast<float>(std::rand() % 20 - 10) / 10.0f;
            D3DXMatrixTranslation(&piece.drift, piece.dx, 0.0f, piece.dz);
            D3DXMatrixRotationX(&piece.rotX, static_cast<float>(std::rand() % 20) * DEGREES_TO_RADIANS);
            D3DXMatrixRotationY(&piece.rotY, static_cast<float>(std::rand() % 20) * DEGREES_TO_RADIANS);
            piece.speed = static_cast<float>(std::rand() % 7 + 3) / 10.0f;
            piece.active = 1;
        }
    }
    Scale = 0.0f;
    Aiming = 0;
    Mode = 0;
    Caught = 0;
    BallMode = 0;
}

void SpiderLine::AttachTo(CharaBase* target) {
    if (BallMode == 1) return;
    Scale = 0.0f;
    Caught = 0;
    const D3DXVECTOR3 t = positionOf(target->TransMatrix);
    // On a lift the ball rides above the platform as it moves.
    const float lift = (target->Kind == KIND_LIFT) ? LIFT_ANCHOR_HEIGHT : 0.0f;
    D3DXMatrixTranslation(&TransMatrix, t.x, t.y + lift, t.z);

    const D3DXMATRIX forward = translation(D3DXVECTOR3(0.0f, 0.0f, PullSpeed));
    D3DXMatrixMultiply(&LineOrigin, &forward, &LineOrigin);
    if (PullSpeed < PULL_SPEED_LIMIT) PullSpeed += PullAccel;
    const D3DXVECTOR3 b = positionOf(TransMatrix);
    pointZAxisAt(LineOrigin, b);

    LineLength = distanceBetween(b, positionOf(LineOrigin));
    if (LineLength < PULL_ARRIVES) {
        Mode = 0;
        // The player is let go once the trailing camera has caught up.
        const CharaBase* camera = firstOfKind(KIND_CAMERA);
        if (camera && camera->Anchored == 0) Anchored = 0;
        PullSpeed = 0.0f;
        rewindSound(SOUND_LINE_REVERSE);
    }
}

void SpiderLine::piecesStep() {
    for (FragIndex = 0; FragIndex < 4; ++FragIndex) {
        Fragment& piece = Fragments[FragIndex];
        if (!piece.active) continue;
        FieldMesh = arenaMesh();
        // A piece with no ground below it has fallen through the floor.
        if (!FragmentGroundCheck(&arenaWorld(), &FieldMesh)) {
            piece.active = 0;
            continue;
        }
        piece.fly();
    }
}

void SpiderLine::launchWaveStep(const CharaBase* player) {
    if (WaveOn != 1) return;
    // Once anchored this is the wave's last frame.
    if (Anchored == 1) WaveOn = 0;
    WaveAt = player->TransMatrix;
    // Held at full size, undrawn, while the thread is out.
    if (DrawWaveEffect(&WaveAt, &WaveTexture.texture, WAVE_SIZE, &Mode)) WaveOn = 0;
}

void SpiderLine::Draw() {
    const CharaBase* player = firstOfKind(KIND_PLAYER);
    if (!player || player->Life < 1) return;
    const CharaBase* camera = firstOfKind(KIND_CAMERA);
    IDirect3DDevice9* device = Graphics::get().device;

    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    buildThreadStrip(player);
    if ((Mode == 1 || Anchored == 1) && BallMode == 0) drawThreadStrip();
    if (Mode == 0 && Anchored == 0 && Aiming == 1) aimAndLock(player, camera);
    for (FragIndex = 0; FragIndex < 4; ++FragIndex) {
        const Fragment& piece = Fragments[FragIndex];
        if (!piece.active) continue;
        drawModel(piece.mesh, piece.origin);
    }
    device->SetRenderState(D3DRS_LIGHTING, TRUE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    drawBall(player, camera);
}

void SpiderLine::buildThreadStrip(const CharaBase* player) {
    Thinning = LineLength * THINNING_PER_UNIT;
    const D3DXVECTOR3 b = positionOf(TransMatrix);
    const D3DXVECTOR3 p = positionOf(player->TransMatrix);
    const D3DXVECTOR3 e(p.x, p.y + BACK_HEIGHT, p.z);
    // The strip narrows as the thread grows longer.
    const float h = THREAD_HALF_WIDTH - Thinning;
    EffectVertex* flat = ThreadQuads[0];
    setVertex(flat[0], b.x - h, b.y, b.z - h, THREAD_COLOUR, 0.0f, 0.0f);
    setVertex(flat[1], b.x + h, b.y, b.z + h, THREAD_COLOUR, 1.0f, 0.0f);
    setVertex(flat[2], e.x + h, e.y, e.z + h, THREAD_COLOUR, 1.0f, 1.0f);
    setVertex(flat[3], e.x - h, e.y, e.z - h, THREAD_COLOUR, 0.0f, 1.0f);
    EffectVertex* upright = ThreadQuads[1];
    setVertex(upright[0], b.x, b.y - h, b.z - h, THREAD_COLOUR, 0.0f, 0.0f);
    setVertex(upright[1], b.x, b.y + h, b.z + h, THREAD_COLOUR, 1.0f, 0.0f);
    setVertex(upright[2], e.x, e.y + h, e.z + h, THREAD_COLOUR, 1.0f, 1.0f);
    setVertex(upright[3], e.x, e.y - h, e.z - h, THREAD_COLOUR, 0.0f, 1.0f);
}

void SpiderLine::drawThreadStrip() {
    IDirect3DDevice9* device = Graphics::get().device;
    // The vertices are world positions.
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    device->SetTransform(D3DTS_WORLD, &identity);
    device->SetFVF(EFFECT_VERTEX_FVF);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetTexture(0, ThreadTexture.texture);
    device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, ThreadQuads[0], sizeof(EffectVertex));
    device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, ThreadQuads[1], sizeof(EffectVertex));
    device->SetTexture(0, nullptr);
}

void SpiderLine::aimAndLock(const CharaBase* player, const CharaBase* camera) {
    D3DXMATRIX pitch;
    if (camera) {
        pitch = camera->RotXMatrix;
    } else {
        D3DXMatrixIdentity(&pitch);
    }
    Velocity = forwardOf(pitch) * GUIDE_CLIMB;
    Move = forwardOf(player->RotYMatrix) * GUIDE_REACH;
    StepMatrix = translation(D3DXVECTOR3(Move.x, Velocity.y, Move.z));
    AimMatrix = StepMatrix;

    if (BallMode == 0) {
        // The first box in list order on the line wins, not the nearest: lifts and ropes
        // are taken together in list order, so this walks the list itself.
        for (size_t i = 0; i < objects().size(); ++i) {
            CharaBase* target = objects()[i];
            if (target->Kind != KIND_LIFT && target->Kind != KIND_ROPE) continue;
            if (lockTest(player, target)) {
                TargetIndex = static_cast<int>(i);
                Locked = 1;
                playSound(SOUND_LOCK_ON);
                break;
            }
            Locked = 0;
        }
        if (Locked == 1) {
            drawMarker(objects()[TargetIndex], camera);
        } else {
            MarkerScale = MARKER_START_SCALE;
        }
    }
    drawAimGuide(player);
}

BOOL SpiderLine::lockTest(const CharaBase* player, CharaBase* target) {
    const D3DXVECTOR3 p = positionOf(player->TransMatrix);
    const D3DXVECTOR3 launch(p.x, p.y + BACK_HEIGHT, p.z);
    const D3DXVECTOR3 aim = positionOf(AimMatrix);
    castRay(&target->WorldMatrix, target->BoxMesh.mesh, launch, aim, &RayOrigin, &RayDir, &Hit, nullptr, &HitDist);
    // The ray is the whole guide: a distance below 1 lies within its 60 frames.
    return Hit && HitDist < 1.0f;
}

void SpiderLine::drawMarker(const CharaBase* target, const CharaBase* camera) {
    if (!MarkerSprite) return;
    MarkerSprite->Begin(D3DXSPRITE_ALPHABLEND);
    D3DVIEWPORT9 viewport;
    Graphics::get().device->GetViewport(&viewport);
    D3DXVECTOR3 onScreen(0.0f, 0.0f, 0.0f);
    if (camera) {
        D3DXMATRIX identity;
        D3DXMatrixIdentity(&identity);
        const D3DXVECTOR3 at = positionOf(target->TransMatrix);
        D3DXVec3Project(&onScreen, &at, &viewport, &g_stage.projection, &camera->AuxMatrix2, &identity);
    }
    D3DXMATRIX spin;
    D3DXMATRIX size;
    D3DXMATRIX place;
    D3DXMatrixRotationZ(&spin, MarkerDeg * DEGREES_TO_RADIANS);
    D3DXMatrixScaling(&size, MarkerScale, MarkerScale, MarkerScale);
    D3DXMatrixTranslation(&place, onScreen.x, onScreen.y, 0.0f);
    D3DXMATRIX marker;
    D3DXMatrixMultiply(&marker, &spin, &size);
    D3DXMatrixMultiply(&marker, &marker, &place);
    MarkerDeg += MARKER_SPIN;
    if (MarkerScale > MARKER_END_SCALE) MarkerScale -= MARKER_SHRINK;
    MarkerSprite->SetTransform(&marker);
    MarkerSprite->Draw(MarkerTexture, nullptr, &MARKER_CENTRE, nullptr, 0xFFFFFFFF);
    MarkerSprite->End();
}

void SpiderLine::drawAimGuide(const CharaBase* player) {
    const D3DXVECTOR3 a = positionOf(AimMatrix);
    const float w = GUIDE_HALF_WIDTH;
    const float y = BACK_HEIGHT;
    EffectVertex* flat = AimQuads[0];
    setVertex(flat[0], a.x - w, a.y + y, a.z - w, GUIDE_COLOUR, 0.0f, 0.0f);
    setVertex(flat[1], a.x + w, a.y + y, a.z + w, GUIDE_COLOUR, 0.0f, 0.0f);
    setVertex(flat[2], w, y, w, GUIDE_COLOUR, 0.0f, 0.0f);
    setVertex(flat[3], -w, y, -w, GUIDE_COLOUR, 0.0f, 0.0f);
    EffectVertex* upright = AimQuads[1];
    setVertex(upright[0], a.x, a.y + y - w, a.z - w, GUIDE_COLOUR, 0.0f, 0.0f);
    setVertex(upright[1], a.x, a.y + y + w, a.z + w, GUIDE_COLOUR, 0.0f, 0.0f);
    setVertex(upright[2], 0.0f, y + w, w, GUIDE_COLOUR, 0.0f, 0.0f);
    setVertex(upright[3], 0.0f, y - w, -w, GUIDE_COLOUR, 0.0f, 0.0f);

    IDirect3DDevice9* device = Graphics::get().device;
    device->SetFVF(EFFECT_VERTEX_FVF);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetTexture(0, nullptr);
    device->SetTransform(D3DTS_WORLD, &player->TransMatrix);
    device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, AimQuads[0], sizeof(EffectVertex));
    device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, AimQuads[1], sizeof(EffectVertex));
    const D3DXVECTOR3 p = positionOf(player->TransMatrix);
    const D3DXMATRIX at = translation(p);
    device->SetTransform(D3DTS_WORLD, &at);
}

void SpiderLine::drawBall(const CharaBase* player, const CharaBase* camera) {
    if (Mode == 0) {
        // Held at home: 1.2 up and Scale + 1 ahead of the player, tilting with the view.
        D3DXMatrixTranslation(&TransMatrix, 0.0f, BACK_HEIGHT, Scale + 1.0f);
        if (camera) RotXMatrix = camera->RotXMatrix;
        D3DXMatrixMultiply(&WorldMatrix, &ScaleMatrix, &TransMatrix);
        D3DXMatrixMultiply(&WorldMatrix, &WorldMatrix, &RotXMatrix);
        D3DXMatrixMultiply(&WorldMatrix, &WorldMatrix, &player->WorldMatrix);
    }
    drawModel(BodyMesh, WorldMatrix);
}
