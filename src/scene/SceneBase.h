// One screen of the game: title, play, stage clear or game over.
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <d3d9.h>
#include <d3dx9.h>
#include <dsound.h>

#include "SoundLoader.h"
#include "Texture.h"

typedef int SceneId;

class SceneBase {
public:
    SceneBase();
    virtual ~SceneBase();
    SceneBase(const SceneBase&) = delete;
    SceneBase& operator=(const SceneBase&) = delete;

    // Makes `se` play the duplicate held in seDuplicate, positioned at the origin.
    virtual void InitSound3D(int index);
    // One frame of the scene; returns its own id to stay, another to switch.
    virtual SceneId Update() = 0;
    virtual void Draw() = 0;

    SceneId sceneId;
    int fadeAlpha;
    int clicked;
    Texture background;
    IDirectSound8* sound;
    SoundBuffer bgm;
    DWORD bgmFrequency;
    SoundBuffer se;
    IDirectSoundBuffer* seDuplicate;

protected:
    // Creates the scene's DirectSound device, loads the music and starts it looping.
    void startMusic(const char* fileName);
    // Releases the music, the start sound (if any), then the scene's device.
    void releaseSound();
    // A screen's frame is pictures only: this clears to the screens' dark blue and opens
    // the sprite batch, and gives where a full-size picture is placed.
    D3DXMATRIX beginPictures();
    // Covers everything with the background in black at fadeAlpha and closes the frame.
    void endPictures(const D3DXMATRIX& atOrigin);
};
