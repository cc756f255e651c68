// Reference counting shared by every COM-style object of the platform layer.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstring>

namespace velmora {

inline bool sameGuid(REFGUID a, REFGUID b) { return std::memcmp(&a, &b, sizeof(GUID)) == 0; }

// Implements AddRef and Release for an interface type; the object deletes itself
// when the last reference goes. QueryInterface stays with the concrete class.
template <class Interface>
class ComObject : public Interface {
public:
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

protected:
    ComObject() = default;
    virtual ~ComObject() = default;
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

private:
    std::atomic<ULONG> refs_{1};
};

}  // namespace velmora
