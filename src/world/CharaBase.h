// The base of every object that lives in the game world: meshes, a bank of matrices,
// the kind code by which objects find each other, gravity and ray queries against
// meshes, debris fragments, camera-facing effect quads and a DirectSound object.
#pragma once

#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>
#include <dsound.h>

#include "Mesh.h"
#include "Texture.h"

// Kind codes: each derived constructor sets its own.
enum CharaKind {
    KIND_BASE = -1,
    KIND_PLAYER = 0,
    KIND_SPIDER_LINE = 1,
    KIND_DRAGONFLY = 2,
    KIND_PILLBUGS = 3,
    KIND_LIFT = 4,
    KIND_ROPE = 5,
    KIND_CAMERA = 6,
};

// One vertex of an effect quad (XYZ | DIFFUSE | TEX1, 24 bytes). A quad is four of them,
// top-left, top-right, bottom-right, bottom-left, drawn as a two-triangle fan.
struct EffectVertex {
    float x, y, z;
    D3DCOLOR color;
    float u, v;
};
const DWORD EFFECT_VERTEX_FVF = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;

// One debris piece of a destroyed object, with the scratch state of its ground ray.
struct Fragment {
    Fragment();
    // One frame of flight: tumble in place, drift sideways and rise or fall on a parabola.
    void fly();

    Mesh mesh;
    D3DXMATRIX rotY;    // tumble about Y
    D3DXMATRIX rotX;    // tumble about X
    D3DXMATRIX drift;   // per-frame sideways offset
    D3DXMATRIX origin;  // placement; its translation row is tested against the ground
    float dx, dy, dz;
    float speed;
    int active;
    D3DXVECTOR3 rayOrigin, rayDir;
    float rayDist;
    BOOL rayHit;
};

// One ray of a wall check: its direction and the side code WallCheck steps back by.
struct WallRay {
    D3DXVECTOR3 dir;
    int side;
};

// A 2D bar drawn on the screen. Created and released by the classes that use it.
struct Gauge {
    ID3DXSprite* sprite;
    IDirect3DTexture9* texture;
    RECT source;
};

// Per-class storage: the dragonfly and the boss keep an explosion quad here, the
// thread keeps matrices.
union AuxStorage {
    DWORD words[48];
    EffectVertex quad[4];
    D3DMATRIX matrices[3];
};

class CharaBase {
public:
    CharaBase();
    CharaBase(const CharaBase&) = delete;
    CharaBase& operator=(const CharaBase&) = delete;

    // The 27 operations, numbered by their slot.
    virtual ~CharaBase();                                                        // 0
    virtual void Update() = 0;                                                   // 1
    virtual void Draw();                                                         // 2
    virtual void ReleaseMeshes();                                                // 3
    virtual void InitSound3D(IDirectSoundBuffer8* buffer8, IDirectSound3DBuffer* buffer3d);  // 4
    virtual HRESULT LoadTexture(IDirect3DTexture9** out, const char* file, UINT width, UINT height,
                                D3DCOLOR colorKey);                              // 5
    virtual BOOL GroundCheck(const D3DXMATRIX* groundWorld, ID3DXMesh** ground,
                             const D3DXMATRIX* own);                             // 6
    virtual void PlaceShadow(const D3DXMATRIX* groundWorld, ID3DXMesh** ground,
                             const D3DXMATRIX* own);                             // 7
    virtual BOOL RideOn(CharaBase* platform);                                    // 8
    virtual BOOL WallCheck(const D3DXMATRIX* wallWorld, ID3DXMesh** wall, const D3DXMATRIX* own,
                           const D3DXVECTOR3* dir, int side);                    // 9
    virtual BOOL RayAhead(const D3DXMATRIX* world, ID3DXMesh** mesh);            // 10
    virtual BOOL IsNear(CharaBase* other);                                       // 11
    virtual BOOL IsInRange(CharaBase* other, float radius);                      // 12
    virtual void OnHit(CharaBase* by);                                           // 13
    virtual void OnCrash(CharaBase* by);                                         // 14
    virtual void AttachTo(CharaBase* target);                                    // 15
    virtual void OnCaught(CharaBase* line);                                      // 16
    virtual void SpareHook(void* unused);                                        // 17
    virtual void DrawSwellEffect(float maxSize, const D3DXMATRIX* at);           // 18
    virtual void DrawRiseEffect(const D3DXMATRIX* at, IDirect3DTexture9** tex, int limitA, int limitB,
                                float startHeight);                              // 19
    virtual BOOL DrawWaveEffect(const D3DXMATRIX* at, IDirect3DTexture9** tex, float maxSize,
                                const int* hold);                                // 20
    // `at` goes to DrawQuad and is the identity afterwards.
    virtual BOOL DrawExplosion(D3DXMATRIX* at, EffectVertex quad[4],
                               IDirect3DTexture9** tex);                         // 21
    // Draws with `world` and then overwrites it with the identity: callers rebuild it.
    virtual void DrawQuad(D3DXMATRIX* world, const EffectVertex quad[4],
                          IDirect3DTexture9** tex);                              // 22
    virtual D3DXMATRIX StepSquare(const D3DXMATRIX* in, float legLength, float step);         // 23
    virtual D3DXMATRIX StepSquareReverse(const D3DXMATRIX* in, float legLength, float step);  // 24
    virtual void SlideOnWall(const D3DXMATRIX* wallWorld, ID3DXMesh** wall,
                             const D3DXVECTOR3* dir);                            // 25
    virtual BOOL FragmentGroundCheck(const D3DXMATRIX* groundWorld, ID3DXMesh** ground);  // 26

    Mesh BodyMesh;
    Mesh BoxMesh;  // collision proxy of field objects
    Mesh SubMesh;

    D3DXMATRIX WorldMatrix;  // its translation row is the object's Position
    D3DXMATRIX TransMatrix;
    D3DXMATRIX RotYMatrix;
    D3DXMATRIX RotXMatrix;
    D3DXMATRIX RotZMatrix;
    D3DXMATRIX ScaleMatrix;
    D3DXMATRIX AuxMatrix1, AuxMatrix2;
    D3DXMATRIX ShadowMatrix;
    D3DXMATRIX AuxMatrix3, AuxMatrix4, AuxMatrix5, AuxMatrix6, AuxMatrix7;
    int AuxWord1, AuxWord2;

    D3DXVECTOR3 Move;
    D3DXVECTOR3 Velocity;
    float Aux[27];

    ID3DXMesh* FieldMesh;  // its address is the mesh slot of the arena queries

    // Scratch of the last ray query, in the target mesh's space.
    D3DXMATRIX InvMatrix;
    D3DXVECTOR3 RayOrigin, RayDir;

    int Kind;
    int Life;
    int FadeAlpha;
    int AuxWord3;
    float Yaw, Pitch;  // degrees
    int AuxWord4;
    float HitDist;
    float FallSpeed;
    float Scale;
    float PathDist;
    int PathLeg;
    int AuxWord5;
    int Mode;
    int Active;
    int Falling;
    int Anchored;
    BOOL Hit;
    int Caught;
    int BallMode;
    int Dead;
    BOOL RideHit;
    int AuxWord6, AuxWord7, AuxWord8;
    AuxStorage AuxBlock;

    EffectVertex RiseQuad[4];
    EffectVertex WaveQuad[4];
    EffectVertex SwellQuad[4];
    D3DXMATRIX EffectTrans;
    D3DXMATRIX SwellWorld;
    float SwellSize;
    int EffectOn;
    Texture SwellTexture;
    D3DXMATRIX RiseTrans;
    D3DXMATRIX RiseWorld;
    D3DXMATRIX AuxMatrix8, AuxMatrix9;
    Texture RiseTexture;
    int ExploFrame;
    int RiseCell;
    float RiseSize;
    float RiseHeight;
    D3DXMATRIX WaveWorld;
    D3DXMATRIX AuxMatrix10;
    Texture WaveTexture;
    float WaveSize;

    IDirectSound8* Sound;
    IDirectSoundBuffer* DupBuffer;  // source of InitSound3D

    Fragment Fragments[4];
    float FragValue;
    int FragIndex;
    int FragDone;

    int GaugeShown;
    Gauge LifeGauge, DamageGauge, FrameGauge;

protected:
    // The shared ray: transforms the world-space ray into the space of a mesh placed by
    // `world` and intersects it there, keeping the inverse in InvMatrix. The direction
    // is not renormalised, so `dist` is measured in units of the world direction's length.
    void castRay(const D3DXMATRIX* world, ID3DXMesh* mesh, const D3DXVECTOR3& start,
                 const D3DXVECTOR3& dir, D3DXVECTOR3* meshOrigin, D3DXVECTOR3* meshDir, BOOL* hit,
                 DWORD* faceIndex, float* dist);
    // Loads the three gauge pictures, each with a sprite to draw it; releaseGauges lets
    // go of them. Only the player and the boss show a gauge.
    void loadGauges(const char* lifeFile, const char* damageFile, const char* frameFile);
    void releaseGauges();
    // Makes the object's own sound device and loads one sound per file into `buffers`
    // and `buffers3D`; a sound that cannot be loaded stays null.
    void loadSoundSet(IDirectSoundBuffer8* buffers[], IDirectSound3DBuffer* buffers3D[], const char* const files[],
                      int count);
    // Releases the sounds, the duplicate and the device loadSoundSet made.
    void releaseSoundSet(IDirectSoundBuffer8* buffers[], IDirectSound3DBuffer* buffers3D[], int count);
    // One frame of gravity: drop by FallSpeed, let it grow until it reaches 0.45.
    void fallStep();
};

// Fills the texture coordinates of a quad with cell `cell` of an 8 x 8 sprite sheet.
void setSheetCell(EffectVertex quad[4], int cell);
