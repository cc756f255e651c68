#include "Caches.h"

#include "velmora/D3DXCache.h"

#include <atomic>

namespace velmora::d3dx {

namespace {
std::atomic<unsigned> g_meshDecodes{0};
}  // namespace

FileCache<MeshData>& meshFiles() {
    static FileCache<MeshData> cache;
    return cache;
}

void countMeshDecode() { ++g_meshDecodes; }

}  // namespace velmora::d3dx

namespace velmora {

D3DXCacheStats d3dxCacheStats() {
    D3DXCacheStats stats;
    stats.meshFilesDecoded = d3dx::g_meshDecodes;
    return stats;
}

void clearD3DXCaches() { d3dx::meshFiles().clear(); }

}  // namespace velmora
