// The arena as the game ray-tests it: SubField2.x at Scaling(25, 30, 25), rays taken into
// mesh space and handed to D3DXIntersect. Checks the level design's rules: closed, floors
// at their heights, a ledge 4 below each anchor where a standing player is clear of the
// anchor's box, ledge faces one unit in front of their anchors, open air between route
// points, textures tiled in world units.
#include "MeshFile.h"
#include "RayTarget.h"
#include "TestData.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <optional>

namespace assettest {
namespace {

class Arena : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        arena_ = new MeshFile(MeshFile::load("Field/SubField2.x"));
        ropeBox_ = new MeshFile(MeshFile::load("Field/RopeObjectBox.x"));
        ASSERT_TRUE(arena_->loaded());
        ASSERT_TRUE(ropeBox_->loaded());
        rays_ = new RayTarget(arena_->mesh(), arenaWorld());
    }
    static void TearDownTestSuite() {
        delete rays_;
        delete ropeBox_;
        delete arena_;
    }

    static std::optional<float> cast(const D3DXVECTOR3& origin, const D3DXVECTOR3& direction) {
        return rays_->nearest(origin, direction);
    }
    // Height of the first surface below the point.
    static std::optional<float> groundBelow(const D3DXVECTOR3& p) {
        auto d = cast(p, {0, -1, 0});
        if (!d) return std::nullopt;
        return p.y - *d;
    }

    static MeshFile* arena_;
    static MeshFile* ropeBox_;
    static RayTarget* rays_;
};

MeshFile* Arena::arena_ = nullptr;
MeshFile* Arena::ropeBox_ = nullptr;
RayTarget* Arena::rays_ = nullptr;

struct Rope {
    const char* name;
    D3DXVECTOR3 position;
    float rollDegrees, yawDegrees;
};

// The anchors with a ledge under them, as the stage places them.
const Rope kLedgeRopes[] = {{"rope 0 / L0", {36, 22, -113}, 0, 0},   {"rope 1 / L1", {2.5f, 36, -149}, 0, 90},
                            {"rope 2 / L2", {-34, 50, -122}, 0, 180}, {"rope 3 / L3", {-6, 66, -78}, 0, 270},
                            {"rope 4 / P4", {-18, 65, -36}, 0, 90},   {"rope 5 / B5", {36, 100, 72}, 0, 0}};

D3DXVECTOR3 unit(const D3DXVECTOR3& v) {
    D3DXVECTOR3 out;
    return *D3DXVec3Normalize(&out, &v);
}

TEST_F(Arena, SpansTheOuterBoxWithAModerateNumberOfFaces) {
    EXPECT_GE(arena_->triangles.size(), 100u);
    EXPECT_LE(arena_->triangles.size(), 3000u);
    EXPECT_NEAR(arena_->min.x * 25, -125, 1e-3);
    EXPECT_NEAR(arena_->max.x * 25, 42, 1e-3);
    EXPECT_NEAR(arena_->min.z * 25, -156, 1e-3);
    EXPECT_NEAR(arena_->max.z * 25, 88, 1e-3);
    EXPECT_NEAR(arena_->max.y * 30, 140, 1e-3);
}

TEST_F(Arena, EveryHorizontalRayFromInsideHitsAFace) {
    size_t misses = 0, rays = 0;
    for (float x = -121; x < 42; x += 9.5f)
        for (float y = -1; y < 140; y += 9.5f)
            for (float z = -152; z < 88; z += 9.5f)
                for (int k = 0; k < 8; ++k) {
                    const float a = k * D3DX_PI / 4 + 0.1f;
                    ++rays;
                    if (!cast({x, y, z}, {std::cos(a), 0, std::sin(a)})) ++misses;
                }
    EXPECT_EQ(misses, 0u) << "of " << rays << " rays";
}

TEST_F(Arena, FloorsLieAtTheirDesignedHeights) {
    struct Spot {
        const char* name;
        D3DXVECTOR3 from;
        float top;
    };
    const Spot spots[] = {{"start", {0, 5, 73}, 0},        {"hall", {10, 20, 10}, 0},
                          {"far area", {10, 10, -130}, 0}, {"boss pit", {-93, 15, -47}, 12},
                          {"terrace", {-80, 20, 60}, 17}};
    for (const Spot& s : spots) {
        auto ground = groundBelow(s.from);
        ASSERT_TRUE(ground) << s.name;
        EXPECT_NEAR(*ground, s.top, 1e-3) << s.name;
    }
}

TEST_F(Arena, EachAnchorHasALedgeWhereAStandingPlayerIsClearOfItsBox) {
    for (const Rope& rope : kLedgeRopes) {
        SCOPED_TRACE(rope.name);
        // Pulled to 1.2 below the anchor, the player drops onto a top 4 below it.
        auto ground = groundBelow(rope.position + D3DXVECTOR3(0, -1.2f, 0));
        ASSERT_TRUE(ground);
        EXPECT_NEAR(*ground, rope.position.y - 4, 1e-3);
        // Its back, where the next shot leaves, must lie outside the anchor's box: a shot
        // from inside would anchor to the same box again at once.
        const RayTarget box(ropeBox_->mesh(), ropeWorld(rope.position, rope.rollDegrees, rope.yawDegrees));
        const D3DXVECTOR3 back = rope.position + D3DXVECTOR3(0, -4 + 1.2f, 0);
        // Slightly skewed, so that no ray runs exactly through the diagonal two faces share.
        const D3DXVECTOR3 skew(0.011f, 0.007f, 0.013f);
        const D3DXVECTOR3 directions[] = {{0, 1, 0}, {0, -1, 0}, {1, 0, 0}, {-1, 0, 0}, {0, 0, 1}, {0, 0, -1}};
        for (const D3DXVECTOR3& d : directions)
            EXPECT_EQ(box.crossings(back, unit(d + skew)) % 2, 0u) << "inside the box";
        EXPECT_EQ(box.crossings(back, unit(D3DXVECTOR3(0, 1, 0) + skew)), 2u) << "the box is straight above";
        auto clearance = box.nearest(back, {0, 1, 0});
        ASSERT_TRUE(clearance);
        EXPECT_GE(*clearance, 1.5f) << "room to leave the box behind";
    }
}

TEST_F(Arena, LedgeFacesStandOneUnitInFrontOfTheirAnchorsBehindTheAnchorBox) {
    struct Approach {
        const Rope& rope;
        D3DXVECTOR3 direction;  // horizontal, the way the thread comes towards the anchor
    };
    const Approach approaches[] = {{kLedgeRopes[0], {0, 0, -1}},
                                   {kLedgeRopes[1], {-1, 0, 0}},
                                   {kLedgeRopes[2], {-1, 0, 0}},
                                   {kLedgeRopes[3], {0, 0, 1}},
                                   {kLedgeRopes[4], {0, 0, 1}}};
    for (const Approach& a : approaches) {
        SCOPED_TRACE(a.rope.name);
        // Along the approach, at the height of the ledge's middle, from 20 units out.
        const D3DXVECTOR3 from = a.rope.position - a.direction * 20 + D3DXVECTOR3(0, -5.5f, 0);
        auto face = cast(from, a.direction);
        ASSERT_TRUE(face);
        EXPECT_NEAR(*face, 19, 1e-3);
        // The thread meets the anchor's box before it comes that close to the face.
        const RayTarget box(ropeBox_->mesh(), ropeWorld(a.rope.position, a.rope.rollDegrees, a.rope.yawDegrees));
        auto boxFront = box.nearest(a.rope.position - a.direction * 20, a.direction);
        ASSERT_TRUE(boxFront);
        EXPECT_LT(*boxFront, *face);
    }
}

TEST_F(Arena, RouteHopsHaveOpenAirBetweenTheirPoints) {
    // From where the player stands (its back 1.2 above its feet) to the next anchor.
    struct Hop {
        const char* name;
        D3DXVECTOR3 from, to;
    };
    const Hop hops[] = {{"floor to rope 0", {36, 1.2f, -66}, {36, 22, -113}},
                        {"rope 0 to rope 1", {36, 19.2f, -113}, {2.5f, 36, -149}},
                        {"rope 1 to rope 2", {2.5f, 33.2f, -149}, {-34, 50, -122}},
                        {"rope 2 to rope 3", {-34, 47.2f, -122}, {-6, 66, -78}},
                        {"rope 3 to rope 4", {-6, 63.2f, -78}, {-18, 65, -36}},
                        {"hooks", {-25, 108, 75}, {-85, 110, 75}},
                        {"hook 9 to hook 10", {-85, 108, 75}, {-85, 110, 44}}};
    for (const Hop& hop : hops) {
        const D3DXVECTOR3 d = hop.to - hop.from;
        const float length = D3DXVec3Length(&d);
        auto hit = cast(hop.from, unit(d));
        EXPECT_TRUE(!hit || *hit > length - 0.5f) << hop.name << ": a face " << (hit ? *hit : 0) << " along";
    }
}

TEST_F(Arena, TexturesTileInWorldUnits) {
    // Texture area per world area is the same on every face of a material, whatever
    // the (25, 30, 25) scaling does to the model: tiles never stretch.
    ASSERT_GE(arena_->materials.size(), 5u);
    std::map<DWORD, std::pair<double, double>> ratioRange;
    for (const MeshTriangle& t : arena_->triangles) {
        D3DXVECTOR3 w[3];
        for (int k = 0; k < 3; ++k) w[k] = D3DXVECTOR3(t.position[k].x * 25, t.position[k].y * 30, t.position[k].z * 25);
        D3DXVECTOR3 c;
        const D3DXVECTOR3 e1 = w[1] - w[0], e2 = w[2] - w[0];
        D3DXVec3Cross(&c, &e1, &e2);
        const double worldArea = D3DXVec3Length(&c);
        const double uvArea = std::fabs((t.uv[1].x - t.uv[0].x) * (t.uv[2].y - t.uv[0].y) -
                                        (t.uv[2].x - t.uv[0].x) * (t.uv[1].y - t.uv[0].y));
        const double ratio = uvArea / worldArea;
        auto [it, inserted] = ratioRange.try_emplace(t.material, ratio, ratio);
        it->second.first = std::min(it->second.first, ratio);
        it->second.second = std::max(it->second.second, ratio);
    }
    for (const auto& [material, range] : ratioRange) {
        EXPECT_NEAR(range.first, range.second, range.second * 2e-3) << "material " << material;
        const double tile = 1 / std::sqrt(range.second);  // world units per repeat
        EXPECT_GE(tile, 2) << "material " << material;
        EXPECT_LE(tile, 32) << "material " << material;
    }
}

}  // namespace
}  // namespace assettest
