#include "STitle.h"

#include "ComRelease.h"
#include "Graphics.h"

STitle::STitle() : blinkAlpha(255), blinkFalling(1), musicSound(nullptr) {
    sceneId = 0;
    fadeAlpha = 0;
    clicked = 0;
    startMusic("data/Sound/BGM/TitleBGM.wav");

    background.load("data/Texture/Title.png", true);
    startText.load("data/Texture/StartText.png", true);
    versionPicture.load("data/Texture/Ver.png", true);

    // The start sound gets a device of its own; the music's device stays open beside it.
    musicSound = sound;
    if (FAILED(DirectSoundCreate8(nullptr, &sound, nullptr))) sound = nullptr;
    g_soundLoader.setUpPrimary(sound);
    g_soundLoader.loadWave(&se.buffer, &se.buffer3D, "data/Sound/SE/Start.wav", sound);
    if (se.buffer3D) se.buffer3D->SetMode(DS3DMODE_NORMAL, DS3D_IMMEDIATE);
    if (se.buffer && sound) {
        sound->DuplicateSoundBuffer(reinterpret_cast<IDirectSoundBuffer*>(se.buffer), &seDuplicate);
        InitSound3D(0);
    }
}

STitle::~STitle() {
    releaseSound();
    releaseInterface(musicSound);
    versionPicture.release();
    startText.release();
}

SceneId STitle::Update() {
    if (clicked == 0 && (GetAsyncKeyState(VK_LBUTTON) & 0x8000)) {
        if (se.buffer) se.buffer->Play(0, 0, 0);
        clicked = 1;
    }
    if (clicked == 1) fadeAlpha += 2;

    // The prompt breathes between 255 and 60 in steps of 3.
    if (blinkFalling == 0) {
        blinkAlpha += 3;
        if (blinkAlpha >= 255) blinkFalling = 1;
    } else {
        blinkAlpha -= 3;
        if (blinkAlpha <= 60) blinkFalling = 0;
    }
    return fadeAlpha >= 255 ? 1 : 0;
}

void STitle::Draw() {
    const D3DXMATRIX atOrigin = beginPictures();
    D3DXMATRIX halfSize;
    D3DXMatrixScaling(&halfSize, 0.5f, 0.5f, 0.5f);
    D3DXMatrixMultiply(&halfSize, &halfSize, &atOrigin);

    Graphics& graphics = Graphics::get();
    graphics.drawSprite(&background, 0xFFFFFFFF, &atOrigin);
    graphics.drawSprite(&startText, (static_cast<D3DCOLOR>(blinkAlpha) << 24) | 0x00FFFFFF, &atOrigin);
    graphics.drawSprite(&versionPicture, 0xFFFFFFFF, &halfSize);
    endPictures(atOrigin);
}
