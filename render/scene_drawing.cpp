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

// Rows First..Last of the buffer: one thread's share of the drawing.
struct TBand {
    int First, Last;
    bool Meets(const TRowSpan& Rows) const { return Rows.First <= Last && Rows.Last >= First; }
};

// Prefetches for place i of the drawing order: the cache's entry of an
// object well ahead, and the faces of a nearer one when they meet the band.
void PrefetchAheadOf(const TFaceStore& Store, const TFaceCache& Cache, const TDepthOrder& Order, int i,
                     const TBand& Band)
{
    if (i + 2 * PrefetchAhead < Order.Count())
        PrefetchLine(reinterpret_cast<uintptr_t>(Cache.Entry(Order[i + 2 * PrefetchAhead])));
    if (i + PrefetchAhead < Order.Count() && Band.Meets(Cache.Rows(Order[i + PrefetchAhead])))
        PrefetchObject(Store, Cache, Order[i + PrefetchAhead]);
}

// How often a band looks whether the frame was given up.
constexpr int StopCheckEvery = 256;

// Fixed texture coordinates of the corners: a three-corner face shows the
// triangle from the top middle of the texture to its bottom corners, a
// four-corner face the whole texture with P0 at the top right.
constexpr TTexCoord TriangleCoords[3] = {{63, 0}, {0, 127}, {127, 127}};
constexpr TTexCoord QuadCoords[4] = {{127, 0}, {127, 127}, {0, 127}, {0, 0}};

// The edges of a face, projected or cached, into the edge table; edges
// within one row add nothing and are passed over here.
template <class TFace> void ScanFace(TEdgeTable& Edges, const TFace& Face)
{
    Edges.Reset();
    for (int c = 0; c < Face.Count; ++c) {
        const int next = c + 1 == Face.Count ? 0 : c + 1;
        if (Face.Point[c].Y != Face.Point[next].Y && Face.Joins(c, next))
            Edges.ScanEdge(Face.Corner(c), Face.Corner(next));
    }
}

// The same with the corners' fixed texture coordinates.
template <class TFace> void ScanTexturedFace(TEdgeTable& Edges, const TFace& Face)
{
    Edges.Reset();
    const TTexCoord* coords = Face.Count == 3 ? TriangleCoords : QuadCoords;
    for (int c = 0; c < Face.Count; ++c) {
        const int next = c + 1 == Face.Count ? 0 : c + 1;
        if (Face.Point[c].Y != Face.Point[next].Y && Face.Joins(c, next))
            Edges.ScanTexturedEdge(Face.Corner(c), Face.Corner(next), coords[c], coords[next]);
    }
}

// Calls Fill with each visible view face of Object in drawing order: list
// order, or back to front through Sorter when the object asks for it.
template <class TFill> void ForEachVisibleFace(const TFaceObject& Object, TFaceSorter& Sorter, TFill Fill)
{
    if (!Object.SortFaces) {
        for (const TFaceNode* node = Object.ViewFaces; node; node = node->Next)
            if (node->Visible) Fill(*node);
        return;
    }
    Sorter.Sort(Object);
    for (const TFaceNode* node : Sorter.Faces())
        if (node->Visible) Fill(*node);
}

// P0-P1, P1-P2, then back to P0 through P3 when there is one, in rows First..Last.
void Outline(TCanvas& Canvas, const TProjectedFace& Face, uint16_t Pen, const TBand& Band)
{
    for (int c = 0; c < Face.Count; ++c) {
        const int next = c + 1 == Face.Count ? 0 : c + 1;
        if (!Face.Valid[c] || !Face.Valid[next]) continue;
        Canvas.Line(Face.Point[c].X, Face.Point[c].Y, Face.Point[next].X, Face.Point[next].Y, Pen, Band.First,
                    Band.Last);
    }
}

} // namespace

void TGMP::DrawWireframe(const TFaceStore& Store, int BandIndex, const TCancelToken* Cancel)
{
    // Canvas rows: the bands count from the top here.
    const TBand band{BandRows[BandIndex], BandRows[BandIndex + 1] - 1};
    if (band.First > band.Last) return;
    TProjectedFace projected[2];
    const int count = std::clamp(Store.ObjectCount, 0, MaxObjects);
    for (int k = 1; k <= count; ++k) {
        if (k % StopCheckEvery == 0 && Cancelled(Cancel)) return;
        if (!band.Meets(Cache.Rows(k))) continue;
        const TFaceObject& object = Store.Object(k);
        const uint16_t pen = PenTo16(object.Color);
        if (Cache.Holds(k)) {
            for (const TCachedFace* cached = Cache.Begin(k); cached != Cache.End(k); ++cached) {
                cached->Unpack(projected[0]);
                Outline(FrameCanvas, projected[0], pen, band);
            }
            continue;
        }
        const TFaceNode* previous = nullptr;
        int faces = 0;
        for (const TFaceNode* node = object.ViewFaces; node; node = node->Next, ++faces) {
            const TProjectedFace& before = projected[(faces + 1) % 2];
            TProjectedFace& face = projected[faces % 2];
            ProjectFaceAfter(*node, previous, before, Projection, true, face);
            previous = node;
            Outline(FrameCanvas, face, pen, band);
        }
    }
}

namespace {

// How a solid face is filled: in its shaded colour.
struct TSolidFill {
    TDIB16bit& Frame;
    void Place(int /*Index*/) {}
    void Fill(TEdgeTable& Edges, const TCachedFace& Face) const
    {
        ScanFace(Edges, Face);
        Edges.FillSpans(Frame, Face.Paint);
    }
    void Fill(TEdgeTable& Edges, const TProjectedFace& Face, const TFaceNode& Node) const
    {
        ScanFace(Edges, Face);
        Edges.FillSpans(Frame, Node.FaceColor16);
    }
};

// How a textured face is filled: with the texture of its place in the order,
// through the ramp of its shade level.
struct TTexturedFill {
    TDIB16bit& Frame;
    const std::array<const TTexture*, MaxObjects>& OrderTextures;
    const std::array<TShadeRamp, 32>& Ramps;
    const TTexture* Texture = nullptr;
    void Place(int Index) { Texture = OrderTextures[Index]; }
    void Fill(TEdgeTable& Edges, const TCachedFace& Face) const
    {
        ScanTexturedFace(Edges, Face);
        Edges.FillTexturedSpans(Frame, *Texture, Ramps[Face.Paint & 31]);
    }
    void Fill(TEdgeTable& Edges, const TProjectedFace& Face, const TFaceNode& Node) const
    {
        ScanTexturedFace(Edges, Face);
        Edges.FillTexturedSpans(Frame, *Texture, Ramps[Node.ShadeLevel & 31]);
    }
};

} // namespace

// The painter's order in one band: every object in the order that reaches
// the band, its faces filled by Filler. The cached faces are those
// ShadeFaces has just made visible; an object drawn from its nodes checks
// Visible as it goes.
template <class TFiller>
void TGMP::DrawInOrder(const TFaceStore& Store, int BandIndex, const TCancelToken* Cancel, TFiller& Filler)
{
    const TBand band{BandRows[BandIndex], BandRows[BandIndex + 1] - 1};
    if (band.First > band.Last) return;
    TEdgeTable& edges = BandEdges[BandIndex];
    edges.SetBand(band.First, band.Last);
    TProjectedFace face;
    for (int i = 0; i < Order.Count(); ++i) {
        if (i % StopCheckEvery == 0 && Cancelled(Cancel)) return;
        PrefetchAheadOf(Store, Cache, Order, i, band);
        const int k = Order[i];
        if (!band.Meets(Cache.Rows(k))) continue;
        Filler.Place(i);
        if (Cache.Holds(k)) {
            for (const TCachedFace* cached = Cache.Begin(k); cached != Cache.End(k); ++cached)
                Filler.Fill(edges, *cached);
            continue;
        }
        ForEachVisibleFace(Store.Object(k), Sorters[static_cast<size_t>(BandIndex)], [&](const TFaceNode& node) {
            ProjectFace(node, Projection, false, face);
            Filler.Fill(edges, face, node);
        });
    }
}

void TGMP::DrawSolid(const TFaceStore& Store, int BandIndex, const TCancelToken* Cancel)
{
    TSolidFill fill{Frame};
    DrawInOrder(Store, BandIndex, Cancel, fill);
}

// Each place of the order takes the texture ChooseTextures settled for it;
// the work texture itself changes only once the frame is done.
void TGMP::DrawTextured(const TFaceStore& Store, int BandIndex, const TCancelToken* Cancel)
{
    TTexturedFill fill{Frame, OrderTextures, Ramps};
    DrawInOrder(Store, BandIndex, Cancel, fill);
}

} // namespace verdel
