// Attribute tables: one range per run of faces with the same attribute, with the span of
// vertices those faces use.
#pragma once

#include <d3dx9mesh.h>

#include <cstdint>
#include <vector>

namespace velmora::d3dx {

// indices: three per face, 16- or 32-bit.
std::vector<D3DXATTRIBUTERANGE> buildAttributeTable(const std::vector<DWORD>& attributes, const void* indices,
                                                    bool index32);

// Three DWORDs per face: the face that shares each edge (corners 0-1, 1-2, 2-0), judged by
// vertex position, or 0xFFFFFFFF.
std::vector<DWORD> buildAdjacency(const float* positions, size_t stride, size_t vertexCount,
                                  const std::vector<uint32_t>& indices);

}  // namespace velmora::d3dx
