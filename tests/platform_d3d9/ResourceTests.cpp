// Textures, vertex buffers and index buffers keep their data in memory with Direct3D 9's
// lock rules.
#include "DisplayDeviceFixture.h"
#include "HeadlessDeviceTest.h"

#include <cstring>

namespace {

using ResourceTest = HeadlessDeviceTest;
using namespace d3d9test;

TEST_F(ResourceTest, TextureLevelsFormChainsAndDescribeThemselves) {
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(256, 64, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
    EXPECT_EQ(texture->GetLevelCount(), 9u);  // 256x64 down to 1x1
    D3DSURFACE_DESC desc{};
    ASSERT_EQ(texture->GetLevelDesc(2, &desc), D3D_OK);
    EXPECT_EQ(desc.Width, 64u);
    EXPECT_EQ(desc.Height, 16u);
    EXPECT_EQ(desc.Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(desc.Pool, D3DPOOL_MANAGED);
    ASSERT_EQ(texture->GetLevelDesc(8, &desc), D3D_OK);
    EXPECT_EQ(desc.Width, 1u);
    EXPECT_EQ(desc.Height, 1u);
    EXPECT_EQ(texture->GetLevelDesc(9, &desc), D3DERR_INVALIDCALL);
    texture->Release();

    ASSERT_EQ(device->CreateTexture(800, 600, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
    EXPECT_EQ(texture->GetLevelCount(), 1u);
    texture->Release();
}

TEST_F(ResourceTest, UnsupportedTexturesAreRefused) {
    IDirect3DTexture9* texture = reinterpret_cast<IDirect3DTexture9*>(1);
    EXPECT_EQ(device->CreateTexture(16, 16, 1, 0, D3DFMT_R5G6B5, D3DPOOL_MANAGED, &texture, nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(texture, nullptr);
    EXPECT_EQ(device->CreateTexture(0, 16, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr),
              D3DERR_INVALIDCALL);
}

TEST_F(ResourceTest, LockedTexelsPersistWithThePitchAndRectangle) {
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(8, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    EXPECT_EQ(locked.Pitch, 32);
    for (int y = 0; y < 4; ++y) {
        DWORD* row = reinterpret_cast<DWORD*>(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch);
        for (int x = 0; x < 8; ++x) row[x] = DWORD(y * 8 + x);
    }
    EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3DERR_INVALIDCALL);  // no nesting
    ASSERT_EQ(texture->UnlockRect(0), D3D_OK);
    EXPECT_EQ(texture->UnlockRect(0), D3DERR_INVALIDCALL);

    // A rectangle lock points at its top-left texel with the level's pitch.
    RECT part = {3, 2, 5, 4};
    ASSERT_EQ(texture->LockRect(0, &locked, &part, D3DLOCK_READONLY), D3D_OK);
    EXPECT_EQ(locked.Pitch, 32);
    const DWORD* first = static_cast<const DWORD*>(locked.pBits);
    EXPECT_EQ(first[0], DWORD(2 * 8 + 3));
    EXPECT_EQ(first[8 + 1], DWORD(3 * 8 + 4));
    texture->UnlockRect(0);

    RECT outside = {4, 0, 9, 1};
    EXPECT_EQ(texture->LockRect(0, &locked, &outside, 0), D3DERR_INVALIDCALL);
    texture->Release();
}

TEST_F(ResourceTest, VertexBuffersLockRangesAndDescribeThemselves) {
    IDirect3DVertexBuffer9* buffer = nullptr;
    ASSERT_EQ(device->CreateVertexBuffer(96, D3DUSAGE_WRITEONLY, 0x112, D3DPOOL_MANAGED, &buffer, nullptr), D3D_OK);
    D3DVERTEXBUFFER_DESC desc{};
    ASSERT_EQ(buffer->GetDesc(&desc), D3D_OK);
    EXPECT_EQ(desc.Size, 96u);
    EXPECT_EQ(desc.FVF, 0x112u);
    EXPECT_EQ(desc.Type, D3DRTYPE_VERTEXBUFFER);

    void* whole = nullptr;
    ASSERT_EQ(buffer->Lock(0, 0, &whole, 0), D3D_OK);  // size 0: everything
    for (int i = 0; i < 96; ++i) static_cast<BYTE*>(whole)[i] = BYTE(i);
    ASSERT_EQ(buffer->Unlock(), D3D_OK);

    void* part = nullptr;
    ASSERT_EQ(buffer->Lock(32, 32, &part, D3DLOCK_READONLY), D3D_OK);
    EXPECT_EQ(static_cast<BYTE*>(part)[0], 32);
    EXPECT_EQ(static_cast<BYTE*>(part)[31], 63);
    buffer->Unlock();
    EXPECT_EQ(buffer->Unlock(), D3DERR_INVALIDCALL);
    EXPECT_EQ(buffer->Lock(80, 32, &part, 0), D3DERR_INVALIDCALL);
    buffer->Release();
}

TEST_F(ResourceTest, IndexBuffersTakeSixteenOrThirtyTwoBitIndices) {
    IDirect3DIndexBuffer9* buffer = nullptr;
    ASSERT_EQ(device->CreateIndexBuffer(12, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &buffer, nullptr), D3D_OK);
    D3DINDEXBUFFER_DESC desc{};
    buffer->GetDesc(&desc);
    EXPECT_EQ(desc.Format, D3DFMT_INDEX16);
    EXPECT_EQ(desc.Size, 12u);
    void* data = nullptr;
    ASSERT_EQ(buffer->Lock(0, 0, &data, 0), D3D_OK);
    const WORD indices[6] = {0, 1, 2, 2, 1, 3};
    std::memcpy(data, indices, sizeof indices);
    buffer->Unlock();
    ASSERT_EQ(buffer->Lock(6, 6, &data, D3DLOCK_READONLY), D3D_OK);
    EXPECT_EQ(static_cast<WORD*>(data)[0], 2);
    EXPECT_EQ(static_cast<WORD*>(data)[2], 3);
    buffer->Unlock();
    buffer->Release();

    EXPECT_EQ(device->CreateIndexBuffer(12, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &buffer, nullptr),
              D3DERR_INVALIDCALL);
}

// The device binds only its own resources, each where its kind belongs: a resource of
// another kind handed over in its place is refused and changes nothing.
TEST_F(ResourceTest, ResourcesOfAnotherKindAreRefused) {
    IDirect3DVertexBuffer9* vertices = nullptr;
    IDirect3DIndexBuffer9* indices = nullptr;
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device->CreateVertexBuffer(96, 0, 0x112, D3DPOOL_MANAGED, &vertices, nullptr), D3D_OK);
    ASSERT_EQ(device->CreateIndexBuffer(12, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &indices, nullptr), D3D_OK);
    ASSERT_EQ(device->CreateTexture(1, 1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);

    EXPECT_EQ(device->SetStreamSource(0, reinterpret_cast<IDirect3DVertexBuffer9*>(indices), 0, 32),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(device->SetIndices(reinterpret_cast<IDirect3DIndexBuffer9*>(vertices)), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->SetTexture(0, reinterpret_cast<IDirect3DBaseTexture9*>(vertices)), D3DERR_INVALIDCALL);
    IDirect3DVertexBuffer9* bound = nullptr;
    UINT offset = 1, stride = 1;
    device->GetStreamSource(0, &bound, &offset, &stride);
    EXPECT_EQ(bound, nullptr);

    EXPECT_EQ(device->SetStreamSource(0, vertices, 0, 32), D3D_OK);
    EXPECT_EQ(device->SetIndices(indices), D3D_OK);
    EXPECT_EQ(device->SetTexture(0, texture), D3D_OK);
    device->SetStreamSource(0, nullptr, 0, 0);
    device->SetIndices(nullptr);
    device->SetTexture(0, nullptr);
    texture->Release();
    indices->Release();
    vertices->Release();
}

// Only a lock that may write sends the buffer to the GPU again. Bytes changed behind a
// read-only lock show whether the draw after it uploaded them.
TEST_F(DisplayDeviceTest, OnlyWritingLocksRefreshTheGpuCopyOfABuffer) {
    struct Vertex {
        float x, y, z;
        D3DCOLOR color;
    };
    const DWORD fvf = D3DFVF_XYZ | D3DFVF_DIFFUSE;
    IDirect3DVertexBuffer9* vertices = nullptr;
    IDirect3DIndexBuffer9* indices = nullptr;
    ASSERT_EQ(device->CreateVertexBuffer(8 * sizeof(Vertex), 0, fvf, D3DPOOL_MANAGED, &vertices, nullptr), D3D_OK);
    ASSERT_EQ(device->CreateIndexBuffer(6 * sizeof(WORD), 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &indices, nullptr),
              D3D_OK);
    const Vertex quads[8] = {{0, 0, 0.5f, 0xFFFF0000},     {100, 0, 0.5f, 0xFFFF0000},
                             {100, 100, 0.5f, 0xFFFF0000}, {0, 100, 0.5f, 0xFFFF0000},
                             {500, 300, 0.5f, 0xFF00FF00}, {600, 300, 0.5f, 0xFF00FF00},
                             {600, 400, 0.5f, 0xFF00FF00}, {500, 400, 0.5f, 0xFF00FF00}};
    const WORD firstQuad[6] = {0, 1, 2, 0, 2, 3};
    const WORD secondQuad[6] = {4, 5, 6, 4, 6, 7};
    void* data = nullptr;
    vertices->Lock(0, 0, &data, 0);
    std::memcpy(data, quads, sizeof quads);
    vertices->Unlock();
    indices->Lock(0, 0, &data, 0);
    std::memcpy(data, firstQuad, sizeof firstQuad);
    indices->Unlock();
    device->SetFVF(fvf);
    device->SetStreamSource(0, vertices, 0, sizeof(Vertex));
    device->SetIndices(indices);
    auto draw = [&] {
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 8, 0, 2), D3D_OK);
        return readBack();
    };
    EXPECT_TRUE(colourNear(draw().pixel(50, 50), 255, 0, 0));

    // The first quad turns blue and the indices pick the second, both behind read-only locks.
    vertices->Lock(0, 4 * sizeof(Vertex), &data, D3DLOCK_READONLY);
    for (int i = 0; i < 4; ++i) static_cast<Vertex*>(data)[i].color = 0xFF0000FF;
    vertices->Unlock();
    indices->Lock(0, 0, &data, D3DLOCK_READONLY);
    std::memcpy(data, secondQuad, sizeof secondQuad);
    indices->Unlock();
    velmora::Image image = draw();
    EXPECT_TRUE(colourNear(image.pixel(50, 50), 255, 0, 0));
    EXPECT_TRUE(colourNear(image.pixel(550, 350), 0, 0, 0));

    vertices->Lock(0, 0, &data, 0);
    vertices->Unlock();
    EXPECT_TRUE(colourNear(draw().pixel(50, 50), 0, 0, 255));
    indices->Lock(0, 0, &data, 0);
    indices->Unlock();
    image = draw();
    EXPECT_TRUE(colourNear(image.pixel(50, 50), 0, 0, 0));
    EXPECT_TRUE(colourNear(image.pixel(550, 350), 0, 255, 0));

    device->SetStreamSource(0, nullptr, 0, 0);
    device->SetIndices(nullptr);
    vertices->Release();
    indices->Release();
}

}  // namespace
