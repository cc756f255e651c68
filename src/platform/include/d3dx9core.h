// D3DX core objects: the data buffer and the sprite.
#pragma once

#include <d3d9.h>
#include <d3dx9math.h>

// A block of memory handed out by D3DX (materials, hit lists, compiler messages).
struct ID3DXBuffer : public IUnknown {
    virtual LPVOID STDMETHODCALLTYPE GetBufferPointer() = 0;
    virtual DWORD STDMETHODCALLTYPE GetBufferSize() = 0;
};
typedef ID3DXBuffer* LPD3DXBUFFER;

// The buffer's bytes start zeroed.
HRESULT WINAPI D3DXCreateBuffer(DWORD NumBytes, LPD3DXBUFFER* ppBuffer);

// --- ID3DXSprite -----------------------------------------------------------------------

#define D3DXSPRITE_DONOTSAVESTATE 0x00000001
#define D3DXSPRITE_DONOTMODIFY_RENDERSTATE 0x00000002
#define D3DXSPRITE_OBJECTSPACE 0x00000004
#define D3DXSPRITE_BILLBOARD 0x00000008
#define D3DXSPRITE_ALPHABLEND 0x00000010
#define D3DXSPRITE_SORT_TEXTURE 0x00000020
#define D3DXSPRITE_SORT_DEPTH_FRONTTOBACK 0x00000040
#define D3DXSPRITE_SORT_DEPTH_BACKTOFRONT 0x00000080
#define D3DXSPRITE_DO_NOT_ADDREF_TEXTURE 0x00000100

struct ID3DXSprite : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** device) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTransform(D3DXMATRIX* transform) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetTransform(const D3DXMATRIX* transform) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetWorldViewRH(const D3DXMATRIX* world, const D3DXMATRIX* view) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetWorldViewLH(const D3DXMATRIX* world, const D3DXMATRIX* view) = 0;
    virtual HRESULT STDMETHODCALLTYPE Begin(DWORD flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE Draw(IDirect3DTexture9* texture, const RECT* rect, const D3DXVECTOR3* center,
                                           const D3DXVECTOR3* position, D3DCOLOR color) = 0;
    virtual HRESULT STDMETHODCALLTYPE Flush() = 0;
    virtual HRESULT STDMETHODCALLTYPE End() = 0;
    virtual HRESULT STDMETHODCALLTYPE OnLostDevice() = 0;
    virtual HRESULT STDMETHODCALLTYPE OnResetDevice() = 0;
};
typedef ID3DXSprite* LPD3DXSPRITE;

HRESULT WINAPI D3DXCreateSprite(IDirect3DDevice9* device, ID3DXSprite** sprite);
