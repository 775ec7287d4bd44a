#include "engine/mesh_builder.h"

#include <cassert>
#include <cmath>

namespace verdel {

float RoundToTenDecimals(float Value)
{
    // From 2^-10 on, a Single's spacing exceeds 1e-10: the ten-decimal text lies
    // within half a spacing of the value and reads back as the value itself.
    const float magnitude = std::fabs(Value);
    if (!(magnitude < 0x1p-10f)) return Value;
    if (magnitude == 0) return 0.0f;

    // Value = m x 2^e exactly; count units of 1e-10 as m x 5^10 x 2^(10 + e),
    // rounding the last binary places half to even like the decimal formatting.
    int exponent = 0;
    const float fraction = std::frexp(magnitude, &exponent); // in [0.5, 1)
    const auto mantissa = static_cast<unsigned __int128>(std::ldexp(fraction, 24));
    const int shift = -(exponent - 24 + 10); // > 0 here
    const unsigned __int128 scaled = mantissa * 9765625u;
    unsigned __int128 units = 0;
    if (shift < 120) {
        units = scaled >> shift;
        const unsigned __int128 rest = scaled - (units << shift);
        const unsigned __int128 half = static_cast<unsigned __int128>(1) << (shift - 1);
        if (rest > half || (rest == half && (units & 1))) ++units;
    }
    if (units == 0) return 0.0f;
    const long double decimal = static_cast<long double>(static_cast<uint64_t>(units)) / 1e10L;
    return static_cast<float>(Value < 0 ? -decimal : decimal);
}

void TMeshBuilder::Reset()
{
    GeneratedObjects = 0;
    LeftOutObjects = 0;
    Store.LayerUsed.fill(false);
    LastTube = TLastTube();
}

bool TMeshBuilder::AddMesh(int VertexCount, int FaceCount, int ColorIndex)
{
    assert(VertexCount <= MaxMeshSize && FaceCount <= MaxMeshSize);
    if (Store.ObjectCount >= MaxObjects) return false;

    std::array<TVector, MaxMeshSize> rounded;
    for (int i = 0; i < VertexCount; ++i) {
        const TVector& v = MeshVertices[i];
        if (!std::isfinite(v.X) || !std::isfinite(v.Y) || !std::isfinite(v.Z)) {
            ++LeftOutObjects;
            return true;
        }
        rounded[i] = {RoundToTenDecimals(v.X), RoundToTenDecimals(v.Y), RoundToTenDecimals(v.Z)};
    }

    ++GeneratedObjects;
    Store.LayerUsed[ColorIndex] = true;

    TFaceObject& object = Store.Object(++Store.ObjectCount);
    object.FaceCount = FaceCount;
    object.VertexCount = VertexCount;
    object.Color = LayerColors[ColorIndex];
    object.ColorIndex = static_cast<uint8_t>(ColorIndex);
    TFaceAppender faces(Store, object);
    for (int f = 0; f < FaceCount; ++f) {
        TVector corners[4];
        int32_t index[4];
        for (int i = 0; i < 4; ++i) {
            index[i] = MeshFaces[f][i];
            assert(index[i] >= 1 && index[i] <= VertexCount);
            corners[i] = rounded[index[i] - 1];
        }
        faces.Add(corners, index);
    }
    return true;
}

} // namespace verdel
