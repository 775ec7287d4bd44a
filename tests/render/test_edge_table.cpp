#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <utility>
#include <vector>

#include "render/canvas.h"
#include "render/edge_table.h"
#include "render/render_math.h"

using namespace verdel;

namespace {

// The edge table as the rules read, row by row over the whole walk, for comparison.
struct TFullTable {
    std::vector<int32_t> MinX, MaxX;
    int Height;
    explicit TFullTable(int height) : MinX(height, TEdgeTable::Empty), MaxX(height, 0), Height(height) {}
    void Scan(int x0, int y0, int x1, int y1)
    {
        if (y0 == y1) return;
        if (y0 > y1) {
            std::swap(x0, x1);
            std::swap(y0, y1);
        }
        const float slope = static_cast<float>(x1 - x0) / static_cast<float>(y1 - y0);
        float x = static_cast<float>(x0);
        for (int y = y0; y <= y1; ++y) {
            if (y >= 0 && y <= Height - 1) {
                if (MinX[y] == TEdgeTable::Empty) {
                    MinX[y] = MaxX[y] = static_cast<int32_t>(std::nearbyint(x));
                } else {
                    if (MinX[y] > x) MinX[y] = static_cast<int32_t>(std::nearbyint(x));
                    if (MaxX[y] < x) MaxX[y] = static_cast<int32_t>(std::nearbyint(x));
                }
            }
            x = x + slope;
        }
    }
};

std::vector<int32_t> MinColumn(const TEdgeTable& table, int height)
{
    std::vector<int32_t> values;
    for (int y = 0; y < height; ++y) values.push_back(table.XMin(y));
    return values;
}

} // namespace

TEST(EdgeTable, BothEndRowsTakeTheEdgeAndHorizontalEdgesAddNothing)
{
    TEdgeTable table;
    table.SetHeight(10);
    table.ScanEdge({2, 0}, {6, 4});
    for (int y = 0; y <= 4; ++y) {
        EXPECT_EQ(table.XMin(y), 2 + y);
        EXPECT_EQ(table.XMax(y), 2 + y);
    }
    EXPECT_EQ(table.XMin(5), TEdgeTable::Empty);
    table.Reset();
    table.ScanEdge({1, 3}, {8, 3});
    EXPECT_GT(table.LowRow(), table.HighRow());
    for (int y = 0; y < 10; ++y) EXPECT_EQ(table.XMin(y), TEdgeTable::Empty);
}

TEST(EdgeTable, AVertexRowHoldsBothEdgesAndASliverCoversTwoRows)
{
    TEdgeTable table;
    table.SetHeight(10);
    // Triangle (1, 2), (7, 2), (4, 3): one pixel high, rows 2 and 3.
    table.ScanEdge({1, 2}, {7, 2});
    table.ScanEdge({7, 2}, {4, 3});
    table.ScanEdge({4, 3}, {1, 2});
    EXPECT_EQ(table.XMin(2), 1);
    EXPECT_EQ(table.XMax(2), 7);
    EXPECT_EQ(table.XMin(3), 4);
    EXPECT_EQ(table.XMax(3), 4);
    EXPECT_EQ(table.LowRow(), 2);
    EXPECT_EQ(table.HighRow(), 3);
}

TEST(EdgeTable, MatchesTheFullTableOnRandomEdgesAlsoFarOutside)
{
    std::mt19937 random(4);
    std::uniform_int_distribution<int> near(-40, 80), far(-3000, 3000);
    TEdgeTable table;
    const int height = 50;
    table.SetHeight(height);
    for (int face = 0; face < 400; ++face) {
        SCOPED_TRACE(face);
        table.Reset();
        TFullTable full(height);
        const int corners = 3 + face % 2;
        int x[4], y[4];
        for (int c = 0; c < corners; ++c) {
            x[c] = face % 5 == 0 ? far(random) : near(random);
            y[c] = face % 7 == 0 ? far(random) : near(random);
        }
        for (int c = 0; c < corners; ++c) {
            const int n = (c + 1) % corners;
            table.ScanEdge({x[c], y[c]}, {x[n], y[n]});
            full.Scan(x[c], y[c], x[n], y[n]);
        }
        EXPECT_EQ(MinColumn(table, height), full.MinX);
        for (int y0 = 0; y0 < height; ++y0)
            if (full.MinX[y0] != TEdgeTable::Empty) {
                EXPECT_EQ(table.XMax(y0), full.MaxX[y0]);
            }
    }
}

TEST(EdgeTable, BandsOfRowsHoldExactlyTheWholeTablesRows)
{
    // Faces reaching far below and above: a band's rows must see the x the
    // whole walk reaches there (a Single stepped row by row from the edge's
    // lower end), for plain and textured edges alike.
    std::mt19937 random(11);
    std::uniform_int_distribution<int> near(-40, 120), far(-3000, 3000);
    const int height = 90;
    TEdgeTable whole;
    whole.SetHeight(height);
    std::vector<TEdgeTable> bands(4);
    for (TEdgeTable& band : bands) band.SetHeight(height);
    for (int face = 0; face < 300; ++face) {
        SCOPED_TRACE(face);
        // Four bands cutting the rows at random places (some empty).
        int cuts[5] = {0, 0, 0, 0, height};
        for (int b = 1; b < 4; ++b) cuts[b] = static_cast<int>(random() % (height + 1));
        std::sort(cuts, cuts + 5);
        for (int b = 0; b < 4; ++b) bands[b].SetBand(cuts[b], cuts[b + 1] - 1);
        whole.Reset();
        const int corners = 3 + face % 2;
        int x[4], y[4];
        for (int c = 0; c < corners; ++c) {
            x[c] = face % 5 == 0 ? far(random) : near(random);
            y[c] = face % 3 == 0 ? far(random) : near(random);
        }
        const TTexCoord tex[4] = {{127, 0}, {127, 127}, {0, 127}, {0, 0}};
        for (int c = 0; c < corners; ++c) {
            const int n = (c + 1) % corners;
            const auto scan = [&](TEdgeTable& table) {
                if (face % 2) table.ScanTexturedEdge({x[c], y[c]}, {x[n], y[n]}, tex[c], tex[n]);
                else table.ScanEdge({x[c], y[c]}, {x[n], y[n]});
            };
            scan(whole);
            for (TEdgeTable& band : bands) scan(band);
        }
        for (int b = 0; b < 4; ++b) {
            for (int r = 0; r < height; ++r) {
                const bool inside = r >= cuts[b] && r < cuts[b + 1];
                ASSERT_EQ(bands[b].XMin(r), inside ? whole.XMin(r) : TEdgeTable::Empty) << "band " << b << " row " << r;
                if (!inside || whole.XMin(r) == TEdgeTable::Empty) continue;
                ASSERT_EQ(bands[b].XMax(r), whole.XMax(r)) << r;
                if (face % 2 == 0) continue;
                ASSERT_EQ(bands[b].Left(r).U, whole.Left(r).U) << r;
                ASSERT_EQ(bands[b].Left(r).V, whole.Left(r).V) << r;
                ASSERT_EQ(bands[b].Right(r).U, whole.Right(r).U) << r;
                ASSERT_EQ(bands[b].Right(r).V, whole.Right(r).V) << r;
            }
        }
    }
}

TEST(EdgeTable, TexturedEdgesStepFixedPointCoordinatesAndUpdateTheRightEndFirst)
{
    TEdgeTable table;
    table.SetHeight(10);
    // Right edge at x 7 from V 127 (row 2) to V 0 (row 6); left edge at x 3.
    table.ScanTexturedEdge({7, 6}, {7, 2}, {127, 0}, {127, 127});
    table.ScanTexturedEdge({3, 2}, {3, 6}, {0, 127}, {0, 0});
    const int v[5] = {127, 95, 63, 31, 0}; // 32512 - k x 8128, divided by 256
    for (int k = 0; k < 5; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(table.XMin(2 + k), 3);
        EXPECT_EQ(table.XMax(2 + k), 7);
        EXPECT_EQ(table.Left(2 + k).U, 0);
        EXPECT_EQ(table.Right(2 + k).U, 127);
        EXPECT_EQ(table.Left(2 + k).V, v[k]);
        EXPECT_EQ(table.Right(2 + k).V, v[k]);
    }
}

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

// A textured span one pixel wide is written without stepping: its pixel
// must be the one the stepped walk gives the left end of a wider span, also
// where a second edge in the same pixel has set the row's right end, and a
// pixel just outside the buffer is not written at all (an even width has
// no pad pixel to hide a stray write).
TEST(EdgeTable, AOnePixelTexturedSpanTakesTheTexelTheStepsGive)
{
    TTexture texture;
    for (size_t i = 0; i < texture.size(); ++i) texture[i] = static_cast<uint16_t>(i * 2654435761u >> 17);
    const auto ramps = BuildShadeRamps(BuildShadeTable());
    const int width = 8;
    for (const int x : {-1, 0, 4, width - 1, width}) {
        for (const auto& [from, to] : {std::pair<TTexCoord, TTexCoord>{{0, 0}, {127, 127}},
                                       {{127, 0}, {0, 127}},
                                       {{63, 5}, {17, 120}}}) {
            SCOPED_TRACE(x);
            TDIB16bit one, wide;
            one.Create(width, 6);
            wide.Create(width, 6);
            one.Fill(1);
            wide.Fill(1);
            TEdgeTable table;
            table.SetHeight(6);
            // Rows 0 to 2 hold x from both edges; the second, at x + 0.2 and
            // x + 0.4 on rows 1 and 2, moves the right end within the pixel.
            table.ScanTexturedEdge({x, 0}, {x, 2}, from, to);
            table.ScanTexturedEdge({x, 0}, {x + 1, 5}, to, from);
            table.FillTexturedSpans(one, texture, ramps[20]);
            // The same rows as stepped spans from x to x + 2.
            table.ScanTexturedEdge({x + 2, 2}, {x + 2, 0}, to, from);
            table.FillTexturedSpans(wide, texture, ramps[20]);
            for (int r = 0; r < 6; ++r) {
                for (int c = 0; c < width; ++c) {
                    // Rows 3 to 5 hold the second edge alone, at x + 1.
                    const uint16_t expected = c == x && r <= 2 ? wide.Pixel(c, r) : 1;
                    if (c != x + 1 || r <= 2) {
                        EXPECT_EQ(one.Pixel(c, r), expected) << c << "," << r;
                    }
                }
            }
        }
    }
}

TEST(EdgeTable, FilledSpansAreClippedToTheBuffer)
{
    TDIB16bit frame;
    frame.Create(6, 4);
    frame.Fill(0);
    TEdgeTable table;
    table.SetHeight(4);
    // A face wider and taller than the buffer: every pixel once, nothing outside.
    table.ScanEdge({20, -3}, {20, 9});
    table.ScanEdge({-9, 9}, {-9, -3});
    table.FillSpans(frame, 0x1234);
    for (int r = 0; r < 4; ++r)
        for (int x = 0; x < 6; ++x) EXPECT_EQ(frame.Pixel(x, r), 0x1234) << x << "," << r;
}

// Spans are written by overlapping stores when short: each width from one
// pixel up, at each start, also partly or wholly outside the buffer, fills
// exactly its own pixels within the buffer and no neighbour. The span lies
// on the upper row, so a write past its end would show in the lower one.
TEST(EdgeTable, SpansOfEveryShortWidthFillExactlyTheirPixels)
{
    TDIB16bit frame;
    frame.Create(40, 2);
    TEdgeTable table;
    table.SetHeight(2);
    for (int width = 1; width <= 20; ++width) {
        for (int start = -width; start <= 41; start += start < 0 || start > 36 ? 1 : 3) {
            frame.Fill(0);
            table.Reset();
            table.ScanEdge({start, 1}, {start, 2});
            table.ScanEdge({start + width - 1, 2}, {start + width - 1, 1});
            table.FillSpans(frame, 0x2A5);
            for (int r = 0; r < 2; ++r) {
                for (int x = 0; x < 40; ++x) {
                    const bool inside = r == 1 && x >= start && x < start + width;
                    ASSERT_EQ(frame.Pixel(x, r), inside ? 0x2A5 : 0) << width << " from " << start << " at " << x;
                }
            }
        }
    }
}

TEST(Canvas, LinesLeaveTheirLastPointAndMatchAnUnclippedWalk)
{
    TDIB16bit frame;
    frame.Create(40, 30);
    TCanvas canvas(frame);
    frame.Fill(0);
    canvas.Line(0, 0, 4, 2, 7);
    // x-major, the minor coordinate rounded half up: (0,0) (1,1) (2,1) (3,2); (4,2) not set.
    const int expected[4][2] = {{0, 0}, {1, 1}, {2, 1}, {3, 2}};
    for (const auto& p : expected) EXPECT_EQ(canvas.Pixel(p[0], p[1]), Color16ToColor(7));
    EXPECT_EQ(canvas.Pixel(4, 2), 0u);

    // Lines reaching far outside are clipped to exactly the pixels an unclipped walk sets.
    std::mt19937 random(9);
    std::uniform_int_distribution<int> coordinate(-400, 400);
    for (int line = 0; line < 300; ++line) {
        const int x0 = coordinate(random), y0 = coordinate(random), x1 = coordinate(random), y1 = coordinate(random);
        SCOPED_TRACE(::testing::Message() << x0 << "," << y0 << " to " << x1 << "," << y1);
        frame.Fill(0);
        canvas.Line(x0, y0, x1, y1, 1);
        std::vector<uint16_t> walked(40 * 30, 0);
        const int dx = x1 - x0, dy = y1 - y0, major = std::max(std::abs(dx), std::abs(dy));
        const int minor = std::min(std::abs(dx), std::abs(dy));
        const bool xMajor = std::abs(dx) >= std::abs(dy);
        for (int i = 0; i < major; ++i) {
            const int offset = (2 * i * minor + major) / (2 * major);
            const int x = xMajor ? x0 + (dx < 0 ? -i : i) : x0 + (dx < 0 ? -offset : offset);
            const int y = xMajor ? y0 + (dy < 0 ? -offset : offset) : y0 + (dy < 0 ? -i : i);
            if (x >= 0 && x < 40 && y >= 0 && y < 30) walked[y * 40 + x] = 1;
        }
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x) ASSERT_EQ(canvas.Pixel(x, y) != 0, walked[y * 40 + x] != 0) << x << "," << y;
    }
    // An absurd line ends at once: it passes some 500 rows outside the frame, so nothing is drawn.
    frame.Fill(0);
    canvas.Line(-1048576, -1048000, 1048576, 1047000, 1);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_EQ(canvas.Pixel(x, y), 0) << x << "," << y;
}

TEST(Canvas, TheLinesOfBandsOfRowsMakeUpTheWholeLine)
{
    TDIB16bit whole, banded;
    whole.Create(40, 30);
    banded.Create(40, 30);
    TCanvas wholeCanvas(whole), bandedCanvas(banded);
    std::mt19937 random(21);
    std::uniform_int_distribution<int> coordinate(-60, 90);
    for (int line = 0; line < 400; ++line) {
        const int x0 = coordinate(random), y0 = coordinate(random), x1 = coordinate(random), y1 = coordinate(random);
        SCOPED_TRACE(::testing::Message() << x0 << "," << y0 << " to " << x1 << "," << y1);
        whole.Fill(0);
        banded.Fill(0);
        wholeCanvas.Line(x0, y0, x1, y1, 1);
        // Three bands at random rows, each drawing in its own colour.
        int cuts[4] = {0, static_cast<int>(random() % 31), static_cast<int>(random() % 31), 30};
        std::sort(cuts, cuts + 4);
        for (int b = 0; b < 3; ++b)
            bandedCanvas.Line(x0, y0, x1, y1, static_cast<uint16_t>(b + 1), cuts[b], cuts[b + 1] - 1);
        for (int y = 0; y < 30; ++y) {
            const int band = y < cuts[1] ? 1 : y < cuts[2] ? 2 : 3;
            for (int x = 0; x < 40; ++x) {
                const TColor expected = wholeCanvas.Pixel(x, y) ? Color16ToColor(static_cast<uint16_t>(band)) : 0;
                ASSERT_EQ(bandedCanvas.Pixel(x, y), expected) << x << "," << y;
            }
        }
    }
}
