#include "XFileDecoder.h"

#include "XFileRewriter.h"

#include <assimp/Importer.hpp>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <map>
#include <numeric>
#include <tuple>

namespace velmora::d3dx {

namespace {

// Faces gathered in file order before the sort by material.
struct Face {
    uint32_t corners[3];
    DWORD attribute;
};

class MeshBuilder {
public:
    explicit MeshBuilder(const aiScene& scene) : scene_(scene) {}

    // Frames are walked depth first; each frame's meshes come before its children.
    void addNode(const aiNode& node, const aiMatrix4x4& parentTransform) {
        const aiMatrix4x4 transform = parentTransform * node.mTransformation;
        const bool moved = !transform.IsIdentity();
        aiMatrix3x3 normalTransform(transform);
        if (moved) {
            // Normals follow the inverse transpose, so that scaled frames keep them upright.
            aiMatrix3x3 inverse = normalTransform;
            if (inverse.Determinant() != 0.0f) normalTransform = inverse.Inverse().Transpose();
        }
        for (unsigned m = 0; m < node.mNumMeshes; ++m)
            if (node.mMeshes[m] < scene_.mNumMeshes)
                addMesh(*scene_.mMeshes[node.mMeshes[m]], transform, moved ? &normalTransform : nullptr);
        for (unsigned c = 0; c < node.mNumChildren; ++c)
            if (node.mChildren[c]) addNode(*node.mChildren[c], transform);
    }

    std::vector<MeshVertex>& vertices() { return vertices_; }
    std::vector<Face>& faces() { return faces_; }

private:
    // normalTransform is null when the frames leave the mesh where it is: normals then stay
    // exactly as the file gives them.
    void addMesh(const aiMesh& mesh, const aiMatrix4x4& transform, const aiMatrix3x3* normalTransform) {
        // assimp gives every face corner its own vertex; identical ones are merged again.
        std::vector<uint32_t> merged(mesh.mNumVertices);
        for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
            MeshVertex vertex{};
            const aiVector3D position = transform * mesh.mVertices[v];
            vertex.position[0] = position.x;
            vertex.position[1] = position.y;
            vertex.position[2] = position.z;
            if (mesh.mNormals) {
                aiVector3D normal = mesh.mNormals[v];
                if (normalTransform) {
                    normal = *normalTransform * normal;
                    if (normal.SquareLength() > 0.0f) normal.Normalize();
                }
                vertex.normal[0] = normal.x;
                vertex.normal[1] = normal.y;
                vertex.normal[2] = normal.z;
            }
            if (mesh.mTextureCoords[0]) {
                vertex.uv[0] = mesh.mTextureCoords[0][v].x;
                vertex.uv[1] = mesh.mTextureCoords[0][v].y;
            }
            merged[v] = indexOf(vertex);
        }
        for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
            const aiFace& face = mesh.mFaces[f];
            // Polygons become fans around their first corner; points and lines are dropped.
            for (unsigned k = 1; k + 1 < face.mNumIndices; ++k) {
                const unsigned corners[3] = {face.mIndices[0], face.mIndices[k], face.mIndices[k + 1]};
                if (std::any_of(std::begin(corners), std::end(corners),
                                [&](unsigned c) { return c >= mesh.mNumVertices; }))
                    continue;
                faces_.push_back(Face{{merged[corners[0]], merged[corners[1]], merged[corners[2]]},
                                      mesh.mMaterialIndex});
            }
        }
    }

    uint32_t indexOf(const MeshVertex& vertex) {
        Key key;
        std::memcpy(key.data(), &vertex, sizeof vertex);
        auto found = lookup_.emplace(key, (uint32_t)vertices_.size());
        if (found.second) vertices_.push_back(vertex);
        return found.first->second;
    }

    using Key = std::array<uint32_t, 8>;
    const aiScene& scene_;
    std::vector<MeshVertex> vertices_;
    std::map<Key, uint32_t> lookup_;
    std::vector<Face> faces_;
};

D3DCOLORVALUE colourOf(const aiMaterial& material, const char* key, unsigned type, unsigned index,
                       const D3DCOLORVALUE& fallback) {
    aiColor4D colour;
    if (material.Get(key, type, index, colour) != AI_SUCCESS) return fallback;
    return D3DCOLORVALUE{colour.r, colour.g, colour.b, colour.a};
}

// D3DX's own default: grey diffuse and specular, every alpha 0.
MeshMaterial defaultMaterial() {
    MeshMaterial result{};
    result.material.Diffuse = {0.5f, 0.5f, 0.5f, 0.0f};
    result.material.Specular = {0.5f, 0.5f, 0.5f, 0.0f};
    return result;
}

bool isDefaultMaterial(const aiMaterial& source) {
    aiString name;
    return source.Get(AI_MATKEY_NAME, name) == AI_SUCCESS && std::strcmp(name.C_Str(), kDefaultMaterialName) == 0;
}

MeshMaterial convertMaterial(const aiMaterial& source) {
    if (isDefaultMaterial(source)) return defaultMaterial();
    const D3DCOLORVALUE black = {0.0f, 0.0f, 0.0f, 1.0f};
    MeshMaterial result{};
    D3DMATERIAL9& material = result.material;
    material.Diffuse = colourOf(source, AI_MATKEY_COLOR_DIFFUSE, black);
    material.Ambient = black;
    // The file gives specular and emissive as RGB only.
    material.Specular = colourOf(source, AI_MATKEY_COLOR_SPECULAR, black);
    material.Specular.a = 1.0f;
    material.Emissive = colourOf(source, AI_MATKEY_COLOR_EMISSIVE, black);
    material.Emissive.a = 1.0f;
    float power = 0.0f;
    if (source.Get(AI_MATKEY_SHININESS, power) == AI_SUCCESS) material.Power = power;

    // assimp files a texture under a kind guessed from its name; a .x material has one
    // TextureFilename whatever the kind.
    for (aiTextureType type : {aiTextureType_DIFFUSE, aiTextureType_SPECULAR, aiTextureType_AMBIENT,
                               aiTextureType_EMISSIVE, aiTextureType_HEIGHT, aiTextureType_NORMALS}) {
        aiString path;
        if (source.GetTextureCount(type) > 0 && source.GetTexture(type, 0, &path) == AI_SUCCESS) {
            result.hasTexture = true;
            result.textureFile = path.C_Str();
            break;
        }
    }
    return result;
}

}  // namespace

std::shared_ptr<const MeshData> decodeXFile(const unsigned char* bytes, size_t size) {
    // assimp reads only a checked copy of the file (which is also always a .x file, so
    // assimp never tries its other formats on it).
    std::string checked;
    if (!rewriteXFile(bytes, size, checked)) return nullptr;

    // assimp turns .x data right-handed on import; converting back to left-handed undoes
    // that exactly, so positions, corner order and face order are the file's own.
    Assimp::Importer importer;
    const aiScene* scene =
        importer.ReadFileFromMemory(checked.data(), checked.size(), aiProcess_ConvertToLeftHanded, "x");
    if (!scene || !scene->mRootNode || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE)) return nullptr;

    MeshBuilder builder(*scene);
    builder.addNode(*scene->mRootNode, aiMatrix4x4());
    std::vector<Face>& faces = builder.faces();
    if (faces.empty()) return nullptr;

    auto data = std::make_shared<MeshData>();
    // Each mesh without a material list brought its own default material; D3DX gives them
    // all one.
    std::vector<DWORD> attributeOf(scene->mNumMaterials);
    DWORD defaultAttribute = DWORD(-1);
    for (unsigned m = 0; m < scene->mNumMaterials; ++m) {
        const bool isDefault = isDefaultMaterial(*scene->mMaterials[m]);
        if (isDefault && defaultAttribute != DWORD(-1)) {
            attributeOf[m] = defaultAttribute;
            continue;
        }
        attributeOf[m] = DWORD(data->materials.size());
        if (isDefault) defaultAttribute = attributeOf[m];
        data->materials.push_back(convertMaterial(*scene->mMaterials[m]));
    }
    for (Face& face : faces) face.attribute = attributeOf[face.attribute];

    // D3DX sorts faces by material, keeping file order within one material.
    std::stable_sort(faces.begin(), faces.end(), [](const Face& a, const Face& b) { return a.attribute < b.attribute; });
    data->vertices = std::move(builder.vertices());
    data->indices.reserve(faces.size() * 3);
    data->attributes.reserve(faces.size());
    for (const Face& face : faces) {
        data->indices.insert(data->indices.end(), std::begin(face.corners), std::end(face.corners));
        data->attributes.push_back(face.attribute);
    }
    data->picking = std::make_shared<PickGeometry>(reinterpret_cast<const BYTE*>(data->vertices.data()),
                                                   (DWORD)data->vertices.size(), (DWORD)sizeof(MeshVertex),
                                                   data->indices.data(), true, data->faceCount());
    data->prepareDeviceBytes();
    return data;
}

}  // namespace velmora::d3dx
