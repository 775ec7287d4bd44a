// The faces of one frame projected once, in a compact form the fill passes read back.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "engine/face_store.h"
#include "render/edge_table.h"
#include "render/render_math.h"

namespace verdel {

// A face's corners projected; an edge is drawn only when both of its end
// points have a projection (z not 0, nothing NaN).
struct TProjectedFace {
    TScreenPoint Point[4];
    bool Valid[4];
    int Count; // 3 or 4
};

// Projects the corners into frame-buffer rows (from the bottom) or canvas rows (from the top).
void ProjectFace(const TFaceNode& Face, const TProjection& Projection, bool CanvasRows, TProjectedFace& Out);

// The same projection, reusing the projections of corners the face shares
// with Previous (the face before it in its list, projected into PreviousOut):
// neighbouring faces of a tube or block share two corners (this face's
// first two are the previous face's last two, reversed), and a triangle
// repeats its third corner. Only bitwise equal corners are reused, so the
// result is the same as projecting every corner.
void ProjectFaceAfter(const TFaceNode& Face, const TFaceNode* Previous, const TProjectedFace& PreviousOut,
                      const TProjection& Projection, bool CanvasRows, TProjectedFace& Out);

// One face as the fill passes need it.
struct TCachedFace {
    int16_t X[4], Y[4];
    uint16_t Paint; // the RGB555 fill colour, or the shade level of a textured face
    uint8_t Count;  // corners, 3 or 4
    uint8_t Valid;  // bit c: corner c has a projection

    // The face's projected corners again.
    void Unpack(TProjectedFace& Face) const
    {
        Face.Count = Count;
        for (int c = 0; c < 4; ++c) {
            Face.Point[c] = {X[c], Y[c]};
            Face.Valid[c] = (Valid >> c) & 1;
        }
    }
};

// The projected faces of the objects of one frame, filled in object order
// while the faces are shaded and read back in depth order. Faces are drawn
// in depth order, which jumps about in memory; reading these small records
// instead of the face nodes saves most of that traffic. An object whose
// faces do not fit (too many faces in the frame, or a corner outside the
// 16-bit range) is drawn from its nodes instead. Allocated once.
class TFaceCache {
public:
    static constexpr int Capacity = 1 << 19;

    TFaceCache() : Faces(std::make_unique_for_overwrite<TCachedFace[]>(Capacity)) { First.fill(-1); }

    // Starts a frame: nothing is held.
    void Clear() { Used = 0; }

    // Starts object k (from 1).
    void BeginObject(int k)
    {
        Start = Used;
        Fits = true;
        First[k - 1] = -1;
    }

    // Adds the next face of the current object.
    void Add(const TProjectedFace& Face, uint16_t Paint);

    // Ends object k: it is held when all its faces fitted.
    void EndObject(int k)
    {
        if (Fits) {
            First[k - 1] = Start;
            Count[k - 1] = Used - Start;
        } else {
            Used = Start;
        }
    }

    // Whether object k's faces are held, and where.
    bool Holds(int k) const { return First[k - 1] >= 0; }
    const TCachedFace* Begin(int k) const { return &Faces[First[k - 1]]; }
    const TCachedFace* End(int k) const { return &Faces[First[k - 1] + Count[k - 1]]; }

private:
    std::unique_ptr<TCachedFace[]> Faces;
    std::array<int32_t, MaxObjects> First;
    std::array<int32_t, MaxObjects> Count{};
    int32_t Used = 0;
    int32_t Start = 0;
    bool Fits = true;
};

} // namespace verdel
