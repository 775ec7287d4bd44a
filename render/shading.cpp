#include "render/shading.h"

#include <algorithm>
#include <cmath>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

#if defined(__SSE2__)

namespace {

// One coordinate of corner C of four faces, as the four lanes of a vector.
inline __m128 Lanes(const TFaceNode* const* Faces, int C, float TVector::*Axis)
{
    return _mm_setr_ps(Faces[0]->Corners[C].*Axis, Faces[1]->Corners[C].*Axis, Faces[2]->Corners[C].*Axis,
                       Faces[3]->Corners[C].*Axis);
}

// FaceIntensity of four faces, step for step.
void FourIntensities(const TFaceNode* const* Faces, const TLighting& Light, float* Intensity)
{
    const __m128 x0 = Lanes(Faces, 0, &TVector::X), y0 = Lanes(Faces, 0, &TVector::Y),
                 z0 = Lanes(Faces, 0, &TVector::Z);
    const __m128 ax = _mm_sub_ps(Lanes(Faces, 1, &TVector::X), x0);
    const __m128 ay = _mm_sub_ps(Lanes(Faces, 1, &TVector::Y), y0);
    const __m128 az = _mm_sub_ps(Lanes(Faces, 1, &TVector::Z), z0);
    const __m128 bx = _mm_sub_ps(Lanes(Faces, 2, &TVector::X), x0);
    const __m128 by = _mm_sub_ps(Lanes(Faces, 2, &TVector::Y), y0);
    const __m128 bz = _mm_sub_ps(Lanes(Faces, 2, &TVector::Z), z0);
    const __m128 nx = _mm_sub_ps(_mm_mul_ps(ay, bz), _mm_mul_ps(az, by));
    const __m128 ny = _mm_xor_ps(_mm_sub_ps(_mm_mul_ps(ax, bz), _mm_mul_ps(az, bx)), _mm_set1_ps(-0.0f));
    const __m128 nz = _mm_sub_ps(_mm_mul_ps(ax, by), _mm_mul_ps(ay, bx));
    const __m128 d = _mm_add_ps(
        _mm_add_ps(_mm_mul_ps(nx, _mm_set1_ps(Light.Direction.X)), _mm_mul_ps(ny, _mm_set1_ps(Light.Direction.Y))),
        _mm_mul_ps(nz, _mm_set1_ps(Light.Direction.Z)));
    __m128 length = _mm_sqrt_ps(_mm_add_ps(_mm_add_ps(_mm_mul_ps(nx, nx), _mm_mul_ps(ny, ny)), _mm_mul_ps(nz, nz)));
    const __m128 zero = _mm_cmpeq_ps(length, _mm_setzero_ps());
    length = _mm_or_ps(_mm_and_ps(zero, _mm_set1_ps(1e-7f)), _mm_andnot_ps(zero, length));
    __m128 intensity = _mm_mul_ps(_mm_mul_ps(_mm_div_ps(_mm_set1_ps(31.0f), length), d), _mm_set1_ps(Light.Strength));
    intensity = _mm_and_ps(intensity, _mm_cmpge_ps(intensity, _mm_setzero_ps())); // NaN and below 0 give 0
    intensity = _mm_add_ps(_mm_set1_ps(static_cast<float>(Light.Ambient)), intensity);
    intensity = _mm_min_ps(intensity, _mm_set1_ps(31.0f));
    _mm_storeu_ps(Intensity, intensity);
}

} // namespace

#endif

void FaceIntensities(const TFaceNode* const* Faces, int Count, const TLighting& Light, float* Intensity)
{
    int i = 0;
#if defined(__SSE2__)
    for (; i + 4 <= Count; i += 4) FourIntensities(Faces + i, Light, Intensity + i);
#endif
    for (; i < Count; ++i)
        Intensity[i] = FaceIntensity(Faces[i]->Corners[0], Faces[i]->Corners[1], Faces[i]->Corners[2], Light);
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
#if defined(__SSE2__)
    // No layer colour has more than two different channels: red and green
    // are lit together, each lane taking ShadeChannel's double steps.
    if (blueIn == redIn || blueIn == greenIn) {
        const __m128d rest = _mm_setr_pd(255 - redIn, 255 - greenIn);
        const __m128d approximate =
            _mm_mul_pd(_mm_mul_pd(rest, _mm_set1_pd(0.032258)), _mm_set1_pd(static_cast<double>(Intensity)));
        __m128i steps;
        if (RoundExtendedPair(approximate, steps)) {
            const int32_t red = std::clamp(redIn + _mm_cvtsi128_si32(steps), 0, 255);
            const int32_t green = std::clamp(greenIn + _mm_cvtsi128_si32(_mm_srli_si128(steps, 4)), 0, 255);
            const int32_t blue = blueIn == redIn ? red : green;
            return static_cast<TColor>(red) | (static_cast<TColor>(green) << 8) | (static_cast<TColor>(blue) << 16);
        }
    }
#endif
    const int32_t red = ShadeChannel(redIn, Intensity);
    const int32_t green = greenIn == redIn ? red : ShadeChannel(greenIn, Intensity);
    const int32_t blue = blueIn == redIn ? red : blueIn == greenIn ? green : ShadeChannel(blueIn, Intensity);
    return static_cast<TColor>(red) | (static_cast<TColor>(green) << 8) | (static_cast<TColor>(blue) << 16);
}

} // namespace verdel
