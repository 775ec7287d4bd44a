// The edge table's exact arithmetic, exhaustively over small values; whole
// faces are compared with a plain fill in test_reference_frames.cpp.
#include <gtest/gtest.h>

#include "render/edge_table.h"

using namespace verdel;

// Texture steps are divided by multiplying with a reciprocal for small
// counts: every quotient must be the truncated division's, for every delta a
// texture can have, every count the table holds and a few beyond it.
TEST(EdgeTable, FixedPointStepsAreTheTruncatedQuotientForEveryDeltaAndCount)
{
    for (int32_t count = 1; count <= 4200; count += count < 300 ? 1 : 37) {
        for (int32_t delta = -300; delta <= 300; ++delta) {
            const int32_t expected = delta * 256 / count;
            if (FixedStep(delta, count) != expected) FAIL() << delta << " / " << count;
        }
    }
    EXPECT_EQ(FixedStep(-1, 3), -85);
    EXPECT_EQ(FixedStep(-3, 512), -1);
    EXPECT_EQ(FixedStep(127, 4096), 7);
    EXPECT_EQ(FixedStep(1000, 3), 85333);
}

// Spans are written by overlapping stores when short: each width from one
// pixel up, at each start, also partly or wholly outside the buffer, fills
// exactly its own pixels within the buffer and no neighbour. The span lies
// on the upper row, so a write past its end would show in the lower one, and
// the rows are 39 pixels wide, so one past the last would show in the pad.
TEST(EdgeTable, SpansOfEveryShortWidthFillExactlyTheirPixels)
{
    TDIB16bit frame;
    frame.Create(39, 2);
    ASSERT_EQ(frame.Stride(), 80);
    const auto* words = reinterpret_cast<const uint16_t*>(frame.Bits());
    TEdgeTable table;
    table.SetHeight(2);
    for (int width = 1; width <= 20; ++width) {
        for (int start = -width; start <= 40; start += start < 0 || start > 35 ? 1 : 3) {
            frame.Fill(0);
            table.Reset();
            table.ScanEdge({start, 1}, {start, 2});
            table.ScanEdge({start + width - 1, 2}, {start + width - 1, 1});
            table.FillSpans(frame, 0x2A5);
            for (int r = 0; r < 2; ++r)
                for (int x = 0; x < 40; ++x) { // column 39: the pad
                    const bool inside = r == 1 && x < 39 && x >= start && x < start + width;
                    ASSERT_EQ(x < 39 ? frame.Pixel(x, r) : words[40 * r + x], inside ? 0x2A5 : 0)
                        << width << " from " << start << " at " << x;
                }
        }
    }
}
