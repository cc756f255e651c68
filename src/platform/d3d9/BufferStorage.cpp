#include "BufferStorage.h"

namespace velmora::d3d9 {

namespace {

unsigned nextRevision() {
    static unsigned revision = 0;
    return ++revision;
}

}  // namespace

BufferBytes::BufferBytes(std::vector<BYTE> contents) : bytes(std::move(contents)), revision(nextRevision()) {}

HRESULT BufferStorage::lock(UINT offset, UINT size, void** data, DWORD flags) {
    if (!data) return D3DERR_INVALIDCALL;
    if (size == 0 && offset == 0) size = length();
    if (offset > length() || size > length() - offset) return D3DERR_INVALIDCALL;
    if (!(flags & D3DLOCK_READONLY)) {
        // The caller may write: bytes shared with other buffers are copied first.
        if (shared_.use_count() > 1) shared_ = std::make_shared<BufferBytes>(shared_->bytes);
        writing_ = true;
    }
    *data = shared_->bytes.data() + offset;
    ++locks_;
    return D3D_OK;
}

HRESULT BufferStorage::unlock() {
    if (locks_ == 0) return D3DERR_INVALIDCALL;
    --locks_;
    if (writing_) shared_->revision = nextRevision();
    if (locks_ == 0) writing_ = false;
    return D3D_OK;
}

}  // namespace velmora::d3d9
