// The small single-precision vector toolkit shared by the turtle and the solids.
#pragma once

#include <cmath>

namespace verdel {

// Three Singles. Every operation rounds to single precision after each step,
// in the order written, so results are the same on every build.
struct TVector {
    float X = 0, Y = 0, Z = 0;

    friend bool operator==(const TVector&, const TVector&) = default;
};

inline TVector operator+(TVector a, TVector b) { return {a.X + b.X, a.Y + b.Y, a.Z + b.Z}; }
inline TVector operator-(TVector a, TVector b) { return {a.X - b.X, a.Y - b.Y, a.Z - b.Z}; }
inline TVector operator-(TVector a) { return {-a.X, -a.Y, -a.Z}; }

// p + t d, componentwise.
inline TVector PointPlus(TVector p, float t, TVector d) { return {p.X + t * d.X, p.Y + t * d.Y, p.Z + t * d.Z}; }

inline float Dot(TVector a, TVector b) { return a.X * b.X + a.Y * b.Y + a.Z * b.Z; }

inline float Length(TVector v) { return std::sqrt(v.X * v.X + v.Y * v.Y + v.Z * v.Z); }

inline TVector Cross(TVector a, TVector b)
{
    return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X};
}

// v / |v|; a zero vector comes back unchanged.
inline TVector Normalise(TVector v)
{
    const float length = Length(v);
    if (length == 0) return v;
    return {v.X / length, v.Y / length, v.Z / length};
}

// A 3 x 3 matrix by rows.
struct TMatrix {
    TVector Row[3];
};

// The right-handed rotation about axis a by Theta radians.
TMatrix RotationMatrix(TVector a, float Theta);

inline TVector operator*(const TMatrix& m, TVector v) { return {Dot(m.Row[0], v), Dot(m.Row[1], v), Dot(m.Row[2], v)}; }

} // namespace verdel
