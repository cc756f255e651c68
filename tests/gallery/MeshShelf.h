// The game's meshes, each loaded once with Mesh::load (textures from the mesh's folder)
// and kept for the whole gallery run.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "Mesh.h"

namespace gallery {

class MeshShelf {
public:
    // path: as the game names it, e.g. "data/Field/Lift2.x". Fails the test when the
    // mesh does not load; the Mesh then stays empty and draws nothing.
    static const Mesh& get(const std::string& path);
    // Releases every mesh before the device goes.
    static void clear();

private:
    static std::map<std::string, std::unique_ptr<Mesh>>& meshes();
};

}  // namespace gallery
