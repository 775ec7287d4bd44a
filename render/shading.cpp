#include "render/shading.h"

#include <cmath>

#include "render/render_math.h"

namespace verdel {

TShadeTable BuildShadeTable()
{
    // Extended precision matters here: in Single, 31 entries come out one off.
    TShadeTable table{};
    for (int c = 0; c < 32; ++c) {
        const long double a = static_cast<float>((31.0L - c) / 16.0L);
        const long double b = static_cast<float>(c / 15.0L);
        for (int s = 0; s <= 15; ++s) table[c][s] = RoundClamped(s * b);
        for (int s = 16; s <= 31; ++s) table[c][s] = RoundClamped((s - 15) * a + b * 15);
    }
    return table;
}

std::array<TShadeRamp, 32> BuildShadeRamps(const TShadeTable& Table)
{
    std::array<TShadeRamp, 32> ramps{};
    for (int s = 0; s < 32; ++s) {
        for (int c = 0; c < 32; ++c) {
            const auto value = static_cast<uint16_t>(Table[c][s]);
            ramps[s].Red[c] = static_cast<uint16_t>(value << 10);
            ramps[s].Green[c] = static_cast<uint16_t>(value << 5);
            ramps[s].Blue[c] = value;
        }
    }
    return ramps;
}

float FaceIntensity(const TVector& P0, const TVector& P1, const TVector& P2, const TLighting& Light)
{
    // Every step is rounded to a Single; without fused multiply-add a face
    // with repeated corners gets a normal of exactly zero.
    const TVector a = P1 - P0, b = P2 - P0;
    const TVector n{a.Y * b.Z - a.Z * b.Y, -(a.X * b.Z - a.Z * b.X), a.X * b.Y - a.Y * b.X};
    const float d = n.X * Light.Direction.X + n.Y * Light.Direction.Y + n.Z * Light.Direction.Z;
    float length = std::sqrt(n.X * n.X + n.Y * n.Y + n.Z * n.Z);
    if (length == 0) length = 1e-7f;
    float intensity = 31.0f / length * d * Light.Strength;
    if (!(intensity >= 0)) intensity = 0; // also a NaN from an absurd face
    intensity = static_cast<float>(Light.Ambient) + intensity;
    if (intensity > 31) intensity = 31;
    return intensity;
}

int32_t ShadeChannel(int32_t Channel, float Intensity)
{
    // The factor is the decimal 0.032258, not 1/31; the product is rounded
    // from extended precision (double decides unless it lies near a half).
    const int32_t rest = 255 - Channel;
    if (rest == 0) return 255;
    const double approximate = rest * 0.032258 * static_cast<double>(Intensity);
    const int32_t step = RoundExtended(
        approximate, [&] { return static_cast<long double>(rest) * 0.032258L * static_cast<long double>(Intensity); });
    const int32_t value = Channel + step;
    return value < 0 ? 0 : value > 255 ? 255 : value;
}

TColor ShadeColor(TColor Color, float Intensity)
{
    // Layer colours repeat channel values (0x008000 has red = blue), and an
    // equal channel gives an equal result.
    const int32_t redIn = Color & 0xFF, greenIn = (Color >> 8) & 0xFF, blueIn = (Color >> 16) & 0xFF;
    const int32_t red = ShadeChannel(redIn, Intensity);
    const int32_t green = greenIn == redIn ? red : ShadeChannel(greenIn, Intensity);
    const int32_t blue = blueIn == redIn ? red : blueIn == greenIn ? green : ShadeChannel(blueIn, Intensity);
    return static_cast<TColor>(red) | (static_cast<TColor>(green) << 8) | (static_cast<TColor>(blue) << 16);
}

} // namespace verdel
