// Animated GIF pictures, written through giflib with one fixed palette.
#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>
#include <string>

#include "render/rgb_image.h"

struct GifFileType;

namespace verdel {

// The palette every frame shares: 6 levels of red, 7 of green (the eye tells
// greens apart best, and plants are mostly green) and 6 of blue, index
// 42 r + 6 g + b, then four unused black entries.
constexpr int GifRedLevels = 6, GifGreenLevels = 7, GifBlueLevels = 6;

// The palette as 256 colours 0x00BBGGRR; level k of n is round(255 k / (n - 1)).
std::array<TColor, 256> GifPalette();

// The palette index of the pixel at column X, row Y with this colour: each
// channel goes to one of its levels by a 4 x 4 ordered (Bayer) dither, in
// integers only, so a picture always gives the same indices and a plain area
// keeps its average colour.
uint8_t GifPaletteIndex(int X, int Y, uint8_t Red, uint8_t Green, uint8_t Blue);

// An animated GIF on a stream: a GIF89a of Width x Height that loops forever,
// each frame whole and shown for DelayCs hundredths of a second. Failures throw
// EImageError "Name: reason".
class TGifAnimation {
public:
    TGifAnimation(std::ostream& Out, int Width, int Height, int DelayCs, const std::string& Name);
    // Closes an unfinished file without reporting.
    ~TGifAnimation();
    TGifAnimation(const TGifAnimation&) = delete;
    TGifAnimation& operator=(const TGifAnimation&) = delete;

    // Adds a frame of the animation's size.
    void AddFrame(const TRgbImage& Image);
    // Writes the trailer and closes the file; no frame may follow.
    void Finish();

private:
    void Check(int Status, const char* Stage);

    GifFileType* Gif = nullptr;
    std::string FileName;
    int Width;
    int Height;
    int Delay;
};

} // namespace verdel
