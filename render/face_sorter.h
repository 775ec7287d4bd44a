// The faces of one object put back to front, for objects whose face lists
// carry no drawing order of their own (meshes read from files).
#pragma once

#include <cstdint>
#include <vector>

#include "engine/face_store.h"
#include "render/face_cache.h"

namespace verdel {

// Orders the view faces of one object by depth, farthest first: by the mean
// z of their corners (the eye looks along -z), faces of equal depth in list
// order. Each thread of the renderer has its own; it keeps its buffers from
// object to object, so they grow only to the largest object sorted.
class TFaceSorter {
public:
    // Sorts Object's ViewFaces (their corners as translated for this frame).
    void Sort(const TFaceObject& Object);

    // The faces of the last Sort in drawing order.
    const std::vector<const TFaceNode*>& Faces() const { return Ordered; }

    // Puts the cached records of the last sorted object, one per face in
    // list order starting at First, into drawing order.
    void Reorder(TCachedFace* First);

private:
    std::vector<uint64_t> Keys; // depth bits made monotonic, then the list position
    std::vector<const TFaceNode*> Nodes;
    std::vector<const TFaceNode*> Ordered;
    std::vector<TCachedFace> Records;
};

} // namespace verdel
