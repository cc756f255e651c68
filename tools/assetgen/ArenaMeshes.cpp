// The arena (SubField2.x) laid out as in the level design, and the field objects that
// stand in it: lifts, rope anchors and their collision boxes.
#include "AssetGroups.h"

#include "MeshBuilder.h"
#include "TextureNames.h"
#include "XFileWriter.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <vector>

namespace assetgen {
namespace {

// The game draws and ray-tests the arena and the anchors with Scaling(25, 30, 25).
const Vec3 kArenaScale{25, 30, 25};
const Vec3 kToModel{1 / 25.0f, 1 / 30.0f, 1 / 25.0f};

enum ArenaMaterial { kFloorMat, kWallMat, kLedgeMat, kPitMat, kCeilingMat, kPlinthMat, kTrimMat };

// Wall decoration, world units: a plinth along the hall floor and light bands that
// show how high the player has climbed.
constexpr float kPlinthTop = 4, kBandSpacing = 20, kBandHeight = 0.8f;

struct Solid {
    Vec3 min, max;
    ArenaMaterial top, sides;
};

// World units. Solids stand on the outer floor at y = -2.
const Vec3 kOuterMin{-125, -2, -156}, kOuterMax{42, 140, 88};
const std::vector<Solid> kSolids = {
    {{-37, -2, -156}, {42, 0, 88}, kFloorMat, kWallMat},        // hall and far-area floor
    {{-41, -2, -85}, {-37, 88, 88}, kWallMat, kWallMat},        // divider wall
    {{-125, -2, -156}, {-37, 140, -85}, kWallMat, kWallMat},    // west fill block
    {{-125, -2, -85}, {-41, 12, 20}, kPitMat, kWallMat},        // boss pit floor
    {{-125, -2, 20}, {-41, 17, 88}, kFloorMat, kWallMat},       // terrace
    {{30, 15, -121}, {42, 18, -112}, kLedgeMat, kLedgeMat},     // L0, rope 0 at (36, 22, -113)
    {{-10, 29, -156}, {3.5f, 32, -148}, kLedgeMat, kLedgeMat},  // L1, rope 1 at (2.5, 36, -149)
    {{-37, 43, -123}, {-33, 46, -110}, kLedgeMat, kLedgeMat},   // L2, rope 2 at (-34, 50, -122)
    {{-37, 59, -79}, {42, 62, -71}, kLedgeMat, kLedgeMat},      // bridge L3, rope 3 at (-6, 66, -78)
    {{-23, -2, -37}, {-17, 61, -30}, kLedgeMat, kLedgeMat},     // pillar P4, rope 4 at (-18, 65, -36)
    {{35, 93, 62}, {42, 96, 88}, kLedgeMat, kLedgeMat},         // balcony B5, rope 5 at (36, 100, 72)
    // The screen between the hall and the far area, flush with the bridge's far face. The
    // play's far plane (180) would cut the far area off in a black void seen from the
    // hall; the screen closes that view. It leaves a gate for the hop from the floor to
    // rope 0 and a window around rope 3 above the bridge, for the hops to and from it.
    {{-37, -2, -79}, {22, 59, -77}, kWallMat, kWallMat},        // beside the gate
    {{22, 26, -79}, {42, 59, -77}, kWallMat, kWallMat},         // over the gate (x 22..42, up to 26)
    {{-37, 62, -79}, {-16, 140, -77}, kWallMat, kWallMat},      // beside the window
    {{8, 62, -79}, {42, 140, -77}, kWallMat, kWallMat},         // beside the window
    {{-16, 80, -79}, {8, 140, -77}, kWallMat, kWallMat},        // over the window (x -16..8, y 62..80)
};

float component(const Vec3& v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; }
void setComponent(Vec3& v, int axis, float value) { (axis == 0 ? v.x : axis == 1 ? v.y : v.z) = value; }

bool strictlyInside(const Vec3& p, const Vec3& lo, const Vec3& hi) {
    for (int a = 0; a < 3; ++a)
        if (component(p, a) <= component(lo, a) || component(p, a) >= component(hi, a)) return false;
    return true;
}

bool isOpenAir(const Vec3& p) {
    if (!strictlyInside(p, kOuterMin, kOuterMax)) return false;
    return std::none_of(kSolids.begin(), kSolids.end(), [&](const Solid& s) { return strictlyInside(p, s.min, s.max); });
}

// Texture repeat in world units, per material.
float tileSize(ArenaMaterial material) {
    switch (material) {
        case kLedgeMat:
        case kPlinthMat:
        case kTrimMat: return 4;
        case kCeilingMat: return 16;
        default: return 8;
    }
}

class ArenaBuilder {
public:
    explicit ArenaBuilder(MeshBuilder& mesh) : mesh_(mesh) {}

    // One face of a box: the plane `axis` = at, facing `facing` (+1 or -1), over the
    // rectangle lo..hi of the two other axes. Only the parts that look into open air
    // are kept, so hidden and coincident faces never reach the mesh, unless `whole`.
    // Walls get a plinth along the hall floor and a light band every 20 units of height.
    void face(int axis, float at, int facing, const Vec3& lo, const Vec3& hi, ArenaMaterial material,
              bool whole = false) {
        const int ua = (axis + 1) % 3, va = (axis + 2) % 3;
        const bool banded = material == kWallMat && axis != 1;
        std::vector<float> us = cuts(ua, component(lo, ua), component(hi, ua), whole, banded);
        std::vector<float> vs = cuts(va, component(lo, va), component(hi, va), whole, banded);
        const size_t nu = us.size() - 1, nv = vs.size() - 1;
        std::vector<int> cell(nu * nv, -1);  // material of each cell, -1 where hidden
        for (size_t i = 0; i < nu; ++i)
            for (size_t j = 0; j < nv; ++j) {
                Vec3 probe;
                setComponent(probe, axis, at + facing * 0.01f);
                setComponent(probe, ua, (us[i] + us[i + 1]) * 0.5f);
                setComponent(probe, va, (vs[j] + vs[j + 1]) * 0.5f);
                if (whole || isOpenAir(probe)) cell[i * nv + j] = banded ? wallBand(probe.y) : material;
            }
        // Merge cells of one material into as few rectangles as possible.
        for (size_t i = 0; i < nu; ++i)
            for (size_t j = 0; j < nv; ++j) {
                const int m = cell[i * nv + j];
                if (m < 0) continue;
                size_t j1 = j;
                while (j1 + 1 < nv && cell[i * nv + j1 + 1] == m) ++j1;
                size_t i1 = i;
                auto rowMatches = [&](size_t row) {
                    for (size_t k = j; k <= j1; ++k)
                        if (cell[row * nv + k] != m) return false;
                    return true;
                };
                while (i1 + 1 < nu && rowMatches(i1 + 1)) ++i1;
                for (size_t a = i; a <= i1; ++a)
                    for (size_t b = j; b <= j1; ++b) cell[a * nv + b] = -1;
                rectangle(axis, at, facing, ua, us[i], us[i1 + 1], va, vs[j], vs[j1 + 1], ArenaMaterial(m));
            }
    }

private:
    // Every solid's edge that crosses the range splits the face there (not on the outer
    // box, which stays whole); banded walls are also split at their bands' edges.
    static std::vector<float> cuts(int axis, float lo, float hi, bool whole, bool banded) {
        std::vector<float> out = {lo, hi};
        auto add = [&](float c) {
            if (c > lo && c < hi) out.push_back(c);
        };
        if (!whole)
            for (const Solid& s : kSolids) {
                add(component(s.min, axis));
                add(component(s.max, axis));
            }
        if (banded && axis == 1) {
            add(kPlinthTop);
            for (float y = kBandSpacing; y < kOuterMax.y; y += kBandSpacing) {
                add(y);
                add(y + kBandHeight);
            }
        }
        std::sort(out.begin(), out.end());
        out.erase(std::unique(out.begin(), out.end()), out.end());
        return out;
    }

    static ArenaMaterial wallBand(float y) {
        if (y > 0 && y < kPlinthTop) return kPlinthMat;
        if (std::fmod(y, kBandSpacing) < kBandHeight && y > kBandSpacing * 0.5f) return kTrimMat;
        return kWallMat;
    }

    void rectangle(int axis, float at, int facing, int ua, float u0, float u1, int va, float v0, float v1,
                   ArenaMaterial material) {
        Vec3 corners[4];
        const float us[4] = {u0, u1, u1, u0}, vs[4] = {v0, v0, v1, v1};
        for (int k = 0; k < 4; ++k) {
            setComponent(corners[k], axis, at);
            setComponent(corners[k], ua, us[k]);
            setComponent(corners[k], va, vs[k]);
        }
        Vec3 normal;
        setComponent(normal, axis, float(facing));
        std::vector<Vec3> ordered(corners, corners + 4);
        // Clockwise seen from the front: the winding's cross product points along the normal.
        if (dot(cross(ordered[1] - ordered[0], ordered[2] - ordered[0]), normal) < 0) std::swap(ordered[1], ordered[3]);
        std::vector<Vec3> model;
        std::vector<Vec2> uvs;
        const float tile = tileSize(material);
        for (const Vec3& p : ordered) {
            model.push_back(p.scaled(kToModel));
            uvs.push_back(worldUv(p, axis, facing, tile));
        }
        mesh_.useMaterial(material);
        mesh_.addPolygon(model, uvs);
    }

    // Texture coordinates in world units: u runs to the right of a viewer facing the
    // face, v downwards, so tiles keep their size whatever the scaling.
    static Vec2 worldUv(const Vec3& p, int axis, int facing, float tile) {
        switch (axis) {
            case 0: return {facing > 0 ? p.z / tile : -p.z / tile, -p.y / tile};
            case 1: return {p.x / tile, facing > 0 ? -p.z / tile : p.z / tile};
            default: return {facing > 0 ? -p.x / tile : p.x / tile, -p.y / tile};
        }
    }

    MeshBuilder& mesh_;
};

void writeArena(const std::string& dir) {
    MeshBuilder mesh;
    mesh.addMaterial(makeMaterial(0.85f, 0.82f, 0.78f, 1, 12, 0.15f, texture::kFloor));
    mesh.addMaterial(makeMaterial(0.95f, 0.97f, 1.0f, 1, 8, 0.1f, texture::kWall));
    mesh.addMaterial(makeMaterial(1.0f, 0.92f, 0.75f, 1, 20, 0.4f, texture::kLedge));
    mesh.addMaterial(makeMaterial(0.8f, 0.7f, 0.65f, 1, 6, 0.1f, texture::kPit));
    mesh.addMaterial(makeMaterial(0.45f, 0.48f, 0.6f, 1, 4, 0.05f, texture::kCeiling));
    mesh.addMaterial(makeMaterial(0.8f, 0.8f, 0.85f, 1, 20, 0.3f, texture::kPlinth));
    // The light bands glow: a diffuse colour above 1 stays bright under the ambient light
    // alone, on the walls that face away from the sun.
    mesh.addMaterial(makeMaterial(2.4f, 2.4f, 2.4f, 1, 40, 0.6f, texture::kTrim));

    ArenaBuilder arena(mesh);
    for (const Solid& s : kSolids)
        for (int axis = 0; axis < 3; ++axis) {
            ArenaMaterial upperMaterial = axis == 1 ? s.top : s.sides;
            arena.face(axis, component(s.max, axis), +1, s.min, s.max, upperMaterial);
            arena.face(axis, component(s.min, axis), -1, s.min, s.max, s.sides);
        }
    // The outer box faces inwards and stays whole, also behind the solids, so that a ray
    // from anywhere inside it meets a face. Its floor lies under the solids.
    for (int axis = 0; axis < 3; ++axis) {
        arena.face(axis, component(kOuterMin, axis), +1, kOuterMin, kOuterMax, axis == 1 ? kFloorMat : kWallMat, true);
        arena.face(axis, component(kOuterMax, axis), -1, kOuterMin, kOuterMax, axis == 1 ? kCeilingMat : kWallMat, true);
    }
    XFileWriter::write(mesh, dir + "/SubField2.x", "SubField");
}

void writeLift(const std::string& dir) {
    // Drawn at 1.5: the deck is 6 x 6 world units with its top 0.75 above the lift's position.
    MeshBuilder mesh;
    const int deck = mesh.addMaterial(makeMaterial(0.9f, 0.9f, 0.95f, 1, 30, 0.5f, texture::kLiftDeck));
    const int frame = mesh.addMaterial(makeMaterial(0.25f, 0.27f, 0.32f, 1, 20, 0.4f));
    // Above 1, so that the strips glow from every side, lit or not.
    const int glow = mesh.addMaterial(makeMaterial(0.9f, 3.0f, 2.85f, 1, 40, 0.8f));
    mesh.useMaterial(deck);
    mesh.addBox({-2, 0.3f, -2}, {2, 0.5f, 2}, 4);
    mesh.useMaterial(frame);
    mesh.addBox({-1.7f, 0.05f, -1.7f}, {1.7f, 0.3f, 1.7f}, 4);
    mesh.addTube({{0, 0.05f, 0}, {0, -0.25f, 0}, {0, -0.45f, 0}}, {0.9f, 0.5f, 0.15f}, 16, true, true);
    mesh.useMaterial(glow);
    // Light strips along the deck's rim make the lifts easy to find from afar.
    mesh.addBox({-2.05f, 0.32f, -2.05f}, {2.05f, 0.46f, -1.9f}, 4);
    mesh.addBox({-2.05f, 0.32f, 1.9f}, {2.05f, 0.46f, 2.05f}, 4);
    mesh.addBox({-2.05f, 0.32f, -1.9f}, {-1.9f, 0.46f, 1.9f}, 4);
    mesh.addBox({1.9f, 0.32f, -1.9f}, {2.05f, 0.46f, 1.9f}, 4);
    mesh.setTransform(Transform::rotationX(kPi / 2).then(Transform::translation({0, -0.25f, 0})));
    mesh.addTorus(0.62f, 0.06f, 24, 8);
    XFileWriter::write(mesh, dir + "/Lift2.x", "Lift");

    MeshBuilder box;
    box.addMaterial(makeMaterial(1, 1, 1, 1, 1, 0));
    box.addBox({-2, -0.5f, -2}, {2, 0.5f, 2}, 4);
    XFileWriter::write(box, dir + "/LiftBox.x", "LiftBox");
}

void writeRopeAnchor(const std::string& dir) {
    // Built in world units around the anchor point, then divided by the arena scale.
    const Transform toModel = Transform::scaling(kToModel);
    MeshBuilder mesh;
    // Colours above 1 make the anchors glow: bright on the side away from the light too,
    // so the route can be found from afar whichever way the player looks.
    const int ring = mesh.addMaterial(makeMaterial(2.6f, 2.0f, 0.8f, 1, 40, 0.9f, texture::kRopeKnot));
    const int core = mesh.addMaterial(makeMaterial(3.2f, 1.9f, 0.45f, 1, 60, 1.0f));
    mesh.useMaterial(ring);
    mesh.setTransform(toModel);
    mesh.addTorus(1.1f, 0.25f, 28, 8);
    mesh.setTransform(Transform::rotationY(kPi / 2).then(toModel));
    mesh.addTorus(1.1f, 0.25f, 28, 8);
    mesh.setTransform(Transform::rotationX(kPi / 2).then(toModel));
    mesh.addTorus(0.9f, 0.14f, 24, 6);
    mesh.useMaterial(core);
    mesh.setTransform(toModel);
    mesh.addEllipsoid({0, 0, 0}, {0.8f, 0.8f, 0.8f}, 16, 10);
    XFileWriter::write(mesh, dir + "/RopeObject2.x", "RopeObject");

    // Small on purpose: the box must not reach the spot where a pulled player stands.
    MeshBuilder box;
    box.addMaterial(makeMaterial(1, 1, 1, 1, 1, 0));
    box.addBox({-1.5f / 25, -1.0f / 30, -1.5f / 25}, {1.5f / 25, 2.0f / 30, 1.5f / 25}, 1);
    XFileWriter::write(box, dir + "/RopeObjectBox.x", "RopeObjectBox");
}

}  // namespace

void writeArenaMeshes(const std::string& dataDir) {
    const std::string dir = dataDir + "/Field";
    std::filesystem::create_directories(dir);
    writeArena(dir);
    writeLift(dir);
    writeRopeAnchor(dir);
}

}  // namespace assetgen
