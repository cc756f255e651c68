// The player's spider machine: body, one leg (drawn eight times), the gun on its back
// and its shadow. Model units are world units; the feet stand at y = 0, +z is ahead.
#include "AssetGroups.h"

#include "MeshBuilder.h"
#include "TextureNames.h"
#include "XFileWriter.h"

#include <cmath>
#include <filesystem>

namespace assetgen {
namespace {

struct SpiderMaterials {
    int hull, trim, joint, eye;
};

SpiderMaterials addSpiderMaterials(MeshBuilder& mesh) {
    return {mesh.addMaterial(makeMaterial(0.62f, 0.68f, 0.8f, 1, 30, 0.6f, texture::kSpiderHull)),
            mesh.addMaterial(makeMaterial(0.95f, 0.72f, 0.32f, 1, 50, 0.9f)),
            mesh.addMaterial(makeMaterial(0.18f, 0.19f, 0.22f, 1, 20, 0.4f)),
            mesh.addMaterial(makeMaterial(1.0f, 0.12f, 0.08f, 1, 90, 1.0f))};
}

// Leg hinges as the player lays them out (the gait moves them from here).
const Vec3 kHinges[8] = {{0.35f, 0.4f, 0.4f},  {-0.35f, 0.4f, 0.4f},  {0.35f, 0.4f, 0.15f}, {-0.35f, 0.4f, 0.15f},
                         {0.35f, 0.4f, 0},     {-0.35f, 0.4f, 0},     {0.45f, 0.4f, -0.15f}, {-0.45f, 0.4f, -0.15f}};

void writeBody(const std::string& dir) {
    MeshBuilder mesh;
    const SpiderMaterials m = addSpiderMaterials(mesh);
    mesh.useMaterial(m.hull);
    mesh.addEllipsoid({0, 0.78f, -0.42f}, {0.42f, 0.34f, 0.5f}, 22, 12);  // abdomen
    mesh.addEllipsoid({0, 0.55f, 0.18f}, {0.36f, 0.2f, 0.36f}, 20, 10);   // thorax
    mesh.addEllipsoid({0, 0.6f, 0.55f}, {0.2f, 0.15f, 0.17f}, 16, 8);     // head
    // Brass bands around the abdomen.
    mesh.useMaterial(m.trim);
    for (float dz : {-0.2f, 0.05f}) {
        float f = std::sqrt(1 - (dz / 0.5f) * (dz / 0.5f));
        mesh.setTransform(Transform::scaling({0.425f * f, 0.345f * f, 1}).then(Transform::translation({0, 0.78f, -0.42f + dz})));
        mesh.addTorus(1, 0.05f, 28, 6);
    }
    mesh.setTransform(Transform{});
    // Fangs.
    for (float side : {-1.0f, 1.0f})
        mesh.addTube({{side * 0.07f, 0.52f, 0.66f}, {side * 0.065f, 0.4f, 0.77f}, {side * 0.035f, 0.33f, 0.74f}},
                     {0.032f, 0.022f, 0.004f}, 8, true, true);
    // Spinneret and gun mount.
    mesh.addTube({{0, 0.74f, -0.88f}, {0, 0.72f, -1.0f}}, {0.12f, 0.05f}, 12, true, true);
    mesh.addTube({{0, 1.06f, -0.5f}, {0, 1.2f, -0.5f}}, {0.11f, 0.09f}, 14, false, true);
    // Struts from the thorax to each hip, with a socket where the leg hinges.
    mesh.useMaterial(m.joint);
    for (const Vec3& hinge : kHinges) {
        mesh.addTube({{hinge.x * 0.3f, 0.48f, hinge.z}, hinge}, {0.045f, 0.04f}, 8, false, false);
        mesh.addEllipsoid(hinge, {0.07f, 0.07f, 0.07f}, 10, 6);
    }
    mesh.useMaterial(m.eye);
    for (float side : {-1.0f, 1.0f}) {
        mesh.addEllipsoid({side * 0.08f, 0.67f, 0.68f}, {0.045f, 0.045f, 0.045f}, 10, 6);
        mesh.addEllipsoid({side * 0.15f, 0.62f, 0.64f}, {0.03f, 0.03f, 0.03f}, 8, 5);
        mesh.addEllipsoid({side * 0.045f, 0.72f, 0.62f}, {0.025f, 0.025f, 0.025f}, 8, 5);
    }
    XFileWriter::write(mesh, dir + "/SpiderMachineBody2.x", "SpiderBody");
}

void writeLeg(const std::string& dir) {
    // Hinge at the origin, reaching out along +x; the foot touches y = -0.4, the ground
    // below a hinge at height 0.4.
    MeshBuilder mesh;
    const SpiderMaterials m = addSpiderMaterials(mesh);
    const Vec3 knee{0.42f, 0.34f, 0}, ankle{0.72f, -0.02f, 0}, foot{0.88f, -0.4f, 0};
    mesh.useMaterial(m.joint);
    mesh.addEllipsoid({0, 0, 0}, {0.06f, 0.06f, 0.06f}, 10, 6);
    mesh.useMaterial(m.hull);
    mesh.addTube({{0.03f, 0.02f, 0}, knee}, {0.056f, 0.044f}, 6, false, true);
    mesh.addTube({knee, ankle, foot - Vec3{0.01f, -0.03f, 0}}, {0.045f, 0.032f, 0.02f}, 6, false, true);
    mesh.useMaterial(m.trim);
    mesh.addEllipsoid(knee, {0.058f, 0.058f, 0.058f}, 10, 6);
    mesh.addEllipsoid(ankle, {0.036f, 0.036f, 0.036f}, 8, 5);
    for (float side : {-1.0f, 1.0f})
        mesh.addTube({{0.09f, 0.1f, side * 0.045f}, {0.36f, 0.23f, side * 0.04f}}, {0.014f, 0.014f}, 6, true, true);
    mesh.useMaterial(m.joint);
    mesh.addTube({foot - Vec3{0.01f, -0.03f, 0}, foot}, {0.02f, 0.002f}, 6, true, true);
    XFileWriter::write(mesh, dir + "/SpiderMachineArm2.x", "SpiderLeg");
}

void writeGun(const std::string& dir) {
    // Origin at the mount on the back; the barrel points ahead (+z).
    MeshBuilder mesh;
    const SpiderMaterials m = addSpiderMaterials(mesh);
    mesh.useMaterial(m.joint);
    mesh.addTube({{0, 0, 0}, {0, 0.07f, 0}}, {0.13f, 0.12f}, 16, false, true);
    mesh.useMaterial(m.hull);
    mesh.addEllipsoid({0, 0.14f, 0}, {0.11f, 0.08f, 0.15f}, 14, 8);
    mesh.useMaterial(m.joint);
    mesh.addTube({{0, 0.15f, 0.08f}, {0, 0.15f, 0.48f}}, {0.034f, 0.03f}, 10, true, true);
    mesh.useMaterial(m.trim);
    mesh.addTube({{0, 0.15f, 0.44f}, {0, 0.15f, 0.52f}}, {0.05f, 0.05f}, 10, false, true);
    mesh.addTube({{0, 0.21f, -0.02f}, {0, 0.25f, 0.04f}}, {0.02f, 0.015f}, 6, true, true);
    XFileWriter::write(mesh, dir + "/SpiderMachineBullet.x", "SpiderGun");
}

void writeShadow(const std::string& dir) {
    MeshBuilder mesh;
    mesh.addMaterial(makeMaterial(0, 0, 0, 0.5f, 1, 0, texture::kSpiderShadow));
    mesh.addDisc(1.05f, 1.05f, 0.01f, 24);
    XFileWriter::write(mesh, dir + "/SpiderMachineShadow.x", "SpiderShadow");
}

}  // namespace

void writeSpiderMeshes(const std::string& dataDir) {
    const std::string dir = dataDir + "/Chara/Spider";
    std::filesystem::create_directories(dir);
    writeBody(dir);
    writeLeg(dir);
    writeGun(dir);
    writeShadow(dir);
}

}  // namespace assetgen
