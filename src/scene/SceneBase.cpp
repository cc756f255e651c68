#include "SceneBase.h"

#include "ComRelease.h"
#include "Graphics.h"

SceneBase::SceneBase()
    : sceneId(0), fadeAlpha(0), clicked(0), sound(nullptr), bgm{nullptr, nullptr}, bgmFrequency(0),
      se{nullptr, nullptr}, seDuplicate(nullptr) {}

SceneBase::~SceneBase() { background.release(); }

void SceneBase::InitSound3D(int) {
    if (!seDuplicate) return;
    // `se` switches over to the duplicate: the original buffer goes.
    releaseInterface(se.buffer3D);
    releaseInterface(se.buffer);
    seDuplicate->QueryInterface(IID_IDirectSoundBuffer8, reinterpret_cast<void**>(&se.buffer));
    if (se.buffer) se.buffer->QueryInterface(IID_IDirectSound3DBuffer, reinterpret_cast<void**>(&se.buffer3D));
    if (se.buffer3D) se.buffer3D->SetMode(DS3DMODE_NORMAL, DS3D_IMMEDIATE);
    releaseInterface(seDuplicate);
    if (se.buffer3D) se.buffer3D->SetPosition(0.0f, 0.0f, 0.0f, DS3D_IMMEDIATE);
}

void SceneBase::startMusic(const char* fileName) {
    if (FAILED(DirectSoundCreate8(nullptr, &sound, nullptr))) sound = nullptr;
    g_soundLoader.setUpPrimary(sound);
    CoInitialize(nullptr);
    g_soundLoader.loadWave(&bgm.buffer, &bgm.buffer3D, fileName, sound);
    if (bgm.buffer) bgm.buffer->GetFrequency(&bgmFrequency);
    // The music is not positioned in space.
    if (bgm.buffer3D) bgm.buffer3D->SetMode(DS3DMODE_DISABLE, DS3D_IMMEDIATE);
    if (bgm.buffer) bgm.buffer->Play(0, 0, DSBPLAY_LOOPING);
}

void SceneBase::releaseSound() {
    releaseInterface(bgm.buffer);
    releaseInterface(bgm.buffer3D);
    releaseInterface(se.buffer);
    releaseInterface(se.buffer3D);
    CoUninitialize();
    releaseInterface(sound);
}

D3DXMATRIX SceneBase::beginPictures() {
    Graphics& graphics = Graphics::get();
    IDirect3DDevice9* device = graphics.device;
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, 0xFF000032, 1.0f, 0);
    device->BeginScene();
    graphics.sprite->Begin(D3DXSPRITE_ALPHABLEND);
    D3DXMATRIX atOrigin;
    D3DXMatrixTranslation(&atOrigin, 0.0f, 0.0f, 1.0f);
    return atOrigin;
}

void SceneBase::endPictures(const D3DXMATRIX& atOrigin) {
    Graphics& graphics = Graphics::get();
    graphics.drawSprite(&background, static_cast<D3DCOLOR>(fadeAlpha) << 24, &atOrigin);
    graphics.sprite->End();
    graphics.device->EndScene();
}
