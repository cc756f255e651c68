// The OpenGL renderer skips draws whose vertices all lie outside the view. Skipping one
// that would have shown a pixel loses part of the picture, so the judgement is tested
// where it is tightest: at the edges of the view (with Direct3D's half-pixel shift),
// behind the camera, around it, and over the vertices an indexed draw really reads.
#include "HeadlessDeviceFixture.h"

#include "d3d9/IndexBuffer.h"
#include "d3d9/VertexBuffer.h"
#include "d3d9/ViewCulling.h"

#include <d3dx9.h>

#include <cstring>
#include <vector>

using namespace d3d9test;
using velmora::d3d9::DeviceState;
using velmora::d3d9::DrawCall;
using velmora::d3d9::VertexFormat;

namespace {

const UINT kWidth = 1280, kHeight = 720;

struct Position {
    float x, y, z;
};

// A camera at the origin looking along +z, 90 degrees wide, near plane 1, far plane 100.
D3DXMATRIX cameraToClip() {
    D3DXMATRIX projection;
    D3DXMatrixPerspectiveFovLH(&projection, D3DX_PI / 2.0f, float(kWidth) / float(kHeight), 1.0f, 100.0f);
    return projection;
}

// At depth z the view spans y from -z to z (90 degrees high) and x that times the aspect.
float halfHeightAt(float z) { return z; }
float halfWidthAt(float z) { return z * float(kWidth) / float(kHeight); }
// One pixel, in world units, at depth z.
float pixelAt(float z) { return 2.0f * halfHeightAt(z) / float(kHeight); }

class ViewCullingTest : public HeadlessDeviceTest {
protected:
    ViewCullingTest() : state(kWidth, kHeight, true) {}

    // A DrawPrimitiveUP of a triangle list over these corners.
    bool outside(const std::vector<Position>& corners, const D3DXMATRIX& toClip = cameraToClip()) {
        const DrawCall call{state, DrawCall::Source::User, D3DPT_TRIANGLELIST, UINT(corners.size() / 3),
                            UINT(corners.size()), VertexFormat::fromFvf(D3DFVF_XYZ), sizeof(Position),
                            reinterpret_cast<const BYTE*>(corners.data()), nullptr, 0, 0, nullptr, 0, 0, nullptr,
                            true};
        return velmora::d3d9::drawLiesOutsideView(call, toClip);
    }

    // A square facing the camera at depth z, from x0 to x1 and y0 to y1.
    static std::vector<Position> square(float x0, float x1, float y0, float y1, float z) {
        return {{x0, y0, z}, {x1, y0, z}, {x1, y1, z}, {x0, y0, z}, {x1, y1, z}, {x0, y1, z}};
    }

    DeviceState state;
};

TEST_F(ViewCullingTest, OnlyWhatLiesWhollyBeyondOneSideOfTheViewIsSkipped) {
    const float z = 10.0f, edge = halfWidthAt(z);
    EXPECT_FALSE(outside(square(-1, 1, -1, 1, z)));                  // in the middle
    EXPECT_FALSE(outside(square(-2 * edge, 2 * edge, -1, 1, z)));    // wider than the view
    EXPECT_FALSE(outside(square(-2 * edge, -edge + 1, -1, 1, z)));   // reaching in from the left
    EXPECT_TRUE(outside(square(-3 * edge, -2 * edge, -1, 1, z)));    // left of the view
    EXPECT_TRUE(outside(square(2 * edge, 3 * edge, -1, 1, z)));      // right of it
    EXPECT_TRUE(outside(square(-1, 1, edge, 2 * edge, z)));          // above it
    EXPECT_TRUE(outside(square(-1, 1, -2 * edge, -edge, z)));        // below it
    // Beyond two sides at once, but not wholly beyond either: from above the view on the
    // left to the right of it lower down, the triangle crosses the view.
    EXPECT_FALSE(outside({{-3 * edge, 2 * edge, z}, {3 * edge, -0.5f, z}, {3 * edge, 2 * edge, z}}));
}

TEST_F(ViewCullingTest, DirectXsHalfPixelShiftMovesTheEdges) {
    // The shift moves everything half a pixel right and down: a square ending a quarter of a
    // pixel left of the left edge reaches into the view, one starting a quarter of a pixel
    // inside the right edge leaves it; likewise at the top and the bottom.
    const float z = 10.0f, edge = halfWidthAt(z), top = halfHeightAt(z), pixel = pixelAt(z);
    EXPECT_FALSE(outside(square(-edge - 5 * pixel, -edge - 0.25f * pixel, -1, 1, z)));
    EXPECT_TRUE(outside(square(-edge - 5 * pixel, -edge - 0.75f * pixel, -1, 1, z)));
    EXPECT_TRUE(outside(square(edge - 0.25f * pixel, edge + 5 * pixel, -1, 1, z)));
    EXPECT_FALSE(outside(square(edge - 0.75f * pixel, edge + 5 * pixel, -1, 1, z)));
    EXPECT_FALSE(outside(square(-1, 1, top + 0.25f * pixel, top + 5 * pixel, z)));
    EXPECT_TRUE(outside(square(-1, 1, top + 0.75f * pixel, top + 5 * pixel, z)));
    EXPECT_TRUE(outside(square(-1, 1, -top - 5 * pixel, -top + 0.25f * pixel, z)));
    EXPECT_FALSE(outside(square(-1, 1, -top - 5 * pixel, -top + 0.75f * pixel, z)));
}

TEST_F(ViewCullingTest, NearAndFarPlanesAndWhatSurroundsTheCamera) {
    EXPECT_TRUE(outside(square(-1, 1, -1, 1, -5.0f)));    // behind the camera
    EXPECT_TRUE(outside(square(-1, 1, -1, 1, 0.5f)));     // before the near plane
    EXPECT_TRUE(outside(square(-1, 1, -1, 1, 150.0f)));   // past the far plane
    EXPECT_FALSE(outside({{-1, -1, -5}, {1, -1, 5}, {0, 1, 5}}));   // from behind the camera into the view
    EXPECT_FALSE(outside({{-1, -1, 50}, {1, -1, 150}, {0, 1, 150}}));  // reaching past the far plane
    // A room around the camera: every corner of its box is beyond some plane, none of the
    // planes has them all.
    std::vector<Position> room;
    for (const float sign : {-1.0f, 1.0f}) {
        const auto floor = square(-50, 50, -50, 50, 50.0f * sign);
        room.insert(room.end(), floor.begin(), floor.end());
    }
    EXPECT_FALSE(outside(room));
}

TEST_F(ViewCullingTest, TheMatrixPlacesThePositions) {
    // A square at the origin is behind the near plane until the world matrix moves it out
    // in front of the camera; moved far to the side, it is out of sight again.
    const auto atOrigin = square(-1, 1, -1, 1, 0.0f);
    EXPECT_TRUE(outside(atOrigin));
    D3DXMATRIX ahead, aside;
    D3DXMatrixTranslation(&ahead, 0.0f, 0.0f, 10.0f);
    D3DXMatrixTranslation(&aside, 100.0f, 0.0f, 10.0f);
    EXPECT_FALSE(outside(atOrigin, ahead * cameraToClip()));
    EXPECT_TRUE(outside(atOrigin, aside * cameraToClip()));
}

// An indexed draw is judged by the vertices its indices reach (moved by the base vertex),
// and by their positions as they are now, after any rewrite of the buffer.
TEST_F(ViewCullingTest, IndexedDrawsAreJudgedByTheVerticesTheyRead) {
    // Vertices 0-2 sit in the view, 3-5 far to its left.
    const Position positions[6] = {{-1, -1, 10}, {1, -1, 10}, {0, 1, 10}, {-99, -1, 10}, {-98, -1, 10}, {-99, 1, 10}};
    IDirect3DVertexBuffer9* vertices = nullptr;
    IDirect3DIndexBuffer9* indices = nullptr;
    ASSERT_EQ(device->CreateVertexBuffer(sizeof positions, 0, D3DFVF_XYZ, D3DPOOL_MANAGED, &vertices, nullptr), D3D_OK);
    ASSERT_EQ(device->CreateIndexBuffer(6 * sizeof(WORD), 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &indices, nullptr),
              D3D_OK);
    void* data = nullptr;
    vertices->Lock(0, 0, &data, 0);
    std::memcpy(data, positions, sizeof positions);
    vertices->Unlock();
    const WORD order[6] = {3, 4, 5, 0, 1, 2};
    indices->Lock(0, 0, &data, 0);
    std::memcpy(data, order, sizeof order);
    indices->Unlock();

    auto outsideIndexed = [&](UINT startIndex, INT baseVertex) {
        const DrawCall call{state, DrawCall::Source::Indexed, D3DPT_TRIANGLELIST, 1, 3,
                            VertexFormat::fromFvf(D3DFVF_XYZ), sizeof(Position), nullptr,
                            velmora::d3d9::asVertexBuffer(vertices), 0, 0, velmora::d3d9::asIndexBuffer(indices),
                            baseVertex, startIndex, nullptr, true};
        return velmora::d3d9::drawLiesOutsideView(call, cameraToClip());
    };
    EXPECT_TRUE(outsideIndexed(0, 0));    // vertices 3-5
    EXPECT_FALSE(outsideIndexed(3, 0));   // vertices 0-2
    EXPECT_FALSE(outsideIndexed(0, -3));  // indices 3-5 moved onto vertices 0-2

    // Vertex 4 rewritten into the view: the same draw now shows.
    vertices->Lock(4 * sizeof(Position), sizeof(Position), &data, 0);
    const Position inView{0, 0, 10};
    std::memcpy(data, &inView, sizeof inView);
    vertices->Unlock();
    EXPECT_FALSE(outsideIndexed(0, 0));

    vertices->Release();
    indices->Release();
}

}  // namespace
