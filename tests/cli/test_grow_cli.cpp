// The grow subcommand: numbered frames, the view held for the whole sequence, the animated GIF.
#include <gtest/gtest.h>

#include <gif_lib.h>

#include <filesystem>
#include <map>
#include <unistd.h>

#include "engine/growth.h"
#include "support/run_cli.h"

using namespace verdel;
using namespace verdel::test;
namespace fs = std::filesystem;

namespace {

std::string Temp(const std::string& name)
{
    static const TTempFolder folder("grow-cli");
    return folder / name;
}

// The files of a folder by name, with their bytes.
std::map<std::string, std::string> Files(const std::string& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder))
        files[entry.path().filename().string()] = ReadWholeFile(entry.path().string());
    return files;
}

int GifFrames(const std::string& file)
{
    int error = 0;
    GifFileType* gif = DGifOpenFileName(file.c_str(), &error);
    if (!gif) return -1;
    const int frames = DGifSlurp(gif) == GIF_OK ? gif->ImageCount : -1;
    DGifCloseFile(gif, &error);
    return frames;
}

} // namespace

TEST(CliGrow, TwoRunsWriteTheSameNumberedFramesAndGif)
{
    const std::vector<std::string> options = Words("--frames 6 --size 160x120 --yes --turn=0,0,30");
    const std::string a = Temp("a"), b = Temp("b");
    const TCliRun first = RunCli(Concat({"grow", Sample("fractional.vd"), "-o", a, "--gif", a + ".gif"}, options));
    ASSERT_EQ(first.Exit, 0) << first.Err;
    const TCliRun second = RunCli(Concat({"grow", Sample("fractional.vd"), "-o", b, "--gif", b + ".gif"}, options));
    ASSERT_EQ(second.Exit, 0) << second.Err;

    const auto frames = Files(a);
    std::vector<std::string> names;
    for (const auto& [name, bytes] : frames) names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{"frame0001.jpg", "frame0002.jpg", "frame0003.jpg", "frame0004.jpg",
                                               "frame0005.jpg", "frame0006.jpg"}));
    EXPECT_EQ(frames, Files(b));
    EXPECT_NE(frames.at("frame0001.jpg"), frames.at("frame0006.jpg"));
    EXPECT_EQ(ReadWholeFile(a + ".gif"), ReadWholeFile(b + ".gif"));
    EXPECT_EQ(GifFrames(a + ".gif"), 6);
    for (const std::string& folder : {a, b}) {
        fs::remove_all(folder);
        fs::remove(folder + ".gif");
    }
}

TEST(CliGrow, TheFinalFrameIsTheRenderOfItsIterationValue)
{
    // The view is placed for the last frame as render places it, so the last
    // frame is the picture render makes of the definition at that value.
    const std::vector<std::string> options = Words("--size 64x48 --yes --mode wireframe");
    const std::string full = Temp("full"), half = Temp("half"), smooth = Temp("smooth");
    const std::string halfDefinition = Temp("tree-2.5.vd");
    WriteLinesToFile(halfDefinition, WithIterationValue(ReadLinesFromFile(Sample("tree.vd")), 2.5f));
    const struct {
        std::vector<std::string> Grow;
        std::string Definition;
        std::string Frame;
        std::vector<std::string> Picture; // as both commands take it
    } cases[] = {
        {{Sample("tree.vd"), "-o", full, "--frames", "3", "--from", "2"}, Sample("tree.vd"), full + "/frame0003.jpg", {}},
        {{Sample("tree.vd"), "-o", half, "--frames", "1", "--to", "2.5"}, halfDefinition, half + "/frame0001.jpg", {}},
        {{Sample("tree.vd"), "-o", smooth, "--frames", "1", "--format", "png"},
         Sample("tree.vd"),
         smooth + "/frame0001.png",
         {"--antialias", "3"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Joined(c.Grow));
        const TCliRun run = RunCli(Concat(Concat(Concat({"grow"}, c.Grow), options), c.Picture));
        ASSERT_EQ(run.Exit, 0) << run.Err;
        const std::string rendered = Temp("tree" + c.Frame.substr(c.Frame.size() - 4));
        ASSERT_EQ(RunCli(Concat(Concat({"render", c.Definition, "-o", rendered}, options), c.Picture)).Exit, 0);
        EXPECT_EQ(ReadWholeFile(c.Frame), ReadWholeFile(rendered));
        fs::remove(rendered);
    }
    EXPECT_NE(ReadWholeFile(full + "/frame0001.jpg"), ReadWholeFile(full + "/frame0003.jpg"));
    for (const std::string& path : {full, half, smooth, halfDefinition}) fs::remove_all(path);
}
