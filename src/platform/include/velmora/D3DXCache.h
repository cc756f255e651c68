// The D3DX layer keeps the decoded content of every .x and picture file it loaded, so
// that loading the same file again reads nothing from disk. Tests look at the counts of
// real decodes and can drop the caches; the game never includes this header.
#pragma once

namespace velmora {

struct D3DXCacheStats {
    unsigned meshFilesDecoded = 0;   // .x files parsed since start-up
    unsigned imageFilesDecoded = 0;  // picture files decoded since start-up
};

D3DXCacheStats d3dxCacheStats();

// Drops every cached file; objects already loaded keep their data.
void clearD3DXCaches();

}  // namespace velmora
