#include "SResult.h"

#include "Graphics.h"

SResult::SResult(SceneId id, int startFade, const char* musicFile, const char* pictureFile) {
    sceneId = id;
    fadeAlpha = startFade;
    clicked = 0;
    startMusic(musicFile);
    background.load(pictureFile, true);
}

SResult::~SResult() { releaseSound(); }

SceneId SResult::Update() {
    if (GetAsyncKeyState(VK_LBUTTON) & 0x8000) clicked = 1;
    if (clicked == 1) {
        fadeAlpha += 3;
    } else {
        if (fadeAlpha > 0) fadeAlpha -= 2;
        if (fadeAlpha <= 0) fadeAlpha = 0;
    }
    return (clicked == 1 && fadeAlpha >= 255) ? 0 : sceneId;
}

void SResult::Draw() {
    Graphics& graphics = Graphics::get();
    IDirect3DDevice9* device = graphics.device;
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, 0xFF000032, 1.0f, 0);
    device->BeginScene();
    graphics.sprite->Begin(D3DXSPRITE_ALPHABLEND);

    D3DXMATRIX atOrigin;
    D3DXMatrixTranslation(&atOrigin, 0.0f, 0.0f, 1.0f);
    graphics.drawSprite(&background, 0xFFFFFFFF, &atOrigin);
    graphics.drawSprite(&background, static_cast<D3DCOLOR>(fadeAlpha) << 24, &atOrigin);

    graphics.sprite->End();
    device->EndScene();
}
