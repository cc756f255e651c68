// Small .x files in text form, written the way the asset generator writes them.
#pragma once

#include <sstream>
#include <string>
#include <vector>

struct XMaterialText {
    float diffuse[4];
    float power;
    float specular[3];
    float emissive[3];
    std::string texture;  // empty: no TextureFilename
};

struct XMeshText {
    std::vector<std::vector<float>> positions;   // three floats each
    std::vector<std::vector<int>> faces;         // corner lists
    std::vector<std::vector<float>> normals;     // one per position, or none
    std::vector<std::vector<float>> uvs;         // one per position, or none
    std::vector<int> faceMaterials;              // one per face, or none
    std::vector<XMaterialText> materials;

    std::string text(const std::string& name = "Body") const {
        std::ostringstream out;
        out << std::fixed;
        out << " Mesh " << name << " {\n  " << positions.size() << ";\n";
        for (size_t i = 0; i < positions.size(); ++i)
            out << "  " << positions[i][0] << ";" << positions[i][1] << ";" << positions[i][2] << ";"
                << (i + 1 < positions.size() ? "," : ";") << "\n";
        writeFaces(out);
        if (!normals.empty()) {
            out << "  MeshNormals {\n  " << normals.size() << ";\n";
            for (size_t i = 0; i < normals.size(); ++i)
                out << "  " << normals[i][0] << ";" << normals[i][1] << ";" << normals[i][2] << ";"
                    << (i + 1 < normals.size() ? "," : ";") << "\n";
            writeFaces(out);
            out << "  }\n";
        }
        if (!uvs.empty()) {
            out << "  MeshTextureCoords {\n  " << uvs.size() << ";\n";
            for (size_t i = 0; i < uvs.size(); ++i)
                out << "  " << uvs[i][0] << ";" << uvs[i][1] << ";" << (i + 1 < uvs.size() ? "," : ";") << "\n";
            out << "  }\n";
        }
        if (!materials.empty()) {
            out << "  MeshMaterialList {\n  " << materials.size() << ";\n  " << faceMaterials.size() << ";\n";
            for (size_t i = 0; i < faceMaterials.size(); ++i)
                out << "  " << faceMaterials[i] << (i + 1 < faceMaterials.size() ? "," : ";") << "\n";
            for (const XMaterialText& m : materials) {
                out << "   Material {\n    " << m.diffuse[0] << ";" << m.diffuse[1] << ";" << m.diffuse[2] << ";"
                    << m.diffuse[3] << ";;\n    " << m.power << ";\n    " << m.specular[0] << ";" << m.specular[1]
                    << ";" << m.specular[2] << ";;\n    " << m.emissive[0] << ";" << m.emissive[1] << ";"
                    << m.emissive[2] << ";;\n";
                if (!m.texture.empty()) out << "    TextureFilename {\n     \"" << m.texture << "\";\n    }\n";
                out << "   }\n";
            }
            out << "  }\n";
        }
        out << " }\n";
        return out.str();
    }

private:
    void writeFaces(std::ostringstream& out) const {
        out << "  " << faces.size() << ";\n";
        for (size_t i = 0; i < faces.size(); ++i) {
            out << "  " << faces[i].size() << ";";
            for (size_t c = 0; c < faces[i].size(); ++c) out << (c ? "," : "") << faces[i][c];
            out << ";" << (i + 1 < faces.size() ? "," : ";") << "\n";
        }
    }
};

inline std::string xFile(const std::string& body) { return "xof 0303txt 0032\n\n" + body; }

// A frame holding `body`; the matrix is given row by row as in the file (row vectors,
// translation in the last row).
inline std::string xFrame(const std::string& name, const float (&matrix)[16], const std::string& body) {
    std::ostringstream out;
    out << std::fixed << "Frame " << name << " {\n FrameTransformMatrix {\n  ";
    for (int i = 0; i < 16; ++i) out << matrix[i] << (i < 15 ? "," : ";;\n");
    out << " }\n" << body << "}\n";
    return out.str();
}
