// The breed subcommand: the gallery's texts after a series of picks, and its contact sheet.
#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "generators/breeding.h"
#include "render/jpeg_image.h"
#include "support/run_cli.h"

using namespace verdel;
using namespace verdel::test;
namespace fs = std::filesystem;

namespace {

std::string Temp(const std::string& name)
{
    static const TTempFolder folder("breed-cli");
    return folder / name;
}

std::string CrLf(const TLines& lines)
{
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

} // namespace

TEST(CliBreed, WritesTheDefinitionTheGalleryShowsAfterThePicks)
{
    const TLines bush = ReadLinesFromFile(Sample("bush.vd"));
    const struct {
        uint32_t Seed;
        const char* Picks;
        std::vector<std::pair<TMutatorBar, int>> Bars;
        const char* BarArgs;
    } cases[] = {
        {4711, "3,1,8", {}, ""},
        {4711, "3, 1+5, 8", {{mbRadiation, 9}, {mbAdditions, 4}}, " --bar radiation=9 --bar additions=4"},
        {1, "", {{mbRadiation, 10}}, " --bar radiation=10"},
        {123456789,
         "8+1,8+2,7,2+6,4",
         {{mbRadiation, 7}, {mbSubstitutions, 5}},
         " --bar radiation=7 --bar substitutions=5"},
    };
    const std::string out = Temp("chosen.vd");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Picks);
        TMutatorBars bars = DefaultMutatorBars();
        for (const auto& [bar, value] : c.Bars) bars[bar] = value;
        TBreedingGallery gallery(bush, c.Seed, bars);
        const std::optional<std::vector<TPick>> picks = ParsePicks(c.Picks);
        ASSERT_TRUE(picks);
        for (const TPick& pick : *picks) ASSERT_TRUE(gallery.Pick(pick.Child, pick.Second));

        const TCliRun run =
            RunCli(Concat({"breed", Sample("bush.vd"), "--seed", std::to_string(c.Seed), "--picks", c.Picks, "-o", out},
                          Words(c.BarArgs)));
        ASSERT_EQ(run.Exit, 0) << run.Err;
        EXPECT_EQ(ReadWholeFile(out), CrLf(gallery.Current().Parent));
        EXPECT_EQ(run.Err, gallery.LineageText() + "\n");
    }
    fs::remove(out);
}

TEST(CliBreed, TheSheetHoldsNineThumbnailsInAGrid)
{
    const struct {
        const char* Size;
        int Width, Height;
    } cases[] = {{"", 3 * 202 + 2, 3 * 152 + 2}, {" --size 40x30", 3 * 42 + 2, 3 * 32 + 2}};
    const std::string sheet = Temp("sheet.jpg");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Size);
        const TCliRun run = RunCli(
            Concat(Concat({"breed", Sample("bush.vd"), "--seed", "5", "--picks", "2", "--sheet", sheet}, Words(c.Size)),
                   {"-o", "/dev/null"}));
        ASSERT_EQ(run.Exit, 0) << run.Err;
        const TRgbImage image = ReadJPEGFile(sheet);
        EXPECT_EQ(image.Width, c.Width);
        EXPECT_EQ(image.Height, c.Height);
    }
    fs::remove(sheet);
}

TEST(CliBreed, CellsThatCannotBeDrawnAreNamedWithTheirReason)
{
    const std::string sheet = Temp("refused.jpg");
    const TCliRun run = RunCli({"breed", Fixture("overflow.vd"), "--seed", "5", "--size", "20x20", "--sheet", sheet});
    EXPECT_EQ(run.Exit, 0);
    EXPECT_NE(run.Err.find("parent: Production String Exceeded Maximum Length\n"), std::string::npos) << run.Err;
    EXPECT_NE(run.Err.find("child 8: "), std::string::npos) << run.Err;
    EXPECT_TRUE(fs::exists(sheet));
    fs::remove(sheet);
}
