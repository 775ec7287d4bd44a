#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "support/run_cli.h"

using namespace verdel::test;

namespace {

std::string Temp(const std::string& name)
{
    static const TTempFolder folder("render-cli");
    return folder / name;
}

} // namespace

TEST(CliRender, WritesPicturesOfTheRequestedSizeInEveryMode)
{
    const struct {
        const char* args;
        const char* file;
        size_t size; // 0: a JPEG or PNG, only checked for its signature
    } cases[] = {
        {"--mode wireframe --size 64x48", "w.bmp", 54 + 64 * 3 * 48},
        {"--size 33x20 --back 102030", "s.bmp", 54 + 100 * 20}, // rows of 99 bytes padded to 100
        {"--size 33x20 --antialias 3", "a.bmp", 54 + 100 * 20},
        {"--mode texture --size 40x30 --turn=-90,0,0", "t.jpg", 0},
        {"--mode texture --size 40x30 --antialias 2", "t.png", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const std::string out = Temp(c.file);
        const TCliRun run = RunCli(Concat({"render", Sample("fern.vd"), "-o", out, "--yes"}, Words(c.args)));
        EXPECT_EQ(run.Exit, 0) << run.Err;
        const std::string bytes = ReadWholeFile(out);
        if (c.size) EXPECT_EQ(bytes.size(), c.size);
        else EXPECT_EQ(bytes.substr(0, 2), std::string(c.file).ends_with(".png") ? "\x89P" : "\xFF\xD8");
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

// Once a folder in place of a file gave the stream's message without the
// file's name, and a corrupt texture exited 1 instead of 6.
TEST(CliRender, RegressionFoldersAndCorruptTexturesAreNamed)
{
    namespace fs = std::filesystem;
    const std::string out = Temp("y.bmp");
    const fs::path textures = Temp("textures");
    fs::remove_all(textures);
    fs::copy(fs::path(VERDEL_DATA) / "textures", textures);
    const std::vector<std::string> textured = {"render",     Sample("fern.vd"), "-o",   out, "--mode", "texture",
                                               "--textures", textures.string(), "--yes"};

    const fs::path folderVd = Temp("folder.vd"), folderDxf = Temp("folder.dxf");
    fs::create_directories(folderVd);
    fs::create_directories(folderDxf);
    EXPECT_EQ(RunCli({"render", folderVd.string(), "-o", out}).Err, folderVd.string() + ": Is a directory\n");
    EXPECT_EQ(RunCli({"render", folderDxf.string(), "-o", out}).Err, folderDxf.string() + ": Is a directory\n");
    EXPECT_EQ(RunCli({"render", folderVd.string(), "-o", out}).Exit, 1);

    // A texture that is a folder cannot be read: a file error.
    const fs::path third = textures / "Text03.jpg";
    fs::rename(third, Temp("Text03.jpg"));
    fs::create_directories(third);
    TCliRun run = RunCli(textured);
    EXPECT_EQ(run.Exit, 1) << run.Err;
    EXPECT_EQ(run.Err, third.string() + ": the file cannot be opened (Is a directory)\n");

    // A texture cut short is read but its content is refused: a rejected input file.
    fs::remove(third);
    const std::string bytes = ReadWholeFile(Temp("Text03.jpg"));
    std::ofstream(third, std::ios::binary) << bytes.substr(0, bytes.size() / 2);
    run = RunCli(textured);
    EXPECT_EQ(run.Exit, 6) << run.Err;
    EXPECT_EQ(run.Err.rfind(third.string() + ": ", 0), 0u) << run.Err;

    for (const fs::path& path : {fs::path(out), textures, folderVd, folderDxf, fs::path(Temp("Text03.jpg"))})
        fs::remove_all(path);
}

TEST(CliRender, RendersADxfFileAtEverySizeUpToTheTallest)
{
    const std::string out = Temp("outline.bmp");
    // Header, then rows of 3 bytes a pixel padded to a multiple of 4.
    const struct {
        const char* size;
        size_t bytes;
    } cases[] = {{"20x20", 54u + 60 * 20}, {"21x769", 54u + 64 * 769}, {"7x4096", 54u + 24 * 4096}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        const TCliRun run = RunCli({"render", std::string(VERDEL_DATA) + "/outline.dxf", "-o", out, "--size", c.size});
        EXPECT_EQ(run.Exit, 0) << run.Err;
        EXPECT_EQ(ReadWholeFile(out).size(), c.bytes);
    }
    std::remove(out.c_str());
}
