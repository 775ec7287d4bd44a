// Picture files (BMP bytes are pinned by the golden frames): PNG and JPEG read
// back by their libraries, the JPEG size guards, smooth edges and layer textures.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>

#include <png.h>

#include "render/gmp.h"
#include "render/image_files.h"
#include "render/scene_builder.h"
#include "render/supersampling.h"
#include "support/files.h"

using namespace verdel;
using namespace verdel::test;

TEST(PngFile, PixelsComeBackExactlyThroughLibpngWithTheNotesAsText)
{
    TRgbImage image(37, 23); // an odd width: no row falls on a word boundary
    for (size_t i = 0; i < image.Pixels.size(); ++i) image.Pixels[i] = static_cast<uint8_t>(i * 7 + i / 251);
    TPictureNotes notes;
    notes.Definition = "2\n90\n10\nF\nF=F[+F]\n@\n";
    notes.Seed = 4711;
    std::ostringstream out;
    WritePNG(out, image, notes, "p.png");
    const std::string bytes = out.str();

    png_image decoded{};
    decoded.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_memory(&decoded, bytes.data(), bytes.size())) << decoded.message;
    EXPECT_EQ(decoded.width, 37u);
    EXPECT_EQ(decoded.height, 23u);
    decoded.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(decoded));
    ASSERT_TRUE(png_image_finish_read(&decoded, nullptr, pixels.data(), 0, nullptr)) << decoded.message;
    EXPECT_EQ(pixels, image.Pixels);
    for (const std::string& chunk : {std::string("tEXtSoftware\0Verdel", 19),
                                     std::string("tEXtDefinition\0", 15) + notes.Definition,
                                     std::string("tEXtSeed\0" "4711", 13)})
        EXPECT_NE(bytes.find(chunk), std::string::npos) << chunk;
}

// A rectangle drawn 3 times larger than 1400 x 1400, in four tiles whose
// seams run through it: away from its outline every pixel keeps its colour,
// and the outline is smoothed.
TEST(Supersampling, EdgesAverageAndTilesMeetWhereTheyShould)
{
    for (const TRenderMode mode : {rmSolidShade, rmWireframe}) {
        SCOPED_TRACE(static_cast<int>(mode));
        auto store = std::make_unique<TFaceStore>();
        test::AddObject(*store, 0x0000FF, {test::ScreenRect(-500, 680, -450, 680)}); // across both seams at 1365
        auto gmp = std::make_unique<TGMP>();
        gmp->Resize(1400, 1400);
        gmp->SetBackColor(0x204060);
        gmp->RenderMode = mode;
        gmp->ClearToBackColor();
        gmp->RenderScene(*store);
        const TRgbImage plain = FrameToImage(gmp->Bitmap());
        const TRgbImage smooth = RenderSupersampled(*gmp, *store, 1400, 1400, 3);
        ASSERT_EQ(smooth.Width, 1400);
        ASSERT_EQ(smooth.Height, 1400);
        int kept = 0, changed = 0;
        for (int y = 0; y < 1400; ++y)
            for (int x = 0; x < 1400; ++x) {
                bool near = false; // within two pixels of a pixel of another colour
                for (int d = 0; d < 25 && !near; ++d) {
                    const TColor other = plain.Pixel(x + d % 5 - 2, y + d / 5 - 2);
                    near = other != plain.Pixel(x, y) && other != 0xFFFFFF;
                }
                if (!near) ASSERT_EQ(smooth.Pixel(x, y), plain.Pixel(x, y)) << x << "," << y;
                kept += !near;
                changed += near && smooth.Pixel(x, y) != plain.Pixel(x, y);
            }
        EXPECT_GT(kept, 1000000);
        EXPECT_GT(changed, 0);
    }
}

TEST(JpegFile, ColourBaselineAtFullSize)
{
    auto gmp = std::make_unique<TGMP>();
    gmp->Resize(37, 21);
    gmp->SetBackColor(0x4080C0);
    const TTempFolder folder("render-jpeg");
    SaveFrameJPEG(gmp->Bitmap(), folder / "frame.jpg");
    const std::string bytes = ReadWholeFile(folder / "frame.jpg");
    // The start of a baseline frame: length, precision, height, width, three components.
    const size_t frame = bytes.find("\xFF\xC0");
    ASSERT_NE(frame, std::string::npos);
    EXPECT_EQ(bytes.substr(frame + 5, 5), std::string("\x00\x15\x00\x25\x03", 5));
    // Read back: the widened background colour, give or take the compression.
    std::istringstream in(bytes);
    const TColor pixel = ReadJPEG(in, "frame.jpg").Pixel(18, 10);
    const TColor expected = Color16ToColor(ColorTo16(0x4080C0));
    for (int shift = 0; shift < 24; shift += 8)
        EXPECT_NEAR(static_cast<int>((pixel >> shift) & 255), static_cast<int>((expected >> shift) & 255), 3);

}

TEST(JpegFile, DamagedFilesGiveTheFileNameAndTheReason)
{
    std::ostringstream written;
    WriteJPEG(written, TRgbImage(64, 64), "good.jpg");
    const std::string good = written.str();
    // The same header claiming 10000 x 10001 pixels: refused before anything is allocated.
    std::string huge = good;
    const size_t frame = huge.find("\xFF\xC0") + 5;
    for (const auto& [at, value] : {std::pair{0, 10001}, std::pair{2, 10000}}) {
        huge[frame + at] = static_cast<char>(value >> 8);
        huge[frame + at + 1] = static_cast<char>(value & 255);
    }
    const struct {
        const char* name;
        std::string bytes;
        const char* reason;
    } cases[] = {
        {"empty", "", "empty"},
        {"not a jpeg", "this is not a picture at all", "Not a JPEG file"},
        {"truncated", good.substr(0, good.size() / 2), "Premature end"},
        {"garbled header", good.substr(0, 20) + std::string(200, '\x55'), ""},
        {"too large", huge, "picture of 10000 x 10001 pixels is too large"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::istringstream in(c.bytes);
        try {
            ReadJPEG(in, "bark.jpg");
            ADD_FAILURE() << "no error";
        } catch (const EImageError& error) {
            const std::string message = error.what();
            EXPECT_EQ(message.rfind("bark.jpg: ", 0), 0u) << message;
            EXPECT_NE(message.find(c.reason), std::string::npos) << message;
        }
    }
    EXPECT_THROW(ReadJPEGFile("/nonexistent/Text01.jpg"), EImageError);
}

TEST(JpegFile, PicturesAJpegCannotHoldAreRefusedBeforeEncoding)
{
    TRgbImage short4x4(4, 4);
    short4x4.Pixels.pop_back();
    const std::pair<TRgbImage, const char*> cases[] = {
        {TRgbImage(0, 5), "a JPEG picture cannot be 0 x 5 pixels"},
        {TRgbImage(5, 0), "a JPEG picture cannot be 5 x 0 pixels"},
        {TRgbImage(65501, 1), "a JPEG picture cannot be 65501 x 1 pixels"},
        {TRgbImage(1, 65501), "a JPEG picture cannot be 1 x 65501 pixels"},
        {short4x4, "the picture's pixels do not match its size"},
    };
    for (const auto& [image, message] : cases) {
        SCOPED_TRACE(message);
        std::ostringstream out;
        try {
            WriteJPEG(out, image, "x.jpg");
            ADD_FAILURE() << "no error";
        } catch (const EImageError& error) {
            EXPECT_EQ(std::string(error.what()), std::string("x.jpg: ") + message);
        }
        EXPECT_EQ(out.str(), "");
    }
    std::ostringstream out;
    WriteJPEG(out, TRgbImage(65500, 1), "wide.jpg");
    EXPECT_GT(out.str().size(), 100u) << "the widest picture a JPEG holds is written";
}

TEST(LayerTextures, TopLeftPixelsAndWhiteBeyondTheImage)
{
    auto gmp = std::make_unique<TGMP>();
    TRgbImage small(3, 2);
    small.SetPixel(2, 1, 255, 0, 0);
    gmp->SetLayerTexture(12, small);
    const TTexture& texture = gmp->LayerTexture(12); // [X][Y]
    EXPECT_EQ(texture[2 * 128 + 1], 31 << 10);
    EXPECT_EQ(texture[0], 0);
    EXPECT_EQ(texture[3 * 128 + 0], 0x7FFF);
    EXPECT_EQ(texture[0 * 128 + 2], 0x7FFF);
    EXPECT_THROW(gmp->SetLayerTexture(13, small), std::out_of_range);
    EXPECT_THROW(gmp->SetLayerTexture(0, small), std::out_of_range);
}
