#include "LoadedMesh.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>

namespace assettest {
namespace {

V3 toV3(const aiVector3D& v) { return {v.x, v.y, v.z}; }

void collect(const aiScene* scene, const aiNode* node, const aiMatrix4x4& parent, LoadedMesh& out) {
    const aiMatrix4x4 transform = parent * node->mTransformation;
    for (unsigned m = 0; m < node->mNumMeshes; ++m) {
        const aiMesh* mesh = scene->mMeshes[node->mMeshes[m]];
        out.allHaveNormals = out.allHaveNormals && mesh->HasNormals();
        out.allHaveOneUvSet = out.allHaveOneUvSet && mesh->HasTextureCoords(0) && !mesh->HasTextureCoords(1);
        for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
            const aiFace& face = mesh->mFaces[f];
            if (face.mNumIndices != 3) continue;
            MeshTriangle t{};
            t.material = mesh->mMaterialIndex;
            for (int k = 0; k < 3; ++k) {
                const unsigned i = face.mIndices[k];
                t.position[k] = toV3(transform * mesh->mVertices[i]);
                if (mesh->HasNormals()) t.normal[k] = toV3(mesh->mNormals[i]);
                if (mesh->HasTextureCoords(0)) t.uv[k] = {mesh->mTextureCoords[0][i].x, mesh->mTextureCoords[0][i].y};
                const V3& p = t.position[k];
                out.min = {std::min(out.min.x, p.x), std::min(out.min.y, p.y), std::min(out.min.z, p.z)};
                out.max = {std::max(out.max.x, p.x), std::max(out.max.y, p.y), std::max(out.max.z, p.z)};
            }
            out.triangles.push_back(t);
        }
    }
    for (unsigned c = 0; c < node->mNumChildren; ++c) collect(scene, node->mChildren[c], transform, out);
}

}  // namespace

LoadedMesh LoadedMesh::load(const std::string& path) {
    LoadedMesh out;
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(
        path, aiProcess_ConvertToLeftHanded | aiProcess_Triangulate | aiProcess_JoinIdenticalVertices);
    if (!scene || !scene->mRootNode) return out;
    out.loaded = true;
    for (unsigned i = 0; i < scene->mNumMaterials; ++i) {
        MeshMaterial material;
        aiColor4D diffuse;
        if (scene->mMaterials[i]->Get(AI_MATKEY_COLOR_DIFFUSE, diffuse) == AI_SUCCESS)
            material.diffuse = {diffuse.r, diffuse.g, diffuse.b, diffuse.a};
        aiString file;
        if (scene->mMaterials[i]->GetTexture(aiTextureType_DIFFUSE, 0, &file) == AI_SUCCESS) material.texture = file.C_Str();
        out.materials.push_back(material);
    }
    collect(scene, scene->mRootNode, aiMatrix4x4(), out);
    return out;
}

}  // namespace assettest
