#include "engine/vector_math.h"

namespace verdel {

TMatrix RotationMatrix(TVector a, float Theta)
{
    // Cosine and sine in extended precision, each stored once as a Single.
    const float c = static_cast<float>(std::cos(static_cast<long double>(Theta)));
    const float s = static_cast<float>(std::sin(static_cast<long double>(Theta)));
    const float t = 1 - c;
    TMatrix m;
    m.Row[0] = {(1 - a.X * a.X) * c + a.X * a.X, t * a.X * a.Y - a.Z * s, t * a.X * a.Z + a.Y * s};
    m.Row[1] = {t * a.X * a.Y + a.Z * s, (1 - a.Y * a.Y) * c + a.Y * a.Y, t * a.Y * a.Z - a.X * s};
    m.Row[2] = {t * a.X * a.Z - a.Y * s, t * a.Y * a.Z + a.X * s, (1 - a.Z * a.Z) * c + a.Z * a.Z};
    return m;
}

} // namespace verdel
