#include "render/face_cache.h"

#include <cstring>

namespace verdel {

namespace {

bool SameBits(const TVector& a, const TVector& b) { return std::memcmp(&a, &b, sizeof(TVector)) == 0; }

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
    for (int c = 0; c < 4; ++c) {
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
        Out.Point[c] = {};
        if (Out.Valid[c]) Projection.Project(p, CanvasRows, Out.Point[c].X, Out.Point[c].Y);
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
    cached.Valid = 0;
    for (int c = 0; c < 4; ++c) {
        const TScreenPoint& p = Face.Point[c];
        if (p.X < INT16_MIN || p.X > INT16_MAX || p.Y < INT16_MIN || p.Y > INT16_MAX) {
            Writer.Fits = false;
            return;
        }
        cached.X[c] = static_cast<int16_t>(p.X);
        cached.Y[c] = static_cast<int16_t>(p.Y);
        cached.Valid = static_cast<uint8_t>(cached.Valid | (Face.Valid[c] ? 1 << c : 0));
    }
    cached.Count = static_cast<uint8_t>(Face.Count);
    cached.Paint = Paint;
    ++Writer.Used;
}

} // namespace verdel
