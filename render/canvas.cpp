#include "render/canvas.h"

#include <algorithm>
#include <cstdlib>

#include "render/render_math.h"

namespace verdel {

namespace {

int64_t FloorDiv(int64_t n, int64_t d) { return n >= 0 ? n / d : -((-n + d - 1) / d); }
int64_t CeilDiv(int64_t n, int64_t d) { return -FloorDiv(-n, d); }

// One line in terms of its major axis (the longer one, x on a tie) and its
// minor axis. Pixel i (0 <= i < Major) sits at major position Start + i x
// step and minor position MinorStart + Offset(i) x step, where
// Offset(i) = floor((2 i Minor + Major) / (2 Major)): the minor coordinate
// rounded half up towards the end point.
struct TLineRun {
    int64_t MajorStart, MinorStart;
    int64_t Major, Minor;                             // lengths along both axes, Major >= Minor
    int MajorSign, MinorSign;                         // +1 or -1
    int64_t MajorLow, MajorHigh, MinorLow, MinorHigh; // the coordinates drawn
};

// The range of i for which a step-signed coordinate stays within Low..High.
void AxisRange(int64_t Start, int Sign, int64_t Low, int64_t High, int64_t& First, int64_t& Last)
{
    First = Sign > 0 ? Low - Start : Start - High;
    Last = Sign > 0 ? High - Start : Start - Low;
}

// Whether a coordinate lies within Low..High.
bool Inside(int64_t Value, int64_t Low, int64_t High) { return Value >= Low && Value <= High; }

// First and last pixel index inside the drawn rows and columns; First > Last when none.
void ClipRun(const TLineRun& run, int64_t& First, int64_t& Last)
{
    // Both end points inside: every pixel between them is too.
    const int64_t majorEnd = run.MajorStart + run.MajorSign * run.Major;
    const int64_t minorEnd = run.MinorStart + run.MinorSign * run.Minor;
    if (Inside(run.MajorStart, run.MajorLow, run.MajorHigh) && Inside(majorEnd, run.MajorLow, run.MajorHigh) &&
        Inside(run.MinorStart, run.MinorLow, run.MinorHigh) && Inside(minorEnd, run.MinorLow, run.MinorHigh)) {
        First = 0;
        Last = run.Major - 1;
        return;
    }
    int64_t low, high;
    AxisRange(run.MajorStart, run.MajorSign, run.MajorLow, run.MajorHigh, low, high);
    First = std::max<int64_t>(0, low);
    Last = std::min<int64_t>(run.Major - 1, high);
    AxisRange(run.MinorStart, run.MinorSign, run.MinorLow, run.MinorHigh, low, high);
    if (run.Minor == 0) {
        if (low > 0 || high < 0) Last = First - 1;
        return;
    }
    const int64_t twiceMajor = 2 * run.Major, twiceMinor = 2 * run.Minor;
    First = std::max(First, CeilDiv(twiceMajor * low - run.Major, twiceMinor));
    Last = std::min(Last, CeilDiv(twiceMajor * (high + 1) - run.Major, twiceMinor) - 1);
}

} // namespace

void TCanvas::Line(int X0, int Y0, int X1, int Y1, uint16_t Color16, int FirstRow, int LastRow)
{
    const int64_t dx = int64_t(X1) - X0, dy = int64_t(Y1) - Y0;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const int64_t strideWords = Target.Stride() / 2;
    const int64_t lastColumn = Target.Width() - 1;
    FirstRow = std::max(FirstRow, 0);
    LastRow = std::min(LastRow, Target.Height() - 1);
    TLineRun run{};
    run.MajorStart = xMajor ? X0 : Y0;
    run.MinorStart = xMajor ? Y0 : X0;
    run.Major = std::llabs(xMajor ? dx : dy);
    run.Minor = std::llabs(xMajor ? dy : dx);
    run.MajorSign = (xMajor ? dx : dy) < 0 ? -1 : 1;
    run.MinorSign = (xMajor ? dy : dx) < 0 ? -1 : 1;
    run.MajorLow = xMajor ? 0 : FirstRow;
    run.MajorHigh = xMajor ? lastColumn : LastRow;
    run.MinorLow = xMajor ? FirstRow : 0;
    run.MinorHigh = xMajor ? LastRow : lastColumn;
    if (run.Major == 0) return; // a single point is its own last point

    int64_t first, last;
    ClipRun(run, first, last);
    if (first > last) return;

    // Memory runs top-down, the same direction as canvas rows.
    const int64_t majorStep = run.MajorSign * (xMajor ? 1 : strideWords);
    const int64_t minorStep = run.MinorSign * (xMajor ? strideWords : 1);
    const int64_t twiceMajor = 2 * run.Major, twiceMinor = 2 * run.Minor;
    // Pixel first's minor offset and the remainder of its division (no division for the first pixel).
    const int64_t numerator = twiceMinor * first + run.Major;
    const int64_t offset = first == 0 ? 0 : numerator / twiceMajor;
    int64_t remainder = first == 0 ? run.Major : numerator % twiceMajor;
    const int64_t major = run.MajorStart + run.MajorSign * first;
    const int64_t minor = run.MinorStart + run.MinorSign * offset;
    const int64_t x = xMajor ? major : minor;
    const int64_t y = xMajor ? minor : major;
    uint16_t* pixel = reinterpret_cast<uint16_t*>(Target.Bits()) + y * strideWords + x;
    for (int64_t left = last - first;; --left) {
        *pixel = Color16;
        if (left == 0) break;
        pixel += majorStep;
        remainder += twiceMinor;
        if (remainder >= twiceMajor) {
            remainder -= twiceMajor;
            pixel += minorStep;
        }
    }
}

void TCanvas::LineTo(int X, int Y)
{
    Line(PenX, PenY, X, Y, PenTo16(PenColor));
    MoveTo(X, Y);
}

TColor TCanvas::Pixel(int X, int Y) const
{
    if (X < 0 || X >= Target.Width() || Y < 0 || Y >= Target.Height()) return InvalidColor;
    return Color16ToColor(Target.Pixel(X, Target.Height() - 1 - Y));
}

} // namespace verdel
