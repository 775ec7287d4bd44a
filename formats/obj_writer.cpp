#include "formats/obj_writer.h"

#include <ostream>

#include "formats/object_mesh.h"
#include "formats/out_buffer.h"

namespace verdel {

namespace {

void Comments(TOutBuffer& out, const std::vector<std::string>& lines)
{
    for (const std::string& line : lines) {
        out.Text(line.empty() ? "#" : "# ");
        out.Text(line);
        out.Char('\n');
    }
}

void Triple(TOutBuffer& out, std::string_view key, const TVector& v)
{
    out.Text(key);
    out.Number(v.X);
    out.Char(' ');
    out.Number(v.Y);
    out.Char(' ');
    out.Number(v.Z);
    out.Char('\n');
}

// Numbers in the file count from 1 over the whole file.
struct TObjCounts {
    long long Vertices = 0;
    long long Normals = 0;
};

// A group's faces; Normal gives the number of a polygon's corner's normal in the file.
template <class TNormalOf>
void WriteFaces(TOutBuffer& out, const TObjectPolygons& object, const TObjCounts& counts, TNormalOf normal)
{
    for (size_t p = 0; p < object.Polygons.size(); ++p) {
        const TPolygon& polygon = object.Polygons[p];
        out.Char('f');
        for (int i = 0; i < polygon.Count; ++i) {
            out.Char(' ');
            out.Integer(counts.Vertices + polygon.Vertex[i] + 1);
            out.Char('/');
            out.Integer(polygon.Slot[i] + 1);
            out.Char('/');
            out.Integer(normal(p, i));
        }
        out.Char('\n');
    }
}

// One group: flat normals, one per polygon; or with Smooth the normals AssignNormals gives.
void WriteGroup(TOutBuffer& out, int k, TObjectPolygons& object, int layer, bool smooth, TObjCounts& counts)
{
    out.Text("g object");
    out.Integer(k);
    out.Text("\nusemtl ");
    out.Text(MaterialName(layer));
    out.Char('\n');
    for (const TWrittenVertex& vertex : object.Vertices) Triple(out, "v ", object.Position(vertex));
    if (smooth) {
        AssignNormals(object);
        for (const TVector& normal : object.Normals) Triple(out, "vn ", normal);
        WriteFaces(out, object, counts, [&](size_t p, int i) { return counts.Normals + object.Polygons[p].Normal[i] + 1; });
        counts.Normals += static_cast<long long>(object.Normals.size());
    } else {
        for (const TPolygon& polygon : object.Polygons) Triple(out, "vn ", PolygonNormal(object, polygon));
        WriteFaces(out, object, counts, [&](size_t p, int) { return counts.Normals + static_cast<long long>(p) + 1; });
        counts.Normals += static_cast<long long>(object.Polygons.size());
    }
    counts.Vertices += static_cast<long long>(object.Vertices.size());
}

} // namespace

void WriteObj(const TFaceStore& Store, std::ostream& Out, const std::vector<std::string>& Notes,
              const std::string& MtlName, bool SmoothNormals)
{
    TOutBuffer out(Out);
    Comments(out, Notes);
    out.Text("mtllib ");
    out.Text(MtlName);
    out.Char('\n');
    // Texture place k belongs to the corner P(k-1) of every face.
    for (int slot = 0; slot < 4; ++slot) {
        const auto [u, v] = CornerTexCoord(slot);
        out.Text("vt ");
        out.Number(u);
        out.Char(' ');
        out.Number(v);
        out.Char('\n');
    }
    TObjectPolygons object;
    TObjCounts counts;
    for (int k = 1; k <= Store.ObjectCount; ++k) {
        const TFaceObject& source = Store.Object(k);
        if (!source.ModelFaces) continue;
        LayOutObject(source, k, {}, object);
        WriteGroup(out, k, object, source.ColorIndex, SmoothNormals, counts);
    }
    out.Flush();
}

void WriteMtl(std::ostream& Out, const std::string& Note, const std::vector<TLayerMaterial>& Materials)
{
    TOutBuffer out(Out);
    Comments(out, {Note});
    for (const TLayerMaterial& material : Materials) {
        const auto [r, g, b] = LayerRGB(material.Layer);
        out.Text("\nnewmtl ");
        out.Text(MaterialName(material.Layer));
        out.Text("\nKd ");
        Triple(out, "", {r, g, b});
        out.Text("illum 1\n");
        if (!material.Texture.empty()) {
            out.Text("map_Kd ");
            out.Text(material.Texture);
            out.Char('\n');
        }
    }
    out.Flush();
}

} // namespace verdel
