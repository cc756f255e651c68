#include "MeshShelf.h"

#include <gtest/gtest.h>

#include "Graphics.h"

namespace gallery {

std::map<std::string, std::unique_ptr<Mesh>>& MeshShelf::meshes() {
    static std::map<std::string, std::unique_ptr<Mesh>> shelf;
    return shelf;
}

const Mesh& MeshShelf::get(const std::string& path) {
    std::unique_ptr<Mesh>& slot = meshes()[path];
    if (!slot) {
        slot = std::make_unique<Mesh>();
        EXPECT_TRUE(slot->load(Graphics::get().device, path.c_str())) << path;
    }
    return *slot;
}

void MeshShelf::clear() { meshes().clear(); }

}  // namespace gallery
