#include "Sound3DBuffer.h"

#include "SecondaryBuffer.h"

namespace velmora::dsound {

HRESULT Sound3DBuffer::QueryInterface(REFIID riid, void** ppvObject) { return owner_.QueryInterface(riid, ppvObject); }
ULONG Sound3DBuffer::AddRef() { return owner_.AddRef(); }
ULONG Sound3DBuffer::Release() { return owner_.Release(); }

HRESULT Sound3DBuffer::GetMode(LPDWORD pdwMode) { return owner_.get3DMode(pdwMode); }
HRESULT Sound3DBuffer::SetMode(DWORD dwMode, DWORD dwApply) { return owner_.set3DMode(dwMode, dwApply); }
HRESULT Sound3DBuffer::SetPosition(D3DVALUE x, D3DVALUE y, D3DVALUE z, DWORD dwApply) {
    return owner_.set3DPosition(x, y, z, dwApply);
}

}  // namespace velmora::dsound
