#include "TestFiles.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "velmora-core-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string TempDir::write(const std::string& relative, const std::vector<uint8_t>& bytes) const {
    fs::path full = fs::path(path_) / relative;
    fs::create_directories(full.parent_path());
    std::ofstream out(full, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return full.string();
}

std::string TempDir::write(const std::string& relative, const std::string& text) const {
    return write(relative, std::vector<uint8_t>(text.begin(), text.end()));
}

ScopedWorkingDirectory::ScopedWorkingDirectory(const std::string& path) : previous_(fs::current_path().string()) {
    fs::current_path(path);
}

ScopedWorkingDirectory::~ScopedWorkingDirectory() {
    std::error_code ignored;
    fs::current_path(previous_, ignored);
}

namespace {

void put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(value & 0xFF);
    out.push_back((value >> 8) & 0xFF);
}

void put32(std::vector<uint8_t>& out, uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

}  // namespace

std::vector<uint8_t> solidBmp(int width, int height, uint32_t rgb) {
    const uint32_t rowBytes = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    const uint32_t pixelBytes = rowBytes * static_cast<uint32_t>(height);
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    put32(out, 54 + pixelBytes);
    put32(out, 0);
    put32(out, 54);
    put32(out, 40);
    put32(out, static_cast<uint32_t>(width));
    put32(out, static_cast<uint32_t>(height));
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);
    put32(out, pixelBytes);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            out.push_back(rgb & 0xFF);
            out.push_back((rgb >> 8) & 0xFF);
            out.push_back((rgb >> 16) & 0xFF);
        }
        for (uint32_t pad = static_cast<uint32_t>(width) * 3; pad < rowBytes; ++pad) out.push_back(0);
    }
    return out;
}

std::string twoMaterialQuad(const std::string& textureFile) {
    return "xof 0303txt 0032\n"
           "Mesh quad {\n"
           " 4;\n"
           " -1.0;-1.0;0.0;,\n"
           " -1.0;1.0;0.0;,\n"
           " 1.0;1.0;0.0;,\n"
           " 1.0;-1.0;0.0;;\n"
           " 2;\n"
           " 3;0,1,2;,\n"
           " 3;0,2,3;;\n"
           " MeshNormals {\n"
           "  4;\n"
           "  0.0;0.0;-1.0;,\n"
           "  0.0;0.0;-1.0;,\n"
           "  0.0;0.0;-1.0;,\n"
           "  0.0;0.0;-1.0;;\n"
           "  2;\n"
           "  3;0,1,2;,\n"
           "  3;0,2,3;;\n"
           " }\n"
           " MeshTextureCoords {\n"
           "  4;\n"
           "  0.0;1.0;,\n"
           "  0.0;0.0;,\n"
           "  1.0;0.0;,\n"
           "  1.0;1.0;;\n"
           " }\n"
           " MeshMaterialList {\n"
           "  2;\n"
           "  2;\n"
           "  0,\n"
           "  1;;\n"
           "  Material {\n"
           "   1.0;0.0;0.0;1.0;;\n"
           "   20.0;\n"
           "   0.5;0.5;0.5;;\n"
           "   0.0;0.0;0.0;;\n"
           "  }\n"
           "  Material {\n"
           "   0.0;1.0;0.0;0.5;;\n"
           "   8.0;\n"
           "   0.25;0.25;0.25;;\n"
           "   0.0;0.0;0.0;;\n"
           "   TextureFilename {\n"
           "    \"" + textureFile + "\";\n"
           "   }\n"
           "  }\n"
           " }\n"
           "}\n";
}
