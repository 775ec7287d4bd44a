// Animated GIFs, read back with giflib, and their ordered dithering.
#include <gtest/gtest.h>

#include <gif_lib.h>

#include <algorithm>
#include <sstream>

#include "render/gif_animation.h"
#include "render/jpeg_image.h"

using namespace verdel;

namespace {

int ReadFromStream(GifFileType* gif, GifByteType* bytes, int count)
{
    auto* in = static_cast<std::istream*>(gif->UserData);
    in->read(reinterpret_cast<char*>(bytes), count);
    return static_cast<int>(in->gcount());
}

} // namespace

TEST(GifAnimation, FramesDecodeWithTheirSizeDelayColoursAndLoop)
{
    std::ostringstream out;
    {
        TGifAnimation gif(out, 8, 4, 7, "growth.gif");
        TRgbImage black(8, 4), white(8, 4), mixed(8, 4);
        std::fill(white.Pixels.begin(), white.Pixels.end(), 255);
        mixed.SetPixel(0, 0, 255, 0, 0);
        mixed.SetPixel(7, 3, 0, 255, 0);
        for (const TRgbImage* frame : {&black, &white, &mixed}) gif.AddFrame(*frame);
        gif.Finish();
    }
    std::istringstream in(out.str());
    int error = 0;
    GifFileType* gif = DGifOpen(&in, ReadFromStream, &error);
    ASSERT_NE(gif, nullptr);
    ASSERT_EQ(DGifSlurp(gif), GIF_OK);
    EXPECT_EQ(gif->SWidth, 8);
    EXPECT_EQ(gif->SHeight, 4);
    ASSERT_EQ(gif->ImageCount, 3);
    // The colour of pixel (X, Y) of a frame as 0x00BBGGRR.
    const auto pixel = [&](int frame, int x, int y) {
        const GifColorType c = gif->SColorMap->Colors[gif->SavedImages[frame].RasterBits[y * 8 + x]];
        return c.Red | TColor(c.Green) << 8 | TColor(c.Blue) << 16;
    };
    for (int frame = 0; frame < 3; ++frame) {
        GraphicsControlBlock control;
        ASSERT_EQ(DGifSavedExtensionToGCB(gif, frame, &control), GIF_OK);
        EXPECT_EQ(control.DelayTime, 7);
    }
    // Black, white and the pure primaries are palette colours and come back exactly.
    EXPECT_EQ(pixel(0, 3, 2), 0x000000u);
    EXPECT_EQ(pixel(1, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(pixel(2, 0, 0), 0x0000FFu);
    EXPECT_EQ(pixel(2, 7, 3), 0x00FF00u);
    // The loop extension is kept with the first frame's blocks.
    bool loops = false;
    const SavedImage& first = gif->SavedImages[0];
    for (int i = 0; i < first.ExtensionBlockCount; ++i)
        loops |= first.ExtensionBlocks[i].Function == APPLICATION_EXT_FUNC_CODE &&
                 std::string(reinterpret_cast<char*>(first.ExtensionBlocks[i].Bytes), 11) == "NETSCAPE2.0";
    EXPECT_TRUE(loops);
    DGifCloseFile(gif, &error);
}

// Each channel dithered alone, value by value: over a block of 4 x 4 pixels
// the sum of its levels starts at 0, ends at 16 times the top level and
// rises by at most one a value, so every one of the 16 thresholds is used
// once and the block's average follows the value.
TEST(GifAnimation, EveryThresholdOfTheDitherIsUsedOnce)
{
    const std::array<TColor, 256> palette = GifPalette();
    const int levels[3] = {GifRedLevels, GifGreenLevels, GifBlueLevels};
    for (int channel = 0; channel < 3; ++channel) {
        SCOPED_TRACE(channel);
        int before = 0;
        for (int value = 0; value < 256; ++value) {
            uint8_t rgb[3] = {};
            rgb[channel] = static_cast<uint8_t>(value);
            int sum = 0;
            for (int p = 0; p < 16; ++p) {
                const TColor c = palette[GifPaletteIndex(p % 4 + 8, p / 4 + 4, rgb[0], rgb[1], rgb[2])];
                sum += static_cast<int>(((c >> 8 * channel) & 255) * (levels[channel] - 1) + 127) / 255;
            }
            ASSERT_GE(sum, before) << value;
            ASSERT_LE(sum, before + 1) << value;
            if (value == 0) EXPECT_EQ(sum, 0);
            if (value == 255) EXPECT_EQ(sum, 16 * (levels[channel] - 1));
            before = sum;
        }
    }
}

TEST(GifAnimation, AFrameOfAnotherSizeOrAClosedStreamIsRefused)
{
    std::ostringstream out;
    TGifAnimation gif(out, 8, 4, 10, "growth.gif");
    EXPECT_THROW(gif.AddFrame(TRgbImage(4, 8)), EImageError);
    std::ostringstream closed;
    closed.setstate(std::ios::badbit);
    EXPECT_THROW(TGifAnimation(closed, 8, 4, 10, "closed.gif"), EImageError);
}
