// The ray-triangle rule, and the BVH against the plain scan, below D3DXIntersect.
#include "FaceSoup.h"
#include "PickGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

using velmora::d3dx::PickGeometry;
using velmora::d3dx::Ray;
using velmora::d3dx::RayHit;

namespace {

// A unit right triangle in the plane z = depth, corners (0,0) (1,0) (0,1).
void addFloorAt(Soup& soup, float depth, bool reversed = false) {
    const D3DXVECTOR3 a(0, 0, depth), b(1, 0, depth), c(0, 1, depth);
    if (reversed)
        soup.addTriangle(a, c, b);
    else
        soup.addTriangle(a, b, c);
}

TEST(Picking, HitReportsDistanceAndBarycentrics) {
    Soup soup;
    addFloorAt(soup, 5.0f);
    const PickGeometry geometry = soup.build();

    RayHit hit{};
    ASSERT_TRUE(geometry.nearest(Ray(D3DXVECTOR3(0.25f, 0.5f, 0), D3DXVECTOR3(0, 0, 1)), hit));
    EXPECT_EQ(hit.face, 0u);
    EXPECT_FLOAT_EQ(hit.dist, 5.0f);
    EXPECT_FLOAT_EQ(hit.u, 0.25f);  // weight of corner 1 (1,0)
    EXPECT_FLOAT_EQ(hit.v, 0.5f);   // weight of corner 2 (0,1)
}

TEST(Picking, MissesBehindBesideAndAlongTheFace) {
    Soup soup;
    addFloorAt(soup, 5.0f);
    const PickGeometry geometry = soup.build();
    RayHit hit{};
    EXPECT_FALSE(geometry.nearest(Ray(D3DXVECTOR3(0.2f, 0.2f, 0), D3DXVECTOR3(0, 0, -1)), hit));  // t < 0
    EXPECT_FALSE(geometry.nearest(Ray(D3DXVECTOR3(0.8f, 0.8f, 0), D3DXVECTOR3(0, 0, 1)), hit));   // outside
    EXPECT_FALSE(geometry.nearest(Ray(D3DXVECTOR3(-1, 0.2f, 5), D3DXVECTOR3(1, 0, 0)), hit));     // coplanar
    EXPECT_FALSE(geometry.nearest(Ray(D3DXVECTOR3(0.2f, 0.2f, 0), D3DXVECTOR3(0, 0, 0)), hit));   // no direction

    // A ray starting exactly on the face hits it at distance 0.
    ASSERT_TRUE(geometry.nearest(Ray(D3DXVECTOR3(0.2f, 0.2f, 5), D3DXVECTOR3(0, 0, 1)), hit));
    EXPECT_EQ(hit.dist, 0.0f);
}

TEST(Picking, BothWindingsHit) {
    Soup front, back;
    addFloorAt(front, 2.0f);
    addFloorAt(back, 2.0f, true);
    for (const Soup* soup : {&front, &back}) {
        const PickGeometry geometry = soup->build();
        for (float dz : {1.0f, -1.0f}) {
            RayHit hit{};
            ASSERT_TRUE(geometry.nearest(Ray(D3DXVECTOR3(0.1f, 0.1f, 2.0f - 3.0f * dz), D3DXVECTOR3(0, 0, dz)), hit));
            EXPECT_FLOAT_EQ(hit.dist, 3.0f);
        }
    }
}

TEST(Picking, DistanceIsInLengthsOfTheGivenDirection) {
    // The plane x + y + z = 18 is met by origin + t * (2, 3, 4) at t = 2.
    Soup soup;
    soup.addTriangle(D3DXVECTOR3(18, 0, 0), D3DXVECTOR3(0, 18, 0), D3DXVECTOR3(0, 0, 18));
    const PickGeometry geometry = soup.build();
    RayHit hit{};
    ASSERT_TRUE(geometry.nearest(Ray(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(2, 3, 4)), hit));
    EXPECT_FLOAT_EQ(hit.dist, 2.0f);
    ASSERT_TRUE(geometry.nearest(Ray(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0.5f, 0.75f, 1)), hit));
    EXPECT_FLOAT_EQ(hit.dist, 8.0f);
}

TEST(Picking, NearestOfSeveralAndTiesGoToTheLowerFace) {
    Soup soup;
    addFloorAt(soup, 9.0f);        // face 0
    addFloorAt(soup, 4.0f, true);  // face 1
    addFloorAt(soup, 4.0f);        // face 2, same place as face 1
    addFloorAt(soup, 6.0f);        // face 3
    const PickGeometry geometry = soup.build();

    const Ray ray(D3DXVECTOR3(0.1f, 0.1f, 0), D3DXVECTOR3(0, 0, 1));
    RayHit scanned{}, searched{};
    ASSERT_TRUE(geometry.scanNearest(ray, scanned));
    ASSERT_TRUE(geometry.nearest(ray, searched));
    EXPECT_EQ(scanned.face, 1u);
    EXPECT_EQ(searched.face, 1u);
    EXPECT_FLOAT_EQ(searched.dist, 4.0f);

    std::vector<RayHit> all;
    geometry.all(ray, all);
    ASSERT_EQ(all.size(), 4u);
    for (DWORD i = 0; i < 4; ++i) EXPECT_EQ(all[i].face, i);
    EXPECT_FLOAT_EQ(all[3].dist, 6.0f);
}

TEST(Picking, ARayThroughASharedEdgeFindsAFace) {
    // Two faces split a unit square along its diagonal; rays along the diagonal must not
    // fall through the seam.
    Soup soup;
    soup.addTriangle(D3DXVECTOR3(0, 0, 1), D3DXVECTOR3(1, 0, 1), D3DXVECTOR3(1, 1, 1));
    soup.addTriangle(D3DXVECTOR3(0, 0, 1), D3DXVECTOR3(1, 1, 1), D3DXVECTOR3(0, 1, 1));
    const PickGeometry geometry = soup.build();
    for (int i = 0; i <= 100; ++i) {
        const float s = i / 100.0f;
        RayHit hit{};
        EXPECT_TRUE(geometry.nearest(Ray(D3DXVECTOR3(s, s, -3), D3DXVECTOR3(0, 0, 1)), hit)) << s;
    }
}

TEST(Picking, BrokenFacesNeverHit) {
    const float positions[] = {0, 0, 5, 1, 0, 5, 0, 1, 5, NAN, 0, 5};
    const uint32_t indices[] = {
        0, 0, 1,  // zero area
        0, 1, 7,  // index past the vertices
        0, 1, 3,  // a corner that is not a number
    };
    const PickGeometry geometry(reinterpret_cast<const BYTE*>(positions), 4, 12, indices, true, 3);
    RayHit hit{};
    EXPECT_FALSE(geometry.nearest(Ray(D3DXVECTOR3(0.1f, 0.0f, 0), D3DXVECTOR3(0, 0, 1)), hit));
    EXPECT_FALSE(geometry.scanNearest(Ray(D3DXVECTOR3(0.1f, 0.1f, 0), D3DXVECTOR3(0, 0, 1)), hit));
    EXPECT_FALSE(geometry.nearest(Ray(D3DXVECTOR3(0.1f, 0.1f, 0), D3DXVECTOR3(0, 0, 1)), hit));
}

TEST(Picking, SixteenBitIndicesReadTheSameFaces) {
    const float positions[] = {0, 0, 5, 1, 0, 5, 0, 1, 5};
    const uint16_t indices[] = {2, 1, 0};
    const PickGeometry geometry(reinterpret_cast<const BYTE*>(positions), 3, 12, indices, false, 1);
    RayHit hit{};
    ASSERT_TRUE(geometry.nearest(Ray(D3DXVECTOR3(0.25f, 0.5f, 0), D3DXVECTOR3(0, 0, 1)), hit));
    // Corner 0 is now (0,1): U weighs (1,0), V weighs (0,0).
    EXPECT_FLOAT_EQ(hit.u, 0.25f);
    EXPECT_FLOAT_EQ(hit.v, 0.25f);
}

std::vector<Ray> randomRays(std::mt19937& random, int count, float reach) {
    std::uniform_real_distribution<float> coordinate(-reach, reach), unit(-1, 1);
    std::uniform_int_distribution<int> kind(0, 3);
    std::vector<Ray> rays;
    for (int i = 0; i < count; ++i) {
        const D3DXVECTOR3 origin(coordinate(random), coordinate(random) * 0.3f + 3, coordinate(random));
        D3DXVECTOR3 dir(unit(random), unit(random), unit(random));
        switch (kind(random)) {
            case 0: dir = D3DXVECTOR3(0, -1, 0); break;  // the ground check
            case 1: dir.y = 0; break;                     // wall checks
            case 2: dir *= 7.5f; break;                   // unnormalised
            default: break;
        }
        rays.emplace_back(origin, dir);
    }
    return rays;
}

TEST(Picking, BvhAnswersExactlyWhatTheScanAnswers) {
    std::mt19937 random(20240611);
    const Soup soup = arenaSoup(random, 40, 60);
    const PickGeometry geometry = soup.build();
    ASSERT_GT(geometry.faceCount(), 3000u);

    int hits = 0;
    for (const Ray& ray : randomRays(random, 5000, 25.0f)) ASSERT_TRUE(answersLikeTheScan(geometry, ray, hits));
    EXPECT_GT(hits, 2000);  // the rays must actually exercise the hits

    for (const Ray& ray : randomRays(random, 500, 25.0f)) {
        std::vector<RayHit> scanned, searched;
        geometry.scanAll(ray, scanned);
        geometry.all(ray, searched);
        ASSERT_EQ(searched.size(), scanned.size());
        for (size_t i = 0; i < scanned.size(); ++i) {
            ASSERT_EQ(searched[i].face, scanned[i].face);
            ASSERT_EQ(searched[i].dist, scanned[i].dist);
        }
    }
}

// Axis-aligned steps on a unit grid, with broken faces among them: rays that start on a
// face's plane or a box's side, run along the axes or through grid corners, are where the
// BVH's box tests are closest to the edge.
TEST(Picking, BvhAgreesWithTheScanOnGridAlignedRays) {
    Soup soup;
    for (int x = 0; x < 8; ++x)
        for (int z = 0; z < 8; ++z) {
            const float y = float((x + z) % 3);
            soup.addTriangle(D3DXVECTOR3(x, y, z), D3DXVECTOR3(x, y, z + 1), D3DXVECTOR3(x + 1, y, z + 1));
            soup.addTriangle(D3DXVECTOR3(x, y, z), D3DXVECTOR3(x + 1, y, z + 1), D3DXVECTOR3(x + 1, y, z));
            soup.addTriangle(D3DXVECTOR3(x, 0, z), D3DXVECTOR3(x, y + 1, z), D3DXVECTOR3(x, y + 1, z + 1));
            if ((x * 8 + z) % 5 == 0) soup.addTriangle(D3DXVECTOR3(x, NAN, z), D3DXVECTOR3(x, 1, z), D3DXVECTOR3(x, 1, z + 1));
        }
    const PickGeometry geometry = soup.build();
    const D3DXVECTOR3 directions[] = {{0, -1, 0}, {0, 1, 0},  {1, 0, 0},  {-1, 0, 0},   {0, 0, 1},
                                      {0, 0, -1}, {1, -1, 0}, {1, 1, 1},  {-2, -1, 2}, {0, -0.5f, 3},
                                      {2, 0, -1}, {0, 0, 0},  // every combination of still axes
                                      {-0.0f, -1, -0.0f}, {1, -0.0f, -0.0f}};  // still axes of either sign
    int rays = 0, hits = 0;
    for (int x = -1; x <= 9; ++x)
        for (int y = -1; y <= 4; ++y)
            for (int z = -1; z <= 9; ++z)
                for (const D3DXVECTOR3& dir : directions) {
                    ++rays;
                    const Ray ray(D3DXVECTOR3(float(x), float(y), z + 0.5f * (x % 2)), dir);
                    ASSERT_TRUE(answersLikeTheScan(geometry, ray, hits));
                }
    EXPECT_GT(hits, rays / 4);
}

}  // namespace
