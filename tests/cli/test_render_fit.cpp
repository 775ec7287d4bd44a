// render --fit: every bundled model, turned or not and in each mode, fills the picture to its margin.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>

#include "support/run_cli.h"

using namespace verdel::test;
namespace fs = std::filesystem;

namespace {

// The gaps between the edges of a 24-bit BMP (left, top, right, bottom) and
// the pixels that differ from its top left one, the background; its width
// first. Only the width when every pixel is the background.
std::vector<int> WidthAndGaps(const std::string& bytes)
{
    if (bytes.size() < 54) return {};
    const auto word = [&](size_t at) {
        return static_cast<int>(static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8);
    };
    const int width = word(18), height = word(22);
    const size_t data = static_cast<size_t>(word(10)), stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    const auto pixel = [&](int x, int y) { // bottom-up rows
        return bytes.compare(data + static_cast<size_t>(height - 1 - y) * stride + static_cast<size_t>(x) * 3, 3, bytes,
                             data + static_cast<size_t>(height - 1) * stride, 3);
    };
    int left = width, top = height, right = -1, bottom = -1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (pixel(x, y) != 0)
                left = std::min(left, x), right = std::max(right, x), top = std::min(top, y),
                bottom = std::max(bottom, y);
    if (right < 0) return {width};
    return {width, left, top, width - 1 - right, height - 1 - bottom};
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
    const TTempFolder folder("render-fit");
    const std::string picture = folder / "fit.bmp";
    for (size_t i = 0; i < samples.size(); ++i) {
        const std::string mode = modes[i % 3], turn = turns[i / 3 % 3];
        SCOPED_TRACE(samples[i].filename().string() + " --mode " + mode + " --turn=" + turn);
        const TCliRun run =
            RunCli({"render", samples[i].string(), "-o", picture, "--fit", "--yes", "--size", "240x160", "--mode", mode,
                    "--turn=" + turn, "--back", "203040", "--cones", "--wblocks", "--pyramids"});
        ASSERT_EQ(run.Exit, 0) << run.Err;
        const std::vector<int> box = WidthAndGaps(ReadWholeFile(picture));
        ASSERT_FALSE(box.empty());
        ASSERT_EQ(box[0], 240);
        if (samples[i].stem() == "parametric_1_10") continue; // its modules draw nothing
        ASSERT_EQ(box.size(), 5u) << "nothing drawn";
        const int nearest = *std::min_element(box.begin() + 1, box.end());
        EXPECT_GE(nearest, Margin - Slack) << "the model leaves the margin";
        EXPECT_LE(nearest, Margin + Slack) << "the model falls short";
    }
}
