// Where each component sits in a vertex of a flexible vertex format (FVF).
#pragma once

#include <d3d9.h>

namespace velmora::d3d9 {

struct VertexFormat {
    bool supported = false;  // untransformed XYZ positions; anything else is refused
    UINT size = 0;           // bytes of one vertex as the FVF lays it out
    int normal = -1;         // byte offsets, -1 when absent; the position is at 0
    int diffuse = -1;
    int texCoord = -1;       // the first texture coordinate set
    UINT texCoordComponents = 0;

    static VertexFormat fromFvf(DWORD fvf);
};

// Vertices read by a draw of count primitives of the given type.
UINT verticesForPrimitives(D3DPRIMITIVETYPE type, UINT count);

}  // namespace velmora::d3d9
