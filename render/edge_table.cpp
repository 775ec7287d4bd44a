#include "render/edge_table.h"
#include "render/render_math.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace verdel {

namespace {

// Round half to even of the stepped x (a Single well inside the int range).
inline int32_t RoundX(float X) { return RoundToInt(X); }

// Copies of one pixel, to store several at once.
template <class TWord> inline TWord Repeated(uint16_t Color)
{
    TWord word = 0;
    for (size_t i = 0; i < sizeof(TWord) / sizeof(uint16_t); ++i) word = static_cast<TWord>(word << 16 | Color);
    return word;
}

// Stores Word at Pixel, unaligned.
template <class TWord> inline void StoreWord(uint16_t* Pixel, TWord Word) { std::memcpy(Pixel, &Word, sizeof(Word)); }

// Fills Count >= 1 pixels from Pixel with Color. The faces of a large model
// are mostly a few pixels wide, so short spans are written by at most two
// stores that may overlap (the same colour twice) instead of a loop with
// its set-up and tail.
inline void FillSpan(uint16_t* Pixel, int32_t Count, uint16_t Color)
{
    if (Count <= 4) {
        // Indices 0, n - 1, n / 2 and (n - 1) / 2 cover every pixel of 1 to 4.
        Pixel[0] = Color;
        Pixel[Count - 1] = Color;
        Pixel[Count >> 1] = Color;
        Pixel[(Count - 1) >> 1] = Color;
        return;
    }
    if (Count <= 8) {
        const uint64_t word = Repeated<uint64_t>(Color);
        StoreWord(Pixel, word);
        StoreWord(Pixel + Count - 4, word);
        return;
    }
    std::fill(Pixel, Pixel + Count, Color);
}

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
    const int32_t lastColumn = Frame.Width() - 1;
    if (lastColumn < 0) return;
    for (int y = Low; y <= High; ++y) {
        const int32_t low = MinX[y], high = MaxX[y];
        if (low == Empty) continue;
        // Most spans of a large model are one pixel inside the buffer.
        if (low == high && static_cast<uint32_t>(low) <= static_cast<uint32_t>(lastColumn)) {
            Frame.RowTable[y][low] = Color;
            continue;
        }
        const int32_t left = std::max(low, 0);
        const int32_t right = std::min(high, lastColumn);
        if (left > right) continue;
        FillSpan(Frame.RowTable[y] + left, right - left + 1, Color);
    }
}

} // namespace verdel
