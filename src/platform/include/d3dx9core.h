// D3DX core objects: the data buffer and the sprite.
#pragma once

#include <d3d9.h>

// A block of memory handed out by D3DX (materials, hit lists, compiler messages).
struct ID3DXBuffer : public IUnknown {
    virtual LPVOID STDMETHODCALLTYPE GetBufferPointer() = 0;
    virtual DWORD STDMETHODCALLTYPE GetBufferSize() = 0;
};
typedef ID3DXBuffer* LPD3DXBUFFER;

// The buffer's bytes start zeroed.
HRESULT WINAPI D3DXCreateBuffer(DWORD NumBytes, LPD3DXBUFFER* ppBuffer);
