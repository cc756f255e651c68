// Small vector and affine-transform types for building meshes. Left-handed, y up,
// row vectors as in D3DX: a point p is transformed as p * M.
#pragma once

#include <cmath>

namespace assetgen {

constexpr float kPi = 3.14159265358979f;

struct Vec2 {
    float x = 0, y = 0;
};

struct Vec3 {
    float x = 0, y = 0, z = 0;

    Vec3 operator+(const Vec3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    Vec3 operator-(const Vec3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    Vec3 operator*(float s) const { return {x * s, y * s, z * s}; }
    Vec3 operator-() const { return {-x, -y, -z}; }
    Vec3 scaled(const Vec3& s) const { return {x * s.x, y * s.y, z * s.z}; }
};

inline float dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

inline Vec3 cross(const Vec3& a, const Vec3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

inline float length(const Vec3& v) { return std::sqrt(dot(v, v)); }

inline Vec3 normalize(const Vec3& v) {
    float len = length(v);
    return len > 0 ? v * (1.0f / len) : Vec3{0, 1, 0};
}

inline Vec3 lerp(const Vec3& a, const Vec3& b, float t) { return a + (b - a) * t; }

// Any unit vector perpendicular to v.
inline Vec3 perpendicular(const Vec3& v) {
    Vec3 helper = std::fabs(v.y) < 0.9f ? Vec3{0, 1, 0} : Vec3{1, 0, 0};
    return normalize(cross(helper, v));
}

// Affine transform: three basis rows and a translation row, as a D3DX matrix without
// its last column.
struct Transform {
    Vec3 row[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    Vec3 offset;

    Vec3 point(const Vec3& p) const { return row[0] * p.x + row[1] * p.y + row[2] * p.z + offset; }
    Vec3 direction(const Vec3& d) const { return row[0] * d.x + row[1] * d.y + row[2] * d.z; }

    // Normals go through the inverse transpose; a scaled cofactor matrix does, as they are
    // normalised afterwards.
    Vec3 normal(const Vec3& n) const {
        Vec3 c0 = cross(row[1], row[2]);
        Vec3 c1 = cross(row[2], row[0]);
        Vec3 c2 = cross(row[0], row[1]);
        float det = dot(row[0], c0);
        Vec3 r = c0 * n.x + c1 * n.y + c2 * n.z;
        return normalize(det < 0 ? -r : r);
    }

    bool mirrors() const { return dot(row[0], cross(row[1], row[2])) < 0; }

    // this first, then next (row-vector order: this * next).
    Transform then(const Transform& next) const {
        Transform out;
        for (int i = 0; i < 3; ++i) out.row[i] = next.direction(row[i]);
        out.offset = next.point(offset);
        return out;
    }

    static Transform translation(const Vec3& t) {
        Transform m;
        m.offset = t;
        return m;
    }
    static Transform scaling(const Vec3& s) {
        Transform m;
        m.row[0] = {s.x, 0, 0};
        m.row[1] = {0, s.y, 0};
        m.row[2] = {0, 0, s.z};
        return m;
    }
    // D3DXMatrixRotationX/Y/Z conventions (left-handed).
    static Transform rotationX(float a) {
        Transform m;
        float c = std::cos(a), s = std::sin(a);
        m.row[1] = {0, c, s};
        m.row[2] = {0, -s, c};
        return m;
    }
    static Transform rotationY(float a) {
        Transform m;
        float c = std::cos(a), s = std::sin(a);
        m.row[0] = {c, 0, -s};
        m.row[2] = {s, 0, c};
        return m;
    }
    static Transform rotationZ(float a) {
        Transform m;
        float c = std::cos(a), s = std::sin(a);
        m.row[0] = {c, s, 0};
        m.row[1] = {-s, c, 0};
        return m;
    }
};

}  // namespace assetgen
