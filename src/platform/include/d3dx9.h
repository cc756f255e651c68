// D3DX9 (d3dx9_42): math, meshes and picking, textures, sprites and effects.
#pragma once

#include <d3d9.h>

#include <cfloat>

#define D3DX_DEFAULT ((UINT)-1)
#define D3DX_DEFAULT_NONPOW2 ((UINT)-2)
#define D3DX_DEFAULT_FLOAT FLT_MAX
#define D3DX_FROM_FILE ((UINT)-3)

#define _FACDD 0x876
#define MAKE_DDHRESULT(code) MAKE_HRESULT(1, _FACDD, code)
#define D3DXERR_INVALIDMESH MAKE_DDHRESULT(2901)
#define D3DXERR_INVALIDDATA MAKE_DDHRESULT(2905)

#include <d3dx9math.h>
#include <d3dx9core.h>
#include <d3dx9mesh.h>
#include <d3dx9tex.h>
#include <d3dx9effect.h>
