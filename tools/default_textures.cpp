#include "tools/default_textures.h"

#include <cmath>
#include <numbers>

#include "tools/paint_kit.h"

namespace verdel::tools {

namespace {

constexpr int Size = 128;
constexpr float Pi = std::numbers::pi_v<float>;

// Fills every pixel with a function of its position.
template <class TFunction> void Paint(TPainting& p, TFunction f)
{
    for (int y = 0; y < Size; ++y)
        for (int x = 0; x < Size; ++x) p.At(x, y) = f(static_cast<float>(x), static_cast<float>(y));
}

// Calls f(x, y, u, v) for the pixels around (cx, cy) within Radius, with
// (u, v) the offset turned by -Angle (so u runs along the shape).
template <class TFunction> void AroundPoint(float cx, float cy, float Radius, float Angle, TFunction f)
{
    const float c = std::cos(Angle), s = std::sin(Angle);
    for (int y = static_cast<int>(cy - Radius); y <= static_cast<int>(cy + Radius); ++y) {
        for (int x = static_cast<int>(cx - Radius); x <= static_cast<int>(cx + Radius); ++x) {
            const float dx = static_cast<float>(x) + 0.5f - cx, dy = static_cast<float>(y) + 0.5f - cy;
            f(x, y, dx * c + dy * s, -dx * s + dy * c);
        }
    }
}

TRgbImage Leaves()
{
    TPainting p(Size);
    Paint(p, [](float x, float y) { return Mix(Hex(0x10300F), Hex(0x1F4D1A), FractalNoise(x, y, 4, 3, 11)); });
    TPaintRandom random(1);
    for (int i = 0; i < 60; ++i) {
        const float cx = random.Range(0, Size), cy = random.Range(0, Size), angle = random.Range(0, 2 * Pi);
        const float length = random.Range(24, 38), width = length * random.Range(0.32f, 0.42f);
        const TRgb base = Scale(Mix(Hex(0x2E7D32), Hex(0x8BC34A), random.Real()), random.Range(0.8f, 1.1f));
        AroundPoint(cx, cy, length / 2 + 1, angle, [&](int x, int y, float u, float v) {
            const float t = u / length + 0.5f;
            if (t <= 0 || t >= 1) return;
            const float half = width / 2 * std::pow(std::sin(Pi * t), 0.8f) * (1 - 0.25f * t);
            const float inside = Clamp01(half - std::fabs(v) + 0.5f);
            if (inside <= 0) return;
            const float across = std::fabs(v) / std::max(half, 0.5f);
            TRgb colour = Scale(base, 0.7f + 0.45f * (1 - across) + (v > 0 ? 0.08f : -0.05f));
            if (std::fabs(v) < 0.7f) colour = Mix(colour, Hex(0xDCEFB0), 0.45f);
            const float vein = std::fabs(std::fmod(u + std::fabs(v) * 1.2f + 100, 6.0f) - 3) < 0.5f ? 0.2f : 0;
            colour = Mix(colour, Hex(0xC5E1A5), vein * (1 - across));
            p.Blend(x, y, colour, inside);
        });
    }
    return p.ToImage();
}

TRgbImage Needles()
{
    TPainting p(Size);
    Paint(p, [](float x, float y) { return Mix(Hex(0x072624), Hex(0x0F3B3A), FractalNoise(x, y, 4, 3, 21)); });
    TPaintRandom random(2);
    const TRgb shades[3] = {Hex(0x1D7874), Hex(0x2A9D8F), Hex(0x52C7B8)};
    for (int twig = 0; twig < 9; ++twig) {
        const float x0 = random.Range(-20, Size), y0 = random.Range(-10, Size), angle = random.Range(0.6f, 1.1f);
        const float dx = std::cos(angle), dy = std::sin(angle);
        p.Stroke(x0, y0, x0 + dx * 150, y0 + dy * 150, 2.2f, Hex(0x4A3A22), 0.9f);
        for (float t = 0; t < 150; t += 2.2f) {
            for (int side = -1; side <= 1; side += 2) {
                const float a = angle + static_cast<float>(side) * random.Range(0.7f, 1.0f);
                const float len = random.Range(9, 14);
                const float sx = x0 + dx * t, sy = y0 + dy * t;
                p.Stroke(sx, sy, sx + std::cos(a) * len, sy + std::sin(a) * len, 1.3f,
                         Scale(shades[random.Next() % 3], random.Range(0.85f, 1.15f)), 0.95f);
            }
        }
    }
    return p.ToImage();
}

TRgbImage Moss()
{
    TPainting p(Size);
    Paint(p, [](float x, float y) {
        const TCellDistance clump = CellNoise(x, y, 16, 31);
        const float bump = 1 - Clamp01(clump.First / 8);
        const float n = FractalNoise(x, y, 16, 3, 32);
        return Scale(Mix(Hex(0x3D6B12), Hex(0xB5E655), std::pow(n, 1.2f)), 0.6f + 0.55f * bump);
    });
    TPaintRandom random(3);
    for (int i = 0; i < 90; ++i) {
        const float x = random.Range(0, Size), y = random.Range(0, Size);
        p.Stroke(x, y, x + random.Range(-1.5f, 1.5f), y - random.Range(2, 5), 1.0f, Hex(0x6E8B1E), 0.8f);
        p.Stroke(x, y - 4, x, y - 4, 2.0f, Hex(0xE8F77A), 0.9f);
    }
    return p.ToImage();
}

TRgbImage Water()
{
    TPainting p(Size);
    Paint(p, [](float x, float y) {
        const float wx = 8 * (FractalNoise(x, y, 4, 2, 41) - 0.5f), wy = 8 * (FractalNoise(x, y, 4, 2, 42) - 0.5f);
        const TCellDistance cells = CellNoise(x + wx, y + wy, 6, 43);
        const float caustic = 1 - SmoothStep(0, 5, cells.Second - cells.First);
        const TRgb deep = Mix(Hex(0x0B6E78), Hex(0x3FC7D0), FractalNoise(x, y, 4, 4, 44));
        return Mix(deep, Hex(0xE6FFFF), caustic * 0.85f);
    });
    return p.ToImage();
}

// Flowers with Petals rounded petals and a yellow heart.
void Flower(TPainting& p, float cx, float cy, float radius, float turn, int petals, TRgb edge, TRgb middle)
{
    AroundPoint(cx, cy, radius + 1, turn, [&](int x, int y, float u, float v) {
        const float r = std::hypot(u, v), theta = std::atan2(v, u);
        const float lobe = std::fabs(std::cos(static_cast<float>(petals) * theta / 2));
        const float outline = radius * (0.45f + 0.55f * std::pow(lobe, 0.6f));
        const float inside = Clamp01(outline - r + 0.5f);
        if (inside <= 0) return;
        TRgb colour = Mix(middle, edge, Clamp01(r / radius));
        colour = Scale(colour, 0.8f + 0.3f * lobe - 0.12f * (std::sin(theta * 28) > 0.6f));
        if (r < radius * 0.22f) colour = Mix(Hex(0xF7D046), Hex(0xB8860B), r / (radius * 0.22f));
        p.Blend(x, y, colour, inside);
    });
}

TRgbImage BlueFlowers()
{
    TPainting p(Size);
    Paint(p, [](float x, float y) { return Mix(Hex(0x0B1740), Hex(0x1E3A8A), FractalNoise(x, y, 4, 3, 51)); });
    TPaintRandom random(5);
    for (int i = 0; i < 22; ++i)
        Flower(p, random.Range(0, Size), random.Range(0, Size), random.Range(11, 18), random.Range(0, 2 * Pi), 5,
               Hex(0x2747C9), Hex(0x9DB4FF));
    return p.ToImage();
}

TRgbImage Lavender()
{
    TPainting p(Size);
    Paint(p, [](float x, float y) { return Mix(Hex(0x1E1030), Hex(0x3A2358), FractalNoise(x, y, 4, 3, 61)); });
    TPaintRandom random(6);
    for (int spike = 0; spike < 11; ++spike) {
        const float x0 = random.Range(0, Size), lean = random.Range(-0.25f, 0.25f);
        p.Stroke(x0, Size + 4, x0 + lean * 140, -10, 1.5f, Hex(0x5E7A4A), 0.8f);
        for (float y = Size + 2; y > -8; y -= 3.2f) {
            const float x = x0 + lean * (Size + 4 - y) + random.Range(-3, 3);
            const TRgb floret = Mix(Hex(0x6A3FA8), Hex(0xC3A0F0), random.Real());
            AroundPoint(x, y, 4, random.Range(0, Pi), [&](int px, int py, float u, float v) {
                const float e = (u * u) / 12.0f + (v * v) / 5.0f;
                if (e < 1) p.Blend(px, py, Scale(floret, 1.15f - 0.4f * e + 0.15f * (u < 0)), Clamp01((1 - e) * 3));
            });
        }
    }
    return p.ToImage();
}

TRgbImage Berries()
{
    TPainting p(Size);
    Paint(p, [](float x, float y) { return Mix(Hex(0x240606), Hex(0x4A1010), FractalNoise(x, y, 4, 3, 71)); });
    TPaintRandom random(7);
    for (int i = 0; i < 34; ++i) {
        const float cx = random.Range(0, Size), cy = random.Range(0, Size), radius = random.Range(7, 12);
        const TRgb base = Mix(Hex(0xB71C1C), Hex(0xE53935), random.Real());
        AroundPoint(cx, cy, radius + 1, 0, [&](int x, int y, float u, float v) {
            const float r = std::hypot(u, v) / radius;
            if (r >= 1.05f) return;
            const float nz = std::sqrt(std::max(0.0f, 1 - r * r));
            const float light = Clamp01(0.35f + 0.75f * (-0.5f * u / radius - 0.5f * v / radius + 0.7f * nz));
            TRgb colour = Scale(base, 0.35f + 0.85f * light);
            const float glint = std::hypot(u / radius + 0.35f, v / radius + 0.35f);
            colour = Mix(colour, Hex(0xFFF0F0), 1 - SmoothStep(0.08f, 0.2f, glint));
            p.Blend(x, y, colour, Clamp01((1.0f - r) * radius + 0.5f));
        });
    }
    return p.ToImage();
}

TRgbImage Bark()
{
    TPainting p(Size);
    Paint(p, [](float x, float y) {
        // Plates stretched along the trunk, split by dark fissures.
        const float warp = 10 * (FractalNoise(x, y, 4, 2, 81) - 0.5f);
        const TCellDistance plates = CellNoise(x + warp, y * 0.3f, 8, 83);
        const float fissure = SmoothStep(0.5f, 3.5f, plates.Second - plates.First);
        const float grain = FractalNoise(x * 3, y * 0.4f, 32, 2, 82);
        const float tone = 0.75f + 0.35f * LatticeValue(plates.Cell, 3, 84);
        const TRgb wood = Scale(Mix(Hex(0x4F4A1C), Hex(0x9A9050), 0.35f + 0.65f * grain), tone);
        return Mix(Hex(0x17150A), wood, fissure);
    });
    return p.ToImage();
}

TRgbImage Blossom()
{
    TPainting p(Size);
    Paint(p, [](float x, float y) { return Mix(Hex(0x5E0A3C), Hex(0x8E1A5E), FractalNoise(x, y, 4, 3, 91)); });
    TPaintRandom random(9);
    for (int i = 0; i < 26; ++i) {
        const float cx = random.Range(0, Size), cy = random.Range(0, Size), angle = random.Range(0, 2 * Pi);
        const float length = random.Range(26, 36), width = length * random.Range(0.5f, 0.65f);
        AroundPoint(cx, cy, length / 2 + 1, angle, [&](int x, int y, float u, float v) {
            const float t = u / length + 0.5f;
            if (t <= 0 || t >= 1) return;
            // A heart-shaped tip: a notch in the middle of the far end.
            const float half = width / 2 * std::sqrt(std::sin(Pi * t * 0.92f + 0.08f * Pi));
            const float notch = t > 0.85f ? (t - 0.85f) * 40 * (1 - std::fabs(v) / (width / 2)) : 0;
            const float inside = Clamp01(std::min(half - std::fabs(v), (1 - t) * length - notch) + 0.5f);
            if (inside <= 0) return;
            TRgb colour = Mix(Hex(0xD81B7A), Hex(0xFFC6E6), Clamp01(t * 1.1f));
            const float vein = 0.035f * std::sin(v * 2.2f + 3 * t);
            colour = Scale(colour, 0.95f + vein - 0.25f * (std::fabs(v) / half) * (std::fabs(v) / half));
            p.Blend(x, y, colour, inside * 0.95f);
        });
    }
    return p.ToImage();
}

TRgbImage Seeds()
{
    TPainting p(Size);
    Paint(p, [](float, float) { return Hex(0x5A3A05); });
    const float golden = 137.50776f * Pi / 180;
    for (int i = 900; i >= 0; --i) {
        const float r = 4.1f * std::sqrt(static_cast<float>(i)), theta = static_cast<float>(i) * golden;
        const float cx = 64 + r * std::cos(theta), cy = 64 + r * std::sin(theta);
        const TRgb seed = Mix(Hex(0xE0A800), Hex(0xFFE866), LatticeValue(i, 0, 101));
        AroundPoint(cx, cy, 4, theta, [&](int x, int y, float u, float v) {
            const float e = (u * u) / 9.0f + (v * v) / 4.5f;
            if (e < 1 && x >= 0 && y >= 0 && x < Size && y < Size)
                p.Blend(x, y, Scale(seed, 1.1f - 0.45f * e), Clamp01((1 - e) * 4));
        });
    }
    return p.ToImage();
}

TRgbImage Stone()
{
    TPainting p(Size);
    Paint(p, [](float x, float y) {
        const TCellDistance cells = CellNoise(x, y, 5, 111);
        const float edge = SmoothStep(1.0f, 5.0f, cells.Second - cells.First);
        const float tone = 0.42f + 0.25f * LatticeValue(cells.Cell, 1, 112);
        const float speckle = FractalNoise(x, y, 32, 2, 113) - 0.5f;
        const float grey = tone + 0.18f * speckle;
        return Mix(Hex(0x2E2E2E), TRgb{grey, grey, grey * 1.02f}, edge);
    });
    return p.ToImage();
}

TRgbImage Birch()
{
    TPainting p(Size);
    Paint(p, [](float x, float y) {
        const float n = FractalNoise(x * 0.3f, y * 3, 8, 3, 121);
        return Mix(Hex(0xB7BCC2), Hex(0xF2F3F5), n);
    });
    TPaintRandom random(12);
    for (int i = 0; i < 46; ++i) {
        const float x = random.Range(0, Size), y = random.Range(0, Size), length = random.Range(6, 28);
        p.Stroke(x, y, x + length, y + random.Range(-1, 1), random.Range(1.2f, 2.8f), Hex(0x2F2F33), 0.85f);
    }
    for (int y = 0; y < Size; ++y) {
        for (int x = 0; x < Size; ++x) {
            const float patch = FractalNoise(static_cast<float>(x), static_cast<float>(y), 4, 3, 122);
            if (patch > 0.7f) p.Blend(x, y, Hex(0x1A1A1C), SmoothStep(0.7f, 0.75f, patch) * 0.9f);
        }
    }
    return p.ToImage();
}

} // namespace

TRgbImage PaintLayerTexture(int Layer)
{
    switch (Layer) {
    case 1: return Leaves();
    case 2: return Needles();
    case 3: return Moss();
    case 4: return Water();
    case 5: return BlueFlowers();
    case 6: return Lavender();
    case 7: return Berries();
    case 8: return Bark();
    case 9: return Blossom();
    case 10: return Seeds();
    case 11: return Stone();
    default: return Birch();
    }
}

} // namespace verdel::tools
