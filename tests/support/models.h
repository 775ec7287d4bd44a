// Models for tests: a definition generated into a store of its own, and the
// bundled samples placed as the viewer shows them.
#pragma once

#include <memory>
#include <string>

#include "engine/generation.h"
#include "render/gmp.h"
#include "support/scripted_prompt.h"
#include "viewer/view_preparation.h"

namespace verdel::test {

// Lines generated with Settings, every question answered Yes; the result in *Result when given.
inline std::unique_ptr<TFaceStore> GenerateStore(const TLines& Lines, const TSolidSettings& Settings = {},
                                                 TGenerationResult* Result = nullptr)
{
    auto store = std::make_unique<TFaceStore>();
    auto state = std::make_unique<TDefinitionState>();
    TYesPrompt prompt;
    TRandomSource random;
    const TGenerationResult result = GenerateModel(Lines, Settings, prompt, *state, *store, random);
    if (Result) *Result = result;
    return store;
}

// The definition file Path generated, centred and scaled as the viewer places
// it and stood upright (turned a quarter about x), as the golden frames show it.
inline std::unique_ptr<TFaceStore> UprightSample(const std::string& Path)
{
    auto store = GenerateStore(ReadLinesFromFile(Path));
    PrepareView(*store);
    TGMP::RotateScene(*store, true, false, false, -1.5707964f, 0, 0);
    return store;
}

} // namespace verdel::test
