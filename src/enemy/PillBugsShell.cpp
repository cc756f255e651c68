// The boss's shell, its gun and its life gauge.
#include "PillBugs.h"

#include <cstdlib>

#include "GameHelpers.h"
#include "Graphics.h"
#include "Player.h"

using namespace game;

namespace {

// On average one shell every this many walking frames.
const int SHELL_CHANCE = 80;
const float SHELL_SPEED = 1.3f;
// The shell sinks this much more every frame.
const float SHELL_SINKING = 0.001f;
// The shell hits what comes closer than this.
const float SHELL_REACH = 4.0f;
const D3DXVECTOR3 FORWARD(0.0f, 0.0f, 1.0f);
const float MUZZLE_WAVE_SIZE = 10.0f;

// The blown-off gun slows its rise by this much a frame and vanishes at height 0.
const float GUN_GRAVITY = 0.05f;

// The gauge sits top left of the screen.
const LONG BAR_TOP = 10;
const LONG BAR_BOTTOM = 40;
const float BARS_X = 29.0f;
const float BARS_Y = 18.0f;
const float FRAME_X = 30.0f;
const float FRAME_Y = 10.0f;
const D3DCOLOR DAMAGE_BAR_COLOUR = 0x64FF6464;
const D3DCOLOR OPAQUE_WHITE = 0xFFFFFFFF;

}  // namespace

D3DXVECTOR3 PillBugs::shellDir() const { return D3DXVECTOR3(Aux[0], Aux[1], Aux[2]); }

void PillBugs::setShellDir(const D3DXVECTOR3& dir) {
    Aux[0] = dir.x;
    Aux[1] = dir.y;
    Aux[2] = dir.z;
}

void PillBugs::launchShell() {
    if (ShellFlying != 0 || ShellBurst != 0 || std::rand() % SHELL_CHANCE != 1) return;
    D3DXVECTOR3 ahead;
    D3DXVec3TransformNormal(&ahead, &FORWARD, &WorldMatrix);
    const D3DXVECTOR3 dir = unitOrZero(ahead) * SHELL_SPEED;
    setShellDir(dir);
    D3DXMatrixTranslation(&ShellStep, dir.x, 0.0f, dir.z);
    // From where the gun was last frame: the gun is placed after this.
    D3DXMatrixMultiply(&ShellMatrix, &ShellScale, &GunWorld);
    ShellDrop = 0.0f;
    ShellFlying = 1;
    WaveSize = 0.0f;
    restartSound(Sounds[BallSound]);
}

void PillBugs::placeGun() {
    D3DXMatrixMultiply(&GunWorld, &GunMount, &GunTumbleX);
    D3DXMatrixMultiply(&GunWorld, &GunWorld, &RotYMatrix);
    D3DXMatrixMultiply(&GunWorld, &GunWorld, &WorldMatrix);
}

void PillBugs::setGunLaunch() {
    const int r1 = std::rand();
    const int r2 = std::rand();
    D3DXMatrixTranslation(&GunDrift, (r2 % 10 - 10) / 10.0f, 0.0f, (r1 % 10 - 10) / 10.0f);
    D3DXMatrixRotationX(&GunTumbleX, static_cast<float>(std::rand() % 20) * DEGREES_TO_RADIANS);
    D3DXMatrixRotationY(&GunTumbleY, static_cast<float>(std::rand() % 20) * DEGREES_TO_RADIANS);
    GunRise = (std::rand() % 7 + 3) / 10.0f;
}

void PillBugs::fallGun() {
    // It falls to the world's height 0, not to the floor, and is gone there.
    if (GunWorld._42 <= 0.0f) {
        GunMesh.release();
        return;
    }
    D3DXMATRIX tumble;
    D3DXMatrixMultiply(&tumble, &GunTumbleX, &GunTumbleY);
    D3DXMatrixMultiply(&GunWorld, &tumble, &GunWorld);
    D3DXMatrixMultiply(&GunWorld, &GunWorld, &GunDrift);
    GunWorld._42 += GunRise;
    GunRise -= GUN_GRAVITY;
}

void PillBugs::flyShell() {
    D3DXMatrixMultiply(&ShellMatrix, &ShellMatrix, &ShellStep);
    ShellMatrix._42 -= ShellDrop;
    ShellDrop += SHELL_SINKING;

    FieldMesh = arenaMesh();
    const D3DXVECTOR3 dir = shellDir();
    const D3DXVECTOR3 level(dir.x, 0.0f, dir.z);
    // A wall within 3 steps, or no arena ahead at all.
    if (WallCheck(&arenaWorld(), &FieldMesh, &ShellMatrix, &level, 0)) OnCrash(this);
    shellHits();
}

void PillBugs::shellHits() {
    const D3DXVECTOR3 shell = positionOf(ShellMatrix);
    // The player comes before its thread in the list: it is hit first.
    for (CharaBase* other : objectsOfKind(KIND_PLAYER)) {
        if (distanceBetween(shell, positionOf(other->TransMatrix)) >= SHELL_REACH) continue;
        // A player still knocked up from a hit is not hurt again, but the shell bursts.
        const Player* player = dynamic_cast<const Player*>(other);
        if (!player || player->Staggered == 0) other->OnHit(other);
        OnCrash(this);
        return;
    }
    for (CharaBase* line : objectsOfKind(KIND_SPIDER_LINE)) {
        if (line->BallMode != 1 || distanceBetween(shell, positionOf(line->TransMatrix)) >= SHELL_REACH) continue;
        line->OnCrash(line);
        OnCrash(this);
        return;
    }
}

void PillBugs::OnCrash(CharaBase*) {
    restartSound(Sounds[ExploSound]);
    BurstTrans = translation(positionOf(ShellMatrix));
    ShellBurst = 1;
    ShellFlying = 0;
}

void PillBugs::drawShell() {
    if (ShellFlying == 1) drawModel(ShellMesh, ShellMatrix);
}

void PillBugs::drawBurst() {
    if (ShellBurst != 1) return;
    D3DXMATRIX facing;
    if (cameraFacing(&facing)) D3DXMatrixMultiply(&BurstWorld, &facing, &BurstTrans);
    // Shares ExploFrame with the boss's own explosion.
    if (DrawExplosion(&BurstWorld, BurstQuad, &BurstTexture.texture)) ShellBurst = 0;
}

void PillBugs::drawMuzzleWave() {
    if (ShellFlying != 1) return;
    AuxMatrix10 = translation(positionOf(GunWorld));
    // Held while the shell flies: it grows once and then stays hidden.
    DrawWaveEffect(&AuxMatrix10, &WaveTexture.texture, MUZZLE_WAVE_SIZE, &ShellFlying);
}

void PillBugs::drawGauge() {
    DamageGauge.source = sourceRect(0, BAR_TOP, GaugeShown, BAR_BOTTOM);
    // The red bar runs down a pixel a frame to the life left.
    if (GaugeShown > Life * PIXELS_PER_LIFE) GaugeShown -= 1;
    drawGaugeRecord(DamageGauge, BARS_X, BARS_Y, DAMAGE_BAR_COLOUR);

    const int lifeWidth = Life > 0 ? Life * PIXELS_PER_LIFE : 0;
    LifeGauge.source = sourceRect(0, BAR_TOP, lifeWidth, BAR_BOTTOM);
    drawGaugeRecord(LifeGauge, BARS_X, BARS_Y, OPAQUE_WHITE);

    FrameGauge.source = sourceRect(0, 0, FULL_GAUGE, BAR_BOTTOM);
    drawGaugeRecord(FrameGauge, FRAME_X, FRAME_Y, OPAQUE_WHITE);
}

void PillBugs::drawGaugeRecord(Gauge& gauge, float x, float y, D3DCOLOR colour) {
    // A gauge whose sprite could not be made is skipped.
    if (!gauge.sprite) return;
    const D3DXVECTOR3 centre(0.0f, 0.0f, 0.0f);
    D3DXMatrixTranslation(&AuxMatrix5, x, y, 0.0f);
    gauge.sprite->Begin(D3DXSPRITE_ALPHABLEND);
    gauge.sprite->SetTransform(&AuxMatrix5);
    gauge.sprite->Draw(gauge.texture, &gauge.source, &centre, nullptr, colour);
    D3DXMatrixIdentity(&AuxMatrix5);
    gauge.sprite->SetTransform(&AuxMatrix5);
    gauge.sprite->End();
}
