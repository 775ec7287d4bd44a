#include "formats/stl_writer.h"

#include <ostream>
#include <stdexcept>

#include "formats/object_mesh.h"
#include "formats/out_buffer.h"

namespace verdel {

namespace {

uint64_t CountTriangles(const TFaceStore& store)
{
    uint64_t triangles = 0;
    for (int k = 1; k <= store.ObjectCount; ++k)
        for (const TFaceNode* face = store.Object(k).ModelFaces; face; face = face->Next)
            triangles += face->CornerIndex[3] == face->CornerIndex[2] ? 1 : 2;
    return triangles;
}

void Vector(TOutBuffer& out, const TVector& v)
{
    out.Binary(v.X);
    out.Binary(v.Y);
    out.Binary(v.Z);
}

} // namespace

void WriteStl(const TFaceStore& Store, std::ostream& Out, const std::string& Header)
{
    const uint64_t triangles = CountTriangles(Store);
    if (triangles > UINT32_MAX) throw std::runtime_error("more triangles than an STL file can count");
    TOutBuffer out(Out);
    std::string header = Header.substr(0, 80);
    header.resize(80, '\0');
    out.Text(header);
    out.Binary(static_cast<uint32_t>(triangles));
    TObjectPolygons object;
    for (int k = 1; k <= Store.ObjectCount; ++k) {
        if (!Store.Object(k).ModelFaces) continue;
        LayOutObject(Store.Object(k), k, {.Triangles = true}, object);
        for (const TPolygon& triangle : object.Polygons) {
            Vector(out, PolygonNormal(object, triangle));
            for (int i = 0; i < 3; ++i) Vector(out, object.Mesh.Vertices[static_cast<size_t>(triangle.Index[i] - 1)]);
            out.Binary(uint16_t{0});
        }
    }
    out.Flush();
}

} // namespace verdel
