#include "GameHelpers.h"

#include <algorithm>
#include <cmath>

#include "Application.h"
#include "SceneManager.h"
#include "SubField.h"

namespace game {

namespace {

// Within this many degrees an enemy turns straight onto its target.
const float SNAP_DEGREES = 3.0f;

}  // namespace

ObjectList& objects() { return g_sceneManager->objects; }

const std::vector<CharaBase*>& objectsOfKind(int kind) { return objects().ofKind(kind); }

CharaBase* firstOfKind(int kind) {
    if (!g_sceneManager) return nullptr;
    const std::vector<CharaBase*>& found = objectsOfKind(kind);
    return found.empty() ? nullptr : found.front();
}

bool anyLifeGone(int kind) {
    for (const CharaBase* object : objectsOfKind(kind)) {
        if (object->Life <= 0) return true;
    }
    return false;
}

D3DXVECTOR3 positionOf(const D3DXMATRIX& m) { return D3DXVECTOR3(m._41, m._42, m._43); }

D3DXMATRIX translation(const D3DXVECTOR3& at) {
    D3DXMATRIX m;
    D3DXMatrixTranslation(&m, at.x, at.y, at.z);
    return m;
}

float distanceBetween(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
    const D3DXVECTOR3 d = a - b;
    return D3DXVec3Length(&d);
}

D3DXVECTOR3 unitOrZero(const D3DXVECTOR3& v) {
    D3DXVECTOR3 out(0.0f, 0.0f, 0.0f);
    if (D3DXVec3LengthSq(&v) > 0.0f) D3DXVec3Normalize(&out, &v);
    return out;
}

float headingDegrees(const D3DXVECTOR3& unit, float degreesPerRadian) {
    float cosine = unit.z;
    if (cosine > 1.0f) cosine = 1.0f;
    if (cosine < -1.0f) cosine = -1.0f;
    // A direction that is no direction at all (NaN) is taken as straight ahead.
    if (cosine != cosine) cosine = 1.0f;
    const float degrees = std::acos(cosine) * degreesPerRadian;
    return unit.x < 0.0f ? -degrees : degrees;
}

float wrapDegrees(float degrees) {
    if (degrees < -180.0f) degrees += 360.0f;
    if (degrees > 180.0f) degrees -= 360.0f;
    return degrees;
}

D3DXMATRIX yawStepToward(float delta, float stepRadians) {
    D3DXMATRIX turn;
    D3DXMatrixRotationY(&turn, delta < 0.0f ? -stepRadians : stepRadians);
    if (delta > -SNAP_DEGREES && delta < SNAP_DEGREES) D3DXMatrixRotationY(&turn, delta * DEGREES_TO_RADIANS);
    return turn;
}

void pointZAxisAt(D3DXMATRIX& m, const D3DXVECTOR3& target) {
    D3DXMATRIX inverse;
    D3DXMatrixInverse(&inverse, nullptr, &m);
    D3DXVECTOR3 local;
    D3DXVec3TransformCoord(&local, &target, &inverse);
    const float length = D3DXVec3Length(&local);
    // Standing on the target: there is no direction to turn to.
    if (length == 0.0f) return;
    const float cosine = std::max(-1.0f, std::min(1.0f, local.z / length));
    const float angle = std::acos(cosine);
    D3DXVECTOR3 axis(-local.y, local.x, 0.0f);
    if (D3DXVec3LengthSq(&axis) == 0.0f) {
        // Straight ahead needs no turn; straight behind turns about Y instead of a null axis.
        if (cosine > 0.0f) return;
        axis = D3DXVECTOR3(0.0f, 1.0f, 0.0f);
    }
    D3DXMATRIX turn;
    D3DXMatrixRotationAxis(&turn, &axis, angle);
    D3DXMatrixMultiply(&m, &turn, &m);
}

ID3DXMesh* arenaMesh() { return g_subField.mesh.mesh; }

const D3DXMATRIX& arenaWorld() { return g_subField.world; }

bool cameraFacing(D3DXMATRIX* out) {
    const CharaBase* camera = firstOfKind(KIND_CAMERA);
    if (!camera) return false;
    D3DXMatrixMultiply(out, &camera->RotXMatrix, &camera->RotYMatrix);
    return true;
}

RECT sourceRect(LONG left, LONG top, LONG right, LONG bottom) {
    RECT rect;
    rect.left = left;
    rect.top = top;
    rect.right = right;
    rect.bottom = bottom;
    return rect;
}

void drawModel(const Mesh& mesh, const D3DXMATRIX& world) {
    ModelEffect& model = Application::get().modelEffect;
    if (model.effect) model.effect->SetMatrix("mW", &world);
    model.drawMesh(mesh);
}

void playSound(IDirectSoundBuffer8* buffer) {
    if (buffer) buffer->Play(0, 0, 0);
}

void restartSound(IDirectSoundBuffer8* buffer) {
    if (!buffer) return;
    buffer->Stop();
    buffer->SetCurrentPosition(0);
    buffer->Play(0, 0, 0);
}

void silenceSound(IDirectSoundBuffer8* buffer) {
    if (!buffer) return;
    buffer->Stop();
    buffer->SetCurrentPosition(0);
}

}  // namespace game
