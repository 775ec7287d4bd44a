// What the batch tool makes that another path makes too: grow's frames and
// render's pictures, breed's definitions and the gallery's.
#include <gtest/gtest.h>

#include <gif_lib.h>

#include "engine/growth.h"
#include "generators/breeding.h"
#include "render/jpeg_image.h"
#include "support/run_cli.h"

using namespace verdel;
using namespace verdel::test;

// Each frame of grow is the picture render makes of the definition at that
// iteration value, the view placed as render places it; the GIF holds every frame.
TEST(CliGrow, FramesAreTheRendersOfTheirIterationValues)
{
    const TTempFolder folder("grow-cli");
    const std::vector<std::string> options = Words("--size 64x48 --yes --mode wireframe");
    WriteLinesToFile(folder / "half.vd", WithIterationValue(ReadLinesFromFile(Sample("tree.vd")), 2.5f));
    const struct {
        std::string Grow;
        std::string Definition; // what render draws
        const char* Frame;
        const char* Both; // options both commands take
    } cases[] = {
        {"--frames 3 --from 2 --gif " + folder / "frames.gif", Sample("tree.vd"), "frame0003.jpg", ""},
        {"--frames 1 --to 2.5", folder / "half.vd", "frame0001.jpg", ""},
        {"--frames 1 --format png", Sample("tree.vd"), "frame0001.png", "--antialias 3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Grow);
        const std::string frames = folder / std::to_string(&c - cases), picture = frames + "." + (c.Frame + 10);
        const TCliRun run = RunCli(
            Concat(Concat(Concat({"grow", Sample("tree.vd"), "-o", frames}, Words(c.Grow)), options), Words(c.Both)));
        ASSERT_EQ(run.Exit, 0) << run.Err;
        ASSERT_EQ(RunCli(Concat(Concat({"render", c.Definition, "-o", picture}, options), Words(c.Both))).Exit, 0);
        EXPECT_EQ(ReadWholeFile(frames + "/" + c.Frame), ReadWholeFile(picture));
    }
    const std::string first = folder / "0";
    EXPECT_NE(ReadWholeFile(first + "/frame0001.jpg"), ReadWholeFile(first + "/frame0003.jpg"));
    int error = 0;
    GifFileType* gif = DGifOpenFileName((folder / "frames.gif").c_str(), &error);
    ASSERT_TRUE(gif && DGifSlurp(gif) == GIF_OK);
    EXPECT_EQ(gif->ImageCount, 3);
    DGifCloseFile(gif, &error);
}

// breed writes the parent the gallery shows after the picks, says its lineage,
// and lays its contact sheet out at the thumbnail size asked for.
TEST(CliBreed, WritesTheDefinitionTheGalleryShowsAfterThePicks)
{
    const TTempFolder folder("breed-cli");
    const TLines bush = ReadLinesFromFile(Sample("bush.vd"));
    const struct {
        uint32_t Seed;
        const char* Picks;
        std::vector<std::pair<TMutatorBar, int>> Bars;
        const char* BarArgs;
    } cases[] = {
        {4711, "3, 1+5, 8", {{mbRadiation, 9}, {mbAdditions, 4}}, "--bar radiation=9 --bar additions=4"},
        {123456789,
         "8+1,8+2,7,2+6,4",
         {{mbRadiation, 7}, {mbSubstitutions, 5}},
         "--bar radiation=7 --bar substitutions=5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Picks);
        TMutatorBars bars = DefaultMutatorBars();
        for (const auto& [bar, value] : c.Bars) bars[bar] = value;
        TBreedingGallery gallery(bush, c.Seed, bars);
        const std::vector<TPick> picks = ParsePicks(c.Picks).value();
        for (const TPick& pick : picks) ASSERT_TRUE(gallery.Pick(pick.Child, pick.Second));
        const TCliRun run =
            RunCli(Concat({"breed", Sample("bush.vd"), "--seed", std::to_string(c.Seed), "--picks", c.Picks, "-o",
                           folder / "chosen.vd", "--sheet", folder / "sheet.jpg", "--size", "40x30"},
                          Words(c.BarArgs)));
        ASSERT_EQ(run.Exit, 0) << run.Err;
        std::string text;
        for (const std::string& line : gallery.Current().Parent) text += line + "\r\n";
        EXPECT_EQ(ReadWholeFile(folder / "chosen.vd"), text);
        EXPECT_EQ(run.Err, gallery.LineageText() + "\n");
        const TRgbImage sheet = ReadJPEGFile(folder / "sheet.jpg");
        EXPECT_EQ(sheet.Width, 3 * 42 + 2);
        EXPECT_EQ(sheet.Height, 3 * 32 + 2);
    }
}
