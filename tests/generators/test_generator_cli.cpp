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
    static const TTempFolder folder("generator-cli");
    return folder / (name + ".vd");
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
