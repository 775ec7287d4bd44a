// Growth: the model of a definition at any iteration value up to its own,
// the definition text itself left as it is.
#pragma once

#include <optional>
#include <vector>

#include "engine/generation.h"

namespace verdel {

// The iteration value of a definition: the number on its first line that is
// neither a comment nor empty (the value of its expression for an extended
// definition); nothing when that number does not read.
std::optional<float> IterationValue(const TLines& Lines);

// A copy of Lines whose first value line starts with Value instead of its own
// number (the rest of the line, a comment say, is kept). The number is written
// so that it reads back as exactly Value. Lines without a value line come back unchanged.
TLines WithIterationValue(const TLines& Lines, float Value);

// Generates the model of Lines at the iteration value Value: the same model as
// a definition whose first value line were Value (a fraction draws a half-grown
// last step). Everything else as GenerateModel.
TGenerationResult GenerateGrowth(const TLines& Lines, float Value, const TSolidSettings& Settings, TPrompt& Prompt,
                                 TDefinitionState& State, TFaceStore& Store, TRandomSource& Random);

// The iteration values of Frames evenly spaced pictures from From to To, both
// ends included (one picture shows To). Each value From + (To - From) k / (Frames - 1)
// is computed in long double and stored once as a Single.
std::vector<float> GrowthValues(float From, float To, int Frames);

// Exchanges the models of two stores: objects, node pools, counts, layer flags
// and bounds. Each store keeps its own view translation, so the model shown
// changes while the view stays where it was.
void ExchangeModels(TFaceStore& Shown, TFaceStore& Fresh);

} // namespace verdel
