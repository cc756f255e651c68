#include "GameTestHelpers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ostream>

#include <velmora/HeadlessAudio.h>
#include <velmora/HeadlessInput.h>

#include "Graphics.h"

namespace gametest {

D3DXVECTOR3 positionOf(const D3DXMATRIX& m) { return D3DXVECTOR3(m._41, m._42, m._43); }

D3DXMATRIX translation(float x, float y, float z) {
    D3DXMATRIX m;
    D3DXMatrixTranslation(&m, x, y, z);
    return m;
}

void place(CharaBase* object, float x, float y, float z) {
    object->TransMatrix = translation(x, y, z);
    object->WorldMatrix = object->TransMatrix;
}

float wrap(float degrees) {
    while (degrees >= 180.0f) degrees -= 360.0f;
    while (degrees < -180.0f) degrees += 360.0f;
    return degrees;
}

std::string describe(const D3DXVECTOR3& p) {
    char text[80];
    std::snprintf(text, sizeof text, "(%.2f, %.2f, %.2f)", p.x, p.y, p.z);
    return text;
}

void expectNear(const D3DXVECTOR3& actual, const D3DXVECTOR3& expected, const char* what) {
    EXPECT_NEAR(actual.x, expected.x, 1e-4f) << what;
    EXPECT_NEAR(actual.y, expected.y, 1e-4f) << what;
    EXPECT_NEAR(actual.z, expected.z, 1e-4f) << what;
}

void turnViewToward(const CharaBase* camera, float yaw, float pitch) {
    const auto pixels = [](float degrees) {
        return std::max(-MOUSE_STEP, std::min(MOUSE_STEP, static_cast<int>(std::lround(degrees / DEGREES_PER_PIXEL))));
    };
    const int dx = pixels(wrap(yaw - camera->Yaw));
    const int dy = pixels(pitch - camera->Pitch);
    if (dx != 0 || dy != 0) velmora::headless::moveMouse(dx, dy);
}

bool isPlaying(IDirectSoundBuffer8* buffer) {
    if (!buffer) return false;
    std::optional<velmora::audio::BufferState> state = velmora::audio::stateOf(buffer);
    return state && state->playing;
}

unsigned playCallsOf(IDirectSoundBuffer8* buffer) {
    if (!buffer) return 0;
    std::optional<velmora::audio::BufferState> state = velmora::audio::stateOf(buffer);
    return state ? state->playCalls : 0;
}

bool stepShown() {
    DWORD scissored = FALSE;
    Graphics::get().device->GetRenderState(D3DRS_SCISSORTESTENABLE, &scissored);
    return scissored == FALSE;
}

}  // namespace gametest

void PrintTo(const D3DXVECTOR3& v, std::ostream* out) { *out << "(" << v.x << ", " << v.y << ", " << v.z << ")"; }

void PrintTo(const D3DXMATRIX& m, std::ostream* out) {
    for (int r = 0; r < 4; ++r) {
        *out << (r ? " | " : "[");
        for (int c = 0; c < 4; ++c) *out << (c ? " " : "") << m.m[r][c];
    }
    *out << "]";
}
