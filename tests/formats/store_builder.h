// Small face stores built through AddMesh, as the turtle builds them.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/mesh_builder.h"

namespace verdel::test {

// A vertex number list of one face; a triangle repeats its third corner.
using TFace = std::array<uint16_t, 4>;

class TStoreBuilder {
public:
    TStoreBuilder() { Builder.Reset(); }

    // Appends an object with these vertices (numbered from 1) and faces.
    TStoreBuilder& Add(const std::vector<TVector>& vertices, const std::vector<TFace>& faces, int layer)
    {
        for (size_t i = 0; i < vertices.size(); ++i) Builder.MeshVertex(static_cast<int>(i) + 1) = vertices[i];
        for (size_t j = 0; j < faces.size(); ++j) Builder.MeshFace(static_cast<int>(j) + 1) = faces[j];
        Builder.AddMesh(static_cast<int>(vertices.size()), static_cast<int>(faces.size()), layer);
        return *this;
    }

    // One square face (1, 2, 3, 4) at height z: P0 (1, 1), P1 (1, 0), P2 (0, 0), P3 (0, 1).
    TStoreBuilder& AddSquare(int layer, float z = 0)
    {
        return Add({{1, 1, z}, {1, 0, z}, {0, 0, z}, {0, 1, z}}, {{1, 2, 3, 4}}, layer);
    }

    // The block the turtle draws: 8 vertices, 6 quadrilaterals.
    TStoreBuilder& AddBlock(int layer)
    {
        return Add({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 2}, {1, 0, 2}, {1, 1, 2}, {0, 1, 2}},
                   {{1, 5, 6, 2}, {2, 6, 7, 3}, {3, 7, 8, 4}, {4, 8, 5, 1}, {1, 2, 3, 4}, {8, 7, 6, 5}}, layer);
    }

    // A square pyramid: four triangles stored with a repeated corner around apex 5, and its base.
    TStoreBuilder& AddPyramid(int layer)
    {
        return Add({{1, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {0, -1, 0}, {0, 0, 3}},
                   {{5, 1, 2, 2}, {5, 2, 3, 3}, {5, 3, 4, 4}, {5, 4, 1, 1}, {1, 2, 3, 4}}, layer);
    }

    std::unique_ptr<TFaceStore> Store = std::make_unique<TFaceStore>();
    TMeshBuilder Builder{*Store};
};

} // namespace verdel::test
