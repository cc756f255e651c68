// Every COM interface is released by hand and its pointer cleared.
#pragma once

template <class Interface>
inline void releaseInterface(Interface*& pointer) {
    if (pointer) {
        pointer->Release();
        pointer = nullptr;
    }
}
