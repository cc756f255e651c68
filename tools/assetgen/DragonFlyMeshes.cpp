// The dragonfly: body, front and back wing (each drawn twice, mirrored), shadow, a
// debris piece and a collision box. Drawn at scale 1.2; +z is ahead.
#include "AssetGroups.h"

#include "MeshBuilder.h"
#include "Random.h"
#include "TextureNames.h"
#include "XFileWriter.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace assetgen {
namespace {

int addBodyMaterial(MeshBuilder& mesh) {
    return mesh.addMaterial(makeMaterial(0.55f, 0.95f, 0.85f, 1, 40, 0.8f, texture::kDragonFlyBody));
}

void writeBody(const std::string& dir) {
    MeshBuilder mesh;
    const int body = addBodyMaterial(mesh);
    const int eye = mesh.addMaterial(makeMaterial(1.0f, 0.35f, 0.1f, 1, 80, 1.0f));
    const int leg = mesh.addMaterial(makeMaterial(0.12f, 0.13f, 0.15f, 1, 20, 0.3f));
    mesh.useMaterial(body);
    mesh.addEllipsoid({0, 0.26f, 0}, {0.13f, 0.14f, 0.21f}, 16, 10);     // thorax
    mesh.addEllipsoid({0, 0.3f, 0.28f}, {0.1f, 0.095f, 0.09f}, 14, 8);   // head
    // Abdomen: segments that swell and pinch, tapering to the tail.
    std::vector<Vec3> spine;
    std::vector<float> radii;
    const int segments = 9;
    for (int k = 0; k <= segments * 2; ++k) {
        float s = float(k) / (segments * 2);
        spine.push_back({0, 0.24f - 0.05f * s, -0.16f - 1.3f * s});
        float taper = 0.075f - 0.035f * s;
        radii.push_back(k % 2 ? taper : taper * 0.82f);
    }
    radii.back() = 0.015f;
    mesh.addTube(spine, radii, 10, true, true);
    // Tail claspers.
    for (float side : {-1.0f, 1.0f})
        mesh.addTube({spine.back(), spine.back() + Vec3{side * 0.05f, -0.01f, -0.1f}}, {0.015f, 0.003f}, 5, true, false);
    mesh.useMaterial(eye);
    for (float side : {-1.0f, 1.0f}) mesh.addEllipsoid({side * 0.075f, 0.33f, 0.31f}, {0.075f, 0.08f, 0.075f}, 12, 8);
    mesh.useMaterial(leg);
    for (int pair = 0; pair < 3; ++pair) {
        float z = 0.1f - pair * 0.1f;
        for (float side : {-1.0f, 1.0f})
            mesh.addTube({{side * 0.05f, 0.16f, z}, {side * 0.17f, 0.07f, z + 0.06f}, {side * 0.21f, -0.08f, z + 0.12f}},
                         {0.016f, 0.012f, 0.004f}, 5, false, true);
    }
    XFileWriter::write(mesh, dir + "/DragonFlyBody.x", "DragonFlyBody");
}

// A wing from its root at the origin out along +x, lying flat in the xz plane and
// seen from both sides. chord: widest width; centre: z of the wing's middle line.
void writeWing(const std::string& path, const std::string& name, float span, float chord, float centre, float sweep) {
    MeshBuilder mesh;
    mesh.addMaterial(makeMaterial(0.85f, 0.95f, 1.0f, 0.6f, 60, 1.0f, texture::kDragonFlyWing));
    auto width = [&](float s) { return chord * std::sqrt(std::max(0.0f, std::sin(kPi * (0.08f + 0.92f * s)))); };
    auto point = [&](float s, float across) {
        float mid = centre - sweep * s * s;
        return Vec3{0.03f + span * s, 0, mid + (across - 0.5f) * width(s)};
    };
    // The underside: Pu x Pv points down for this parametrisation.
    mesh.addSurface(14, 3, [&](float u, float v) { return point(u, v); }, {1, 1}, false);
    mesh.addSurface(14, 3, [&](float u, float v) { return point(u, 1 - v); }, {1, -1}, false);
    XFileWriter::write(mesh, path, name);
}

void writeShadow(const std::string& dir) {
    MeshBuilder mesh;
    mesh.addMaterial(makeMaterial(0, 0, 0, 0.45f, 1, 0, texture::kDragonFlyShadow));
    mesh.addDisc(1.3f, 0.95f, 0.01f, 24);
    XFileWriter::write(mesh, dir + "/DragonFlyShadow.x", "DragonFlyShadow");
}

void writeDebris(const std::string& dir) {
    // A jagged chunk of shell: a coarse ball with every corner pushed in or out.
    MeshBuilder mesh;
    addBodyMaterial(mesh);
    Random random(1234);
    float push[7][5];
    for (auto& row : push)
        for (float& r : row) r = random.range(0.6f, 1.3f);
    for (int j = 0; j < 5; ++j) push[6][j] = push[0][j];
    mesh.addSurface(6, 4,
                    [&](float u, float v) {
                        int i = static_cast<int>(std::lround(u * 6)), j = static_cast<int>(std::lround(v * 4));
                        float r = (j == 0 || j == 4) ? 1.0f : push[i][j];
                        float phi = 2 * kPi * u, theta = kPi * v;
                        return Vec3{std::sin(theta) * std::cos(phi) * 0.2f, std::cos(theta) * 0.12f,
                                    std::sin(theta) * std::sin(phi) * 0.26f} * r;
                    },
                    {1, 1}, false);
    XFileWriter::write(mesh, dir + "/DragonFlyDebris.x", "DragonFlyDebris");
}

void writeBox(const std::string& dir) {
    MeshBuilder mesh;
    mesh.addMaterial(makeMaterial(1, 1, 1, 1, 1, 0));
    mesh.addBox({-0.3f, 0.05f, -1.5f}, {0.3f, 0.45f, 0.42f}, 1);
    XFileWriter::write(mesh, dir + "/DragonFlyBox.x", "DragonFlyBox");
}

}  // namespace

void writeDragonFlyMeshes(const std::string& dataDir) {
    const std::string dir = dataDir + "/Chara/DragonFly";
    std::filesystem::create_directories(dir);
    writeBody(dir);
    writeWing(dir + "/DragonFlyFlont.x", "DragonFlyFrontWing", 1.25f, 0.19f, 0.03f, 0.05f);
    writeWing(dir + "/DragonFlyBack.x", "DragonFlyBackWing", 1.15f, 0.26f, -0.07f, 0.08f);
    writeShadow(dir);
    writeDebris(dir);
    writeBox(dir);
}

}  // namespace assetgen
