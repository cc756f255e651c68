#include "VertexFormat.h"

namespace velmora::d3d9 {

namespace {

// D3DFVF_TEXCOORDSIZEn packs two bits per set from bit 16: 0 = 2 floats, 1 = 3, 2 = 4, 3 = 1.
UINT componentsOfSet(DWORD fvf, UINT set) {
    static const UINT components[4] = {2, 3, 4, 1};
    return components[(fvf >> (16 + 2 * set)) & 3];
}

}  // namespace

VertexFormat VertexFormat::fromFvf(DWORD fvf) {
    VertexFormat format;
    if ((fvf & D3DFVF_POSITION_MASK) != D3DFVF_XYZ) return format;
    format.supported = true;
    UINT offset = 3 * sizeof(float);
    if (fvf & D3DFVF_NORMAL) {
        format.normal = int(offset);
        offset += 3 * sizeof(float);
    }
    if (fvf & D3DFVF_PSIZE) offset += sizeof(float);
    if (fvf & D3DFVF_DIFFUSE) {
        format.diffuse = int(offset);
        offset += sizeof(DWORD);
    }
    if (fvf & D3DFVF_SPECULAR) offset += sizeof(DWORD);
    const UINT sets = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    for (UINT set = 0; set < sets; ++set) {
        const UINT components = componentsOfSet(fvf, set);
        if (set == 0) {
            format.texCoord = int(offset);
            format.texCoordComponents = components;
        }
        offset += components * sizeof(float);
    }
    format.size = offset;
    return format;
}

UINT verticesForPrimitives(D3DPRIMITIVETYPE type, UINT count) {
    if (count == 0) return 0;
    switch (type) {
    case D3DPT_POINTLIST: return count;
    case D3DPT_LINELIST: return 2 * count;
    case D3DPT_LINESTRIP: return count + 1;
    case D3DPT_TRIANGLELIST: return 3 * count;
    case D3DPT_TRIANGLESTRIP:
    case D3DPT_TRIANGLEFAN: return count + 2;
    default: return 0;
    }
}

}  // namespace velmora::d3d9
