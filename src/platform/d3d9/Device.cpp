#include "Device.h"

#include "ExactCast.h"
#include "IndexBuffer.h"
#include "Texture.h"
#include "VertexBuffer.h"
#include "velmora/Platform.h"
#include "win32/Desktop.h"
#include "win32/WindowSystem.h"

#include <cstdint>
#include <cstring>

namespace velmora::d3d9 {

namespace {

Device* g_current = nullptr;

template <class Interface>
void rebind(Interface*& slot, Interface* value) {
    if (value) value->AddRef();
    if (slot) slot->Release();
    slot = value;
}

bool validPrimitiveType(D3DPRIMITIVETYPE type) { return type >= D3DPT_POINTLIST && type <= D3DPT_TRIANGLEFAN; }

bool validLightType(D3DLIGHTTYPE type) { return type >= D3DLIGHT_POINT && type <= D3DLIGHT_DIRECTIONAL; }

// The light LightEnable creates for an index that was never set: white, directional, along +z.
D3DLIGHT9 defaultLight() {
    D3DLIGHT9 light{};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = {1.0f, 1.0f, 1.0f, 0.0f};
    light.Direction = {0.0f, 0.0f, 1.0f};
    return light;
}

// Every index of the draw, moved by the base vertex, must name a vertex of the buffer.
bool indicesInRange(const IndexBuffer& indices, UINT startIndex, UINT count, INT baseVertexIndex,
                    UINT vertexCount) {
    IndexSpan span;
    if (!indices.span(startIndex, count, span)) return false;
    return count == 0 ||
           (int64_t(span.low) + baseVertexIndex >= 0 && int64_t(span.high) + baseVertexIndex < int64_t(vertexCount));
}

// Texture stage states and sampler states alike: a table of DWORDs by slot and state type.
template <class Table>
HRESULT readSlotState(const Table& table, DWORD slot, DWORD type, DWORD* value) {
    if (!value || slot >= table.size() || type >= table.front().size()) return D3DERR_INVALIDCALL;
    *value = table[slot][type];
    return D3D_OK;
}

template <class Table>
HRESULT writeSlotState(Table& table, DWORD slot, DWORD type, DWORD value) {
    if (slot >= table.size() || type >= table.front().size()) return D3DERR_INVALIDCALL;
    table[slot][type] = value;
    return D3D_OK;
}

}  // namespace

Device::Device(IDirect3D9* d3d, const D3DPRESENT_PARAMETERS& params, std::unique_ptr<Renderer> renderer)
    : d3d_(d3d),
      params_(params),
      renderer_(std::move(renderer)),
      state_(params.BackBufferWidth, params.BackBufferHeight, params.EnableAutoDepthStencil != FALSE) {
    d3d_->AddRef();
    g_current = this;
}

Device::~Device() {
    for (auto& texture : state_.textures) rebind<IDirect3DBaseTexture9>(texture, nullptr);
    rebind<IDirect3DVertexBuffer9>(state_.stream0.buffer, nullptr);
    rebind<IDirect3DIndexBuffer9>(state_.indices, nullptr);
    renderer_.reset();
    if (g_current == this) g_current = nullptr;
    d3d_->Release();
}

Device* Device::current() { return g_current; }

Device* asDevice(IDirect3DDevice9* device) { return exactCast<Device>(device); }

HRESULT Device::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    if (sameGuid(riid, IID_IUnknown)) {
        AddRef();
        *object = static_cast<IUnknown*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT Device::GetDirect3D(IDirect3D9** d3d) {
    if (!d3d) return D3DERR_INVALIDCALL;
    d3d_->AddRef();
    *d3d = d3d_;
    return D3D_OK;
}

HRESULT Device::Present(const RECT*, const RECT*, HWND, const RGNDATA*) {
    if (insideScene_) return D3DERR_INVALIDCALL;
    const unsigned long duration = presentDuration();
    win32::Desktop& desktop = win32::desktop();
    const DWORD begin = duration ? desktop.now() : 0;
    renderer_->finishFrame();
    if (win32::pauseMenuAsked()) {
        if (menu::MenuScreen* screen = renderer_->menuScreen()) {
            win32::runPauseMenu(*screen);
            renderer_->menuClosed();
        }
    }
    renderer_->present();
    if (duration) {
        const DWORD spent = desktop.now() - begin;
        if (spent < duration) desktop.sleep(duration - spent);
    }
    return D3D_OK;
}

HRESULT Device::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                              IDirect3DTexture9** texture, HANDLE*) {
    return Texture::create(this, width, height, levels, usage, format, pool, texture);
}

HRESULT Device::CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                   IDirect3DVertexBuffer9** buffer, HANDLE*) {
    return VertexBuffer::create(this, length, usage, fvf, pool, buffer);
}

HRESULT Device::CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                  IDirect3DIndexBuffer9** buffer, HANDLE*) {
    return IndexBuffer::create(this, length, usage, format, pool, buffer);
}

HRESULT Device::BeginScene() {
    if (insideScene_) return D3DERR_INVALIDCALL;
    insideScene_ = true;
    return D3D_OK;
}

HRESULT Device::EndScene() {
    if (!insideScene_) return D3DERR_INVALIDCALL;
    insideScene_ = false;
    return D3D_OK;
}

HRESULT Device::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil) {
    const DWORD known = D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL;
    if (flags == 0 || (flags & ~known)) return D3DERR_INVALIDCALL;
    if ((flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) && !params_.EnableAutoDepthStencil)
        return D3DERR_INVALIDCALL;
    if (!(z >= 0.0f && z <= 1.0f)) return D3DERR_INVALIDCALL;
    if (count == 0 || !rects) {
        count = 0;
        rects = nullptr;
    }
    renderer_->clear({state_, count, rects, flags, color, z, stencil, insideScene_});
    return D3D_OK;
}

D3DMATRIX* Device::transformSlot(D3DTRANSFORMSTATETYPE state) {
    switch (DWORD(state)) {
    case D3DTS_WORLD: return &state_.world;
    case D3DTS_VIEW: return &state_.view;
    case D3DTS_PROJECTION: return &state_.projection;
    default: return nullptr;
    }
}

HRESULT Device::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
    D3DMATRIX* slot = transformSlot(state);
    if (!matrix || !slot) return D3DERR_INVALIDCALL;
    *slot = *matrix;
    return D3D_OK;
}

HRESULT Device::GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) {
    D3DMATRIX* slot = transformSlot(state);
    if (!matrix || !slot) return D3DERR_INVALIDCALL;
    *matrix = *slot;
    return D3D_OK;
}

HRESULT Device::SetViewport(const D3DVIEWPORT9* viewport) {
    if (!viewport) return D3DERR_INVALIDCALL;
    const uint64_t right = uint64_t(viewport->X) + viewport->Width;
    const uint64_t bottom = uint64_t(viewport->Y) + viewport->Height;
    if (viewport->Width == 0 || viewport->Height == 0 || right > params_.BackBufferWidth ||
        bottom > params_.BackBufferHeight)
        return D3DERR_INVALIDCALL;
    if (!(viewport->MinZ >= 0.0f && viewport->MaxZ <= 1.0f && viewport->MinZ <= viewport->MaxZ))
        return D3DERR_INVALIDCALL;
    state_.viewport = *viewport;
    return D3D_OK;
}

HRESULT Device::GetViewport(D3DVIEWPORT9* viewport) {
    if (!viewport) return D3DERR_INVALIDCALL;
    *viewport = state_.viewport;
    return D3D_OK;
}

HRESULT Device::SetMaterial(const D3DMATERIAL9* material) {
    if (!material) return D3DERR_INVALIDCALL;
    state_.material = *material;
    return D3D_OK;
}

HRESULT Device::GetMaterial(D3DMATERIAL9* material) {
    if (!material) return D3DERR_INVALIDCALL;
    *material = state_.material;
    return D3D_OK;
}

HRESULT Device::SetLight(DWORD index, const D3DLIGHT9* light) {
    if (!light || !validLightType(light->Type)) return D3DERR_INVALIDCALL;
    auto found = state_.lights.find(index);
    if (found == state_.lights.end())
        state_.lights.emplace(index, LightSlot{*light, false});
    else
        found->second.light = *light;
    return D3D_OK;
}

HRESULT Device::GetLight(DWORD index, D3DLIGHT9* light) {
    auto found = state_.lights.find(index);
    if (!light || found == state_.lights.end()) return D3DERR_INVALIDCALL;
    *light = found->second.light;
    return D3D_OK;
}

HRESULT Device::LightEnable(DWORD index, BOOL enable) {
    auto found = state_.lights.find(index);
    if (found == state_.lights.end()) found = state_.lights.emplace(index, LightSlot{defaultLight(), false}).first;
    found->second.enabled = enable != FALSE;
    return D3D_OK;
}

HRESULT Device::GetLightEnable(DWORD index, BOOL* enable) {
    auto found = state_.lights.find(index);
    if (!enable || found == state_.lights.end()) return D3DERR_INVALIDCALL;
    *enable = found->second.enabled ? TRUE : FALSE;
    return D3D_OK;
}

HRESULT Device::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    if (DWORD(state) >= kRenderStateCount) return D3DERR_INVALIDCALL;
    state_.renderStates[state] = value;
    return D3D_OK;
}

HRESULT Device::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) {
    if (!value || DWORD(state) >= kRenderStateCount) return D3DERR_INVALIDCALL;
    *value = state_.renderStates[state];
    return D3D_OK;
}

HRESULT Device::GetTexture(DWORD stage, IDirect3DBaseTexture9** texture) {
    if (!texture || stage >= kTextureStageCount) return D3DERR_INVALIDCALL;
    *texture = state_.textures[stage];
    if (*texture) (*texture)->AddRef();
    return D3D_OK;
}

HRESULT Device::SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) {
    if (stage >= kTextureStageCount) return D3DERR_INVALIDCALL;
    // Bound already, so checked already: effects bind their texture again every pass.
    if (texture == state_.textures[stage]) return D3D_OK;
    if (texture && !asTexture(texture)) return D3DERR_INVALIDCALL;
    rebind(state_.textures[stage], texture);
    return D3D_OK;
}

HRESULT Device::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) {
    return readSlotState(state_.stageStates, stage, type, value);
}

HRESULT Device::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
    return writeSlotState(state_.stageStates, stage, type, value);
}

HRESULT Device::GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) {
    return readSlotState(state_.samplerStates, sampler, type, value);
}

HRESULT Device::SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) {
    return writeSlotState(state_.samplerStates, sampler, type, value);
}

HRESULT Device::SetScissorRect(const RECT* rect) {
    // Within the render target; an empty rectangle is allowed and lets nothing through.
    if (!rect || rect->left < 0 || rect->top < 0 || rect->left > rect->right || rect->top > rect->bottom ||
        ULONG(rect->right) > params_.BackBufferWidth || ULONG(rect->bottom) > params_.BackBufferHeight)
        return D3DERR_INVALIDCALL;
    state_.scissorRect = *rect;
    return D3D_OK;
}

HRESULT Device::GetScissorRect(RECT* rect) {
    if (!rect) return D3DERR_INVALIDCALL;
    *rect = state_.scissorRect;
    return D3D_OK;
}

HRESULT Device::drawFromStream(DrawCall::Source source, D3DPRIMITIVETYPE type, UINT primitiveCount,
                               UINT startVertex, IndexBuffer* indices, INT baseVertexIndex, UINT startIndex) {
    if (!validPrimitiveType(type)) return D3DERR_INVALIDCALL;
    if (primitiveCount == 0) return D3D_OK;
    DrawCall call{state_,
                  source,
                  type,
                  primitiveCount,
                  verticesForPrimitives(type, primitiveCount),
                  fvfFormat_,
                  state_.stream0.stride,
                  nullptr,
                  asVertexBuffer(state_.stream0.buffer),
                  state_.stream0.offset,
                  startVertex,
                  indices,
                  baseVertexIndex,
                  startIndex,
                  shader_,
                  insideScene_};
    VertexBuffer* buffer = call.vertexBuffer;
    if (!buffer || !call.format.supported || call.stride < call.format.size) return D3DERR_INVALIDCALL;
    const UINT length = buffer->storage().length();
    const UINT available = state_.stream0.offset >= length ? 0 : (length - state_.stream0.offset) / call.stride;
    if (source == DrawCall::Source::Indexed) {
        if (!indices) return D3DERR_INVALIDCALL;
        if (!indicesInRange(*indices, startIndex, call.vertexCount, baseVertexIndex, available))
            return D3DERR_INVALIDCALL;
    } else if (uint64_t(startVertex) + call.vertexCount > available) {
        return D3DERR_INVALIDCALL;
    }
    renderer_->draw(call);
    return D3D_OK;
}

HRESULT Device::DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) {
    return drawFromStream(DrawCall::Source::Stream, type, primitiveCount, startVertex, nullptr, 0, 0);
}

HRESULT Device::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertexIndex, UINT, UINT, UINT startIndex,
                                     UINT primitiveCount) {
    return drawFromStream(DrawCall::Source::Indexed, type, primitiveCount, 0, asIndexBuffer(state_.indices),
                          baseVertexIndex, startIndex);
}

HRESULT Device::DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertices, UINT stride) {
    const VertexFormat format = fvfFormat_;
    if (!validPrimitiveType(type) || !vertices || !format.supported || stride < format.size)
        return D3DERR_INVALIDCALL;
    if (primitiveCount > 0) {
        DrawCall call{state_,
                      DrawCall::Source::User,
                      type,
                      primitiveCount,
                      verticesForPrimitives(type, primitiveCount),
                      format,
                      stride,
                      static_cast<const BYTE*>(vertices),
                      nullptr,
                      0,
                      0,
                      nullptr,
                      0,
                      0,
                      shader_,
                      insideScene_};
        renderer_->draw(call);
    }
    // The runtime drew from its own copy of the vertices and leaves stream 0 unset.
    rebind<IDirect3DVertexBuffer9>(state_.stream0.buffer, nullptr);
    state_.stream0.offset = 0;
    state_.stream0.stride = 0;
    return D3D_OK;
}

HRESULT Device::SetFVF(DWORD fvf) {
    if (fvf != state_.fvf) fvfFormat_ = VertexFormat::fromFvf(fvf);
    state_.fvf = fvf;
    return D3D_OK;
}

HRESULT Device::GetFVF(DWORD* fvf) {
    if (!fvf) return D3DERR_INVALIDCALL;
    *fvf = state_.fvf;
    return D3D_OK;
}

HRESULT Device::SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset, UINT stride) {
    if (stream != 0) return D3DERR_INVALIDCALL;
    if (buffer != state_.stream0.buffer) {
        if (buffer && !asVertexBuffer(buffer)) return D3DERR_INVALIDCALL;
        rebind(state_.stream0.buffer, buffer);
    }
    state_.stream0.offset = offset;
    state_.stream0.stride = stride;
    return D3D_OK;
}

HRESULT Device::GetStreamSource(UINT stream, IDirect3DVertexBuffer9** buffer, UINT* offset, UINT* stride) {
    if (stream != 0 || !buffer || !offset || !stride) return D3DERR_INVALIDCALL;
    *buffer = state_.stream0.buffer;
    if (*buffer) (*buffer)->AddRef();
    *offset = state_.stream0.offset;
    *stride = state_.stream0.stride;
    return D3D_OK;
}

HRESULT Device::GetIndices(IDirect3DIndexBuffer9** buffer) {
    if (!buffer) return D3DERR_INVALIDCALL;
    *buffer = state_.indices;
    if (*buffer) (*buffer)->AddRef();
    return D3D_OK;
}

HRESULT Device::SetIndices(IDirect3DIndexBuffer9* buffer) {
    if (buffer == state_.indices) return D3D_OK;
    if (buffer && !asIndexBuffer(buffer)) return D3DERR_INVALIDCALL;
    rebind(state_.indices, buffer);
    return D3D_OK;
}

}  // namespace velmora::d3d9
