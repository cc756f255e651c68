// Rays along one axis, which the grids across the axes answer, against the plain scan:
// from face corners, edges and planes, from far outside the mesh, through broken and
// degenerate faces, and through grids made coarser by many big faces.
#include "AxisFaceGrid.h"
#include "FaceSoup.h"
#include "PickGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <thread>
#include <vector>

using velmora::d3dx::AxisFaceGrid;
using velmora::d3dx::PickGeometry;
using velmora::d3dx::Ray;

namespace {

const float kInf = std::numeric_limits<float>::infinity();

// The six axis directions at the length `length`, as the game casts them through a
// scaled world matrix; the still components are negative zeros when `negativeZeros`.
std::vector<D3DXVECTOR3> axisDirections(float length, bool negativeZeros = false) {
    const float z = negativeZeros ? -0.0f : 0.0f;
    return {D3DXVECTOR3(z, -length, z), D3DXVECTOR3(z, length, z), D3DXVECTOR3(length, z, z),
            D3DXVECTOR3(-length, z, z), D3DXVECTOR3(z, z, length), D3DXVECTOR3(z, z, -length)};
}

// Points of a face where the box and order tests are closest to the edge: its corners,
// the middles of its edges, and its centre.
std::vector<D3DXVECTOR3> pointsOf(const Soup& soup, size_t face) {
    const D3DXVECTOR3 a = soup.corner(face, 0), b = soup.corner(face, 1), c = soup.corner(face, 2);
    return {a, b, c, (a + b) * 0.5f, (b + c) * 0.5f, (c + a) * 0.5f, (a + b + c) / 3.0f};
}

TEST(AxisRays, OnlyRaysAlongOneAxisFromAFiniteOriginGoToTheGrids) {
    const D3DXVECTOR3 at(1, 2, 3);
    EXPECT_EQ(AxisFaceGrid::axisOf(Ray(at, D3DXVECTOR3(0, -0.04f, 0))), 1);
    EXPECT_EQ(AxisFaceGrid::axisOf(Ray(at, D3DXVECTOR3(-0.0f, 0, 5))), 2);
    EXPECT_EQ(AxisFaceGrid::axisOf(Ray(at, D3DXVECTOR3(-1e-30f, -0.0f, -0.0f))), 0);
    EXPECT_EQ(AxisFaceGrid::axisOf(Ray(at, D3DXVECTOR3(1, 0, 1e-30f))), -1);
    EXPECT_EQ(AxisFaceGrid::axisOf(Ray(at, D3DXVECTOR3(0, 0, 0))), -1);
    EXPECT_EQ(AxisFaceGrid::axisOf(Ray(at, D3DXVECTOR3(0, -kInf, 0))), -1);
    EXPECT_EQ(AxisFaceGrid::axisOf(Ray(at, D3DXVECTOR3(0, NAN, 0))), -1);
    EXPECT_EQ(AxisFaceGrid::axisOf(Ray(D3DXVECTOR3(NAN, 2, 3), D3DXVECTOR3(0, -1, 0))), -1);
    EXPECT_EQ(AxisFaceGrid::axisOf(Ray(D3DXVECTOR3(1, kInf, 3), D3DXVECTOR3(0, -1, 0))), -1);
}

// Every face of an arena-like mesh (bumps, walls, boxes, and ramps that run through the
// boxes) is shot at from its corners, edge middles and centre: from the point itself (a ray
// that starts on the face, or runs in its plane), and from either side of it.
TEST(AxisRays, AgreeWithTheScanFromCornersEdgesAndFaces) {
    std::mt19937 random(7031);
    Soup soup = arenaSoup(random, 14, 24);
    std::uniform_real_distribution<float> place(-6.0f, 6.0f), rise(0.2f, 3.0f);
    for (int ramp = 0; ramp < 12; ++ramp) {
        const D3DXVECTOR3 low(place(random), 0, place(random));
        const D3DXVECTOR3 high(place(random), rise(random), place(random));
        soup.addQuad(low, D3DXVECTOR3(high.x, low.y, low.z), high, D3DXVECTOR3(low.x, high.y, high.z));
    }
    const PickGeometry geometry = soup.build();
    for (int axis = 0; axis < 3; ++axis) ASSERT_GT(geometry.axisGrid(axis).candidateCount(), 50u);

    int rays = 0, hits = 0;
    const std::vector<D3DXVECTOR3> directions = axisDirections(1.0f);
    const std::vector<D3DXVECTOR3> scaled = axisDirections(1.0f / 30.0f, true);
    for (size_t face = 0; face < soup.faceCount(); ++face)
        for (const D3DXVECTOR3& point : pointsOf(soup, face))
            for (int d = 0; d < 6; ++d) {
                const D3DXVECTOR3& dir = (face % 2) ? directions[d] : scaled[d];
                for (float back : {0.0f, 0.75f, -2.5f}) {
                    ++rays;
                    ASSERT_TRUE(answersLikeTheScan(geometry, Ray(point - dir * back, dir), hits));
                }
            }
    EXPECT_GT(hits, rays / 2);
}

// Far from the mesh the distances are large, and faces at slightly different depths round
// to the same float distance: the tie then goes to the lower face index, which the search
// must not cut off early. Origins beside the mesh miss.
TEST(AxisRays, AgreeWithTheScanFromFarOutside) {
    Soup soup;
    // Floors 1/64 apart, in a shuffled order, a copy of one of them with the other
    // winding, and walls around them.
    const int order[] = {5, 2, 7, 0, 3, 6, 1, 4};
    for (int level : order) {
        const float y = level / 64.0f;
        soup.addQuad(D3DXVECTOR3(-4, y, -4), D3DXVECTOR3(-4, y, 4), D3DXVECTOR3(4, y, 4), D3DXVECTOR3(4, y, -4));
    }
    soup.addQuad(D3DXVECTOR3(-4, 0.0625f, 4), D3DXVECTOR3(-4, 0.0625f, -4), D3DXVECTOR3(4, 0.0625f, -4),
                 D3DXVECTOR3(4, 0.0625f, 4));
    for (float side : {-4.0f, 4.0f}) {
        soup.addQuad(D3DXVECTOR3(side, -1, -4), D3DXVECTOR3(side, 2, -4), D3DXVECTOR3(side, 2, 4),
                     D3DXVECTOR3(side, -1, 4));
        soup.addQuad(D3DXVECTOR3(-4, -1, side), D3DXVECTOR3(-4, 2, side), D3DXVECTOR3(4, 2, side),
                     D3DXVECTOR3(4, -1, side));
    }
    const PickGeometry geometry = soup.build();

    std::mt19937 random(99);
    std::uniform_real_distribution<float> inside(-3.9f, 3.9f), across(-9.0f, 9.0f);
    int rays = 0, hits = 0;
    for (float far : {40.0f, 3e3f, 2e5f, 1e7f})
        for (int i = 0; i < 300; ++i) {
            const float x = inside(random), z = inside(random);
            for (const Ray& ray : {Ray(D3DXVECTOR3(x, far, z), D3DXVECTOR3(0, -1, 0)),
                                   Ray(D3DXVECTOR3(x, -far, z), D3DXVECTOR3(0, 3, 0)),
                                   Ray(D3DXVECTOR3(-far, 0.5f, z), D3DXVECTOR3(1, 0, 0)),
                                   Ray(D3DXVECTOR3(x, 0.5f, far), D3DXVECTOR3(0, 0, -0.5f)),
                                   Ray(D3DXVECTOR3(across(random) * far, far, across(random)), D3DXVECTOR3(0, -1, 0)),
                                   Ray(D3DXVECTOR3(far, far, far), D3DXVECTOR3(-1, 0, 0))}) {
                ++rays;
                ASSERT_TRUE(answersLikeTheScan(geometry, ray, hits));
            }
        }
    EXPECT_GT(hits, rays / 2);
}

// Needles, zero-area faces, faces with missing or non-finite corners, specks and a face
// far larger than the rest, hit from their corners and edges and at random.
TEST(AxisRays, AgreeWithTheScanThroughBrokenAndDegenerateFaces) {
    std::mt19937 random(4242);
    std::uniform_real_distribution<float> coordinate(-5.0f, 5.0f), tiny(-1e-4f, 1e-4f);
    Soup soup;
    for (int i = 0; i < 150; ++i) {
        const D3DXVECTOR3 a(coordinate(random), coordinate(random), coordinate(random));
        const D3DXVECTOR3 b(coordinate(random), coordinate(random), coordinate(random));
        const D3DXVECTOR3 offset(tiny(random), tiny(random), tiny(random));
        switch (i % 6) {
            case 0: soup.addTriangle(a, b, b + offset); break;                               // needle
            case 1: soup.addTriangle(a, b, a + (b - a) * 0.25f); break;                      // collinear
            case 2: soup.addTriangle(a, a, b); break;                                        // repeated corner
            case 3: soup.addTriangle(a, a + offset, a + D3DXVECTOR3(offset.y, offset.z, offset.x)); break;  // speck
            case 4: soup.addTriangle(a, b, D3DXVECTOR3(a.x, b.y, NAN)); break;                // not a number
            default: soup.addTriangle(a, D3DXVECTOR3(kInf, a.y, b.z), b); break;             // infinite
        }
    }
    soup.addTriangle(D3DXVECTOR3(-400, -1, -400), D3DXVECTOR3(400, -2, -400), D3DXVECTOR3(0, 3, 400));
    Soup withMissing = soup;
    withMissing.indices.insert(withMissing.indices.end(), {0, 1, 1000000});  // a corner past the vertices
    const PickGeometry geometry = withMissing.build();

    int rays = 0, hits = 0;
    const std::vector<D3DXVECTOR3> directions = axisDirections(0.5f);
    for (size_t face = 0; face < soup.faceCount(); ++face)
        for (const D3DXVECTOR3& point : pointsOf(soup, face))
            for (const D3DXVECTOR3& dir : directions)
                for (float back : {0.0f, 1.0f}) {
                    ++rays;
                    ASSERT_TRUE(answersLikeTheScan(geometry, Ray(point - dir * back, dir), hits));
                }
    for (int i = 0; i < 20000; ++i) {
        const D3DXVECTOR3 origin(coordinate(random), coordinate(random), coordinate(random));
        ++rays;
        ASSERT_TRUE(answersLikeTheScan(geometry, Ray(origin, directions[i % 6]), hits));
    }
    EXPECT_GT(hits, rays / 4);
}

// Hundreds of floors that each cover the whole mesh would put every face in every cell
// (megabytes); the grid is made coarser instead, stays within a few hundred bytes a face,
// and still answers exactly. Walls that a vertical ray runs along are left out of the grid
// across the vertical.
TEST(AxisRays, ManyBigFacesKeepTheGridSmall) {
    Soup soup;
    for (int level = 0; level < 300; ++level) {
        const float y = level * 0.01f;
        soup.addQuad(D3DXVECTOR3(-10, y, -10), D3DXVECTOR3(-10, y, 10), D3DXVECTOR3(10, y, 10),
                     D3DXVECTOR3(10, y, -10));
    }
    std::mt19937 random(5);
    std::uniform_real_distribution<float> place(-10.0f, 9.0f);
    for (int tile = 0; tile < 300; ++tile) {
        const float x = place(random), z = place(random), y = place(random) * 0.3f + 1.5f;
        soup.addQuad(D3DXVECTOR3(x, y, z), D3DXVECTOR3(x, y, z + 1), D3DXVECTOR3(x + 1, y, z + 1),
                     D3DXVECTOR3(x + 1, y, z));
        soup.addQuad(D3DXVECTOR3(x, 0, z), D3DXVECTOR3(x, y, z), D3DXVECTOR3(x + 1, y, z), D3DXVECTOR3(x + 1, 0, z));
    }
    const PickGeometry geometry = soup.build();

    const AxisFaceGrid& vertical = geometry.axisGrid(1);
    EXPECT_EQ(vertical.candidateCount(), 1200u);  // the floors and the tiles, no walls
    EXPECT_LT(vertical.memoryBytes(), 512 * vertical.candidateCount());
    EXPECT_EQ(geometry.axisGrid(2).candidateCount(), 600u);  // only the walls face along z

    int hits = 0;
    std::uniform_real_distribution<float> height(-1.0f, 4.0f);
    for (int i = 0; i < 3000; ++i) {
        const D3DXVECTOR3 origin(place(random), height(random), place(random));
        for (const D3DXVECTOR3& dir : axisDirections(1.0f))
            ASSERT_TRUE(answersLikeTheScan(geometry, Ray(origin, dir), hits));
    }
    EXPECT_GT(hits, 3000);
}

// A mesh's grids are made on the first ray along their axis, which may come from several
// threads at once (loads of one file share the geometry): each gets the scan's answers.
TEST(AxisRays, GridsAreMadeOnTheFirstRayAlongTheirAxisFromAnyThread) {
    std::mt19937 random(31);
    const Soup soup = arenaSoup(random, 20, 20);
    const PickGeometry geometry = soup.build();
    std::uniform_real_distribution<float> place(-9.0f, 9.0f), height(0.5f, 6.0f);
    std::vector<Ray> rays;
    for (int i = 0; i < 300; ++i) {
        const D3DXVECTOR3 origin(place(random), height(random), place(random));
        for (const D3DXVECTOR3& dir : axisDirections(1.0f)) rays.emplace_back(origin, dir);
    }
    std::vector<char> scanFound(rays.size());
    std::vector<velmora::d3dx::RayHit> scanned(rays.size());
    for (size_t i = 0; i < rays.size(); ++i) scanFound[i] = geometry.scanNearest(rays[i], scanned[i]);

    const size_t bytesBefore = geometry.memoryBytes();
    std::vector<int> wrong(4, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t]() {
            for (size_t i = 0; i < rays.size(); ++i) {
                velmora::d3dx::RayHit hit{};
                const bool found = geometry.nearest(rays[i], hit);
                const bool same = found == (scanFound[i] != 0) &&
                                  (!found || (hit.face == scanned[i].face && sameBits(hit.dist, scanned[i].dist)));
                if (!same) ++wrong[t];
            }
        });
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(wrong, std::vector<int>(4, 0));
    EXPECT_GT(geometry.memoryBytes(), bytesBefore);
}

}  // namespace
