// The off-screen frame buffer: W x H pixels of RGB555, rows counted upward from the bottom.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace verdel {

// A 16-bit frame buffer. Pixel words hold RGB555 (bit 15 zero, red in bits
// 14..10, green 9..5, blue 4..0). The memory runs top-down (the first
// scanline is the top of the image, as a QImage of Format_RGB555 expects)
// while every row number of the interface counts upward from the bottom.
class TDIB16bit {
public:
    // Number of entries of the row table; a buffer has at most this many rows.
    static constexpr int RowTableSize = 4096;

    // Makes a W x H buffer (contents undefined until filled) and its row
    // table; throws std::invalid_argument for a negative size, H > 4096 or W > 2^24.
    void Create(int Width, int Height);

    // Writes C into every word of the pixel memory, row padding included.
    void Fill(uint16_t C);

    // Stores C at column X of row R (from the bottom); nothing outside the buffer.
    void PutPixel(int X, int R, uint16_t C)
    {
        if (X >= 0 && X < BufferWidth && R >= 0 && R < BufferHeight) RowTable[R][X] = C;
    }

    // Stores C at columns X1..X2 of row R (nothing when X2 < X1), clipped to the buffer.
    void HLine(int R, int X1, int X2, uint16_t C);

    // The pixel at column X of row R (from the bottom); 0 outside the buffer.
    uint16_t Pixel(int X, int R) const
    {
        return X >= 0 && X < BufferWidth && R >= 0 && R < BufferHeight ? RowTable[R][X] : 0;
    }

    int Width() const { return BufferWidth; }
    int Height() const { return BufferHeight; }
    // Bytes per row: 2 x W rounded up to a multiple of 4.
    int Stride() const { return StrideBytes; }
    // The pixel memory, top scanline first, Stride() bytes per row.
    const uint8_t* Bits() const { return reinterpret_cast<const uint8_t*>(Words.data()); }
    uint8_t* Bits() { return reinterpret_cast<uint8_t*>(Words.data()); }

    // Start of row r counted from the bottom, for r = 0..H-1; null beyond.
    std::array<uint16_t*, RowTableSize> RowTable{};

private:
    std::vector<uint32_t> Words; // the pixel memory, 32-bit aligned
    int BufferWidth = 0;
    int BufferHeight = 0;
    int StrideBytes = 0;
};

} // namespace verdel
