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
    const D3DXMATRIX atOrigin = beginPictures();
    Graphics::get().drawSprite(&background, 0xFFFFFFFF, &atOrigin);
    endPictures(atOrigin);
}
