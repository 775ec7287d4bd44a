#include "formats/model_reader.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>
#include <unordered_map>
#include <utility>

#include <assimp/Importer.hpp>
#include <assimp/config.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include "formats/dxf_reader.h"

namespace verdel {

namespace {

std::string LowerExtension(const std::string& fileName)
{
    const size_t dot = fileName.find_last_of('.');
    const size_t slash = fileName.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string extension = fileName.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

// The object being filled: its vertices, faces and layer.
struct TPendingObject {
    std::vector<TVector> Vertices;
    std::vector<std::array<int32_t, 4>> Faces;
    int Layer = 0;
};

// A position as a key: its coordinates' bits, with -0 read as 0.
struct TPositionKey {
    uint32_t Bits[3];
    bool operator==(const TPositionKey&) const = default;
};

struct TPositionHash {
    size_t operator()(const TPositionKey& key) const
    {
        uint64_t h = key.Bits[0];
        h = h * 0x9E3779B97F4A7C15ull ^ key.Bits[1];
        h = h * 0x9E3779B97F4A7C15ull ^ key.Bits[2];
        return static_cast<size_t>(h ^ (h >> 29));
    }
};

TPositionKey KeyOf(const TVector& p)
{
    TPositionKey key;
    const float c[3] = {p.X + 0.0f, p.Y + 0.0f, p.Z + 0.0f};
    std::memcpy(key.Bits, c, sizeof c);
    return key;
}

// Splits the meshes of a scene into objects of the store. Within an object,
// corners at the same place share one vertex.
class TSceneSplitter {
public:
    TSceneSplitter(TFaceStore& store, const std::string& name) : Store(store), Name(name) {}

    void AddMesh(const aiMesh& mesh, const aiMatrix4x4& placement, int materialLayer)
    {
        for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
            const aiFace& face = mesh.mFaces[f];
            if (face.mNumIndices < 3) continue;
            const int layer = mesh.HasVertexColors(0) ? ColorLayer(mesh.mColors[0][face.mIndices[0]]) : materialLayer;
            // A polygon of n corners: a fan of quadrilaterals around corner 0, ending in a triangle when n is odd.
            for (unsigned start = 1; start + 1 < face.mNumIndices; start += 2) {
                const unsigned corners[4] = {face.mIndices[0], face.mIndices[start], face.mIndices[start + 1],
                                             face.mIndices[std::min(start + 2, face.mNumIndices - 1)]};
                const int count = start + 2 < face.mNumIndices ? 4 : 3;
                TVector positions[4];
                for (int i = 0; i < count; ++i) positions[i] = Place(mesh, placement, corners[i]);
                AddPiece(positions, count, layer);
            }
        }
        Flush();
    }

    // Hands the object being filled to the store.
    void Flush()
    {
        if (Pending.Faces.empty()) return;
        if (Store.ObjectCount == MaxObjects)
            throw EModelError(Name + ": more than " + std::to_string(MaxObjects) + " objects of at most " +
                              std::to_string(MaxImportedVertices) + " vertices");
        TFaceObject& object = Store.Object(++Store.ObjectCount);
        object.FaceCount = static_cast<int32_t>(Pending.Faces.size());
        object.VertexCount = static_cast<int32_t>(Pending.Vertices.size());
        object.ColorIndex = static_cast<uint8_t>(Pending.Layer);
        object.Color = LayerColors[static_cast<size_t>(Pending.Layer)];
        Store.LayerUsed[static_cast<size_t>(Pending.Layer)] = true;
        TFaceAppender faces(Store, object);
        for (const auto& face : Pending.Faces) {
            TVector corners[4];
            int32_t index[4];
            for (size_t i = 0; i < 4; ++i) {
                index[i] = face[i];
                corners[i] = Pending.Vertices[static_cast<size_t>(face[i] - 1)];
            }
            faces.Add(corners, index);
        }
        Pending.Vertices.clear();
        Pending.Faces.clear();
        VertexOf.clear();
    }

    int64_t FacesRead = 0;

private:
    static int ColorLayer(const aiColor4D& c) { return NearestLayer(c.r, c.g, c.b); }

    TVector Place(const aiMesh& mesh, const aiMatrix4x4& placement, unsigned v) const
    {
        aiVector3D p = mesh.mVertices[v];
        if (!placement.IsIdentity()) p = placement * p;
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
            throw EModelError(Name + ": a vertex coordinate is not a finite number");
        return {p.x, p.y, p.z};
    }

    void AddPiece(const TVector (&positions)[4], int count, int layer)
    {
        TPositionKey keys[4];
        int added = 0; // vertices the piece brings into the object
        for (int i = 0; i < count; ++i) {
            keys[i] = KeyOf(positions[i]);
            if (!VertexOf.contains(keys[i]) && std::find(keys, keys + i, keys[i]) == keys + i) ++added;
        }
        if (layer != Pending.Layer || static_cast<int>(Pending.Vertices.size()) + added > MaxImportedVertices) {
            Flush();
            Pending.Layer = layer;
        }
        std::array<int32_t, 4> face{};
        for (int i = 0; i < count; ++i) {
            auto [at, isNew] = VertexOf.try_emplace(keys[i], static_cast<int32_t>(Pending.Vertices.size() + 1));
            if (isNew) Pending.Vertices.push_back(positions[i]);
            face[static_cast<size_t>(i)] = at->second;
        }
        if (count == 3) face[3] = face[2];
        Pending.Faces.push_back(face);
        ++FacesRead;
    }

    TFaceStore& Store;
    const std::string& Name;
    TPendingObject Pending;
    std::unordered_map<TPositionKey, int32_t, TPositionHash> VertexOf; // a place's vertex number in Pending
};

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

void EmptyStore(TFaceStore& store)
{
    FreeScene(store);
    store.LayerUsed.fill(false);
}

// Every node's meshes, each placed by the node's transformation and its parents'.
void AddNodes(const aiScene& scene, const std::vector<int>& materialLayers, TSceneSplitter& splitter)
{
    std::vector<std::pair<const aiNode*, aiMatrix4x4>> pending{{scene.mRootNode, scene.mRootNode->mTransformation}};
    while (!pending.empty()) {
        const auto [node, placement] = pending.back();
        pending.pop_back();
        for (unsigned m = 0; m < node->mNumMeshes; ++m) {
            const aiMesh& mesh = *scene.mMeshes[node->mMeshes[m]];
            const int layer = mesh.mMaterialIndex < materialLayers.size() ? materialLayers[mesh.mMaterialIndex]
                                                                          : NearestLayer(0.6f, 0.6f, 0.6f);
            splitter.AddMesh(mesh, placement, layer);
        }
        // Children pushed last to first come out first to last.
        for (unsigned c = node->mNumChildren; c-- > 0;)
            pending.emplace_back(node->mChildren[c], placement * node->mChildren[c]->mTransformation);
    }
}

// Assimp 5.2's PLY reader never returns from a header without its
// "end_header" line, so such a file is refused before it gets there.
void RejectUnendedPlyHeader(std::istream& file, const std::string& name)
{
    std::string start(1 << 20, '\0');
    file.read(start.data(), static_cast<std::streamsize>(start.size()));
    start.resize(static_cast<size_t>(file.gcount()));
    if (start.starts_with("ply") && start.find("end_header") == std::string::npos)
        throw EModelError(name + ": a PLY header without its end_header line");
}

} // namespace

bool IsForeignModel(const std::string& FileName)
{
    const std::string extension = LowerExtension(FileName);
    if (extension.empty() || extension == "dxf") return false;
    Assimp::Importer importer;
    return importer.IsExtensionSupported(extension);
}

bool IsModelFile(const std::string& FileName) { return LowerExtension(FileName) == "dxf" || IsForeignModel(FileName); }

std::vector<std::string> ForeignModelPatterns()
{
    Assimp::Importer importer;
    std::string list; // "*.3ds;*.obj;..."
    importer.GetExtensionList(list);
    std::vector<std::string> patterns;
    std::istringstream in(list);
    for (std::string pattern; std::getline(in, pattern, ';');)
        if (!pattern.empty() && pattern != "*.dxf") patterns.push_back(pattern);
    std::sort(patterns.begin(), patterns.end());
    patterns.erase(std::unique(patterns.begin(), patterns.end()), patterns.end());
    return patterns;
}

int NearestLayer(float Red, float Green, float Blue)
{
    const float wanted[3] = {Red * 255.0f, Green * 255.0f, Blue * 255.0f};
    int nearest = 1;
    float best = 0;
    for (int layer = 1; layer <= LayerCount; ++layer) {
        const TColor c = LayerColors[static_cast<size_t>(layer)];
        const float have[3] = {static_cast<float>(c & 0xFF), static_cast<float>((c >> 8) & 0xFF),
                               static_cast<float>((c >> 16) & 0xFF)};
        float distance = 0;
        for (int i = 0; i < 3; ++i) distance += (wanted[i] - have[i]) * (wanted[i] - have[i]);
        if (layer == 1 || distance < best) nearest = layer, best = distance;
    }
    return nearest;
}

void StoreScene(const aiScene& Scene, TFaceStore& Store, const std::string& Name)
{
    EmptyStore(Store);
    std::vector<int> materialLayers;
    for (unsigned m = 0; m < Scene.mNumMaterials; ++m) materialLayers.push_back(MaterialLayer(*Scene.mMaterials[m]));
    TSceneSplitter splitter(Store, Name);
    try {
        if (Scene.mRootNode) AddNodes(Scene, materialLayers, splitter);
        if (splitter.FacesRead == 0) throw EModelError(Name + ": the file holds no polygons");
    } catch (...) {
        EmptyStore(Store);
        throw;
    }
    ComputeBounds(Store);
}

void ReadForeignModelFile(TFaceStore& Store, const std::string& FileName)
{
    EmptyStore(Store);
    {
        std::ifstream file(FileName, std::ios::binary);
        if (!file) throw std::runtime_error(FileName + ": " + std::strerror(errno));
        RejectUnendedPlyHeader(file, FileName);
    }
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(FileName, aiProcess_ValidateDataStructure);
    if (!scene) {
        const std::string reason = importer.GetErrorString();
        throw EModelError(FileName + ": " + (reason.empty() ? "not a model file that can be read" : reason));
    }
    StoreScene(*scene, Store, FileName);
}

void ReadModelFile(TFaceStore& Store, const std::string& FileName)
{
    if (LowerExtension(FileName) == "dxf") ReadDXFFile(Store, FileName);
    else ReadForeignModelFile(Store, FileName);
}

TModel ReadModel(const std::string& FileName)
{
    TModel model;
    model.Source = TModelSource::File;
    model.FileName = FileName;
    ReadModelFile(*model.Store, FileName);
    model.ObjectCount = model.Store->ObjectCount;
    return model;
}

void ReplaceModel(TFaceStore& To, TFaceStore& From)
{
    FreeScene(To);
    std::swap(To.ObjectCount, From.ObjectCount);
    std::swap(To.LayerUsed, From.LayerUsed);
    std::swap(To.Objects, From.Objects);
    std::swap(To.Nodes, From.Nodes);
    To.MaxX = From.MaxX, To.MaxY = From.MaxY, To.MaxZ = From.MaxZ;
    To.MinX = From.MinX, To.MinY = From.MinY, To.MinZ = From.MinZ;
    EmptyStore(From);
}

} // namespace verdel
