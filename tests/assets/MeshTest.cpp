// The meshes as the game's loader reads them: normals, one UV set, textures beside the
// mesh, faces clockwise from the front (Direct3D, left-handed), and the sizes and
// pivots that the game's placement of each part relies on.
#include "LoadedMesh.h"
#include "TestData.h"

#include <gtest/gtest.h>
#include <stb_image.h>

#include <cmath>
#include <filesystem>

namespace assettest {
namespace {

const char* const kMeshes[] = {
    "Field/SubField2.x", "Field/Lift2.x", "Field/LiftBox.x", "Field/RopeObject2.x", "Field/RopeObjectBox.x",
    "Chara/Spider/SpiderMachineBody2.x", "Chara/Spider/SpiderMachineArm2.x", "Chara/Spider/SpiderMachineBullet.x",
    "Chara/Spider/SpiderMachineShadow.x", "LineBall/LineBall.x", "LineBall/LineBallDeb.x",
    "Chara/DragonFly/DragonFlyBody.x", "Chara/DragonFly/DragonFlyFlont.x", "Chara/DragonFly/DragonFlyBack.x",
    "Chara/DragonFly/DragonFlyShadow.x", "Chara/DragonFly/DragonFlyDebris.x", "Chara/DragonFly/DragonFlyBox.x",
    "Chara/PillBugs/PillBugs.x", "Chara/PillBugs/PillBugsArm.x", "Chara/PillBugs/PillBugsGun.x",
    "Chara/PillBugs/PillBugsBall.x", "Chara/PillBugs/Shell.x"};

LoadedMesh loadMesh(const std::string& relative) {
    LoadedMesh mesh = LoadedMesh::load(dataPath(relative));
    EXPECT_TRUE(mesh.loaded) << relative;
    return mesh;
}

V3 faceNormal(const MeshTriangle& t) { return cross(t.position[1] - t.position[0], t.position[2] - t.position[0]); }
V3 centroid(const MeshTriangle& t) { return (t.position[0] + t.position[1] + t.position[2]) * (1.0 / 3); }

double farthestFromOrigin(const LoadedMesh& mesh) {
    double best = 0;
    for (const MeshTriangle& t : mesh.triangles)
        for (const V3& p : t.position) best = std::max(best, std::sqrt(dot(p, p)));
    return best;
}

TEST(Meshes, LoadWithNormalsOneUvSetAndPowerOfTwoTexturesBesideThem) {
    for (const char* file : kMeshes) {
        SCOPED_TRACE(file);
        const LoadedMesh mesh = loadMesh(file);
        EXPECT_FALSE(mesh.triangles.empty());
        EXPECT_TRUE(mesh.allHaveNormals);
        EXPECT_TRUE(mesh.allHaveOneUvSet);
        ASSERT_FALSE(mesh.materials.empty());
        const std::string folder = std::filesystem::path(dataPath(file)).parent_path().string();
        for (const MeshMaterial& material : mesh.materials) {
            if (material.texture.empty()) continue;
            int w = 0, h = 0, channels = 0;
            ASSERT_TRUE(stbi_info((folder + "/" + material.texture).c_str(), &w, &h, &channels)) << material.texture;
            EXPECT_TRUE(isPowerOfTwo(w) && isPowerOfTwo(h)) << material.texture << " is " << w << "x" << h;
        }
    }
}

TEST(Meshes, FrontFacesAreClockwiseAndAgreeWithTheirNormals) {
    // Left-handed and clockwise seen from the front: the edge cross product (b-a) x (c-a)
    // points out of the front, the way the stored normals do.
    for (const char* file : kMeshes) {
        SCOPED_TRACE(file);
        const LoadedMesh mesh = loadMesh(file);
        size_t disagreeing = 0;
        for (const MeshTriangle& t : mesh.triangles)
            if (dot(faceNormal(t), t.normal[0] + t.normal[1] + t.normal[2]) <= 0) ++disagreeing;
        EXPECT_EQ(disagreeing, 0u);
    }
}

TEST(Meshes, ClosedConvexShapesFaceOutwards) {
    const std::pair<const char*, V3> shapes[] = {{"Field/LiftBox.x", {0, 0, 0}},
                                                 {"Field/RopeObjectBox.x", {0, 1.0 / 60, 0}},
                                                 {"Chara/DragonFly/DragonFlyBox.x", {0, 0.25, -0.54}},
                                                 {"Chara/PillBugs/PillBugsBall.x", {0, 0, 0}},
                                                 {"Chara/PillBugs/Shell.x", {0, 0, -0.005}}};
    for (const auto& [file, centre] : shapes) {
        SCOPED_TRACE(file);
        const LoadedMesh mesh = loadMesh(file);
        size_t inward = 0;
        for (const MeshTriangle& t : mesh.triangles)
            if (dot(faceNormal(t), centroid(t) - centre) <= 0) ++inward;
        EXPECT_EQ(inward, 0u);
    }
}

TEST(Meshes, CollisionBoxesAreSimpleBoxesOfTheRightSize) {
    struct Box {
        const char* file;
        V3 min, max;
    };
    const Box boxes[] = {{"Field/LiftBox.x", {-2, -0.5, -2}, {2, 0.5, 2}},  // 6 x 1.5 x 6 world at scale 1.5
                         {"Field/RopeObjectBox.x", {-1.5 / 25, -1.0 / 30, -1.5 / 25}, {1.5 / 25, 2.0 / 30, 1.5 / 25}},
                         {"Chara/DragonFly/DragonFlyBox.x", {-0.3, 0.05, -1.5}, {0.3, 0.45, 0.42}}};
    for (const Box& box : boxes) {
        SCOPED_TRACE(box.file);
        const LoadedMesh mesh = loadMesh(box.file);
        EXPECT_EQ(mesh.triangles.size(), 12u);
        EXPECT_NEAR(mesh.min.x, box.min.x, 1e-5);
        EXPECT_NEAR(mesh.min.y, box.min.y, 1e-5);
        EXPECT_NEAR(mesh.min.z, box.min.z, 1e-5);
        EXPECT_NEAR(mesh.max.x, box.max.x, 1e-5);
        EXPECT_NEAR(mesh.max.y, box.max.y, 1e-5);
        EXPECT_NEAR(mesh.max.z, box.max.z, 1e-5);
    }
}

TEST(Meshes, FieldObjectsMatchTheirBoxes) {
    const LoadedMesh lift = loadMesh("Field/Lift2.x");
    EXPECT_NEAR(lift.max.y, 0.5, 1e-4) << "the deck is where riders stand on the box";
    EXPECT_LE(std::fabs(lift.min.x), 2.1);
    EXPECT_LE(lift.max.z, 2.1);
    const LoadedMesh knot = loadMesh("Field/RopeObject2.x");
    // Drawn at Scaling(25, 30, 25): a knot about 2.6 world units across, centred on the anchor.
    EXPECT_NEAR((knot.min.x + knot.max.x) * 25 / 2, 0, 0.05);
    EXPECT_NEAR((knot.min.y + knot.max.y) * 30 / 2, 0, 0.05);
    EXPECT_NEAR((knot.max.x - knot.min.x) * 25, 2.6, 0.2);
    EXPECT_NEAR((knot.max.y - knot.min.y) * 30, 2.6, 0.2);
}

TEST(Meshes, SpiderStandsOnItsFeetWithLegsReachingTheGround) {
    const LoadedMesh body = loadMesh("Chara/Spider/SpiderMachineBody2.x");
    EXPECT_GT(body.min.y, 0.25) << "the body clears the ground";
    EXPECT_NEAR(body.max.y, 1.2, 0.02) << "the gun mount meets the gun at height 1.2";
    EXPECT_GT(body.max.z, 0.6);
    const LoadedMesh leg = loadMesh("Chara/Spider/SpiderMachineArm2.x");
    EXPECT_NEAR(leg.min.y, -0.4, 0.01) << "hinged 0.4 up, the foot touches the ground";
    EXPECT_GT(leg.min.x, -0.07) << "the leg reaches out along +x";
    EXPECT_GT(leg.max.x, 0.8);
    const LoadedMesh gun = loadMesh("Chara/Spider/SpiderMachineBullet.x");
    EXPECT_NEAR(gun.min.y, 0, 0.01);
    EXPECT_GT(gun.max.z, 0.4) << "the barrel points ahead";
}

TEST(Meshes, ShadowsAreFlatDarkTranslucentDiscsJustAboveTheGround) {
    for (const char* file : {"Chara/Spider/SpiderMachineShadow.x", "Chara/DragonFly/DragonFlyShadow.x"}) {
        SCOPED_TRACE(file);
        const LoadedMesh shadow = loadMesh(file);
        EXPECT_LT(shadow.max.y - shadow.min.y, 1e-5);
        EXPECT_GT(shadow.min.y, 0);
        EXPECT_LT(shadow.max.y, 0.05);
        EXPECT_GT(shadow.max.x - shadow.min.x, 1.5);
        for (const MeshTriangle& t : shadow.triangles) EXPECT_GT(faceNormal(t).y, 0) << "faces up";
        ASSERT_EQ(shadow.materials.size(), 1u);
        EXPECT_LT(shadow.materials[0].diffuse[3], 1);
        EXPECT_LT(shadow.materials[0].diffuse[0] + shadow.materials[0].diffuse[1] + shadow.materials[0].diffuse[2], 0.3);
    }
}

TEST(Meshes, DragonFlyWingsSpreadAlongPlusXAndShowBothSides) {
    for (const char* file : {"Chara/DragonFly/DragonFlyFlont.x", "Chara/DragonFly/DragonFlyBack.x"}) {
        SCOPED_TRACE(file);
        const LoadedMesh wing = loadMesh(file);
        EXPECT_GE(wing.min.x, 0) << "the root is at the origin; the other side is a rotation about z";
        EXPECT_GT(wing.max.x, 1.0);
        EXPECT_LT(wing.max.y - wing.min.y, 1e-5);
        size_t up = 0, down = 0;
        for (const MeshTriangle& t : wing.triangles) (faceNormal(t).y > 0 ? up : down)++;
        EXPECT_EQ(up, down);
        EXPECT_LT(wing.materials[0].diffuse[3], 1) << "translucent";
    }
    const LoadedMesh body = loadMesh("Chara/DragonFly/DragonFlyBody.x");
    EXPECT_GT(body.max.z - body.min.z, 1.4) << "a long body along z";
    EXPECT_LT(body.max.x - body.min.x, 0.6);
    const LoadedMesh debris = loadMesh("Chara/DragonFly/DragonFlyDebris.x");
    EXPECT_LT(farthestFromOrigin(debris), 0.5);
}

TEST(Meshes, BossPartsFitItsPlacement) {
    // Model units; drawn at scale 9 with the body origin 1/3 above the floor.
    const LoadedMesh body = loadMesh("Chara/PillBugs/PillBugs.x");
    EXPECT_GT(body.min.y, -1.0 / 3) << "the body stays above the floor";
    EXPECT_LT(body.max.y, 0.45) << "the gun mounts on top at 0.45";
    EXPECT_GT(body.max.z - body.min.z, 0.9);
    const LoadedMesh leg = loadMesh("Chara/PillBugs/PillBugsArm.x");
    EXPECT_NEAR(leg.min.y, -(0.2 + 1.0 / 3), 0.01) << "hinged at 0.2, the foot reaches the floor";
    EXPECT_GT(leg.min.x, -0.05);
    const LoadedMesh gun = loadMesh("Chara/PillBugs/PillBugsGun.x");
    EXPECT_LT(gun.min.y, -0.1) << "the pedestal reaches down into the body";
    EXPECT_GT(gun.max.z, 0.2) << "the barrel points ahead";
    const LoadedMesh ball = loadMesh("Chara/PillBugs/PillBugsBall.x");
    EXPECT_NEAR(farthestFromOrigin(ball) * 9, 2.7, 0.1) << "rolled up, about 2.7 world units in radius";
    const LoadedMesh shell = loadMesh("Chara/PillBugs/Shell.x");
    const double shellWorld = farthestFromOrigin(shell) * 9 * 0.9;
    EXPECT_GT(shellWorld, 0.4);
    EXPECT_LT(shellWorld, 1.2);
}

TEST(Meshes, ThreadBallIsAUnitBallAndItsPieceFitsInside) {
    const LoadedMesh ball = loadMesh("LineBall/LineBall.x");
    EXPECT_NEAR(farthestFromOrigin(ball), 1.0, 0.03);
    const LoadedMesh piece = loadMesh("LineBall/LineBallDeb.x");
    EXPECT_LT(farthestFromOrigin(piece), 1.0);
    EXPECT_GT(farthestFromOrigin(piece), 0.5);
}

}  // namespace
}  // namespace assettest
