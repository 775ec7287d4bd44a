#include "formats/placed_mesh.h"

#include <cstring>
#include <utility>

#include <assimp/scene.h>

#include "engine/face_store.h"
#include "formats/model_reader.h"

namespace verdel {

namespace {

int MaterialLayer(const aiMaterial& material)
{
    aiString name;
    if (material.Get(AI_MATKEY_NAME, name) == aiReturn_SUCCESS)
        for (int layer = 1; layer <= LayerCount; ++layer)
            if (std::strcmp(name.C_Str(), LayerColorName(layer)) == 0) return layer;
    // Assimp's own default material is a light grey.
    aiColor4D colour(0.6f, 0.6f, 0.6f, 1.0f);
    if (material.Get(AI_MATKEY_COLOR_DIFFUSE, colour) != aiReturn_SUCCESS) material.Get(AI_MATKEY_BASE_COLOR, colour);
    return NearestLayer(colour.r, colour.g, colour.b);
}

void PlaceMesh(const aiMesh& mesh, const aiMatrix4x4& placement, int materialLayer, TPlacedMesh& placed)
{
    placed.Clear();
    const bool identity = placement.IsIdentity();
    for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
        const aiVector3D p = identity ? mesh.mVertices[v] : placement * mesh.mVertices[v];
        placed.Positions.push_back({p.x, p.y, p.z});
    }
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
        const aiFace& face = mesh.mFaces[f];
        if (face.mNumIndices < 3) continue;
        const aiColor4D* colours = mesh.HasVertexColors(0) ? mesh.mColors[0] : nullptr;
        const aiColor4D& first = colours ? colours[face.mIndices[0]] : aiColor4D();
        placed.FaceLayers.push_back(
            static_cast<uint8_t>(colours ? NearestLayer(first.r, first.g, first.b) : materialLayer));
        placed.FaceSizes.push_back(face.mNumIndices);
        placed.Corners.insert(placed.Corners.end(), face.mIndices, face.mIndices + face.mNumIndices);
    }
}

} // namespace

void TPlacedMesh::Clear()
{
    Positions.clear();
    FaceSizes.clear();
    Corners.clear();
    FaceLayers.clear();
}

void ForEachPlacedMesh(const aiScene& Scene, const std::function<void(const TPlacedMesh&)>& Visit)
{
    if (!Scene.mRootNode) return;
    std::vector<int> materialLayers;
    for (unsigned m = 0; m < Scene.mNumMaterials; ++m) materialLayers.push_back(MaterialLayer(*Scene.mMaterials[m]));
    TPlacedMesh placed;
    std::vector<std::pair<const aiNode*, aiMatrix4x4>> pending{{Scene.mRootNode, Scene.mRootNode->mTransformation}};
    while (!pending.empty()) {
        const auto [node, placement] = pending.back();
        pending.pop_back();
        for (unsigned m = 0; m < node->mNumMeshes; ++m) {
            const aiMesh& mesh = *Scene.mMeshes[node->mMeshes[m]];
            const int layer = mesh.mMaterialIndex < materialLayers.size() ? materialLayers[mesh.mMaterialIndex]
                                                                          : NearestLayer(0.6f, 0.6f, 0.6f);
            PlaceMesh(mesh, placement, layer, placed);
            Visit(placed);
        }
        // Children pushed last to first come out first to last.
        for (unsigned c = node->mNumChildren; c-- > 0;)
            pending.emplace_back(node->mChildren[c], placement * node->mChildren[c]->mTransformation);
    }
}

} // namespace verdel
