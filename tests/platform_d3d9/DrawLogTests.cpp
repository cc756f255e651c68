// What the headless device records: draws with their vertices and state, clears, and the
// cut into presented frames.
#include "HeadlessDeviceTest.h"

#include <cstring>

#include "velmora/DrawLog.h"

namespace {

struct EffectVertex {
    float x, y, z;
    D3DCOLOR color;
    float u, v;
};
const DWORD kEffectFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;

const EffectVertex kQuad[4] = {{-8, 8, 0, 0xAAFFFFFF, 0, 0},
                               {8, 8, 0, 0xAAFFFFFF, 1, 0},
                               {8, -8, 0, 0xAA00FF00, 1, 1},
                               {-8, -8, 0, 0xAAFFFFFF, 0, 1}};

using DrawLogTest = HeadlessDeviceTest;

TEST_F(DrawLogTest, UpDrawsRecordVerticesStateAndTransforms) {
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(256, 256, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
    D3DMATRIX world{};
    world._11 = world._22 = world._33 = world._44 = 1.0f;
    world._41 = 3.0f;

    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetFVF(kEffectFvf);
    device->SetTexture(0, texture);
    device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    device->SetTransform(D3DTS_WORLD, &world);
    ASSERT_EQ(device->BeginScene(), D3D_OK);
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, kQuad, sizeof(EffectVertex)), D3D_OK);
    device->EndScene();

    const velmora::DrawFrame& frame = velmora::drawLog().pending();
    ASSERT_EQ(frame.size(), 1u);
    const velmora::DrawRecord& draw = frame[0];
    EXPECT_EQ(draw.kind, velmora::DrawKind::PrimitiveUP);
    EXPECT_TRUE(draw.insideScene);
    EXPECT_EQ(draw.primitiveType, D3DPT_TRIANGLEFAN);
    EXPECT_EQ(draw.primitiveCount, 2u);
    EXPECT_EQ(draw.fvf, kEffectFvf);
    EXPECT_EQ(draw.stride, 24u);
    EXPECT_EQ(draw.texture, texture);
    EXPECT_EQ(draw.renderState(D3DRS_LIGHTING), DWORD(FALSE));
    EXPECT_EQ(draw.renderState(D3DRS_ZWRITEENABLE), DWORD(FALSE));
    EXPECT_EQ(draw.renderState(D3DRS_CULLMODE), DWORD(D3DCULL_CCW));
    EXPECT_EQ(draw.stageState(D3DTSS_COLOROP), DWORD(D3DTOP_MODULATE));
    EXPECT_EQ(draw.world._41, 3.0f);
    EXPECT_FALSE(draw.effectActive);
    ASSERT_EQ(draw.vertices.size(), 4u);  // a fan of two triangles reads four vertices
    EXPECT_EQ(draw.vertices[1].x, 8.0f);
    EXPECT_EQ(draw.vertices[2].y, -8.0f);
    EXPECT_EQ(draw.vertices[2].diffuse, 0xAA00FF00u);
    EXPECT_EQ(draw.vertices[2].u, 1.0f);
    EXPECT_EQ(draw.vertices[3].v, 1.0f);
    texture->Release();
}

TEST_F(DrawLogTest, UpDrawsLeaveStreamZeroUnset) {
    IDirect3DVertexBuffer9* buffer = nullptr;
    ASSERT_EQ(device->CreateVertexBuffer(96, 0, kEffectFvf, D3DPOOL_MANAGED, &buffer, nullptr), D3D_OK);
    ASSERT_EQ(device->SetStreamSource(0, buffer, 0, 24), D3D_OK);
    device->SetFVF(kEffectFvf);
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, kQuad, sizeof(EffectVertex)), D3D_OK);

    IDirect3DVertexBuffer9* stream = reinterpret_cast<IDirect3DVertexBuffer9*>(1);
    UINT offset = 1, stride = 1;
    ASSERT_EQ(device->GetStreamSource(0, &stream, &offset, &stride), D3D_OK);
    EXPECT_EQ(stream, nullptr);
    EXPECT_EQ(stride, 0u);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(buffer->Release(), 0u);  // the device let go of it
}

TEST_F(DrawLogTest, BadDrawsAreRefusedAndNotRecorded) {
    device->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE);
    EXPECT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, kQuad, 20), D3DERR_INVALIDCALL);
    device->SetFVF(kEffectFvf);
    EXPECT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, kQuad, 16), D3DERR_INVALIDCALL);  // stride too short
    EXPECT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, nullptr, 24), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->DrawPrimitiveUP(D3DPRIMITIVETYPE(9), 1, kQuad, 24), D3DERR_INVALIDCALL);
    EXPECT_TRUE(velmora::drawLog().pending().empty());
}

class IndexedDrawTest : public HeadlessDeviceTest {
protected:
    void SetUp() override {
        HeadlessDeviceTest::SetUp();
        ASSERT_EQ(device->CreateVertexBuffer(4 * 32, 0, 0x112, D3DPOOL_MANAGED, &vertices, nullptr), D3D_OK);
        ASSERT_EQ(device->CreateIndexBuffer(6 * 2, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &indices, nullptr), D3D_OK);
        void* data = nullptr;
        indices->Lock(0, 0, &data, 0);
        const WORD quad[6] = {0, 1, 2, 0, 2, 3};
        std::memcpy(data, quad, sizeof quad);
        indices->Unlock();
        device->SetFVF(0x112);
        device->SetStreamSource(0, vertices, 0, 32);
        device->SetIndices(indices);
    }
    void TearDown() override {
        device->SetStreamSource(0, nullptr, 0, 0);
        device->SetIndices(nullptr);
        vertices->Release();
        indices->Release();
        HeadlessDeviceTest::TearDown();
    }
    IDirect3DVertexBuffer9* vertices = nullptr;
    IDirect3DIndexBuffer9* indices = nullptr;
};

TEST_F(IndexedDrawTest, RecordsTheBuffersAndRange) {
    ASSERT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 3, 1), D3D_OK);
    const velmora::DrawFrame& frame = velmora::drawLog().pending();
    ASSERT_EQ(frame.size(), 1u);
    EXPECT_EQ(frame[0].kind, velmora::DrawKind::IndexedPrimitive);
    EXPECT_EQ(frame[0].vertexBuffer, vertices);
    EXPECT_EQ(frame[0].indexBuffer, indices);
    EXPECT_EQ(frame[0].startIndex, 3u);
    EXPECT_EQ(frame[0].primitiveCount, 1u);
    EXPECT_EQ(frame[0].fvf, 0x112u);
    EXPECT_TRUE(frame[0].vertices.empty());
}

TEST_F(IndexedDrawTest, IndicesOutsideTheBuffersAreRefused) {
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 1, 0, 4, 0, 2), D3DERR_INVALIDCALL);  // 3 + 1
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 3, 2), D3DERR_INVALIDCALL);  // 9 indices
    device->SetIndices(nullptr);
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3DERR_INVALIDCALL);
    EXPECT_TRUE(velmora::drawLog().pending().empty());
}

// Draws keep what they learnt about an index range only until the indices are written.
TEST_F(IndexedDrawTest, RewrittenIndicesAreCheckedAgain) {
    auto writeIndex = [&](UINT position, WORD value) {
        void* data = nullptr;
        ASSERT_EQ(indices->Lock(position * 2, 2, &data, 0), D3D_OK);
        std::memcpy(data, &value, 2);
        ASSERT_EQ(indices->Unlock(), D3D_OK);
    };
    ASSERT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3D_OK);
    writeIndex(5, 4);  // one past the four vertices
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 1), D3D_OK);
    writeIndex(5, 3);
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3D_OK);
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, -1, 0, 4, 0, 2), D3DERR_INVALIDCALL);

    // Written through a lock that is still open.
    void* data = nullptr;
    ASSERT_EQ(indices->Lock(0, 0, &data, 0), D3D_OK);
    static_cast<WORD*>(data)[0] = 7;
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3DERR_INVALIDCALL);
    static_cast<WORD*>(data)[0] = 0;
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3D_OK);
    indices->Unlock();
    EXPECT_EQ(velmora::drawLog().pending().size(), 4u);
}

TEST_F(DrawLogTest, ClearsAreRecordedForTheViewport) {
    D3DVIEWPORT9 half = {0, 0, 640, 720, 0.0f, 1.0f};
    device->SetViewport(&half);
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF102030, 1.0f, 0), D3D_OK);
    EXPECT_EQ(device->Clear(0, nullptr, 0, 0, 1.0f, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.5f, 0), D3DERR_INVALIDCALL);

    const velmora::DrawFrame& frame = velmora::drawLog().pending();
    ASSERT_EQ(frame.size(), 1u);
    EXPECT_EQ(frame[0].kind, velmora::DrawKind::Clear);
    EXPECT_EQ(frame[0].clearFlags, DWORD(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER));
    EXPECT_EQ(frame[0].clearColor, 0xFF102030u);
    EXPECT_EQ(frame[0].clearZ, 1.0f);
    EXPECT_TRUE(frame[0].clearRects.empty());
    EXPECT_EQ(frame[0].viewport.Width, 640u);
}

// The game's frame: update (may draw), Present, then Clear/BeginScene/draw/EndScene.
TEST_F(DrawLogTest, PresentShowsEverythingDrawnSinceThePreviousOne) {
    device->SetFVF(kEffectFvf);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
    device->BeginScene();
    device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, kQuad, sizeof(EffectVertex));
    device->EndScene();
    device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, kQuad, sizeof(EffectVertex));  // from the next update
    device->Present(nullptr, nullptr, nullptr, nullptr);

    const velmora::DrawLog& log = velmora::drawLog();
    EXPECT_TRUE(log.pending().empty());
    const velmora::DrawFrame& shown = log.lastPresented();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].kind, velmora::DrawKind::Clear);
    EXPECT_TRUE(shown[1].insideScene);
    EXPECT_FALSE(shown[2].insideScene);
    EXPECT_EQ(log.total(velmora::DrawKind::PrimitiveUP), 2u);
    EXPECT_EQ(log.total(velmora::DrawKind::Clear), 1u);
}

// The records of frames that left the history are reused: they come back empty, and a
// frame still in the history stays where it is while newer ones are drawn.
TEST_F(DrawLogTest, ReusedRecordsStartEmptyAndKeptFramesStayPut) {
    const velmora::DrawLog& log = velmora::drawLog();
    const size_t history = velmora::DrawLog::historyLength();
    const D3DRECT corner = {0, 0, 10, 10};
    const EffectVertex triangle[3] = {kQuad[0], kQuad[1], kQuad[2]};
    device->SetFVF(kEffectFvf);
    const velmora::DrawFrame* held = nullptr;
    const unsigned frames = unsigned(3 * history);
    // Even frames clear one rectangle and draw the quad, odd ones clear everything and
    // draw one triangle.
    for (unsigned i = 0; i < frames; ++i) {
        if (i % 2 == 0) {
            device->Clear(1, &corner, D3DCLEAR_TARGET, 0xFF000000 | i, 1.0f, 0);
            device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, kQuad, sizeof(EffectVertex));
        } else {
            device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000 | i, 1.0f, 0);
            device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, triangle, sizeof(EffectVertex));
        }
        device->Present(nullptr, nullptr, nullptr, nullptr);
        if (i == frames - history) held = &log.lastPresented();
    }
    for (size_t ago = 0; ago < history; ++ago) {
        const unsigned i = unsigned(frames - 1 - ago);
        const velmora::DrawFrame& frame = *log.presented(ago);
        ASSERT_EQ(frame.size(), 2u);
        EXPECT_EQ(frame[0].clearColor, 0xFF000000 | i);
        EXPECT_EQ(frame[0].clearRects.size(), i % 2 == 0 ? 1u : 0u) << "frame " << i;
        EXPECT_EQ(frame[1].vertices.size(), i % 2 == 0 ? 4u : 3u) << "frame " << i;
        EXPECT_TRUE(frame[1].effectParameters.empty());
    }
    EXPECT_EQ(held, log.presented(history - 1));
    EXPECT_EQ((*held)[0].clearColor, 0xFF000000 | (frames - history));
}

TEST_F(DrawLogTest, KeepsAShortHistoryAndTotalsUntilReset) {
    device->SetFVF(kEffectFvf);
    const unsigned frames = velmora::DrawLog::historyLength() + 4;
    for (unsigned i = 0; i < frames; ++i) {
        for (unsigned d = 0; d <= i; ++d) device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, kQuad, sizeof(EffectVertex));
        device->Present(nullptr, nullptr, nullptr, nullptr);
    }
    const velmora::DrawLog& log = velmora::drawLog();
    EXPECT_EQ(log.presentCount(), frames);
    EXPECT_EQ(log.lastPresented().size(), frames);
    ASSERT_NE(log.presented(1), nullptr);
    EXPECT_EQ(log.presented(1)->size(), frames - 1);
    EXPECT_EQ(log.presented(velmora::DrawLog::historyLength()), nullptr);
    EXPECT_EQ(log.total(velmora::DrawKind::PrimitiveUP), frames * (frames + 1) / 2);

    velmora::resetDrawLog();
    EXPECT_EQ(log.presentCount(), 0u);
    EXPECT_TRUE(log.lastPresented().empty());
    EXPECT_EQ(log.total(velmora::DrawKind::PrimitiveUP), 0u);
}

TEST_F(DrawLogTest, RecordingTurnedOffLeavesNoRecordsButCountsPresents) {
    const velmora::DrawLog& log = velmora::drawLog();
    device->SetFVF(kEffectFvf);
    velmora::setDrawRecording(false);
    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0), D3D_OK);
    EXPECT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, kQuad, sizeof(EffectVertex)), D3D_OK);
    EXPECT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, kQuad, 20), D3DERR_INVALIDCALL);  // still checked
    device->Present(nullptr, nullptr, nullptr, nullptr);
    velmora::setDrawRecording(true);
    EXPECT_EQ(log.presentCount(), 1u);
    EXPECT_TRUE(log.lastPresented().empty());
    EXPECT_EQ(log.total(velmora::DrawKind::Clear) + log.total(velmora::DrawKind::PrimitiveUP), 0u);

    device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, kQuad, sizeof(EffectVertex));
    device->Present(nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(log.lastPresented().size(), 1u);
    EXPECT_EQ(log.total(velmora::DrawKind::PrimitiveUP), 1u);
}

}  // namespace
