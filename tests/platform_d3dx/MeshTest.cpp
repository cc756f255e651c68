// D3DXLoadMeshFromXA, the mesh object and D3DXIntersect on a headless device, used the way
// the game uses them.
#include <d3dx9.h>

#include "HeadlessDeviceTest.h"
#include "TempDir.h"
#include "XFileText.h"

#include "velmora/D3DXCache.h"
#include "velmora/DrawLog.h"

#include <cstring>
#include <string>

namespace {

// Two floor triangles at y = 0 (material 1) and a wall triangle at z = 4 (material 0).
XMeshText floorAndWall() {
    XMeshText mesh;
    mesh.positions = {{-2.0f, 0.0f, -2.0f}, {-2.0f, 0.0f, 2.0f}, {2.0f, 0.0f, 2.0f}, {2.0f, 0.0f, -2.0f},
                      {-2.0f, 0.0f, 4.0f},  {2.0f, 0.0f, 4.0f},  {0.0f, 3.0f, 4.0f}};
    mesh.faces = {{0, 1, 2}, {4, 6, 5}, {0, 2, 3}};
    mesh.normals = {{0, 1, 0}, {0, 1, 0}, {0, 1, 0}, {0, 1, 0}, {0, 0, -1}, {0, 0, -1}, {0, 0, -1}};
    mesh.uvs = {{0, 0}, {0, 1}, {1, 1}, {1, 0}, {0, 1}, {1, 1}, {0.5f, 0}};
    mesh.faceMaterials = {1, 0, 1};
    mesh.materials = {{{0.75f, 0.5f, 0.25f, 1.0f}, 8.0f, {0.25f, 0.25f, 0.25f}, {0, 0, 0}, "wall.png"},
                      {{0.5f, 1.0f, 0.5f, 0.5f}, 0.0f, {0, 0, 0}, {0.125f, 0, 0}, ""}};
    return mesh;
}

// Moves every vertex of a locked 32-byte-stride vertex buffer up.
void MeshRaise(void* vertices, DWORD count, float height) {
    for (DWORD i = 0; i < count; ++i) reinterpret_cast<float*>(static_cast<BYTE*>(vertices) + i * 32)[1] += height;
}

class MeshTest : public HeadlessDeviceTest {
protected:
    // Face order after loading: the wall (material 0) first, then the two floor faces.
    static constexpr DWORD kWallFace = 0;
    static constexpr DWORD kFloorFaces[2] = {1, 2};

    ID3DXMesh* load(const std::string& path, DWORD options = D3DXMESH_MANAGED, ID3DXBuffer** materials = nullptr,
                    DWORD* materialCount = nullptr) {
        ID3DXMesh* mesh = nullptr;
        EXPECT_EQ(D3DXLoadMeshFromXA(path.c_str(), options, device, nullptr, materials, nullptr, materialCount, &mesh),
                  D3D_OK);
        return mesh;
    }

    std::string writeFloorAndWall() { return dir.write("room.x", xFile(floorAndWall().text())); }

    // The game's mesh-space ray: world ray moved by the inverse of the world matrix.
    static BOOL castWorldRay(ID3DXMesh* mesh, const D3DXMATRIX& world, const D3DXVECTOR3& from,
                             const D3DXVECTOR3& dir, FLOAT* dist, DWORD* face = nullptr) {
        D3DXMATRIX inverse;
        D3DXMatrixInverse(&inverse, nullptr, &world);
        D3DXVECTOR3 origin, direction;
        D3DXVec3TransformCoord(&origin, &from, &inverse);
        D3DXVec3TransformNormal(&direction, &dir, &inverse);
        BOOL hit = FALSE;
        EXPECT_EQ(D3DXIntersect(mesh, &origin, &direction, &hit, face, nullptr, nullptr, dist, nullptr, nullptr),
                  D3D_OK);
        return hit;
    }

    TempDir dir;
};

TEST_F(MeshTest, LoadGivesTheD3DXLayoutMaterialsAndBuffers) {
    ID3DXBuffer* materials = nullptr;
    DWORD materialCount = 0;
    ID3DXMesh* mesh = load(writeFloorAndWall(), D3DXMESH_MANAGED, &materials, &materialCount);
    ASSERT_NE(mesh, nullptr);

    EXPECT_EQ(mesh->GetNumFaces(), 3u);
    EXPECT_EQ(mesh->GetNumVertices(), 7u);
    EXPECT_EQ(mesh->GetFVF(), (DWORD)(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1));
    EXPECT_EQ(mesh->GetNumBytesPerVertex(), 32u);
    EXPECT_EQ(mesh->GetOptions(), (DWORD)D3DXMESH_MANAGED);

    ASSERT_EQ(materialCount, 2u);
    ASSERT_NE(materials, nullptr);
    const auto* records = static_cast<const D3DXMATERIAL*>(materials->GetBufferPointer());
    EXPECT_FLOAT_EQ(records[0].MatD3D.Diffuse.r, 0.75f);
    EXPECT_FLOAT_EQ(records[0].MatD3D.Power, 8.0f);
    ASSERT_NE(records[0].pTextureFilename, nullptr);
    EXPECT_STREQ(records[0].pTextureFilename, "wall.png");
    // The name lives inside the buffer, after the records.
    const char* begin = static_cast<const char*>(materials->GetBufferPointer());
    EXPECT_GE(records[0].pTextureFilename, begin + 2 * sizeof(D3DXMATERIAL));
    EXPECT_LT(records[0].pTextureFilename, begin + materials->GetBufferSize());
    EXPECT_EQ(records[1].pTextureFilename, nullptr);
    EXPECT_FLOAT_EQ(records[1].MatD3D.Diffuse.a, 0.5f);
    EXPECT_FLOAT_EQ(records[1].MatD3D.Emissive.r, 0.125f);
    EXPECT_EQ(records[1].MatD3D.Ambient.a, 1.0f);
    materials->Release();

    D3DXATTRIBUTERANGE table[4];
    DWORD tableSize = 0;
    EXPECT_EQ(mesh->GetAttributeTable(nullptr, &tableSize), D3D_OK);
    ASSERT_EQ(tableSize, 2u);
    mesh->GetAttributeTable(table, &tableSize);
    EXPECT_EQ(table[0].AttribId, 0u);
    EXPECT_EQ(table[0].FaceStart, 0u);
    EXPECT_EQ(table[0].FaceCount, 1u);
    EXPECT_EQ(table[1].AttribId, 1u);
    EXPECT_EQ(table[1].FaceStart, 1u);
    EXPECT_EQ(table[1].FaceCount, 2u);

    // What SlideOnWall reads: three 16-bit indices per face, positions 32 bytes apart.
    IDirect3DIndexBuffer9* indexBuffer = nullptr;
    ASSERT_EQ(mesh->GetIndexBuffer(&indexBuffer), D3D_OK);
    D3DINDEXBUFFER_DESC indexDesc;
    indexBuffer->GetDesc(&indexDesc);
    EXPECT_EQ(indexDesc.Format, D3DFMT_INDEX16);
    EXPECT_EQ(indexDesc.Pool, D3DPOOL_MANAGED);
    EXPECT_EQ(indexDesc.Size, 3u * 3u * 2u);
    indexBuffer->Release();

    void* indexData = nullptr;
    void* vertexData = nullptr;
    ASSERT_EQ(mesh->LockIndexBuffer(D3DLOCK_READONLY, &indexData), D3D_OK);
    ASSERT_EQ(mesh->LockVertexBuffer(D3DLOCK_READONLY, &vertexData), D3D_OK);
    const XMeshText file = floorAndWall();
    const int fileFaceOf[3] = {1, 0, 2};
    for (int f = 0; f < 3; ++f)
        for (int c = 0; c < 3; ++c) {
            const WORD index = static_cast<const WORD*>(indexData)[f * 3 + c];
            const float* position = reinterpret_cast<const float*>(static_cast<const BYTE*>(vertexData) + index * 32);
            const auto& expected = file.positions[file.faces[fileFaceOf[f]][c]];
            EXPECT_EQ(position[0], expected[0]);
            EXPECT_EQ(position[1], expected[1]);
            EXPECT_EQ(position[2], expected[2]);
        }
    EXPECT_EQ(mesh->UnlockVertexBuffer(), D3D_OK);
    EXPECT_EQ(mesh->UnlockIndexBuffer(), D3D_OK);

    IDirect3DDevice9* owner = nullptr;
    ASSERT_EQ(mesh->GetDevice(&owner), D3D_OK);
    EXPECT_EQ(owner, device);
    owner->Release();
    mesh->Release();
}

TEST_F(MeshTest, ThirtyTwoBitOptionGivesThirtyTwoBitIndices) {
    ID3DXMesh* mesh = load(writeFloorAndWall(), D3DXMESH_MANAGED | D3DXMESH_32BIT);
    ASSERT_NE(mesh, nullptr);
    IDirect3DIndexBuffer9* indexBuffer = nullptr;
    mesh->GetIndexBuffer(&indexBuffer);
    D3DINDEXBUFFER_DESC desc;
    indexBuffer->GetDesc(&desc);
    EXPECT_EQ(desc.Format, D3DFMT_INDEX32);
    EXPECT_EQ(desc.Size, 3u * 3u * 4u);
    indexBuffer->Release();

    FLOAT dist = 0;
    DWORD face = 99;
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    EXPECT_TRUE(castWorldRay(mesh, identity, D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 0, 1), &dist, &face));
    EXPECT_EQ(face, kWallFace);
    EXPECT_FLOAT_EQ(dist, 4.0f);
    mesh->Release();
}

TEST_F(MeshTest, DrawSubsetDrawsTheFacesOfOneMaterial) {
    ID3DXMesh* mesh = load(writeFloorAndWall());
    ASSERT_NE(mesh, nullptr);
    IDirect3DVertexBuffer9* vertexBuffer = nullptr;
    IDirect3DIndexBuffer9* indexBuffer = nullptr;
    mesh->GetVertexBuffer(&vertexBuffer);
    mesh->GetIndexBuffer(&indexBuffer);

    device->BeginScene();
    EXPECT_EQ(mesh->DrawSubset(1), D3D_OK);
    EXPECT_EQ(mesh->DrawSubset(0), D3D_OK);
    EXPECT_EQ(mesh->DrawSubset(7), D3D_OK);  // no such material: nothing drawn
    device->EndScene();

    const velmora::DrawFrame& frame = velmora::drawLog().pending();
    ASSERT_EQ(frame.size(), 2u);
    const velmora::DrawRecord& floor = frame[0];
    EXPECT_EQ(floor.kind, velmora::DrawKind::IndexedPrimitive);
    EXPECT_EQ(floor.primitiveType, D3DPT_TRIANGLELIST);
    EXPECT_EQ(floor.primitiveCount, 2u);
    EXPECT_EQ(floor.startIndex, 3u);
    EXPECT_EQ(floor.baseVertexIndex, 0);
    EXPECT_EQ(floor.fvf, (DWORD)(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1));
    EXPECT_EQ(floor.stride, 32u);
    EXPECT_EQ(floor.vertexBuffer, vertexBuffer);
    EXPECT_EQ(floor.indexBuffer, indexBuffer);
    EXPECT_EQ(frame[1].primitiveCount, 1u);
    EXPECT_EQ(frame[1].startIndex, 0u);

    vertexBuffer->Release();
    indexBuffer->Release();
    mesh->Release();
}

// Loads of one file read the same indices and share what draws learnt of them; a load
// whose indices are rewritten is checked against its own.
TEST_F(MeshTest, ADrawCheckHoldsOnlyForTheIndicesItRead) {
    const std::string path = writeFloorAndWall();
    ID3DXMesh* first = load(path);
    ID3DXMesh* second = load(path);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->DrawSubset(1), D3D_OK);
    EXPECT_EQ(second->DrawSubset(1), D3D_OK);

    WORD* indices = nullptr;
    ASSERT_EQ(first->LockIndexBuffer(0, reinterpret_cast<void**>(&indices)), D3D_OK);
    indices[3] = WORD(first->GetNumVertices());  // the first floor index, one past the vertices
    first->UnlockIndexBuffer();
    EXPECT_EQ(first->DrawSubset(1), D3DERR_INVALIDCALL);
    EXPECT_EQ(second->DrawSubset(1), D3D_OK);
    ID3DXMesh* third = load(path);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(third->DrawSubset(1), D3D_OK);
    EXPECT_EQ(velmora::drawLog().pending().size(), 4u);

    third->Release();
    second->Release();
    first->Release();
}

TEST_F(MeshTest, RewrittenAttributesAreDrawnRunByRun) {
    const std::string path = writeFloorAndWall();
    ID3DXMesh* mesh = load(path);
    ID3DXMesh* other = load(path);  // another load of the file keeps its table
    ASSERT_NE(mesh, nullptr);
    ASSERT_NE(other, nullptr);
    DWORD* attributes = nullptr;
    ASSERT_EQ(mesh->LockAttributeBuffer(0, &attributes), D3D_OK);
    EXPECT_EQ(attributes[0], 0u);
    EXPECT_EQ(attributes[2], 1u);
    attributes[2] = 0;  // the last floor face takes the wall's material
    EXPECT_EQ(mesh->UnlockAttributeBuffer(), D3D_OK);
    EXPECT_EQ(mesh->UnlockAttributeBuffer(), D3DERR_INVALIDCALL);

    DWORD tableSize = 0;
    mesh->GetAttributeTable(nullptr, &tableSize);
    EXPECT_EQ(tableSize, 3u);
    device->BeginScene();
    mesh->DrawSubset(0);
    device->EndScene();
    const velmora::DrawFrame& frame = velmora::drawLog().pending();
    ASSERT_EQ(frame.size(), 2u);
    EXPECT_EQ(frame[0].startIndex, 0u);
    EXPECT_EQ(frame[1].startIndex, 6u);
    EXPECT_EQ(frame[1].primitiveCount, 1u);

    other->GetAttributeTable(nullptr, &tableSize);
    EXPECT_EQ(tableSize, 2u);
    other->DrawSubset(0);
    ASSERT_EQ(frame.size(), 3u);
    EXPECT_EQ(frame[2].startIndex, 0u);
    EXPECT_EQ(frame[2].primitiveCount, 1u);
    other->Release();
    mesh->Release();
}

TEST(D3DXBuffer, StartsZeroedWithItsSize) {
    ID3DXBuffer* buffer = nullptr;
    ASSERT_EQ(D3DXCreateBuffer(100, &buffer), D3D_OK);
    EXPECT_EQ(buffer->GetBufferSize(), 100u);
    const BYTE* bytes = static_cast<const BYTE*>(buffer->GetBufferPointer());
    for (int i = 0; i < 100; ++i) EXPECT_EQ(bytes[i], 0) << i;
    EXPECT_EQ(reinterpret_cast<uintptr_t>(bytes) % alignof(D3DXMATERIAL), 0u);
    buffer->AddRef();
    EXPECT_EQ(buffer->Release(), 1u);
    EXPECT_EQ(buffer->Release(), 0u);
}

TEST_F(MeshTest, IntersectFindsTheNearestFaceInIndexBufferOrder) {
    ID3DXMesh* mesh = load(writeFloorAndWall());
    ASSERT_NE(mesh, nullptr);

    // Straight down onto the floor from 5 above: the second floor face (x > z side).
    const D3DXVECTOR3 above(1.0f, 5.0f, -1.0f), down(0, -1, 0);
    BOOL hit = FALSE;
    DWORD face = 99, count = 99;
    FLOAT u = -1, v = -1, dist = -1;
    ID3DXBuffer* all = nullptr;
    ASSERT_EQ(D3DXIntersect(mesh, &above, &down, &hit, &face, &u, &v, &dist, &all, &count), D3D_OK);
    EXPECT_TRUE(hit);
    EXPECT_EQ(face, kFloorFaces[1]);
    EXPECT_FLOAT_EQ(dist, 5.0f);
    // Corners (-2,0,-2), (2,0,2), (2,0,-2): the point (1,-1) is U = 0.25 of the second
    // corner and V = 0.5 of the third.
    EXPECT_FLOAT_EQ(u, 0.25f);
    EXPECT_FLOAT_EQ(v, 0.5f);
    EXPECT_EQ(count, 1u);
    ASSERT_NE(all, nullptr);
    ASSERT_EQ(all->GetBufferSize(), sizeof(D3DXINTERSECTINFO));
    const auto* info = static_cast<const D3DXINTERSECTINFO*>(all->GetBufferPointer());
    EXPECT_EQ(info->FaceIndex, face);
    EXPECT_EQ(info->Dist, dist);
    all->Release();

    // From behind the wall the ray passes through it (either winding counts) and lists
    // both faces it meets; the nearest is the wall.
    const D3DXVECTOR3 behind(0.0f, 1.0f, 9.0f), slantedDown(0.0f, -0.5f, -4.0f);
    ASSERT_EQ(D3DXIntersect(mesh, &behind, &slantedDown, &hit, &face, nullptr, nullptr, &dist, &all, &count), D3D_OK);
    EXPECT_TRUE(hit);
    EXPECT_EQ(face, kWallFace);
    EXPECT_FLOAT_EQ(dist, 1.25f);  // in lengths of the unnormalised direction
    EXPECT_EQ(count, 2u);
    ASSERT_NE(all, nullptr);
    const auto* infos = static_cast<const D3DXINTERSECTINFO*>(all->GetBufferPointer());
    EXPECT_EQ(infos[0].FaceIndex, kWallFace);
    EXPECT_EQ(infos[1].FaceIndex, kFloorFaces[0]);
    EXPECT_FLOAT_EQ(infos[1].Dist, 2.0f);
    all->Release();
    mesh->Release();
}

TEST_F(MeshTest, AMissLeavesTheOtherOutputsAlone) {
    ID3DXMesh* mesh = load(writeFloorAndWall());
    ASSERT_NE(mesh, nullptr);
    const D3DXVECTOR3 outside(50, 5, 50), down(0, -1, 0), up(0, 1, 0), above(0, 5, 0);
    BOOL hit = TRUE;
    DWORD face = 77, count = 5;
    FLOAT u = 0.5f, v = 0.5f, dist = 3.25f;
    ID3DXBuffer* all = reinterpret_cast<ID3DXBuffer*>(&face);  // must be replaced by null
    ASSERT_EQ(D3DXIntersect(mesh, &outside, &down, &hit, &face, &u, &v, &dist, &all, &count), D3D_OK);
    EXPECT_FALSE(hit);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(all, nullptr);
    EXPECT_EQ(face, 77u);
    EXPECT_EQ(u, 0.5f);
    EXPECT_EQ(v, 0.5f);
    EXPECT_EQ(dist, 3.25f);

    // Pointing away from the floor (t < 0) is a miss too; the game's GroundCheck then
    // reuses the distance of its previous query.
    hit = TRUE;
    ASSERT_EQ(D3DXIntersect(mesh, &above, &up, &hit, nullptr, nullptr, nullptr, &dist, nullptr, nullptr), D3D_OK);
    EXPECT_FALSE(hit);
    EXPECT_EQ(dist, 3.25f);

    EXPECT_EQ(D3DXIntersect(nullptr, &above, &up, &hit, nullptr, nullptr, nullptr, &dist, nullptr, nullptr),
              D3DERR_INVALIDCALL);
    mesh->Release();
}

TEST_F(MeshTest, AScaledWorldGivesWorldDistancesThroughTheInverseRay) {
    ID3DXMesh* mesh = load(writeFloorAndWall());
    ASSERT_NE(mesh, nullptr);
    // The arena drawn 3 times larger, raised by 2, turned a quarter about y.
    D3DXMATRIX scale, turn, move;
    D3DXMatrixScaling(&scale, 3, 3, 3);
    D3DXMatrixRotationY(&turn, D3DX_PI / 2);
    D3DXMatrixTranslation(&move, 0, 2, 0);
    const D3DXMATRIX world = scale * turn * move;

    FLOAT dist = 0;
    // Floor at world height 2: a unit ray from height 10 meets it after 8.
    EXPECT_TRUE(castWorldRay(mesh, world, D3DXVECTOR3(1, 10, 1), D3DXVECTOR3(0, -1, 0), &dist));
    EXPECT_NEAR(dist, 8.0f, 1e-5f);
    // The wall at mesh z = 4 now stands at world x = 12.
    DWORD face = 99;
    EXPECT_TRUE(castWorldRay(mesh, world, D3DXVECTOR3(0, 3, 0), D3DXVECTOR3(1, 0, 0), &dist, &face));
    EXPECT_EQ(face, kWallFace);
    EXPECT_NEAR(dist, 12.0f, 1e-4f);
    mesh->Release();
}

TEST_F(MeshTest, WritingThroughTheMeshLocksMovesWhatRaysHit) {
    ID3DXMesh* mesh = load(writeFloorAndWall());
    ASSERT_NE(mesh, nullptr);
    const D3DXVECTOR3 above(1, 5, -1), down(0, -1, 0);
    FLOAT dist = 0;
    D3DXIntersect(mesh, &above, &down, nullptr, nullptr, nullptr, nullptr, &dist, nullptr, nullptr);
    ASSERT_FLOAT_EQ(dist, 5.0f);

    // A read-only lock promises no change: what is scribbled through it is not picked up.
    void* data = nullptr;
    ASSERT_EQ(mesh->LockVertexBuffer(D3DLOCK_READONLY, &data), D3D_OK);
    MeshRaise(data, mesh->GetNumVertices(), 1.0f);
    mesh->UnlockVertexBuffer();
    D3DXIntersect(mesh, &above, &down, nullptr, nullptr, nullptr, nullptr, &dist, nullptr, nullptr);
    EXPECT_FLOAT_EQ(dist, 5.0f);

    // A writing lock is seen once it is released.
    ASSERT_EQ(mesh->LockVertexBuffer(0, &data), D3D_OK);
    MeshRaise(data, mesh->GetNumVertices(), 1.0f);  // now 2 above the file
    D3DXIntersect(mesh, &above, &down, nullptr, nullptr, nullptr, nullptr, &dist, nullptr, nullptr);
    EXPECT_FLOAT_EQ(dist, 5.0f);
    mesh->UnlockVertexBuffer();
    D3DXIntersect(mesh, &above, &down, nullptr, nullptr, nullptr, nullptr, &dist, nullptr, nullptr);
    EXPECT_FLOAT_EQ(dist, 3.0f);

    // Rewritten indices: the second floor face now uses the wall's corners.
    ASSERT_EQ(mesh->LockIndexBuffer(0, &data), D3D_OK);
    WORD* indices = static_cast<WORD*>(data);
    std::memcpy(indices + 6, indices, 3 * sizeof(WORD));
    mesh->UnlockIndexBuffer();
    DWORD face = 99;
    const D3DXVECTOR3 front(0, 3, 0), ahead(0, 0, 1);  // the wall, raised by 2, stands on y = 2
    D3DXIntersect(mesh, &front, &ahead, nullptr, &face, nullptr, nullptr, &dist, nullptr, nullptr);
    EXPECT_EQ(face, kWallFace);  // ties with face 2 go to the lower index
    BOOL hit = TRUE;
    D3DXIntersect(mesh, &above, &down, &hit, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_FALSE(hit);  // (1, -1) lay on the rewritten face
    mesh->Release();
}

TEST_F(MeshTest, LoadsOfOneFileShareTheDecodeButNotTheObject) {
    const std::string path = writeFloorAndWall();
    velmora::clearD3DXCaches();
    const unsigned before = velmora::d3dxCacheStats().meshFilesDecoded;
    ID3DXMesh* first = load(path);
    ID3DXMesh* second = load(path);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(velmora::d3dxCacheStats().meshFilesDecoded, before + 1);
    EXPECT_NE(first, second);

    IDirect3DVertexBuffer9 *firstBuffer = nullptr, *secondBuffer = nullptr;
    first->GetVertexBuffer(&firstBuffer);
    second->GetVertexBuffer(&secondBuffer);
    EXPECT_NE(firstBuffer, secondBuffer);
    firstBuffer->Release();
    secondBuffer->Release();

    // Changing one mesh leaves the other as loaded.
    void* data = nullptr;
    first->LockVertexBuffer(0, &data);
    MeshRaise(data, first->GetNumVertices(), 2.0f);
    first->UnlockVertexBuffer();
    const D3DXVECTOR3 above(1, 5, -1), down(0, -1, 0);
    FLOAT firstDist = 0, secondDist = 0;
    D3DXIntersect(first, &above, &down, nullptr, nullptr, nullptr, nullptr, &firstDist, nullptr, nullptr);
    D3DXIntersect(second, &above, &down, nullptr, nullptr, nullptr, nullptr, &secondDist, nullptr, nullptr);
    EXPECT_FLOAT_EQ(firstDist, 3.0f);
    EXPECT_FLOAT_EQ(secondDist, 5.0f);

    // The buffers themselves: the other mesh, and one loaded after the write, read the
    // file's vertices and indices.
    WORD* indices = nullptr;
    first->LockIndexBuffer(0, reinterpret_cast<void**>(&indices));
    const WORD firstIndex = indices[0];
    indices[0] = WORD(firstIndex + 1);
    first->UnlockIndexBuffer();
    ID3DXMesh* again = load(path);
    ASSERT_NE(again, nullptr);
    for (ID3DXMesh* unchanged : {second, again}) {
        float* vertices = nullptr;
        unchanged->LockVertexBuffer(D3DLOCK_READONLY, reinterpret_cast<void**>(&vertices));
        float* raised = nullptr;
        first->LockVertexBuffer(D3DLOCK_READONLY, reinterpret_cast<void**>(&raised));
        EXPECT_FLOAT_EQ(raised[1], vertices[1] + 2.0f);
        first->UnlockVertexBuffer();
        unchanged->UnlockVertexBuffer();
        unchanged->LockIndexBuffer(D3DLOCK_READONLY, reinterpret_cast<void**>(&indices));
        EXPECT_EQ(indices[0], firstIndex);
        unchanged->UnlockIndexBuffer();
    }
    again->Release();

    // A file written anew is decoded anew.
    XMeshText lower = floorAndWall();
    for (auto& position : lower.positions) position[1] -= 1.0f;
    dir.write("room.x", xFile(lower.text()) + "\n// longer\n");
    ID3DXMesh* third = load(path);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(velmora::d3dxCacheStats().meshFilesDecoded, before + 2);
    FLOAT thirdDist = 0;
    D3DXIntersect(third, &above, &down, nullptr, nullptr, nullptr, nullptr, &thirdDist, nullptr, nullptr);
    EXPECT_FLOAT_EQ(thirdDist, 6.0f);

    third->Release();
    second->Release();
    first->Release();
}

TEST_F(MeshTest, AdjacencyNamesTheFaceAcrossEachEdge) {
    ID3DXBuffer* adjacency = nullptr;
    ID3DXMesh* mesh = nullptr;
    ASSERT_EQ(D3DXLoadMeshFromXA(writeFloorAndWall().c_str(), D3DXMESH_MANAGED, device, &adjacency, nullptr, nullptr,
                                 nullptr, &mesh),
              D3D_OK);
    ASSERT_NE(adjacency, nullptr);
    ASSERT_EQ(adjacency->GetBufferSize(), 9 * sizeof(DWORD));
    const DWORD* across = static_cast<const DWORD*>(adjacency->GetBufferPointer());
    // Floor faces 1 = (0,1,2) and 2 = (0,2,3) share their diagonal 0-2: edge 2-0 of face 1
    // and edge 0-1 of face 2. The wall touches neither.
    EXPECT_EQ(across[1 * 3 + 2], 2u);
    EXPECT_EQ(across[2 * 3 + 0], 1u);
    for (int e = 0; e < 3; ++e) EXPECT_EQ(across[e], UNUSED32);
    EXPECT_EQ(across[1 * 3 + 0], UNUSED32);
    adjacency->Release();
    mesh->Release();
}

TEST_F(MeshTest, MissingAndBrokenFilesFailWithoutAMesh) {
    const std::string good = xFile(floorAndWall().text());
    const std::string candidates[] = {
        dir.file("absent.x"),
        dir.file(""),  // the folder itself, as the game asks for a material without texture
        dir.write("empty.x", ""),
        dir.write("truncated.x", good.substr(0, good.size() * 2 / 3)),
        dir.write("garbage.x", std::string(3000, '\x7f')),
        dir.write("picture.x", "\x89PNG\r\n\x1a\n rest of a picture"),
    };
    for (const std::string& path : candidates) {
        ID3DXMesh* mesh = nullptr;
        ID3DXBuffer* materials = nullptr;
        DWORD count = 123;
        EXPECT_TRUE(FAILED(D3DXLoadMeshFromXA(path.c_str(), D3DXMESH_MANAGED, device, nullptr, &materials, nullptr,
                                              &count, &mesh)))
            << path;
        EXPECT_EQ(mesh, nullptr);
        EXPECT_EQ(materials, nullptr);
        EXPECT_EQ(count, 123u);
    }
}

TEST_F(MeshTest, ABrokenFileIsParsedOnceUntilItChanges) {
    const std::string good = xFile(floorAndWall().text());
    const std::string path = dir.write("late.x", good.substr(0, good.size() / 2));
    const unsigned before = velmora::d3dxCacheStats().meshFilesDecoded;
    ID3DXMesh* mesh = nullptr;
    for (int attempt = 0; attempt < 3; ++attempt)
        EXPECT_EQ(D3DXLoadMeshFromXA(path.c_str(), D3DXMESH_MANAGED, device, nullptr, nullptr, nullptr, nullptr, &mesh),
                  D3DXERR_INVALIDDATA);
    EXPECT_EQ(velmora::d3dxCacheStats().meshFilesDecoded, before + 1);

    dir.write("late.x", good);
    mesh = load(path);
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(velmora::d3dxCacheStats().meshFilesDecoded, before + 2);
    mesh->Release();
}

TEST_F(MeshTest, WindowsStylePathsFindTheFile) {
    dir.write("room.x", xFile(floorAndWall().text()));
    std::string path = dir.file("room.x");
    for (char& c : path)
        if (c == '/') c = '\\';
    ID3DXMesh* mesh = load(path);
    ASSERT_NE(mesh, nullptr);
    mesh->Release();
}

}  // namespace
