// From .x bytes to D3DX's mesh layout, below D3DXLoadMeshFromXA.
#include "XFileDecoder.h"
#include "XFileText.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <sstream>

using velmora::d3dx::decodeXFile;
using velmora::d3dx::MeshData;

namespace {

std::shared_ptr<const MeshData> decode(const std::string& bytes) {
    return decodeXFile(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

using Corner = std::array<float, 3>;

Corner cornerOf(const MeshData& data, DWORD face, int corner) {
    const float* p = data.vertices[data.indices[face * 3 + corner]].position;
    return {p[0], p[1], p[2]};
}

Corner at(const XMeshText& mesh, int position) {
    return {mesh.positions[position][0], mesh.positions[position][1], mesh.positions[position][2]};
}

// Irregular corners, so that any mirroring, reordering or rounding shows.
XMeshText twoTrianglesAndAQuad() {
    XMeshText mesh;
    mesh.positions = {{1.5f, -2.25f, 3.0f}, {4.0f, 0.5f, -1.0f}, {-3.0f, 2.0f, 0.25f}, {0.0f, 5.0f, 7.5f}};
    mesh.faces = {{0, 1, 2}, {3, 1, 0}, {0, 1, 2, 3}};
    return mesh;
}

TEST(XFileDecode, CornersWindingAndFaceOrderAreTheFilesOwn) {
    const XMeshText mesh = twoTrianglesAndAQuad();
    const auto data = decode(xFile(mesh.text()));
    ASSERT_TRUE(data);
    // The quad becomes the fan (0,1,2), (0,2,3).
    const std::vector<std::array<int, 3>> expected = {{0, 1, 2}, {3, 1, 0}, {0, 1, 2}, {0, 2, 3}};
    ASSERT_EQ(data->faceCount(), expected.size());
    for (DWORD f = 0; f < expected.size(); ++f)
        for (int c = 0; c < 3; ++c) EXPECT_EQ(cornerOf(*data, f, c), at(mesh, expected[f][c])) << "face " << f;
    EXPECT_EQ(data->indices.size(), 3 * expected.size());
    // The same position with the same normal and uv is one vertex.
    EXPECT_EQ(data->vertices.size(), 4u);
}

// The binary form of a global mesh: tokens are little-endian words with counted lists.
class BinaryX {
public:
    BinaryX() : bytes_("xof 0303bin 0032") {}
    BinaryX& name(const std::string& text) {
        word(1);
        dword((uint32_t)text.size());
        bytes_ += text;
        return *this;
    }
    BinaryX& token(uint16_t code) {
        word(code);
        return *this;
    }
    BinaryX& ints(const std::vector<uint32_t>& values) {
        word(6);
        dword((uint32_t)values.size());
        for (uint32_t v : values) dword(v);
        return *this;
    }
    BinaryX& floats(const std::vector<float>& values) {
        word(7);
        dword((uint32_t)values.size());
        for (float v : values) {
            uint32_t bits;
            std::memcpy(&bits, &v, 4);
            dword(bits);
        }
        return *this;
    }
    const std::string& bytes() const { return bytes_; }

private:
    void word(uint16_t v) { bytes_ += {char(v & 0xff), char(v >> 8)}; }
    void dword(uint32_t v) { word(uint16_t(v & 0xffff)), word(uint16_t(v >> 16)); }
    std::string bytes_;
};

TEST(XFileDecode, BinaryFilesReadLikeTextOnes) {
    const XMeshText mesh = twoTrianglesAndAQuad();
    std::vector<float> positions;
    for (const auto& p : mesh.positions) positions.insert(positions.end(), p.begin(), p.end());
    std::vector<uint32_t> faces = {(uint32_t)mesh.faces.size()};
    for (const auto& f : mesh.faces) {
        faces.push_back((uint32_t)f.size());
        faces.insert(faces.end(), f.begin(), f.end());
    }
    BinaryX file;
    file.name("Mesh").name("Body").token(0x0a).ints({(uint32_t)mesh.positions.size()}).floats(positions).ints(faces).token(0x0b);

    const auto binary = decode(file.bytes());
    const auto text = decode(xFile(mesh.text()));
    ASSERT_TRUE(binary);
    ASSERT_TRUE(text);
    ASSERT_EQ(binary->faceCount(), text->faceCount());
    for (DWORD f = 0; f < text->faceCount(); ++f)
        for (int c = 0; c < 3; ++c) EXPECT_EQ(cornerOf(*binary, f, c), cornerOf(*text, f, c));
}

TEST(XFileDecode, NormalsAndTextureCoordinatesSurvive) {
    XMeshText mesh = twoTrianglesAndAQuad();
    mesh.normals = {{0.0f, 0.0f, -1.0f}, {0.0f, 1.0f, 0.0f}, {1.0f, 0.0f, 0.0f}, {0.6f, 0.8f, 0.0f}};
    mesh.uvs = {{0.0f, 0.0f}, {1.0f, 0.0f}, {0.25f, 0.75f}, {0.125f, 1.0f}};
    const auto data = decode(xFile(mesh.text()));
    ASSERT_TRUE(data);
    for (DWORD f = 0; f < data->faceCount(); ++f)
        for (int c = 0; c < 3; ++c) {
            const auto& vertex = data->vertices[data->indices[f * 3 + c]];
            // Find which file position this corner is, then compare its attributes.
            int position = -1;
            for (int p = 0; p < 4; ++p)
                if (cornerOf(*data, f, c) == at(mesh, p)) position = p;
            ASSERT_GE(position, 0);
            for (int i = 0; i < 3; ++i) EXPECT_FLOAT_EQ(vertex.normal[i], mesh.normals[position][i]);
            EXPECT_FLOAT_EQ(vertex.uv[0], mesh.uvs[position][0]);
            EXPECT_NEAR(vertex.uv[1], mesh.uvs[position][1], 1e-6f);
        }
}

TEST(XFileDecode, MaterialsAreKeptAndFacesSortedByMaterial) {
    XMeshText mesh = twoTrianglesAndAQuad();
    mesh.faces = {{0, 1, 2}, {3, 1, 0}, {1, 2, 3}, {2, 3, 0}};
    mesh.faceMaterials = {1, 0, 1, 0};
    mesh.materials = {{{1.0f, 0.5f, 0.25f, 0.75f}, 12.0f, {0.125f, 0.25f, 0.375f}, {0.5f, 0.625f, 0.75f}, "skin.png"},
                      {{0.0f, 0.25f, 1.0f, 1.0f}, 3.5f, {1.0f, 1.0f, 1.0f}, {0.0f, 0.0f, 0.0f}, ""}};
    const auto data = decode(xFile(mesh.text()));
    ASSERT_TRUE(data);

    ASSERT_EQ(data->materials.size(), 2u);
    const D3DMATERIAL9& first = data->materials[0].material;
    EXPECT_FLOAT_EQ(first.Diffuse.r, 1.0f);
    EXPECT_FLOAT_EQ(first.Diffuse.g, 0.5f);
    EXPECT_FLOAT_EQ(first.Diffuse.b, 0.25f);
    EXPECT_FLOAT_EQ(first.Diffuse.a, 0.75f);
    EXPECT_FLOAT_EQ(first.Power, 12.0f);
    EXPECT_FLOAT_EQ(first.Specular.b, 0.375f);
    EXPECT_FLOAT_EQ(first.Specular.a, 1.0f);
    EXPECT_FLOAT_EQ(first.Emissive.g, 0.625f);
    EXPECT_FLOAT_EQ(first.Emissive.a, 1.0f);
    EXPECT_EQ(first.Ambient.r, 0.0f);
    EXPECT_EQ(first.Ambient.a, 1.0f);
    EXPECT_TRUE(data->materials[0].hasTexture);
    EXPECT_EQ(data->materials[0].textureFile, "skin.png");
    EXPECT_FLOAT_EQ(data->materials[1].material.Diffuse.b, 1.0f);
    EXPECT_FLOAT_EQ(data->materials[1].material.Power, 3.5f);
    EXPECT_FALSE(data->materials[1].hasTexture);

    // Material 0's faces (file faces 1 and 3) first, then material 1's (0 and 2), each in
    // file order.
    EXPECT_EQ(data->attributes, (std::vector<DWORD>{0, 0, 1, 1}));
    const int fileFace[4] = {1, 3, 0, 2};
    for (DWORD f = 0; f < 4; ++f)
        for (int c = 0; c < 3; ++c) EXPECT_EQ(cornerOf(*data, f, c), at(mesh, mesh.faces[fileFace[f]][c]));
}

std::string matrixText(const float (&matrix)[16]) {
    std::ostringstream out;
    out << std::fixed << " FrameTransformMatrix {\n  ";
    for (int i = 0; i < 16; ++i) out << matrix[i] << (i < 15 ? "," : ";;\n");
    out << " }\n";
    return out.str();
}

void expectMaterial(const D3DMATERIAL9& m, const std::array<float, 16>& diffuseAmbientSpecularEmissive) {
    const D3DCOLORVALUE colours[4] = {m.Diffuse, m.Ambient, m.Specular, m.Emissive};
    for (int c = 0; c < 4; ++c) {
        const float* expected = &diffuseAmbientSpecularEmissive[c * 4];
        EXPECT_EQ(colours[c].r, expected[0]) << "colour " << c;
        EXPECT_EQ(colours[c].g, expected[1]) << "colour " << c;
        EXPECT_EQ(colours[c].b, expected[2]) << "colour " << c;
        EXPECT_EQ(colours[c].a, expected[3]) << "colour " << c;
    }
}

TEST(XFileDecode, FramesMaterialsAndHeaderAsD3DXReadsThem) {
    XMeshText triangle;
    triangle.positions = {{1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f}};
    triangle.faces = {{0, 1, 2}};
    const float move[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 10, 0, 0, 1};
    const float doubleSize[16] = {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1};
    const float up[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 5, 0, 1};
    const float forward[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 7, 1};
    // A matrix moves the meshes after it in its frame, and the frames below; a second
    // matrix is multiplied into the first. An unused top-level material changes nothing.
    const std::string file =
        "Material Unused { 1;0;0;1;; 5; 1;1;1;; 0;0;0;; }\n"
        "Frame F {\n" + triangle.text("Before") + matrixText(move) + triangle.text("After") +
        "Frame C {\n" + matrixText(doubleSize) + triangle.text("Below") + "}\n}\n"
        "Frame G {\n" + matrixText(up) + triangle.text("First") + matrixText(forward) + triangle.text("Second") + "}\n";
    const auto data = decode(xFile(file));
    ASSERT_TRUE(data);
    const Corner expected[5][3] = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
                                   {{11, 0, 0}, {10, 1, 0}, {10, 0, 1}},
                                   {{12, 0, 0}, {10, 2, 0}, {10, 0, 2}},
                                   {{1, 5, 0}, {0, 6, 0}, {0, 5, 1}},
                                   {{1, 5, 7}, {0, 6, 7}, {0, 5, 8}}};
    ASSERT_EQ(data->faceCount(), 5u);
    for (DWORD f = 0; f < 5; ++f)
        for (int c = 0; c < 3; ++c) EXPECT_EQ(cornerOf(*data, f, c), expected[f][c]) << "face " << f;

    // No material list: D3DX's default material, grey and with every alpha 0, one for all
    // the meshes.
    const std::array<float, 16> grey = {0.5f, 0.5f, 0.5f, 0, 0, 0, 0, 0, 0.5f, 0.5f, 0.5f, 0, 0, 0, 0, 0};
    ASSERT_EQ(data->materials.size(), 1u);
    expectMaterial(data->materials[0].material, grey);
    EXPECT_FALSE(data->materials[0].hasTexture);
    EXPECT_EQ(data->attributes, std::vector<DWORD>(5, 0));

    // A top-level material that a list refers to is taken, and a mesh beside it without a
    // list still gets the default; the body may follow the header on its line.
    std::string referring = triangle.text("Red");
    referring.insert(referring.rfind('}'), "MeshMaterialList { 1; 1; 0;; { Red } }\n");
    const auto mixed =
        decode("xof 0303txt 0032 Material Red { 1;0;0;1;; 5; 1;1;1;; 0;0;0;; }\n" + referring + triangle.text("Plain"));
    ASSERT_TRUE(mixed);
    ASSERT_EQ(mixed->materials.size(), 2u);
    expectMaterial(mixed->materials[0].material, {1, 0, 0, 1, 0, 0, 0, 1, 1, 1, 1, 1, 0, 0, 0, 1});
    expectMaterial(mixed->materials[1].material, grey);
    EXPECT_EQ(mixed->attributes, (std::vector<DWORD>{0, 1}));

    // Each list has the material it names, whatever its place among the definitions.
    std::string blue = triangle.text("Blue"), red = triangle.text("Red");
    blue.insert(blue.rfind('}'), "MeshMaterialList { 1; 1; 0;; { Blue } }\n");
    red.insert(red.rfind('}'), "MeshMaterialList { 1; 1; 0;; { Red } }\n");
    const auto named = decode("xof 0303txt 0032 Material Red { 1;0;0;1;; 5; 1;1;1;; 0;0;0;; }\n"
                              "Material Blue { 0;0;1;1;; 5; 1;1;1;; 0;0;0;; }\n" + blue + red);
    ASSERT_TRUE(named);
    ASSERT_EQ(named->attributes, (std::vector<DWORD>{0, 1}));
    EXPECT_EQ(named->materials[0].material.Diffuse.b, 1.0f);
    EXPECT_EQ(named->materials[1].material.Diffuse.r, 1.0f);
}

TEST(XFileDecode, FramesAreAppliedAndMeshesMergedWithTheirMaterials) {
    XMeshText inner;
    inner.positions = {{1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f}};
    inner.faces = {{0, 1, 2}};
    inner.faceMaterials = {0};
    inner.materials = {{{1.0f, 0.0f, 0.0f, 1.0f}, 1.0f, {0, 0, 0}, {0, 0, 0}, "inner.bmp"}};
    XMeshText outer = inner;
    outer.materials = {{{0.0f, 1.0f, 0.0f, 1.0f}, 2.0f, {0, 0, 0}, {0, 0, 0}, "outer.bmp"}};

    // Parent moves by (10, 0, 0); the child scales by 2 and turns 90 degrees about y
    // (x -> -z, z -> x). A child's point goes through its own frame first.
    const float move[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 10, 0, 0, 1};
    const float scaleTurn[16] = {0, 0, -2, 0, 0, 2, 0, 0, 2, 0, 0, 0, 0, 0, 0, 1};
    const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    const std::string file = xFile(xFrame("Parent", move, xFrame("Child", scaleTurn, inner.text("Inner"))) +
                                   xFrame("Beside", identity, outer.text("Outer")));
    const auto data = decode(file);
    ASSERT_TRUE(data);

    ASSERT_EQ(data->materials.size(), 2u);
    ASSERT_EQ(data->faceCount(), 2u);
    EXPECT_EQ(data->attributes, (std::vector<DWORD>{0, 1}));
    const DWORD innerFace = data->materials[0].textureFile == "inner.bmp" ? 0 : 1;
    const DWORD outerFace = 1 - innerFace;
    EXPECT_EQ(data->materials[outerFace].textureFile, "outer.bmp");

    const Corner innerExpected[3] = {{10.0f, 0.0f, -2.0f}, {10.0f, 2.0f, 0.0f}, {12.0f, 0.0f, 0.0f}};
    for (int c = 0; c < 3; ++c) {
        const Corner corner = cornerOf(*data, innerFace, c);
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(corner[i], innerExpected[c][i], 1e-5f) << "corner " << c;
        EXPECT_EQ(cornerOf(*data, outerFace, c), at(outer, c));
    }
}

TEST(XFileDecode, BrokenFilesAreRejected) {
    const std::string good = xFile(twoTrianglesAndAQuad().text());
    EXPECT_FALSE(decode(""));
    EXPECT_FALSE(decode("xof 0303txt 0032"));
    EXPECT_FALSE(decode(good.substr(0, good.size() / 2)));       // truncated
    EXPECT_FALSE(decode("PK\x03\x04 not an x file at all, just noise 1 2 3;;"));
    EXPECT_FALSE(decode("xof 0303txt 0032\n Mesh { 3; 1;2;3;, ;;; }}}}"));  // garbage body
    XMeshText noFaces;
    noFaces.positions = {{0, 0, 0}};
    EXPECT_FALSE(decode(xFile(noFaces.text())));

    std::string noise(4096, '\0');
    for (size_t i = 0; i < noise.size(); ++i) noise[i] = (char)((i * 2654435761u) >> 13);
    EXPECT_FALSE(decode("xof 0303bin 0032" + noise));
    EXPECT_FALSE(decode("xof 0303txt 0032" + noise));
}

}  // namespace
