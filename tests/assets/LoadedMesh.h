// A .x mesh read through assimp with the flags the game's mesh loader uses
// (left-handed conversion, triangulation, joined vertices), flattened into one list.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace assettest {

struct V3 {
    double x = 0, y = 0, z = 0;
};

inline V3 operator-(const V3& a, const V3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline V3 operator+(const V3& a, const V3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline V3 operator*(const V3& a, double s) { return {a.x * s, a.y * s, a.z * s}; }
inline double dot(const V3& a, const V3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline V3 cross(const V3& a, const V3& b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

struct MeshMaterial {
    std::array<double, 4> diffuse{};
    std::string texture;  // empty when none
};

struct MeshTriangle {
    std::array<V3, 3> position;
    std::array<V3, 3> normal;
    std::array<std::array<double, 2>, 3> uv;
    unsigned material;
};

struct LoadedMesh {
    bool loaded = false;
    bool allHaveNormals = true;
    bool allHaveOneUvSet = true;
    std::vector<MeshMaterial> materials;
    std::vector<MeshTriangle> triangles;
    V3 min{1e30, 1e30, 1e30}, max{-1e30, -1e30, -1e30};

    static LoadedMesh load(const std::string& path);
};

}  // namespace assettest
