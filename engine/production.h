// Parallel rewriting of the axiom into the production string.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/cancel.h"
#include "engine/definition.h"
#include "engine/prompt.h"
#include "engine/random_source.h"
#include "engine/rewriting.h"

namespace verdel {

// Largest sum of successor lengths one rewriting step may produce.
constexpr int64_t MaxProductionLength = 2'000'000;

// Estimated output sizes above this ask the user before the turtle runs.
constexpr int64_t OutputSizeQuestionLimit = 5'000'000;

// Rewrites State.Production Iterations times, then applies the insertion
// directive. Refused when a step (or the insertion) would exceed
// MaxProductionLength; Production then keeps what was built so far. After
// Cancelled the production is unspecified and the insertion not applied.
// An extended definition is rewritten from its axiom by its compiled rules
// (see RewriteExtended), drawing from Random; Failed when one of its
// expressions had no finite value.
TRewriteStatus RewriteProduction(TDefinitionState& State, const TCancelToken& Cancel,
                                 TRandomSource& Random = RandomSource);

// The same without cancelling: whether every step and the insertion fitted.
bool RewriteProduction(TDefinitionState& State, TRandomSource& Random = RandomSource);

// Output size in bytes: ("F" + "Z") x 2080 + "}" x 541.
int64_t EstimateOutputSize(std::string_view Production);

// The estimate as the question shows it: rounded to a Single, with thousands separators.
std::string FormatEstimate(int64_t Estimate);

// The full production step: rewriting with the overflow message and the
// output-size question. Done when the generation may go on, Refused after the
// overflow or a No; Cancelled and Failed leave Prompt alone.
TRewriteStatus BuildProduction(TDefinitionState& State, TPrompt& Prompt, const TCancelToken& Cancel,
                               TRandomSource& Random = RandomSource);

// The same without cancelling: whether the generation may go on.
bool BuildProduction(TDefinitionState& State, TPrompt& Prompt, TRandomSource& Random = RandomSource);

} // namespace verdel
