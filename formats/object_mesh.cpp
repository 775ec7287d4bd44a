#include "formats/object_mesh.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

#include "engine/primitives.h"

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

// V as a unit vector, scaled first so that tiny and huge vectors keep their
// direction; Otherwise when V has no direction (zero or not finite).
TVector UnitOr(TVector v, TVector otherwise)
{
    const float largest = std::max({std::fabs(v.X), std::fabs(v.Y), std::fabs(v.Z)});
    if (!(largest > 0) || !std::isfinite(largest)) return otherwise;
    return Normalise({v.X / largest, v.Y / largest, v.Z / largest});
}

// The unit normal of stored face F: the sum of its triangles' cross products.
TVector FaceNormal(const TObjectMesh& mesh, size_t f)
{
    const auto at = [&](size_t i) { return mesh.Vertices[static_cast<size_t>(mesh.Faces[f][i] - 1)]; };
    const TVector p0 = at(0);
    const TVector sum = Cross(at(1) - p0, at(2) - p0) + Cross(at(2) - p0, at(3) - p0);
    return UnitOr(sum, {0, 0, 1});
}

// The normal of a corner of face F at vertex Index: its place in Normals,
// added on first use.
uint32_t CornerNormal(TObjectPolygons& out, bool curved, uint32_t f, int32_t index)
{
    int32_t& at = curved ? out.VertexNormalAt[static_cast<size_t>(index)] : out.FaceNormalAt[f];
    if (at < 0) {
        at = static_cast<int32_t>(out.Normals.size());
        const TVector& own = out.FaceNormals[f];
        out.Normals.push_back(curved ? UnitOr(out.VertexSums[static_cast<size_t>(index)], own) : own);
    }
    return static_cast<uint32_t>(at);
}

// Vertices with normals: one per (vertex, texture slot, normal), in order of first use.
void AssignNormalVertices(TObjectPolygons& out, bool texCoords)
{
    out.Lookup.assign((out.Mesh.Vertices.size() + 1) * 4, -1);
    out.NextSame.clear();
    for (TPolygon& polygon : out.Polygons)
        for (int i = 0; i < polygon.Count; ++i) {
            const int slot = texCoords ? polygon.Slot[i] : 0;
            int32_t& newest = out.Lookup[static_cast<size_t>(polygon.Index[i]) * 4 + static_cast<size_t>(slot)];
            int32_t vertex = newest;
            while (vertex >= 0 && out.Vertices[static_cast<size_t>(vertex)].Normal != polygon.Normal[i])
                vertex = out.NextSame[static_cast<size_t>(vertex)];
            if (vertex < 0) {
                vertex = static_cast<int32_t>(out.Vertices.size());
                out.Vertices.push_back({polygon.Index[i], slot, polygon.Normal[i]});
                out.NextSame.push_back(newest);
                newest = vertex;
            }
            polygon.Vertex[i] = static_cast<uint32_t>(vertex);
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
    for (size_t f = 0; f < Out.Mesh.Faces.size(); ++f) {
        const size_t first = Out.Polygons.size();
        AddFacePolygons(Out.Mesh.Faces[f], Layout.Triangles, Out.Polygons);
        for (size_t p = first; p < Out.Polygons.size(); ++p) Out.Polygons[p].Face = static_cast<uint32_t>(f);
    }
    if (Layout.Normals) {
        AssignNormals(Out);
        AssignNormalVertices(Out, Layout.TexCoords);
    } else if (Layout.TexCoords) {
        AssignTexturedVertices(Out);
    } else {
        AssignSharedVertices(Out);
    }
}

void AssignNormals(TObjectPolygons& Object)
{
    const TObjectMesh& mesh = Object.Mesh;
    const TSolidKind kind = SolidKindOf(mesh.Faces);
    Object.Normals.clear();
    Object.FaceNormals.clear();
    Object.FaceNormalAt.assign(mesh.Faces.size(), -1);
    Object.VertexNormalAt.assign(mesh.Vertices.size() + 1, -1);
    Object.VertexSums.assign(mesh.Vertices.size() + 1, TVector{});
    for (size_t f = 0; f < mesh.Faces.size(); ++f) {
        const auto& face = mesh.Faces[f];
        Object.FaceNormals.push_back(FaceNormal(mesh, f));
        if (!CurvedFace(kind, static_cast<int>(f))) continue;
        // Each vertex of the face once, however often the face repeats it.
        for (auto corner = face.begin(); corner != face.end(); ++corner)
            if (std::find(face.begin(), corner, *corner) == corner) {
                TVector& sum = Object.VertexSums[static_cast<size_t>(*corner)];
                sum = sum + Object.FaceNormals[f];
            }
    }
    for (TPolygon& polygon : Object.Polygons) {
        const bool curved = CurvedFace(kind, static_cast<int>(polygon.Face));
        for (int i = 0; i < polygon.Count; ++i)
            polygon.Normal[i] = CornerNormal(Object, curved, polygon.Face, polygon.Index[i]);
    }
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
