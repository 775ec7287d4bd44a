#include "render/edge_table.h"
#include "render/render_math.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace verdel {

namespace {

// Round half to even of the stepped x (a Single well inside the int range).
inline int32_t RoundX(float X) { return RoundToInt(X); }

} // namespace

TEdgeTable::TEdgeTable()
{
    MinX.fill(Empty);
    MaxX.fill(0);
    ULeft.fill(0);
    VLeft.fill(0);
    URight.fill(0);
    VRight.fill(0);
}

void TEdgeTable::SetHeight(int NewHeight)
{
    Height = std::clamp(NewHeight, 0, Rows);
    BandFirst = 0;
    BandLast = Height - 1;
    MinX.fill(Empty);
    Low = Rows;
    High = -1;
}

void TEdgeTable::SetBand(int First, int Last)
{
    Reset();
    BandFirst = std::clamp(First, 0, Height);
    BandLast = std::clamp(Last, BandFirst - 1, Height - 1);
}

void TEdgeTable::Reset()
{
    for (int y = Low; y <= High; ++y) MinX[y] = Empty;
    Low = Rows;
    High = -1;
}

bool TEdgeTable::EnterBuffer(int Y0, int Y1, float Slope, float& X, int& First, int& Last) const
{
    if (Y1 < BandFirst || Y0 > BandLast) return false;
    // Rows below the band still step x, so the rows inside see the same
    // Single the whole walk would give.
    for (int y = Y0; y < BandFirst; ++y) X += Slope;
    First = std::max(Y0, BandFirst);
    Last = std::min(Y1, BandLast);
    return true;
}

void TEdgeTable::ScanEdge(TScreenPoint A, TScreenPoint B)
{
    if (A.Y == B.Y) return; // horizontal edges add nothing
    if (A.Y > B.Y) std::swap(A, B);
    const float slope = StepPerRow(B.X - A.X, B.Y - A.Y);
    float x = static_cast<float>(A.X);
    int first, last;
    if (!EnterBuffer(A.Y, B.Y, slope, x, first, last)) return;
    Touch(first, last);
    // A row takes Round(x) when it is empty; otherwise its XMin becomes
    // Round(x) when XMin > x, which for an integer XMin is the smaller of
    // the two (and so for XMax): selections rather than branches the
    // processor would guess wrong on small faces.
    for (int y = first; y <= last; ++y, x += slope) {
        const int32_t rounded = RoundX(x);
        const int32_t low = MinX[y], high = MaxX[y];
        const bool empty = low == Empty;
        MinX[y] = empty ? rounded : std::min(low, rounded);
        MaxX[y] = empty ? rounded : std::max(high, rounded);
    }
}

void TEdgeTable::FillSpans(TDIB16bit& Frame, uint16_t Color) const
{
    const int width = Frame.Width();
    for (int y = Low; y <= High; ++y) {
        if (MinX[y] == Empty) continue;
        const int32_t left = std::max(MinX[y], 0);
        if (left > width - 1) continue;
        const int32_t right = std::min(MaxX[y], width - 1);
        if (right < left) continue;
        uint16_t* row = Frame.RowTable[y];
        std::fill(row + left, row + right + 1, Color);
    }
}

} // namespace verdel
