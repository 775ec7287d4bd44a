#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "engine/text_lines.h"
#include "formats/dxf_writer.h"
#include "support/turtle_run.h"

using namespace verdel;
using namespace verdel::test;

namespace {

TLines DxfLines(const TFaceStore& store)
{
    std::ostringstream out;
    WriteDXF(out, store);
    const std::string text = out.str();
    EXPECT_EQ(text.substr(text.size() - 5), "EOF\r\n");
    // Every line ends in CR LF: no bare LF anywhere.
    size_t bareLineFeeds = 0;
    for (size_t i = 0; i < text.size(); ++i) bareLineFeeds += text[i] == '\n' && (i == 0 || text[i - 1] != '\r');
    EXPECT_EQ(bareLineFeeds, 0u);
    return SplitLines(text);
}

} // namespace

TEST(FormatDXFNumber, TenDecimalsOrAPlainInteger)
{
    const std::vector<std::pair<double, const char*>> cases = {
        {0.5, "0.5000000000"},
        {-1.25, "-1.2500000000"},
        {0.1f, "0.1000000015"},
        {2.0, "2"},
        {-2.0, "-2"},
        {3.0, "3"},
        {0.0, "0"},
        {-0.0, "0"},
        {2.5, "2.5000000000"},
        {1e10, "10000000000"},
        {-3.5355339f, "-3.5355339050"},
        {1e-11, "0.0000000000"},
        {123456.75, "123456.7500000000"},
    };
    for (const auto& [value, text] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(FormatDXFNumber(value), text);
    }
}

TEST(WriteDXF, EmptyStoreHasHeaderLayersAndClosingLines)
{
    auto store = std::make_unique<TFaceStore>();
    const TLines lines = DxfLines(*store);
    ASSERT_EQ(lines.size(), 148u);
    const TLines header = {"999", "Verdel ", "999", "DXF File", "999", "Polyline Polyface Meshes",
                           "0",   "SECTION", "2",   "TABLES",   "0",   "TABLE",
                           "2",   "LAYER",   "70",  "6"};
    EXPECT_EQ(TLines(lines.begin(), lines.begin() + 16), header);
    const TLines layer12 = {"0", "LAYER", "2", "12", "70", "64", "62", "7", "6", "CONTINUOUS"};
    EXPECT_EQ(TLines(lines.begin() + 126, lines.begin() + 136), layer12);
    const TLines tail = {"0", "ENDTAB", "0", "ENDSEC", "0", "SECTION", "2", "ENTITIES", "0", "ENDSEC", "0", "EOF"};
    EXPECT_EQ(TLines(lines.begin() + 136, lines.end()), tail);
}

TEST(WriteDXF, BlockIsOnePolyfaceMesh)
{
    const TTurtleRun run = RunTurtle("c(3)F", "90", "10", Blocks());
    const TLines lines = DxfLines(*run.Store);
    ASSERT_EQ(lines.size(), 378u);
    const TLines polyline = {"0", "POLYLINE", "66", "1", "8", "3", "62", "3", "70", "64"};
    EXPECT_EQ(TLines(lines.begin() + 144, lines.begin() + 154), polyline);
    // Vertex 5 is vertex 1 moved to the segment's end: (3.5355339, 3.5355339, 100).
    const TLines vertex5 = {"0",  "VERTEX",       "8",  "3",   "10", "3.5355339050",
                            "20", "3.5355339050", "30", "100", "70", "192"};
    EXPECT_EQ(TLines(lines.begin() + 154 + 4 * 12, lines.begin() + 154 + 5 * 12), vertex5);
    // The first face (1, 5, 6, 2).
    const TLines face1 = {"0",  "VERTEX", "8",  "3", "10", "0", "20", "0", "30", "0",
                          "70", "128",    "71", "1", "72", "5", "73", "6", "74", "2"};
    EXPECT_EQ(TLines(lines.begin() + 250, lines.begin() + 270), face1);
    EXPECT_EQ(TLines(lines.begin() + 370, lines.begin() + 374), (TLines{"0", "SEQEND", "8", "3"}));
}

TEST(WriteDXF, LargePolygonsAreWrittenWhole)
{
    const TTurtleRun run = RunTurtle("{" + std::string(300, '.') + "}");
    const TLines lines = DxfLines(*run.Store);
    EXPECT_EQ(lines.size(), 144u + 10 + 301 * 12 + 299 * 20 + 4 + 4); // "{" records the first vertex
}

TEST(WriteDXFFile, OnlyTheDxfKindWritesAndErrorsNameTheFile)
{
    const TTurtleRun run = RunTurtle("F");
    const std::string name = ::testing::TempDir() + "verdel-kind.dxf";
    std::remove(name.c_str());
    WriteDXFFile(*run.Store, name, "DXF");
    EXPECT_FALSE(std::ifstream(name).good());
    WriteDXFFile(*run.Store, name, "dxf");
    EXPECT_TRUE(std::ifstream(name).good());
    std::remove(name.c_str());

    try {
        WriteDXFFile(*run.Store, "/no/such/folder/tree.dxf", "dxf");
        FAIL() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("/no/such/folder/tree.dxf"), std::string::npos);
    }
}

TEST(WriteDXF, RefusesCoordinatesThatAreNotNumbers)
{
    TTurtleRun run = RunTurtle("F");
    run.Store->Object(1).ModelFaces->Corners[0].X = std::nanf("");
    std::ostringstream out;
    EXPECT_THROW(WriteDXF(out, *run.Store), std::runtime_error);
}
