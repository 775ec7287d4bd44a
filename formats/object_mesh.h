// One object of the face store as a mesh: its vertex table and its faces.
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

} // namespace verdel
