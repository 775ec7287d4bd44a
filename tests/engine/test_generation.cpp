#include <gtest/gtest.h>

#include <optional>
#include <tuple>

#include "engine/generation.h"
#include "engine/production.h"
#include "support/models.h"
#include "support/scripted_prompt.h"
#include "support/turtle_run.h"

using namespace verdel;
using verdel::test::TScriptedPrompt;

namespace {

struct TGeneration {
    std::unique_ptr<TDefinitionState> State = std::make_unique<TDefinitionState>();
    std::unique_ptr<TFaceStore> Store = std::make_unique<TFaceStore>();
    TRandomSource Random;
    TScriptedPrompt Prompt;

    TGenerationResult Run(const TLines& lines, TSolidSettings settings = {})
    {
        return GenerateModel(lines, settings, Prompt, *State, *Store, Random);
    }
};

} // namespace

TEST(GenerateModel, FillsAndMeasuresTheStore)
{
    TGeneration g;
    const TGenerationResult result = g.Run({"2", "90", "10", "F", "F=F[+F]", "@"});
    EXPECT_EQ(result.Status, TGenerationStatus::Done);
    EXPECT_TRUE(g.Prompt.Messages.empty());
    EXPECT_EQ(result.ObjectCount, 4);
    EXPECT_EQ(result.ProductionLength, 13);                         // F[+F][+F[+F]]
    EXPECT_EQ(result.DefinitionText, "2\n90\n10\nF\nF=F[+F]\n@\n"); // what mesh exports record
    EXPECT_EQ(g.Store->ObjectCount, 4);
    EXPECT_GT(g.Store->MaxZ, 100.0f);
    EXPECT_EQ(g.Prompt.BusyTexts, std::vector<std::string>{"Generating Output from Production String"});
    EXPECT_EQ(g.Prompt.BusyDepth, 0);
}

// A fault on a line: the fixed message, then the line and what it should hold.
TEST(GenerateModel, InvalidTextIsReportedAndNothingElseHappens)
{
    TGeneration g;
    g.State->Production = "untouched";
    const TGenerationResult angle = g.Run({"# comment", "3", "x", "10", "F", "@"});
    EXPECT_EQ(angle.Status, TGenerationStatus::Invalid);
    EXPECT_EQ(angle.FaultLine, 3);
    EXPECT_EQ(g.Prompt.Messages,
              std::vector<std::string>{"Please Check Input Data\r\nError Reading Angle Value\r\nLine 3: \"x\" is not "
                                       "a number; expected the turn angle in degrees, such as 22.5"});
    EXPECT_EQ(g.State->Production, "untouched");
    EXPECT_TRUE(g.Prompt.BusyTexts.empty());
}

TEST(GenerateModel, RefusedProductionStopsBeforeTheTurtle)
{
    TGeneration g;
    EXPECT_EQ(g.Run({"30", "90", "10", "F", "F=FF", "@"}).Status, TGenerationStatus::Refused);
    EXPECT_EQ(g.Prompt.Messages, std::vector<std::string>{"Production String Exceeded Maximum Length"});

    TGeneration declined; // 2^12 segments: an estimate of about 8.5 MB
    EXPECT_EQ(declined.Run({"12", "90", "10", "F", "F=FF", "@"}).Status, TGenerationStatus::Refused);
    EXPECT_EQ(declined.Prompt.Questions.size(), 1u);
    EXPECT_EQ(declined.Store->ObjectCount, 0);
}

TEST(GenerateModel, TurtleFailureLeavesNothingForTheNextGeneration)
{
    TGeneration g;
    const TGenerationResult failed = g.Run({"0", "90", "10", "FFF(x)F", "@"});
    EXPECT_EQ(failed.Status, TGenerationStatus::TurtleFailed);
    EXPECT_EQ(g.Prompt.Messages, std::vector<std::string>{"'x' is not a valid floating point value\r\n"
                                                          "Line 4, column 5: the parameter \"(x)\" is not a number"});
    EXPECT_EQ(g.Prompt.BusyDepth, 0); // the busy state ends also on failure

    // A rule's parameter is found as the rule's text holds it, "," for ".".
    const TGenerationResult inRule = g.Run({"# a rule", "1", "90", "10", "A", "A=F(2)F(1,2.5)", "@"});
    EXPECT_EQ(inRule.Status, TGenerationStatus::TurtleFailed);
    EXPECT_EQ(std::vector<int>({inRule.FaultLine, inRule.FaultColumn, inRule.FaultLength}),
              std::vector<int>({6, 9, 5}));

    EXPECT_EQ(g.Run({"1", "90", "10", "F", "@"}).Status, TGenerationStatus::Done);
    EXPECT_EQ(g.Store->ObjectCount, 1);

    // Nor do the lengths the last model scaled: a half segment (Z) is half the default again.
    g.Run({"0", "90", "10", "'''FZ", "@"});
    g.Run({"0", "90", "10", "Z", "@"});
    const auto fresh = test::GenerateStore({"0", "90", "10", "Z", "@"});
    EXPECT_EQ(std::tie(g.Store->MaxX, g.Store->MaxY, g.Store->MaxZ), std::tie(fresh->MaxX, fresh->MaxY, fresh->MaxZ));
}

TEST(GenerateModel, AnEmptyModelSaysWhichSettingWouldHaveLetItDraw)
{
    const std::string offQ = "Q draws nothing while \"Set Q = Draw Cone\" is off (Options > General)";
    const std::string offR = "R draws nothing while \"Set R = Draw Pyramid\" is off (Options > General)";
    const struct {
        const char* Axiom;
        TSolidSettings Solids;
        std::string Note;
    } cases[] = {
        {"R", {}, "No objects: " + offR},
        {"[Q]R", {}, "No objects: " + offQ + "; " + offR},
        {"R", {.RPyramids = true}, ""},
        {"+f", {}, "No objects: the production has no drawing commands"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Axiom);
        TScriptedPrompt prompt;
        TRandomSource random;
        TModel model;
        ASSERT_EQ(
            GenerateModel({"0", "90", "10", c.Axiom, "@"}, c.Solids, prompt, random, TCancelToken(), model).Status,
            TGenerationStatus::Done);
        EXPECT_EQ(EmptyModelNote(model), c.Note);
    }
}

TEST(GenerateModel, FullTableKeepsTheObjectsAndSaysSo)
{
    TGeneration g;
    // 2^15 = 32768 segments, more than the table holds.
    g.Prompt.Answers = {TAnswer::Yes};
    const TGenerationResult result = g.Run({"15", "90", "1", "F", "F=FF", "@"}, test::Blocks());
    EXPECT_EQ(result.Status, TGenerationStatus::Done);
    EXPECT_TRUE(result.TableFull);
    EXPECT_EQ(g.Prompt.Messages, std::vector<std::string>{TableFullMessage});
    EXPECT_EQ(g.Store->ObjectCount, MaxObjects);
    EXPECT_EQ(result.ObjectCount, MaxObjects);
}

// Progress goes from rewriting to the turtle, never backwards within a stage;
// cancelling in a stage leaves the store as the stage found it: rewriting
// never touches it, a stopped turtle leaves it empty, not half built.
TEST(GenerateModel, ProgressAndCancellingInEachStage)
{
    // 8,192 segments: the turtle looks at the token every few thousand commands.
    const TLines lines = {"13", "90", "10", "F", "F=FF", "@"};
    for (const std::optional<TWorkPhase> phase :
         {std::optional<TWorkPhase>(), std::optional(TWorkPhase::Rewriting), std::optional(TWorkPhase::Interpreting)}) {
        SCOPED_TRACE(phase ? static_cast<int>(*phase) : -1);
        TGeneration g;
        ASSERT_EQ(g.Run({"1", "90", "10", "F", "@"}).Status, TGenerationStatus::Done);
        g.Prompt.Answers = {TAnswer::Yes};
        TCancelToken token;
        std::vector<TProgress> reports;
        token.OnProgress = [&](const TProgress& progress) {
            reports.push_back(progress);
            if (progress.Phase == phase) token.Cancel();
        };
        const TGenerationResult result = GenerateModel(lines, {}, g.Prompt, *g.State, *g.Store, g.Random, token);
        EXPECT_EQ(result.Status, phase ? TGenerationStatus::Cancelled : TGenerationStatus::Done);
        EXPECT_TRUE(g.Prompt.Messages.empty());
        EXPECT_EQ(g.Prompt.BusyDepth, 0);
        EXPECT_EQ(g.Store->ObjectCount, !phase ? 8192 : phase == TWorkPhase::Interpreting ? 0 : 1);
        ASSERT_GE(reports.size(), phase ? 1u : 3u);
        EXPECT_EQ(reports.front().Phase, TWorkPhase::Rewriting);
        EXPECT_EQ(reports.back().Phase, phase.value_or(TWorkPhase::Interpreting));
        if (reports.back().Phase == TWorkPhase::Interpreting) {
            EXPECT_EQ(reports.back().Total, 8192);
        }
        for (size_t k = 1; k < reports.size(); ++k) {
            EXPECT_LE(reports[k].Done, reports[k].Total);
            // Never backwards within a stage, and from rewriting only to the turtle.
            EXPECT_TRUE(reports[k - 1].Phase == reports[k].Phase ? reports[k - 1].Done <= reports[k].Done
                                                                 : reports[k].Phase == TWorkPhase::Interpreting)
                << k;
        }
    }
}
