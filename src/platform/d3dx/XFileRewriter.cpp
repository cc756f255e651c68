#include "XFileRewriter.h"

#include "XFileSyntax.h"

#include <assimp/fast_atof.h>

#include <cstring>
#include <map>

namespace velmora::d3dx {

namespace {

// Names go into assimp's fixed-size strings; texture names are file names.
constexpr size_t kMaxNameLength = 255;
constexpr size_t kMaxStringLength = 1000;

// What fast_atof throws for text that is no number (assimp's own error type is not
// usable from outside the library).
struct NotANumber {
    template <class... Parts>
    explicit NotANumber(Parts&&...) {}
};

// A name assimp reads back as the same name, and never as a brace or keyword.
bool validName(const std::string& name) {
    if (name.empty() || name.size() > kMaxNameLength || name == "template") return false;
    for (unsigned char c : name)
        if (c < 0x20 || c == 0x7f || std::strchr("{}\",;<>", c)) return false;
    return true;
}

// The values of one data object, read in order as the object's template lays them out.
class Values {
public:
    explicit Values(const std::vector<XToken>& values) : values_(values) {}

    size_t left() const { return values_.size() - next_; }
    bool done() const { return next_ == values_.size(); }

    bool integer(uint32_t& value) {
        if (done()) return false;
        const XToken& token = values_[next_++];
        if (token.kind == XToken::Kind::Integer) {
            value = token.integer;
            return true;
        }
        if (token.kind != XToken::Kind::NumberText || token.text.empty() || token.text.size() > 10) return false;
        uint64_t number = 0;
        for (char c : token.text) {
            if (c < '0' || c > '9') return false;
            number = number * 10 + static_cast<uint64_t>(c - '0');
        }
        if (number > UINT32_MAX) return false;
        value = static_cast<uint32_t>(number);
        return true;
    }

    bool real(float& value) {
        if (done()) return false;
        const XToken& token = values_[next_++];
        if (token.kind == XToken::Kind::Float) {
            value = token.real;
            return true;
        }
        if (token.kind != XToken::Kind::NumberText) return false;
        // What some exporters write for a NaN; assimp reads it as 0.
        if (token.text == "1.#IND00" || token.text == "-1.#IND00" || token.text == "1.#QNAN0") {
            value = 0.0f;
            return true;
        }
        // assimp's own conversion, so that every number means what it meant before the check.
        try {
            const char* end = Assimp::fast_atoreal_move<float, NotANumber>(token.text.c_str(), value, false);
            return end == token.text.c_str() + token.text.size();
        } catch (const NotANumber&) {
            return false;
        }
    }

    bool reals(size_t count, std::vector<float>& out) {
        if (count > left()) return false;
        out.resize(count);
        for (float& value : out)
            if (!real(value)) return false;
        return true;
    }

    bool string(std::string& value) {
        if (done() || values_[next_].kind != XToken::Kind::String) return false;
        value = values_[next_++].text;
        return value.size() <= kMaxStringLength;
    }

private:
    const std::vector<XToken>& values_;
    size_t next_ = 0;
};

// The binary form assimp reads back: names, braces, counted lists of 32-bit integers and floats.
class BinaryWriter {
public:
    BinaryWriter() : bytes_("xof 0303bin 0032") {}

    void name(const std::string& text) {
        word(1);
        dword(static_cast<uint32_t>(text.size()));
        bytes_ += text;
    }
    void header(const char* type, const std::string& objectName) {
        name(type);
        if (validName(objectName)) name(objectName);
        open();
    }
    void open() { word(0x0a); }
    void close() { word(0x0b); }
    void string(const std::string& text) {
        word(2);
        dword(static_cast<uint32_t>(text.size()));
        bytes_ += text;
        word(0x14);  // ';' ends a string
    }
    // An empty list is not written: assimp would read its count as the next number.
    void integers(const std::vector<uint32_t>& values) {
        if (values.empty()) return;
        word(6);
        dword(static_cast<uint32_t>(values.size()));
        for (uint32_t v : values) dword(v);
    }
    void reals(const std::vector<float>& values) {
        if (values.empty()) return;
        word(7);
        dword(static_cast<uint32_t>(values.size()));
        for (float v : values) {
            uint32_t bits;
            std::memcpy(&bits, &v, 4);
            dword(bits);
        }
    }
    std::string& bytes() { return bytes_; }

private:
    void word(uint32_t v) {
        bytes_ += static_cast<char>(v & 0xff);
        bytes_ += static_cast<char>((v >> 8) & 0xff);
    }
    void dword(uint32_t v) {
        word(v & 0xffff);
        word(v >> 16);
    }
    std::string bytes_;
};

// The only child of `object` of the given type; false when there are two.
bool soleChild(const XObject& object, const char* type, const XObject*& found) {
    found = nullptr;
    for (const XChild& child : object.children)
        if (child.object && child.object->type == type) {
            if (found) return false;
            found = child.object.get();
        }
    return true;
}

// nFaces, then per face its corner count and corners, each below `limit`. `corners`
// receives the corner counts; when `expected` is given each face must match it.
bool readFaces(Values& in, uint32_t limit, std::vector<uint32_t>& list, std::vector<uint32_t>& corners,
               const std::vector<uint32_t>* expected) {
    uint32_t faceCount;
    if (!in.integer(faceCount) || faceCount > in.left()) return false;
    if (expected && faceCount != expected->size()) return false;
    list.assign(1, faceCount);
    corners.clear();
    for (uint32_t f = 0; f < faceCount; ++f) {
        uint32_t count;
        if (!in.integer(count) || count == 0 || count > in.left()) return false;
        if (expected && count != (*expected)[f]) return false;
        corners.push_back(count);
        list.push_back(count);
        for (uint32_t c = 0; c < count; ++c) {
            uint32_t index;
            if (!in.integer(index) || index >= limit) return false;
            list.push_back(index);
        }
    }
    return true;
}

bool rewriteMaterial(const XObject& object, BinaryWriter& out) {
    Values in(object.values);
    std::vector<float> colours;  // diffuse RGBA, power, specular RGB, emissive RGB
    if (!in.reals(11, colours) || !in.done()) return false;
    out.header("Material", object.name);
    out.reals(colours);
    for (const XChild& child : object.children) {
        if (!child.object) continue;
        const std::string& type = child.object->type;
        if (type != "TextureFilename" && type != "TextureFileName" && type != "NormalmapFilename" &&
            type != "NormalmapFileName")
            continue;
        Values name(child.object->values);
        std::string file;
        if (!name.string(file) || !name.done()) return false;
        out.header(type.c_str(), std::string());
        out.string(file);
        out.close();
    }
    out.close();
    return true;
}

// The file's top-level materials by name, for the lists that refer to them.
using NamedMaterials = std::map<std::string, const XObject*>;

bool rewriteMaterialList(const XObject& object, uint32_t faceCount, const NamedMaterials& named, BinaryWriter& out) {
    Values in(object.values);
    uint32_t declared, indexCount;
    if (!in.integer(declared) || !in.integer(indexCount) || indexCount > in.left()) return false;
    // One index may stand for every face.
    if (indexCount != faceCount && indexCount != 1) return false;
    std::vector<uint32_t> indices(indexCount);
    for (uint32_t& index : indices)
        if (!in.integer(index)) return false;
    if (!in.done()) return false;

    uint32_t materialCount = 0;
    for (const XChild& child : object.children) {
        if (child.object ? child.object->type == "Material" : true) ++materialCount;
        if (!child.object && !validName(child.reference)) return false;
    }
    std::vector<uint32_t> list = {materialCount, faceCount};
    for (uint32_t f = 0; f < faceCount; ++f) {
        const uint32_t index = indices[indexCount == 1 ? 0 : f];
        if (index >= materialCount) return false;
        list.push_back(index);
    }

    out.header("MeshMaterialList", object.name);
    out.integers(list);
    // A reference becomes a copy of the material it names: assimp resolves a reference to
    // the scene's material at the reference's place in the list, not to the one named.
    for (const XChild& child : object.children) {
        auto found = child.object ? named.end() : named.find(child.reference);
        if (!child.object && found == named.end()) return false;
        const XObject& material = child.object ? *child.object : *found->second;
        if (material.type == "Material" && !rewriteMaterial(material, out)) return false;
    }
    out.close();
    return true;
}

void writeDefaultMaterialList(uint32_t faceCount, BinaryWriter& out) {
    std::vector<uint32_t> list = {1, faceCount};
    list.resize(2 + faceCount, 0);
    out.header("MeshMaterialList", std::string());
    out.integers(list);
    out.name("Material");
    out.name(kDefaultMaterialName);
    out.open();
    out.reals(std::vector<float>(11, 0.0f));  // the decoder puts D3DX's colours in
    out.close();
    out.close();
}

bool rewriteMesh(const XObject& object, const NamedMaterials& named, BinaryWriter& out) {
    Values in(object.values);
    uint32_t vertexCount;
    std::vector<float> positions;
    std::vector<uint32_t> faces, corners;
    if (!in.integer(vertexCount) || vertexCount > in.left() / 3 || !in.reals(size_t(vertexCount) * 3, positions) ||
        !readFaces(in, vertexCount, faces, corners, nullptr) || !in.done())
        return false;

    const XObject *normals, *coordinates, *materials;
    if (!soleChild(object, "MeshNormals", normals) || !soleChild(object, "MeshTextureCoords", coordinates) ||
        !soleChild(object, "MeshMaterialList", materials))
        return false;

    out.header("Mesh", object.name);
    out.integers({vertexCount});
    out.reals(positions);
    out.integers(faces);
    if (normals) {
        Values normalValues(normals->values);
        uint32_t normalCount;
        std::vector<float> vectors;
        std::vector<uint32_t> normalFaces, normalCorners;
        if (!normalValues.integer(normalCount) || normalCount > normalValues.left() / 3 ||
            !normalValues.reals(size_t(normalCount) * 3, vectors) ||
            !readFaces(normalValues, normalCount, normalFaces, normalCorners, &corners) || !normalValues.done())
            return false;
        out.header("MeshNormals", normals->name);
        out.integers({normalCount});
        out.reals(vectors);
        out.integers(normalFaces);
        out.close();
    }
    if (coordinates) {
        Values coordinateValues(coordinates->values);
        uint32_t count;
        std::vector<float> uvs;
        if (!coordinateValues.integer(count) || count != vertexCount || !coordinateValues.reals(size_t(count) * 2, uvs) ||
            !coordinateValues.done())
            return false;
        out.header("MeshTextureCoords", coordinates->name);
        out.integers({count});
        out.reals(uvs);
        out.close();
    }
    const uint32_t faceCount = static_cast<uint32_t>(corners.size());
    if (materials && !rewriteMaterialList(*materials, faceCount, named, out)) return false;
    if (!materials) writeDefaultMaterialList(faceCount, out);
    out.close();
    return true;
}

// `frameMatrix` times `matrix`, both 4 x 4 row by row as in the file: D3DX multiplies a
// frame's later matrix into the ones before it, so what follows goes through both.
bool rewriteMatrix(const XObject& matrix, std::vector<float>& frameMatrix, BinaryWriter& out) {
    Values in(matrix.values);
    std::vector<float> elements;
    if (!in.reals(16, elements) || !in.done()) return false;
    if (!frameMatrix.empty()) {
        std::vector<float> product(16, 0.0f);
        for (int row = 0; row < 4; ++row)
            for (int column = 0; column < 4; ++column)
                for (int k = 0; k < 4; ++k) product[row * 4 + column] += frameMatrix[row * 4 + k] * elements[k * 4 + column];
        elements = product;
    }
    frameMatrix = elements;
    out.header("FrameTransformMatrix", std::string());
    out.reals(elements);
    out.close();
    return true;
}

bool rewriteFrame(const XObject& object, const NamedMaterials& named, BinaryWriter& out);

// The meshes and frames of `children` from `first` up to the next matrix (or the end).
bool rewriteFrameContents(const std::vector<XChild>& children, size_t first, size_t& next, const NamedMaterials& named,
                          BinaryWriter& out) {
    for (next = first; next < children.size(); ++next) {
        const XObject* child = children[next].object.get();
        if (!child) continue;
        if (child->type == "FrameTransformMatrix") return true;
        if (child->type == "Frame" && !rewriteFrame(*child, named, out)) return false;
        if (child->type == "Mesh" && !rewriteMesh(*child, named, out)) return false;
    }
    return true;
}

// A frame's matrix moves what follows it in the frame, not what came before; a later
// matrix is multiplied into the earlier ones. assimp knows one matrix per frame, so each
// matrix after the first content becomes an unnamed frame around what it moves.
bool rewriteFrame(const XObject& object, const NamedMaterials& named, BinaryWriter& out) {
    out.header("Frame", object.name);
    const std::vector<XChild>& children = object.children;
    size_t matrix;
    if (!rewriteFrameContents(children, 0, matrix, named, out)) return false;
    size_t contentBefore = 0, matrices = 0;
    for (size_t i = 0; i < children.size(); ++i) {
        const XObject* child = children[i].object.get();
        if (child && i < matrix && (child->type == "Frame" || child->type == "Mesh")) ++contentBefore;
        if (child && child->type == "FrameTransformMatrix") ++matrices;
    }
    // The usual frame: one matrix, ahead of everything it moves.
    const bool matrixOfTheFrame = contentBefore == 0 && matrices == 1;
    std::vector<float> frameMatrix;
    while (matrix < children.size()) {
        if (!matrixOfTheFrame) out.header("Frame", std::string());
        size_t next;
        if (!rewriteMatrix(*children[matrix].object, frameMatrix, out) || !rewriteFrameContents(children, matrix + 1, next, named, out))
            return false;
        if (!matrixOfTheFrame) out.close();
        matrix = next;
    }
    out.close();
    return true;
}

// Every named material, wherever it stands, for the lists that refer to it.
void collectNamedMaterials(const XObject& object, NamedMaterials& named) {
    if (object.type == "Material" && !object.name.empty()) named.emplace(object.name, &object);
    for (const XChild& child : object.children)
        if (child.object) collectNamedMaterials(*child.object, named);
}

}  // namespace

bool rewriteXFile(const unsigned char* bytes, size_t size, std::string& checked) {
    std::vector<XToken> tokens;
    std::vector<XObject> objects;
    if (!tokenizeXFile(bytes, size, tokens) || !parseXObjects(tokens, objects)) return false;
    tokens.clear();

    // A top-level material is only a definition: a mesh has it when its list refers to it.
    NamedMaterials named;
    for (const XObject& object : objects) collectNamedMaterials(object, named);

    BinaryWriter out;
    for (const XObject& object : objects) {
        if (object.type == "Frame" && !rewriteFrame(object, named, out)) return false;
        if (object.type == "Mesh" && !rewriteMesh(object, named, out)) return false;
    }
    checked = std::move(out.bytes());
    return true;
}

}  // namespace velmora::d3dx
