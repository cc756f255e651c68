// The caches of decoded files that every D3DX loader shares.
#pragma once

#include "FileCache.h"
#include "MeshData.h"

namespace velmora::d3dx {

FileCache<MeshData>& meshFiles();

// Counts of actual decodes, for the test-control header.
void countMeshDecode();

}  // namespace velmora::d3dx
