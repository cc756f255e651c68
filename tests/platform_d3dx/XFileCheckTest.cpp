// .x files with wrong numbers in them: assimp would read outside its arrays, so such
// files are refused before assimp sees them, and what D3DX does not use is left out.
#include "XFileDecoder.h"
#include "XFileText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using velmora::d3dx::decodeXFile;
using velmora::d3dx::MeshData;

namespace {

std::shared_ptr<const MeshData> decode(const std::string& bytes) {
    return decodeXFile(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

const float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// Two triangles and a quad with normals, texture coordinates and two materials.
XMeshText fullMesh() {
    XMeshText mesh;
    mesh.positions = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0.5f, 0.5f, 1}};
    mesh.faces = {{0, 1, 2}, {0, 2, 3}, {0, 1, 4, 3}};
    mesh.normals = {{0, 0, -1}, {0, 0, -1}, {0, 0, -1}, {0, 0, -1}, {0, 0, 1}};
    mesh.uvs = {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0.5f, 0.5f}};
    mesh.faceMaterials = {0, 1, 1};
    mesh.materials = {{{1, 0, 0, 1}, 8, {0, 0, 0}, {0, 0, 0}, "red.png"}, {{0, 0, 1, 1}, 2, {0, 0, 0}, {0, 0, 0}, ""}};
    return mesh;
}

TEST(XFileCheck, IndicesOutsideTheirArraysRefuseTheFile) {
    ASSERT_TRUE(decode(xFile(fullMesh().text())));

    XMeshText faceAtEnd = fullMesh();
    faceAtEnd.faces[1][2] = 5;  // one past the last position
    XMeshText faceFarOut = fullMesh();
    faceFarOut.faces[2][0] = 2000000000;
    XMeshText fewerUvs = fullMesh();
    fewerUvs.uvs.pop_back();
    XMeshText materialAtEnd = fullMesh();
    materialAtEnd.faceMaterials[2] = 2;
    for (const XMeshText* broken : {&faceAtEnd, &faceFarOut, &fewerUvs, &materialAtEnd})
        EXPECT_FALSE(decode(xFile(broken->text())));

    // Normal faces index the normals, and must have the corners of their position face.
    const std::string good = xFile(fullMesh().text());
    const std::string normalFaces = "  3;\n  3;0,1,2;,\n  3;0,2,3;,\n  4;0,1,4,3;;\n  }\n  MeshTextureCoords";
    ASSERT_NE(good.find(normalFaces), std::string::npos);
    auto withNormalFaces = [&](const std::string& faces) {
        std::string file = good;
        file.replace(file.find(normalFaces), normalFaces.size(), faces + "\n  }\n  MeshTextureCoords");
        return file;
    };
    EXPECT_TRUE(decode(withNormalFaces("  3;\n  3;0,1,2;,\n  3;0,2,3;,\n  4;0,1,4,3;;")));
    EXPECT_FALSE(decode(withNormalFaces("  3;\n  3;0,1,2;,\n  3;0,2,5;,\n  4;0,1,4,3;;")));
    EXPECT_FALSE(decode(withNormalFaces("  3;\n  3;0,1,2;,\n  3;0,2,3;,\n  3;0,1,4;;")));
    EXPECT_FALSE(decode(withNormalFaces("  2;\n  3;0,1,2;,\n  3;0,2,3;;")));
}

TEST(XFileCheck, MaterialListsAreHeldToTheirFaces) {
    // One index stands for every face.
    XMeshText single = fullMesh();
    single.faceMaterials = {1};
    const auto data = decode(xFile(single.text()));
    ASSERT_TRUE(data);
    EXPECT_EQ(data->attributes, std::vector<DWORD>(data->faceCount(), 1u));

    // Faces but no materials to point at.
    XMeshText noMaterials = fullMesh();
    noMaterials.materials.clear();
    noMaterials.faceMaterials.clear();
    std::string text = noMaterials.text();
    text.insert(text.rfind(" }\n"), "  MeshMaterialList { 0; 3; 0, 0, 0;; }\n");
    EXPECT_FALSE(decode(xFile(text)));

    // A mesh without faces whose list still names a material for one face: the other
    // mesh loads as if it were alone.
    XMeshText empty;
    empty.positions = {{0, 0, 0}};
    empty.faceMaterials = {0};
    empty.materials = {{{0, 1, 0, 1}, 1, {0, 0, 0}, {0, 0, 0}, ""}};
    const auto both = decode(xFile(xFrame("Empty", kIdentity, empty.text("Empty")) + fullMesh().text()));
    ASSERT_TRUE(both);
    EXPECT_EQ(both->faceCount(), 4u);
}

TEST(XFileCheck, ReferencesFindTheGlobalMaterial) {
    const std::string global =
        "Material Skin {\n 0.25;0.5;0.75;1.0;;\n 4.0;\n 0.0;0.0;0.0;;\n 0.0;0.0;0.0;;\n"
        " TextureFilename { \"skin.png\"; }\n}\n";
    XMeshText mesh = fullMesh();
    mesh.materials.clear();
    mesh.faceMaterials.clear();
    std::string text = mesh.text();
    text.insert(text.rfind(" }\n"), "  MeshMaterialList { 1; 1; 0;; { Skin } }\n");
    const auto data = decode(xFile(global + text));
    ASSERT_TRUE(data);
    ASSERT_EQ(data->materials.size(), 1u);
    EXPECT_EQ(data->materials[0].textureFile, "skin.png");
    EXPECT_FLOAT_EQ(data->materials[0].material.Diffuse.b, 0.75f);
}

TEST(XFileCheck, NamesTooLongForAssimpAreDropped) {
    const std::string longName(5000, 'n');
    const auto data = decode(xFile(xFrame(longName, kIdentity, fullMesh().text(longName))));
    ASSERT_TRUE(data);
    EXPECT_EQ(data->faceCount(), 4u);
}

TEST(XFileCheck, NestingDeeperThanAnyModelIsRefused) {
    auto nested = [](int depth) {
        std::string body = fullMesh().text();
        for (int i = 0; i < depth; ++i) body = xFrame("F" + std::to_string(i), kIdentity, body);
        return xFile(body);
    };
    EXPECT_TRUE(decode(nested(20)));
    EXPECT_FALSE(decode(nested(100)));
}

TEST(XFileCheck, WhatD3DXDoesNotUseIsLeftOut) {
    // Skin weights naming a vertex that does not exist, vertex colours, animations and
    // unknown objects change nothing in the mesh.
    std::string extras = fullMesh().text();
    extras.insert(extras.rfind(" }\n"),
                  "  MeshVertexColors { 1; 9; 1.0; 0.0; 0.0; 1.0;; }\n"
                  "  SkinWeights { \"Bone\"; 1; 4000000; 1.0; 1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1;; }\n"
                  "  Unknown { 1; 2; { Nothing } }\n");
    const std::string animation = "AnimationSet { Animation { { Root } AnimationKey { 2; 1; 0; 3; 1.0, 2.0, 3.0;;; } } }\n";
    const auto plain = decode(xFile(fullMesh().text()));
    const auto extended = decode(xFile(extras + animation));
    ASSERT_TRUE(plain);
    ASSERT_TRUE(extended);
    EXPECT_EQ(extended->indices, plain->indices);
    EXPECT_EQ(extended->attributes, plain->attributes);
    ASSERT_EQ(extended->vertices.size(), plain->vertices.size());
    EXPECT_EQ(std::memcmp(extended->vertices.data(), plain->vertices.data(),
                          plain->vertices.size() * sizeof(plain->vertices[0])),
              0);
}

TEST(XFileCheck, FilesThatAreNotWholeAreRefused) {
    // A binary integer list claiming more numbers than the file holds.
    std::string binary = "xof 0303bin 0032";
    binary += std::string("\x01\x00\x04\x00\x00\x00Mesh\x0a\x00\x06\x00\xff\xff\xff\xff\x03\x00\x00\x00", 22);
    EXPECT_FALSE(decode(binary));
    // Compressed files, an unclosed string, a stray brace.
    EXPECT_FALSE(decode("xof 0303tzip0032" + std::string(64, '\x01')));
    std::string text = xFile(fullMesh().text());
    EXPECT_FALSE(decode(text.substr(0, text.find("red.png") + 3)));
    EXPECT_FALSE(decode(text + "}\n"));
}

}  // namespace
