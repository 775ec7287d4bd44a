#include "formats/object_mesh.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace verdel {

namespace {

TPolygon MakePolygon(int32_t a, int32_t b, int32_t c, int slotA, int slotB, int slotC)
{
    TPolygon polygon;
    polygon.Count = 3;
    polygon.Index[0] = a, polygon.Index[1] = b, polygon.Index[2] = c;
    polygon.Slot[0] = slotA, polygon.Slot[1] = slotB, polygon.Slot[2] = slotC;
    return polygon;
}

void AddFacePolygons(const std::array<int32_t, 4>& face, bool triangles, std::vector<TPolygon>& polygons)
{
    if (face[3] == face[2]) {
        polygons.push_back(MakePolygon(face[0], face[1], face[2], 0, 1, 2));
    } else if (triangles) {
        polygons.push_back(MakePolygon(face[0], face[1], face[2], 0, 1, 2));
        polygons.push_back(MakePolygon(face[0], face[2], face[3], 0, 2, 3));
    } else {
        TPolygon polygon;
        polygon.Count = 4;
        for (int i = 0; i < 4; ++i) polygon.Index[i] = face[static_cast<size_t>(i)], polygon.Slot[i] = i;
        polygons.push_back(polygon);
    }
}

// Shared vertices: every vertex a polygon uses, in the object's vertex order.
void AssignSharedVertices(TObjectPolygons& out)
{
    out.Lookup.assign(out.Mesh.Vertices.size() + 1, -1);
    for (const TPolygon& polygon : out.Polygons)
        for (int i = 0; i < polygon.Count; ++i) out.Lookup[static_cast<size_t>(polygon.Index[i])] = 0;
    for (size_t index = 1; index < out.Lookup.size(); ++index)
        if (out.Lookup[index] == 0) {
            out.Lookup[index] = static_cast<int32_t>(out.Vertices.size());
            out.Vertices.push_back({static_cast<int32_t>(index), 0});
        }
    for (TPolygon& polygon : out.Polygons)
        for (int i = 0; i < polygon.Count; ++i)
            polygon.Vertex[i] = static_cast<uint32_t>(out.Lookup[static_cast<size_t>(polygon.Index[i])]);
}

// Textured vertices: one per (vertex, slot) pair, in order of first use.
void AssignTexturedVertices(TObjectPolygons& out)
{
    out.Lookup.assign((out.Mesh.Vertices.size() + 1) * 4, -1);
    for (TPolygon& polygon : out.Polygons)
        for (int i = 0; i < polygon.Count; ++i) {
            int32_t& vertex =
                out.Lookup[static_cast<size_t>(polygon.Index[i]) * 4 + static_cast<size_t>(polygon.Slot[i])];
            if (vertex < 0) {
                vertex = static_cast<int32_t>(out.Vertices.size());
                out.Vertices.push_back({polygon.Index[i], polygon.Slot[i]});
            }
            polygon.Vertex[i] = static_cast<uint32_t>(vertex);
        }
}

} // namespace

void CollectObjectMesh(const TFaceObject& Object, int K, TObjectMesh& Mesh)
{
    Mesh.Vertices.assign(static_cast<size_t>(std::max(Object.VertexCount, 0)), TVector{});
    Mesh.Faces.clear();
    for (const TFaceNode* face = Object.ModelFaces; face; face = face->Next) {
        for (int i = 0; i < 4; ++i) {
            const int index = face->CornerIndex[i];
            const TVector& c = face->Corners[i];
            if (index < 1)
                throw std::runtime_error("object " + std::to_string(K) + ": corner index " + std::to_string(index));
            if (!std::isfinite(c.X) || !std::isfinite(c.Y) || !std::isfinite(c.Z))
                throw std::runtime_error("object " + std::to_string(K) +
                                         " has a coordinate that is not a finite number");
            // Objects larger than their stated vertex count are written whole.
            if (static_cast<size_t>(index) > Mesh.Vertices.size()) Mesh.Vertices.resize(static_cast<size_t>(index));
            Mesh.Vertices[static_cast<size_t>(index - 1)] = c;
        }
        Mesh.Faces.push_back({face->CornerIndex[0], face->CornerIndex[1], face->CornerIndex[2], face->CornerIndex[3]});
    }
}

void LayOutObject(const TFaceObject& Object, int K, const TPolygonLayout& Layout, TObjectPolygons& Out)
{
    CollectObjectMesh(Object, K, Out.Mesh);
    Out.Polygons.clear();
    Out.Vertices.clear();
    for (const auto& face : Out.Mesh.Faces) AddFacePolygons(face, Layout.Triangles, Out.Polygons);
    if (Layout.TexCoords) AssignTexturedVertices(Out);
    else AssignSharedVertices(Out);
}

TVector PolygonNormal(const TObjectPolygons& Object, const TPolygon& Polygon)
{
    const auto at = [&](int i) { return Object.Mesh.Vertices[static_cast<size_t>(Polygon.Index[i] - 1)]; };
    const TVector p0 = at(0);
    return Normalise(Cross(at(1) - p0, at(2) - p0));
}

std::array<float, 2> CornerTexCoord(int Slot)
{
    static constexpr std::array<float, 2> places[4] = {{1, 1}, {1, 0}, {0, 0}, {0, 1}};
    return places[Slot & 3];
}

} // namespace verdel
