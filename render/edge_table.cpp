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
    MinX.fill(Empty);
    Low = Rows;
    High = -1;
}

void TEdgeTable::Reset()
{
    for (int y = Low; y <= High; ++y) MinX[y] = Empty;
    Low = Rows;
    High = -1;
}

bool TEdgeTable::EnterBuffer(int Y0, int Y1, float Slope, float& X, int& First, int& Last) const
{
    if (Y1 < 0 || Y0 > Height - 1) return false;
    // Rows below the buffer still step x, so the rows inside see the same
    // Single the whole walk would give.
    for (int y = Y0; y < 0; ++y) X += Slope;
    First = std::max(Y0, 0);
    Last = std::min(Y1, Height - 1);
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
    for (int y = first; y <= last; ++y, x += slope) {
        if (MinX[y] == Empty) {
            MinX[y] = MaxX[y] = RoundX(x);
            continue;
        }
        if (MinX[y] > x) MinX[y] = RoundX(x);
        if (MaxX[y] < x) MaxX[y] = RoundX(x);
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
