#include "formats/ply_writer.h"

#include <algorithm>
#include <ostream>
#include <stdexcept>

#include "formats/object_mesh.h"
#include "formats/out_buffer.h"

namespace verdel {

namespace {

char Printable(char c) { return c >= 0x20 && c < 0x7F ? c : '?'; }

// The counts the header declares, found by laying out every object once.
void CountElements(const TFaceStore& store, const TPolygonLayout& layout, TObjectPolygons& object, uint64_t& vertices,
                   uint64_t& faces)
{
    vertices = faces = 0;
    for (int k = 1; k <= store.ObjectCount; ++k) {
        if (!store.Object(k).ModelFaces) continue;
        LayOutObject(store.Object(k), k, layout, object);
        vertices += object.Vertices.size();
        faces += object.Polygons.size();
    }
    if (vertices > INT32_MAX) throw std::runtime_error("more vertices than a PLY face can number");
}

void Header(TOutBuffer& out, const std::vector<std::string>& notes, bool normals, uint64_t vertices, uint64_t faces)
{
    out.Text("ply\nformat binary_little_endian 1.0\n");
    for (std::string line : notes) {
        std::transform(line.begin(), line.end(), line.begin(), Printable);
        out.Text("comment ");
        out.Text(line);
        out.Char('\n');
    }
    out.Text("element vertex ");
    out.Integer(static_cast<long long>(vertices));
    out.Text("\nproperty float x\nproperty float y\nproperty float z\n");
    if (normals) out.Text("property float nx\nproperty float ny\nproperty float nz\n");
    out.Text("property uchar red\nproperty uchar green\nproperty uchar blue\nproperty uchar alpha\n"
             "element face ");
    out.Integer(static_cast<long long>(faces));
    out.Text("\nproperty list uchar int vertex_indices\nend_header\n");
}

void Vertices(TOutBuffer& out, const TFaceStore& store, const TPolygonLayout& layout, TObjectPolygons& object)
{
    for (int k = 1; k <= store.ObjectCount; ++k) {
        const TFaceObject& source = store.Object(k);
        if (!source.ModelFaces) continue;
        LayOutObject(source, k, layout, object);
        const TColor c = source.ColorIndex <= LayerCount ? LayerColors[source.ColorIndex] : 0;
        const uint8_t rgba[4] = {static_cast<uint8_t>(c & 0xFF), static_cast<uint8_t>((c >> 8) & 0xFF),
                                 static_cast<uint8_t>((c >> 16) & 0xFF), 0xFF};
        for (const TWrittenVertex& vertex : object.Vertices) {
            const TVector& p = object.Position(vertex);
            out.Binary(p.X);
            out.Binary(p.Y);
            out.Binary(p.Z);
            if (layout.Normals) {
                const TVector& n = object.Normals[vertex.Normal];
                out.Binary(n.X), out.Binary(n.Y), out.Binary(n.Z);
            }
            out.Bytes(rgba, 4);
        }
    }
}

void Faces(TOutBuffer& out, const TFaceStore& store, const TPolygonLayout& layout, TObjectPolygons& object)
{
    int32_t first = 0; // the object's first vertex in the file
    for (int k = 1; k <= store.ObjectCount; ++k) {
        if (!store.Object(k).ModelFaces) continue;
        LayOutObject(store.Object(k), k, layout, object);
        for (const TPolygon& polygon : object.Polygons) {
            out.Binary(static_cast<uint8_t>(polygon.Count));
            for (int i = 0; i < polygon.Count; ++i) out.Binary(first + static_cast<int32_t>(polygon.Vertex[i]));
        }
        first += static_cast<int32_t>(object.Vertices.size());
    }
}

} // namespace

void WritePly(const TFaceStore& Store, std::ostream& Out, const std::vector<std::string>& Notes, bool SmoothNormals)
{
    const TPolygonLayout layout{.Normals = SmoothNormals};
    TObjectPolygons object;
    uint64_t vertices = 0, faces = 0;
    CountElements(Store, layout, object, vertices, faces);
    TOutBuffer out(Out);
    Header(out, Notes, SmoothNormals, vertices, faces);
    Vertices(out, Store, layout, object);
    Faces(out, Store, layout, object);
    out.Flush();
}

} // namespace verdel
