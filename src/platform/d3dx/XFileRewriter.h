// assimp's .x reader trusts the file: face, normal and texture-coordinate indices, counts
// that should agree, name lengths and nesting are used as they stand, so a file with a
// wrong number in it makes assimp read (or write) outside its arrays. Every .x file is
// therefore read here first. The data objects D3DXLoadMeshFromX uses (frames and their
// matrices, meshes with normals, texture coordinates and material lists, materials and
// their texture names) are checked, every index against the array it points into, and
// written out again in binary form; that copy is all assimp ever sees. Everything else in
// the file (animations, skin weights, vertex colours, unknown objects) is left out: the
// mesh D3DX makes has none of it.
#pragma once

#include <cstddef>
#include <string>

namespace velmora::d3dx {

// The material given to a mesh without a material list, so that it keeps D3DX's default
// even beside meshes that have materials. No file can name a material so.
constexpr const char* kDefaultMaterialName = "<D3DX default material>";

// False when the file is not a well-formed .x file whose indices all hold.
bool rewriteXFile(const unsigned char* bytes, size_t size, std::string& checked);

}  // namespace velmora::d3dx
