// Flat lighting of faces: shade levels, shaded colours and the texel shade table.
#pragma once

#include <array>
#include <cstdint>

#include "engine/face_store.h"

namespace verdel {

// Textures are 128 x 128 RGB555 words indexed [X][Y]: X is the column and Y
// the row of the picture counted from its top-left corner (word X x 128 + Y).
constexpr int TextureSize = 128;
using TTexture = std::array<uint16_t, TextureSize * TextureSize>;

// T[c][s]: the 5-bit component c (0..31) at shade level s (0..31). Level 15
// leaves c unchanged, lower levels darken towards 0, higher ones lighten to 31.
using TShadeTable = std::array<std::array<int32_t, 32>, 32>;

// Builds the shade table: with a = Single((31 - c) / 16) and b = Single(c / 15),
// T[c][s] = Round(s b) for s <= 15 and Round((s - 15) a + 15 b) above, each
// computed in extended precision before rounding half to even.
TShadeTable BuildShadeTable();

// One shade level's table row, shifted into place for each RGB555 channel.
struct TShadeRamp {
    std::array<uint16_t, 32> Red, Green, Blue;

    // ShadeTexel: each 5-bit field of the texel through the table.
    uint16_t operator()(uint16_t Texel) const
    {
        return Red[(Texel >> 10) & 31] | Green[(Texel >> 5) & 31] | Blue[Texel & 31];
    }
};

// The ramps of all 32 shade levels.
std::array<TShadeRamp, 32> BuildShadeRamps(const TShadeTable& Table);

// Lighting parameters of one frame.
struct TLighting {
    TVector Direction; // unit vector towards the light
    float Strength;    // LightStrength
    int32_t Ambient;   // AmbientLevel
};

// The light intensity I of a face with corners P0, P1, P2: the normal
// (P1 - P0) x (P2 - P0) against the light, in Single steps, clamped to Ambient..31.
float FaceIntensity(const TVector& P0, const TVector& P1, const TVector& P2, const TLighting& Light);

// FaceIntensity of the corners P0, P1, P2 of Count faces, into Intensity[0..Count-1].
// Four faces go through at once where the processor has vector Single
// arithmetic: each of its steps rounds exactly as the single step does, so
// the results are the same bits.
void FaceIntensities(const TFaceNode* const* Faces, int Count, const TLighting& Light, float* Intensity);

// An 8-bit channel brightened for intensity I: c + Round((255 - c) x 0.032258 x I), in 0..255.
int32_t ShadeChannel(int32_t Channel, float Intensity);

// The object colour lit at intensity I, channel by channel.
TColor ShadeColor(TColor Color, float Intensity);

} // namespace verdel
