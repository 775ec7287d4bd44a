#include <gtest/gtest.h>

#include <gif_lib.h>

#include <sstream>

#include "render/gif_animation.h"
#include "render/jpeg_image.h"

using namespace verdel;

namespace {

TRgbImage Plain(int width, int height, uint8_t r, uint8_t g, uint8_t b)
{
    TRgbImage image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.SetPixel(x, y, r, g, b);
    return image;
}

int ReadFromStream(GifFileType* gif, GifByteType* bytes, int count)
{
    auto* in = static_cast<std::istream*>(gif->UserData);
    in->read(reinterpret_cast<char*>(bytes), count);
    return static_cast<int>(in->gcount());
}

// A whole GIF decoded by giflib; the test owns the result.
struct TDecoded {
    GifFileType* Gif = nullptr;
    explicit TDecoded(const std::string& bytes) : In(bytes)
    {
        int error = 0;
        Gif = DGifOpen(&In, ReadFromStream, &error);
        if (Gif && DGifSlurp(Gif) != GIF_OK) {
            DGifCloseFile(Gif, &error);
            Gif = nullptr;
        }
    }
    ~TDecoded()
    {
        if (Gif) DGifCloseFile(Gif, nullptr);
    }
    // The colour of pixel (X, Y) of frame Frame as 0x00BBGGRR.
    TColor Pixel(int frame, int x, int y) const
    {
        const SavedImage& image = Gif->SavedImages[frame];
        const GifColorType c = Gif->SColorMap->Colors[image.RasterBits[y * image.ImageDesc.Width + x]];
        return c.Red | TColor(c.Green) << 8 | TColor(c.Blue) << 16;
    }
    std::istringstream In;
};

} // namespace

TEST(GifAnimation, FramesDecodeWithTheirSizeDelayAndColours)
{
    std::ostringstream out;
    {
        TGifAnimation gif(out, 8, 4, 7, "growth.gif");
        gif.AddFrame(Plain(8, 4, 0, 0, 0));
        gif.AddFrame(Plain(8, 4, 255, 255, 255));
        TRgbImage mixed = Plain(8, 4, 255, 0, 0);
        mixed.SetPixel(7, 3, 0, 255, 0);
        gif.AddFrame(mixed);
        gif.Finish();
    }
    const TDecoded decoded(out.str());
    ASSERT_NE(decoded.Gif, nullptr);
    EXPECT_EQ(decoded.Gif->SWidth, 8);
    EXPECT_EQ(decoded.Gif->SHeight, 4);
    ASSERT_EQ(decoded.Gif->ImageCount, 3);
    for (int frame = 0; frame < 3; ++frame) {
        GraphicsControlBlock control;
        ASSERT_EQ(DGifSavedExtensionToGCB(decoded.Gif, frame, &control), GIF_OK);
        EXPECT_EQ(control.DelayTime, 7);
    }
    // Black, white and the pure primaries are palette colours and come back exactly.
    EXPECT_EQ(decoded.Pixel(0, 3, 2), 0x000000u);
    EXPECT_EQ(decoded.Pixel(1, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(decoded.Pixel(2, 0, 0), 0x0000FFu);
    EXPECT_EQ(decoded.Pixel(2, 7, 3), 0x00FF00u);
    // The loop extension is kept with the first frame's blocks.
    bool loops = false;
    const SavedImage& first = decoded.Gif->SavedImages[0];
    for (int i = 0; i < first.ExtensionBlockCount; ++i)
        loops |= first.ExtensionBlocks[i].Function == APPLICATION_EXT_FUNC_CODE &&
                 first.ExtensionBlocks[i].ByteCount == 11 &&
                 std::string(reinterpret_cast<char*>(first.ExtensionBlocks[i].Bytes), 11) == "NETSCAPE2.0";
    EXPECT_TRUE(loops);
}

TEST(GifAnimation, DitheredAreasKeepTheirAverageColour)
{
    const struct {
        uint8_t R, G, B;
    } colours[] = {{0, 128, 0}, {100, 150, 30}, {17, 200, 250}, {245, 5, 77}};
    for (const auto& c : colours) {
        SCOPED_TRACE(testing::Message() << int(c.R) << "," << int(c.G) << "," << int(c.B));
        const std::array<TColor, 256> palette = GifPalette();
        long sum[3] = {};
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) {
                const TColor p = palette[GifPaletteIndex(x, y, c.R, c.G, c.B)];
                sum[0] += p & 0xFF;
                sum[1] += p >> 8 & 0xFF;
                sum[2] += p >> 16 & 0xFF;
            }
        // 16 thresholds over a level step of 51 (red, blue) or 42.5 (green): within half a step's sixteenth and rounding.
        EXPECT_NEAR(sum[0] / 16.0, c.R, 3.5);
        EXPECT_NEAR(sum[1] / 16.0, c.G, 3.0);
        EXPECT_NEAR(sum[2] / 16.0, c.B, 3.5);
        // The same pixel always gets the same index.
        EXPECT_EQ(GifPaletteIndex(5, 9, c.R, c.G, c.B), GifPaletteIndex(1, 1, c.R, c.G, c.B));
    }
}

TEST(GifAnimation, AFrameOfAnotherSizeIsRefused)
{
    std::ostringstream out;
    TGifAnimation gif(out, 8, 4, 10, "growth.gif");
    EXPECT_THROW(gif.AddFrame(Plain(4, 8, 0, 0, 0)), EImageError);
    std::ostringstream closed;
    closed.setstate(std::ios::badbit);
    EXPECT_THROW(TGifAnimation(closed, 8, 4, 10, "closed.gif"), EImageError);
}
