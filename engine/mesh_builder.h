// Appending meshes to the face store: the shared mesh buffers and AddMesh.
#pragma once

#include <array>
#include <cstdint>

#include "engine/face_store.h"

namespace verdel {

// Largest mesh one object may have (a polygon can hold this many vertices).
constexpr int MaxMeshSize = 500;

// The last tube drawn, so that the next tube of its colour joins onto it.
struct TLastTube {
    int Color = 1;
    TVector End{1, 1, 1};
    std::array<TVector, 16> Ring{};
};

// One generation's mesh output: the buffers a primitive fills, the object
// counter and the tube joint, all writing into one face store.
class TMeshBuilder {
public:
    explicit TMeshBuilder(TFaceStore& store) : Store(store) {}

    // Starts a generation: no object generated or left out, no layer used, LastTube reset.
    void Reset();

    // Vertex i and face i of the shared buffers, counted from 1.
    TVector& MeshVertex(int i) { return MeshVertices[i - 1]; }
    std::array<uint16_t, 4>& MeshFace(int i) { return MeshFaces[i - 1]; }

    // Appends one object built from the first VertexCount vertices and
    // FaceCount faces of the buffers, with every coordinate rounded to ten
    // decimals. An object with a coordinate that is not a finite number (the
    // turtle's arithmetic overflowed) is left out and counted in
    // LeftOutObjects. Returns false, adding nothing, when the object table is full.
    bool AddMesh(int VertexCount, int FaceCount, int ColorIndex);

    TFaceStore& Store;
    int GeneratedObjects = 0;
    int LeftOutObjects = 0; // objects not added: a coordinate was not a finite number
    TLastTube LastTube;

private:
    std::array<TVector, MaxMeshSize> MeshVertices{};
    std::array<std::array<uint16_t, 4>, MaxMeshSize> MeshFaces{};
};

// A coordinate rounded to ten decimal places and read back as a Single, as if
// written as fixed-point text and converted again: residues such as 1e-12
// become 0 and ordinary values stay as they are.
float RoundToTenDecimals(float Value);

} // namespace verdel
