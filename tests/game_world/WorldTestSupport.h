// Shared set-up of the world tests: a headless device and window, the scene manager's
// object list, small meshes written to a temporary folder, and stand-in objects.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CharaBase.h"
#include "SceneManager.h"

namespace worldtest {

struct Triangle {
    int a, b, c;
};

// Writes a text .x mesh with per-vertex normals, texture coordinates and one material.
void writeXFile(const std::string& path, const std::vector<D3DXVECTOR3>& positions,
                const std::vector<Triangle>& triangles);
// The temporary folder holding the test meshes (created once per run).
const std::string& scratchFolder();
// An axis-aligned box, or a single quad in the plane where `axis` (0 x, 1 y, 2 z) is
// `at`, spanning `half` either side on the other two axes.
std::string writeBox(const char* name, const D3DXVECTOR3& low, const D3DXVECTOR3& high);
std::string writePlane(const char* name, int axis, float at, float half);

// A world object with no behaviour of its own; counts its destructions.
class Thing : public CharaBase {
public:
    explicit Thing(int kind = KIND_BASE) { Kind = kind; }
    ~Thing() override { ++destroyed; }
    void Update() override { ++updates; }
    void Draw() override { ++draws; }

    int updates = 0;
    int draws = 0;
    static int destroyed;
};

D3DXVECTOR3 positionOf(const D3DXMATRIX& m);
D3DXMATRIX translation(float x, float y, float z);
D3DXMATRIX scaling(float x, float y, float z);
D3DXMATRIX product(const D3DXMATRIX& a, const D3DXMATRIX& b);
bool nearlyEqual(const D3DXMATRIX& a, const D3DXMATRIX& b, float tolerance = 1e-5f);

// Every test starts and ends with an empty object list and a clean draw log and input.
class WorldTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    ObjectList& objects() { return g_sceneManager->objects; }
    template <class T>
    T* add(T* object) {
        objects().push_back(object);
        return object;
    }
};

}  // namespace worldtest

// Lets gtest print matrices and vectors in failure messages.
void PrintTo(const D3DXMATRIX& m, std::ostream* out);
void PrintTo(const D3DXVECTOR3& v, std::ostream* out);
