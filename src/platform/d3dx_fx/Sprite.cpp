#include "Sprite.h"

#include "d3d9/DeviceInternals.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace velmora::d3dxfx {

namespace {

struct SpriteVertex {
    float x, y, z;
    D3DCOLOR color;
    float u, v;
};
const DWORD kSpriteFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;

D3DMATRIX identity() {
    D3DMATRIX m{};
    m._11 = m._22 = m._33 = m._44 = 1.0f;
    return m;
}

// A point through a row-vector matrix, divided by w (D3DXVec3TransformCoord).
D3DVECTOR transformCoord(const D3DVECTOR& p, const D3DMATRIX& m) {
    const float x = p.x * m._11 + p.y * m._21 + p.z * m._31 + m._41;
    const float y = p.x * m._12 + p.y * m._22 + p.z * m._32 + m._42;
    const float z = p.x * m._13 + p.y * m._23 + p.z * m._33 + m._43;
    const float w = p.x * m._14 + p.y * m._24 + p.z * m._34 + m._44;
    return {x / w, y / w, z / w};
}

// The projection of D3DX's sprite: viewport pixels, origin top-left, y down, offset by
// half a pixel so that texels land 1:1 on Direct3D 9's pixel centres.
D3DMATRIX pixelProjection(const D3DVIEWPORT9& vp) {
    const float l = float(vp.X) + 0.5f, r = float(vp.X + vp.Width) + 0.5f;
    const float t = float(vp.Y) + 0.5f, b = float(vp.Y + vp.Height) + 0.5f;
    const float depth = vp.MaxZ > vp.MinZ ? vp.MaxZ - vp.MinZ : 1.0f;
    D3DMATRIX m{};
    m._11 = 2.0f / (r - l);
    m._22 = 2.0f / (t - b);
    m._33 = 1.0f / depth;
    m._41 = (l + r) / (l - r);
    m._42 = (t + b) / (b - t);
    m._43 = -vp.MinZ / depth;
    m._44 = 1.0f;
    return m;
}

// Corners that put the picture on whole pixels at its own size, upright: every pixel
// centre then falls on a texel centre.
bool oneToOne(const D3DVECTOR at[4], const RECT& rect) {
    const float width = float(rect.right - rect.left), height = float(rect.bottom - rect.top);
    return at[0].x == std::floor(at[0].x) && at[0].y == std::floor(at[0].y) && at[1].x - at[0].x == width &&
           at[1].y == at[0].y && at[2].x == at[1].x && at[2].y - at[1].y == height && at[3].x == at[0].x &&
           at[3].y == at[2].y;
}

DWORD renderState(IDirect3DDevice9* device, D3DRENDERSTATETYPE state) {
    DWORD value = 0;
    device->GetRenderState(state, &value);
    return value;
}

// Blending as Begin sets it up: the source over what is there, by the source's alpha.
bool blendsOver(IDirect3DDevice9* device) {
    return renderState(device, D3DRS_ALPHABLENDENABLE) && renderState(device, D3DRS_SRCBLEND) == D3DBLEND_SRCALPHA &&
           renderState(device, D3DRS_DESTBLEND) == D3DBLEND_INVSRCALPHA &&
           renderState(device, D3DRS_BLENDOP) == D3DBLENDOP_ADD;
}

// The corners of a quad drawn 1:1 cut to the part of its rectangle inside `visible`, and
// the rectangle with them; false when nothing is left.
bool cutToTexels(D3DVECTOR at[4], RECT& rect, const RECT& visible) {
    const RECT shown = {std::max(rect.left, visible.left), std::max(rect.top, visible.top),
                        std::min(rect.right, visible.right), std::min(rect.bottom, visible.bottom)};
    if (shown.left >= shown.right || shown.top >= shown.bottom) return false;
    const float left = at[0].x + float(shown.left - rect.left), top = at[0].y + float(shown.top - rect.top);
    const float right = left + float(shown.right - shown.left), bottom = top + float(shown.bottom - shown.top);
    at[0].x = at[3].x = left;
    at[1].x = at[2].x = right;
    at[0].y = at[1].y = top;
    at[2].y = at[3].y = bottom;
    rect = shown;
    return true;
}

void corners(const D3DVECTOR& position, const D3DVECTOR& center, const RECT& rect, const D3DMATRIX& transform,
             D3DVECTOR out[4]) {
    const float left = position.x - center.x, top = position.y - center.y, z = position.z - center.z;
    const float width = float(rect.right - rect.left), height = float(rect.bottom - rect.top);
    const D3DVECTOR local[4] = {
        {left, top, z}, {left + width, top, z}, {left + width, top + height, z}, {left, top + height, z}};
    for (int i = 0; i < 4; ++i) out[i] = transformCoord(local[i], transform);
}

}  // namespace

Sprite::Sprite(IDirect3DDevice9* device) : device_(device), transform_(identity()), saved_(device) {
    device_->AddRef();
}

Sprite::~Sprite() {
    releaseQueue();
    saved_.restore();
    device_->Release();
}

HRESULT Sprite::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    if (sameGuid(riid, IID_IUnknown)) {
        AddRef();
        *object = static_cast<IUnknown*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT Sprite::GetDevice(IDirect3DDevice9** device) {
    if (!device) return D3DERR_INVALIDCALL;
    device_->AddRef();
    *device = device_;
    return D3D_OK;
}

HRESULT Sprite::GetTransform(D3DXMATRIX* transform) {
    if (!transform) return D3DERR_INVALIDCALL;
    *static_cast<D3DMATRIX*>(transform) = transform_;
    return D3D_OK;
}

HRESULT Sprite::SetTransform(const D3DXMATRIX* transform) {
    if (!transform) return D3DERR_INVALIDCALL;
    transform_ = *transform;
    return D3D_OK;
}

// Object-space and billboard sprites are not supported.
HRESULT Sprite::SetWorldViewRH(const D3DXMATRIX*, const D3DXMATRIX*) { return E_NOTIMPL; }
HRESULT Sprite::SetWorldViewLH(const D3DXMATRIX*, const D3DXMATRIX*) { return E_NOTIMPL; }

void Sprite::saveState() {
    for (D3DRENDERSTATETYPE state :
         {D3DRS_ALPHABLENDENABLE, D3DRS_SRCBLEND, D3DRS_DESTBLEND, D3DRS_BLENDOP, D3DRS_SEPARATEALPHABLENDENABLE,
          D3DRS_ALPHATESTENABLE, D3DRS_ALPHAFUNC, D3DRS_ALPHAREF, D3DRS_CULLMODE, D3DRS_LIGHTING, D3DRS_FOGENABLE,
          D3DRS_STENCILENABLE, D3DRS_FILLMODE, D3DRS_SPECULARENABLE, D3DRS_COLORWRITEENABLE})
        saved_.saveRenderState(state);
    for (D3DTEXTURESTAGESTATETYPE type : {D3DTSS_COLOROP, D3DTSS_COLORARG1, D3DTSS_COLORARG2, D3DTSS_ALPHAOP,
                                          D3DTSS_ALPHAARG1, D3DTSS_ALPHAARG2, D3DTSS_TEXCOORDINDEX})
        saved_.saveStageState(0, type);
    saved_.saveStageState(1, D3DTSS_COLOROP);
    saved_.saveStageState(1, D3DTSS_ALPHAOP);
    for (D3DSAMPLERSTATETYPE type : {D3DSAMP_ADDRESSU, D3DSAMP_ADDRESSV, D3DSAMP_MAGFILTER, D3DSAMP_MINFILTER,
                                     D3DSAMP_MIPFILTER, D3DSAMP_MIPMAPLODBIAS, D3DSAMP_MAXMIPLEVEL})
        saved_.saveSamplerState(0, type);
    for (D3DTRANSFORMSTATETYPE type : {D3DTS_WORLD, D3DTS_VIEW, D3DTS_PROJECTION}) saved_.saveTransform(type);
    saved_.saveFvf();
    saved_.saveTexture(0);
}

void Sprite::setUpState() {
    const bool blend = (flags_ & D3DXSPRITE_ALPHABLEND) != 0;
    device_->SetRenderState(D3DRS_ALPHABLENDENABLE, blend);
    device_->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device_->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device_->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);
    device_->SetRenderState(D3DRS_SEPARATEALPHABLENDENABLE, FALSE);
    device_->SetRenderState(D3DRS_ALPHATESTENABLE, blend);
    device_->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
    device_->SetRenderState(D3DRS_ALPHAREF, 0);
    device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device_->SetRenderState(D3DRS_LIGHTING, FALSE);
    device_->SetRenderState(D3DRS_FOGENABLE, FALSE);
    device_->SetRenderState(D3DRS_STENCILENABLE, FALSE);
    device_->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
    device_->SetRenderState(D3DRS_SPECULARENABLE, FALSE);
    device_->SetRenderState(D3DRS_COLORWRITEENABLE, 0xF);
    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device_->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device_->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device_->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    device_->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
    device_->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    device_->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    device_->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    device_->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
    device_->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    device_->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    device_->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);
    device_->SetSamplerState(0, D3DSAMP_MIPMAPLODBIAS, 0);
    device_->SetSamplerState(0, D3DSAMP_MAXMIPLEVEL, 0);
}

HRESULT Sprite::Begin(DWORD flags) {
    if (begun_) return D3DERR_INVALIDCALL;
    flags_ = flags;
    if (!(flags & D3DXSPRITE_DONOTSAVESTATE)) saveState();
    if (!(flags & D3DXSPRITE_DONOTMODIFY_RENDERSTATE)) setUpState();
    begun_ = true;
    return D3D_OK;
}

HRESULT Sprite::Draw(IDirect3DTexture9* texture, const RECT* rect, const D3DXVECTOR3* center,
                     const D3DXVECTOR3* position, D3DCOLOR color) {
    if (!begun_ || !texture) return D3DERR_INVALIDCALL;
    Queued sprite{texture, {}, {0, 0, 0}, {0, 0, 0}, color, transform_};
    if (rect) {
        sprite.rect = *rect;
    } else {
        D3DSURFACE_DESC desc{};
        if (FAILED(texture->GetLevelDesc(0, &desc))) return D3DERR_INVALIDCALL;
        sprite.rect = {0, 0, LONG(desc.Width), LONG(desc.Height)};
    }
    if (center) sprite.center = *center;
    if (position) sprite.position = *position;
    try {
        queue_.push_back(sprite);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    if (!(flags_ & D3DXSPRITE_DO_NOT_ADDREF_TEXTURE)) texture->AddRef();
    return D3D_OK;
}

void Sprite::drawQueued(const Queued& sprite) {
    D3DVECTOR at[4];
    corners(sprite.position, sprite.center, sprite.rect, sprite.transform, at);
    if (d3d9::keepsDrawLog(device_)) {
        LoggedSprite logged{sprite.texture, sprite.rect, sprite.center, sprite.position, sprite.color,
                            sprite.transform, {at[0], at[1], at[2], at[3]}};
        d3d9::recordSprite(device_, logged);
        return;
    }
    const bool ownStates = !(flags_ & D3DXSPRITE_DONOTMODIFY_RENDERSTATE);
    // Blended and alpha-tested as Begin set it up, a sprite of no alpha changes no pixel.
    if (ownStates && (flags_ & D3DXSPRITE_ALPHABLEND) && (sprite.color >> 24) == 0) return;
    RECT rect = sprite.rect;
    bool opaque = false;
    if (ownStates) {
        // Drawn 1:1, each pixel samples one texel at its centre on the top level: point
        // sampling gives the same colours without the filtering work.
        const bool exact = d3d9::frameScale(device_) == 1.0f && oneToOne(at, rect);
        device_->SetSamplerState(0, D3DSAMP_MAGFILTER, exact ? D3DTEXF_POINT : D3DTEXF_LINEAR);
        device_->SetSamplerState(0, D3DSAMP_MINFILTER, exact ? D3DTEXF_POINT : D3DTEXF_LINEAR);
        device_->SetSamplerState(0, D3DSAMP_MIPFILTER, exact ? D3DTEXF_NONE : D3DTEXF_LINEAR);
        d3d9::AlphaCoverage coverage{};
        if (exact && d3d9::alphaCoverage(sprite.texture, coverage)) {
            // The alpha test, as Begin sets it, discards the pixels of texels without alpha.
            const bool dropsClear = renderState(device_, D3DRS_ALPHATESTENABLE) &&
                                    renderState(device_, D3DRS_ALPHAFUNC) == D3DCMP_GREATER;
            if (dropsClear && !cutToTexels(at, rect, coverage.visible)) return;
            // Opaque texels under an opaque colour blend to themselves: blending is left off.
            opaque = coverage.opaque && (sprite.color >> 24) == 0xFF && blendsOver(device_);
        }
    }
    D3DSURFACE_DESC desc{};
    sprite.texture->GetLevelDesc(0, &desc);
    const float u0 = float(rect.left) / float(desc.Width), u1 = float(rect.right) / float(desc.Width);
    const float v0 = float(rect.top) / float(desc.Height), v1 = float(rect.bottom) / float(desc.Height);
    const SpriteVertex quad[4] = {{at[0].x, at[0].y, at[0].z, sprite.color, u0, v0},
                                  {at[1].x, at[1].y, at[1].z, sprite.color, u1, v0},
                                  {at[2].x, at[2].y, at[2].z, sprite.color, u1, v1},
                                  {at[3].x, at[3].y, at[3].z, sprite.color, u0, v1}};
    device_->SetTexture(0, sprite.texture);
    if (opaque) device_->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    device_->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, quad, sizeof(SpriteVertex));
    if (opaque) device_->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
}

HRESULT Sprite::Flush() {
    if (!begun_) return D3DERR_INVALIDCALL;
    if (queue_.empty()) return D3D_OK;
    // Corners are already in pixels: the world and view transforms are identity and the
    // projection maps the viewport.
    D3DVIEWPORT9 viewport{};
    device_->GetViewport(&viewport);
    const D3DMATRIX none = identity();
    const D3DMATRIX projection = pixelProjection(viewport);
    device_->SetTransform(D3DTS_WORLD, &none);
    device_->SetTransform(D3DTS_VIEW, &none);
    device_->SetTransform(D3DTS_PROJECTION, &projection);
    device_->SetFVF(kSpriteFvf);
    for (const Queued& sprite : queue_) drawQueued(sprite);
    releaseQueue();
    return D3D_OK;
}

HRESULT Sprite::End() {
    if (!begun_) return D3DERR_INVALIDCALL;
    Flush();
    saved_.restore();
    begun_ = false;
    return D3D_OK;
}

HRESULT Sprite::OnLostDevice() {
    if (begun_) End();
    return D3D_OK;
}

void Sprite::releaseQueue() {
    if (!(flags_ & D3DXSPRITE_DO_NOT_ADDREF_TEXTURE))
        for (const Queued& sprite : queue_) sprite.texture->Release();
    queue_.clear();
}

}  // namespace velmora::d3dxfx

HRESULT WINAPI D3DXCreateSprite(IDirect3DDevice9* device, ID3DXSprite** sprite) {
    if (!device || !sprite) return D3DERR_INVALIDCALL;
    try {
        *sprite = new velmora::d3dxfx::Sprite(device);
    } catch (const std::bad_alloc&) {
        *sprite = nullptr;
        return E_OUTOFMEMORY;
    }
    return D3D_OK;
}
