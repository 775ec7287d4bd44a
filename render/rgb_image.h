// A decoded picture in memory: 8-bit red, green and blue per pixel.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/face_store.h"

namespace verdel {

// Width x Height pixels, top row first, three bytes (R, G, B) per pixel.
struct TRgbImage {
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Pixels;

    TRgbImage() = default;
    TRgbImage(int width, int height)
            : Width(width), Height(height), Pixels(static_cast<size_t>(width) * static_cast<size_t>(height) * 3, 0)
    {}

    // The pixel at column X of row Y (from the top) as 0x00BBGGRR; white
    // outside the picture, as a canvas reports no colour there.
    TColor Pixel(int X, int Y) const
    {
        if (X < 0 || Y < 0 || X >= Width || Y >= Height) return 0xFFFFFF;
        const uint8_t* p = &Pixels[(static_cast<size_t>(Y) * Width + X) * 3];
        return p[0] | (TColor(p[1]) << 8) | (TColor(p[2]) << 16);
    }

    // Sets the pixel at column X of row Y (from the top); nothing outside.
    void SetPixel(int X, int Y, uint8_t Red, uint8_t Green, uint8_t Blue)
    {
        if (X < 0 || Y < 0 || X >= Width || Y >= Height) return;
        uint8_t* p = &Pixels[(static_cast<size_t>(Y) * Width + X) * 3];
        p[0] = Red;
        p[1] = Green;
        p[2] = Blue;
    }
};

} // namespace verdel
