// Where a model stands so that the whole of it fills a picture: the
// arithmetic of the viewer's Fit, apart from the navigator's limits.
#pragma once

#include <optional>

#include "engine/face_store.h"

namespace verdel {

// The model's translation that puts its bounding box's middle on the view
// axis and its nearest side at the distance where the box's wider half just
// fits a Width x Height picture drawn with focal length Focal, times Spare
// (1.1 leaves a tenth to spare). Radius is the farthest corner's distance
// from the model's origin, for callers that keep turns in front of the eye.
struct TFitPlacement {
    float X = 0, Y = 0, Z = 0;
    long double Radius = 0;
};

// Nothing when the model has no corners or the picture no pixels.
std::optional<TFitPlacement> FitPlacement(const TFaceStore& Store, int Width, int Height, int Focal,
                                          long double Spare);

// The model's translation that puts the middle of its corners' box on the view
// axis and brings the model as near as keeps every corner at least Margin
// pixels inside a Width x Height picture drawn with focal length Focal: one
// corner at least lies on that margin, so the model fills the picture. Exact
// for every corner, where FitPlacement fits the box's nearest side.
std::optional<TFitPlacement> FillPlacement(const TFaceStore& Store, int Width, int Height, int Focal,
                                           long double Margin);

} // namespace verdel
