// Camera-facing effect quads, the distance tests and the square stepping path.
#include <velmora/DrawLog.h>

#include "Graphics.h"
#include "Texture.h"
#include "WorldTestSupport.h"

using namespace gametest;
using namespace worldtest;
using velmora::DrawKind;
using velmora::DrawRecord;

namespace {

class EffectTest : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        ASSERT_TRUE(sheet.create(256, 256, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED));
    }
    // The quads drawn since the test began.
    std::vector<const DrawRecord*> quads() const {
        std::vector<const DrawRecord*> found;
        for (const DrawRecord& record : velmora::drawLog().pending()) {
            if (record.kind == DrawKind::PrimitiveUP) found.push_back(&record);
        }
        return found;
    }
    // The sprite-sheet cell a quad shows, from its top-left texture coordinate.
    static int cellOf(const DrawRecord& quad) {
        const int column = static_cast<int>(quad.vertices[0].u * 8.0f + 0.5f);
        const int row = static_cast<int>(quad.vertices[0].v * 8.0f + 0.5f);
        return row * 8 + column;
    }
    static float halfWidth(const DrawRecord& quad) { return quad.vertices[1].x; }
    Thing* addCamera(float pitchRadians, float yawRadians) {
        Thing* camera = add(new Thing(KIND_CAMERA));
        D3DXMatrixRotationX(&camera->RotXMatrix, pitchRadians);
        D3DXMatrixRotationY(&camera->RotYMatrix, yawRadians);
        return camera;
    }
    Texture sheet;
    Thing thing;
};

TEST_F(EffectTest, AQuadIsDrawnUnlitWithoutDepthWritesAndItsMatrixIsSpent) {
    EffectVertex quad[4] = {{-1, 1, 0, 0xFF102030, 0, 0}, {1, 1, 0, 0xFF102030, 1, 0},
                            {1, -1, 0, 0xFF102030, 1, 1}, {-1, -1, 0, 0xFF102030, 0, 1}};
    D3DXMATRIX world = translation(4.0f, 5.0f, 6.0f);
    thing.DrawQuad(&world, quad, &sheet.texture);

    const auto drawn = quads();
    ASSERT_EQ(drawn.size(), 1u);
    const DrawRecord& record = *drawn[0];
    EXPECT_EQ(record.primitiveType, D3DPT_TRIANGLEFAN);
    EXPECT_EQ(record.primitiveCount, 2u);
    EXPECT_EQ(record.fvf, static_cast<DWORD>(D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1));
    EXPECT_EQ(record.stride, 24u);
    EXPECT_EQ(record.texture, sheet.texture);
    EXPECT_EQ(record.renderState(D3DRS_LIGHTING), static_cast<DWORD>(FALSE));
    EXPECT_EQ(record.renderState(D3DRS_ZWRITEENABLE), static_cast<DWORD>(FALSE));
    EXPECT_TRUE(nearlyEqual(D3DXMATRIX(record.world), translation(4.0f, 5.0f, 6.0f), 0.0f));
    ASSERT_EQ(record.vertices.size(), 4u);
    EXPECT_EQ(record.vertices[2].x, 1.0f);
    EXPECT_EQ(record.vertices[2].diffuse, 0xFF102030u);

    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    EXPECT_TRUE(nearlyEqual(world, identity, 0.0f)) << "callers rebuild the matrix every frame";
    IDirect3DDevice9* device = Graphics::get().device;
    D3DXMATRIX deviceWorld;
    device->GetTransform(D3DTS_WORLD, &deviceWorld);
    EXPECT_TRUE(nearlyEqual(deviceWorld, identity, 0.0f));
    DWORD value = 0;
    device->GetRenderState(D3DRS_LIGHTING, &value);
    EXPECT_EQ(value, static_cast<DWORD>(TRUE));
    device->GetRenderState(D3DRS_ZWRITEENABLE, &value);
    EXPECT_EQ(value, static_cast<DWORD>(TRUE));
    IDirect3DBaseTexture9* bound = reinterpret_cast<IDirect3DBaseTexture9*>(1);
    device->GetTexture(0, &bound);
    EXPECT_EQ(bound, nullptr);
}

TEST_F(EffectTest, ExplosionShowsFiftyOneCellsThenStartsAgain) {
    EffectVertex quad[4];
    D3DXMATRIX at;
    for (int call = 0; call < 51; ++call) {
        at = translation(1.0f, 2.0f, 3.0f);
        EXPECT_FALSE(thing.DrawExplosion(&at, quad, &sheet.texture)) << "call " << call;
    }
    at = translation(1.0f, 2.0f, 3.0f);
    EXPECT_TRUE(thing.DrawExplosion(&at, quad, &sheet.texture));
    EXPECT_EQ(thing.ExploFrame, 0);
    at = translation(1.0f, 2.0f, 3.0f);
    EXPECT_FALSE(thing.DrawExplosion(&at, quad, &sheet.texture));

    const auto drawn = quads();
    ASSERT_EQ(drawn.size(), 52u);
    for (int i = 0; i < 51; ++i) EXPECT_EQ(cellOf(*drawn[i]), i);
    EXPECT_EQ(cellOf(*drawn[51]), 0);
    // Cell 50: column 2, row 6; the quad is 16 units square, drawn where it was asked.
    EXPECT_FLOAT_EQ(drawn[50]->vertices[2].u, 3 * 0.125f);
    EXPECT_FLOAT_EQ(drawn[50]->vertices[2].v, 7 * 0.125f);
    EXPECT_EQ(drawn[50]->vertices[0].x, -8.0f);
    EXPECT_EQ(drawn[50]->vertices[2].y, -8.0f);
    EXPECT_TRUE(nearlyEqual(D3DXMATRIX(drawn[50]->world), translation(1.0f, 2.0f, 3.0f), 0.0f));
}

TEST_F(EffectTest, WaveGrowsThenEndsOrStaysHiddenWhileHeld) {
    D3DXMATRIX at = translation(0.0f, 1.0f, 0.0f);
    const int released = 0;
    for (int call = 0; call < 8; ++call) EXPECT_FALSE(thing.DrawWaveEffect(&at, &sheet.texture, 5.0f, &released));
    EXPECT_TRUE(thing.DrawWaveEffect(&at, &sheet.texture, 5.0f, &released));
    EXPECT_EQ(thing.WaveSize, 0.0f);

    auto drawn = quads();
    ASSERT_EQ(drawn.size(), 8u);
    for (int i = 0; i < 8; ++i) {
        EXPECT_NEAR(halfWidth(*drawn[i]), 0.6f * i, 1e-5f);
        EXPECT_EQ(drawn[i]->vertices[0].diffuse, 0xAAFFFFFFu);
        EXPECT_EQ(drawn[i]->vertices[0].z, 1.0f);
    }
    EXPECT_FLOAT_EQ(drawn[7]->vertices[2].u, 1.0f);

    velmora::resetDrawLog();
    const int held = 1;
    for (int call = 0; call < 8; ++call) thing.DrawWaveEffect(&at, &sheet.texture, 5.0f, &held);
    EXPECT_FALSE(thing.DrawWaveEffect(&at, &sheet.texture, 5.0f, &held));
    EXPECT_FALSE(thing.DrawWaveEffect(&at, &sheet.texture, 5.0f, &held));
    EXPECT_EQ(quads().size(), 8u);
    EXPECT_NEAR(thing.WaveSize, 6.0f, 1e-4f);
}

TEST_F(EffectTest, QuadsFaceTheCamera) {
    addCamera(0.3f, 1.2f);
    const D3DXMATRIX at = translation(5.0f, 0.0f, -3.0f);
    const int released = 0;
    thing.DrawWaveEffect(&at, &sheet.texture, 5.0f, &released);

    D3DXMATRIX pitch, yaw;
    D3DXMatrixRotationX(&pitch, 0.3f);
    D3DXMatrixRotationY(&yaw, 1.2f);
    const auto drawn = quads();
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_TRUE(nearlyEqual(D3DXMATRIX(drawn[0]->world), product(product(pitch, yaw), at)));
}

TEST_F(EffectTest, RiseMarkerShowsOnlyAtLowLife) {
    addCamera(0.0f, 0.0f);
    const D3DXMATRIX at = translation(0.0f, 2.0f, 0.0f);
    thing.Life = 6;
    thing.RiseSize = 20.0f;
    thing.RiseHeight = 1.5f;
    thing.DrawRiseEffect(&at, &sheet.texture, 5, 2, 0.6f);
    EXPECT_TRUE(quads().empty());
    EXPECT_EQ(thing.RiseSize, 20.0f);
    EXPECT_EQ(thing.RiseHeight, 1.5f);

    thing.Life = 5;
    thing.DrawRiseEffect(&at, &sheet.texture, 5, 2, 0.6f);
    thing.Life = 2;
    thing.DrawRiseEffect(&at, &sheet.texture, 5, 2, 0.6f);
    const auto drawn = quads();
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(cellOf(*drawn[0]), 29);
    EXPECT_EQ(cellOf(*drawn[1]), 22);
}

TEST_F(EffectTest, RiseMarkerCyclesEveryTenFramesAndDrifts) {
    addCamera(0.0f, 0.0f);
    const D3DXMATRIX at = translation(0.0f, 2.0f, 0.0f);
    thing.Life = 1;
    const float sizes[] = {38, 35, 32, 29, 26, 23, 20, 17, 14, 11, 38, 35};
    for (float size : sizes) {
        thing.DrawRiseEffect(&at, &sheet.texture, 5, 2, 0.6f);
        EXPECT_EQ(thing.RiseSize, size);
    }
    const auto drawn = quads();
    ASSERT_EQ(drawn.size(), 12u);
    // First frame of a cycle: at the start height, no drift yet.
    EXPECT_NEAR(halfWidth(*drawn[0]), 8.0f / 38.0f, 1e-6f);
    EXPECT_TRUE(nearlyEqual(D3DXMATRIX(drawn[0]->world), at));
    EXPECT_NEAR(drawn[0]->vertices[0].y, 8.0f / 38.0f + 0.5f, 1e-6f);
    // Second frame: drifted by (0.5 h, h, -h) with h = 0.6, then h grows by 0.1.
    EXPECT_TRUE(nearlyEqual(D3DXMATRIX(drawn[1]->world), translation(0.3f, 2.6f, -0.6f)));
    EXPECT_TRUE(nearlyEqual(D3DXMATRIX(drawn[2]->world), translation(0.35f, 2.7f, -0.7f)));
    EXPECT_NEAR(thing.RiseHeight, 0.7f, 1e-5f);
}

TEST_F(EffectTest, SwellGrowsInNineStepsThenClearsTheFlag) {
    addCamera(0.0f, 0.0f);
    const D3DXMATRIX at = translation(1.0f, 0.0f, 0.0f);
    thing.EffectOn = 1;
    for (int call = 1; call <= 9; ++call) {
        thing.DrawSwellEffect(9.0f, &at);
        EXPECT_EQ(thing.SwellSize, static_cast<float>(call));
        EXPECT_EQ(thing.EffectOn, 1);
    }
    thing.DrawSwellEffect(9.0f, &at);
    EXPECT_EQ(thing.SwellSize, 9.0f);
    EXPECT_EQ(thing.EffectOn, 0);
    const auto drawn = quads();
    ASSERT_EQ(drawn.size(), 10u);
    EXPECT_EQ(halfWidth(*drawn[0]), 8.0f);
    EXPECT_EQ(halfWidth(*drawn[9]), 72.0f);
    EXPECT_EQ(drawn[9]->vertices[3].y, 0.5f - 72.0f);
    EXPECT_EQ(drawn[9]->texture, thing.SwellTexture.texture);
}

TEST_F(EffectTest, NearnessNeedsAnActiveObjectAndRangeAMovingOne) {
    Thing other;
    other.WorldMatrix = translation(2.0f, 0.0f, 0.0f);
    other.TransMatrix = translation(0.0f, 0.0f, 4.0f);
    other.Active = 0;
    EXPECT_FALSE(thing.IsNear(&other));
    other.Active = 1;
    EXPECT_TRUE(thing.IsNear(&other));
    other.WorldMatrix = translation(3.0f, 0.0f, 0.0f);
    EXPECT_FALSE(thing.IsNear(&other)) << "3 away is not near";

    // Range is measured to the other's TransMatrix, not its WorldMatrix.
    other.Mode = 0;
    EXPECT_FALSE(thing.IsInRange(&other, 100.0f));
    other.Mode = 1;
    EXPECT_TRUE(thing.IsInRange(&other, 4.5f));
    EXPECT_FALSE(thing.IsInRange(&other, 4.0f));
    other.ScaleMatrix = scaling(9.0f, 9.0f, 9.0f);
    EXPECT_TRUE(thing.IsInRange(&other, 4.5f));
}

TEST_F(EffectTest, SquarePathsTraceTheSameSquareInOppositeOrders) {
    const D3DXMATRIX start = translation(0.5f, 1.0f, 2.0f);
    D3DXMATRIX forward = start;
    std::vector<D3DXVECTOR3> forwardSteps;
    for (int call = 0; call < 16; ++call) {
        forward = thing.StepSquare(&forward, 1.0f, 0.5f);
        forwardSteps.push_back(positionOf(forward));
    }
    // Three steps while PathDist is 0, 0.5 and 1, then a still call as the leg changes.
    const D3DXVECTOR3 expected[] = {
        {0.5f, 1.5f, 2.0f}, {0.5f, 2.0f, 2.0f}, {0.5f, 2.5f, 2.0f}, {0.5f, 2.5f, 2.0f},
        {0.5f, 2.5f, 2.5f}, {0.5f, 2.5f, 3.0f}, {0.5f, 2.5f, 3.5f}, {0.5f, 2.5f, 3.5f},
        {0.5f, 2.0f, 3.5f}, {0.5f, 1.5f, 3.5f}, {0.5f, 1.0f, 3.5f}, {0.5f, 1.0f, 3.5f},
        {0.5f, 1.0f, 3.0f}, {0.5f, 1.0f, 2.5f}, {0.5f, 1.0f, 2.0f}, {0.5f, 1.0f, 2.0f},
    };
    for (int i = 0; i < 16; ++i) EXPECT_EQ(forwardSteps[i], expected[i]) << "call " << i;
    EXPECT_EQ(thing.PathLeg, 0);

    Thing other;
    D3DXMATRIX backward = start;
    const D3DXVECTOR3 corners[] = {{0.5f, 1.0f, 0.5f}, {0.5f, 2.5f, 0.5f}, {0.5f, 2.5f, 2.0f}, {0.5f, 1.0f, 2.0f}};
    for (const D3DXVECTOR3& corner : corners) {
        for (int call = 0; call < 4; ++call) backward = other.StepSquareReverse(&backward, 1.0f, 0.5f);
        EXPECT_EQ(positionOf(backward), corner);
    }

    other.PathLeg = 4;
    const D3DXMATRIX untouched = other.StepSquare(&start, 1.0f, 0.5f);
    EXPECT_TRUE(nearlyEqual(untouched, start, 0.0f));
}

}  // namespace
