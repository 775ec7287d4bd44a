// The first half of RenderScene: translating, shading, measuring and projecting each thread's objects.
#include <algorithm>
#include <bit>
#if defined(__SSE2__)
#include <xmmintrin.h>
#endif

#include "render/gmp.h"

namespace verdel {

namespace {

// How often a walk over the objects looks whether the frame was given up.
constexpr int StopCheckEvery = 64;

// The rows a projected face's edges can reach, within 0..Height-1; false when none.
bool FaceRows(const TProjectedFace& Face, int Height, int& First, int& Last)
{
    int32_t low, high;
    const int32_t y0 = Face.Point[0].Y, y1 = Face.Point[1].Y, y2 = Face.Point[2].Y, y3 = Face.Point[3].Y;
    if (Face.Count == 4 && Face.Valid[0] && Face.Valid[1] && Face.Valid[2] && Face.Valid[3]) {
        low = std::min(std::min(y0, y1), std::min(y2, y3));
        high = std::max(std::max(y0, y1), std::max(y2, y3));
    } else {
        low = INT32_MAX;
        high = INT32_MIN;
        for (int c = 0; c < Face.Count; ++c) {
            if (!Face.Valid[c]) continue;
            low = std::min(low, Face.Point[c].Y);
            high = std::max(high, Face.Point[c].Y);
        }
    }
    First = std::max(low, 0);
    Last = std::min(high, Height - 1);
    return First <= Last;
}

// View := Model + Shift, corner by corner, as Single sums. The twelve
// coordinates lie next to each other, so three vector sums of four do it.
inline void TranslateCorners(const TFaceNode& Model, TFaceNode& View, const TVector& Shift)
{
    static_assert(sizeof(Model.Corners) == 12 * sizeof(float));
#if defined(__SSE2__)
    const __m128 a = _mm_setr_ps(Shift.X, Shift.Y, Shift.Z, Shift.X);
    const __m128 b = _mm_setr_ps(Shift.Y, Shift.Z, Shift.X, Shift.Y);
    const __m128 c = _mm_setr_ps(Shift.Z, Shift.X, Shift.Y, Shift.Z);
    const float* from = &Model.Corners[0].X;
    float* to = &View.Corners[0].X;
    _mm_storeu_ps(to, _mm_add_ps(_mm_loadu_ps(from), a));
    _mm_storeu_ps(to + 4, _mm_add_ps(_mm_loadu_ps(from + 4), b));
    _mm_storeu_ps(to + 8, _mm_add_ps(_mm_loadu_ps(from + 8), c));
#else
    for (int c = 0; c < 4; ++c) View.Corners[c] = Model.Corners[c] + Shift;
#endif
}

} // namespace

void TGMP::NoteFace(TFaceCache::TWriter& Writer, TRowSpan& Rows, const TProjectedFace& Face, uint16_t Paint)
{
    Cache.Add(Writer, Face, Paint);
    int first, last;
    if (!FaceRows(Face, Frame.Height(), first, last)) return;
    if (Rows.First > Rows.Last) Rows = {first, last};
    Rows.First = std::min(Rows.First, first);
    Rows.Last = std::max(Rows.Last, last);
}

void TGMP::EndObject(int Thread, TFaceCache::TWriter& Writer, int k, int Faces)
{
    Cache.EndObject(Writer, k);
    const TRowSpan& rows = Cache.Rows(k);
    if (rows.First <= rows.Last) Load.AddObject(Thread, rows.First, rows.Last, Faces);
}

void TGMP::ProjectOutlines(TFaceStore& Store, const TShare& Share, int Thread, const TCancelToken* Cancel)
{
    // TranslateScene and the projection of every face into canvas rows.
    const TVector shift{Store.TranslateX, Store.TranslateY, Store.TranslateZ};
    TFaceCache::TWriter writer = TFaceCache::Writer(Share.FirstRecord, Share.EndRecord);
    TProjectedFace projected[2];
    for (int k = Share.FirstObject; k < Share.EndObject; ++k) {
        if (k % StopCheckEvery == 0 && Cancelled(Cancel)) return;
        const TFaceObject& object = Store.Object(k);
        const TFaceNode* model = object.ModelFaces;
        const TFaceNode* previous = nullptr;
        TRowSpan& rows = Cache.Rows(k);
        rows = {};
        int faces = 0;
        Cache.BeginObject(writer, k);
        for (TFaceNode* view = object.ViewFaces; view; view = view->Next, ++faces) {
            // Only as many faces as both lists have are translated.
            if (model) {
                TranslateCorners(*model, *view, shift);
                model = model->Next;
            }
            const TProjectedFace& before = projected[(faces + 1) % 2];
            TProjectedFace& now = projected[faces % 2];
            ProjectFaceAfter(*view, previous, before, Projection, true, now);
            NoteFace(writer, rows, now, 0);
            previous = view;
        }
        EndObject(Thread, writer, k, faces);
    }
}

void TGMP::PrepareFaces(TFaceStore& Store, const TShare& Share, int Thread, bool SetColors, const TCancelToken* Cancel)
{
    // TranslateScene, ShadeFaces and ComputeDepths in one walk, which also
    // projects each face for the fill pass: each face's results depend on
    // that face alone, so the order of the passes is free. The faces of an
    // object go through in batches so that the processor can overlap the
    // square roots and divisions of the lighting.
    const TVector shift{Store.TranslateX, Store.TranslateY, Store.TranslateZ};
    const TLighting light{LightDir, LightStrength, AmbientLevel};
    constexpr int Batch = 32;
    TFaceNode* batch[Batch];
    float intensity[Batch];
    TProjectedFace projected[2];
    TFaceCache::TWriter writer = TFaceCache::Writer(Share.FirstRecord, Share.EndRecord);
    for (int k = Share.FirstObject; k < Share.EndObject; ++k) {
        if (k % StopCheckEvery == 0 && Cancelled(Cancel)) return;
        TFaceObject& object = Store.Object(k);
        const TFaceNode* model = object.ModelFaces;
        float depthSum = 0;
        int faces = 0;
        const TFaceNode* previous = nullptr;
        TShadeMemo memo;
        TRowSpan& rows = Cache.Rows(k);
        rows = {};
        Cache.BeginObject(writer, k);
        for (TFaceNode* view = object.ViewFaces; view;) {
            int n = 0;
            for (; view && n < Batch; view = view->Next) {
                if (model) {
                    TranslateCorners(*model, *view, shift);
                    model = model->Next;
                }
                batch[n++] = view;
            }
            FaceIntensities(batch, n, light, intensity);
            for (int i = 0; i < n; ++i) {
                TFaceNode& face = *batch[i];
                ShadeFace(face, object.Color, intensity[i], SetColors, memo);
                // Summed in Single in list order: any other order changes the
                // depths of mirror-image branches and so the painter's order.
                depthSum += face.FaceDepth;
                ++faces;
                const TProjectedFace& before = projected[(faces + 1) % 2];
                TProjectedFace& now = projected[faces % 2];
                ProjectFaceAfter(face, previous, before, Projection, false, now);
                NoteFace(writer, rows, now, SetColors ? face.FaceColor16 : face.ShadeLevel);
                previous = &face;
            }
        }
        EndObject(Thread, writer, k, faces);
        if (object.SortFaces && Cache.Holds(k)) {
            Sorters[static_cast<size_t>(Thread)].Sort(object);
            Sorters[static_cast<size_t>(Thread)].Reorder(Cache.Begin(k));
        }
        if (faces > 0) object.Depth = depthSum / static_cast<float>(faces);
    }
}

void TGMP::ShadeFace(TFaceNode& Face, TColor ObjectColor, float Intensity, bool SetColors, TShadeMemo& Memo)
{
    // Every face is drawn: there is no back-face test.
    Face.Visible = 1;
    if (SetColors) {
        // The faces of a tube turned away from the light follow each other
        // and all get the ambient level: their colours are worked out once.
        const auto bits = std::bit_cast<uint32_t>(Intensity);
        if (!Memo.Valid || bits != Memo.IntensityBits) {
            const TColor color = ShadeColor(ObjectColor, Intensity);
            Memo = {true, bits, color, ColorTo16(color)};
        }
        Face.FaceColor = Memo.Color;
        Face.FaceColor16 = Memo.Color16;
    }
    Face.ShadeLevel = static_cast<uint8_t>(RoundToInt(Intensity));
    float depth = Face.Corners[0].Z;
    const int corners = Face.CornerCount == 3 ? 3 : 4;
    for (int c = 1; c < corners; ++c)
        if (Face.Corners[c].Z > depth) depth = Face.Corners[c].Z;
    Face.FaceDepth = depth;
}

const TTexture* TGMP::ChooseTextures(const TFaceStore& Store)
{
    // The texture in use is the work texture until a face of a layer colour
    // is filled, then that layer's until the next one: the texture of each
    // place of the order depends on the places before it only, so it is
    // settled here once for every band.
    const TTexture* current = &Work;
    for (int i = 0; i < Order.Count(); ++i) {
        const TFaceObject& object = Store.Object(Order[i]);
        int layer = 0;
        for (int l = 1; l <= LayerCount && layer == 0; ++l)
            if (LayerColors[l] == object.Color) layer = l;
        // Every face of the list is visible, so any face switches the texture.
        if (layer != 0 && object.ViewFaces) current = &LayerTextures[layer - 1];
        OrderTextures[i] = current;
    }
    return current;
}

} // namespace verdel
