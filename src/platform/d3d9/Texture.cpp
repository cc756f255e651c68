#include "Texture.h"

#include "ExactCast.h"

#include <algorithm>
#include <new>

namespace velmora::d3d9 {

namespace {

bool supportedFormat(D3DFORMAT format) { return format == D3DFMT_A8R8G8B8 || format == D3DFMT_X8R8G8B8; }

}  // namespace

HRESULT Texture::create(IDirect3DDevice9* device, UINT width, UINT height, UINT levels, DWORD usage,
                        D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9** texture) {
    if (!texture) return D3DERR_INVALIDCALL;
    *texture = nullptr;
    if (width == 0 || height == 0 || !supportedFormat(format)) return D3DERR_INVALIDCALL;
    UINT chain = fullChainLength(width, height);
    if (levels == 0 || levels > chain) levels = chain;

    Texture* made = nullptr;
    try {
        auto storage = std::make_shared<TexelStorage>();
        storage->format = format;
        made = new Texture(device, std::move(storage), usage, pool);
        std::vector<Level>& chain = made->storage_->levels;
        chain.reserve(levels);
        for (UINT i = 0; i < levels; ++i) {
            chain.push_back({width, height, std::vector<BYTE>(size_t(width) * height * kBytesPerTexel)});
            width = std::max(1u, width / 2);
            height = std::max(1u, height / 2);
        }
        made->locked_.assign(levels, false);
    } catch (const std::bad_alloc&) {
        if (made) made->Release();
        return E_OUTOFMEMORY;
    }
    *texture = made;
    return D3D_OK;
}

HRESULT Texture::createSharing(IDirect3DDevice9* device, std::shared_ptr<TexelStorage> texels, DWORD usage,
                               D3DPOOL pool, IDirect3DTexture9** texture) {
    if (!texture) return D3DERR_INVALIDCALL;
    *texture = nullptr;
    if (!texels || texels->levels.empty() || !supportedFormat(texels->format)) return D3DERR_INVALIDCALL;
    for (const Level& level : texels->levels)
        if (level.width == 0 || level.height == 0 ||
            level.texels.size() != size_t(level.width) * level.height * kBytesPerTexel)
            return D3DERR_INVALIDCALL;
    Texture* made = nullptr;
    try {
        made = new Texture(device, std::move(texels), usage, pool);
        made->locked_.assign(made->storage_->levels.size(), false);
    } catch (const std::bad_alloc&) {
        if (made) made->Release();
        return E_OUTOFMEMORY;
    }
    *texture = made;
    return D3D_OK;
}

HRESULT Texture::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    if (sameGuid(riid, IID_IUnknown)) {
        AddRef();
        *object = static_cast<IUnknown*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT Texture::GetDevice(IDirect3DDevice9** device) {
    if (!device) return D3DERR_INVALIDCALL;
    device_->AddRef();
    *device = device_;
    return D3D_OK;
}

HRESULT Texture::GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) {
    const std::vector<Level>& levels = storage_->levels;
    if (level >= levels.size() || !desc) return D3DERR_INVALIDCALL;
    desc->Format = format_;
    desc->Type = D3DRTYPE_SURFACE;
    desc->Usage = usage_;
    desc->Pool = pool_;
    desc->MultiSampleType = D3DMULTISAMPLE_NONE;
    desc->MultiSampleQuality = 0;
    desc->Width = levels[level].width;
    desc->Height = levels[level].height;
    return D3D_OK;
}

HRESULT Texture::LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD) {
    if (level >= locked_.size() || !locked) return D3DERR_INVALIDCALL;
    if (locked_[level]) return D3DERR_INVALIDCALL;
    const Level& shape = storage_->levels[level];
    LONG left = 0, top = 0;
    if (rect) {
        if (rect->left < 0 || rect->top < 0 || rect->left >= rect->right || rect->top >= rect->bottom ||
            UINT(rect->right) > shape.width || UINT(rect->bottom) > shape.height)
            return D3DERR_INVALIDCALL;
        left = rect->left;
        top = rect->top;
    }
    // The caller may write: texels shared with other textures are copied first.
    if (storage_.use_count() > 1) {
        auto own = std::make_shared<TexelStorage>();
        own->format = storage_->format;
        own->levels = storage_->levels;
        own->revision = storage_->revision;
        storage_ = std::move(own);
    }
    Level& l = storage_->levels[level];
    const INT pitch = INT(l.width * kBytesPerTexel);
    locked->Pitch = pitch;
    locked->pBits = l.texels.data() + size_t(top) * pitch + size_t(left) * kBytesPerTexel;
    locked_[level] = true;
    return D3D_OK;
}

HRESULT Texture::UnlockRect(UINT level) {
    if (level >= locked_.size() || !locked_[level]) return D3DERR_INVALIDCALL;
    locked_[level] = false;
    ++storage_->revision;
    return D3D_OK;
}

const AlphaCoverage& Texture::alphaCoverage() {
    TexelStorage& storage = *storage_;
    if (storage.coverageRevision == storage.revision) return storage.coverage;
    const Level& top = storage.levels[0];
    AlphaCoverage found{{LONG(top.width), LONG(top.height), 0, 0}, true};
    if (format_ == D3DFMT_X8R8G8B8) {
        found.visible = {0, 0, LONG(top.width), LONG(top.height)};
    } else {
        // Texels are stored B, G, R, A.
        const BYTE* alpha = top.texels.data() + 3;
        for (LONG y = 0; y < LONG(top.height); ++y)
            for (LONG x = 0; x < LONG(top.width); ++x, alpha += kBytesPerTexel) {
                if (*alpha != 255) found.opaque = false;
                if (*alpha == 0) continue;
                found.visible = {std::min(found.visible.left, x), std::min(found.visible.top, y),
                                 std::max(found.visible.right, x + 1), std::max(found.visible.bottom, y + 1)};
            }
    }
    storage.coverage = found;
    storage.coverageRevision = storage.revision;
    return storage.coverage;
}

Texture* asTexture(IDirect3DBaseTexture9* texture) { return exactCast<Texture>(texture); }

}  // namespace velmora::d3d9
