#include "formats/model_reader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <string_view>
#include <unordered_map>

#include <assimp/Importer.hpp>

#include "formats/dxf_reader.h"

namespace verdel {

namespace {

// The foreign formats offered, each tried on bad files; Assimp's other readers are never used.
constexpr std::string_view ForeignExtensions[] = {"3ds", "dae", "fbx", "glb", "gltf", "obj", "off", "ply", "stl"};

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

    void AddMesh(const TPlacedMesh& mesh)
    {
        const uint32_t* polygon = mesh.Corners.data();
        for (size_t f = 0; f < mesh.FaceSizes.size(); polygon += mesh.FaceSizes[f++]) {
            const unsigned n = mesh.FaceSizes[f];
            // A polygon of n corners: a fan of quadrilaterals around corner 0, ending in a triangle when n is odd.
            for (unsigned start = 1; start + 1 < n; start += 2) {
                const unsigned corners[4] = {polygon[0], polygon[start], polygon[start + 1],
                                             polygon[std::min(start + 2, n - 1)]};
                const int count = start + 2 < n ? 4 : 3;
                TVector positions[4];
                for (int i = 0; i < count; ++i) positions[i] = Place(mesh, corners[i]);
                AddPiece(positions, count, mesh.FaceLayers[f]);
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
    TVector Place(const TPlacedMesh& mesh, unsigned v) const
    {
        const TVector& p = mesh.Positions[v];
        if (!std::isfinite(p.X) || !std::isfinite(p.Y) || !std::isfinite(p.Z))
            throw EModelError(Name + ": a vertex coordinate is not a finite number");
        return p;
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

void EmptyStore(TFaceStore& store)
{
    FreeScene(store);
    store.LayerUsed.fill(false);
}

} // namespace

std::string LowerExtension(const std::string& FileName)
{
    const size_t dot = FileName.find_last_of('.');
    const size_t slash = FileName.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string extension = FileName.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

bool IsForeignModel(const std::string& FileName)
{
    const std::string extension = LowerExtension(FileName);
    return std::find(std::begin(ForeignExtensions), std::end(ForeignExtensions), extension) !=
           std::end(ForeignExtensions);
}

bool IsModelFile(const std::string& FileName)
{
    const std::string extension = LowerExtension(FileName);
    if (extension == "dxf" || IsForeignModel(FileName)) return true;
    return !extension.empty() && Assimp::Importer().IsExtensionSupported(extension);
}

std::vector<std::string> ForeignModelPatterns()
{
    std::vector<std::string> patterns;
    for (const std::string_view extension : ForeignExtensions) patterns.push_back("*." + std::string(extension));
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
    StorePlacedMeshes([&Scene](const auto& visit) { ForEachPlacedMesh(Scene, visit); }, Store, Name);
}

void StorePlacedMeshes(const TPlacedMeshSource& Source, TFaceStore& Store, const std::string& Name)
{
    EmptyStore(Store);
    TSceneSplitter splitter(Store, Name);
    try {
        Source([&splitter](const TPlacedMesh& mesh) { splitter.AddMesh(mesh); });
        if (splitter.FacesRead == 0) throw EModelError(Name + ": the file holds no polygons");
    } catch (...) {
        EmptyStore(Store);
        throw;
    }
    for (int k = 1; k <= Store.ObjectCount; ++k) Store.Object(k).SortFaces = true; // faces in no drawing order
    ComputeBounds(Store);
}

bool ReadModelFile(TFaceStore& Store, const std::string& FileName, const TCancelToken& Cancel)
{
    if (LowerExtension(FileName) != "dxf") return ReadForeignModelFile(Store, FileName, Cancel);
    ReadDXFFile(Store, FileName);
    return true;
}

void ReadModelFile(TFaceStore& Store, const std::string& FileName)
{
    const TCancelToken never;
    ReadModelFile(Store, FileName, never);
}

std::optional<TModel> ReadModel(const std::string& FileName, const TCancelToken& Cancel)
{
    TModel model;
    model.Source = TModelSource::File;
    model.FileName = FileName;
    if (!ReadModelFile(*model.Store, FileName, Cancel)) return std::nullopt;
    model.ObjectCount = model.Store->ObjectCount;
    return model;
}

TModel ReadModel(const std::string& FileName)
{
    const TCancelToken never;
    return *ReadModel(FileName, never);
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
