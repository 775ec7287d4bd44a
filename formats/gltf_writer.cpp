#include "formats/gltf_writer.h"

#include <algorithm>
#include <limits>
#include <ostream>
#include <stdexcept>

#include "formats/json_writer.h"
#include "formats/object_mesh.h"
#include "formats/out_buffer.h"

namespace verdel {

namespace {

using nlohmann::json;

constexpr int FloatComponents = 5126, ShortComponents = 5123, IntComponents = 5125;
constexpr int ArrayBufferTarget = 34962, ElementArrayBufferTarget = 34963;

uint64_t Align4(uint64_t n) { return (n + 3) / 4 * 4; }

// One mesh of the file: its objects (Objects[FirstObject..EndObject-1] of the
// plan), its name, its material, its sizes and the bounds of its positions.
struct TMeshSummary {
    std::string Name;
    int Material = 0;
    size_t FirstObject = 0, EndObject = 0;
    uint32_t Vertices = 0;
    uint32_t Indices = 0;
    std::array<float, 3> Min{}, Max{};
};

// Where everything lies in the one buffer.
struct TBufferPlan {
    TPolygonLayout Layout{.Triangles = true, .TexCoords = true};
    std::vector<int> Objects; // the objects with faces, mesh by mesh
    std::vector<TMeshSummary> Meshes;
    std::vector<std::pair<size_t, uint64_t>> Pictures; // (material, offset) of each carried picture
    bool WideIndices = false;                          // 32-bit indices
    uint64_t VertexOffset = 0, VertexCount = 0;
    uint64_t IndexOffset = 0, IndexCount = 0;
    uint64_t Length = 0;

    uint64_t IndexSize() const { return WideIndices ? 4 : 2; }
    // x, y, z, then nx, ny, nz with normals, then u, v, as floats.
    uint64_t VertexStride() const { return Layout.Normals ? 32 : 20; }
    size_t AccessorsPerMesh() const { return Layout.Normals ? 4 : 3; }
};

// Adds an object's vertices and triangles to its mesh's sizes and bounds.
void Summarise(const TObjectPolygons& object, TMeshSummary& mesh)
{
    if (mesh.Vertices == 0) {
        const TVector& first = object.Position(object.Vertices.front());
        mesh.Min = mesh.Max = {first.X, first.Y, first.Z};
    }
    mesh.Vertices += static_cast<uint32_t>(object.Vertices.size());
    mesh.Indices += static_cast<uint32_t>(3 * object.Polygons.size());
    for (const TWrittenVertex& vertex : object.Vertices) {
        const TVector& p = object.Position(vertex);
        const float c[3] = {p.X, p.Y, p.Z};
        for (size_t i = 0; i < 3; ++i) {
            mesh.Min[i] = std::min(mesh.Min[i], c[i]);
            mesh.Max[i] = std::max(mesh.Max[i], c[i]);
        }
    }
}

// The meshes without their sizes: one per object with faces ("object<k>"),
// or one per used layer named after its colour, gathering its objects in order.
void GroupObjects(const TFaceStore& store, const std::vector<TLayerMaterial>& materials, bool perObject,
                  TBufferPlan& plan)
{
    std::array<int, 256> materialOf;
    materialOf.fill(-1);
    for (size_t m = 0; m < materials.size(); ++m) materialOf[static_cast<size_t>(materials[m].Layer & 0xFF)] = static_cast<int>(m);
    std::vector<std::vector<int>> byMaterial(perObject ? 0 : materials.size());
    for (int k = 1; k <= store.ObjectCount; ++k) {
        const TFaceObject& source = store.Object(k);
        if (!source.ModelFaces) continue;
        const int material = materialOf[source.ColorIndex];
        if (material < 0) throw std::logic_error("glTF: a used layer without its material");
        if (!perObject) {
            byMaterial[static_cast<size_t>(material)].push_back(k);
            continue;
        }
        plan.Meshes.push_back({"object" + std::to_string(k), material, plan.Objects.size(), plan.Objects.size() + 1});
        plan.Objects.push_back(k);
    }
    for (size_t m = 0; m < byMaterial.size(); ++m) {
        if (byMaterial[m].empty()) continue;
        const size_t first = plan.Objects.size();
        plan.Objects.insert(plan.Objects.end(), byMaterial[m].begin(), byMaterial[m].end());
        plan.Meshes.push_back({MaterialName(materials[m].Layer), static_cast<int>(m), first, plan.Objects.size()});
    }
}

TBufferPlan PlanBuffer(const TFaceStore& store, const std::vector<TLayerMaterial>& materials, const TExportInfo& info,
                       bool embed)
{
    TBufferPlan plan;
    plan.Layout.Normals = info.SmoothNormals;
    for (size_t m = 0; m < materials.size(); ++m) {
        if (embed && !materials[m].Picture.empty()) {
            plan.Pictures.emplace_back(m, plan.Length);
            plan.Length = Align4(plan.Length + materials[m].Picture.size());
        }
    }
    GroupObjects(store, materials, info.NodePerObject, plan);
    TObjectPolygons object;
    for (TMeshSummary& mesh : plan.Meshes) {
        for (size_t i = mesh.FirstObject; i < mesh.EndObject; ++i) {
            const int k = plan.Objects[i];
            LayOutObject(store.Object(k), k, plan.Layout, object);
            if (uint64_t{mesh.Vertices} + object.Vertices.size() > std::numeric_limits<uint32_t>::max())
                throw std::runtime_error("more vertices on one layer than glTF can number");
            Summarise(object, mesh);
        }
        plan.VertexCount += mesh.Vertices;
        plan.IndexCount += mesh.Indices;
        // A 16-bit index may not be 65535, the value that restarts a primitive.
        plan.WideIndices = plan.WideIndices || mesh.Vertices > 65535;
    }
    plan.VertexOffset = plan.Length;
    plan.IndexOffset = plan.VertexOffset + plan.VertexCount * plan.VertexStride();
    plan.Length = plan.IndexOffset + plan.IndexCount * plan.IndexSize();
    return plan;
}

json Asset(const TExportInfo& info)
{
    json asset = {{"version", "2.0"}, {"generator", Utf8Text(info.ProgramName)}};
    json extras = json::object();
    if (!info.Definition.empty()) extras["definition"] = Utf8Text(info.Definition);
    if (info.Seed) extras["seed"] = *info.Seed;
    if (!extras.empty()) asset["extras"] = std::move(extras);
    return asset;
}

void WriteMaterials(TJsonObjectWriter& writer, const std::vector<TLayerMaterial>& materials, bool embed)
{
    json list = json::array(), textures = json::array(), images = json::array();
    for (const TLayerMaterial& material : materials) {
        json pbr = {{"metallicFactor", 0}};
        if (embed ? !material.Picture.empty() : !material.Texture.empty()) {
            // The base colour stays white, so the picture shows as the viewer shows it.
            pbr["baseColorTexture"] = {{"index", textures.size()}};
            textures.push_back({{"source", images.size()}, {"sampler", 0}});
            if (embed) images.push_back({{"bufferView", images.size()}, {"mimeType", material.MimeType}});
            else images.push_back({{"uri", FileUri(material.Texture)}});
        } else {
            const auto [r, g, b] = LayerRGB(material.Layer);
            pbr["baseColorFactor"] = {r, g, b, 1.0f};
        }
        list.push_back({{"name", MaterialName(material.Layer)}, {"pbrMetallicRoughness", pbr}, {"doubleSided", true}});
    }
    if (!list.empty()) writer.Member("materials", list);
    if (textures.empty()) return;
    writer.Member("textures", textures);
    writer.Member("images", images);
    writer.Member("samplers", json::array({json::object()}));
}

void WriteNodes(TJsonObjectWriter& writer, const TBufferPlan& plan)
{
    writer.BeginArray("nodes");
    json root = {{"name", "model"}};
    if (!plan.Meshes.empty()) {
        json children = json::array();
        for (size_t m = 0; m < plan.Meshes.size(); ++m) children.push_back(m + 1);
        root["children"] = std::move(children);
    }
    writer.Element(root);
    json node = {{"mesh", 0}, {"name", ""}};
    for (size_t m = 0; m < plan.Meshes.size(); ++m) {
        node["mesh"] = m;
        node["name"] = plan.Meshes[m].Name;
        writer.Element(node);
    }
    writer.EndArray();
}

void WriteMeshes(TJsonObjectWriter& writer, const TBufferPlan& plan)
{
    json primitive = {{"attributes", {{"POSITION", 0}, {"TEXCOORD_0", 0}}}, {"indices", 0}, {"material", 0}};
    json mesh = {{"name", ""}, {"primitives", json::array()}};
    const size_t per = plan.AccessorsPerMesh();
    writer.BeginArray("meshes");
    for (size_t m = 0; m < plan.Meshes.size(); ++m) {
        primitive["attributes"]["POSITION"] = per * m;
        if (plan.Layout.Normals) primitive["attributes"]["NORMAL"] = per * m + 1;
        primitive["attributes"]["TEXCOORD_0"] = per * m + per - 2;
        primitive["indices"] = per * m + per - 1;
        primitive["material"] = plan.Meshes[m].Material;
        mesh["name"] = plan.Meshes[m].Name;
        mesh["primitives"] = json::array({primitive});
        writer.Element(mesh);
    }
    writer.EndArray();
}

// Three accessors per mesh (four with normals): positions, normals and
// texture coordinates interleaved in the vertex view, then its indices in
// the index view.
void WriteAccessors(TJsonObjectWriter& writer, const TBufferPlan& plan, size_t vertexView)
{
    const uint64_t stride = plan.VertexStride();
    json position = {{"bufferView", vertexView},
                     {"byteOffset", 0},
                     {"componentType", FloatComponents},
                     {"count", 0},
                     {"type", "VEC3"},
                     {"min", json::array()},
                     {"max", json::array()}};
    json normal = {{"bufferView", vertexView},
                   {"byteOffset", 0},
                   {"componentType", FloatComponents},
                   {"count", 0},
                   {"type", "VEC3"}};
    json texture = {{"bufferView", vertexView},
                    {"byteOffset", 0},
                    {"componentType", FloatComponents},
                    {"count", 0},
                    {"type", "VEC2"}};
    json indices = {{"bufferView", vertexView + 1},
                    {"byteOffset", 0},
                    {"componentType", plan.WideIndices ? IntComponents : ShortComponents},
                    {"count", 0},
                    {"type", "SCALAR"}};
    writer.BeginArray("accessors");
    uint64_t firstVertex = 0, firstIndex = 0;
    for (const TMeshSummary& mesh : plan.Meshes) {
        position["byteOffset"] = firstVertex * stride;
        position["count"] = mesh.Vertices;
        position["min"] = mesh.Min;
        position["max"] = mesh.Max;
        normal["byteOffset"] = firstVertex * stride + 12;
        normal["count"] = mesh.Vertices;
        texture["byteOffset"] = firstVertex * stride + stride - 8;
        texture["count"] = mesh.Vertices;
        indices["byteOffset"] = firstIndex * plan.IndexSize();
        indices["count"] = mesh.Indices;
        writer.Element(position);
        if (plan.Layout.Normals) writer.Element(normal);
        writer.Element(texture);
        writer.Element(indices);
        firstVertex += mesh.Vertices;
        firstIndex += mesh.Indices;
    }
    writer.EndArray();
}

void WriteBufferMembers(TJsonObjectWriter& writer, const TBufferPlan& plan,
                        const std::vector<TLayerMaterial>& materials, const std::string& binUri)
{
    json views = json::array();
    for (const auto& [material, offset] : plan.Pictures)
        views.push_back({{"buffer", 0}, {"byteOffset", offset}, {"byteLength", materials[material].Picture.size()}});
    if (!plan.Meshes.empty()) {
        views.push_back({{"buffer", 0},
                         {"byteOffset", plan.VertexOffset},
                         {"byteLength", plan.VertexCount * plan.VertexStride()},
                         {"byteStride", plan.VertexStride()},
                         {"target", ArrayBufferTarget}});
        views.push_back({{"buffer", 0},
                         {"byteOffset", plan.IndexOffset},
                         {"byteLength", plan.IndexCount * plan.IndexSize()},
                         {"target", ElementArrayBufferTarget}});
    }
    if (!views.empty()) writer.Member("bufferViews", views);
    if (plan.Length == 0) return;
    json buffer = {{"byteLength", plan.Length}};
    if (!binUri.empty()) buffer["uri"] = FileUri(binUri);
    writer.Member("buffers", json::array({buffer}));
}

std::string BuildJson(const TBufferPlan& plan, const TExportInfo& info, const std::vector<TLayerMaterial>& materials,
                      const std::string& binUri)
{
    std::string text;
    text.reserve(4096 + 640 * plan.Meshes.size()); // about what a mesh's node, mesh and accessors take
    TJsonObjectWriter writer(text);
    writer.Member("asset", Asset(info));
    writer.Member("scene", 0);
    const json scene = {{"nodes", json::array({0})}};
    writer.Member("scenes", json::array({scene}));
    WriteNodes(writer, plan);
    if (!plan.Meshes.empty()) {
        WriteMeshes(writer, plan);
        WriteAccessors(writer, plan, plan.Pictures.size());
    }
    WriteMaterials(writer, materials, binUri.empty());
    WriteBufferMembers(writer, plan, materials, binUri);
    writer.End();
    return text;
}

// Every vertex as x, y, z, (nx, ny, nz,) u, v; the indices, gathered on the
// way and counted from each mesh's first vertex, follow them.
template <class TIndex> void WriteVerticesAndIndices(TOutBuffer& out, const TFaceStore& store, const TBufferPlan& plan)
{
    std::vector<TIndex> indices;
    indices.reserve(plan.IndexCount);
    TObjectPolygons object;
    for (const TMeshSummary& mesh : plan.Meshes) {
        uint32_t first = 0; // the object's first vertex in its mesh
        for (size_t i = mesh.FirstObject; i < mesh.EndObject; ++i) {
            const int k = plan.Objects[i];
            LayOutObject(store.Object(k), k, plan.Layout, object);
            for (const TWrittenVertex& vertex : object.Vertices) {
                const TVector& p = object.Position(vertex);
                out.Binary(p.X), out.Binary(p.Y), out.Binary(p.Z);
                if (plan.Layout.Normals) {
                    const TVector& n = object.Normals[vertex.Normal];
                    out.Binary(n.X), out.Binary(n.Y), out.Binary(n.Z);
                }
                const auto [u, v] = CornerTexCoord(vertex.Slot);
                // glTF counts v downwards from the picture's top row.
                out.Binary(u), out.Binary(1.0f - v);
            }
            for (const TPolygon& triangle : object.Polygons)
                for (int c = 0; c < 3; ++c) indices.push_back(static_cast<TIndex>(first + triangle.Vertex[c]));
            first += static_cast<uint32_t>(object.Vertices.size());
        }
    }
    out.Bytes(indices.data(), indices.size() * sizeof(TIndex));
}

void WriteBuffer(TOutBuffer& out, const TFaceStore& store, const TBufferPlan& plan,
                 const std::vector<TLayerMaterial>& materials)
{
    for (const auto& [material, offset] : plan.Pictures) {
        const std::string& picture = materials[material].Picture;
        out.Text(picture);
        out.Zeros(Align4(picture.size()) - picture.size());
    }
    if (plan.WideIndices) WriteVerticesAndIndices<uint32_t>(out, store, plan);
    else WriteVerticesAndIndices<uint16_t>(out, store, plan);
}

} // namespace

void WriteGltf(const TFaceStore& Store, std::ostream& Json, std::ostream& Bin, const std::string& BinUri,
               const TExportInfo& Info, const std::vector<TLayerMaterial>& Materials)
{
    const TBufferPlan plan = PlanBuffer(Store, Materials, Info, false);
    {
        TOutBuffer out(Json);
        out.Text(BuildJson(plan, Info, Materials, BinUri));
        out.Flush();
    }
    if (plan.Length == 0) return;
    TOutBuffer out(Bin);
    WriteBuffer(out, Store, plan, Materials);
    out.Flush();
}

void WriteGlb(const TFaceStore& Store, std::ostream& Out, const TExportInfo& Info,
              const std::vector<TLayerMaterial>& Materials)
{
    const TBufferPlan plan = PlanBuffer(Store, Materials, Info, true);
    std::string text = BuildJson(plan, Info, Materials, "");
    text.resize(Align4(text.size()), ' '); // the JSON chunk is padded with blanks
    const uint64_t binChunk = plan.Length == 0 ? 0 : 8 + Align4(plan.Length);
    const uint64_t total = 12 + 8 + text.size() + binChunk;
    if (total > std::numeric_limits<uint32_t>::max()) throw std::runtime_error("too large for a binary glTF file");

    TOutBuffer out(Out);
    out.Binary(uint32_t{0x46546C67}); // "glTF"
    out.Binary(uint32_t{2});
    out.Binary(static_cast<uint32_t>(total));
    out.Binary(static_cast<uint32_t>(text.size()));
    out.Binary(uint32_t{0x4E4F534A}); // "JSON"
    out.Text(text);
    std::string().swap(text);
    if (binChunk != 0) {
        out.Binary(static_cast<uint32_t>(binChunk - 8));
        out.Binary(uint32_t{0x004E4942}); // "BIN"
        WriteBuffer(out, Store, plan, Materials);
        out.Zeros(Align4(plan.Length) - plan.Length);
    }
    out.Flush();
}

std::string FileUri(const std::string& Name)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string uri;
    for (const char c : Name) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                           c == '.' || c == '_' || c == '~';
        if (plain) uri += c;
        else uri.append({'%', hex[byte >> 4], hex[byte & 15]});
    }
    return uri;
}

} // namespace verdel
