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

    // Whether corners C and D both have a projection.
    bool Joins(int C, int D) const { return Valid[C] && Valid[D]; }
    TScreenPoint Corner(int C) const { return Point[C]; }
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
    struct TPoint {
        int16_t X, Y;
    };
    TPoint Point[4];
    uint16_t Paint; // the RGB555 fill colour, or the shade level of a textured face
    uint8_t Count;  // corners, 3 or 4
    uint8_t Valid;  // bit c: corner c has a projection

    // Whether corners C and D both have a projection.
    bool Joins(int C, int D) const { return ((Valid >> C) & (Valid >> D) & 1) != 0; }
    // Corner C as a point of the frame.
    TScreenPoint Corner(int C) const { return {Point[C].X, Point[C].Y}; }

    // The face's projected corners again.
    void Unpack(TProjectedFace& Face) const
    {
        Face.Count = Count;
        for (int c = 0; c < 4; ++c) {
            Face.Point[c] = Corner(c);
            Face.Valid[c] = (Valid >> c) & 1;
        }
    }
};

// The rows an object's edges can reach, clipped to the buffer; First > Last when none.
struct TRowSpan {
    int32_t First = 0, Last = -1;
};

// The projected faces of the objects of one frame, filled in object order
// while the faces are shaded and read back in depth order. Faces are drawn
// in depth order, which jumps about in memory; reading these small records
// instead of the face nodes saves most of that traffic. An object whose
// faces do not fit (too many faces in its writer's share, or a corner
// outside the 16-bit range) is drawn from its nodes instead. Several
// threads fill it at once, each through its own writer, over its own share
// of the records and its own objects. Allocated once.
class TFaceCache {
public:
    static constexpr int Capacity = 1 << 19;

    // Where one thread adds faces: records Used..End-1 are free.
    struct TWriter {
        int32_t Used = 0, End = 0;
        int32_t Start = 0; // the current object's first record
        bool Fits = true;
    };

    TFaceCache() : Faces(std::make_unique_for_overwrite<TCachedFace[]>(Capacity)) {}

    // A writer over records First..Last-1 (within 0..Capacity).
    static TWriter Writer(int32_t FirstRecord, int32_t EndRecord)
    {
        return {FirstRecord, EndRecord, FirstRecord, true};
    }

    // Starts object k (from 1).
    void BeginObject(TWriter& Writer, int k)
    {
        Writer.Start = Writer.Used;
        Writer.Fits = true;
        Objects[k - 1].First = -1;
    }

    // Adds the next face of the current object.
    void Add(TWriter& Writer, const TProjectedFace& Face, uint16_t Paint);

    // Ends object k: it is held when all its faces fitted.
    void EndObject(TWriter& Writer, int k)
    {
        if (Writer.Fits) {
            Objects[k - 1].First = Writer.Start;
            Objects[k - 1].Count = Writer.Used - Writer.Start;
        } else {
            Writer.Used = Writer.Start;
        }
    }

    // Whether object k's faces are held, and where.
    bool Holds(int k) const { return Objects[k - 1].First >= 0; }
    const TCachedFace* Begin(int k) const { return &Faces[Objects[k - 1].First]; }
    const TCachedFace* End(int k) const { return &Faces[Objects[k - 1].First + Objects[k - 1].Count]; }
    TCachedFace* Begin(int k) { return &Faces[Objects[k - 1].First]; }

    // The rows object k's edges reach in this frame, held or not.
    TRowSpan& Rows(int k) { return Objects[k - 1].Rows; }
    const TRowSpan& Rows(int k) const { return Objects[k - 1].Rows; }

    // Where object k's entry lies, to fetch it early.
    const void* Entry(int k) const { return &Objects[k - 1]; }

private:
    // What the frame knows of one object, in one cache line's quarter.
    struct TObjectEntry {
        int32_t First = -1; // its first record, -1 when not held
        int32_t Count = 0;
        TRowSpan Rows;
    };

    std::unique_ptr<TCachedFace[]> Faces;
    std::array<TObjectEntry, MaxObjects> Objects{};
};

} // namespace verdel
