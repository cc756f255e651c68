#include "Seeds.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace {

// The game's meshes above this size would only slow the fuzzer down.
constexpr uintmax_t kLargestCopiedMesh = 16384;

const char* const kTextHeader = "xof 0303txt 0032\n";

const char* const kTemplates = R"(template Vector {
 <3d82ab5e-62da-11cf-ab39-0020af71e433>
 FLOAT x;
 FLOAT y;
 FLOAT z;
}
template MeshFace {
 <3d82ab5f-62da-11cf-ab39-0020af71e433>
 DWORD nFaceVertexIndices;
 array DWORD faceVertexIndices[nFaceVertexIndices];
}
template Mesh {
 <3d82ab44-62da-11cf-ab39-0020af71e433>
 DWORD nVertices;
 array Vector vertices[nVertices];
 DWORD nFaces;
 array MeshFace faces[nFaces];
 [...]
}
)";

const char* const kMaterial = R"(Material Red {
 1.000000;0.000000;0.000000;1.000000;;
 8.000000;
 0.500000;0.500000;0.500000;;
 0.000000;0.000000;0.000000;;
 TextureFilename { "red.png"; }
}
)";

// A quad and a triangle with normals, texture coordinates and two materials, one of them
// a reference to the global material above.
const char* const kBox = R"(Mesh Box {
 5;
 0.000000;0.000000;0.000000;,
 1.000000;0.000000;0.000000;,
 1.000000;1.000000;0.000000;,
 0.000000;1.000000;0.000000;,
 0.500000;0.500000;1.000000;;
 2;
 4;0,1,2,3;,
 3;0,1,4;;
 MeshNormals {
  2;
  0.000000;0.000000;-1.000000;,
  0.000000;-0.707107;0.707107;;
  2;
  4;0,0,0,0;,
  3;1,1,1;;
 }
 MeshTextureCoords {
  5;
  0.000000;1.000000;,
  1.000000;1.000000;,
  1.000000;0.000000;,
  0.000000;0.000000;,
  0.500000;0.500000;;
 }
 MeshMaterialList {
  2;
  2;
  0,
  1;;
  { Red }
  Material {
   0.200000;0.400000;0.600000;0.800000;;
   2.000000;
   0.000000;0.000000;0.000000;;
   0.100000;0.100000;0.100000;;
  }
 }
 VertexDuplicationIndices { 5; 5; 0, 1, 2, 3, 4; }
 MeshVertexColors { 5; 0;1.0;0.0;0.0;1.0;;, 1;0.0;1.0;0.0;1.0;;, 2;0.0;0.0;1.0;1.0;;, 3;1.0;1.0;1.0;1.0;;, 4;0.0;0.0;0.0;1.0;;; }
}
)";

std::string framed(const std::string& body) {
    return "Frame Root {\n FrameTransformMatrix {\n  1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,2.0,0.0,-3.0,1.0;;\n }\n"
           " Frame Child {\n  FrameTransformMatrix { 0.0,0.0,-2.0,0.0,0.0,2.0,0.0,0.0,2.0,0.0,0.0,0.0,0.0,0.0,0.0,1.0;; }\n" +
           body + " }\n}\n";
}

// Binary .x tokens: little-endian words, names and strings with their length, counted
// lists of integers and floats.
class BinaryTokens {
public:
    explicit BinaryTokens(bool doubles) : doubles_(doubles) {
        putText(bytes_, doubles ? "xof 0303bin 0064" : "xof 0303bin 0032");
    }
    BinaryTokens& name(const std::string& text) {
        put16(bytes_, 1);
        put32(bytes_, static_cast<uint32_t>(text.size()));
        putText(bytes_, text);
        return *this;
    }
    BinaryTokens& string(const std::string& text) {
        put16(bytes_, 2);
        put32(bytes_, static_cast<uint32_t>(text.size()));
        putText(bytes_, text);
        put16(bytes_, 0x14);
        return *this;
    }
    BinaryTokens& open() { return token(0x0a); }
    BinaryTokens& close() { return token(0x0b); }
    BinaryTokens& token(uint16_t code) {
        put16(bytes_, code);
        return *this;
    }
    BinaryTokens& ints(const std::vector<uint32_t>& values) {
        put16(bytes_, 6);
        put32(bytes_, static_cast<uint32_t>(values.size()));
        for (uint32_t v : values) put32(bytes_, v);
        return *this;
    }
    BinaryTokens& floats(const std::vector<double>& values) {
        put16(bytes_, 7);
        put32(bytes_, static_cast<uint32_t>(values.size()));
        for (double v : values) {
            if (doubles_) {
                uint64_t bits;
                std::memcpy(&bits, &v, 8);
                put32(bytes_, static_cast<uint32_t>(bits));
                put32(bytes_, static_cast<uint32_t>(bits >> 32));
            } else {
                const float f = static_cast<float>(v);
                uint32_t bits;
                std::memcpy(&bits, &f, 4);
                put32(bytes_, bits);
            }
        }
        return *this;
    }
    const Bytes& bytes() const { return bytes_; }

private:
    bool doubles_;
    Bytes bytes_;
};

Bytes binaryMesh(bool doubles) {
    BinaryTokens x(doubles);
    x.name("Frame").name("Root").open();
    x.name("FrameTransformMatrix").open().floats({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 5, 0, 1}).close();
    x.name("Mesh").name("Tri").open().ints({4}).floats({0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1});
    x.ints({3, 3, 0, 1, 2, 3, 0, 2, 3, 4, 0, 1, 2, 3});
    x.name("MeshNormals").open().ints({1}).floats({0, 0, -1}).ints({3, 3, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0, 0}).close();
    x.name("MeshTextureCoords").open().ints({4}).floats({0, 0, 1, 0, 0, 1, 1, 1}).close();
    x.name("MeshMaterialList").open().ints({1, 1, 0});
    x.name("Material").open().floats({0.5, 0.5, 0.5, 1, 4, 0, 0, 0, 0, 0, 0});
    x.name("TextureFilename").open().string("grey.bmp").close();
    x.close().close().close().close();
    return x.bytes();
}

// The compressed form ("tzip" or "bzip") of an uncompressed file: the whole size, then
// MSZIP blocks of `blockSize` bytes, each deflated against the history before it.
Bytes compressed(const Bytes& file, size_t blockSize) {
    Bytes out(file.begin(), file.begin() + 16);
    std::memcpy(&out[8], file[8] == 't' ? "tzip" : "bzip", 4);
    put32(out, static_cast<uint32_t>(file.size()));
    z_stream stream{};
    deflateInit2(&stream, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    for (size_t start = 16; start < file.size(); start += blockSize) {
        const size_t count = std::min(blockSize, file.size() - start);
        const size_t history = std::min<size_t>(start - 16, 32768);
        deflateReset(&stream);
        if (history > 0) deflateSetDictionary(&stream, &file[start - history], static_cast<uInt>(history));
        Bytes packed(deflateBound(&stream, static_cast<uLong>(count)));
        stream.next_in = const_cast<Bytef*>(&file[start]);
        stream.avail_in = static_cast<uInt>(count);
        stream.next_out = packed.data();
        stream.avail_out = static_cast<uInt>(packed.size());
        deflate(&stream, Z_FINISH);
        packed.resize(packed.size() - stream.avail_out);
        put16(out, static_cast<uint32_t>(count));
        put16(out, static_cast<uint32_t>(packed.size() + 2));
        putText(out, "CK");
        out.insert(out.end(), packed.begin(), packed.end());
    }
    deflateEnd(&stream);
    return out;
}

}  // namespace

void writeXFileSeeds(const std::filesystem::path& dataFolder, const SeedWriter& out) {
    for (const auto& path : filesUnder(dataFolder, {".x"}))
        if (std::filesystem::file_size(path) <= kLargestCopiedMesh)
            out.write("game-" + path.stem().string() + ".x", readFile(path));

    out.write("global-mesh.x", std::string(kTextHeader) + kMaterial + kBox);
    out.write("templates-and-frames.x", std::string(kTextHeader) + kTemplates + kMaterial + framed(kBox));
    out.write("comments-and-unknowns.x",
              std::string(kTextHeader) + "# exported\n// by hand\nAnimTicksPerSecond { 24; }\n" + kMaterial +
                  "Frame { Unknown { 1; 2; { Red } } " + kBox + "}\nAnimationSet { Animation { { Root } "
                  "AnimationKey { 2; 1; 0; 3; 1.0, 2.0, 3.0;;; } } }\n");
    out.write("binary-32.x", binaryMesh(false));
    out.write("binary-64.x", binaryMesh(true));
    // Small blocks, so that the seeds hold several and each refers back to the one before.
    std::string text = std::string(kTextHeader) + kTemplates + kMaterial + framed(kBox);
    out.write("tzip.x", compressed(Bytes(text.begin(), text.end()), 256));
    out.write("bzip.x", compressed(binaryMesh(false), 64));
}
