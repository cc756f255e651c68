// The object behind an interface pointer when it is one of the platform's own objects of
// a final class, else null. It answers what dynamic_cast answers (nothing can derive from
// a final class, so the object must be of exactly that type), by comparing the type alone:
// the device and D3DX check every buffer, texture and mesh the game hands them, thousands
// of times a frame.
#pragma once

#include <type_traits>
#include <typeinfo>

namespace velmora {

template <class Ours, class Interface>
Ours* exactCast(Interface* object) {
    static_assert(std::is_final_v<Ours>, "only a final class has no other type deriving from it");
    if (!object || typeid(*object) != typeid(Ours)) return nullptr;
    return static_cast<Ours*>(object);
}

}  // namespace velmora
