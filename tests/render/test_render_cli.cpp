// The render subcommand beyond the golden frames (BMP of every sample in
// every mode): JPEG, PNG, smooth edges, the background, DXF input, the
// tallest frame, and the files it cannot read.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/run_cli.h"

using namespace verdel::test;
namespace fs = std::filesystem;

TEST(CliRender, PicturesOfEveryKindAndSize)
{
    const TTempFolder folder("render-cli");
    const std::string dxf = std::string(VERDEL_DATA) + "/outline.dxf";
    const struct {
        std::string Input, Args, File;
        std::string Start; // the file's first bytes, from the 55th on for a BMP
        size_t Size;       // 0: any
    } cases[] = {
        {Sample("fern.vd"), "--mode texture --size 40x30", "t.jpg", "\xFF\xD8", 0},
        {Sample("fern.vd"), "--mode texture --size 40x30 --antialias 2", "t.png", "\x89PNG", 0},
        {Sample("fern.vd"), "--size 33x20 --antialias 3", "a.bmp", "", 54 + 100 * 20},
        // The corner pixel: orange RGB555 (31, 16, 0) widened, stored blue-green-red.
        {Sample("fern.vd"), "--size 4x4 --back FF8000 --turn 0,0,0", "b.bmp", std::string("\x00\x84\xFF", 3), 0},
        {dxf, "--size 21x769", "o.bmp", "", 54 + 64 * 769}, // rows padded to a multiple of 4 bytes
        {dxf, "--size 7x4096", "o.bmp", "", 54 + 24 * 4096},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Args);
        const std::string out = folder / c.File;
        const TCliRun run = RunCli(Concat({"render", c.Input, "-o", out, "--yes"}, Words(c.Args)));
        EXPECT_EQ(run.Exit, 0) << run.Err;
        const std::string bytes = ReadWholeFile(out);
        EXPECT_EQ(c.Size ? bytes.size() : 0, c.Size);
        EXPECT_EQ(bytes.substr(c.File.ends_with(".bmp") ? 54 : 0, c.Start.size()), c.Start);
    }
}

// Once a folder in place of a file gave the stream's message without the
// file's name, and a corrupt texture exited 1 instead of 6.
TEST(CliRender, RegressionFoldersAndCorruptTexturesAreNamed)
{
    const TTempFolder folder("render-cli");
    const std::string out = folder / "y.bmp", textures = folder / "textures", third = textures + "/Text03.jpg";
    fs::copy(fs::path(VERDEL_DATA) / "textures", textures);
    for (const std::string& name : {folder / "folder.vd", folder / "folder.dxf"}) {
        fs::create_directories(name);
        const TCliRun run = RunCli({"render", name, "-o", out});
        EXPECT_EQ(run.Exit, 1);
        EXPECT_EQ(run.Err, name + ": Is a directory\n");
    }
    const std::vector<std::string> textured = {"render", Sample("fern.vd"), "-o", out, "--mode", "texture",
                                               "--textures", textures, "--yes"};
    // A texture that is a folder cannot be read: a file error.
    const std::string bytes = ReadWholeFile(third);
    fs::remove(third);
    fs::create_directories(third);
    TCliRun run = RunCli(textured);
    EXPECT_EQ(run.Exit, 1) << run.Err;
    EXPECT_EQ(run.Err, third + ": the file cannot be opened (Is a directory)\n");
    // A texture cut short is read but its content is refused: a rejected input file.
    fs::remove(third);
    WriteWholeFile(third, bytes.substr(0, bytes.size() / 2));
    run = RunCli(textured);
    EXPECT_EQ(run.Exit, 6) << run.Err;
    EXPECT_EQ(run.Err.rfind(third + ": ", 0), 0u) << run.Err;
}
