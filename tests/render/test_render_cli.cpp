#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "support/run_cli.h"

using namespace verdel::test;

namespace {

std::string Temp(const std::string& name)
{
    return (std::filesystem::temp_directory_path() / ("verdel-render-cli-" + std::to_string(getpid()) + "-" + name))
        .string();
}

} // namespace

TEST(CliRender, WritesPicturesOfTheRequestedSizeInEveryMode)
{
    const struct {
        const char* args;
        const char* file;
        size_t size; // 0: a JPEG, only checked for its marker
    } cases[] = {
        {"--mode wireframe --size 64x48", "w.bmp", 54 + 64 * 3 * 48},
        {"--size 33x20 --back 102030", "s.bmp", 54 + 100 * 20}, // rows of 99 bytes padded to 100
        {"--mode texture --size 40x30 --turn=-90,0,0", "t.jpg", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const std::string out = Temp(c.file);
        const TCliRun run = RunCli(Concat({"render", Sample("fern.vd"), "-o", out, "--yes"}, Words(c.args)));
        EXPECT_EQ(run.Exit, 0) << run.Err;
        const std::string bytes = ReadWholeFile(out);
        if (c.size) EXPECT_EQ(bytes.size(), c.size);
        else EXPECT_EQ(bytes.substr(0, 2), "\xFF\xD8");
        std::remove(out.c_str());
    }
}

TEST(CliRender, TheBackgroundIsRRGGBB)
{
    const std::string out = Temp("back.bmp");
    const TCliRun run = RunCli(
        {"render", Sample("fern.vd"), "-o", out, "--yes", "--size", "4x4", "--back", "FF8000", "--turn", "0,0,0"});
    ASSERT_EQ(run.Exit, 0) << run.Err;
    const std::string bytes = ReadWholeFile(out);
    // The corner pixel: orange RGB555 (31, 16, 0) widened, stored blue-green-red.
    EXPECT_EQ(bytes.substr(54, 3), std::string("\x00\x84\xFF", 3));
    std::remove(out.c_str());
}

TEST(CliRender, ExitStatusesSayWhatWentWrong)
{
    const std::string out = Temp("x.bmp");
    const struct {
        std::vector<std::string> args;
        int exit;
        const char* message;
    } cases[] = {
        {{"render", Sample("fern.vd"), "-o", Temp("x.png"), "--yes"}, 1, ".bmp or .jpg"},
        {{"render", Sample("fern.vd"), "-o", out, "--size", "800x900", "--yes"}, 1, "--size"},
        {{"render", Sample("fern.vd"), "-o", out, "--size", "0x10", "--yes"}, 1, "--size"},
        {{"render", Sample("fern.vd"), "-o", out, "--back", "12345G", "--yes"}, 1, "--back"},
        {{"render", Sample("fern.vd"), "-o", out, "--turn", "1,2", "--yes"}, 1, "--turn"},
        {{"render", Sample("fern.vd"), "-o", out, "--mode", "shiny", "--yes"}, 1, ""},
        {{"render", Sample("fern.vd"), "-o", out, "--mode", "texture", "--textures", "/nonexistent", "--yes"},
         1,
         "Text01.jpg"},
        {{"render", "/nonexistent/tree.vd", "-o", out}, 1, "tree.vd"},
        {{"render", "/nonexistent/tree.dxf", "-o", out}, 1, "tree.dxf"},
        {{"render", Fixture("truncated_polyline.dxf"), "-o", out}, 6, "truncated_polyline.dxf"},
        {{"render", Fixture("invalid.vd"), "-o", out}, 2, ""},
        {{"render", Sample("fern.vd"), "-o", "/nonexistent/folder/x.bmp", "--yes"}, 5, "x.bmp"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.back());
        const TCliRun run = RunCli(c.args);
        EXPECT_EQ(run.Exit, c.exit) << run.Err;
        EXPECT_NE(run.Err.find(c.message), std::string::npos) << run.Err;
    }
    std::remove(out.c_str());
}

TEST(CliRender, RendersADxfFile)
{
    const std::string out = Temp("outline.bmp");
    const TCliRun run = RunCli({"render", std::string(VERDEL_DATA) + "/outline.dxf", "-o", out, "--size", "20x20"});
    EXPECT_EQ(run.Exit, 0) << run.Err;
    EXPECT_EQ(ReadWholeFile(out).size(), 54u + 60 * 20);
    std::remove(out.c_str());
}
