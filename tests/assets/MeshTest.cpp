// The meshes as D3DXLoadMeshFromXA gives them to the game: the 32-byte vertex, 16-bit
// indices, the materials and the textures beside each mesh, faces clockwise from the
// front (Direct3D, left-handed), and the sizes and pivots the game's placement relies on.
#include "MeshFile.h"
#include "Picture.h"
#include "TestData.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace assettest {
namespace {

struct MeshEntry {
    const char* file;
    std::set<std::string> textures;  // the pictures its materials name
};

const MeshEntry kMeshes[] = {
    {"Field/SubField2.x", {"Floor.png", "Wall.png", "Ledge.png", "Pit.png", "Ceiling.png", "Plinth.png", "Trim.png"}},
    {"Field/Lift2.x", {"LiftDeck.png"}},
    {"Field/LiftBox.x", {}},
    {"Field/RopeObject2.x", {"RopeKnot.png"}},
    {"Field/RopeObjectBox.x", {}},
    {"Chara/Spider/SpiderMachineBody2.x", {"SpiderHull.png"}},
    {"Chara/Spider/SpiderMachineArm2.x", {"SpiderHull.png"}},
    {"Chara/Spider/SpiderMachineBullet.x", {"SpiderHull.png"}},
    {"Chara/Spider/SpiderMachineShadow.x", {"SpiderShadow.png"}},
    {"LineBall/LineBall.x", {"LineBallSilk.png"}},
    {"LineBall/LineBallDeb.x", {"LineBallSilk.png"}},
    {"Chara/DragonFly/DragonFlyBody.x", {"DragonFlyBody.png"}},
    {"Chara/DragonFly/DragonFlyFlont.x", {"DragonFlyWing.png"}},
    {"Chara/DragonFly/DragonFlyBack.x", {"DragonFlyWing.png"}},
    {"Chara/DragonFly/DragonFlyShadow.x", {"DragonFlyShadow.png"}},
    {"Chara/DragonFly/DragonFlyDebris.x", {"DragonFlyBody.png"}},
    {"Chara/DragonFly/DragonFlyBox.x", {}},
    {"Chara/PillBugs/PillBugs.x", {"PillBugsPlate.png"}},
    {"Chara/PillBugs/PillBugsArm.x", {"PillBugsPlate.png"}},
    {"Chara/PillBugs/PillBugsGun.x", {"PillBugsPlate.png"}},
    {"Chara/PillBugs/PillBugsBall.x", {"PillBugsPlate.png"}},
    {"Chara/PillBugs/Shell.x", {"PillBugsShell.png"}}};

MeshFile loadMesh(const std::string& relative) {
    MeshFile mesh = MeshFile::load(relative);
    EXPECT_TRUE(mesh.loaded()) << relative;
    EXPECT_FALSE(mesh.triangles.empty()) << relative;
    return mesh;
}

TEST(Meshes, LoadInTheGamesLayoutWithTheirTexturesBesideThem) {
    for (const MeshEntry& entry : kMeshes) {
        SCOPED_TRACE(entry.file);
        const MeshFile mesh = loadMesh(entry.file);
        EXPECT_EQ(mesh.fvf, DWORD(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1));
        EXPECT_EQ(mesh.bytesPerVertex, 32u) << "the arena queries step vertices 32 bytes apart";
        EXPECT_TRUE(mesh.sixteenBitIndices) << "the arena queries read 16-bit indices";
        ASSERT_FALSE(mesh.materials.empty());
        std::set<std::string> named;
        for (const MeshMaterial& material : mesh.materials)
            if (!material.texture.empty()) named.insert(material.texture);
        EXPECT_EQ(named, entry.textures);
        for (const std::string& name : named) {
            // Loaded as the game loads mesh textures: sides rounded up to powers of two.
            const Picture texture = Picture::asMeshTexture(mesh.folder() + name);
            ASSERT_TRUE(texture.loaded) << name;
            EXPECT_TRUE(isPowerOfTwo(int(texture.file.Width)) && isPowerOfTwo(int(texture.file.Height)))
                << name << " is " << texture.file.Width << "x" << texture.file.Height << ": it would be stretched";
            EXPECT_EQ(texture.width, texture.file.Width) << name;
            EXPECT_EQ(texture.height, texture.file.Height) << name;
        }
    }
}

TEST(Meshes, FrontFacesAreClockwiseAndAgreeWithTheirUnitNormals) {
    for (const MeshEntry& entry : kMeshes) {
        SCOPED_TRACE(entry.file);
        const MeshFile mesh = loadMesh(entry.file);
        size_t disagreeing = 0, notUnit = 0;
        for (const MeshTriangle& t : mesh.triangles) {
            const D3DXVECTOR3 stored = t.normal[0] + t.normal[1] + t.normal[2];
            const D3DXVECTOR3 winding = t.windingNormal();
            if (D3DXVec3Dot(&winding, &stored) <= 0) ++disagreeing;
            for (const D3DXVECTOR3& n : t.normal) notUnit += std::fabs(D3DXVec3Length(&n) - 1) > 1e-3f;
        }
        EXPECT_EQ(disagreeing, 0u);
        EXPECT_EQ(notUnit, 0u);
    }
}

TEST(Meshes, ClosedConvexShapesFaceOutwards) {
    const std::pair<const char*, D3DXVECTOR3> shapes[] = {{"Field/LiftBox.x", {0, 0, 0}},
                                                          {"Field/RopeObjectBox.x", {0, 1.0f / 60, 0}},
                                                          {"Chara/DragonFly/DragonFlyBox.x", {0, 0.25f, -0.54f}},
                                                          {"Chara/PillBugs/PillBugsBall.x", {0, 0, 0}},
                                                          {"Chara/PillBugs/Shell.x", {0, 0, -0.005f}}};
    for (const auto& [file, centre] : shapes) {
        SCOPED_TRACE(file);
        const MeshFile mesh = loadMesh(file);
        size_t inward = 0;
        for (const MeshTriangle& t : mesh.triangles) {
            const D3DXVECTOR3 outward = t.centroid() - centre;
            const D3DXVECTOR3 winding = t.windingNormal();
            if (D3DXVec3Dot(&winding, &outward) <= 0) ++inward;
        }
        EXPECT_EQ(inward, 0u);
    }
}

void expectNear(const D3DXVECTOR3& got, const D3DXVECTOR3& want, float tolerance) {
    EXPECT_NEAR(got.x, want.x, tolerance);
    EXPECT_NEAR(got.y, want.y, tolerance);
    EXPECT_NEAR(got.z, want.z, tolerance);
}

TEST(Meshes, CollisionBoxesAreSimpleBoxesOfTheRightSize) {
    struct Box {
        const char* file;
        D3DXVECTOR3 min, max;
    };
    const Box boxes[] = {{"Field/LiftBox.x", {-2, -0.5f, -2}, {2, 0.5f, 2}},  // 6 x 1.5 x 6 world at scale 1.5
                         {"Field/RopeObjectBox.x", {-1.5f / 25, -1.0f / 30, -1.5f / 25}, {1.5f / 25, 2.0f / 30, 1.5f / 25}},
                         {"Chara/DragonFly/DragonFlyBox.x", {-0.3f, 0.05f, -1.5f}, {0.3f, 0.45f, 0.42f}}};
    for (const Box& box : boxes) {
        SCOPED_TRACE(box.file);
        const MeshFile mesh = loadMesh(box.file);
        EXPECT_EQ(mesh.triangles.size(), 12u);
        expectNear(mesh.min, box.min, 1e-5f);
        expectNear(mesh.max, box.max, 1e-5f);
    }
}

TEST(Meshes, FieldObjectsMatchTheirBoxes) {
    const MeshFile lift = loadMesh("Field/Lift2.x");
    EXPECT_NEAR(lift.max.y, 0.5f, 1e-4f) << "the deck is where riders stand on the box";
    EXPECT_LE(std::fabs(lift.min.x), 2.1f);
    EXPECT_LE(lift.max.z, 2.1f);
    const MeshFile knot = loadMesh("Field/RopeObject2.x");
    // Drawn at Scaling(25, 30, 25): a knot about 2.6 world units across, centred on the anchor.
    EXPECT_NEAR((knot.min.x + knot.max.x) * 25 / 2, 0, 0.05f);
    EXPECT_NEAR((knot.min.y + knot.max.y) * 30 / 2, 0, 0.05f);
    EXPECT_NEAR((knot.max.x - knot.min.x) * 25, 2.6f, 0.2f);
    EXPECT_NEAR((knot.max.y - knot.min.y) * 30, 2.6f, 0.2f);
}

TEST(Meshes, SpiderStandsOnItsFeetWithLegsReachingTheGround) {
    const MeshFile body = loadMesh("Chara/Spider/SpiderMachineBody2.x");
    EXPECT_GT(body.min.y, 0.25f) << "the body clears the ground";
    EXPECT_NEAR(body.max.y, 1.2f, 0.02f) << "the gun mount meets the gun at height 1.2";
    EXPECT_GT(body.max.z, 0.6f);
    const MeshFile leg = loadMesh("Chara/Spider/SpiderMachineArm2.x");
    EXPECT_NEAR(leg.min.y, -0.4f, 0.01f) << "hinged 0.4 up, the foot touches the ground";
    EXPECT_GT(leg.min.x, -0.07f) << "the leg reaches out along +x";
    EXPECT_GT(leg.max.x, 0.8f);
    const MeshFile gun = loadMesh("Chara/Spider/SpiderMachineBullet.x");
    EXPECT_NEAR(gun.min.y, 0, 0.01f);
    EXPECT_GT(gun.max.z, 0.4f) << "the barrel points ahead";
}

TEST(Meshes, ShadowsAreFlatDarkTranslucentDiscsJustAboveTheGround) {
    for (const char* file : {"Chara/Spider/SpiderMachineShadow.x", "Chara/DragonFly/DragonFlyShadow.x"}) {
        SCOPED_TRACE(file);
        const MeshFile shadow = loadMesh(file);
        EXPECT_LT(shadow.max.y - shadow.min.y, 1e-5f);
        EXPECT_GT(shadow.min.y, 0);
        EXPECT_LT(shadow.max.y, 0.05f);
        EXPECT_GT(shadow.max.x - shadow.min.x, 1.5f);
        for (const MeshTriangle& t : shadow.triangles) EXPECT_GT(t.windingNormal().y, 0) << "faces up";
        ASSERT_EQ(shadow.materials.size(), 1u);
        const D3DCOLORVALUE& colour = shadow.materials[0].colours.Diffuse;
        EXPECT_LT(colour.a, 1);
        EXPECT_LT(colour.r + colour.g + colour.b, 0.3f);
    }
}

TEST(Meshes, DragonFlyWingsSpreadAlongPlusXAndShowBothSides) {
    for (const char* file : {"Chara/DragonFly/DragonFlyFlont.x", "Chara/DragonFly/DragonFlyBack.x"}) {
        SCOPED_TRACE(file);
        const MeshFile wing = loadMesh(file);
        EXPECT_GE(wing.min.x, 0) << "the root is at the origin; the other side is a rotation about z";
        EXPECT_GT(wing.max.x, 1.0f);
        EXPECT_LT(wing.max.y - wing.min.y, 1e-5f);
        size_t up = 0, down = 0;
        for (const MeshTriangle& t : wing.triangles) (t.windingNormal().y > 0 ? up : down)++;
        EXPECT_EQ(up, down);
        EXPECT_LT(wing.materials[0].colours.Diffuse.a, 1) << "translucent";
    }
    const MeshFile body = loadMesh("Chara/DragonFly/DragonFlyBody.x");
    EXPECT_GT(body.max.z - body.min.z, 1.4f) << "a long body along z";
    EXPECT_LT(body.max.x - body.min.x, 0.6f);
    EXPECT_LT(loadMesh("Chara/DragonFly/DragonFlyDebris.x").radius(), 0.5f);
}

TEST(Meshes, BossPartsFitItsPlacement) {
    // Model units; drawn at scale 9 with the body origin 1/3 above the floor.
    const MeshFile body = loadMesh("Chara/PillBugs/PillBugs.x");
    EXPECT_GT(body.min.y, -1.0f / 3) << "the body stays above the floor";
    EXPECT_LT(body.max.y, 0.45f) << "the gun mounts on top at 0.45";
    EXPECT_GT(body.max.z - body.min.z, 0.9f);
    const MeshFile leg = loadMesh("Chara/PillBugs/PillBugsArm.x");
    EXPECT_NEAR(leg.min.y, -(0.2f + 1.0f / 3), 0.01f) << "hinged at 0.2, the foot reaches the floor";
    EXPECT_GT(leg.min.x, -0.05f);
    const MeshFile gun = loadMesh("Chara/PillBugs/PillBugsGun.x");
    EXPECT_LT(gun.min.y, -0.1f) << "the pedestal reaches down into the body";
    EXPECT_GT(gun.max.z, 0.2f) << "the barrel points ahead";
    EXPECT_NEAR(loadMesh("Chara/PillBugs/PillBugsBall.x").radius() * 9, 2.7f, 0.1f)
        << "rolled up, about 2.7 world units in radius";
    const float shellWorld = loadMesh("Chara/PillBugs/Shell.x").radius() * 9 * 0.9f;
    EXPECT_GT(shellWorld, 0.4f);
    EXPECT_LT(shellWorld, 1.2f);
}

TEST(Meshes, ThreadBallIsAUnitBallAndItsPieceFitsInside) {
    EXPECT_NEAR(loadMesh("LineBall/LineBall.x").radius(), 1.0f, 0.03f);
    const float piece = loadMesh("LineBall/LineBallDeb.x").radius();
    EXPECT_LT(piece, 1.0f);
    EXPECT_GT(piece, 0.5f);
}

}  // namespace
}  // namespace assettest
