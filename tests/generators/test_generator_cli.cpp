#include <gtest/gtest.h>

#include <filesystem>

#include "engine/definition.h"
#include "generators/random_generator.h"
#include "support/run_cli.h"

using namespace verdel;
using namespace verdel::test;

namespace {

std::string TempFile(const std::string& name)
{
    return (std::filesystem::temp_directory_path() / (name + "-" + std::to_string(getpid()) + ".vd")).string();
}

std::string Joined(const TLines& lines, const char* end)
{
    std::string text;
    for (const std::string& line : lines) text += line + end;
    return text;
}

} // namespace

TEST(CliRandom, PrintsOneGoOfTheSeededGenerator)
{
    const TCliRun run = RunCli({"random", "--seed", "1234", "--bar", "rules=5", "--bar", "draw=12"});
    EXPECT_EQ(run.Exit, 0);
    EXPECT_EQ(run.Err, "seed: 1234\n");

    TRandomSource random;
    TRandomGenerator generator(random, 1234);
    generator.SetPosition(rbRules, 5);
    generator.SetPosition(rbDraw, 12);
    ASSERT_FALSE(generator.Go());
    EXPECT_EQ(run.Out, Joined(generator.Memo, "\n"));

    EXPECT_EQ(RunCli({"random", "--seed", "1234", "--bar", "rules=5", "--bar", "draw=12"}).Out, run.Out);
    EXPECT_NE(RunCli({"random", "--seed", "1235", "--bar", "rules=5", "--bar", "draw=12"}).Out, run.Out);
}

TEST(CliRandom, WritesAFileWithCrLfAndTakesLocks)
{
    const std::string file = TempFile("random");
    const TCliRun run = RunCli(
        {"random", "--seed", "7", "--lock", "iterations=3", "--lock", "axiom=F[+A]", "--lock", "rules=4", "-o", file});
    EXPECT_EQ(run.Exit, 0);
    EXPECT_EQ(run.Out, "");
    const std::string text = ReadWholeFile(file);
    std::filesystem::remove(file);
    const TLines lines = SplitLines(text);
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[0], "3");
    EXPECT_EQ(lines[3], "F[+A]");
    EXPECT_EQ(text, Joined(lines, "\r\n"));
}

TEST(CliRandom, DefaultSeedIsTheTimeOfDay)
{
    const TCliRun run = RunCli({"random"});
    EXPECT_EQ(run.Exit, 0);
    ASSERT_EQ(run.Err.rfind("seed: ", 0), 0u);
    EXPECT_LT(std::stoul(run.Err.substr(6)), 86'400'000ul);
    std::string errorText;
    EXPECT_TRUE(ValidateDefinition(SplitLines(run.Out), errorText)) << errorText;
}

TEST(CliRandom, BadBarsAndLocksAreUsageErrors)
{
    const struct {
        const char* Args;
        const char* Message;
    } cases[] = {
        {"--bar rules=19", "Bar 'rules' takes a whole number from 0 thru 18, not '19'\n"},
        {"--bar draw=1", "Bar 'draw' takes a whole number from 2 thru 12, not '1'\n"},
        {"--bar polys=x", "Bar 'polys' takes a whole number from 1 thru 10, not 'x'\n"},
        {"--bar radiation=3", "Unknown bar 'radiation'; bars: rules, rulelength, interaction, draw, move, orient, "
                              "color, branch, polys\n"},
        {"--bar rules", "--bar expects NAME=VALUE, not 'rules'\n"},
        {"--lock rules=13", "13 is not acceptable\nValid entries are 2 thru 12\n"},
        {"--lock angle=abc", "abc is not acceptable\nValid entries are 1 thru 90\n"},
        {"--lock seed=3", "Unknown lock 'seed'; locks: iterations, angle, thickness, rules, axiom\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Args);
        const TCliRun run = RunCli(Words(std::string("random --seed 1 ") + c.Args));
        EXPECT_EQ(run.Exit, 1);
        EXPECT_EQ(run.Err, c.Message);
        EXPECT_EQ(run.Out, "");
    }
}

TEST(CliRandom, ALockedAxiomThatBreaksTheTextIsReported)
{
    const TCliRun run = RunCli({"random", "--seed", "1", "--lock", "axiom="});
    EXPECT_EQ(run.Exit, 2);
    EXPECT_EQ(run.Err, "seed: 1\nPlease Check Input Data\nBlank Line in File\n");
    EXPECT_NE(run.Out, "") << "the composed text is still written";
}

TEST(CliMutate, ReportsTheChangedKindsOfEachMutate)
{
    const TCliRun run = RunCli({"mutate", Sample("tree.vd"), "--seed", "5", "--times", "2", "--bar", "radiation=10"});
    EXPECT_EQ(run.Exit, 0);
    EXPECT_EQ(run.Err, "seed: 5\n"
                       "changed: recursion,angle,thickness,deletions,additions,substitutions\n"
                       "changed: recursion,angle,thickness,deletions,additions,substitutions\n");
    const TLines original = ReadLinesFromFile(Sample("tree.vd"));
    const TLines mutated = SplitLines(run.Out);
    ASSERT_EQ(mutated.size(), original.size());
    EXPECT_EQ(mutated[0], original[0]) << "comment lines stay";
    EXPECT_EQ(RunCli({"mutate", Sample("tree.vd"), "--seed", "5", "--times", "2", "--bar", "radiation=10"}).Out,
              run.Out);

    const TCliRun quiet = RunCli({"mutate", Sample("tree.vd"), "--seed", "5"});
    EXPECT_EQ(quiet.Exit, 0);
    EXPECT_EQ(quiet.Err.substr(0, 17), "seed: 5\nchanged: ");
}

TEST(CliMutate, WritesAFileWithCrLf)
{
    const std::string file = TempFile("mutate");
    const TCliRun run = RunCli({"mutate", Sample("koch.vd"), "--seed", "3", "--bar", "radiation=9", "-o", file});
    EXPECT_EQ(run.Exit, 0);
    EXPECT_EQ(run.Out, "");
    const std::string text = ReadWholeFile(file);
    std::filesystem::remove(file);
    EXPECT_EQ(text, Joined(SplitLines(text), "\r\n"));
    std::string errorText;
    EXPECT_TRUE(ValidateDefinition(SplitLines(text), errorText)) << errorText;
}

TEST(CliMutate, FailuresHaveTheirExitStatuses)
{
    const TCliRun invalid = RunCli({"mutate", Fixture("invalid.vd"), "--seed", "1"});
    EXPECT_EQ(invalid.Exit, 2);
    EXPECT_EQ(invalid.Err, "seed: 1\nPlease Check Input Data\nError Reading Thickness Value\n");
    EXPECT_EQ(invalid.Out, "");

    const TCliRun missing = RunCli({"mutate", Fixture("no_such_file.vd")});
    EXPECT_EQ(missing.Exit, 1);
    EXPECT_NE(missing.Err.find("no_such_file.vd"), std::string::npos);

    const TCliRun badBar = RunCli({"mutate", Sample("tree.vd"), "--bar", "recursion=6"});
    EXPECT_EQ(badBar.Exit, 1);
    EXPECT_EQ(badBar.Err, "Bar 'recursion' takes a whole number from 0 thru 5, not '6'\n");
    EXPECT_EQ(RunCli({"mutate", Sample("tree.vd"), "--times", "0"}).Exit, 1);
    EXPECT_EQ(RunCli({"mutate"}).Exit, 1);
}
