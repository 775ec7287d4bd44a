// Generations on a thread of their own, and model files read meanwhile.
#include <gtest/gtest.h>

#include <atomic>

#include "engine/generation_thread.h"
#include "formats/model_reader.h"
#include "support/scripted_prompt.h"

using namespace verdel;

// The window's thread reads a model file into a model of its own while the
// worker generates: nothing is shared, and the worker's model is the one a
// generation on this thread makes.
TEST(TGenerationThread, AModelFileReadWhileItRunsSharesNothingWithIt)
{
    const TLines tree = ReadLinesFromFile(VERDEL_DATA "/vdfiles/tree.vd");
    test::TScriptedPrompt prompt;
    prompt.Answers = {TAnswer::Yes};
    TRandomSource random;
    random.Seed = 9;
    std::atomic<bool> finished = false;
    TGenerationThread generation(tree, {}, random, prompt, [&finished] { finished = true; });
    int reads = 0;
    do {
        const TModel file = ReadModel(VERDEL_DATA "/outline.dxf");
        EXPECT_EQ(file.Source, TModelSource::File);
        EXPECT_GT(file.Store->ObjectCount, 0);
        EXPECT_LE(generation.Progress().Done, 2000000);
        ++reads;
    } while (!finished);
    generation.Wait();

    test::TScriptedPrompt again;
    again.Answers = {TAnswer::Yes};
    TModel direct;
    GenerateModel(tree, {}, again, random, TCancelToken(), direct);
    ASSERT_EQ(generation.Result().Status, TGenerationStatus::Done);
    const TModel& made = generation.Model();
    EXPECT_EQ(made.ObjectCount, direct.ObjectCount);
    EXPECT_EQ(CountFaces(*made.Store), CountFaces(*direct.Store));
    EXPECT_EQ(made.Store->MaxZ, direct.Store->MaxZ);
    EXPECT_EQ(made.Seed, 9u);
    EXPECT_EQ(generation.Random().Seed, random.Seed); // the source comes back as the generation left it
    EXPECT_GE(reads, 1);
}

TEST(TGenerationThread, CancelStopsTheWorkAndLeavesNoModel)
{
    test::TScriptedPrompt prompt;
    prompt.Answers = {TAnswer::Yes};
    TGenerationThread generation({"20", "90", "10", "F", "F=FF", "@"}, {}, TRandomSource(), prompt, nullptr);
    generation.Cancel();
    generation.Wait();
    EXPECT_EQ(generation.Result().Status, TGenerationStatus::Cancelled);
    EXPECT_EQ(generation.Model().Store->ObjectCount, 0);
}
