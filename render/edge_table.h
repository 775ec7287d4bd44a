// Scan conversion of one face: per-row extremes of its edges, then its spans.
#pragma once

#include <array>
#include <cstdint>

#include "render/dib16.h"
#include "render/shading.h"

namespace verdel {

// Texture coordinates (U = column, V = row of the texture).
struct TTexCoord {
    int32_t U = 0, V = 0;
};

// The x step per row of an edge rising Dy rows over Dx columns, a Single.
// Small faces have many edges one row high, where the quotient is Dx
// itself: the division is skipped there, not changed.
inline float StepPerRow(int32_t Dx, int32_t Dy)
{
    return Dy == 1 ? static_cast<float>(Dx) : static_cast<float>(Dx) / static_cast<float>(Dy);
}

// Divisions of texture steps by small counts as a multiplication: entry d
// is 2^32 / d rounded up. For |n| < 2^16 and d <= 4096 the product's high
// half is exactly n / d truncated (the rounding error n x (entry x d - 2^32)
// stays below 2^32), and a multiplication costs a fraction of a division.
namespace fixed_step {
constexpr int Counts = 4096;
constexpr auto Reciprocals = [] {
    std::array<uint32_t, Counts + 1> table{};
    for (uint64_t d = 2; d <= Counts; ++d) table[d] = static_cast<uint32_t>(((uint64_t{1} << 32) + d - 1) / d);
    return table;
}();
} // namespace fixed_step

// A texture coordinate step in fixed point with eight fraction bits: Delta
// x 256 divided by Count, truncated toward zero.
inline int32_t FixedStep(int32_t Delta, int32_t Count)
{
    const int32_t scaled = Delta * 256;
    if (Count == 1) return scaled;
    const uint32_t magnitude = scaled < 0 ? 0u - static_cast<uint32_t>(scaled) : static_cast<uint32_t>(scaled);
    if (Count < 2 || Count > fixed_step::Counts || magnitude >= (1u << 16)) return scaled / Count;
    const auto quotient = static_cast<int32_t>((uint64_t{magnitude} * fixed_step::Reciprocals[Count]) >> 32);
    return scaled < 0 ? -quotient : quotient;
}

// A point projected into the frame buffer: column, and row from the bottom.
struct TScreenPoint {
    int32_t X = 0, Y = 0;
};

// The edge table of the rasteriser: for each frame-buffer row the leftmost
// and rightmost x of the face being scanned (and, for textured faces, the
// texture coordinates there). It remembers which rows a face wrote, so that
// resetting and filling never visit rows the face does not cover. A table
// may be limited to a band of rows: it then takes exactly the values the
// whole table would hold in those rows, and nothing outside them.
class TEdgeTable {
public:
    // Rows of the table; the frame buffer never has more.
    static constexpr int Rows = 4096;
    // XMin of a row that no edge has reached.
    static constexpr int32_t Empty = -16000;

    TEdgeTable();

    // Rows 0..Height-1 are scanned from now on; every row becomes empty.
    void SetHeight(int Height);

    // Only rows First..Last (within 0..Height-1) are scanned from now on;
    // call it between faces. SetHeight scans every row again.
    void SetBand(int First, int Last);

    // Empties every row (only those written since the last reset need it).
    void Reset();

    // Adds the integer edge (X0, Y0)-(X1, Y1): every row from one end to the
    // other, both included, takes the edge's x (a Single stepped row by row).
    void ScanEdge(TScreenPoint A, TScreenPoint B);

    // The same for a textured edge, carrying texture coordinates in fixed
    // point with eight fraction bits; the right end is updated first.
    void ScanTexturedEdge(TScreenPoint A, TScreenPoint B, TTexCoord TexA, TTexCoord TexB);

    // Fills one span per non-empty row in a single RGB555 colour, clipped to the buffer.
    void FillSpans(TDIB16bit& Frame, uint16_t Color) const;

    // Fills one span per non-empty row from Texture, stepping the texture
    // coordinates linearly across the span and shading each texel by Ramp.
    void FillTexturedSpans(TDIB16bit& Frame, const TTexture& Texture, const TShadeRamp& Ramp) const;

    int32_t XMin(int Row) const { return MinX[Row]; }
    int32_t XMax(int Row) const { return MaxX[Row]; }
    TTexCoord Left(int Row) const { return {ULeft[Row], VLeft[Row]}; }
    TTexCoord Right(int Row) const { return {URight[Row], VRight[Row]}; }
    // The lowest and highest row written since the last reset (Low > High when none).
    int LowRow() const { return Low; }
    int HighRow() const { return High; }

private:
    // The first row of an edge inside the band and the x stepped up to it;
    // false when the edge misses the band's rows.
    bool EnterBuffer(int Y0, int Y1, float Slope, float& X, int& First, int& Last) const
    {
        if (Y1 < BandFirst || Y0 > BandLast) return false;
        // Rows below the band still step x, so the rows inside see the same
        // Single the whole walk would give.
        for (int y = Y0; y < BandFirst; ++y) X += Slope;
        First = Y0 > BandFirst ? Y0 : BandFirst;
        Last = Y1 < BandLast ? Y1 : BandLast;
        return true;
    }
    void Touch(int First, int Last)
    {
        if (First < Low) Low = First;
        if (Last > High) High = Last;
    }

    std::array<int32_t, Rows> MinX, MaxX, ULeft, VLeft, URight, VRight;
    int Height = 0;
    int BandFirst = 0; // the rows scanned
    int BandLast = -1;
    int Low = Rows;
    int High = -1;
};

} // namespace verdel
