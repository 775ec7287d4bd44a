#include "viewer/upright.h"

#include <algorithm>
#include <array>
#include <utility>

namespace verdel {

namespace {

// Every corner the renderer draws: three of a triangle, four of the rest.
template <class TStore, class TVisit> void ForEachCorner(TStore& Store, TVisit visit)
{
    const int count = std::clamp(Store.ObjectCount, 0, MaxObjects);
    for (int k = 1; k <= count; ++k)
        for (auto* face = Store.Object(k).ModelFaces; face; face = face->Next)
            for (int c = 0; c < (face->CornerCount == 3 ? 3 : 4); ++c) visit(face->Corners[c]);
}

} // namespace

int UprightTurn(const TFaceStore& Store)
{
    bool any = false;
    TVector low{}, high{};
    ForEachCorner(Store, [&](const TVector& c) {
        if (!any) low = high = c;
        any = true;
        low = {std::min(low.X, c.X), std::min(low.Y, c.Y), std::min(low.Z, c.Z)};
        high = {std::max(high.X, c.X), std::max(high.Y, c.Y), std::max(high.Z, c.Z)};
    });
    if (!any) return 0;
    const long double y = (static_cast<long double>(low.Y) + high.Y) / 2;
    const long double z = (static_cast<long double>(low.Z) + high.Z) / 2;
    const long double size = std::max({static_cast<long double>(high.X) - low.X,
                                       static_cast<long double>(high.Y) - low.Y,
                                       static_cast<long double>(high.Z) - low.Z});
    // The height of the middle after each turn; another turn must beat the
    // present one clearly, so a model spread about its start stays as it is.
    const std::array<std::pair<int, long double>, 3> turns{{{-90, z}, {90, -z}, {180, -y}}};
    int best = 0;
    long double bestHeight = y;
    for (const auto& [turn, height] : turns)
        if (height > bestHeight + size / 100) {
            best = turn;
            bestHeight = height;
        }
    return best;
}

void TurnQuarters(TFaceStore& Store, int Degrees)
{
    switch (((Degrees / 90) % 4 + 4) % 4) {
    case 1: ForEachCorner(Store, [](TVector& c) { c = {c.X, -c.Z, c.Y}; }); break;
    case 2: ForEachCorner(Store, [](TVector& c) { c = {c.X, -c.Y, -c.Z}; }); break;
    case 3: ForEachCorner(Store, [](TVector& c) { c = {c.X, c.Z, -c.Y}; }); break;
    default: break;
    }
}

int StandUpright(TFaceStore& Store)
{
    const int turn = UprightTurn(Store);
    TurnQuarters(Store, turn);
    return turn;
}

} // namespace verdel
