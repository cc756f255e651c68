// Writes a MeshBuilder as a text DirectX .x file: one frame holding one mesh with
// normals, one set of texture coordinates and a material list.
#pragma once

#include "MeshBuilder.h"

#include <string>

namespace assetgen {

class XFileWriter {
public:
    // Throws std::runtime_error when the file cannot be written.
    static void write(const MeshBuilder& mesh, const std::string& path, const std::string& name);
};

}  // namespace assetgen
