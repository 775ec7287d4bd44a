#include "render/supersampling.h"

#include <algorithm>
#include <vector>

#include "render/render_math.h"

namespace verdel {

namespace {

// The widest tile drawn: as wide as the tallest, so a tile's coordinates
// stay well inside the 16 bits the face cache keeps.
constexpr int TileSide = TGMP::MaxHeight;

// Averages each Factor x Factor block of Tile's pixels into the pixel of
// Picture it covers; the tile's bottom-left block is the picture's pixel
// (Left, Bottom), both counted in picture pixels, Bottom from the bottom row.
void AverageTile(const TDIB16bit& tile, int factor, int left, int bottom, TRgbImage& picture)
{
    const int columns = tile.Width() / factor, rows = tile.Height() / factor;
    const uint32_t block = static_cast<uint32_t>(factor * factor);
    std::vector<uint32_t> sums(static_cast<size_t>(columns) * 3);
    for (int r = 0; r < rows; ++r) {
        std::fill(sums.begin(), sums.end(), 0);
        for (int dy = 0; dy < factor; ++dy) {
            const uint16_t* pixel = tile.RowTable[r * factor + dy];
            for (int c = 0; c < columns; ++c)
                for (int dx = 0; dx < factor; ++dx, ++pixel) {
                    sums[3 * c] += Widen5((*pixel >> 10) & 31);
                    sums[3 * c + 1] += Widen5((*pixel >> 5) & 31);
                    sums[3 * c + 2] += Widen5(*pixel & 31);
                }
        }
        const size_t top = static_cast<size_t>(picture.Height - 1 - (bottom + r));
        uint8_t* out = &picture.Pixels[(top * static_cast<size_t>(picture.Width) + static_cast<size_t>(left)) * 3];
        for (size_t i = 0; i < sums.size(); ++i) out[i] = static_cast<uint8_t>((sums[i] + block / 2) / block);
    }
}

} // namespace

TRgbImage RenderSupersampled(TGMP& Gmp, TFaceStore& Store, int Width, int Height, int Factor)
{
    Factor = std::clamp(Factor, 1, MaxSupersampling);
    TRgbImage picture(std::max(Width, 0), std::max(Height, 0));
    const int bigWidth = picture.Width * Factor, bigHeight = picture.Height * Factor;
    const int tileWidth = std::min(bigWidth, TileSide / Factor * Factor);
    const int tileHeight = std::min(bigHeight, TGMP::MaxHeight / Factor * Factor);
    // The large frame's projection puts the centre of each block where the
    // small frame's projection puts the centre of its pixel (to the nearest
    // large pixel).
    const int32_t offset = (Factor - 1) / 2;
    const int32_t centreX = Factor * (picture.Width / 2) + offset, centreY = Factor * (picture.Height / 2) + offset;
    for (int bottom = 0; bottom < bigHeight; bottom += tileHeight)
        for (int left = 0; left < bigWidth; left += tileWidth) {
            const int width = std::min(tileWidth, bigWidth - left), height = std::min(tileHeight, bigHeight - bottom);
            if (Gmp.Width() != width || Gmp.Height() != height) Gmp.Resize(width, height);
            // Outlines go through the canvas, whose rows count from the top:
            // their tile is placed by its distance from the top of the frame.
            const int below = Gmp.RenderMode == rmWireframe ? bigHeight - height - bottom : bottom;
            Gmp.SetProjection(TGMP::FocalLength * Factor, centreX - left, centreY - below);
            Gmp.ClearToBackColor();
            Gmp.RenderScene(Store);
            AverageTile(Gmp.Bitmap(), Factor, left / Factor, bottom / Factor, picture);
        }
    return picture;
}

} // namespace verdel
