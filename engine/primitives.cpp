#include "engine/primitives.h"

namespace verdel {

namespace {

// Half the width of a primitive: |end - start| x Thickness / 2, never negative.
float HalfWidth(float length, float thickness)
{
    float w = length * thickness;
    if (!(w >= 0)) w = 0;
    return w * 0.5f;
}

void SetFace(TMeshBuilder& builder, int face, int a, int b, int c, int d)
{
    builder.MeshFace(face) = {static_cast<uint16_t>(a), static_cast<uint16_t>(b), static_cast<uint16_t>(c),
                              static_cast<uint16_t>(d)};
}

void SetFace(TMeshBuilder& builder, int face, const std::array<int32_t, 4>& corners)
{
    SetFace(builder, face, corners[0], corners[1], corners[2], corners[3]);
}

// Ring vertex I (0..15) of the ring that starts at vertex First, going round.
int32_t RingVertex(int32_t first, int i) { return first + i % 16; }

// Face F (0..15) of a tube: bottom ring 1..16, top ring 17..32, going round.
std::array<int32_t, 4> TubeFace(int f)
{
    return {RingVertex(1, f), RingVertex(17, f), RingVertex(17, f + 1), RingVertex(1, f + 1)};
}

// Face F (0..31) of a cone: the base disc's triangles about its centre 18,
// then the sides' triangles about the apex 17, each over ring vertices 1..16.
std::array<int32_t, 4> ConeFace(int f)
{
    const int32_t hub = f < 16 ? 18 : 17;
    const int32_t next = RingVertex(1, f + 1);
    return {hub, RingVertex(1, f), next, next};
}

constexpr int TubeFaces = 16, ConeFaces = 32;

// Whether Faces number their corners exactly as Face(0), Face(1), ... do.
template <class TFaceOf> bool NumberedAs(std::span<const std::array<int32_t, 4>> faces, int count, TFaceOf face)
{
    if (static_cast<int>(faces.size()) != count) return false;
    for (int f = 0; f < count; ++f)
        if (faces[static_cast<size_t>(f)] != face(f)) return false;
    return true;
}

} // namespace

TSolidKind SolidKindOf(std::span<const std::array<int32_t, 4>> Faces)
{
    if (NumberedAs(Faces, TubeFaces, TubeFace)) return TSolidKind::skTube;
    if (NumberedAs(Faces, ConeFaces, ConeFace)) return TSolidKind::skCone;
    return TSolidKind::skOther;
}

bool CurvedFace(TSolidKind Kind, int Face)
{
    return Kind == TSolidKind::skTube || (Kind == TSolidKind::skCone && Face >= ConeFaces / 2);
}

std::array<TVector, 16> BuildRing(TVector A, TVector B)
{
    std::array<TVector, 16> r;
    r[0] = A;
    r[4] = B;
    r[8] = -A;
    r[12] = -B;
    r[2] = Normalise(A + B);
    r[6] = Normalise(-A + B);
    r[10] = Normalise(-A - B);
    r[14] = Normalise(A - B);
    r[1] = Normalise(A + r[2]);
    r[3] = Normalise(B + r[2]);
    r[5] = Normalise(B + r[6]);
    r[7] = Normalise(-A + r[6]);
    r[9] = Normalise(-A + r[10]);
    r[11] = Normalise(-B + r[10]);
    r[13] = Normalise(-B + r[14]);
    r[15] = Normalise(A + r[14]);
    return r;
}

bool AddBlock(TMeshBuilder& Builder, float Thickness, TVector Start, TVector End, TVector U, int ColorIndex)
{
    const TVector axis = End - Start;
    const float length = Length(axis);
    if (length == 0) return true;
    const float w = HalfWidth(length, Thickness);

    const TVector d = Normalise(axis);
    const TVector v = Normalise(U);
    const TVector c = Normalise(Cross(d, v));
    const TVector diagonal1 = Normalise(v + c);
    const TVector diagonal2 = Normalise(v - c);

    Builder.MeshVertex(1) = PointPlus(Start, w, diagonal1);
    Builder.MeshVertex(2) = PointPlus(Start, w, diagonal2);
    Builder.MeshVertex(3) = PointPlus(Start, -w, diagonal1);
    Builder.MeshVertex(4) = PointPlus(Start, -w, diagonal2);
    for (int i = 1; i <= 4; ++i) Builder.MeshVertex(i + 4) = Builder.MeshVertex(i) + axis;

    SetFace(Builder, 1, 1, 5, 6, 2);
    SetFace(Builder, 2, 2, 6, 7, 3);
    SetFace(Builder, 3, 3, 7, 8, 4);
    SetFace(Builder, 4, 4, 8, 5, 1);
    SetFace(Builder, 5, 1, 2, 3, 4);
    SetFace(Builder, 6, 8, 7, 6, 5);
    return Builder.AddMesh(8, 6, ColorIndex);
}

bool AddCylinder(TMeshBuilder& Builder, float Thickness, TVector Start, TVector End, int ColorIndex, TVector U,
                 TVector L)
{
    const TVector axis = End - Start;
    const float length = Length(axis);
    if (length == 0) return true;
    const float w = HalfWidth(length, Thickness);

    const std::array<TVector, 16> ring = BuildRing(L, U);
    for (int k = 0; k < 16; ++k) {
        Builder.MeshVertex(k + 1) = PointPlus(Start, w, ring[k]);
        Builder.MeshVertex(k + 17) = Builder.MeshVertex(k + 1) + axis;
    }

    // Joint: start on the last tube's top ring, turned so that its entry
    // nearest to our first vertex comes first (the earliest of equal distances).
    TLastTube& last = Builder.LastTube;
    if (ColorIndex == last.Color && Length(Start - last.End) < 1.0f) {
        float best = 1e30f;
        int first = 0;
        for (int j = 0; j < 16; ++j) {
            const float distance = Length(Builder.MeshVertex(1) - last.Ring[j]);
            if (distance < best) {
                best = distance;
                first = j;
            }
        }
        for (int k = 0; k < 16; ++k) Builder.MeshVertex(k + 1) = last.Ring[(first + k) % 16];
    }

    for (int f = 0; f < TubeFaces; ++f) SetFace(Builder, f + 1, TubeFace(f));
    if (!Builder.AddMesh(32, TubeFaces, ColorIndex)) return false;

    last.Color = ColorIndex;
    last.End = End;
    for (int k = 0; k < 16; ++k) last.Ring[k] = Builder.MeshVertex(k + 17);
    return true;
}

bool AddCone(TMeshBuilder& Builder, float Thickness, TVector Start, TVector End, int ColorIndex, TVector U, TVector L)
{
    const float length = Length(End - Start);
    if (length == 0) return true;
    const float w = HalfWidth(length, Thickness);

    const std::array<TVector, 16> ring = BuildRing(L, U);
    for (int k = 0; k < 16; ++k) Builder.MeshVertex(k + 1) = PointPlus(Start, w, ring[k]);
    Builder.MeshVertex(17) = End;   // apex
    Builder.MeshVertex(18) = Start; // centre of the base

    for (int f = 0; f < ConeFaces; ++f) SetFace(Builder, f + 1, ConeFace(f));
    return Builder.AddMesh(18, ConeFaces, ColorIndex);
}

bool AddPyramid(TMeshBuilder& Builder, float Thickness, TVector Start, TVector End, int ColorIndex, TVector U,
                TVector L)
{
    const float length = Length(End - Start);
    if (length == 0) return true;
    const float w = HalfWidth(length, Thickness);

    Builder.MeshVertex(1) = PointPlus(Start, w, L);
    Builder.MeshVertex(2) = PointPlus(Start, w, U);
    Builder.MeshVertex(3) = PointPlus(Start, -w, L);
    Builder.MeshVertex(4) = PointPlus(Start, -w, U);
    Builder.MeshVertex(5) = End;

    SetFace(Builder, 1, 5, 1, 2, 2);
    SetFace(Builder, 2, 5, 2, 3, 3);
    SetFace(Builder, 3, 5, 3, 4, 4);
    SetFace(Builder, 4, 5, 4, 1, 1);
    SetFace(Builder, 5, 1, 2, 3, 4);
    return Builder.AddMesh(5, 5, ColorIndex);
}

} // namespace verdel
