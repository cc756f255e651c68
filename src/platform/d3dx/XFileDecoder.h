// Decoding a DirectX .x file (text or binary) with assimp into D3DX's mesh layout.
#pragma once

#include "MeshData.h"

#include <memory>

namespace velmora::d3dx {

// Null when the bytes are not a .x file with at least one face.
std::shared_ptr<const MeshData> decodeXFile(const unsigned char* bytes, size_t size);

}  // namespace velmora::d3dx
