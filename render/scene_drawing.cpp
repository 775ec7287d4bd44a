// The drawing passes of RenderScene: outlines, flat fills and textured fills.
#include <algorithm>
#include <cstdint>

#include "render/gmp.h"

namespace verdel {

namespace {

// Objects are drawn in depth order, which jumps about in memory. The lines
// of an object's cached faces, or of its face nodes when it is drawn from
// them, are fetched a few objects ahead, and its table entry before that.
// (The store allocates a ViewFaces node after each ModelFaces node.) A
// prefetch never faults: a guess that misses only costs the fetch.
constexpr int PrefetchAhead = 4;
constexpr int MaxPrefetchedFaces = 24;

// Starts fetching one cache line. An asm statement on x86: GCC removes a
// loop made only of prefetch built-ins as if it did nothing.
inline void PrefetchLine(uintptr_t Address)
{
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
    asm volatile("prefetcht0 (%0)" : : "r"(Address));
#elif defined(__GNUC__)
    __builtin_prefetch(reinterpret_cast<const void*>(Address));
#else
    (void)Address;
#endif
}

void PrefetchObject(const TFaceStore& Store, const TFaceCache& Cache, int k)
{
    if (Cache.Holds(k)) {
        const auto first = reinterpret_cast<uintptr_t>(Cache.Begin(k));
        const auto last = reinterpret_cast<uintptr_t>(Cache.End(k));
        for (uintptr_t line = first; line < last; line += 64) PrefetchLine(line);
        return;
    }
    const TFaceObject& object = Store.Object(k);
    const auto first = reinterpret_cast<uintptr_t>(object.ViewFaces);
    if (!first) return;
    const int faces = std::min(object.FaceCount, MaxPrefetchedFaces);
    for (int f = 0; f < faces; ++f) {
        const uintptr_t node = first + 2 * sizeof(TFaceNode) * static_cast<uintptr_t>(f);
        PrefetchLine(node);
        PrefetchLine(node + sizeof(TFaceNode) - 1);
    }
}

// Prefetches for place i of the drawing order.
void PrefetchAheadOf(const TFaceStore& Store, const TFaceCache& Cache, const TDepthOrder& Order, int i)
{
    if (i + 2 * PrefetchAhead < Order.Count())
        PrefetchLine(reinterpret_cast<uintptr_t>(&Store.Object(Order[i + 2 * PrefetchAhead])));
    if (i + PrefetchAhead < Order.Count()) PrefetchObject(Store, Cache, Order[i + PrefetchAhead]);
}

// The layer (1..12) whose colour Color is, or 0 for any other colour.
int LayerOfColor(TColor Color)
{
    for (int layer = 1; layer <= LayerCount; ++layer)
        if (LayerColors[layer] == Color) return layer;
    return 0;
}

// Fixed texture coordinates of the corners: a three-corner face shows the
// triangle from the top middle of the texture to its bottom corners, a
// four-corner face the whole texture with P0 at the top right.
constexpr TTexCoord TriangleCoords[3] = {{63, 0}, {0, 127}, {127, 127}};
constexpr TTexCoord QuadCoords[4] = {{127, 0}, {127, 127}, {0, 127}, {0, 0}};

} // namespace

void TGMP::DrawWireframe(const TFaceStore& Store)
{
    TProjectedFace projected[2];
    const int count = std::clamp(Store.ObjectCount, 0, MaxObjects);
    for (int k = 1; k <= count; ++k) {
        const TFaceObject& object = Store.Object(k);
        FrameCanvas.PenColor = object.Color;
        const uint16_t pen = PenTo16(object.Color);
        const TFaceNode* previous = nullptr;
        int faces = 0;
        for (const TFaceNode* node = object.ViewFaces; node; node = node->Next, ++faces) {
            const TProjectedFace& before = projected[(faces + 1) % 2];
            TProjectedFace& face = projected[faces % 2];
            ProjectFaceAfter(*node, previous, before, Projection, true, face);
            previous = node;
            // P0-P1, P1-P2, then back to P0 through P3 when there is one.
            for (int c = 0; c < face.Count; ++c) {
                const int next = c + 1 == face.Count ? 0 : c + 1;
                if (!face.Valid[c] || !face.Valid[next]) continue;
                FrameCanvas.Line(face.Point[c].X, face.Point[c].Y, face.Point[next].X, face.Point[next].Y, pen);
            }
        }
    }
}

void TGMP::ScanFace(const TProjectedFace& Face)
{
    Edges.Reset();
    for (int c = 0; c < Face.Count; ++c) {
        const int next = c + 1 == Face.Count ? 0 : c + 1;
        if (Face.Valid[c] && Face.Valid[next]) Edges.ScanEdge(Face.Point[c], Face.Point[next]);
    }
}

void TGMP::ScanTexturedFace(const TProjectedFace& Face)
{
    Edges.Reset();
    const TTexCoord* coords = Face.Count == 3 ? TriangleCoords : QuadCoords;
    for (int c = 0; c < Face.Count; ++c) {
        const int next = c + 1 == Face.Count ? 0 : c + 1;
        if (Face.Valid[c] && Face.Valid[next])
            Edges.ScanTexturedEdge(Face.Point[c], Face.Point[next], coords[c], coords[next]);
    }
}

// The cached faces are those ShadeFaces has just made visible; an object
// drawn from its nodes checks Visible as it goes.
void TGMP::DrawSolid(const TFaceStore& Store)
{
    TProjectedFace face;
    for (int i = 0; i < Order.Count(); ++i) {
        PrefetchAheadOf(Store, Cache, Order, i);
        const int k = Order[i];
        if (Cache.Holds(k)) {
            for (const TCachedFace* cached = Cache.Begin(k); cached != Cache.End(k); ++cached) {
                cached->Unpack(face);
                ScanFace(face);
                Edges.FillSpans(Frame, cached->Paint);
            }
            continue;
        }
        for (const TFaceNode* node = Store.Object(k).ViewFaces; node; node = node->Next) {
            if (!node->Visible) continue;
            ProjectFace(*node, Projection, false, face);
            ScanFace(face);
            Edges.FillSpans(Frame, node->FaceColor16);
        }
    }
}

void TGMP::DrawTextured(const TFaceStore& Store)
{
    // The texture in use is the work texture until a face of a layer colour
    // is filled; pointing at the layer's texture gives the same pixels as
    // copying it for every face, and the last one is copied once at the end.
    const TTexture* current = &Work;
    TProjectedFace face;
    for (int i = 0; i < Order.Count(); ++i) {
        PrefetchAheadOf(Store, Cache, Order, i);
        const int k = Order[i];
        const int layer = LayerOfColor(Store.Object(k).Color);
        const TTexture* layerTexture = layer != 0 ? &LayerTextures[layer - 1] : nullptr;
        if (Cache.Holds(k)) {
            for (const TCachedFace* cached = Cache.Begin(k); cached != Cache.End(k); ++cached) {
                cached->Unpack(face);
                ScanTexturedFace(face);
                if (layerTexture) current = layerTexture;
                Edges.FillTexturedSpans(Frame, *current, Ramps[cached->Paint & 31]);
            }
            continue;
        }
        for (const TFaceNode* node = Store.Object(k).ViewFaces; node; node = node->Next) {
            if (!node->Visible) continue;
            ProjectFace(*node, Projection, false, face);
            ScanTexturedFace(face);
            if (layerTexture) current = layerTexture;
            Edges.FillTexturedSpans(Frame, *current, Ramps[node->ShadeLevel & 31]);
        }
    }
    if (current != &Work) Work = *current;
}

} // namespace verdel
