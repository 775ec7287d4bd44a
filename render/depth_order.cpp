#include "render/depth_order.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

namespace verdel {

TDepthOrder::TKey TDepthOrder::MakeKey(float Depth, int32_t Position)
{
    // NaN is never strictly smaller than anything, so it is never chosen from
    // a later position: +infinity behaves the same there (a NaN at position i
    // itself is handled in Sort). -0 equals +0, so both take the bits of +0.
    if (std::isnan(Depth)) Depth = std::numeric_limits<float>::infinity();
    if (Depth == 0) Depth = 0;
    uint32_t bits;
    std::memcpy(&bits, &Depth, sizeof bits);
    bits = (bits & 0x80000000u) ? ~bits : bits | 0x80000000u;
    return (static_cast<TKey>(bits) << 32) | static_cast<uint32_t>(Position);
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
    if (ObjectCount == 0) return;
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
