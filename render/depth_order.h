// The painter's order of the objects: a selection sort by depth, computed fast.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "engine/face_store.h"

namespace verdel {

// The drawing order of a store's objects. It is the order a selection sort
// with exchanges leaves in a fresh copy of the object table: for each
// position i in turn the smallest Depth among positions i..n (the earliest
// on a tie, only a strictly smaller depth replacing the candidate) is
// exchanged with entry i. The same permutation comes from a tournament tree
// of (depth, position) minima in O(n log n); the store itself is not reordered.
class TDepthOrder {
public:
    // Orders objects 1..ObjectCount of Store by their Depth.
    void Sort(const TFaceStore& Store);

    // Number of objects ordered by the last Sort.
    int Count() const { return ObjectCount; }
    // The object number (from 1) drawn at place i (from 0).
    int32_t operator[](int i) const { return Order[i]; }

private:
    // (depth, position) packed so that one unsigned comparison orders them:
    // the depth's bits made monotonic in the high half, the position below.
    using TKey = uint64_t;
    static TKey MakeKey(float Depth, int32_t Position);
    static constexpr TKey Settled = ~TKey{0}; // a position already placed: loses to every other key
    void Build(const TFaceStore& Store);
    void Update(int Position, TKey Key);
    void Join(int Node) { Tree[Node] = std::min(Tree[2 * Node], Tree[2 * Node + 1]); }

    static constexpr int Leaves = 32768; // the first power of two >= MaxObjects
    std::array<int32_t, MaxObjects> Order{};
    std::array<TKey, 2 * Leaves> Tree{};
    int ObjectCount = 0;
    int LeafBase = 1;
};

} // namespace verdel
