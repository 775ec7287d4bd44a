#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "engine/text_lines.h"
#include "render/image_files.h"
#include "viewer/thumbnail.h"

using namespace verdel;

namespace {

// A cell on a dark grey background, drawing without solids.
struct TCell : TThumbnailCell {
    explicit TCell(int width = 200, int height = 150) : TThumbnailCell(width, height) { Gmp->SetBackColor(0x202020); }
    TThumbnail Render(const TLines& lines, uint32_t seed = 1) { return TThumbnailCell::Render(lines, {}, seed); }
};

TLines Sample(const char* name) { return ReadLinesFromFile(std::string(VERDEL_DATA) + "/vdfiles/" + name); }

} // namespace

TEST(Thumbnail, PlacedModelsFillTheirPictureAndStayInside)
{
    const struct {
        const char* Name;
        TLines Lines;
        int Width, Height;
    } cases[] = {
        {"bush, wide", Sample("bush.vd"), 200, 150},
        {"bush, tall", Sample("bush.vd"), 90, 160},
        {"a flat square", {"0", "90", "10", "{f+f+f+f}", "@"}, 120, 80},
        {"one upright tube", {"0", "90", "10", "F", "@"}, 100, 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TCell cell(c.Width, c.Height);
        const TThumbnail thumbnail = cell.Render(c.Lines);
        ASSERT_TRUE(thumbnail.Drawn) << thumbnail.Reason;
        // The box of the pixels that differ from the background.
        const TRgbImage picture = FrameToImage(cell.Gmp->Bitmap());
        int left = c.Width, top = c.Height, right = -1, bottom = -1;
        for (int y = 0; y < c.Height; ++y)
            for (int x = 0; x < c.Width; ++x)
                if (picture.Pixel(x, y) != 0x212121)
                    left = std::min(left, x), top = std::min(top, y), right = std::max(right, x), bottom = std::max(bottom, y);
        // Nothing beyond 90 % of the picture around its middle (a pixel of rounding allowed) ...
        const float marginX = 0.05f * c.Width - 1, marginY = 0.05f * c.Height - 1;
        EXPECT_GE(std::min(left - marginX, c.Width - 1 - marginX - right), 0);
        EXPECT_GE(std::min(top - marginY, c.Height - 1 - marginY - bottom), 0);
        // ... and the box of the model reaches that limit one way or the other, so the
        // drawing spans a good part of it (a box corner need not be a model point).
        EXPECT_GT(std::max(float(right - left + 1) / c.Width, float(bottom - top + 1) / c.Height), 0.5f);
    }
}

TEST(Thumbnail, AFailedGenerationGivesItsReasonAndACrossedOutPicture)
{
    const struct {
        const char* Name;
        TLines Lines;
        const char* Reason;
    } cases[] = {
        {"too long", {"30", "90", "10", "F", "F=FF", "@"}, "Production String Exceeded Maximum Length"},
        {"invalid",
         {"3", "", "10", "F", "@"},
         "Please Check Input Data\nBlank Line in File\nLine 2: the line is empty; blank lines may only follow the end "
         "line \"@\""},
        {"turtle",
         {"0", "90", "10", "F(1.2.3)", "@"},
         "'1.2.3' is not a valid floating point value\nLine 4, column 3: the parameter \"(1.2.3)\" is not a number"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TCell cell;
        const TThumbnail thumbnail = cell.Render(c.Lines);
        EXPECT_FALSE(thumbnail.Drawn);
        EXPECT_EQ(thumbnail.Reason, c.Reason);
        EXPECT_EQ(cell.Store->ObjectCount, 0);
        const TRgbImage picture = FrameToImage(cell.Gmp->Bitmap());
        const TColor corner = picture.Pixel(0, 0), middle = picture.Pixel(100, 75);
        EXPECT_GT(corner & 0xFF, 0x80u); // red on both diagonals
        EXPECT_EQ(corner & 0xFFFF00, 0u);
        EXPECT_EQ(middle, corner);
        EXPECT_EQ(picture.Pixel(100, 10), 0x212121u); // the background, 5-bit channels widened
    }
}

TEST(Thumbnail, AFailureLeavesNothingBehindForTheNextModel)
{
    const TLines bush = Sample("bush.vd");
    TCell alone, after;
    alone.Render(bush, 7);
    after.Render(bush, 3);
    after.Render({"30", "90", "10", "F", "F=FF", "@"});
    EXPECT_TRUE(after.Render(bush, 7).Drawn);
    EXPECT_EQ(FrameToImage(after.Gmp->Bitmap()).Pixels, FrameToImage(alone.Gmp->Bitmap()).Pixels);
}

TEST(Thumbnail, ContactSheetLaysCellsOutInRowsWithGaps)
{
    std::vector<TRgbImage> cells;
    for (uint8_t shade : {10, 20, 30}) {
        TRgbImage cell(3, 2);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x) cell.SetPixel(x, y, shade, 0, 0);
        cells.push_back(cell);
    }
    const TRgbImage sheet = ContactSheet(cells, 2, 1, 0xFFFFFF);
    EXPECT_EQ(sheet.Width, 9);
    EXPECT_EQ(sheet.Height, 7);
    const struct {
        int X, Y;
        TColor Colour;
    } pixels[] = {{0, 0, 0xFFFFFF}, {1, 1, 10},       {3, 2, 10}, {4, 1, 0xFFFFFF}, {5, 1, 20},
                  {7, 2, 20},       {1, 3, 0xFFFFFF}, {1, 4, 30}, {3, 5, 30},       {5, 4, 0xFFFFFF}};
    for (const auto& p : pixels) {
        SCOPED_TRACE(testing::Message() << p.X << "," << p.Y);
        EXPECT_EQ(sheet.Pixel(p.X, p.Y), p.Colour);
    }
}
