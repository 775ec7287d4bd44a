#include "formats/mesh_scene.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include <assimp/material.h>
#include <assimp/mesh.h>
#include <assimp/texture.h>

#include "formats/object_mesh.h"

namespace verdel {

namespace {

// One face as it is written: up to four corners, each with its 1-based
// vertex number, its texture slot (the corner of the stored face it came
// from) and the scene vertex it was given.
struct TPolygon {
    int Count = 0;
    int Index[4] = {};
    int Slot[4] = {};
    unsigned Vertex[4] = {};
};

// Scratch space reused from object to object.
struct TWorkspace {
    TObjectMesh Object;
    std::vector<TPolygon> Polygons;
    std::vector<int> Lookup;                   // vertex key to scene vertex, -1 when not given yet
    std::vector<std::pair<int, int>> Vertices; // each scene vertex's vertex number and texture slot
};

TPolygon MakePolygon(std::initializer_list<int> indices, std::initializer_list<int> slots)
{
    TPolygon polygon;
    polygon.Count = static_cast<int>(indices.size());
    std::copy(indices.begin(), indices.end(), polygon.Index);
    std::copy(slots.begin(), slots.end(), polygon.Slot);
    return polygon;
}

// A stored triangle (fourth corner repeating the third) stays one triangle;
// a quadrilateral stays whole or splits along its P0-P2 diagonal.
void AddFacePolygons(const std::array<int32_t, 4>& face, bool triangles, std::vector<TPolygon>& polygons)
{
    if (face[3] == face[2]) {
        polygons.push_back(MakePolygon({face[0], face[1], face[2]}, {0, 1, 2}));
    } else if (!triangles) {
        polygons.push_back(MakePolygon({face[0], face[1], face[2], face[3]}, {0, 1, 2, 3}));
    } else {
        polygons.push_back(MakePolygon({face[0], face[1], face[2]}, {0, 1, 2}));
        polygons.push_back(MakePolygon({face[0], face[2], face[3]}, {0, 2, 3}));
    }
}

// Gives every polygon corner its scene vertex. Shared vertices keep the
// object's vertex order; split ones come in order of first use.
void AssignVertices(TWorkspace& work, const TSceneLayout& layout)
{
    work.Vertices.clear();
    if (layout.FaceNormals) {
        for (TPolygon& polygon : work.Polygons)
            for (int i = 0; i < polygon.Count; ++i) {
                polygon.Vertex[i] = static_cast<unsigned>(work.Vertices.size());
                work.Vertices.emplace_back(polygon.Index[i], polygon.Slot[i]);
            }
        return;
    }
    // A vertex is keyed by its number, and with texture coordinates also by its slot.
    const size_t slots = layout.TexCoords ? 4 : 1;
    work.Lookup.assign((work.Object.Vertices.size() + 1) * slots, -1);
    auto key = [slots](const TPolygon& p, int i) {
        return static_cast<size_t>(p.Index[i]) * slots + (slots == 4 ? static_cast<size_t>(p.Slot[i]) : 0);
    };
    if (!layout.TexCoords) {
        constexpr int used = -2;
        for (const TPolygon& polygon : work.Polygons)
            for (int i = 0; i < polygon.Count; ++i) work.Lookup[key(polygon, i)] = used;
        for (size_t index = 1; index < work.Lookup.size(); ++index)
            if (work.Lookup[index] == used) {
                work.Lookup[index] = static_cast<int>(work.Vertices.size());
                work.Vertices.emplace_back(static_cast<int>(index), 0);
            }
    }
    for (TPolygon& polygon : work.Polygons)
        for (int i = 0; i < polygon.Count; ++i) {
            int& vertex = work.Lookup[key(polygon, i)];
            if (vertex < 0) {
                vertex = static_cast<int>(work.Vertices.size());
                work.Vertices.emplace_back(polygon.Index[i], polygon.Slot[i]);
            }
            polygon.Vertex[i] = static_cast<unsigned>(vertex);
        }
}

aiVector3D ToAssimp(const TVector& v) { return {v.X, v.Y, v.Z}; }

aiColor4D LayerColor(int layer)
{
    const TColor c = layer >= 0 && layer <= LayerCount ? LayerColors[static_cast<size_t>(layer)] : 0;
    return {static_cast<float>(c & 0xFF) / 255.0f, static_cast<float>((c >> 8) & 0xFF) / 255.0f,
            static_cast<float>((c >> 16) & 0xFF) / 255.0f, 1.0f};
}

// The flat normal of a polygon from its first three corners, as the renderer shades it.
aiVector3D PolygonNormal(const TObjectMesh& object, const TPolygon& polygon)
{
    const TVector p0 = object.Vertices[static_cast<size_t>(polygon.Index[0] - 1)];
    const TVector p1 = object.Vertices[static_cast<size_t>(polygon.Index[1] - 1)];
    const TVector p2 = object.Vertices[static_cast<size_t>(polygon.Index[2] - 1)];
    return ToAssimp(Normalise(Cross(p1 - p0, p2 - p0)));
}

// One mesh of the scene: the objects it holds and its size.
struct TMeshPlan {
    std::string Name;
    int Layer = 0;
    std::vector<int> Objects;
    unsigned VertexCount = 0;
    unsigned FaceCount = 0;
};

std::string MaterialName(int layer)
{
    const std::string name = LayerColorName(layer);
    return name.empty() ? "layer" + std::to_string(layer) : name;
}

// Object k in the workspace: its mesh, the polygons of its faces and their vertices.
void PrepareObject(const TFaceStore& store, int k, const TSceneLayout& layout, TWorkspace& work)
{
    CollectObjectMesh(store.Object(k), k, work.Object);
    work.Polygons.clear();
    for (const auto& face : work.Object.Faces) AddFacePolygons(face, layout.Triangles, work.Polygons);
    AssignVertices(work, layout);
}

// The meshes in scene order: one per object with faces, or one per used layer.
std::vector<TMeshPlan> PlanMeshes(const TFaceStore& store, const TSceneLayout& layout, TWorkspace& work)
{
    std::vector<TMeshPlan> plans;
    std::array<size_t, 256> planOfLayer;
    planOfLayer.fill(SIZE_MAX);
    for (int k = 1; k <= store.ObjectCount; ++k) {
        if (!store.Object(k).ModelFaces) continue;
        const int layer = store.Object(k).ColorIndex;
        PrepareObject(store, k, layout, work);
        size_t& planOfObject = planOfLayer[static_cast<size_t>(layer)];
        if (!layout.LayerMeshes || planOfObject == SIZE_MAX) {
            planOfObject = plans.size();
            plans.push_back({layout.LayerMeshes ? MaterialName(layer) : "object" + std::to_string(k), layer, {}, 0, 0});
        }
        TMeshPlan& plan = plans[planOfObject];
        plan.Objects.push_back(k);
        plan.VertexCount += static_cast<unsigned>(work.Vertices.size());
        plan.FaceCount += static_cast<unsigned>(work.Polygons.size());
    }
    return plans;
}

aiMesh* AllocateMesh(const TMeshPlan& plan, const TSceneLayout& layout, unsigned material)
{
    auto mesh = std::make_unique<aiMesh>();
    mesh->mName = plan.Name;
    mesh->mMaterialIndex = material;
    mesh->mNumVertices = plan.VertexCount;
    mesh->mVertices = new aiVector3D[plan.VertexCount];
    if (layout.FaceNormals) mesh->mNormals = new aiVector3D[plan.VertexCount];
    if (layout.TexCoords) {
        mesh->mTextureCoords[0] = new aiVector3D[plan.VertexCount];
        mesh->mNumUVComponents[0] = 2;
    }
    if (layout.VertexColors) mesh->mColors[0] = new aiColor4D[plan.VertexCount];
    mesh->mNumFaces = plan.FaceCount;
    mesh->mFaces = new aiFace[plan.FaceCount];
    return mesh.release();
}

// Writes the prepared object into Mesh from vertex First and face FirstFace on.
void FillObject(aiMesh& mesh, const TWorkspace& work, const TSceneLayout& layout, const aiColor4D& color,
                unsigned first, unsigned firstFace)
{
    for (size_t v = 0; v < work.Vertices.size(); ++v) {
        const auto [index, slot] = work.Vertices[v];
        const size_t at = first + v;
        mesh.mVertices[at] = ToAssimp(work.Object.Vertices[static_cast<size_t>(index - 1)]);
        if (layout.TexCoords) mesh.mTextureCoords[0][at] = CornerTexCoord(slot);
        if (layout.VertexColors) mesh.mColors[0][at] = color;
    }
    for (size_t f = 0; f < work.Polygons.size(); ++f) {
        const TPolygon& polygon = work.Polygons[f];
        aiFace& face = mesh.mFaces[firstFace + f];
        face.mNumIndices = static_cast<unsigned>(polygon.Count);
        face.mIndices = new unsigned[face.mNumIndices];
        for (int i = 0; i < polygon.Count; ++i) face.mIndices[i] = first + polygon.Vertex[i];
        mesh.mPrimitiveTypes |= polygon.Count == 3 ? aiPrimitiveType_TRIANGLE : aiPrimitiveType_POLYGON;
        if (layout.FaceNormals) {
            const aiVector3D normal = PolygonNormal(work.Object, polygon);
            for (int i = 0; i < polygon.Count; ++i) mesh.mNormals[first + polygon.Vertex[i]] = normal;
        }
    }
}

aiMesh* BuildMesh(const TFaceStore& store, const TMeshPlan& plan, const TSceneLayout& layout, unsigned material,
                  TWorkspace& work)
{
    std::unique_ptr<aiMesh> mesh(AllocateMesh(plan, layout, material));
    const aiColor4D color = LayerColor(plan.Layer);
    unsigned first = 0, firstFace = 0;
    for (int k : plan.Objects) {
        PrepareObject(store, k, layout, work);
        FillObject(*mesh, work, layout, color, first, firstFace);
        first += static_cast<unsigned>(work.Vertices.size());
        firstFace += static_cast<unsigned>(work.Polygons.size());
    }
    return mesh.release();
}

aiMaterial* BuildMaterial(int layer, const TSceneTextures& textures)
{
    auto material = std::make_unique<aiMaterial>();
    const aiString name(MaterialName(layer));
    material->AddProperty(&name, AI_MATKEY_NAME);
    const aiColor4D color = LayerColor(layer);
    material->AddProperty(&color, 1, AI_MATKEY_COLOR_DIFFUSE);
    // Every face is drawn from both sides, as in the viewer.
    const int twoSided = 1;
    material->AddProperty(&twoSided, 1, AI_MATKEY_TWOSIDED);
    const std::string path = layer >= 0 && layer <= LayerCount ? textures.Paths[static_cast<size_t>(layer)] : "";
    if (!path.empty()) {
        const aiString texture(path);
        material->AddProperty(&texture, AI_MATKEY_TEXTURE_DIFFUSE(0));
        if (textures.WhiteBase) {
            const aiColor4D white(1, 1, 1, 1);
            material->AddProperty(&white, 1, AI_MATKEY_BASE_COLOR);
        }
    }
    return material.release();
}

aiTexture* BuildTexture(const TEmbeddedPicture& picture)
{
    auto texture = std::make_unique<aiTexture>();
    // A compressed picture: height 0, width the byte count, the bytes as they are in the file.
    texture->mWidth = static_cast<unsigned>(picture.Bytes.size());
    texture->mHeight = 0;
    texture->pcData = new aiTexel[(picture.Bytes.size() + sizeof(aiTexel) - 1) / sizeof(aiTexel)];
    std::memcpy(texture->pcData, picture.Bytes.data(), picture.Bytes.size());
    const std::string extension = picture.Name.substr(picture.Name.find_last_of('.') + 1);
    std::strncpy(texture->achFormatHint, extension.c_str(), sizeof texture->achFormatHint - 1);
    texture->mFilename = picture.Name;
    return texture.release();
}

// Materials of the used layers in layer order; MaterialOf maps a layer to its material.
void AddMaterials(aiScene& scene, const TFaceStore& store, const TSceneTextures& textures,
                  std::array<int, 256>& materialOf)
{
    std::array<bool, 256> used{};
    for (int k = 1; k <= store.ObjectCount; ++k)
        if (store.Object(k).ModelFaces) used[store.Object(k).ColorIndex] = true;
    materialOf.fill(-1);
    std::vector<aiMaterial*> materials;
    for (size_t layer = 0; layer < used.size(); ++layer)
        if (used[layer]) {
            materialOf[layer] = static_cast<int>(materials.size());
            materials.push_back(BuildMaterial(static_cast<int>(layer), textures));
        }
    scene.mNumMaterials = static_cast<unsigned>(materials.size());
    if (materials.empty()) return;
    scene.mMaterials = new aiMaterial*[materials.size()];
    std::copy(materials.begin(), materials.end(), scene.mMaterials);
}

void AddTextures(aiScene& scene, const TSceneTextures& textures)
{
    if (textures.Embedded.empty()) return;
    scene.mNumTextures = static_cast<unsigned>(textures.Embedded.size());
    scene.mTextures = new aiTexture*[scene.mNumTextures]();
    for (unsigned t = 0; t < scene.mNumTextures; ++t) scene.mTextures[t] = BuildTexture(textures.Embedded[t]);
}

// The scene's mesh table. Layer meshes get a child node of the root each;
// object meshes hang on the root itself, since a node per object would cost
// more than the object's faces.
void AttachMeshes(aiScene& scene, std::vector<aiMesh*>& meshes, bool childNodes)
{
    const auto count = static_cast<unsigned>(meshes.size());
    scene.mNumMeshes = count;
    if (count == 0) return;
    scene.mMeshes = new aiMesh*[count];
    std::copy(meshes.begin(), meshes.end(), scene.mMeshes);
    meshes.clear();
    aiNode& root = *scene.mRootNode;
    if (!childNodes) {
        root.mNumMeshes = count;
        root.mMeshes = new unsigned[count];
        for (unsigned m = 0; m < count; ++m) root.mMeshes[m] = m;
        return;
    }
    root.mNumChildren = count;
    root.mChildren = new aiNode*[count];
    for (unsigned m = 0; m < count; ++m) {
        auto* node = new aiNode(scene.mMeshes[m]->mName.C_Str());
        node->mParent = &root;
        node->mNumMeshes = 1;
        node->mMeshes = new unsigned[1]{m};
        root.mChildren[m] = node;
    }
}

} // namespace

aiVector3D CornerTexCoord(int Slot)
{
    // The picture's rows run downwards; Assimp's second coordinate runs upwards.
    static const aiVector3D coordinates[4] = {{1, 1, 0}, {1, 0, 0}, {0, 0, 0}, {0, 1, 0}};
    return coordinates[Slot & 3];
}

TScenePtr BuildMeshScene(const TFaceStore& Store, const TSceneLayout& Layout, const TSceneTextures& Textures)
{
    TScenePtr scene = std::make_unique<aiScene>();
    scene->mRootNode = new aiNode("model");
    std::array<int, 256> materialOf{};
    AddMaterials(*scene, Store, Textures, materialOf);
    AddTextures(*scene, Textures);

    TWorkspace work;
    const std::vector<TMeshPlan> plans = PlanMeshes(Store, Layout, work);
    std::vector<aiMesh*> meshes;
    try {
        for (const TMeshPlan& plan : plans) {
            const auto material = static_cast<unsigned>(materialOf[static_cast<size_t>(plan.Layer)]);
            meshes.push_back(BuildMesh(Store, plan, Layout, material, work));
        }
    } catch (...) {
        for (aiMesh* mesh : meshes) delete mesh;
        throw;
    }
    AttachMeshes(*scene, meshes, Layout.LayerMeshes);
    return scene;
}

} // namespace verdel
