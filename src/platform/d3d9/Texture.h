// A texture whose texels live in memory (one array per mip level, 32-bit texels), so that
// D3DX can fill it through LockRect and the headless backend can keep it without a GPU.
// Textures D3DX loads from one picture share their texels until one of them is written.
#pragma once

#include "ComObject.h"
#include "GpuCopy.h"
#include "TexelStorage.h"

#include <d3d9.h>

#include <memory>
#include <vector>

namespace velmora::d3d9 {

class Texture final : public ComObject<IDirect3DTexture9> {
public:
    using Level = TexelStorage::Level;

    // Levels 0 means a full chain down to 1 x 1. Only 32-bit formats are supported.
    static HRESULT create(IDirect3DDevice9* device, UINT width, UINT height, UINT levels, DWORD usage,
                          D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9** texture);
    // A texture of the texels' format and levels that reads them until it is locked.
    static HRESULT createSharing(IDirect3DDevice9* device, std::shared_ptr<TexelStorage> texels, DWORD usage,
                                 D3DPOOL pool, IDirect3DTexture9** texture);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** device) override;
    D3DRESOURCETYPE STDMETHODCALLTYPE GetType() override { return D3DRTYPE_TEXTURE; }
    DWORD STDMETHODCALLTYPE GetLevelCount() override { return static_cast<DWORD>(storage_->levels.size()); }
    HRESULT STDMETHODCALLTYPE GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) override;
    HRESULT STDMETHODCALLTYPE LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE UnlockRect(UINT level) override;

    static constexpr UINT kBytesPerTexel = 4;
    const std::vector<Level>& levels() const { return storage_->levels; }
    D3DFORMAT format() const { return format_; }
    // Bumped by every UnlockRect: the GPU copy is stale when it saw an older revision.
    unsigned revision() const { return storage_->revision; }
    GpuCopy& gpuCopy() { return storage_->gpu; }
    const AlphaCoverage& alphaCoverage();

private:
    Texture(IDirect3DDevice9* device, std::shared_ptr<TexelStorage> storage, DWORD usage, D3DPOOL pool)
        : device_(device), format_(storage->format), usage_(usage), pool_(pool), storage_(std::move(storage)) {}

    IDirect3DDevice9* device_;
    D3DFORMAT format_;
    DWORD usage_;
    D3DPOOL pool_;
    std::shared_ptr<TexelStorage> storage_;  // shared with other textures until written
    std::vector<bool> locked_;               // by level
};

// The texture behind an interface pointer the device was given, or null for a texture of
// another kind.
Texture* asTexture(IDirect3DBaseTexture9* texture);

}  // namespace velmora::d3d9
