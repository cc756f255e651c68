// The backend under the device: the headless one records, the GL one draws.
#pragma once

#include "DeviceState.h"
#include "VertexFormat.h"

#include <d3d9.h>

#include <vector>

namespace velmora::menu {
class MenuScreen;
}

namespace velmora::d3d9 {

class ShaderBinding;
class IndexBuffer;
class VertexBuffer;

struct ClearCall {
    const DeviceState& state;
    DWORD rectCount;
    const D3DRECT* rects;  // null: the whole viewport
    DWORD flags;
    D3DCOLOR color;
    float z;
    DWORD stencil;
    bool insideScene;
};

struct DrawCall {
    enum class Source { Stream, User, Indexed };

    const DeviceState& state;
    Source source;
    D3DPRIMITIVETYPE type;
    UINT primitiveCount;
    UINT vertexCount;        // vertices read, or indices for Source::Indexed
    VertexFormat format;
    UINT stride;
    const BYTE* userVertices;   // Source::User
    VertexBuffer* vertexBuffer; // Source::Stream and Source::Indexed (stream 0)
    UINT streamOffset;
    UINT startVertex;           // Source::Stream
    IndexBuffer* indexBuffer;   // Source::Indexed
    INT baseVertexIndex;
    UINT startIndex;
    ShaderBinding* shader;      // null: fixed function
    bool insideScene;
};

class Renderer {
public:
    virtual ~Renderer() = default;
    virtual void clear(const ClearCall& call) = 0;
    virtual void draw(const DrawCall& call) = 0;
    // Present in two steps, with the pause menu between them when the player asks for it:
    // the frame put in the window, then shown.
    virtual void finishFrame() {}
    virtual void present() = 0;
    // Where the pause menu is drawn over the finished frame; null where nobody sees it.
    virtual menu::MenuScreen* menuScreen() { return nullptr; }
    // After the menu: it may have changed settings the renderer holds, and GL's state.
    virtual void menuClosed() {}
    // The back buffer as RGBA, top row first; false when there are no pixels to read.
    virtual bool readBack(std::vector<BYTE>& rgba, UINT& width, UINT& height) = 0;
    // The same at the size the frame was drawn, for a backend that draws it larger.
    virtual bool readDrawn(std::vector<BYTE>& rgba, UINT& width, UINT& height) {
        return readBack(rgba, width, height);
    }
};

}  // namespace velmora::d3d9
