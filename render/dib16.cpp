#include "render/dib16.h"

#include <algorithm>
#include <stdexcept>

namespace verdel {

void TDIB16bit::Create(int Width, int Height)
{
    if (Width < 0 || Height < 0 || Height > RowTableSize || Width > (1 << 24))
        throw std::invalid_argument("frame buffer size " + std::to_string(Width) + " x " + std::to_string(Height) +
                                    " is not possible");
    BufferWidth = Width;
    BufferHeight = Height;
    StrideBytes = ((Width * 16 + 31) / 32) * 4;
    Words.assign(static_cast<size_t>(StrideBytes / 4) * static_cast<size_t>(Height), 0);
    RowTable.fill(nullptr);
    uint16_t* first = reinterpret_cast<uint16_t*>(Words.data());
    const size_t wordsPerRow = static_cast<size_t>(StrideBytes / 2);
    // Row 0 is the bottom row: the last scanline of the top-down memory.
    for (int r = 0; r < Height; ++r) RowTable[r] = first + static_cast<size_t>(Height - 1 - r) * wordsPerRow;
}

void TDIB16bit::Fill(uint16_t C)
{
    const uint32_t both = (static_cast<uint32_t>(C) << 16) | C;
    std::fill(Words.begin(), Words.end(), both);
}

void TDIB16bit::HLine(int R, int X1, int X2, uint16_t C)
{
    if (R < 0 || R >= BufferHeight) return;
    X1 = std::max(X1, 0);
    X2 = std::min(X2, BufferWidth - 1);
    if (X2 < X1) return;
    std::fill(RowTable[R] + X1, RowTable[R] + X2 + 1, C);
}

} // namespace verdel
