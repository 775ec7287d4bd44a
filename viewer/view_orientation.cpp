#include "viewer/view_orientation.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace verdel {

namespace {

using TDouble3 = std::array<double, 3>;

TDouble3 ToDouble(const TVector& v) { return {v.X, v.Y, v.Z}; }
double DotOf(const TDouble3& a, const TDouble3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
double LengthOf(const TDouble3& v) { return std::sqrt(DotOf(v, v)); }
TDouble3 CrossOf(const TDouble3& a, const TDouble3& b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
TDouble3 Scaled(const TDouble3& v, double s) { return {v[0] * s, v[1] * s, v[2] * s}; }
TDouble3 Minus(const TDouble3& a, const TDouble3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }

// Two directions count as one line when the sine of their angle is below this.
constexpr double CollinearSine = 1e-4;

// The orthonormal frame of two directions: a along the first, b in their plane, c = a x b.
std::array<TDouble3, 3> FrameOf(const TDouble3& p, const TDouble3& q)
{
    const TDouble3 a = Scaled(p, 1 / LengthOf(p));
    const TDouble3 side = Minus(q, Scaled(a, DotOf(q, a)));
    const TDouble3 b = Scaled(side, 1 / LengthOf(side));
    return {a, b, CrossOf(a, b)};
}

// The rotation taking frame E to frame F: sum over k of F_k E_k^T.
TRotation BetweenFrames(const std::array<TDouble3, 3>& e, const std::array<TDouble3, 3>& f)
{
    TRotation r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) r.M[i][j] = f[0][i] * e[0][j] + f[1][i] * e[1][j] + f[2][i] * e[2][j];
    return r;
}

// The smallest rotation turning direction p into direction q (Rodrigues' formula).
TRotation BetweenDirections(const TDouble3& p, const TDouble3& q)
{
    const TDouble3 a = Scaled(p, 1 / LengthOf(p));
    const TDouble3 b = Scaled(q, 1 / LengthOf(q));
    const TDouble3 axis = CrossOf(a, b);
    const double sine = LengthOf(axis);
    const double cosine = DotOf(a, b);
    TRotation r;
    if (sine < CollinearSine) {
        if (cosine > 0) return r;
        // Half a turn about any axis across p.
        const TDouble3 helper = std::fabs(a[0]) < 0.9 ? TDouble3{1, 0, 0} : TDouble3{0, 1, 0};
        const TDouble3 n = Scaled(CrossOf(a, helper), 1 / LengthOf(CrossOf(a, helper)));
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) r.M[i][j] = 2 * n[i] * n[j] - (i == j ? 1 : 0);
        return r;
    }
    const TDouble3 k = Scaled(axis, 1 / sine);
    const double t = 1 - cosine;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) r.M[i][j] = t * k[i] * k[j] + (i == j ? cosine : 0);
    r.M[0][1] -= sine * k[2];
    r.M[0][2] += sine * k[1];
    r.M[1][0] += sine * k[2];
    r.M[1][2] -= sine * k[0];
    r.M[2][0] -= sine * k[1];
    r.M[2][1] += sine * k[0];
    return r;
}

std::optional<TVector> CornerOf(const TFaceStore& store, int object, int corner)
{
    if (object < 1 || object > store.ObjectCount) return std::nullopt;
    const TFaceNode* face = store.Object(object).ModelFaces;
    if (!face) return std::nullopt;
    return face->Corners[corner];
}

} // namespace

TVector TRotation::Apply(const TVector& P) const
{
    const TDouble3 p = ToDouble(P);
    return {static_cast<float>(DotOf(M[0], p)), static_cast<float>(DotOf(M[1], p)), static_cast<float>(DotOf(M[2], p))};
}

void TOrientationProbe::Sample(const TFaceStore& Store)
{
    Corners.clear();
    TCorner far;
    double farLength = 0;
    const int count = std::min(Store.ObjectCount, MaxObjects);
    for (int k = 1; k <= count; ++k)
        if (const TFaceNode* face = Store.Object(k).ModelFaces)
            for (int c = 0; c < 4; ++c)
                if (const double length = LengthOf(ToDouble(face->Corners[c])); length > farLength) {
                    farLength = length;
                    far = {k, c, face->Corners[c]};
                }
    if (farLength == 0 || !std::isfinite(farLength)) return;
    Corners.push_back(far);

    // The second corner: the largest sine of the angle with the first.
    const TDouble3 a = ToDouble(far.Position);
    TCorner wide;
    double wideSine = CollinearSine;
    for (int k = 1; k <= count; ++k)
        if (const TFaceNode* face = Store.Object(k).ModelFaces)
            for (int c = 0; c < 4; ++c) {
                const TDouble3 b = ToDouble(face->Corners[c]);
                const double length = LengthOf(b);
                if (length == 0) continue;
                const double sine = LengthOf(CrossOf(a, b)) / (farLength * length);
                if (sine > wideSine) {
                    wideSine = sine;
                    wide = {k, c, face->Corners[c]};
                }
            }
    if (wide.Object != 0) Corners.push_back(wide);
}

TRotation TOrientationProbe::Recover(const TFaceStore& Store) const
{
    std::vector<TDouble3> now;
    for (const TCorner& corner : Corners) {
        const std::optional<TVector> p = CornerOf(Store, corner.Object, corner.Corner);
        if (!p || LengthOf(ToDouble(*p)) == 0) return {};
        now.push_back(ToDouble(*p));
    }
    if (now.empty()) return {};
    const TDouble3 first = ToDouble(Corners[0].Position);
    if (now.size() == 1) return BetweenDirections(first, now[0]);
    const TDouble3 second = ToDouble(Corners[1].Position);
    return BetweenFrames(FrameOf(first, second), FrameOf(now[0], now[1]));
}

TRotation Compose(const TRotation& Then, const TRotation& First)
{
    TRotation product;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            double sum = 0;
            for (int k = 0; k < 3; ++k) sum += Then.M[r][k] * First.M[k][c];
            product.M[r][c] = sum;
        }
    return product;
}

void ApplyRotation(TFaceStore& Store, const TRotation& Rotation)
{
    const int count = std::min(Store.ObjectCount, MaxObjects);
    for (int k = 1; k <= count; ++k)
        for (TFaceNode* face = Store.Object(k).ModelFaces; face; face = face->Next) {
            const int corners = face->CornerCount == 3 ? 3 : 4;
            for (int c = 0; c < corners; ++c) face->Corners[c] = Rotation.Apply(face->Corners[c]);
        }
}

} // namespace verdel
