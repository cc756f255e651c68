// D3DX effects: the part of ID3DXEffect the game uses, and D3DXCreateEffectFromFileA.
#pragma once

#include <d3d9.h>
#include <d3dx9core.h>
#include <d3dx9math.h>

typedef const char* D3DXHANDLE;
typedef D3DXHANDLE* LPD3DXHANDLE;

typedef struct _D3DXMACRO {
    const char* Name;
    const char* Definition;
} D3DXMACRO, *LPD3DXMACRO;

typedef enum _D3DXINCLUDE_TYPE {
    D3DXINC_LOCAL = 0,
    D3DXINC_SYSTEM = 1,
    D3DXINC_FORCE_DWORD = 0x7fffffff
} D3DXINCLUDE_TYPE;

struct ID3DXInclude {
    virtual HRESULT STDMETHODCALLTYPE Open(D3DXINCLUDE_TYPE include_type, const char* filename,
                                           const void* parent_data, const void** data, UINT* bytes) = 0;
    virtual HRESULT STDMETHODCALLTYPE Close(const void* data) = 0;
};
typedef ID3DXInclude* LPD3DXINCLUDE;

struct ID3DXEffectPool : public IUnknown {};
typedef ID3DXEffectPool* LPD3DXEFFECTPOOL;

#define D3DXFX_DONOTSAVESTATE (1 << 0)
#define D3DXFX_DONOTSAVESHADERSTATE (1 << 1)
#define D3DXFX_DONOTSAVESAMPLERSTATE (1 << 2)

struct ID3DXEffect : public IUnknown {
    virtual D3DXHANDLE STDMETHODCALLTYPE GetParameterByName(D3DXHANDLE parameter, const char* name) = 0;
    virtual D3DXHANDLE STDMETHODCALLTYPE GetTechniqueByName(const char* name) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetValue(D3DXHANDLE parameter, const void* data, UINT bytes) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetValue(D3DXHANDLE parameter, void* data, UINT bytes) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetFloat(D3DXHANDLE parameter, FLOAT f) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFloat(D3DXHANDLE parameter, FLOAT* f) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetVector(D3DXHANDLE parameter, const D3DXVECTOR4* vector) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetVector(D3DXHANDLE parameter, D3DXVECTOR4* vector) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetMatrix(D3DXHANDLE parameter, const D3DXMATRIX* matrix) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMatrix(D3DXHANDLE parameter, D3DXMATRIX* matrix) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetMatrixTranspose(D3DXHANDLE parameter, const D3DXMATRIX* matrix) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetTexture(D3DXHANDLE parameter, IDirect3DBaseTexture9* texture) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTexture(D3DXHANDLE parameter, IDirect3DBaseTexture9** texture) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetTechnique(D3DXHANDLE technique) = 0;
    virtual D3DXHANDLE STDMETHODCALLTYPE GetCurrentTechnique() = 0;
    virtual HRESULT STDMETHODCALLTYPE Begin(UINT* passes, DWORD flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE BeginPass(UINT pass) = 0;
    virtual HRESULT STDMETHODCALLTYPE CommitChanges() = 0;
    virtual HRESULT STDMETHODCALLTYPE EndPass() = 0;
    virtual HRESULT STDMETHODCALLTYPE End() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** device) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnLostDevice() = 0;
    virtual HRESULT STDMETHODCALLTYPE OnResetDevice() = 0;
};
typedef ID3DXEffect* LPD3DXEFFECT;

HRESULT WINAPI D3DXCreateEffectFromFileA(IDirect3DDevice9* device, const char* srcfile, const D3DXMACRO* defines,
                                         ID3DXInclude* include, DWORD flags, ID3DXEffectPool* pool,
                                         ID3DXEffect** effect, ID3DXBuffer** compilation_errors);
