#include "MeshBuilder.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace assetgen {

int MeshBuilder::addMaterial(const Material& material) {
    materials_.push_back(material);
    return static_cast<int>(materials_.size()) - 1;
}

uint32_t MeshBuilder::addVertex(const Vec3& localPosition, const Vec3& localNormal, Vec2 uv) {
    vertices_.push_back({transform_.point(localPosition), transform_.normal(localNormal), uv});
    return static_cast<uint32_t>(vertices_.size() - 1);
}

void MeshBuilder::addTriangle(uint32_t a, uint32_t b, uint32_t c) {
    // A mirroring transform turns clockwise into counter-clockwise: swap to keep the front.
    if (transform_.mirrors()) std::swap(b, c);
    triangles_.push_back({{a, b, c}, currentMaterial_});
}

void MeshBuilder::addSurface(int nu, int nv, const std::function<Vec3(float, float)>& surface,
                             Vec2 uvScale, bool smooth) {
    const int columns = nu + 1;
    std::vector<Vec3> grid;
    grid.reserve(static_cast<size_t>(columns * (nv + 1)));
    // Snapped to the precision the file keeps, so points that meet (poles, seams) are
    // equal and the triangles they would squash to nothing are left out.
    auto snap = [](float v) { return std::round(v * 1e6f) / 1e6f; };
    for (int j = 0; j <= nv; ++j)
        for (int i = 0; i <= nu; ++i) {
            Vec3 p = surface(float(i) / nu, float(j) / nv);
            grid.push_back({snap(p.x), snap(p.y), snap(p.z)});
        }
    auto at = [&](int i, int j) { return grid[static_cast<size_t>(j * columns + i)]; };
    auto uvAt = [&](int i, int j) { return Vec2{uvScale.x * i / nu, uvScale.y * j / nv}; };

    if (!smooth) {
        for (int j = 0; j < nv; ++j)
            for (int i = 0; i < nu; ++i) {
                Vec3 p00 = at(i, j), p10 = at(i + 1, j), p11 = at(i + 1, j + 1), p01 = at(i, j + 1);
                Vec3 n = cross(p11 - p00, p01 - p10);
                if (length(n) < 1e-9f) continue;
                n = normalize(n);
                uint32_t a = addVertex(p00, n, uvAt(i, j)), b = addVertex(p10, n, uvAt(i + 1, j));
                uint32_t c = addVertex(p11, n, uvAt(i + 1, j + 1)), d = addVertex(p01, n, uvAt(i, j + 1));
                if (length(cross(p10 - p00, p11 - p00)) > 1e-12f) addTriangle(a, b, c);
                if (length(cross(p11 - p00, p01 - p00)) > 1e-12f) addTriangle(a, c, d);
            }
        return;
    }

    // Area-weighted face normals gathered per position, so seams and poles stay smooth.
    using Key = std::tuple<long, long, long>;
    auto keyOf = [](const Vec3& p) {
        return Key{std::lround(p.x * 1e5f), std::lround(p.y * 1e5f), std::lround(p.z * 1e5f)};
    };
    std::map<Key, Vec3> normalSums;
    for (int j = 0; j < nv; ++j)
        for (int i = 0; i < nu; ++i) {
            Vec3 p00 = at(i, j), p10 = at(i + 1, j), p11 = at(i + 1, j + 1), p01 = at(i, j + 1);
            Vec3 n = cross(p10 - p00, p11 - p00) + cross(p11 - p00, p01 - p00);
            for (const Vec3& p : {p00, p10, p11, p01}) normalSums[keyOf(p)] = normalSums[keyOf(p)] + n;
        }
    const uint32_t base = static_cast<uint32_t>(vertices_.size());
    for (int j = 0; j <= nv; ++j)
        for (int i = 0; i <= nu; ++i) addVertex(at(i, j), normalize(normalSums[keyOf(at(i, j))]), uvAt(i, j));
    auto index = [&](int i, int j) { return base + static_cast<uint32_t>(j * columns + i); };
    for (int j = 0; j < nv; ++j)
        for (int i = 0; i < nu; ++i) {
            Vec3 p00 = at(i, j), p10 = at(i + 1, j), p11 = at(i + 1, j + 1), p01 = at(i, j + 1);
            if (length(cross(p10 - p00, p11 - p00)) > 1e-12f) addTriangle(index(i, j), index(i + 1, j), index(i + 1, j + 1));
            if (length(cross(p11 - p00, p01 - p00)) > 1e-12f) addTriangle(index(i, j), index(i + 1, j + 1), index(i, j + 1));
        }
}

void MeshBuilder::addPolygon(const std::vector<Vec3>& corners, const std::vector<Vec2>& uvs) {
    Vec3 n{0, 0, 0};
    for (size_t i = 1; i + 1 < corners.size(); ++i)
        n = n + cross(corners[i] - corners[0], corners[i + 1] - corners[0]);
    n = normalize(n);
    const uint32_t base = static_cast<uint32_t>(vertices_.size());
    for (size_t i = 0; i < corners.size(); ++i) addVertex(corners[i], n, uvs[i]);
    for (uint32_t i = 1; i + 1 < corners.size(); ++i) addTriangle(base, base + i, base + i + 1);
}

void MeshBuilder::addBox(const Vec3& lo, const Vec3& hi, float uvUnit) {
    auto uv = [uvUnit](float a, float b) { return Vec2{a / uvUnit, b / uvUnit}; };
    // Each face: corners clockwise seen from outside, u along the face, v downwards.
    addPolygon({{lo.x, hi.y, lo.z}, {lo.x, hi.y, hi.z}, {hi.x, hi.y, hi.z}, {hi.x, hi.y, lo.z}},
               {uv(lo.x, -lo.z), uv(lo.x, -hi.z), uv(hi.x, -hi.z), uv(hi.x, -lo.z)});  // top
    addPolygon({{lo.x, lo.y, hi.z}, {lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, lo.y, hi.z}},
               {uv(lo.x, hi.z), uv(lo.x, lo.z), uv(hi.x, lo.z), uv(hi.x, hi.z)});  // bottom
    addPolygon({{lo.x, lo.y, lo.z}, {lo.x, hi.y, lo.z}, {hi.x, hi.y, lo.z}, {hi.x, lo.y, lo.z}},
               {uv(lo.x, -lo.y), uv(lo.x, -hi.y), uv(hi.x, -hi.y), uv(hi.x, -lo.y)});  // -z
    addPolygon({{hi.x, lo.y, hi.z}, {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z}, {lo.x, lo.y, hi.z}},
               {uv(-hi.x, -lo.y), uv(-hi.x, -hi.y), uv(-lo.x, -hi.y), uv(-lo.x, -lo.y)});  // +z
    addPolygon({{lo.x, lo.y, hi.z}, {lo.x, hi.y, hi.z}, {lo.x, hi.y, lo.z}, {lo.x, lo.y, lo.z}},
               {uv(-hi.z, -lo.y), uv(-hi.z, -hi.y), uv(-lo.z, -hi.y), uv(-lo.z, -lo.y)});  // -x
    addPolygon({{hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z}, {hi.x, hi.y, hi.z}, {hi.x, lo.y, hi.z}},
               {uv(lo.z, -lo.y), uv(lo.z, -hi.y), uv(hi.z, -hi.y), uv(hi.z, -lo.y)});  // +x
}

void MeshBuilder::addEllipsoid(const Vec3& c, const Vec3& r, int slices, int stacks) {
    addSurface(slices, stacks,
               [&](float u, float v) {
                   float phi = 2 * kPi * u, theta = kPi * v;
                   return c + Vec3{std::sin(theta) * std::cos(phi), std::cos(theta), std::sin(theta) * std::sin(phi)}.scaled(r);
               },
               {2, 1}, true);
}

void MeshBuilder::addTube(const std::vector<Vec3>& path, const std::vector<float>& radii, int sides, bool smooth,
                          bool caps) {
    const int rings = static_cast<int>(path.size());
    // Frames carried along the path so that the tube does not twist.
    std::vector<Vec3> tangent(rings), normal(rings), binormal(rings);
    for (int k = 0; k < rings; ++k) {
        Vec3 ahead = path[std::min(k + 1, rings - 1)] - path[std::max(k - 1, 0)];
        tangent[k] = normalize(ahead);
        Vec3 n = k == 0 ? perpendicular(tangent[0]) : normal[k - 1] - tangent[k] * dot(normal[k - 1], tangent[k]);
        normal[k] = normalize(n);
        binormal[k] = cross(tangent[k], normal[k]);
    }
    auto ringPoint = [&](int k, float u) {
        float a = 2 * kPi * u;
        return path[k] + (normal[k] * std::cos(a) + binormal[k] * std::sin(a)) * radii[k];
    };
    addSurface(sides, rings - 1,
               [&](float u, float v) {
                   float f = v * (rings - 1);
                   int k = std::min(static_cast<int>(f), rings - 2);
                   float t = f - k;
                   return lerp(ringPoint(k, u), ringPoint(k + 1, u), t);
               },
               {1, float(rings - 1)}, smooth);
    if (!caps) return;
    for (int end = 0; end < 2; ++end) {
        int k = end == 0 ? 0 : rings - 1;
        if (radii[k] <= 0) continue;
        std::vector<Vec3> corners;
        std::vector<Vec2> uvs;
        for (int s = 0; s < sides; ++s) {
            // The start cap faces back along the path, the end cap forward.
            float u = end == 0 ? float(sides - s) / sides : float(s) / sides;
            corners.push_back(ringPoint(k, u));
            uvs.push_back({0.5f + 0.5f * std::cos(2 * kPi * u), 0.5f + 0.5f * std::sin(2 * kPi * u)});
        }
        addPolygon(corners, uvs);
    }
}

void MeshBuilder::addTorus(float R, float r, int majorSegments, int minorSegments) {
    addSurface(majorSegments, minorSegments,
               [&](float u, float v) {
                   float a = 2 * kPi * u, b = 2 * kPi * v;
                   float ring = R + r * std::cos(b);
                   return Vec3{ring * std::cos(a), ring * std::sin(a), r * std::sin(b)};
               },
               {4, 1}, true);
}

void MeshBuilder::addDisc(float radiusX, float radiusZ, float y, int segments) {
    std::vector<Vec3> corners;
    std::vector<Vec2> uvs;
    for (int s = 0; s < segments; ++s) {
        // Clockwise seen from above in a left-handed frame: angle decreasing from +x to -z.
        float a = -2 * kPi * s / segments;
        corners.push_back({radiusX * std::cos(a), y, radiusZ * std::sin(a)});
        uvs.push_back({0.5f + 0.5f * std::cos(a), 0.5f - 0.5f * std::sin(a)});
    }
    addPolygon(corners, uvs);
}

Bounds MeshBuilder::bounds() const {
    Bounds b;
    for (const Vertex& v : vertices_) {
        b.min = {std::min(b.min.x, v.position.x), std::min(b.min.y, v.position.y), std::min(b.min.z, v.position.z)};
        b.max = {std::max(b.max.x, v.position.x), std::max(b.max.y, v.position.y), std::max(b.max.z, v.position.z)};
    }
    return b;
}

}  // namespace assetgen
