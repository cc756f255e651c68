// The boss, an armoured pill bug drawn at scale 9: segmented body, one leg (drawn eight
// times), the gun on its back, the rolled-up ball and the shell it fires. Its body
// origin sits 3 world units (1/3 model unit) above the floor; +z is ahead.
#include "AssetGroups.h"

#include "MeshBuilder.h"
#include "TextureNames.h"
#include "XFileWriter.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace assetgen {
namespace {

struct BossMaterials {
    int plate, under, eye, dark;
};

BossMaterials addBossMaterials(MeshBuilder& mesh) {
    return {mesh.addMaterial(makeMaterial(0.85f, 0.78f, 1.0f, 1, 35, 0.7f, texture::kBossPlate)),
            mesh.addMaterial(makeMaterial(0.32f, 0.27f, 0.3f, 1, 10, 0.2f)),
            mesh.addMaterial(makeMaterial(1.0f, 0.2f, 0.1f, 1, 90, 1.0f)),
            mesh.addMaterial(makeMaterial(0.14f, 0.12f, 0.15f, 1, 20, 0.3f))};
}

// Relative size of the body's cross-section along its length.
float bodyProfile(float z) {
    float t = (z + 0.03f) / 0.47f;
    return std::sqrt(std::max(0.2f, 1 - t * t));
}

void writeBody(const std::string& dir) {
    MeshBuilder mesh;
    const BossMaterials m = addBossMaterials(mesh);
    mesh.useMaterial(m.under);
    mesh.addEllipsoid({0, 0.05f, -0.04f}, {0.24f, 0.24f, 0.42f}, 20, 12);
    // Eight arched plates from head to tail, each flaring at its back edge so it
    // overlaps the next like shingles; their skirts hide where the legs join.
    mesh.useMaterial(m.plate);
    for (int k = 0; k < 8; ++k) {
        const float front = 0.33f - k * 0.092f, back = front - 0.125f;
        mesh.addSurface(16, 3,
                        [&](float u, float v) {
                            float z = back + (front - back) * v;
                            float s = bodyProfile(z) * (1.07f - 0.07f * v);
                            float theta = -0.35f + (kPi + 0.7f) * u;
                            return Vec3{0.27f * s * std::cos(theta), -0.05f + 0.36f * s * std::sin(theta), z};
                        },
                        {1, 0.5f}, true);
    }
    mesh.addEllipsoid({0, -0.01f, 0.39f}, {0.16f, 0.13f, 0.1f}, 16, 8);  // head
    mesh.useMaterial(m.eye);
    for (float side : {-1.0f, 1.0f}) mesh.addEllipsoid({side * 0.08f, 0.03f, 0.47f}, {0.03f, 0.03f, 0.03f}, 10, 6);
    mesh.useMaterial(m.dark);
    for (float side : {-1.0f, 1.0f}) {
        mesh.addTube({{side * 0.05f, 0.05f, 0.47f}, {side * 0.12f, 0.12f, 0.57f}, {side * 0.22f, 0.11f, 0.67f}},
                     {0.012f, 0.008f, 0.003f}, 6, true, true);  // antennae
        mesh.addTube({{side * 0.06f, -0.02f, -0.44f}, {side * 0.12f, -0.05f, -0.54f}}, {0.025f, 0.005f}, 6, true, true);
    }
    XFileWriter::write(mesh, dir + "/PillBugs.x", "PillBugsBody");
}

void writeLeg(const std::string& dir) {
    // Hinge at the origin (0.2 above the body origin), out under the skirt of the
    // plates; the foot reaches the floor 0.533 below the hinge.
    MeshBuilder mesh;
    const BossMaterials m = addBossMaterials(mesh);
    const Vec3 knee{0.25f, -0.1f, 0}, ankle{0.33f, -0.36f, 0}, foot{0.36f, -0.533f, 0};
    mesh.useMaterial(m.plate);
    mesh.addTube({{0, 0, 0}, knee}, {0.04f, 0.034f}, 8, false, true);
    mesh.addTube({knee, ankle}, {0.032f, 0.025f}, 8, false, true);
    mesh.addTube({knee + Vec3{0, 0.02f, 0}, knee + Vec3{0.05f, 0.08f, 0}}, {0.018f, 0.002f}, 6, true, true);  // spur
    mesh.useMaterial(m.dark);
    mesh.addEllipsoid(knee, {0.04f, 0.04f, 0.04f}, 10, 6);
    mesh.addEllipsoid(ankle, {0.028f, 0.028f, 0.028f}, 10, 6);
    mesh.addTube({ankle, foot}, {0.024f, 0.004f}, 8, true, true);
    XFileWriter::write(mesh, dir + "/PillBugsArm.x", "PillBugsLeg");
}

void writeGun(const std::string& dir) {
    // Origin at the mount, 0.45 above the body origin; the barrel points ahead.
    MeshBuilder mesh;
    const BossMaterials m = addBossMaterials(mesh);
    mesh.useMaterial(m.dark);
    mesh.addTube({{0, -0.13f, 0}, {0, 0, 0}}, {0.05f, 0.04f}, 12, false, true);
    mesh.useMaterial(m.plate);
    mesh.addEllipsoid({0, 0.02f, 0}, {0.075f, 0.055f, 0.085f}, 14, 8);
    mesh.useMaterial(m.dark);
    mesh.addTube({{0, 0.035f, 0.04f}, {0, 0.035f, 0.22f}}, {0.024f, 0.02f}, 10, true, true);
    mesh.useMaterial(m.eye);
    mesh.addTube({{0, 0.035f, 0.2f}, {0, 0.035f, 0.235f}}, {0.032f, 0.032f}, 10, false, true);
    XFileWriter::write(mesh, dir + "/PillBugsGun.x", "PillBugsGun");
}

void writeBall(const std::string& dir) {
    // Rolled up: radius 0.3 (2.7 world units); the plates run around the roll axis (x),
    // each one a step higher than the last so they read as overlapping armour.
    MeshBuilder mesh;
    const BossMaterials m = addBossMaterials(mesh);
    mesh.useMaterial(m.plate);
    const int plates = 12, perPlate = 5;
    mesh.addSurface(18, plates * perPlate,
                    [&](float u, float v) {
                        float theta = kPi * u, phi = 2 * kPi * v;
                        float within = std::fmod(v * plates, 1.0f);
                        float r = 0.3f * (0.9f + 0.1f * within);
                        return Vec3{std::cos(theta) * 0.28f, std::sin(theta) * std::cos(phi) * r,
                                    std::sin(theta) * std::sin(phi) * r};
                    },
                    {1, plates * 0.5f}, true);
    XFileWriter::write(mesh, dir + "/PillBugsBall.x", "PillBugsBall");
}

void writeShell(const std::string& dir) {
    // Fired from the gun at 0.9 of its scale: about half a world unit across, spiral
    // ridges like a sea shell, pointing along its flight (+z).
    MeshBuilder mesh;
    mesh.addMaterial(makeMaterial(1.0f, 0.7f, 0.35f, 1, 60, 1.0f, texture::kBossShell));
    mesh.addSurface(24, 16,
                    [&](float u, float v) {
                        float phi = -2 * kPi * u;
                        float t = v;  // 0 at the nose, 1 at the back
                        float z = 0.08f - 0.17f * t;
                        float r = 0.065f * std::pow(std::max(0.0f, std::sin(kPi * t)), 0.7f) * (1 + 0.12f * std::sin(2 * kPi * 3 * t + phi * 2));
                        return Vec3{r * std::cos(phi), r * std::sin(phi), z};
                    },
                    {2, 3}, true);
    XFileWriter::write(mesh, dir + "/Shell.x", "Shell");
}

}  // namespace

void writeBossMeshes(const std::string& dataDir) {
    const std::string dir = dataDir + "/Chara/PillBugs";
    std::filesystem::create_directories(dir);
    writeBody(dir);
    writeLeg(dir);
    writeGun(dir);
    writeBall(dir);
    writeShell(dir);
}

}  // namespace assetgen
