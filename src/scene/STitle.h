// The title screen: the picture, a blinking start prompt, the version picture and the
// title music; a click plays the start sound and fades to the play scene.
#pragma once

#include "SceneBase.h"

class STitle : public SceneBase {
public:
    STitle();
    ~STitle() override;
    SceneId Update() override;
    void Draw() override;

    Texture startText;
    Texture versionPicture;
    int blinkAlpha;    // always within 60..255
    int blinkFalling;  // 1 while blinkAlpha decreases
    // The device the music was loaded from; `sound` holds the start sound's device.
    IDirectSound8* musicSound;
};
