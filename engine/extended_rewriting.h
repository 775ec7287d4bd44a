// Rewriting an extended definition: its stochastic, context-sensitive and
// parametric rules applied to every module in parallel, step by step.
#pragma once

#include <cstdint>

#include "engine/cancel.h"
#include "engine/context_match.h"
#include "engine/definition.h"
#include "engine/module_string.h"
#include "engine/random_source.h"
#include "engine/rewriting.h"

namespace verdel {

// The buffers rewriting an extended definition works in. The definition
// state keeps them from one generation to the next, so that generating again
// (growth frames, gallery cells) reuses their memory.
struct TRewriteBuffers {
    TModuleString Current, Next;
    TBranchView Branches;
};

// The most work a rewriting of an extended definition may take, counted as
// the modules and parameters of every step's string (those rewritten and
// those copied) plus StepWork for each step. Reached in well under two
// seconds: an extended definition ends, with its production or a refusal,
// whatever its number of steps. The book's largest models take a few million.
constexpr int64_t MaxExtendedWork = 12'000'000;
constexpr int64_t StepWork = 4;

struct TExtendedLimits {
    int64_t Work = MaxExtendedWork;
    // Skip the steps of a string that repeats (the result is the same as taking them).
    bool FindCycles = true;
};

// Rewrites the axiom of State's extended program Iterations times, then puts
// the insertion text before every module of the insertion symbol, and writes
// the result to State.Production. Each module is rewritten by the rules that
// match it: one of those with a weight drawn in proportion to the weights,
// else the first in file order; a module no rule matches stays as it is. The
// draws (weights and rand()) come from Random in a fixed order: steps in
// order, modules from the left, and within a module its rules' conditions
// and weights in file order, the weighted draw, then the successor's
// parameters from the left.
// Refused when a step (or the insertion) would write more than Limit
// characters: Production then holds the modules written before the one that
// did not fit. Failed when an expression has no finite value (division by
// zero, log of a negative number...): State.FaultLine and State.FaultText say
// which rule and which step. Cancelled leaves Production unspecified.
// When the steps before a draw-free stretch of steps meet a string met
// before, the steps that only go round the repetition are skipped. Refused
// too when the work would pass Limits.Work: State.FaultLine is then the
// iterations line and State.FaultText says why.
TRewriteStatus RewriteExtended(TDefinitionState& State, TRandomSource& Random, const TCancelToken& Cancel,
                               int64_t Limit, const TExtendedLimits& Limits = {});

} // namespace verdel
