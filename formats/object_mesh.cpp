#include "formats/object_mesh.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace verdel {

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

} // namespace verdel
