// Exact rounding, the 16-bit colour conversion and the perspective projection.
#pragma once

#include <cmath>
#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/face_store.h"

namespace verdel {

// Projected coordinates are kept within this distance of zero, so that no
// later step overflows or walks an absurd number of rows or columns.
constexpr int32_t ProjectionLimit = 1 << 20;

// Round half to even of Value (the default rounding mode), limited to
// -Limit..Limit; NaN gives 0. Never undefined, whatever the value.
inline int32_t RoundClamped(long double Value, int32_t Limit = ProjectionLimit)
{
    if (!(Value > -Limit)) return std::isnan(Value) ? 0 : -Limit;
    if (!(Value < Limit)) return Limit;
    return static_cast<int32_t>(std::nearbyint(Value));
}

// Round half to even (the default rounding mode) of a value known to lie
// well inside the int range; one instruction where the processor has it.
inline int32_t RoundToInt(double Value)
{
#if defined(__SSE2__)
    return _mm_cvtsd_si32(_mm_set_sd(Value));
#else
    return static_cast<int32_t>(std::lrint(Value));
#endif
}
inline int32_t RoundToInt(float Value)
{
#if defined(__SSE2__)
    return _mm_cvtss_si32(_mm_set_ss(Value));
#else
    return static_cast<int32_t>(std::lrint(Value));
#endif
}

// Round half to even of a value that should be computed in extended
// precision. The double approximation decides when it lies clearly away
// from a half (the extended value then rounds the same way); otherwise, and
// for absurd values, Exact is called.
template <class TExact> inline int32_t RoundExtended(double Approximate, TExact Exact)
{
    const double magnitude = std::fabs(Approximate);
    if (magnitude < ProjectionLimit) {
        const int32_t rounded = RoundToInt(Approximate);
        const double fromHalf = std::fabs(std::fabs(Approximate - rounded) - 0.5);
        if (fromHalf > 1e-7 * (1.0 + magnitude)) return rounded;
    }
    return RoundClamped(Exact());
}

#if defined(__SSE2__)
// RoundExtended of two values at once: the rounded lanes of Approximate go
// to the low two lanes of Rounded, and the result is true when the double
// approximation decides both. False means at least one lies too near a
// half, or too far out, and must go through RoundExtended.
inline bool RoundExtendedPair(__m128d Approximate, __m128i& Rounded)
{
    const __m128d absolute = _mm_castsi128_pd(_mm_set1_epi64x(INT64_MAX));
    const __m128d magnitude = _mm_and_pd(Approximate, absolute);
    Rounded = _mm_cvtpd_epi32(Approximate); // half to even, the default rounding mode
    const __m128d offset = _mm_and_pd(_mm_sub_pd(Approximate, _mm_cvtepi32_pd(Rounded)), absolute);
    const __m128d fromHalf = _mm_and_pd(_mm_sub_pd(offset, _mm_set1_pd(0.5)), absolute);
    const __m128d margin = _mm_mul_pd(_mm_set1_pd(1e-7), _mm_add_pd(_mm_set1_pd(1.0), magnitude));
    const __m128d decided =
        _mm_and_pd(_mm_cmplt_pd(magnitude, _mm_set1_pd(ProjectionLimit)), _mm_cmpgt_pd(fromHalf, margin));
    return _mm_movemask_pd(decided) == 3;
}
#endif

// One 8-bit channel (0..255) to 5 bits: Round(Single(0.31 x Single(c x 0.390625))).
int32_t Channel8To5(int Channel);

// A colour value 0x00BBGGRR to RGB555 (red in bits 14..10), channel by channel.
uint16_t ColorTo16(TColor Color);

// A 5-bit channel widened to 8 bits as (c << 3) | (c >> 2).
inline uint8_t Widen5(uint32_t Channel) { return static_cast<uint8_t>((Channel << 3) | (Channel >> 2)); }

// An RGB555 pixel widened to a colour value 0x00BBGGRR.
inline TColor Color16ToColor(uint16_t Pixel)
{
    return Widen5((Pixel >> 10) & 31) | (TColor(Widen5((Pixel >> 5) & 31)) << 8) | (TColor(Widen5(Pixel & 31)) << 16);
}

// The pen colour of the line canvas: each channel keeps its high five bits.
inline uint16_t PenTo16(TColor Color)
{
    return static_cast<uint16_t>((((Color & 0xFF) >> 3) << 10) | (((Color >> 8 & 0xFF) >> 3) << 5) |
                                 ((Color >> 16 & 0xFF) >> 3));
}

// The eye's projection: focal length F and the centre (CX, CY) of the buffer.
struct TProjection {
    int32_t Focal = 500;
    int32_t CentreX = 0;
    int32_t CentreY = 0;

    // F x / z, computed as (F x) / z.
    long double Quotient(float Value, float Z) const
    {
        return static_cast<long double>(Focal) * Value / static_cast<long double>(Z);
    }
    // CX + Round(F x / z).
    int32_t Column(float X, float Z) const
    {
        const double q = static_cast<double>(Focal) * X / Z;
        return CentreX + RoundExtended(q, [&] { return Quotient(X, Z); });
    }
    // Round(CY - F y / z): frame-buffer rows count upward from the bottom.
    int32_t Row(float Y, float Z) const
    {
        const double q = static_cast<double>(Focal) * Y / Z;
        return RoundExtended(CentreY - q, [&] { return CentreY - Quotient(Y, Z); });
    }
    // Round(CY + F y / z): canvas rows count downward from the top.
    int32_t CanvasRow(float Y, float Z) const
    {
        const double q = static_cast<double>(Focal) * Y / Z;
        return RoundExtended(CentreY + q, [&] { return CentreY + Quotient(Y, Z); });
    }
    // Column and row (canvas row when Canvas) of a projectable point at
    // once: one reciprocal of z serves both, the rounding check catching
    // every case where that could matter.
    void Project(const TVector& P, bool Canvas, int32_t& X, int32_t& Y) const
    {
        const double reciprocal = 1.0 / static_cast<double>(P.Z);
        const double qx = static_cast<double>(Focal) * P.X * reciprocal;
        const double qy = static_cast<double>(Focal) * P.Y * reciprocal;
        X = CentreX + RoundExtended(qx, [&] { return Quotient(P.X, P.Z); });
        Y = Canvas ? RoundExtended(CentreY + qy, [&] { return CentreY + Quotient(P.Y, P.Z); })
                   : RoundExtended(CentreY - qy, [&] { return CentreY - Quotient(P.Y, P.Z); });
    }
    // Whether a corner has a projection: z is not 0 and nothing is NaN.
    static bool Projectable(const TVector& P)
    {
        return P.Z != 0 && !std::isnan(P.X) && !std::isnan(P.Y) && !std::isnan(P.Z) &&
               !(std::isinf(P.Z) && (std::isinf(P.X) || std::isinf(P.Y)));
    }
};

} // namespace verdel
