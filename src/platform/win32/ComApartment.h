// COM initialisation of the one thread: CoInitialize counts, the first call answers
// S_OK and every further one S_FALSE; each must be balanced by CoUninitialize.
#pragma once

#include <windows.h>

namespace velmora::win32 {

class ComApartment {
public:
    HRESULT initialize() { return initCount_++ == 0 ? S_OK : S_FALSE; }
    void uninitialize() {
        if (initCount_ > 0) --initCount_;
    }
    int initCount() const { return initCount_; }

private:
    int initCount_ = 0;
};

}  // namespace velmora::win32
