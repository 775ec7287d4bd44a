// render --fit: every bundled model, turned or not and in each mode, fills the picture to its margin.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <unistd.h>

#include "support/run_cli.h"

using namespace verdel::test;
namespace fs = std::filesystem;

namespace {

// Where a 24-bit BMP differs from its top left pixel (the background).
struct TDrawn {
    int Width = 0, Height = 0;
    int Left = 0, Top = 0, Right = -1, Bottom = -1; // rows counted from the top
};

TDrawn DrawnBox(const std::string& bytes)
{
    TDrawn box;
    if (bytes.size() < 54) return box;
    const auto word = [&](size_t at) {
        return static_cast<int32_t>(static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8 |
                                    static_cast<uint8_t>(bytes[at + 2]) << 16 |
                                    static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 3])) << 24);
    };
    const size_t data = static_cast<size_t>(word(10)), stride = (static_cast<size_t>(word(18)) * 3 + 3) / 4 * 4;
    box.Width = word(18);
    box.Height = word(22);
    const auto pixel = [&](int x, int y) { // bottom-up rows
        return bytes.substr(data + static_cast<size_t>(box.Height - 1 - y) * stride + static_cast<size_t>(x) * 3, 3);
    };
    const std::string back = pixel(0, 0);
    box.Left = box.Width;
    box.Top = box.Height;
    for (int y = 0; y < box.Height; ++y)
        for (int x = 0; x < box.Width; ++x)
            if (pixel(x, y) != back) {
                box.Left = std::min(box.Left, x);
                box.Right = std::max(box.Right, x);
                box.Top = std::min(box.Top, y);
                box.Bottom = std::max(box.Bottom, y);
            }
    return box;
}

} // namespace

TEST(CliRenderFit, EveryBundledModelReachesTheMarginAndStaysInside)
{
    // At 240 x 160 the margin is a thirtieth of the smaller side: 5 pixels; rasterising may cross it by a pixel.
    constexpr int Margin = 5, Slack = 2;
    const char* const modes[] = {"solid", "wireframe", "texture"};
    // Turned off the axes, so that no flat model is seen edge-on.
    const char* const turns[] = {"-70,0,10", "20,35,0", "-35,-20,0"};
    std::vector<fs::path> samples;
    for (const auto& entry : fs::recursive_directory_iterator(Sample("")))
        if (entry.path().extension() == ".vd") samples.push_back(entry.path());
    std::sort(samples.begin(), samples.end());
    ASSERT_GE(samples.size(), 30u);
    const std::string picture = (fs::temp_directory_path() / ("verdel-fit-" + std::to_string(getpid()) + ".bmp")).string();
    for (size_t i = 0; i < samples.size(); ++i) {
        const std::string mode = modes[i % 3], turn = turns[i / 3 % 3];
        SCOPED_TRACE(samples[i].filename().string() + " --mode " + mode + " --turn=" + turn);
        const TCliRun run = RunCli({"render", samples[i].string(), "-o", picture, "--fit", "--yes", "--size", "240x160",
                                    "--mode", mode, "--turn=" + turn, "--back", "203040", "--cones", "--wblocks", "--pyramids"});
        ASSERT_EQ(run.Exit, 0) << run.Err;
        const TDrawn box = DrawnBox(ReadWholeFile(picture));
        ASSERT_EQ(box.Width, 240);
        if (samples[i].stem() == "parametric_1_10") continue; // its modules draw nothing
        ASSERT_LE(box.Left, box.Right) << "nothing drawn";
        const int gaps[] = {box.Left, box.Top, box.Width - 1 - box.Right, box.Height - 1 - box.Bottom};
        EXPECT_GE(*std::min_element(std::begin(gaps), std::end(gaps)), Margin - Slack) << "the model leaves the margin";
        EXPECT_LE(*std::min_element(std::begin(gaps), std::end(gaps)), Margin + Slack) << "the model falls short";
    }
    fs::remove(picture);
}
