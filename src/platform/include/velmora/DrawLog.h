// What the headless device drew: every Clear, draw call and sprite, with the state it was
// made with. Tests and tools read it; the game never includes this header.
//
// The log is cut into frames at each Present: pending() holds what was recorded since the
// last Present, lastPresented() what the last Present showed (so draws issued between an
// EndScene and the Present belong to the image that Present shows). A short history of
// presented frames is kept; totals per kind count everything since the last reset.
#pragma once

#include <d3d9.h>

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace velmora {

enum class DrawKind {
    Clear,
    Primitive,         // DrawPrimitive from stream 0
    PrimitiveUP,       // DrawPrimitiveUP: the vertices are copied into the record
    IndexedPrimitive,  // DrawIndexedPrimitive from stream 0 and the index buffer
    Sprite,            // one ID3DXSprite::Draw, recorded when the sprite flushes it
};

// One vertex of an up draw, decoded by its FVF; absent components read as zero
// (diffuse as 0xFFFFFFFF, as the device treats a vertex without colour).
struct LoggedVertex {
    float x, y, z;
    float nx, ny, nz;
    D3DCOLOR diffuse;
    float u, v;
};

enum class EffectParameterType { Matrix, Float, Float2, Float3, Float4, Texture };

struct LoggedEffectParameter {
    std::string name;
    EffectParameterType type;
    float values[16];  // matrices row by row as D3DX stores them; vectors from values[0]
    IDirect3DBaseTexture9* texture;
};

struct LoggedSprite {
    IDirect3DTexture9* texture;
    RECT sourceRect;       // the whole texture when Draw got no rectangle
    D3DVECTOR center;      // zero when Draw got none
    D3DVECTOR position;    // zero when Draw got none
    D3DCOLOR color;
    D3DMATRIX transform;   // the sprite's transform at the time of Draw
    D3DVECTOR corners[4];  // top-left, top-right, bottom-right, bottom-left in pixels, transformed
};

struct DrawRecord {
    DrawKind kind = DrawKind::Clear;
    bool insideScene = false;  // between BeginScene and EndScene

    // Clear
    DWORD clearFlags = 0;
    D3DCOLOR clearColor = 0;
    float clearZ = 0.0f;
    DWORD clearStencil = 0;
    std::vector<D3DRECT> clearRects;  // empty: the whole viewport

    // Draw calls
    D3DPRIMITIVETYPE primitiveType = D3DPT_TRIANGLELIST;
    UINT primitiveCount = 0;
    DWORD fvf = 0;
    UINT stride = 0;
    std::vector<LoggedVertex> vertices;  // up draws only
    IDirect3DVertexBuffer9* vertexBuffer = nullptr;
    IDirect3DIndexBuffer9* indexBuffer = nullptr;
    INT baseVertexIndex = 0;
    UINT startIndex = 0;     // indexed draws; the first vertex for DrawPrimitive
    IDirect3DBaseTexture9* texture = nullptr;  // stage 0
    D3DMATRIX world{}, view{}, projection{};
    D3DVIEWPORT9 viewport{};
    std::vector<DWORD> renderStates;   // indexed by D3DRENDERSTATETYPE
    std::vector<DWORD> stage0States;   // indexed by D3DTEXTURESTAGESTATETYPE
    std::vector<DWORD> sampler0States; // indexed by D3DSAMPLERSTATETYPE
    bool effectActive = false;         // drawn inside an effect pass
    std::vector<LoggedEffectParameter> effectParameters;

    // Sprite
    LoggedSprite sprite{};

    DWORD renderState(D3DRENDERSTATETYPE state) const;
    DWORD stageState(D3DTEXTURESTAGESTATETYPE type) const;
    DWORD samplerState(D3DSAMPLERSTATETYPE type) const;
    // Null when the draw had no effect parameter of that name.
    const LoggedEffectParameter* effectParameter(const char* name) const;
};

typedef std::vector<DrawRecord> DrawFrame;

class DrawLog {
    static constexpr std::size_t kHistoryLength = 8;

public:
    const DrawFrame& pending() const { return pending_; }
    // Empty before the first Present.
    const DrawFrame& lastPresented() const;
    // framesAgo 0 is lastPresented(); older frames are dropped after historyLength().
    const DrawFrame* presented(std::size_t framesAgo) const;
    unsigned long presentCount() const { return presentCount_; }
    unsigned long total(DrawKind kind) const { return totals_[static_cast<int>(kind)]; }
    static constexpr std::size_t historyLength() { return kHistoryLength; }

    // Used by the platform layer. A record to fill starts from recycledRecord(): an empty
    // record that keeps the storage of one from a frame that left the history, so that a
    // running game's frames are recorded without allocating.
    DrawRecord recycledRecord();
    void record(DrawRecord&& record);
    void present();
    void reset();

private:
    // Keeps the records and the list of a frame that left the history for reuse.
    void recycle(DrawFrame& frame);

    DrawFrame pending_;
    // A ring: a presented frame stays where it is until it leaves the history.
    std::array<DrawFrame, kHistoryLength> presented_;
    std::size_t oldest_ = 0;
    std::size_t presentedCount_ = 0;
    std::vector<DrawRecord> spareRecords_;
    std::vector<DrawFrame> spareFrames_;
    unsigned long presentCount_ = 0;
    unsigned long totals_[5] = {};
};

DrawLog& drawLog();
// Forgets every frame and total, e.g. between tests.
inline void resetDrawLog() { drawLog().reset(); }

// Whether the headless device records what it is asked to draw (on until turned off).
// Benchmarks and long runs that look only at the game's own work turn it off: Clears,
// draws and sprites then leave no record and count in no total; Presents still cut
// (empty) frames and count.
void setDrawRecording(bool on);
bool drawRecording();

}  // namespace velmora
