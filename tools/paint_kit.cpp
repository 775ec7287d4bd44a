#include "tools/paint_kit.h"

#include <algorithm>

namespace verdel::tools {

namespace {

float Fade(float t) { return t * t * (3 - 2 * t); }

int Wrap(int v, int n) { return ((v % n) + n) % n; }

} // namespace

float LatticeValue(int X, int Y, uint32_t Seed)
{
    uint32_t h = static_cast<uint32_t>(X) * 374761393u + static_cast<uint32_t>(Y) * 668265263u + Seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<float>(h & 0xFFFFFF) / 16777216.0f;
}

float ValueNoise(float X, float Y, int Period, uint32_t Seed)
{
    const float cell = 128.0f / static_cast<float>(Period);
    const float fx = X / cell, fy = Y / cell;
    const int ix = static_cast<int>(std::floor(fx)), iy = static_cast<int>(std::floor(fy));
    const float tx = Fade(fx - static_cast<float>(ix)), ty = Fade(fy - static_cast<float>(iy));
    const float a = LatticeValue(Wrap(ix, Period), Wrap(iy, Period), Seed);
    const float b = LatticeValue(Wrap(ix + 1, Period), Wrap(iy, Period), Seed);
    const float c = LatticeValue(Wrap(ix, Period), Wrap(iy + 1, Period), Seed);
    const float d = LatticeValue(Wrap(ix + 1, Period), Wrap(iy + 1, Period), Seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

float FractalNoise(float X, float Y, int Period, int Octaves, uint32_t Seed)
{
    float sum = 0, weight = 0.5f, total = 0;
    for (int o = 0; o < Octaves; ++o, Period *= 2, weight *= 0.5f) {
        sum += weight * ValueNoise(X, Y, Period, Seed + static_cast<uint32_t>(o) * 101u);
        total += weight;
    }
    return sum / total;
}

TCellDistance CellNoise(float X, float Y, int Cells, uint32_t Seed)
{
    const float cell = 128.0f / static_cast<float>(Cells);
    const int cx = static_cast<int>(std::floor(X / cell)), cy = static_cast<int>(std::floor(Y / cell));
    TCellDistance result{1e9f, 1e9f, 0};
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
            const int gx = cx + dx, gy = cy + dy;
            const int wx = Wrap(gx, Cells), wy = Wrap(gy, Cells);
            const float px = (static_cast<float>(gx) + LatticeValue(wx, wy, Seed)) * cell;
            const float py = (static_cast<float>(gy) + LatticeValue(wx, wy, Seed + 7)) * cell;
            const float d = std::hypot(px - X, py - Y);
            if (d < result.First) {
                result.Second = result.First;
                result.First = d;
                result.Cell = wy * Cells + wx;
            } else if (d < result.Second) {
                result.Second = d;
            }
        }
    }
    return result;
}

void TPainting::Stroke(float X0, float Y0, float X1, float Y1, float Width, TRgb Color, float Alpha)
{
    const int left = static_cast<int>(std::floor(std::min(X0, X1) - Width - 1));
    const int right = static_cast<int>(std::ceil(std::max(X0, X1) + Width + 1));
    const int top = static_cast<int>(std::floor(std::min(Y0, Y1) - Width - 1));
    const int bottom = static_cast<int>(std::ceil(std::max(Y0, Y1) + Width + 1));
    const float dx = X1 - X0, dy = Y1 - Y0;
    const float lengthSquared = std::max(dx * dx + dy * dy, 1e-6f);
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            const float t = Clamp01(((x + 0.5f - X0) * dx + (y + 0.5f - Y0) * dy) / lengthSquared);
            const float d = std::hypot(X0 + t * dx - (x + 0.5f), Y0 + t * dy - (y + 0.5f));
            const float cover = Clamp01(Width / 2 + 0.5f - d);
            if (cover > 0) Blend(x, y, Color, cover * Alpha);
        }
    }
}

TRgbImage TPainting::ToImage() const
{
    TRgbImage image(Size, Size);
    for (int y = 0; y < Size; ++y) {
        for (int x = 0; x < Size; ++x) {
            const TRgb& p = Pixels[static_cast<size_t>(y) * Size + x];
            const auto channel = [](float v) { return static_cast<uint8_t>(std::lround(Clamp01(v) * 255.0f)); };
            image.SetPixel(x, y, channel(p.R), channel(p.G), channel(p.B));
        }
    }
    return image;
}

} // namespace verdel::tools
