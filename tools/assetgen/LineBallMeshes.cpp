// The thread's ball (a wad of silk, radius 1, drawn at Scale 1..5) and one of the four
// pieces it breaks into.
#include "AssetGroups.h"

#include "MeshBuilder.h"
#include "TextureNames.h"
#include "XFileWriter.h"

#include <cmath>
#include <filesystem>

namespace assetgen {
namespace {

Vec3 sphereDirection(float phi, float theta) {
    return {std::sin(theta) * std::cos(phi), std::cos(theta), std::sin(theta) * std::sin(phi)};
}

int addSilkMaterial(MeshBuilder& mesh) {
    return mesh.addMaterial(makeMaterial(0.95f, 0.97f, 1.0f, 1, 25, 0.6f, texture::kSilk));
}

void writeBall(const std::string& dir) {
    MeshBuilder mesh;
    addSilkMaterial(mesh);
    const int strand = mesh.addMaterial(makeMaterial(0.8f, 0.9f, 1.0f, 1, 60, 0.9f));
    mesh.useMaterial(0);
    mesh.addEllipsoid({0, 0, 0}, {0.96f, 0.96f, 0.96f}, 24, 14);
    // Loose strands wound around the wad at different angles.
    mesh.useMaterial(strand);
    // Many thin ones, so that the ball reads as wound silk rather than a cage of hoops.
    for (int k = 0; k < 10; ++k) {
        const float tilt = -1.3f + 0.29f * k, turn = 2.39996f * k;  // turns spread by the golden angle
        mesh.setTransform(Transform::rotationX(tilt).then(Transform::rotationY(turn)));
        mesh.addTorus(0.975f, 0.02f, 40, 4);
    }
    XFileWriter::write(mesh, dir + "/LineBall.x", "LineBall");
}

void writePiece(const std::string& dir) {
    // A curved slab cut from the ball's shell: a quarter turn around and the middle
    // band from top to bottom, 0.25 thick.
    MeshBuilder mesh;
    addSilkMaterial(mesh);
    const float phi0 = 0, phi1 = kPi / 2, theta0 = 0.25f * kPi, theta1 = 0.75f * kPi;
    const float outer = 0.96f, inner = 0.7f;
    auto at = [&](float phiT, float thetaT, float radius) {
        return sphereDirection(phi0 + (phi1 - phi0) * phiT, theta0 + (theta1 - theta0) * thetaT) * radius;
    };
    auto radius = [&](float t) { return inner + (outer - inner) * t; };
    mesh.addSurface(8, 8, [&](float u, float v) { return at(u, v, outer); }, {1, 1}, true);
    mesh.addSurface(8, 8, [&](float u, float v) { return at(1 - u, v, inner); }, {1, 1}, true);
    mesh.addSurface(8, 1, [&](float u, float v) { return at(u, 0, radius(v)); }, {1, 0.3f}, false);
    mesh.addSurface(8, 1, [&](float u, float v) { return at(1 - u, 1, radius(v)); }, {1, 0.3f}, false);
    mesh.addSurface(8, 1, [&](float u, float v) { return at(1, u, radius(v)); }, {1, 0.3f}, false);
    mesh.addSurface(8, 1, [&](float u, float v) { return at(0, 1 - u, radius(v)); }, {1, 0.3f}, false);
    XFileWriter::write(mesh, dir + "/LineBallDeb.x", "LineBallPiece");
}

}  // namespace

void writeLineBallMeshes(const std::string& dataDir) {
    const std::string dir = dataDir + "/LineBall";
    std::filesystem::create_directories(dir);
    writeBall(dir);
    writePiece(dir);
}

}  // namespace assetgen
