// What the benchmark programs share: a prompt that answers Yes and the large model.
#pragma once

#include <sys/resource.h>

#include <memory>

#include "engine/generation.h"

namespace verdel::bench {

// Says nothing and answers every question with Yes.
class TYesPrompt : public TPrompt {
public:
    void Message(const std::string&) override {}
    TAnswer Confirm(const std::string&, bool) override { return TAnswer::Yes; }
};

// Generates the bundled 30,000-tube forest into Store.
inline TGenerationResult GenerateForest(TFaceStore& Store)
{
    TYesPrompt prompt;
    auto state = std::make_unique<TDefinitionState>();
    return GenerateModel(ReadLinesFromFile(VERDEL_DATA "/vdfiles/forest.vd"), TSolidSettings{}, prompt, *state, Store,
                         RandomSource);
}

// The process's peak resident memory so far, in megabytes.
inline double PeakResidentMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

} // namespace verdel::bench
