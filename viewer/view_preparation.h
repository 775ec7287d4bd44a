// Preparing a view of the face store: centring, distance and the visible layer buttons.
#pragma once

#include <array>

#include "engine/face_store.h"
#include "render/gmp.h"

namespace verdel {

// The viewer's light: from (0, 50, 10) towards the origin.
constexpr TVector ViewerLightPosition{0, 50, 10};
constexpr TVector ViewerLightTarget{0, 0, 0};

// What a prepared view tells the viewer.
struct TViewPreparation {
    // The largest extent of the bounding box measured from the origin; 1 when that is 0.
    float ModelSize = 1;
    // Entry N - 1: whether the button of layer N (1..12) is shown.
    std::array<bool, LayerCount> LayerButtonVisible{};
};

// Places the model in front of the eye from the bounds ComputeBounds left:
// the middle of the box in x and y on the view axis, and the model at twice
// its size along negative z. Writes only the store's translation.
TViewPreparation PrepareView(TFaceStore& Store);

// Gives Gmp the viewer's light.
void UseViewerLight(TGMP& Gmp);

// A frame as the viewer draws it: the viewer's light on Gmp, and Store
// placed by PrepareView.
TViewPreparation PrepareView(TGMP& Gmp, TFaceStore& Store);

} // namespace verdel
