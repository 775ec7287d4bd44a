// Runs the turtle on a production string written as the axiom of a definition.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/production.h"
#include "engine/turtle.h"

namespace verdel::test {

struct TTurtleRun {
    std::unique_ptr<TFaceStore> Store = std::make_unique<TFaceStore>();
    std::unique_ptr<TDefinitionState> State = std::make_unique<TDefinitionState>();
    TTurtleResult Result;

    const TFaceObject& Object(int k) const { return Store->Object(k); }
    // Corner c (0..3) of face f (1-based) of object k.
    TVector Corner(int k, int f, int c) const
    {
        const TFaceNode* face = Store->Object(k).ModelFaces;
        for (int i = 1; i < f; ++i) face = face->Next;
        return face->Corners[c];
    }
};

// Parses a definition, rewrites it and runs the turtle on it.
inline TTurtleRun RunDefinition(const TLines& lines, TSolidSettings settings = {}, uint32_t seed = 0)
{
    TTurtleRun run;
    ParseDefinition(*run.State, lines);
    RewriteProduction(*run.State);
    TMeshBuilder builder(*run.Store);
    builder.Reset();
    TRandomSource random;
    random.Seed = seed;
    run.Result = InterpretProduction(*run.State, settings, builder, random);
    return run;
}

// Runs the turtle on Production, written as the axiom of a definition without rewriting.
inline TTurtleRun RunTurtle(const std::string& production, const std::string& angle = "90",
                            const std::string& thickness = "10", TSolidSettings settings = {}, uint32_t seed = 0)
{
    return RunDefinition({"0", angle, thickness, production, "@"}, settings, seed);
}

// Each coordinate of Actual within Tolerance of Expected's.
inline void ExpectNear(TVector Actual, TVector Expected, float Tolerance = 1e-3f)
{
    EXPECT_NEAR(Actual.X, Expected.X, Tolerance);
    EXPECT_NEAR(Actual.Y, Expected.Y, Tolerance);
    EXPECT_NEAR(Actual.Z, Expected.Z, Tolerance);
}

inline TSolidSettings Blocks()
{
    TSolidSettings settings;
    settings.Cylinders = false;
    return settings;
}

} // namespace verdel::test
