#include "StateDigest.h"

#include <cstring>

#include "CharaBase.h"
#include "SceneManager.h"

template <class T>
void StateDigest::add(const T& value) {
    unsigned char bytes[sizeof value];
    std::memcpy(bytes, &value, sizeof value);
    for (unsigned char byte : bytes) hash_ = (hash_ ^ byte) * 1099511628211ull;
}

void StateDigest::addFrame() {
    if (!g_sceneManager) return;
    add(g_sceneManager->currentScene ? g_sceneManager->currentScene->sceneId : -1);
    for (const CharaBase* object : g_sceneManager->objects) {
        for (int field : {object->Kind, object->Life, object->Active, object->Mode, object->Dead, object->Caught})
            add(field);
        for (const D3DXMATRIX* m : {&object->WorldMatrix, &object->TransMatrix, &object->ShadowMatrix}) add(*m);
    }
}
