#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <utility>

#include <jpeglib.h>
#include <png.h>

#include "render/gmp.h"
#include "render/image_files.h"
#include "render/scene_builder.h"
#include "render/supersampling.h"
#include "support/files.h"

using namespace verdel;
using verdel::test::ReadWholeFile;

namespace {

uint32_t Le(const std::string& bytes, size_t at, int count)
{
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = (value << 8) | static_cast<uint8_t>(bytes[at + i]);
    return value;
}

// A 3 x 2 frame: bottom row (31,0,0) (0,31,0) (0,0,31); top row 0x0000, 16 in every channel, 0x7FFF.
TDIB16bit SmallFrame()
{
    TDIB16bit frame;
    frame.Create(3, 2);
    frame.Fill(0);
    frame.PutPixel(0, 0, 31 << 10);
    frame.PutPixel(1, 0, 31 << 5);
    frame.PutPixel(2, 0, 31);
    frame.PutPixel(1, 1, (16 << 10) | (16 << 5) | 16);
    frame.PutPixel(2, 1, 0x7FFF);
    return frame;
}

std::string TempName(const std::string& name)
{
    const std::string unique = "verdel-render-" + std::to_string(getpid()) + "-" + name;
    return (std::filesystem::temp_directory_path() / unique).string();
}


// A greyscale JPEG made directly with libjpeg.
std::string GreyJpeg(int width, int height)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = 1;
    info.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(width, 200);
    while (info.next_scanline < info.image_height) {
        JSAMPROW line = row.data();
        jpeg_write_scanlines(&info, &line, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string bytes(reinterpret_cast<char*>(buffer), size);
    free(buffer);
    return bytes;
}

} // namespace

TEST(BmpFile, TwentyFourBitBottomUpWithWidenedChannels)
{
    std::ostringstream out;
    WriteFrameBMP(out, SmallFrame());
    const std::string bytes = out.str();
    ASSERT_EQ(bytes.size(), 54u + 2 * 12); // rows of 9 bytes padded to 12
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(Le(bytes, 2, 4), bytes.size());
    EXPECT_EQ(Le(bytes, 10, 4), 54u);
    EXPECT_EQ(Le(bytes, 14, 4), 40u);
    EXPECT_EQ(Le(bytes, 18, 4), 3u);
    EXPECT_EQ(Le(bytes, 22, 4), 2u); // positive height: bottom row first
    EXPECT_EQ(Le(bytes, 28, 2), 24u);
    // Bottom row: red, green, blue, each as blue-green-red bytes; then padding.
    const std::string bottom = bytes.substr(54, 12);
    EXPECT_EQ(bottom, std::string("\x00\x00\xFF\x00\xFF\x00\xFF\x00\x00\x00\x00\x00", 12));
    const std::string top = bytes.substr(66, 9);
    EXPECT_EQ(top, std::string("\x00\x00\x00\x84\x84\x84\xFF\xFF\xFF", 9)); // 16 widens to 132
}

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

TEST(Supersampling, EdgesAverageAndTilesMeetWhereTheyShould)
{
    // A rectangle drawn 3 times larger than 1400 x 1400: a frame of 4200 x
    // 4200 drawn in four tiles, whose seams run through it. Pixels more than
    // two away from its outline keep the colour they have without smoothing.
    for (const TRenderMode mode : {rmSolidShade, rmWireframe}) {
        SCOPED_TRACE(static_cast<int>(mode));
        auto store = std::make_unique<TFaceStore>();
        // Columns 200..1380 and rows 250..1380: across both seams, at 1365.
        test::AddObject(*store, 0x0000FF, {test::ScreenRect(-500, 680, -450, 680)});
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
                bool nearOutline = false; // within two pixels of a pixel of another colour
                for (int dy = -2; dy <= 2 && !nearOutline; ++dy)
                    for (int dx = -2; dx <= 2 && !nearOutline; ++dx)
                        nearOutline = plain.Pixel(x + dx, y + dy) != plain.Pixel(x, y) &&
                                      plain.Pixel(x + dx, y + dy) != 0xFFFFFF;
                if (!nearOutline) {
                    ++kept;
                    ASSERT_EQ(smooth.Pixel(x, y), plain.Pixel(x, y)) << x << "," << y;
                } else if (smooth.Pixel(x, y) != plain.Pixel(x, y)) {
                    ++changed;
                }
            }
        EXPECT_GT(kept, 1000000);
        EXPECT_GT(changed, 0); // the outline is smoothed
    }
}

TEST(JpegFile, QualityNinetyBaselineColourAtFullSize)
{
    auto gmp = std::make_unique<TGMP>();
    gmp->Resize(37, 21);
    gmp->SetBackColor(0x4080C0);
    const std::string file = TempName("frame.jpg");
    SaveFrameJPEG(gmp->Bitmap(), file);
    const std::string bytes = ReadWholeFile(file);
    std::remove(file.c_str());

    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    ASSERT_EQ(jpeg_read_header(&info, TRUE), JPEG_HEADER_OK);
    EXPECT_EQ(info.image_width, 37u);
    EXPECT_EQ(info.image_height, 21u);
    EXPECT_EQ(info.num_components, 3);
    EXPECT_FALSE(info.progressive_mode);
    jpeg_destroy_decompress(&info);
    EXPECT_NE(bytes.find("\xFF\xC0"), std::string::npos); // start of a baseline frame

    // Read back: the widened background colour, give or take the compression.
    std::istringstream in(bytes);
    const TRgbImage image = ReadJPEG(in, "frame.jpg");
    const TColor pixel = image.Pixel(18, 10);
    const TColor expected = Color16ToColor(ColorTo16(0x4080C0));
    for (int shift = 0; shift < 24; shift += 8)
        EXPECT_NEAR(static_cast<int>((pixel >> shift) & 255), static_cast<int>((expected >> shift) & 255), 3);
}

TEST(JpegFile, DecodesGreyscaleToThreeEqualChannels)
{
    std::istringstream in(GreyJpeg(150, 140));
    const TRgbImage image = ReadJPEG(in, "grey.jpg");
    EXPECT_EQ(image.Width, 150);
    EXPECT_EQ(image.Height, 140);
    const TColor pixel = image.Pixel(149, 139);
    EXPECT_EQ(pixel & 255, (pixel >> 8) & 255);
    EXPECT_EQ(pixel & 255, (pixel >> 16) & 255);
    EXPECT_NEAR(static_cast<int>(pixel & 255), 200, 2);
}

TEST(JpegFile, DamagedFilesGiveTheFileNameAndTheReason)
{
    const std::string good = GreyJpeg(64, 64);
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
    const TTexture& texture = gmp->LayerTexture(12);
    EXPECT_EQ(texture[2 * 128 + 1], 31 << 10); // [X][Y]
    EXPECT_EQ(texture[0], 0);
    EXPECT_EQ(texture[3 * 128 + 0], 0x7FFF);
    EXPECT_EQ(texture[0 * 128 + 2], 0x7FFF);
    EXPECT_EQ(texture[127 * 128 + 127], 0x7FFF);

    TRgbImage large(300, 200);
    large.SetPixel(127, 127, 0, 0, 255);
    large.SetPixel(128, 0, 255, 255, 255);
    gmp->SetLayerTexture(1, large);
    EXPECT_EQ(gmp->LayerTexture(1)[127 * 128 + 127], 31);
    EXPECT_EQ(gmp->LayerTexture(1)[127 * 128 + 0], 0);
    EXPECT_THROW(gmp->SetLayerTexture(13, large), std::out_of_range);
    EXPECT_THROW(gmp->SetLayerTexture(0, large), std::out_of_range);
}

TEST(LayerTextures, TheBundledTexturesAreTwelvePicturesOf128Pixels)
{
    const auto images = LoadLayerImages(std::string(VERDEL_DATA) + "/textures");
    for (int layer = 1; layer <= LayerCount; ++layer) {
        SCOPED_TRACE(LayerTextureFileName(layer));
        EXPECT_EQ(images[layer - 1].Width, 128);
        EXPECT_EQ(images[layer - 1].Height, 128);
    }
    EXPECT_EQ(LayerTextureFileName(7), "Text07.jpg");
}
