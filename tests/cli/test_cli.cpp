#include <gtest/gtest.h>

#include <filesystem>

#include "support/run_cli.h"

using namespace verdel::test;

TEST(CliProduce, PrintsTheProductionStringOnly)
{
    for (const char* file : {"lf.vd", "crlf.vd"}) {
        SCOPED_TRACE(file);
        const TCliRun run = RunCli({"produce", Fixture(file)});
        EXPECT_EQ(run.Exit, 0);
        EXPECT_EQ(run.Out, "F[+F][+F[+F]]\n");
        EXPECT_EQ(run.Err, "");
    }
}

TEST(CliProduce, DoesNotAskAboutOutputSize)
{
    const TCliRun large = RunCli({"produce", Fixture("large_output.vd")});
    EXPECT_EQ(large.Exit, 0);
    EXPECT_EQ(large.Out.size(), 4097u);
    EXPECT_EQ(RunCli({"stats", "--yes", Fixture("large_output.vd")}).Exit, 0);
}

TEST(CliStats, PrintsKeyValueLines)
{
    const TCliRun run = RunCli({"stats", Fixture("crlf.vd")});
    EXPECT_EQ(run.Exit, 0);
    EXPECT_NE(run.Out.find("iterations: 2\nproduction_length: 13\nobjects: 4\nfaces: 64\nlayers: 1\nmin: "),
              std::string::npos)
        << run.Out;
    EXPECT_NE(run.Out.find("\nmax: "), std::string::npos);

    const TCliRun blocks = RunCli({"stats", "--blocks", Fixture("lf.vd")});
    EXPECT_NE(blocks.Out.find("faces: 24\n"), std::string::npos) << blocks.Out;
}

TEST(CliStats, SolidSettingsEnableQWAndR)
{
    const std::string file = Sample("pyramids.vd");
    EXPECT_NE(RunCli({"stats", file}).Out.find("objects: 0\n"), std::string::npos);
    EXPECT_NE(RunCli({"stats", "--pyramids", file}).Out.find("objects: 160\n"), std::string::npos);
}

// A picture too large for 100 MB of address space: a message, not an abort.
TEST(CliRender, RunningOutOfMemoryIsReported)
{
#ifndef VERDEL_ADDRESS_SANITIZER // its shadow memory does not fit an address-space limit
    const std::string picture = std::filesystem::temp_directory_path() / "verdel-out-of-memory.bmp";
    const TCliRun memory = RunProgram({"/bin/sh", "-c", "ulimit -v 100000 && exec \"$0\" \"$@\"", VERDEL_CLI, "render",
                                       "--yes", Sample("tree.vd"), "-o", picture, "--size", "8192x4096"});
    EXPECT_EQ(memory.Exit, 7);
    EXPECT_NE(memory.Err.find("Out of memory"), std::string::npos) << memory.Err;
    std::filesystem::remove(picture);
#endif
}

TEST(CliStats, EveryBundledDefinitionGenerates)
{
    int definitions = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(std::string(VERDEL_DATA) + "/vdfiles")) {
        if (entry.path().extension() != ".vd") continue;
        SCOPED_TRACE(entry.path().filename().string());
        const TCliRun run = RunCli({"stats", "--yes", "--cones", "--wblocks", "--pyramids", entry.path().string()});
        EXPECT_EQ(run.Exit, 0) << run.Err;
        // The book's parametric derivation has no command: it shows its production and draws nothing.
        const bool draws = entry.path().filename() != "parametric_1_10.vd";
        EXPECT_EQ(run.Out.find("objects: 0\n") == std::string::npos, draws);
        ++definitions;
    }
    EXPECT_GE(definitions, 31);
}

// Every subcommand that reads a definition takes --define and --seed.
TEST(CliDefinitionOptions, DefineAndSeedReachEverySubcommand)
{
    const std::string tree = Sample("book/monopodial_2_6.vd");
    // The definition is refused before anything is written.
    for (const char* command : {"produce", "stats", "dxf -o x.dxf", "render -o x.bmp", "export -o x.obj",
                                "grow -o frames --frames 1"}) {
        SCOPED_TRACE(command);
        std::vector<std::string> words = Words(command);
        words.insert(words.begin() + 1, tree);
        words.insert(words.end(), {"--define", "r9=1", "--seed", "3"});
        const TCliRun run = RunCli(words);
        EXPECT_EQ(run.Exit, 1);
        EXPECT_EQ(run.Err, tree + ": the definition has no constant 'r9' (no line \"#define r9 ...\")\n");
    }
    const std::string plant = Sample("book/stochastic_1_27.vd");
    const std::string seed1 = RunCli({"produce", plant, "--seed", "1"}).Out;
    EXPECT_EQ(RunCli({"produce", plant, "--seed", "1"}).Out, seed1);
    EXPECT_NE(RunCli({"produce", plant, "--seed", "2"}).Out, seed1);
    EXPECT_NE(RunCli({"stats", tree, "--define", "r2=0.9"}).Out, RunCli({"stats", tree}).Out);
    EXPECT_EQ(RunCli({"produce", tree, "--define", "r2=2"}).Exit, 2); // outside its range [0.3, 1]
}

TEST(CliCommands, ListsTheCommandTableAndItsHtmlRows)
{
    const TCliRun text = RunCli({"commands"});
    EXPECT_EQ(text.Exit, 0);
    // A heading per family, then one line per command, indented under it.
    auto lineOf = [&](const std::string& command) {
        const size_t at = text.Out.find("\n  " + command + " ");
        return at == std::string::npos ? std::string() : text.Out.substr(at + 1, text.Out.find('\n', at + 1) - at - 1);
    };
    EXPECT_EQ(text.Out.rfind("Drawing\n  F ", 0), 0u);
    EXPECT_NE(text.Out.find("\nDefinition and special characters\n"), std::string::npos);
    const std::pair<const char*, const char*> rows[] = {
        {"t", "Tropism"},   {"?", "Thickness divided by 0.7"}, {"Q", "Draw a cone"},
        {"g", "no vertex"}, {".", "polygon vertex"},           {"#", "Comment line"},
    };
    for (const auto& [command, effect] : rows) EXPECT_NE(lineOf(command).find(effect), std::string::npos) << command;

    const TCliRun html = RunCli({"commands", "--html"});
    EXPECT_EQ(html.Exit, 0);
    EXPECT_EQ(html.Out.rfind("<tr><th>Command</th>", 0), 0u);
    EXPECT_NE(html.Out.find("<tr><td><tt>&amp;</tt></td><td>Pitch down</td><td>by x degrees</td></tr>"),
              std::string::npos);
}

TEST(CliVersion, PrintsTheProgramAndItsVersion)
{
    const TCliRun run = RunCli({"--version"});
    EXPECT_EQ(run.Exit, 0);
    EXPECT_EQ(run.Out, "verdel-cli " VERDEL_VERSION "\n");
}
