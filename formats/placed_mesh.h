// The neutral form of an imported scene: each mesh as one node places it.
// The importer child makes it from the mesh library's scene and sends it
// back; the face store is built from it.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "engine/vector_math.h"

struct aiScene;

namespace verdel {

// One mesh of a scene as one node places it.
struct TPlacedMesh {
    std::vector<TVector> Positions;  // every vertex of the mesh, placed by its node and the node's parents
    std::vector<uint32_t> FaceSizes; // each polygon's corner count, 3 or more (points and lines are left out)
    std::vector<uint32_t> Corners;   // the polygons' corners in order, as indices into Positions
    std::vector<uint8_t> FaceLayers; // each polygon's layer, 1..12

    void Clear();
};

// Calls Visit with every mesh of every node of Scene, each placed by its
// node's transformation and its parents', a node's meshes before its
// children's and children first to last (without recursion, however deep
// the nodes). A polygon's layer is its mesh material's (a material named
// after a layer colour takes that layer, any other the layer nearest its
// diffuse colour), or, in a mesh with vertex colours, the layer nearest its
// first corner's colour. Visit's mesh is reused for the next one.
void ForEachPlacedMesh(const aiScene& Scene, const std::function<void(const TPlacedMesh&)>& Visit);

} // namespace verdel
