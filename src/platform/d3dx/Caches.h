// The caches of decoded files that every D3DX loader shares.
#pragma once

#include "DecodedImage.h"
#include "FileCache.h"
#include "MeshData.h"
#include "PreparedTexture.h"

namespace velmora::d3dx {

FileCache<MeshData>& meshFiles();
FileCache<DecodedImage>& imageFiles();
// Keyed by the picture's path and the texture parameters.
FileCache<PreparedTexture>& preparedTextures();

// Counts of actual decodes, for the test-control header.
void countMeshDecode();
void countImageDecode();

}  // namespace velmora::d3dx
