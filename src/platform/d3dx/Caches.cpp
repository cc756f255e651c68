#include "Caches.h"

#include "velmora/D3DXCache.h"

namespace velmora::d3dx {

namespace {
unsigned g_meshDecodes = 0;
unsigned g_imageDecodes = 0;
}  // namespace

FileCache<MeshData>& meshFiles() {
    static FileCache<MeshData> cache;
    return cache;
}

FileCache<DecodedImage>& imageFiles() {
    static FileCache<DecodedImage> cache;
    return cache;
}

FileCache<PreparedTexture>& preparedTextures() {
    static FileCache<PreparedTexture> cache;
    return cache;
}

void countMeshDecode() { ++g_meshDecodes; }

void countImageDecode() { ++g_imageDecodes; }

}  // namespace velmora::d3dx

namespace velmora {

D3DXCacheStats d3dxCacheStats() {
    D3DXCacheStats stats;
    stats.meshFilesDecoded = d3dx::g_meshDecodes;
    stats.imageFilesDecoded = d3dx::g_imageDecodes;
    return stats;
}

void clearD3DXCaches() {
    d3dx::meshFiles().clear();
    d3dx::imageFiles().clear();
    d3dx::preparedTextures().clear();
}

}  // namespace velmora
