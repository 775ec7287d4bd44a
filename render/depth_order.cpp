#include "render/depth_order.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

namespace verdel {

uint32_t TDepthOrder::DepthBits(float Depth)
{
    // -0 equals +0, so both take the bits of +0; the bits of a negative
    // number are turned over so that unsigned order is the order of depths.
    if (Depth == 0) Depth = 0;
    uint32_t bits;
    std::memcpy(&bits, &Depth, sizeof bits);
    return (bits & 0x80000000u) ? ~bits : bits | 0x80000000u;
}

TDepthOrder::TKey TDepthOrder::MakeKey(float Depth, int32_t Position)
{
    // NaN is never strictly smaller than anything, so it is never chosen from
    // a later position: +infinity behaves the same there (a NaN at position i
    // itself is handled in Sort).
    if (std::isnan(Depth)) Depth = std::numeric_limits<float>::infinity();
    return (static_cast<TKey>(DepthBits(Depth)) << 32) | static_cast<uint32_t>(Position);
}

void TDepthOrder::RadixSort()
{
    // Four stable passes of eight bits, least significant first; a pass
    // whose byte is the same for every key is left out.
    int32_t* from = ByDepth.data();
    int32_t* to = Scratch.data();
    for (int shift = 0; shift < 32; shift += 8) {
        std::array<int32_t, 257> start{};
        for (int p = 0; p < ObjectCount; ++p) ++start[((Keys[from[p]] >> shift) & 0xFF) + 1];
        if (*std::max_element(start.begin(), start.end()) == ObjectCount) continue;
        for (int b = 0; b < 256; ++b) start[b + 1] += start[b];
        for (int p = 0; p < ObjectCount; ++p) to[start[(Keys[from[p]] >> shift) & 0xFF]++] = from[p];
        std::swap(from, to);
    }
    if (from != ByDepth.data()) std::copy(from, from + ObjectCount, ByDepth.data());
}

bool TDepthOrder::SortWithoutNaN(const TFaceStore& Store)
{
    for (int p = 0; p < ObjectCount; ++p) {
        const float depth = Store.Objects[p].Depth;
        if (std::isnan(depth)) return false;
        Keys[p] = DepthBits(depth);
        ByDepth[p] = p;
        Order[p] = p + 1;
        PositionOf[p] = p;
    }
    RadixSort();
    // Step i of the selection sort takes the smallest depth left, and of the
    // objects with that depth the one now nearest the front. While one
    // depth's objects are taken, none of the others moves (the entry at i
    // that an exchange sends back has a larger depth, or would have been
    // taken itself), so they are taken in the order of their positions when
    // the first of them is. The exchanges are replayed to know those positions.
    int i = 0;
    for (int first = 0; first < ObjectCount;) {
        int end = first + 1;
        while (end < ObjectCount && Keys[ByDepth[end]] == Keys[ByDepth[first]]) ++end;
        if (end - first > 1)
            std::sort(ByDepth.begin() + first, ByDepth.begin() + end,
                      [this](int32_t a, int32_t b) { return PositionOf[a] < PositionOf[b]; });
        for (int g = first; g < end; ++g, ++i) {
            const int32_t object = ByDepth[g];
            const int32_t j = PositionOf[object];
            const int32_t displaced = Order[i] - 1;
            Order[j] = displaced + 1;
            PositionOf[displaced] = j;
            Order[i] = object + 1;
            PositionOf[object] = i;
        }
        first = end;
    }
    return true;
}

void TDepthOrder::Build(const TFaceStore& Store)
{
    LeafBase = 1;
    while (LeafBase < ObjectCount) LeafBase *= 2;
    for (int p = 0; p < LeafBase; ++p) {
        Tree[LeafBase + p] = p < ObjectCount ? MakeKey(Store.Objects[p].Depth, p) : Settled;
        if (p < ObjectCount) Order[p] = p + 1;
    }
    for (int node = LeafBase - 1; node >= 1; --node) Join(node);
}

void TDepthOrder::Update(int Position, TKey Key)
{
    int node = LeafBase + Position;
    Tree[node] = Key;
    for (node /= 2; node >= 1; node /= 2) Join(node);
}

void TDepthOrder::Sort(const TFaceStore& Store)
{
    ObjectCount = std::clamp(Store.ObjectCount, 0, MaxObjects);
    if (ObjectCount == 0 || SortWithoutNaN(Store)) return;
    Build(Store);
    for (int i = 0; i + 1 < ObjectCount; ++i) {
        // The selection starts from entry i's own depth: when that is NaN no
        // later depth is strictly smaller, so the entry stays.
        const float own = Store.Objects[Order[i] - 1].Depth;
        const int j = std::isnan(own) ? i : static_cast<int>(Tree[1] & 0xFFFFFFFFu);
        if (j != i) {
            std::swap(Order[i], Order[j]);
            Update(j, MakeKey(Store.Objects[Order[j] - 1].Depth, j));
        }
        Update(i, Settled);
    }
}

} // namespace verdel
