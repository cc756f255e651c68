#include "TestCamera.h"

#include <cmath>

#include "Application.h"
#include "GameHelpers.h"
#include "Graphics.h"
#include "Stage.h"

namespace {

const float DEGREES_PER_PIXEL = 0.1f;
const float PITCH_LIMIT = 18.0f;
const float START_YAW = 180.0f;
// The centre of the 1280 x 720 client area.
const POINT CLIENT_CENTRE = {640, 360};

const D3DXVECTOR3 EYE_OFFSET(0.0f, 3.0f, -6.0f);
const D3DXVECTOR3 LOOK_OFFSET(0.0f, 2.0f, 6.0f);
const D3DXVECTOR3 ORIGIN(0.0f, 0.0f, 0.0f);
const D3DXVECTOR3 UP(0.0f, 1.0f, 0.0f);
// The trailing camera has caught up once the player covered less than this in four frames.
const float CAUGHT_UP = 1.0f;

const int FADE_STEP = 3;
const int FADE_END = 252;

}  // namespace

using game::DEGREES_TO_RADIANS;

TestCamera::TestCamera()
    : LookAt(0.0f, 0.0f, 0.0f), Up(0.0f, 0.0f, 0.0f), CursorHome(CLIENT_CENTRE), CursorNow(),
      FollowPos(0.0f, 0.0f, 0.0f) {
    D3DXMatrixIdentity(&FollowMatrix);
    for (D3DXMATRIX& past : FollowHistory) D3DXMatrixIdentity(&past);
    FadeAlpha = 0;
    Yaw = START_YAW;
    Pitch = 0.0f;
    ClientToScreen(Application::get().window, &CursorHome);
    SetCursorPos(CursorHome.x, CursorHome.y);
    Kind = KIND_CAMERA;
    Active = 1;
    FadeImage.load("data/Texture/back.png", true);
}

TestCamera::~TestCamera() { FadeImage.release(); }

void TestCamera::Update() {
    for (const CharaBase* player : game::objectsOfKind(KIND_PLAYER)) turnWithMouse(player);
    for (int i = 4; i > 0; --i) FollowHistory[i] = FollowHistory[i - 1];
    FollowHistory[0] = FollowMatrix;
}

void TestCamera::turnWithMouse(const CharaBase* player) {
    // The cursor is captured every frame, also once the player is dead.
    GetCursorPos(&CursorNow);
    SetCursorPos(CursorHome.x, CursorHome.y);
    if (player->Life <= 0) return;

    const int dx = CursorNow.x - CursorHome.x;
    const int dy = CursorNow.y - CursorHome.y;
    Yaw += static_cast<float>(dx) * DEGREES_PER_PIXEL;
    Pitch += static_cast<float>(dy) * DEGREES_PER_PIXEL;
    if (Pitch > PITCH_LIMIT) Pitch = PITCH_LIMIT;
    if (Pitch < -PITCH_LIMIT) Pitch = -PITCH_LIMIT;

    D3DXMatrixRotationY(&RotYMatrix, Yaw * DEGREES_TO_RADIANS);
    D3DXMatrixRotationX(&RotXMatrix, Pitch * DEGREES_TO_RADIANS);
    D3DXMatrixMultiply(&TransMatrix, &RotXMatrix, &RotYMatrix);
    Mode = (dx != 0) ? 1 : 0;
}

void TestCamera::Draw() {
    for (const CharaBase* player : game::objectsOfKind(KIND_PLAYER)) {
        D3DXMatrixMultiply(&FollowMatrix, &TransMatrix, &player->TransMatrix);
    }
    for (const CharaBase* line : game::objectsOfKind(KIND_SPIDER_LINE)) {
        if (line->Anchored == 1) {
            followTrailing();
        } else {
            followNormally();
        }
    }
    D3DXMatrixLookAtLH(&AuxMatrix2, &Move, &LookAt, &Up);
    Graphics::get().device->SetTransform(D3DTS_VIEW, &AuxMatrix2);

    // Lost: the player's explosion has finished. Clearing the play deletes this
    // camera, so nothing of it may be touched after gameOver or clear.
    for (const CharaBase* player : game::objectsOfKind(KIND_PLAYER)) {
        if (player->Active != 0) break;
        if (fadeStep()) {
            g_stage.gameOver();
            return;
        }
    }
    // Won: the boss has no life left and its last explosion has finished.
    for (const CharaBase* boss : game::objectsOfKind(KIND_PILLBUGS)) {
        if (boss->Life > 0 || boss->Active != 0) continue;
        if (fadeStep()) {
            g_stage.clear();
            return;
        }
    }
}

void TestCamera::followNormally() {
    D3DXVec3TransformCoord(&Move, &EYE_OFFSET, &TransMatrix);
    D3DXVec3TransformCoord(&FollowPos, &ORIGIN, &FollowMatrix);
    D3DXVec3TransformCoord(&LookAt, &LOOK_OFFSET, &FollowMatrix);
    D3DXVec3TransformNormal(&Up, &UP, &TransMatrix);
    Move += FollowPos;
}

void TestCamera::followTrailing() {
    Anchored = 1;
    // The eye follows where the player was five frames ago, the look-at point where it
    // was one frame ago: the view lags behind a fast pull.
    D3DXVec3TransformCoord(&Move, &EYE_OFFSET, &FollowHistory[4]);
    D3DXVec3TransformCoord(&FollowPos, &ORIGIN, &FollowHistory[0]);
    D3DXVec3TransformCoord(&LookAt, &LOOK_OFFSET, &FollowHistory[0]);
    D3DXVec3TransformNormal(&Up, &UP, &FollowHistory[4]);
    const D3DXVECTOR3 lag(FollowHistory[4]._41 - FollowHistory[0]._41, FollowHistory[4]._42 - FollowHistory[0]._42,
                          FollowHistory[4]._43 - FollowHistory[0]._43);
    FragValue = std::sqrt(lag.x * lag.x + lag.y * lag.y + lag.z * lag.z);
    if (FragValue < CAUGHT_UP) Anchored = 0;
}

bool TestCamera::fadeStep() {
    Graphics& graphics = Graphics::get();
    graphics.sprite->Begin(D3DXSPRITE_ALPHABLEND);
    D3DXMATRIX topLeft;
    D3DXMatrixTranslation(&topLeft, 0.0f, 0.0f, 0.0f);
    graphics.drawSprite(&FadeImage, D3DCOLOR_ARGB(FadeAlpha, 0, 0, 0), &topLeft);
    graphics.sprite->End();
    if (FadeAlpha >= FADE_END) return true;
    FadeAlpha += FADE_STEP;
    return false;
}
