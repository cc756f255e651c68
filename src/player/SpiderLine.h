// The player's thread. Holding the left button aims, releasing it shoots: the thread
// catches dragonflies and reels them in as a ball, anchors in lifts and rope objects and
// pulls the player there, or snaps back from walls and beyond its reach. A held ball is
// thrown by the next shot and breaks into four pieces on what it hits.
#pragma once

#include "CharaBase.h"
#include "Texture.h"

class SpiderLine : public CharaBase {
public:
    SpiderLine();
    ~SpiderLine() override;

    void Update() override;
    void Draw() override;
    // Only while the thread is out: a broken ball leaves pieces; the thread goes home.
    void OnCrash(CharaBase* by) override;
    // One frame of pulling toward an anchor (a Lift or a RopeObj).
    void AttachTo(CharaBase* target) override;

    enum SoundIndex {
        SOUND_LINE,
        SOUND_BALL,
        SOUND_LINE_REVERSE,
        SOUND_SEARCH,
        SOUND_LOCK_ON,
        SOUND_LINE_HIT,
        SOUND_BALL_BREAK,
        SOUND_COUNT
    };

    int Aiming;        // the button is held while the thread is home
    int WaveOn;        // the launch wave is showing
    float SpinDeg;     // the ball's spin
    float MarkerDeg;   // the lock-on marker's rotation
    D3DXMATRIX LineOrigin;  // the player's end of the thread; moves to the anchor while pulling
    D3DXMATRIX WaveAt;
    float LineLength;
    EffectVertex ThreadQuads[2][4];
    EffectVertex AimQuads[2][4];
    Texture ThreadTexture;
    D3DXMATRIX AimMatrix;   // its translation row is where a shot fired now is after 60 frames
    D3DXMATRIX StepMatrix;  // one frame of flight
    float Thinning;
    float PullSpeed;
    float PullAccel;
    float BallDrag;    // per-frame factor on a thrown ball's horizontal speed
    int TargetIndex;   // index in the object list of the anchor or the locked target
    ID3DXSprite* MarkerSprite;
    IDirect3DTexture9* MarkerTexture;
    float MarkerScale;
    int Locked;
    IDirectSoundBuffer8* SeBuffers[SOUND_COUNT];
    IDirectSound3DBuffer* Se3D[SOUND_COUNT];

private:
    void homeStep(const CharaBase* player, const CharaBase* camera);
    void shoot(const CharaBase* player, const CharaBase* camera);
    void threadFlight(const CharaBase* player);
    void flyOut();
    void anchorAhead(int kind);
    void reelIn(const CharaBase* player);
    void ballFlight();
    void piecesStep();
    void launchWaveStep(const CharaBase* player);

    void buildThreadStrip(const CharaBase* player);
    void drawThreadStrip();
    void aimAndLock(const CharaBase* player, const CharaBase* camera);
    BOOL lockTest(const CharaBase* player, CharaBase* target);
    void drawMarker(const CharaBase* target, const CharaBase* camera);
    void drawAimGuide(const CharaBase* player);
    void drawBall(const CharaBase* player, const CharaBase* camera);

    void playSound(int index);
    void rewindSound(int index);
};
