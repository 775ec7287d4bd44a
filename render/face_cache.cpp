#include "render/face_cache.h"

#include <bit>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace verdel {

namespace {

bool SameBits(const TVector& a, const TVector& b) { return std::memcmp(&a, &b, sizeof(TVector)) == 0; }

// Stores a projected point with one 8-byte write. The next face reads it
// back whole when it shares the corner, and a read that spans two smaller
// writes still waiting in the store buffer stalls until they land.
inline void StorePoint(TScreenPoint& Point, int32_t X, int32_t Y)
{
    const uint64_t packed = static_cast<uint32_t>(X) | static_cast<uint64_t>(static_cast<uint32_t>(Y)) << 32;
    Point = std::bit_cast<TScreenPoint>(packed);
}

#if defined(__SSE2__)

// Whether a Single is a finite number.
inline bool Finite(float Value) { return (std::bit_cast<uint32_t>(Value) & 0x7F800000u) != 0x7F800000u; }

// Projects A and B together, each lane doing exactly the double steps of
// TProjection::Project. False, with nothing stored, when either corner
// needs the careful path: a coordinate that is not finite, z zero, or a
// quotient RoundExtendedPair cannot decide.
bool ProjectPair(const TVector& A, const TVector& B, const TProjection& Projection, bool CanvasRows,
                 TScreenPoint* Out)
{
    if (!(Finite(A.X) && Finite(A.Y) && Finite(A.Z) && Finite(B.X) && Finite(B.Y) && Finite(B.Z) && A.Z != 0 &&
          B.Z != 0))
        return false;
    const __m128d focal = _mm_set1_pd(static_cast<double>(Projection.Focal));
    const __m128d reciprocal = _mm_div_pd(_mm_set1_pd(1.0), _mm_setr_pd(A.Z, B.Z));
    const __m128d qx = _mm_mul_pd(_mm_mul_pd(focal, _mm_setr_pd(A.X, B.X)), reciprocal);
    const __m128d qy = _mm_mul_pd(_mm_mul_pd(focal, _mm_setr_pd(A.Y, B.Y)), reciprocal);
    const __m128d centreY = _mm_set1_pd(static_cast<double>(Projection.CentreY));
    const __m128d row = CanvasRows ? _mm_add_pd(centreY, qy) : _mm_sub_pd(centreY, qy);
    __m128i columns, rows;
    if (!RoundExtendedPair(qx, columns) || !RoundExtendedPair(row, rows)) return false;
    columns = _mm_add_epi32(columns, _mm_set1_epi32(Projection.CentreX));
    // Column and row of each corner side by side: the layout of TScreenPoint.
    _mm_storeu_si128(reinterpret_cast<__m128i*>(Out), _mm_unpacklo_epi32(columns, rows));
    return true;
}

#endif

} // namespace

void ProjectFace(const TFaceNode& Face, const TProjection& Projection, bool CanvasRows, TProjectedFace& Out)
{
    Out.Count = Face.CornerCount == 3 ? 3 : 4;
    for (int c = 0; c < Out.Count; ++c) {
        const TVector& p = Face.Corners[c];
        Out.Valid[c] = TProjection::Projectable(p);
        if (!Out.Valid[c]) {
            Out.Point[c] = {};
            continue;
        }
        Projection.Project(p, CanvasRows, Out.Point[c].X, Out.Point[c].Y);
    }
    for (int c = Out.Count; c < 4; ++c) {
        Out.Point[c] = {};
        Out.Valid[c] = false;
    }
}

void ProjectFaceAfter(const TFaceNode& Face, const TFaceNode* Previous, const TProjectedFace& PreviousOut,
                      const TProjection& Projection, bool CanvasRows, TProjectedFace& Out)
{
    Out.Count = Face.CornerCount == 3 ? 3 : 4;
    // The last two corners of a four-corner face are usually new: they are
    // projected together. The projection of a corner depends on its bits
    // alone, so this gives what the corner by corner walk below would.
    int end = 4;
#if defined(__SSE2__)
    static_assert(sizeof(TScreenPoint) == 2 * sizeof(int32_t));
    if (Out.Count == 4 && ProjectPair(Face.Corners[2], Face.Corners[3], Projection, CanvasRows, Out.Point + 2)) {
        Out.Valid[2] = Out.Valid[3] = true;
        end = 2;
        // A face of a tube or block: its first two corners are the last two of the face before.
        if (Previous && PreviousOut.Count == 4 && SameBits(Face.Corners[0], Previous->Corners[3]) &&
            SameBits(Face.Corners[1], Previous->Corners[2])) {
            Out.Point[0] = PreviousOut.Point[3];
            Out.Point[1] = PreviousOut.Point[2];
            Out.Valid[0] = PreviousOut.Valid[3];
            Out.Valid[1] = PreviousOut.Valid[2];
            return;
        }
    }
#endif
    for (int c = 0; c < end; ++c) {
        if (c >= Out.Count) {
            Out.Point[c] = {};
            Out.Valid[c] = false;
            continue;
        }
        const TVector& p = Face.Corners[c];
        if (c > 0 && SameBits(p, Face.Corners[c - 1])) {
            Out.Point[c] = Out.Point[c - 1];
            Out.Valid[c] = Out.Valid[c - 1];
            continue;
        }
        const int shared = 3 - c; // the previous face's corner this one usually is
        if (c < 2 && Previous && PreviousOut.Count == 4 && SameBits(p, Previous->Corners[shared])) {
            Out.Point[c] = PreviousOut.Point[shared];
            Out.Valid[c] = PreviousOut.Valid[shared];
            continue;
        }
        Out.Valid[c] = TProjection::Projectable(p);
        int32_t x = 0, y = 0;
        if (Out.Valid[c]) Projection.Project(p, CanvasRows, x, y);
        StorePoint(Out.Point[c], x, y);
    }
}

void TFaceCache::Add(TWriter& Writer, const TProjectedFace& Face, uint16_t Paint)
{
    if (!Writer.Fits) return;
    if (Writer.Used >= Writer.End) {
        Writer.Fits = false;
        return;
    }
    TCachedFace& cached = Faces[Writer.Used];
    static_assert(sizeof(cached.Point) == 16 && sizeof(Face.Point) == 32);
#if defined(__SSE2__)
    // All eight coordinates narrowed at once with saturation; they fit when
    // widening them again gives them back. The points are read one by one:
    // they were just written one by one, and a read spanning two writes
    // still in the store buffer waits for them to land.
    const auto point = [&](int c) { return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(Face.Point + c)); };
    const __m128i low = _mm_unpacklo_epi64(point(0), point(1));
    const __m128i high = _mm_unpacklo_epi64(point(2), point(3));
    const __m128i narrow = _mm_packs_epi32(low, high);
    const __m128i sameLow = _mm_cmpeq_epi32(_mm_srai_epi32(_mm_unpacklo_epi16(narrow, narrow), 16), low);
    const __m128i sameHigh = _mm_cmpeq_epi32(_mm_srai_epi32(_mm_unpackhi_epi16(narrow, narrow), 16), high);
    if (_mm_movemask_epi8(_mm_and_si128(sameLow, sameHigh)) != 0xFFFF) {
        Writer.Fits = false;
        return;
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(cached.Point), narrow);
#else
    for (int c = 0; c < 4; ++c) {
        const TScreenPoint& p = Face.Point[c];
        if (p.X < INT16_MIN || p.X > INT16_MAX || p.Y < INT16_MIN || p.Y > INT16_MAX) {
            Writer.Fits = false;
            return;
        }
        cached.Point[c] = {static_cast<int16_t>(p.X), static_cast<int16_t>(p.Y)};
    }
#endif
    cached.Valid = static_cast<uint8_t>(Face.Valid[0] | Face.Valid[1] << 1 | Face.Valid[2] << 2 | Face.Valid[3] << 3);
    cached.Count = static_cast<uint8_t>(Face.Count);
    cached.Paint = Paint;
    ++Writer.Used;
}

} // namespace verdel
