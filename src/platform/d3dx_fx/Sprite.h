// ID3DXSprite: textured rectangles in pixels (origin top-left, y down), each texel
// multiplied by the sprite colour, drawn in call order through the device with the state
// D3DX sets up and restored afterwards. The headless backend records each sprite instead.
#pragma once

#include "ComObject.h"
#include "SavedDeviceState.h"

#include <d3dx9.h>

#include <vector>

namespace velmora::d3dxfx {

class Sprite final : public ComObject<ID3DXSprite> {
public:
    explicit Sprite(IDirect3DDevice9* device);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** device) override;
    HRESULT STDMETHODCALLTYPE GetTransform(D3DXMATRIX* transform) override;
    HRESULT STDMETHODCALLTYPE SetTransform(const D3DXMATRIX* transform) override;
    HRESULT STDMETHODCALLTYPE SetWorldViewRH(const D3DXMATRIX* world, const D3DXMATRIX* view) override;
    HRESULT STDMETHODCALLTYPE SetWorldViewLH(const D3DXMATRIX* world, const D3DXMATRIX* view) override;
    HRESULT STDMETHODCALLTYPE Begin(DWORD flags) override;
    HRESULT STDMETHODCALLTYPE Draw(IDirect3DTexture9* texture, const RECT* rect, const D3DXVECTOR3* center,
                                   const D3DXVECTOR3* position, D3DCOLOR color) override;
    HRESULT STDMETHODCALLTYPE Flush() override;
    HRESULT STDMETHODCALLTYPE End() override;
    HRESULT STDMETHODCALLTYPE OnLostDevice() override;
    HRESULT STDMETHODCALLTYPE OnResetDevice() override { return D3D_OK; }

private:
    ~Sprite() override;

    struct Queued {
        IDirect3DTexture9* texture;
        RECT rect;
        D3DVECTOR center;
        D3DVECTOR position;
        D3DCOLOR color;
        D3DMATRIX transform;
    };

    void saveState();
    void setUpState();
    void drawQueued(const Queued& sprite);
    void releaseQueue();

    IDirect3DDevice9* device_;
    D3DMATRIX transform_;
    bool begun_ = false;
    DWORD flags_ = 0;
    std::vector<Queued> queue_;
    SavedDeviceState saved_;
};

}  // namespace velmora::d3dxfx
