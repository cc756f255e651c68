// The arena as the game ray-tests it: the mesh at Scaling(25, 30, 25), double-sided
// rays. Checks the level design's rules: closed, floors at their heights, ledges whose
// faces stand one unit in front of their anchors, open air between route points.
#include "LoadedMesh.h"
#include "RayCaster.h"
#include "TestData.h"

#include <gtest/gtest.h>
#include <stb_image.h>

#include <cmath>
#include <map>

namespace assettest {
namespace {

class Arena : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        mesh_ = new LoadedMesh(LoadedMesh::load(dataPath("Field/SubField2.x")));
        caster_ = new RayCaster(*mesh_, {25, 30, 25});
    }
    static void TearDownTestSuite() {
        delete caster_;
        delete mesh_;
    }

    static std::optional<double> cast(const V3& origin, const V3& direction) { return caster_->cast(origin, direction); }
    // Height of the first surface below the point.
    static std::optional<double> groundBelow(const V3& p) {
        auto d = cast(p, {0, -1, 0});
        if (!d) return std::nullopt;
        return p.y - *d;
    }

    static LoadedMesh* mesh_;
    static RayCaster* caster_;
};

LoadedMesh* Arena::mesh_ = nullptr;
RayCaster* Arena::caster_ = nullptr;

struct Anchor {
    const char* name;
    V3 position;
    V3 approach;  // horizontal direction the thread comes from, towards the anchor
};

// Ropes 0..4 and the ledge under each.
const Anchor kAnchors[] = {{"rope 0 / L0", {36, 22, -113}, {0, 0, -1}},
                           {"rope 1 / L1", {2.5, 36, -149}, {-1, 0, 0}},
                           {"rope 2 / L2", {-34, 50, -122}, {-1, 0, 0}},
                           {"rope 3 / L3", {-6, 66, -78}, {0, 0, 1}},
                           {"rope 4 / P4", {-18, 65, -36}, {0, 0, 1}}};

TEST_F(Arena, LoadsWithAModerateNumberOfFaces) {
    ASSERT_TRUE(mesh_->loaded);
    EXPECT_GE(mesh_->triangles.size(), 100u);
    EXPECT_LE(mesh_->triangles.size(), 3000u);
    EXPECT_NEAR(mesh_->min.x * 25, -125, 1e-3);
    EXPECT_NEAR(mesh_->max.x * 25, 42, 1e-3);
    EXPECT_NEAR(mesh_->min.z * 25, -156, 1e-3);
    EXPECT_NEAR(mesh_->max.z * 25, 88, 1e-3);
    EXPECT_NEAR(mesh_->max.y * 30, 140, 1e-3);
}

TEST_F(Arena, EveryHorizontalRayFromInsideHitsAFace) {
    size_t misses = 0, rays = 0;
    for (double x = -121; x < 42; x += 9.5)
        for (double y = -1; y < 140; y += 9.5)
            for (double z = -152; z < 88; z += 9.5)
                for (int k = 0; k < 8; ++k) {
                    const double a = k * 3.14159265358979 / 4 + 0.1;
                    ++rays;
                    if (!cast({x, y, z}, {std::cos(a), 0, std::sin(a)})) ++misses;
                }
    EXPECT_EQ(misses, 0u) << "of " << rays << " rays";
}

TEST_F(Arena, FloorsLieAtTheirDesignedHeights) {
    struct Spot {
        const char* name;
        V3 from;
        double top;
    };
    const Spot spots[] = {{"start", {0, 5, 73}, 0},          {"hall", {10, 20, 10}, 0},
                          {"far area", {10, 10, -130}, 0},   {"boss pit", {-93, 15, -47}, 12},
                          {"terrace", {-80, 20, 60}, 17},    {"balcony B5", {38, 99, 72}, 96},
                          {"pillar top", {-20, 64, -33}, 61}};
    for (const Spot& s : spots) {
        auto ground = groundBelow(s.from);
        ASSERT_TRUE(ground) << s.name;
        EXPECT_NEAR(*ground, s.top, 1e-3) << s.name;
    }
    for (const Anchor& a : kAnchors) {
        // A pulled player hangs 1.2 below the anchor and drops onto a top 4 below it.
        auto ground = groundBelow(a.position + V3{0, -1.2, 0});
        ASSERT_TRUE(ground) << a.name;
        EXPECT_NEAR(*ground, a.position.y - 4, 1e-3) << a.name;
    }
}

TEST_F(Arena, LedgeFacesStandOneUnitInFrontOfTheirAnchors) {
    for (const Anchor& a : kAnchors) {
        // Along the approach, at the height of the ledge's middle, from 20 units out.
        const V3 from = a.position - a.approach * 20 + V3{0, -5.5, 0};
        auto distance = cast(from, a.approach);
        ASSERT_TRUE(distance) << a.name;
        EXPECT_NEAR(*distance, 19, 1e-3) << a.name;
    }
}

TEST_F(Arena, RouteHopsHaveOpenAirBetweenTheirPoints) {
    // From where the player stands (its back 1.2 above its feet) to the next anchor.
    struct Hop {
        const char* name;
        V3 from, to;
    };
    const Hop hops[] = {{"floor to rope 0", {36, 1.2, -66}, {36, 22, -113}},
                        {"rope 0 to rope 1", {36, 19.2, -113}, {2.5, 36, -149}},
                        {"rope 1 to rope 2", {2.5, 33.2, -149}, {-34, 50, -122}},
                        {"rope 2 to rope 3", {-34, 47.2, -122}, {-6, 66, -78}},
                        {"rope 3 to rope 4", {-6, 63.2, -78}, {-18, 65, -36}},
                        {"hooks", {-25, 108, 75}, {-85, 110, 75}},
                        {"hook 9 to hook 10", {-85, 108, 75}, {-85, 110, 44}}};
    for (const Hop& hop : hops) {
        const V3 d = hop.to - hop.from;
        const double length = std::sqrt(dot(d, d));
        auto hit = cast(hop.from, d * (1 / length));
        EXPECT_TRUE(!hit || *hit > length - 0.5) << hop.name << ": a face " << (hit ? *hit : 0) << " along";
    }
}

TEST_F(Arena, TexturesTileInWorldUnits) {
    // Texture area per world area is the same on every face of a material, whatever
    // the (25, 30, 25) scaling does to the model: tiles never stretch.
    ASSERT_GE(mesh_->materials.size(), 5u);
    std::map<unsigned, std::pair<double, double>> ratioRange;
    for (const MeshTriangle& t : mesh_->triangles) {
        V3 w[3];
        for (int k = 0; k < 3; ++k) w[k] = {t.position[k].x * 25, t.position[k].y * 30, t.position[k].z * 25};
        const V3 c = cross(w[1] - w[0], w[2] - w[0]);
        const double worldArea = std::sqrt(dot(c, c));
        const double uvArea = std::fabs((t.uv[1][0] - t.uv[0][0]) * (t.uv[2][1] - t.uv[0][1]) -
                                        (t.uv[2][0] - t.uv[0][0]) * (t.uv[1][1] - t.uv[0][1]));
        const double ratio = uvArea / worldArea;
        auto [it, inserted] = ratioRange.try_emplace(t.material, ratio, ratio);
        it->second.first = std::min(it->second.first, ratio);
        it->second.second = std::max(it->second.second, ratio);
    }
    for (const auto& [material, range] : ratioRange) {
        EXPECT_NEAR(range.first, range.second, range.second * 1e-3) << "material " << material;
        const double tile = 1 / std::sqrt(range.second);  // world units per repeat
        EXPECT_GE(tile, 2) << "material " << material;
        EXPECT_LE(tile, 32) << "material " << material;
    }
    for (const MeshMaterial& m : mesh_->materials) {
        int w = 0, h = 0, channels = 0;
        EXPECT_TRUE(stbi_info(dataPath("Field/" + m.texture).c_str(), &w, &h, &channels)) << m.texture;
    }
}

}  // namespace
}  // namespace assettest
