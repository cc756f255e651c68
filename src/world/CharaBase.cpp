#include "CharaBase.h"

#include <cmath>
#include <cstring>

#include "ComRelease.h"
#include "GameHelpers.h"
#include "Graphics.h"
#include "SoundLoader.h"
#include "SubField.h"

using game::distanceBetween;
using game::positionOf;

namespace {

const D3DXVECTOR3 DOWN(0.0f, -1.0f, 0.0f);

// Gravity grows by this much per frame until it has reached FALL_SPEED_LIMIT.
const float FALL_ACCEL = 0.008f;
const float FALL_SPEED_LIMIT = 0.45f;
// Closer than this below the feet counts as standing.
const float STAND_HEIGHT = 0.5f;

const float WALL_NEAR = 3.0f;
const float WALL_STEP_BACK = 0.5f;
const float WALL_TURN = 2.2689280f;         // 130 degrees
const float WALL_TURN_FROM_BACK = 2.0943952f;  // 120 degrees

const float RAY_AHEAD_RANGE = 4.0f;
const float NEAR_DISTANCE = 3.0f;

// Sprite sheets are 8 x 8 cells of 32 pixels in a 256-pixel texture.
const int SHEET_COLUMNS = 8;
const float SHEET_CELL = 32.0f / 256.0f;
const int EXPLOSION_LAST_CELL = 50;

// Debris pieces lose this much upward speed a frame.
const float FRAGMENT_GRAVITY = 0.05f;

const D3DCOLOR OPAQUE_WHITE = 0xFFFFFFFF;
const D3DCOLOR WAVE_COLOUR = 0xAAFFFFFF;

void setCorners(EffectVertex quad[4], float left, float top, float right, float bottom, float z,
                D3DCOLOR colour) {
    const float xs[4] = {left, right, right, left};
    const float ys[4] = {top, top, bottom, bottom};
    for (int i = 0; i < 4; ++i) {
        quad[i].x = xs[i];
        quad[i].y = ys[i];
        quad[i].z = z;
        quad[i].color = colour;
    }
}

void setWholeTexture(EffectVertex quad[4]) {
    const float us[4] = {0.0f, 1.0f, 1.0f, 0.0f};
    const float vs[4] = {0.0f, 0.0f, 1.0f, 1.0f};
    for (int i = 0; i < 4; ++i) {
        quad[i].u = us[i];
        quad[i].v = vs[i];
    }
}

}  // namespace

void setSheetCell(EffectVertex quad[4], int cell) {
    const float u0 = static_cast<float>(cell % SHEET_COLUMNS) * SHEET_CELL;
    const float v0 = static_cast<float>(cell / SHEET_COLUMNS) * SHEET_CELL;
    const float u1 = u0 + SHEET_CELL;
    const float v1 = v0 + SHEET_CELL;
    const float us[4] = {u0, u1, u1, u0};
    const float vs[4] = {v0, v0, v1, v1};
    for (int i = 0; i < 4; ++i) {
        quad[i].u = us[i];
        quad[i].v = vs[i];
    }
}

Fragment::Fragment()
    : dx(0.0f), dy(0.0f), dz(0.0f), speed(0.0f), active(0), rayOrigin(0.0f, 0.0f, 0.0f),
      rayDir(0.0f, 0.0f, 0.0f), rayDist(0.0f), rayHit(FALSE) {
    D3DXMatrixIdentity(&rotY);
    D3DXMatrixIdentity(&rotX);
    D3DXMatrixIdentity(&drift);
    D3DXMatrixIdentity(&origin);
}

void Fragment::fly() {
    D3DXMATRIX tumble;
    D3DXMatrixMultiply(&tumble, &rotX, &rotY);
    D3DXMatrixMultiply(&origin, &tumble, &origin);
    D3DXMatrixMultiply(&origin, &origin, &drift);
    origin._42 += speed;
    speed -= FRAGMENT_GRAVITY;
}

CharaBase::CharaBase()
    : AuxWord1(0), AuxWord2(0), Move(0.0f, 0.0f, 0.0f), Velocity(0.0f, 0.0f, 0.0f), FieldMesh(nullptr),
      RayOrigin(0.0f, 0.0f, 0.0f), RayDir(0.0f, 0.0f, 0.0f), Kind(KIND_BASE), Life(0), FadeAlpha(0),
      AuxWord3(0), Yaw(0.0f), Pitch(0.0f), AuxWord4(0), HitDist(0.0f), FallSpeed(0.0f), Scale(0.0f),
      PathDist(0.0f), PathLeg(0), AuxWord5(0), Mode(0), Active(0), Falling(0), Anchored(0), Hit(FALSE),
      Caught(0), BallMode(0), Dead(0), RideHit(FALSE), AuxWord6(0), AuxWord7(0), AuxWord8(0),
      SwellSize(0.0f), EffectOn(0), ExploFrame(0), RiseCell(0), RiseSize(0.0f), RiseHeight(0.0f),
      WaveSize(0.0f), Sound(nullptr), DupBuffer(nullptr), FragValue(0.0f), FragIndex(0), FragDone(0),
      GaugeShown(0), LifeGauge(), DamageGauge(), FrameGauge() {
    D3DXMATRIX* identities[] = {&WorldMatrix, &TransMatrix, &RotYMatrix, &RotXMatrix, &RotZMatrix,
                                &ScaleMatrix, &AuxMatrix1,  &AuxMatrix2, &ShadowMatrix, &AuxMatrix3,
                                &AuxMatrix4,  &AuxMatrix5,  &AuxMatrix6, &AuxMatrix7, &EffectTrans,
                                &SwellWorld,  &RiseTrans,   &RiseWorld,  &AuxMatrix8, &AuxMatrix9,
                                &WaveWorld,   &AuxMatrix10};
    for (D3DXMATRIX* m : identities) D3DXMatrixIdentity(m);
    InvMatrix = D3DXMATRIX(0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                           0.0f, 0.0f);
    std::memset(Aux, 0, sizeof Aux);
    std::memset(&AuxBlock, 0, sizeof AuxBlock);
    std::memset(RiseQuad, 0, sizeof RiseQuad);
    std::memset(WaveQuad, 0, sizeof WaveQuad);
    std::memset(SwellQuad, 0, sizeof SwellQuad);
}

CharaBase::~CharaBase() {
    for (Fragment& fragment : Fragments) fragment.mesh.release();
    WaveTexture.release();
    RiseTexture.release();
    SwellTexture.release();
    SubMesh.release();
    BoxMesh.release();
    BodyMesh.release();
}

void CharaBase::Draw() {}

void CharaBase::ReleaseMeshes() { BodyMesh.release(); }

void CharaBase::InitSound3D(IDirectSoundBuffer8* buffer8, IDirectSound3DBuffer* buffer3d) {
    if (!DupBuffer) return;
    if (SUCCEEDED(DupBuffer->QueryInterface(IID_IDirectSoundBuffer8, reinterpret_cast<void**>(&buffer8)))) {
        buffer8->SetVolume(10);
        if (SUCCEEDED(buffer8->QueryInterface(IID_IDirectSound3DBuffer, reinterpret_cast<void**>(&buffer3d)))) {
            buffer3d->SetMode(DS3DMODE_NORMAL, DS3D_IMMEDIATE);
            buffer3d->SetPosition(0.0f, 0.0f, 0.0f, DS3D_IMMEDIATE);
            buffer3d->Release();
        }
        buffer8->Release();
    }
    // The duplicate is never played: keeping any reference to it would only leak it.
    DupBuffer->Release();
    DupBuffer = nullptr;
}

HRESULT CharaBase::LoadTexture(IDirect3DTexture9** out, const char* file, UINT width, UINT height,
                               D3DCOLOR colorKey) {
    return D3DXCreateTextureFromFileExA(Graphics::get().device, file, width ? width : D3DX_DEFAULT,
                                        height ? height : D3DX_DEFAULT, 1, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED,
                                        D3DX_FILTER_NONE, D3DX_DEFAULT, colorKey, nullptr, nullptr, out);
}

void CharaBase::castRay(const D3DXMATRIX* world, ID3DXMesh* mesh, const D3DXVECTOR3& start,
                        const D3DXVECTOR3& dir, D3DXVECTOR3* meshOrigin, D3DXVECTOR3* meshDir, BOOL* hit,
                        DWORD* faceIndex, float* dist) {
    // The arena never moves and keeps its inverse: the rays of a thousand dragonflies a
    // frame need not invert the same matrix again each time.
    if (world == &g_subField.world) {
        InvMatrix = g_subField.inverseWorld;
    } else {
        D3DXMatrixInverse(&InvMatrix, nullptr, world);
    }
    D3DXVec3TransformCoord(meshOrigin, &start, &InvMatrix);
    D3DXVec3TransformNormal(meshDir, &dir, &InvMatrix);
    // An object whose mesh failed to load has nothing to be hit.
    if (!mesh) {
        *hit = FALSE;
        return;
    }
    D3DXIntersect(mesh, meshOrigin, meshDir, hit, faceIndex, nullptr, nullptr, dist, nullptr, nullptr);
}

void CharaBase::loadGauges(const char* lifeFile, const char* damageFile, const char* frameFile) {
    struct GaugeFile {
        Gauge* gauge;
        const char* file;
    };
    const GaugeFile gauges[3] = {{&LifeGauge, lifeFile}, {&DamageGauge, damageFile}, {&FrameGauge, frameFile}};
    for (const GaugeFile& entry : gauges) {
        LoadTexture(&entry.gauge->texture, entry.file, 1280, 256, 0);
        D3DXCreateSprite(Graphics::get().device, &entry.gauge->sprite);
        if (entry.gauge->sprite) entry.gauge->sprite->OnResetDevice();
    }
}

void CharaBase::releaseGauges() {
    for (Gauge* gauge : {&LifeGauge, &DamageGauge, &FrameGauge}) {
        releaseInterface(gauge->sprite);
        releaseInterface(gauge->texture);
    }
}

void CharaBase::loadSoundSet(IDirectSoundBuffer8* buffers[], IDirectSound3DBuffer* buffers3D[],
                             const char* const files[], int count) {
    if (FAILED(DirectSoundCreate8(nullptr, &Sound, nullptr))) Sound = nullptr;
    g_soundLoader.setUpPrimary(Sound);
    if (!Sound) return;
    for (int i = 0; i < count; ++i) {
        g_soundLoader.loadWave(&buffers[i], &buffers3D[i], files[i], Sound);
        if (buffers3D[i]) buffers3D[i]->SetMode(DS3DMODE_NORMAL, DS3D_IMMEDIATE);
        // Only the last duplicate reaches InitSound3D: let go of an earlier one first.
        releaseInterface(DupBuffer);
        if (buffers[i]) Sound->DuplicateSoundBuffer(reinterpret_cast<IDirectSoundBuffer*>(buffers[i]), &DupBuffer);
    }
    for (int i = 0; i < count; ++i) InitSound3D(buffers[i], buffers3D[i]);
}

void CharaBase::fallStep() {
    TransMatrix._42 -= FallSpeed;
    if (FallSpeed < FALL_SPEED_LIMIT) FallSpeed += FALL_ACCEL;
    Falling = 1;
}

BOOL CharaBase::GroundCheck(const D3DXMATRIX* groundWorld, ID3DXMesh** ground, const D3DXMATRIX* own) {
    castRay(groundWorld, *ground, positionOf(*own), DOWN, &RayOrigin, &RayDir, &Hit, nullptr, &HitDist);
    if (Hit) {
        if (HitDist > STAND_HEIGHT) {
            fallStep();
            return FALSE;
        }
        if (Falling == 1) {
            FallSpeed = 0.0f;
            Falling = 0;
            return TRUE;
        }
        return FALSE;
    }
    // The point is under the surface: climb back by most of the last known distance.
    TransMatrix._42 += 0.8f * HitDist;
    FallSpeed = 0.0f;
    Falling = 0;
    return TRUE;
}

void CharaBase::PlaceShadow(const D3DXMATRIX* groundWorld, ID3DXMesh** ground, const D3DXMATRIX* own) {
    castRay(groundWorld, *ground, positionOf(*own), DOWN, &RayOrigin, &RayDir, &Hit, nullptr, &HitDist);
    if (Hit) ShadowMatrix._42 = WorldMatrix._42 + 0.1f - HitDist;
}

BOOL CharaBase::RideOn(CharaBase* platform) {
    castRay(&platform->WorldMatrix, platform->BoxMesh.mesh, positionOf(TransMatrix), DOWN, &RayOrigin,
            &RayDir, &RideHit, nullptr, &HitDist);
    if (!RideHit) return FALSE;
    if (HitDist >= STAND_HEIGHT) {
        fallStep();
        return TRUE;
    }
    if (Mode == 0 || Mode == 1) {
        // The platform's step turned into world space. Its world matrix also scales the
        // box, so keep only the turn: the rider moves exactly as far as the platform.
        D3DXVECTOR3 step;
        D3DXVec3TransformNormal(&step, &platform->Velocity, &platform->WorldMatrix);
        D3DXVec3Normalize(&step, &step);
        Velocity = step * D3DXVec3Length(&platform->Velocity);
        if (platform->Mode == 0) {
            Move += Velocity;
        } else {
            Move -= Velocity;
        }
        D3DXMATRIX carry;
        if (Mode == 0) {
            D3DXMatrixTranslation(&carry, Move.x, Move.y, Move.z);
        } else {
            D3DXMatrixTranslation(&carry, 0.0f, Move.y, 0.0f);
        }
        D3DXMatrixMultiply(&TransMatrix, &TransMatrix, &carry);
    }
    FallSpeed = 0.0f;
    Falling = 0;
    return TRUE;
}

BOOL CharaBase::WallCheck(const D3DXMATRIX* wallWorld, ID3DXMesh** wall, const D3DXMATRIX* own,
                          const D3DXVECTOR3* dir, int side) {
    castRay(wallWorld, *wall, positionOf(*own), *dir, &RayOrigin, &RayDir, &Hit, nullptr, &HitDist);
    // The arena is closed: a ray that meets nothing started outside it.
    if (!Hit) return TRUE;
    if (HitDist >= WALL_NEAR) return FALSE;
    switch (side) {
        case 1:
            WorldMatrix._41 -= WALL_STEP_BACK;
            D3DXMatrixRotationY(&RotYMatrix, WALL_TURN);
            return TRUE;
        case -1:
            WorldMatrix._41 += WALL_STEP_BACK;
            D3DXMatrixRotationY(&RotYMatrix, WALL_TURN);
            return TRUE;
        case 2:
            WorldMatrix._42 -= WALL_STEP_BACK;
            D3DXMatrixRotationY(&RotYMatrix, WALL_TURN);
            return TRUE;
        case 3:
            WorldMatrix._43 -= WALL_STEP_BACK;
            D3DXMatrixRotationY(&RotYMatrix, WALL_TURN);
            return TRUE;
        case -3:
            WorldMatrix._43 += WALL_STEP_BACK;
            D3DXMatrixRotationY(&RotYMatrix, WALL_TURN_FROM_BACK);
            return TRUE;
        case 0:
            return TRUE;
        default:
            return FALSE;
    }
}

BOOL CharaBase::RayAhead(const D3DXMATRIX* world, ID3DXMesh** mesh) {
    const D3DXVECTOR3 dir(Move.x, Velocity.y, Move.z);
    castRay(world, *mesh, positionOf(TransMatrix), dir, &RayOrigin, &RayDir, &Hit, nullptr, &HitDist);
    return Hit && HitDist < RAY_AHEAD_RANGE;
}

BOOL CharaBase::IsNear(CharaBase* other) {
    if (other->Active == 0) return FALSE;
    return distanceBetween(positionOf(WorldMatrix), positionOf(other->WorldMatrix)) < NEAR_DISTANCE;
}

BOOL CharaBase::IsInRange(CharaBase* other, float radius) {
    if (other->Mode == 0) return FALSE;
    D3DXMATRIX placed;
    D3DXMatrixMultiply(&placed, &other->ScaleMatrix, &other->TransMatrix);
    return radius > distanceBetween(positionOf(placed), positionOf(WorldMatrix));
}

void CharaBase::OnHit(CharaBase*) {}

void CharaBase::OnCrash(CharaBase*) {}

void CharaBase::AttachTo(CharaBase*) {}

void CharaBase::OnCaught(CharaBase*) {}

void CharaBase::SpareHook(void*) {}

void CharaBase::DrawSwellEffect(float maxSize, const D3DXMATRIX* at) {
    D3DXMATRIX turn;
    if (game::cameraFacing(&turn)) D3DXMatrixMultiply(&SwellWorld, &turn, at);
    if (maxSize > SwellSize) {
        SwellSize += maxSize / 9.0f;
    } else {
        EffectOn = 0;
    }
    const float s = 8.0f * SwellSize;
    setCorners(SwellQuad, -s, s + 0.5f, s, 0.5f - s, 0.0f, OPAQUE_WHITE);
    setWholeTexture(SwellQuad);
    DrawQuad(&SwellWorld, SwellQuad, &SwellTexture.texture);
}

void CharaBase::DrawRiseEffect(const D3DXMATRIX* at, IDirect3DTexture9** tex, int limitA, int limitB,
                               float startHeight) {
    if (Life > limitA && Life > limitB) return;
    RiseCell = (Life <= limitA && Life > limitB) ? 29 : 22;

    D3DXMATRIX turn;
    if (RiseSize < 12.0f) {
        RiseSize = 38.0f;
        if (game::cameraFacing(&turn)) {
            D3DXMatrixMultiply(&RiseWorld, &turn, at);
            RiseHeight = startHeight;
        }
    } else {
        RiseSize -= 3.0f;
        D3DXMatrixTranslation(&RiseTrans, 0.5f * RiseHeight, RiseHeight, -RiseHeight);
        if (game::cameraFacing(&turn)) {
            D3DXMatrixMultiply(&RiseWorld, &RiseTrans, &turn);
            D3DXMatrixMultiply(&RiseWorld, &RiseWorld, at);
            RiseHeight += 0.1f;
        }
    }
    const float h = 8.0f / RiseSize;
    setCorners(RiseQuad, -h, h + 0.5f, h, 0.5f - h, 0.0f, OPAQUE_WHITE);
    setSheetCell(RiseQuad, RiseCell);
    DrawQuad(&RiseWorld, RiseQuad, tex);
}

BOOL CharaBase::DrawWaveEffect(const D3DXMATRIX* at, IDirect3DTexture9** tex, float maxSize, const int* hold) {
    D3DXMATRIX turn;
    if (game::cameraFacing(&turn)) D3DXMatrixMultiply(&WaveWorld, &turn, at);
    const float s = WaveSize;
    setCorners(WaveQuad, -s, s + 0.5f, s, 0.5f - s, 1.0f, WAVE_COLOUR);
    WaveSize += 0.6f;
    if (WaveSize > maxSize) {
        // Held: stay hidden and keep growing. Otherwise the wave is over.
        if (hold && *hold != 0) return FALSE;
        WaveSize = 0.0f;
        return TRUE;
    }
    setWholeTexture(WaveQuad);
    DrawQuad(&WaveWorld, WaveQuad, tex);
    return FALSE;
}

BOOL CharaBase::DrawExplosion(D3DXMATRIX* at, EffectVertex quad[4], IDirect3DTexture9** tex) {
    setCorners(quad, -8.0f, 8.0f, 8.0f, -8.0f, 0.0f, OPAQUE_WHITE);
    setSheetCell(quad, ExploFrame);
    if (ExploFrame > EXPLOSION_LAST_CELL) {
        ExploFrame = 0;
        return TRUE;
    }
    ++ExploFrame;
    DrawQuad(at, quad, tex);
    return FALSE;
}

void CharaBase::DrawQuad(D3DXMATRIX* world, const EffectVertex quad[4], IDirect3DTexture9** tex) {
    IDirect3DDevice9* device = Graphics::get().device;
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetFVF(EFFECT_VERTEX_FVF);
    device->SetTexture(0, tex ? *tex : nullptr);
    device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    device->SetTransform(D3DTS_WORLD, world);
    device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, quad, sizeof(EffectVertex));
    device->SetTexture(0, nullptr);
    device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    D3DXMatrixIdentity(world);
    device->SetTransform(D3DTS_WORLD, world);
    device->SetRenderState(D3DRS_LIGHTING, TRUE);
}

D3DXMATRIX CharaBase::StepSquare(const D3DXMATRIX* in, float legLength, float step) {
    D3DXMATRIX out = *in;
    if (PathLeg < 0 || PathLeg > 3) return out;
    if (PathDist <= legLength) {
        switch (PathLeg) {
            case 0: out._42 += step; break;
            case 1: out._43 += step; break;
            case 2: out._42 -= step; break;
            default: out._43 -= step; break;
        }
        PathDist += step;
    } else {
        PathLeg = (PathLeg + 1) % 4;
        PathDist = 0.0f;
    }
    return out;
}

D3DXMATRIX CharaBase::StepSquareReverse(const D3DXMATRIX* in, float legLength, float step) {
    D3DXMATRIX out = *in;
    if (PathLeg < 0 || PathLeg > 3) return out;
    if (PathDist <= legLength) {
        switch (PathLeg) {
            case 0: out._43 -= step; break;
            case 1: out._42 += step; break;
            case 2: out._43 += step; break;
            default: out._42 -= step; break;
        }
        PathDist += step;
    } else {
        PathLeg = (PathLeg + 1) % 4;
        PathDist = 0.0f;
    }
    return out;
}

void CharaBase::SlideOnWall(const D3DXMATRIX* wallWorld, ID3DXMesh** wall, const D3DXVECTOR3* dir) {
    const D3DXVECTOR3 d = *dir;
    DWORD face = 0;
    castRay(wallWorld, *wall, positionOf(WorldMatrix), d, &RayOrigin, &RayDir, &Hit, &face, &HitDist);
    if (!Hit) return;

    ID3DXMesh* mesh = *wall;
    WORD corners[3];
    LPVOID indices = nullptr;
    if (FAILED(mesh->LockIndexBuffer(D3DLOCK_READONLY, &indices))) return;
    std::memcpy(corners, static_cast<const WORD*>(indices) + 3 * face, sizeof corners);
    mesh->UnlockIndexBuffer();

    LPVOID vertices = nullptr;
    if (FAILED(mesh->LockVertexBuffer(D3DLOCK_READONLY, &vertices))) return;
    const DWORD stride = mesh->GetNumBytesPerVertex();
    D3DXVECTOR3 c[3];
    for (int i = 0; i < 3; ++i) {
        std::memcpy(&c[i], static_cast<const BYTE*>(vertices) + stride * corners[i], sizeof c[i]);
    }
    mesh->UnlockVertexBuffer();

    D3DXVECTOR3 edge1 = c[1] - c[0];
    D3DXVECTOR3 edge2 = c[2] - c[0];
    D3DXVECTOR3 normal;
    D3DXVec3Cross(&normal, &edge1, &edge2);
    D3DXVec3TransformNormal(&normal, &normal, wallWorld);
    D3DXVec3Normalize(&normal, &normal);

    const float a = -D3DXVec3Dot(&d, &normal);
    // Moving exactly along the face: nothing to push out of.
    if (a == 0.0f) return;
    const float b = std::fabs(2.0f / a);
    if (b > HitDist) Move += normal * ((b - HitDist) * a);
}

BOOL CharaBase::FragmentGroundCheck(const D3DXMATRIX* groundWorld, ID3DXMesh** ground) {
    if (FragIndex < 0 || FragIndex > 3) return TRUE;
    Fragment& fragment = Fragments[FragIndex];
    if (!fragment.active) return TRUE;
    castRay(groundWorld, *ground, positionOf(fragment.origin), DOWN, &fragment.rayOrigin, &fragment.rayDir,
            &fragment.rayHit, nullptr, &fragment.rayDist);
    return fragment.rayHit;
}

void CharaBase::releaseSoundSet(IDirectSoundBuffer8* buffers[], IDirectSound3DBuffer* buffers3D[], int count) {
    for (int i = 0; i < count; ++i) {
        releaseInterface(buffers3D[i]);
        releaseInterface(buffers[i]);
    }
    releaseInterface(DupBuffer);
    releaseInterface(Sound);
}
