#include "viewer/fit_view.h"

#include <algorithm>
#include <cmath>

namespace verdel {

std::optional<TFitPlacement> FitPlacement(const TFaceStore& Store, int Width, int Height, int Focal,
                                          long double Spare)
{
    bool any = false;
    TVector low{}, high{};
    long double radius2 = 0;
    for (int k = 1; k <= Store.ObjectCount; ++k)
        for (const TFaceNode* face = Store.Object(k).ModelFaces; face; face = face->Next)
            for (const TVector& c : face->Corners) {
                if (!any) low = high = c;
                any = true;
                low = {std::min(low.X, c.X), std::min(low.Y, c.Y), std::min(low.Z, c.Z)};
                high = {std::max(high.X, c.X), std::max(high.Y, c.Y), std::max(high.Z, c.Z)};
                radius2 = std::max(radius2, static_cast<long double>(c.X) * c.X +
                                                static_cast<long double>(c.Y) * c.Y +
                                                static_cast<long double>(c.Z) * c.Z);
            }
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

} // namespace verdel
