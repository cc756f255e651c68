#include "BufferStorage.h"

namespace velmora::d3d9 {

HRESULT BufferStorage::lock(UINT offset, UINT size, void** data) {
    if (!data) return D3DERR_INVALIDCALL;
    if (size == 0 && offset == 0) size = length();
    if (offset > length() || size > length() - offset) return D3DERR_INVALIDCALL;
    *data = bytes_.data() + offset;
    ++locks_;
    return D3D_OK;
}

HRESULT BufferStorage::unlock() {
    if (locks_ == 0) return D3DERR_INVALIDCALL;
    --locks_;
    ++revision_;
    return D3D_OK;
}

}  // namespace velmora::d3d9
