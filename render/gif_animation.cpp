#include "render/gif_animation.h"

#include <gif_lib.h>

#include <ostream>
#include <vector>

#include "render/jpeg_image.h"

namespace verdel {

namespace {

// The 4 x 4 Bayer matrix: thresholds 0..15 spread evenly over every 4 x 4 block.
constexpr int Bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

// Level of Value (0..255) among Levels: floor(Value (Levels - 1) / 255 + (2 t + 1) / 32),
// t the pixel's threshold, in integers.
int DitherLevel(int value, int levels, int threshold)
{
    const int level = (value * (levels - 1) * 32 + (2 * threshold + 1) * 255) / (255 * 32);
    return level < levels - 1 ? level : levels - 1;
}

uint8_t LevelValue(int level, int levels)
{
    return static_cast<uint8_t>((255 * level + (levels - 1) / 2) / (levels - 1));
}

int WriteToStream(GifFileType* gif, const GifByteType* bytes, int count)
{
    auto* out = static_cast<std::ostream*>(gif->UserData);
    out->write(reinterpret_cast<const char*>(bytes), count);
    return *out ? count : 0;
}

} // namespace

std::array<TColor, 256> GifPalette()
{
    std::array<TColor, 256> palette{};
    for (int r = 0; r < GifRedLevels; ++r)
        for (int g = 0; g < GifGreenLevels; ++g)
            for (int b = 0; b < GifBlueLevels; ++b)
                palette[static_cast<size_t>((r * GifGreenLevels + g) * GifBlueLevels + b)] =
                    LevelValue(r, GifRedLevels) | TColor(LevelValue(g, GifGreenLevels)) << 8 |
                    TColor(LevelValue(b, GifBlueLevels)) << 16;
    return palette;
}

uint8_t GifPaletteIndex(int X, int Y, uint8_t Red, uint8_t Green, uint8_t Blue)
{
    const int t = Bayer[Y & 3][X & 3];
    const int r = DitherLevel(Red, GifRedLevels, t);
    const int g = DitherLevel(Green, GifGreenLevels, t);
    const int b = DitherLevel(Blue, GifBlueLevels, t);
    return static_cast<uint8_t>((r * GifGreenLevels + g) * GifBlueLevels + b);
}

TGifAnimation::TGifAnimation(std::ostream& Out, int width, int height, int DelayCs, const std::string& Name)
        : FileName(Name), Width(width), Height(height), Delay(DelayCs)
{
    int error = 0;
    Gif = EGifOpen(&Out, WriteToStream, &error);
    if (!Gif) throw EImageError(FileName + ": " + GifErrorString(error));
    EGifSetGifVersion(Gif, true);

    GifColorType colours[256];
    const std::array<TColor, 256> palette = GifPalette();
    for (int i = 0; i < 256; ++i)
        colours[i] = {static_cast<GifByteType>(palette[i] & 0xFF), static_cast<GifByteType>(palette[i] >> 8 & 0xFF),
                      static_cast<GifByteType>(palette[i] >> 16 & 0xFF)};
    ColorMapObject* map = GifMakeMapObject(256, colours);
    const int status = EGifPutScreenDesc(Gif, Width, Height, 8, 0, map);
    GifFreeMapObject(map);
    Check(status, "screen descriptor");

    // The application extension that makes viewers loop the animation forever.
    static const GifByteType netscape[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
    static const GifByteType loopForever[] = {1, 0, 0};
    Check(EGifPutExtensionLeader(Gif, APPLICATION_EXT_FUNC_CODE), "loop extension");
    Check(EGifPutExtensionBlock(Gif, sizeof netscape, netscape), "loop extension");
    Check(EGifPutExtensionBlock(Gif, sizeof loopForever, loopForever), "loop extension");
    Check(EGifPutExtensionTrailer(Gif), "loop extension");
}

TGifAnimation::~TGifAnimation()
{
    if (Gif) EGifCloseFile(Gif, nullptr);
}

void TGifAnimation::Check(int Status, const char* Stage)
{
    if (Status == GIF_OK) return;
    const int error = Gif ? Gif->Error : 0;
    throw EImageError(FileName + ": GIF " + Stage + " not written (" + GifErrorString(error) + ")");
}

void TGifAnimation::AddFrame(const TRgbImage& Image)
{
    if (!Gif) throw EImageError(FileName + ": GIF frame after the end");
    if (Image.Width != Width || Image.Height != Height) throw EImageError(FileName + ": GIF frame of another size");
    GraphicsControlBlock control{DISPOSE_DO_NOT, false, Delay, NO_TRANSPARENT_COLOR};
    GifByteType extension[4];
    const size_t length = EGifGCBToExtension(&control, extension);
    Check(EGifPutExtension(Gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension), "frame delay");
    Check(EGifPutImageDesc(Gif, 0, 0, Width, Height, false, nullptr), "image descriptor");
    std::vector<GifPixelType> row(static_cast<size_t>(Width));
    for (int y = 0; y < Height; ++y) {
        const uint8_t* p = &Image.Pixels[static_cast<size_t>(y) * Width * 3];
        for (int x = 0; x < Width; ++x, p += 3) row[static_cast<size_t>(x)] = GifPaletteIndex(x, y, p[0], p[1], p[2]);
        Check(EGifPutLine(Gif, row.data(), Width), "image row");
    }
}

void TGifAnimation::Finish()
{
    if (!Gif) return;
    int error = 0;
    const int status = EGifCloseFile(Gif, &error);
    Gif = nullptr;
    if (status != GIF_OK) throw EImageError(FileName + ": GIF not closed (" + GifErrorString(error) + ")");
}

} // namespace verdel
