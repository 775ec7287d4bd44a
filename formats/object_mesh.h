// One object of the face store as a mesh: its vertex table and its faces, and
// the polygons and vertices a mesh file writes for it.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "engine/face_store.h"

namespace verdel {

// The mesh an object was built from. Vertex i (from 1) is Vertices[i - 1];
// each face holds its four 1-based corner indices, a triangle repeating its third.
struct TObjectMesh {
    std::vector<TVector> Vertices;
    std::vector<std::array<int32_t, 4>> Faces;
};

// Rebuilds object k's vertex table from its ModelFaces: every corner gives
// the vertex of its CornerIndex its coordinates. The table holds at least
// VertexCount vertices and grows to the largest index used. Throws
// std::runtime_error naming the object for a corner index below 1 or a
// coordinate that is not finite.
void CollectObjectMesh(const TFaceObject& Object, int K, TObjectMesh& Mesh);

// How a file wants an object's faces laid out.
struct TPolygonLayout {
    bool Triangles = false; // quadrilaterals split into (P0 P1 P2) and (P0 P2 P3)
    bool TexCoords = false; // a vertex is split where its corners take different texture places
    bool Normals = false;   // corners take normals (AssignNormals); a vertex is split where they differ
};

// One polygon as written: up to four corners, each with its 1-based vertex
// number, its texture slot (the corner of the stored face it came from, 0
// for P0 to 3 for P3), its written vertex (counted from 0 in the object) and
// its normal (in the object's Normals, once AssignNormals has run).
struct TPolygon {
    int Count = 0;
    int32_t Index[4] = {};
    int Slot[4] = {};
    uint32_t Vertex[4] = {};
    uint32_t Normal[4] = {};
    uint32_t Face = 0; // the stored face it comes from, counted from 0
};

// A written vertex: the object's vertex number (from 1), its texture slot
// (0 when the layout has no texture coordinates) and its normal (0 when the
// layout has no normals).
struct TWrittenVertex {
    int32_t Index = 0;
    int Slot = 0;
    uint32_t Normal = 0;
};

// An object laid out for a file: its mesh, its polygons, the vertices they
// use and their normals. One is reused from object to object.
struct TObjectPolygons {
    TObjectMesh Mesh;
    std::vector<TPolygon> Polygons;
    std::vector<TWrittenVertex> Vertices;
    std::vector<TVector> Normals; // unit vectors
    // Scratch: a vertex key's written vertex, -1 when not given yet; the
    // written vertex given before it for the same key; the faces' normals;
    // each vertex's sum of curved face normals; where a face's or a vertex's
    // normal went in Normals, -1 when not yet.
    std::vector<int32_t> Lookup, NextSame;
    std::vector<TVector> FaceNormals, VertexSums;
    std::vector<int32_t> FaceNormalAt, VertexNormalAt;

    const TVector& Position(const TWrittenVertex& Vertex) const
    {
        return Mesh.Vertices[static_cast<size_t>(Vertex.Index - 1)];
    }
};

// Lays out object k: a stored triangle (fourth corner repeating the third)
// stays one triangle, a quadrilateral stays whole or splits along its P0-P2
// diagonal. Without TexCoords the written vertices are the vertices the
// faces use, in vertex order; with TexCoords a vertex is written once for
// each texture slot it takes, in order of first use. Throws as CollectObjectMesh.
void LayOutObject(const TFaceObject& Object, int K, const TPolygonLayout& Layout, TObjectPolygons& Out);

// Gives every polygon corner a normal in Object.Normals, as tools that
// shade smoothly expect: on the curved faces of a tube or a cone (see
// SolidKindOf) the normalised sum of the normals of the curved faces about
// the corner's vertex, so that a ring shades round; on every other face
// (blocks, pyramids, a cone's base, polygons, meshes read from files) the
// face's own normal. A face's normal follows the winding of its corners and
// is summed over its triangles (P0 P1 P2, P0 P2 P3), so a repeated corner
// does not spoil it. Normals come in order of first use; a face without
// area takes (0, 0, 1), and a vertex whose sum is 0 its face's normal.
void AssignNormals(TObjectPolygons& Object);

// The flat normal of a polygon from its first three corners, as the renderer shades it.
TVector PolygonNormal(const TObjectPolygons& Object, const TPolygon& Polygon);

// The texture place of face corner Slot (0..3) as the textured view maps the
// picture: (u, v) with v counted upwards from the picture's bottom row. P0
// shows the picture's top-right, P1 its bottom-right, P2 its bottom-left, P3
// its top-left.
std::array<float, 2> CornerTexCoord(int Slot);

} // namespace verdel
