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
// Without NaN depths a faster way gives it too: the objects sorted by depth,
// the exchanges replayed (see SortWithoutNaN).
class TDepthOrder {
public:
    // Orders objects 1..ObjectCount of Store by their Depth.
    void Sort(const TFaceStore& Store);

    // Number of objects ordered by the last Sort.
    int Count() const { return ObjectCount; }
    // The object number (from 1) drawn at place i (from 0).
    int32_t operator[](int i) const { return Order[i]; }

    // A depth's bits made monotonic: unsigned order is the order of depths,
    // -0 and +0 alike; a NaN takes bits of its own.
    static uint32_t DepthBits(float Depth);

private:
    // (depth, position) packed so that one unsigned comparison orders them:
    // the depth's bits made monotonic in the high half, the position below.
    using TKey = uint64_t;
    static TKey MakeKey(float Depth, int32_t Position);
    bool SortWithoutNaN(const TFaceStore& Store);
    void RadixSort();
    static constexpr TKey Settled = ~TKey{0}; // a position already placed: loses to every other key
    void Build(const TFaceStore& Store);
    void Update(int Position, TKey Key);
    void Join(int Node) { Tree[Node] = std::min(Tree[2 * Node], Tree[2 * Node + 1]); }

    static constexpr int Leaves = 32768; // the first power of two >= MaxObjects
    std::array<int32_t, MaxObjects> Order{};
    std::array<TKey, 2 * Leaves> Tree{};
    std::array<uint32_t, MaxObjects> Keys{};      // DepthBits of each object (from 0)
    std::array<int32_t, MaxObjects> ByDepth{};    // objects (from 0) in order of their keys
    std::array<int32_t, MaxObjects> Scratch{};    // the radix sort's other half
    std::array<int32_t, MaxObjects> PositionOf{}; // where each object (from 0) is in Order
    int ObjectCount = 0;
    int LeafBase = 1;
};

} // namespace verdel
