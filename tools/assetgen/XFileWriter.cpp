#include "XFileWriter.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace assetgen {
namespace {

// Every real number is written with a decimal point: some .x readers refuse integer
// literals where the template declares a float.
std::string real(float value) {
    if (!std::isfinite(value)) throw std::runtime_error("a mesh holds a number that is not finite");
    if (std::fabs(value) < 5e-7f) value = 0;
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", static_cast<double>(value));
    return text;
}

void writeFaceList(std::ostringstream& out, const MeshBuilder& mesh) {
    const auto& triangles = mesh.triangles();
    out << "  " << triangles.size() << ";\n";
    for (size_t i = 0; i < triangles.size(); ++i) {
        const Triangle& t = triangles[i];
        out << "  3;" << t.index[0] << "," << t.index[1] << "," << t.index[2] << ";"
            << (i + 1 < triangles.size() ? "," : ";") << "\n";
    }
}

void writeMaterial(std::ostringstream& out, const Material& m) {
    out << "   Material {\n";
    out << "    " << real(m.diffuse[0]) << ";" << real(m.diffuse[1]) << ";" << real(m.diffuse[2]) << ";"
        << real(m.diffuse[3]) << ";;\n";
    out << "    " << real(m.power) << ";\n";
    out << "    " << real(m.specular[0]) << ";" << real(m.specular[1]) << ";" << real(m.specular[2]) << ";;\n";
    out << "    " << real(m.emissive[0]) << ";" << real(m.emissive[1]) << ";" << real(m.emissive[2]) << ";;\n";
    if (!m.texture.empty()) out << "    TextureFilename {\n     \"" << m.texture << "\";\n    }\n";
    out << "   }\n";
}

}  // namespace

void XFileWriter::write(const MeshBuilder& mesh, const std::string& path, const std::string& name) {
    const auto& vertices = mesh.vertices();
    const auto& triangles = mesh.triangles();
    std::ostringstream out;
    out << "xof 0303txt 0032\n\n";
    out << "Frame " << name << "Frame {\n";
    out << " FrameTransformMatrix {\n";
    out << "  1.000000,0.000000,0.000000,0.000000,\n  0.000000,1.000000,0.000000,0.000000,\n"
           "  0.000000,0.000000,1.000000,0.000000,\n  0.000000,0.000000,0.000000,1.000000;;\n";
    out << " }\n";
    out << " Mesh " << name << " {\n";
    out << "  " << vertices.size() << ";\n";
    for (size_t i = 0; i < vertices.size(); ++i) {
        const Vec3& p = vertices[i].position;
        out << "  " << real(p.x) << ";" << real(p.y) << ";" << real(p.z) << ";"
            << (i + 1 < vertices.size() ? "," : ";") << "\n";
    }
    writeFaceList(out, mesh);

    out << "  MeshNormals {\n";
    out << "  " << vertices.size() << ";\n";
    for (size_t i = 0; i < vertices.size(); ++i) {
        const Vec3& n = vertices[i].normal;
        out << "  " << real(n.x) << ";" << real(n.y) << ";" << real(n.z) << ";"
            << (i + 1 < vertices.size() ? "," : ";") << "\n";
    }
    writeFaceList(out, mesh);
    out << "  }\n";

    out << "  MeshTextureCoords {\n";
    out << "  " << vertices.size() << ";\n";
    for (size_t i = 0; i < vertices.size(); ++i) {
        const Vec2& uv = vertices[i].uv;
        out << "  " << real(uv.x) << ";" << real(uv.y) << ";" << (i + 1 < vertices.size() ? "," : ";") << "\n";
    }
    out << "  }\n";

    out << "  MeshMaterialList {\n";
    out << "  " << mesh.materials().size() << ";\n";
    out << "  " << triangles.size() << ";\n";
    for (size_t i = 0; i < triangles.size(); ++i)
        out << "  " << triangles[i].material << (i + 1 < triangles.size() ? "," : ";") << "\n";
    for (const Material& m : mesh.materials()) writeMaterial(out, m);
    out << "  }\n";
    out << " }\n";
    out << "}\n";

    std::ofstream file(path, std::ios::binary);
    file << out.str();
    if (!file) throw std::runtime_error("cannot write " + path);
}

}  // namespace assetgen
