#include "WorldTestSupport.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include <velmora/DrawLog.h>
#include <velmora/HeadlessInput.h>

#include "Stage.h"

namespace worldtest {

int Thing::destroyed = 0;

namespace {

// One headless window, device and scene manager for the whole run, as the game has.
class WorldEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        gametest::GameFixture::resetHeadless();
        gametest::GameFixture::startWorld();
    }
    void TearDown() override { gametest::GameFixture::shutDown(); }
};

::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(new WorldEnvironment);

std::string real(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", static_cast<double>(value));
    return text;
}

}  // namespace

void writeXFile(const std::string& path, const std::vector<D3DXVECTOR3>& positions,
                const std::vector<Triangle>& triangles) {
    std::ofstream out(path, std::ios::binary);
    const auto separator = [](size_t i, size_t n) { return i + 1 < n ? "," : ";"; };
    out << "xof 0303txt 0032\n\nMesh testMesh {\n " << positions.size() << ";\n";
    for (size_t i = 0; i < positions.size(); ++i) {
        out << " " << real(positions[i].x) << ";" << real(positions[i].y) << ";" << real(positions[i].z) << ";"
            << separator(i, positions.size()) << "\n";
    }
    const auto faces = [&]() {
        out << " " << triangles.size() << ";\n";
        for (size_t i = 0; i < triangles.size(); ++i) {
            out << " 3;" << triangles[i].a << "," << triangles[i].b << "," << triangles[i].c << ";"
                << separator(i, triangles.size()) << "\n";
        }
    };
    faces();
    out << " MeshNormals {\n " << positions.size() << ";\n";
    for (size_t i = 0; i < positions.size(); ++i) out << " 0.000000;1.000000;0.000000;" << separator(i, positions.size()) << "\n";
    faces();
    out << " }\n MeshTextureCoords {\n " << positions.size() << ";\n";
    for (size_t i = 0; i < positions.size(); ++i) out << " 0.000000;0.000000;" << separator(i, positions.size()) << "\n";
    out << " }\n MeshMaterialList {\n 1;\n " << triangles.size() << ";\n";
    for (size_t i = 0; i < triangles.size(); ++i) out << " 0" << separator(i, triangles.size()) << "\n";
    out << "  Material {\n   0.800000;0.800000;0.800000;1.000000;;\n   8.000000;\n"
           "   0.000000;0.000000;0.000000;;\n   0.000000;0.000000;0.000000;;\n  }\n }\n}\n";
}

const std::string& scratchFolder() {
    static const std::string folder = [] {
        char pattern[] = "/tmp/velmora_world_XXXXXX";
        const char* made = mkdtemp(pattern);
        return std::string(made ? made : "/tmp");
    }();
    return folder;
}

std::string writeBox(const char* name, const D3DXVECTOR3& low, const D3DXVECTOR3& high) {
    std::vector<D3DXVECTOR3> corners;
    for (int i = 0; i < 8; ++i) {
        corners.emplace_back((i & 1) ? high.x : low.x, (i & 2) ? high.y : low.y, (i & 4) ? high.z : low.z);
    }
    const std::vector<Triangle> faces = {{0, 1, 3}, {0, 3, 2}, {4, 6, 7}, {4, 7, 5}, {0, 4, 5}, {0, 5, 1},
                                         {2, 3, 7}, {2, 7, 6}, {0, 2, 6}, {0, 6, 4}, {1, 5, 7}, {1, 7, 3}};
    const std::string path = scratchFolder() + "/" + name + ".x";
    writeXFile(path, corners, faces);
    return path;
}

std::string writePlane(const char* name, int axis, float at, float half) {
    std::vector<D3DXVECTOR3> corners;
    const float signs[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (const auto& sign : signs) {
        float c[3];
        c[axis] = at;
        c[(axis + 1) % 3] = sign[0] * half;
        c[(axis + 2) % 3] = sign[1] * half;
        corners.emplace_back(c[0], c[1], c[2]);
    }
    const std::string path = scratchFolder() + "/" + name + ".x";
    writeXFile(path, corners, {{0, 1, 2}, {0, 2, 3}});
    return path;
}

D3DXMATRIX scaling(float x, float y, float z) {
    D3DXMATRIX m;
    D3DXMatrixScaling(&m, x, y, z);
    return m;
}

D3DXMATRIX product(const D3DXMATRIX& a, const D3DXMATRIX& b) {
    D3DXMATRIX m;
    D3DXMatrixMultiply(&m, &a, &b);
    return m;
}

bool nearlyEqual(const D3DXMATRIX& a, const D3DXMATRIX& b, float tolerance) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            if (std::fabs(a.m[r][c] - b.m[r][c]) > tolerance) return false;
        }
    }
    return true;
}

void WorldTest::SetUp() {
    velmora::headless::releaseAllKeys();
    velmora::resetDrawLog();
    g_stage.finished = 0;
    g_stage.cleared = 0;
}

void WorldTest::TearDown() {
    for (CharaBase* object : objects()) delete object;
    objects().clear();
    velmora::headless::releaseAllKeys();
}

}  // namespace worldtest
