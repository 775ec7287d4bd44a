#include "viewer/fit_view.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace verdel {

namespace {

// Calls Visit with every corner of Store's faces.
template <class TVisit> void ForEachCorner(const TFaceStore& Store, TVisit Visit)
{
    for (int k = 1; k <= Store.ObjectCount; ++k)
        for (const TFaceNode* face = Store.Object(k).ModelFaces; face; face = face->Next)
            for (const TVector& c : face->Corners) Visit(c);
}

} // namespace

std::optional<TFitPlacement> FitPlacement(const TFaceStore& Store, int Width, int Height, int Focal,
                                          long double Spare)
{
    bool any = false;
    TVector low{}, high{};
    long double radius2 = 0;
    ForEachCorner(Store, [&](const TVector& c) {
        if (!any) low = high = c;
        any = true;
        low = {std::min(low.X, c.X), std::min(low.Y, c.Y), std::min(low.Z, c.Z)};
        high = {std::max(high.X, c.X), std::max(high.Y, c.Y), std::max(high.Z, c.Z)};
        radius2 = std::max(radius2, static_cast<long double>(c.X) * c.X + static_cast<long double>(c.Y) * c.Y +
                                        static_cast<long double>(c.Z) * c.Z);
    });
    if (!any || Width <= 0 || Height <= 0) return std::nullopt;
    const long double halfX = (static_cast<long double>(high.X) - low.X) / 2;
    const long double halfY = (static_cast<long double>(high.Y) - low.Y) / 2;
    const long double distance =
        Spare * std::max(2 * Focal * halfX / Width, 2 * Focal * halfY / Height) + 1e-3L;
    TFitPlacement place;
    place.X = static_cast<float>(-(static_cast<long double>(low.X) + high.X) / 2);
    place.Y = static_cast<float>(-(static_cast<long double>(low.Y) + high.Y) / 2);
    place.Z = static_cast<float>(-distance - high.Z);
    place.Radius = std::sqrt(radius2);
    return place;
}

std::optional<TFitPlacement> FillPlacement(const TFaceStore& Store, int Width, int Height, int Focal,
                                           long double Margin)
{
    const std::optional<TFitPlacement> middle = FitPlacement(Store, Width, Height, Focal, 1);
    if (!middle) return std::nullopt;
    // A corner (x, y, z) lands inside when Focal |x + X| / (D - z) <= Width / 2 - Margin,
    // so the distance D must reach z + Focal |x + X| / (Width / 2 - Margin), and likewise for y.
    const long double halfWidth = std::max(1.0L, Width / 2.0L - Margin);
    const long double halfHeight = std::max(1.0L, Height / 2.0L - Margin);
    long double distance = -std::numeric_limits<long double>::infinity(), nearest = distance;
    ForEachCorner(Store, [&](const TVector& c) {
        if (!std::isfinite(c.X) || !std::isfinite(c.Y) || !std::isfinite(c.Z)) return; // never drawn
        const long double across = std::fabs(c.X + static_cast<long double>(middle->X)) / halfWidth;
        const long double up = std::fabs(c.Y + static_cast<long double>(middle->Y)) / halfHeight;
        distance = std::max(distance, c.Z + Focal * std::max(across, up));
        nearest = std::max(nearest, static_cast<long double>(c.Z));
    });
    // However flat the model, its nearest corner stays in front of the eye.
    distance = std::max(distance, nearest + std::max(1e-3L, middle->Radius / 1000));
    TFitPlacement place = *middle;
    place.Z = static_cast<float>(-distance);
    return place;
}

} // namespace verdel
