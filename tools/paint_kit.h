// A small procedural painting kit for the default textures: noise, cells and shapes.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "render/rgb_image.h"

namespace verdel::tools {

// A colour with channels in 0..1.
struct TRgb {
    float R = 0, G = 0, B = 0;
};

inline TRgb Mix(TRgb a, TRgb b, float t)
{
    return {a.R + (b.R - a.R) * t, a.G + (b.G - a.G) * t, a.B + (b.B - a.B) * t};
}
inline TRgb Scale(TRgb a, float f) { return {a.R * f, a.G * f, a.B * f}; }
inline float Clamp01(float v) { return v < 0 ? 0 : v > 1 ? 1 : v; }
inline float SmoothStep(float a, float b, float v)
{
    const float t = Clamp01((v - a) / (b - a));
    return t * t * (3 - 2 * t);
}
// A colour from 0xRRGGBB.
inline TRgb Hex(uint32_t v) { return {((v >> 16) & 255) / 255.0f, ((v >> 8) & 255) / 255.0f, (v & 255) / 255.0f}; }

// A deterministic random sequence (the same pictures on every machine).
class TPaintRandom {
public:
    explicit TPaintRandom(uint32_t Seed) : State(Seed * 2654435761u + 1) {}
    uint32_t Next()
    {
        State ^= State << 13;
        State ^= State >> 17;
        State ^= State << 5;
        return State;
    }
    // A value in [0, 1).
    float Real() { return static_cast<float>(Next() >> 8) * (1.0f / 16777216.0f); }
    float Range(float a, float b) { return a + (b - a) * Real(); }

private:
    uint32_t State;
};

// A hash of a lattice point to [0, 1).
float LatticeValue(int X, int Y, uint32_t Seed);

// Smooth value noise with Period lattice cells across the picture (it wraps around).
float ValueNoise(float X, float Y, int Period, uint32_t Seed);

// Several octaves of value noise, starting with Period cells; about 0..1.
float FractalNoise(float X, float Y, int Period, int Octaves, uint32_t Seed);

// Distances to the nearest and second nearest of Cells x Cells jittered
// points (wrapping around), and the nearest point's number.
struct TCellDistance {
    float First, Second;
    int Cell;
};
TCellDistance CellNoise(float X, float Y, int Cells, uint32_t Seed);

// A square picture being painted, channels 0..1.
class TPainting {
public:
    explicit TPainting(int size) : Size(size), Pixels(static_cast<size_t>(size) * size) {}
    // The pixel at (X, Y), wrapping around the edges.
    TRgb& At(int X, int Y)
    {
        const int x = (X % Size + Size) % Size, y = (Y % Size + Size) % Size;
        return Pixels[static_cast<size_t>(y) * Size + x];
    }
    // Blends Color over the pixel (wrapping around the edges) by Alpha.
    void Blend(int X, int Y, TRgb Color, float Alpha)
    {
        TRgb& p = At(X, Y);
        p = Mix(p, Color, Clamp01(Alpha));
    }
    // Blends an anti-aliased line segment of the given width.
    void Stroke(float X0, float Y0, float X1, float Y1, float Width, TRgb Color, float Alpha);
    TRgbImage ToImage() const;
    const int Size;

private:
    std::vector<TRgb> Pixels;
};

} // namespace verdel::tools
