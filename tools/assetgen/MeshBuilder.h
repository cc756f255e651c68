// Collects triangles, per-vertex normals, texture coordinates and materials for one
// .x mesh. Winding follows Direct3D: a face is clockwise when seen from its front.
#pragma once

#include "Geometry.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace assetgen {

struct Material {
    float diffuse[4] = {1, 1, 1, 1};
    float power = 10;
    float specular[3] = {0.3f, 0.3f, 0.3f};
    float emissive[3] = {0, 0, 0};
    std::string texture;  // file name beside the mesh, empty for none
};

inline Material makeMaterial(float r, float g, float b, float a, float power, float specular,
                             const std::string& texture = "") {
    Material m;
    m.diffuse[0] = r;
    m.diffuse[1] = g;
    m.diffuse[2] = b;
    m.diffuse[3] = a;
    m.power = power;
    m.specular[0] = m.specular[1] = m.specular[2] = specular;
    m.texture = texture;
    return m;
}

struct Vertex {
    Vec3 position;
    Vec3 normal;
    Vec2 uv;
};

struct Triangle {
    uint32_t index[3];
    int material;
};

struct Bounds {
    Vec3 min{1e30f, 1e30f, 1e30f};
    Vec3 max{-1e30f, -1e30f, -1e30f};
};

class MeshBuilder {
public:
    int addMaterial(const Material& material);
    void useMaterial(int index) { currentMaterial_ = index; }

    // Every shape added is placed by this transform (identity at first).
    void setTransform(const Transform& transform) { transform_ = transform; }
    const Transform& transform() const { return transform_; }

    // A parametric surface P(u, v), u and v in [0, 1], cut into nu x nv cells. Its front
    // is the side that Pu x Pv points to. Smooth surfaces share normals between cells
    // (also across seams where positions coincide); others are faceted.
    void addSurface(int nu, int nv, const std::function<Vec3(float, float)>& surface, Vec2 uvScale,
                    bool smooth);

    // A flat convex polygon, corners clockwise seen from its front.
    void addPolygon(const std::vector<Vec3>& corners, const std::vector<Vec2>& uvs);

    // Axis-aligned box (in the current transform) with texture coordinates of
    // position / uvUnit on every face.
    void addBox(const Vec3& min, const Vec3& max, float uvUnit);
    void addEllipsoid(const Vec3& centre, const Vec3& radii, int slices, int stacks);
    // A tube through path points with a radius at each; caps close the ends.
    void addTube(const std::vector<Vec3>& path, const std::vector<float>& radii, int sides, bool smooth,
                 bool caps);
    // A ring around the local z axis (in the xy plane).
    void addTorus(float majorRadius, float minorRadius, int majorSegments, int minorSegments);
    // A flat disc facing +y at height y.
    void addDisc(float radiusX, float radiusZ, float y, int segments);

    const std::vector<Vertex>& vertices() const { return vertices_; }
    const std::vector<Triangle>& triangles() const { return triangles_; }
    const std::vector<Material>& materials() const { return materials_; }
    Bounds bounds() const;

private:
    uint32_t addVertex(const Vec3& localPosition, const Vec3& localNormal, Vec2 uv);
    void addTriangle(uint32_t a, uint32_t b, uint32_t c);

    std::vector<Vertex> vertices_;
    std::vector<Triangle> triangles_;
    std::vector<Material> materials_;
    Transform transform_;
    int currentMaterial_ = 0;
};

}  // namespace assetgen
