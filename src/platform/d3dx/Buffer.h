// ID3DXBuffer: a fixed-size block of zeroed memory, aligned for any structure D3DX
// places in it.
#pragma once

#include <d3dx9core.h>

#include "ComObject.h"

#include <cstddef>
#include <memory>

namespace velmora::d3dx {

class Buffer final : public ComObject<ID3DXBuffer> {
public:
    explicit Buffer(DWORD size);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
    LPVOID STDMETHODCALLTYPE GetBufferPointer() override;
    DWORD STDMETHODCALLTYPE GetBufferSize() override;

private:
    DWORD size_;
    std::unique_ptr<std::max_align_t[]> storage_;
};

}  // namespace velmora::d3dx
