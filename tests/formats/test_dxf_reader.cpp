// The DXF reader: written models read back unchanged, one table of files it
// accepts and one of files it rejects with file, line and reason.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "formats/dxf_reader.h"
#include "formats/dxf_writer.h"
#include "support/models.h"

using namespace verdel;
using namespace verdel::test;

namespace {

std::string DxfText(const TFaceStore& store)
{
    std::ostringstream out;
    WriteDXF(out, store);
    return out.str();
}

void Read(const std::string& text, TFaceStore& store)
{
    std::istringstream in(text);
    ReadDXF(in, store, "test.dxf");
}

// An entities section around Body; a polyline of Layer around its records.
std::string Entities(const std::string& body) { return "0\nSECTION\n2\nENTITIES\n" + body + "0\nENDSEC\n0\nEOF\n"; }

std::string Polyline(const std::string& layer, const std::string& records)
{
    return "0\nPOLYLINE\n66\n1\n8\n" + layer + "\n62\n1\n70\n64\n" + records + "0\nSEQEND\n8\n1\n";
}

std::string OnePolyline(const std::string& layer, const std::string& records)
{
    return Entities(Polyline(layer, records));
}

std::string Vertex(const std::string& x, const std::string& y, const std::string& z, const std::string& kind = "192")
{
    return "0\nVERTEX\n8\n1\n10\n" + x + "\n20\n" + y + "\n30\n" + z + "\n70\n" + kind + "\n";
}

std::string Face(int a, int b, int c, int d)
{
    return "0\nVERTEX\n8\n1\n10\n0\n20\n0\n30\n0\n70\n128\n71\n" + std::to_string(a) + "\n72\n" + std::to_string(b) +
           "\n73\n" + std::to_string(c) + "\n74\n" + std::to_string(d) + "\n";
}

const std::string Triangle = Vertex("0", "0", "0") + Vertex("10", "0", "0") + Vertex("0", "10", "5") + Face(1, 2, 3, 3);

// A triangle whose first vertex is (X, Y, Z).
std::string Corner(const std::string& x, const std::string& y, const std::string& z = "0")
{
    return OnePolyline("1", Vertex(x, y, z) + Vertex("0", "1", "0") + Vertex("1", "0", "0") + Face(1, 2, 3, 3));
}

} // namespace

TEST(ReadDXF, WrittenModelsReadBackUnchanged)
{
    TSolidSettings solids;
    solids.QCones = solids.RPyramids = solids.WBlocks = true;
    const std::vector<std::pair<TLines, TSolidSettings>> cases = {
        // Tubes, blocks, cones and pyramids in 1.2 MB: lines cross the reader's refills of its 1 MB block.
        {{"5", "30", "12", "A", "A=F[&cQA]>>>[&cRA]>>>[&WA]", "@"}, solids},
        {{"1", "5", "10", "{X}", "X=" + std::string(150, 'f') + "+X", "@"}, {}}, // polygons of many vertices
        {{"1", "30", "12", "A", "A=F[&c(12)F]c(7)F", "@"}, {}},                     // every colour
    };
    for (const auto& [lines, settings] : cases) {
        SCOPED_TRACE(lines[4]);
        const auto store = GenerateStore(lines, settings);
        ASSERT_GT(store->ObjectCount, 0);
        auto read = std::make_unique<TFaceStore>();
        Read(DxfText(*store), *read);
        // Written again, the model read gives the same file: every corner, index, layer and colour.
        EXPECT_EQ(DxfText(*read), DxfText(*store));
        EXPECT_EQ(read->LayerUsed, store->LayerUsed);
        for (auto bound : {&TFaceStore::MinX, &TFaceStore::MinY, &TFaceStore::MinZ, &TFaceStore::MaxX,
                           &TFaceStore::MaxY, &TFaceStore::MaxZ})
            EXPECT_EQ((*read).*bound, (*store).*bound);
        for (int k = 1; k <= read->ObjectCount; ++k)
            for (const TFaceNode *f = read->Object(k).ModelFaces, *v = read->Object(k).ViewFaces; f; f = f->Next, v = v->Next) {
                for (int i = 0; i < 4; ++i) ASSERT_EQ(f->Corners[i], v->Corners[i]);
                EXPECT_EQ(v->FaceColor, read->Object(k).Color);
            }
    }
}

TEST(ReadDXF, AcceptedFiles)
{
    std::string crlf;
    for (const char c : OnePolyline("3", Triangle)) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const auto renamed = [](std::string text, const std::string& to) { return text.replace(text.find("POLYLINE"), 8, to); };
    const struct {
        const char* Name;
        std::string Text;
        int Objects, Layer, Vertices; // of the first object
        TVector First;                // its first corner
    } cases[] = {
        {"unknown groups and entities skipped",
         "999\nanything\n" + Entities("0\nLINE\n8\n1\n" + Polyline("3", Triangle)), 1, 3, 3, {0, 0, 0}},
        {"CR LF line ends", crlf, 1, 3, 3, {0, 0, 0}},
        {"a polyline without faces skipped", Entities(Polyline("2", Vertex("1", "1", "1")) + Polyline("4", Triangle)),
         1, 4, 3, {0, 0, 0}},
        {"keywords compare exactly", renamed(OnePolyline("2", Triangle), "polyline"), 0, 0, 0, {}},
        {"no trailing blanks", renamed(OnePolyline("2", Triangle), "POLYLINE "), 0, 0, 0, {}},
        // " 12.5" reads as 12.5 and "2x" as 2, but " 192" is not a vertex kind.
        {"numbers read leniently",
         OnePolyline("1", Vertex(" 12.5", "+1", "2x") + Vertex("0", "0", "0") + Vertex("0", "1", "0") +
                              Vertex("9", "9", "9", " 192") + Face(1, 2, 3, 3)),
         1, 1, 3, {12.5f, 1, 2}},
        {"the largest Single", Corner("3.4028234663852886e38", "-3.4e38"), 1, 1, 3, {3.4028234663852886e38f, -3.4e38f, 0}},
        {"too small: 0, and a subnormal", Corner("1e-999", "1e-40"), 1, 1, 3, {0, 1e-40f, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        auto store = std::make_unique<TFaceStore>();
        Read(c.Text, *store);
        ASSERT_EQ(store->ObjectCount, c.Objects);
        for (int layer = 1; layer <= LayerCount; ++layer) EXPECT_EQ(store->LayerUsed[layer], layer == c.Layer);
        if (c.Objects == 0) continue;
        EXPECT_EQ(store->Object(1).ColorIndex, c.Layer);
        EXPECT_EQ(store->Object(1).Color, LayerColors[c.Layer]);
        EXPECT_EQ(store->Object(1).VertexCount, c.Vertices);
        EXPECT_EQ(store->Object(1).ModelFaces->Corners[0], c.First);
    }
}

TEST(ReadDXF, RejectedFilesNameFileLineAndReasonAndLeaveTheStoreEmpty)
{
    const std::string good = OnePolyline("1", Triangle);
    const std::string longNan = "nan" + std::string(100, '0');
    // Line 20 holds the first vertex's x, 22 its y and 24 its z (4 lines of
    // section head, 10 of polyline head, then 0, VERTEX, 8, 1, 10, x, 20, y, 30, z).
    const std::pair<std::string, std::string> cases[] = {
        {"", "test.dxf, line 0: file ends before \"ENTITIES\""},
        {"0\nsection\n2\nentities\n", "test.dxf, line 4: file ends before \"ENTITIES\""},
        {good.substr(0, good.find("SEQEND")), "test.dxf, line 71: file ends inside a polyline"},
        {good.substr(0, good.find("VERTEX") + 20), "test.dxf, line 22: file ends inside a polyline"},
        {good.substr(0, good.find("ENDSEC")), "test.dxf, line 75: file ends before \"ENDSEC\""},
        {OnePolyline("0", Triangle), "test.dxf, line 10: layer 0 outside 1..12"},
        {OnePolyline("13", Triangle), "test.dxf, line 10: layer 13 outside 1..12"},
        {OnePolyline("1", Face(1, 1, 1, 1) + Triangle), "test.dxf, line 26: face record before any vertex record"},
        {OnePolyline("1", Triangle + Face(1, 2, 40, 3)), "test.dxf, line 84: corner index 40 outside 1..3"},
        {OnePolyline("1", Triangle + Face(0, 1, 2, 3)), "test.dxf, line 84: corner index 0 outside 1..3"},
        // Once "nan", "inf" and "1e999" were read (the last as 0) and 1e300 was cast to a Single beyond its range.
        {Corner("nan", "0"), "test.dxf, line 20: coordinate \"nan\" is not a finite number"},
        {Corner("0", "-nan"), "test.dxf, line 22: coordinate \"-nan\" is not a finite number"},
        {Corner("inf", "0"), "test.dxf, line 20: coordinate \"inf\" is not a finite number"},
        {Corner("0", " -Infinity"), "test.dxf, line 22: coordinate \" -Infinity\" is not a finite number"},
        {Corner("1e999", "0"), "test.dxf, line 20: coordinate \"1e999\" outside the range of single precision"},
        {Corner("1e300", "0"), "test.dxf, line 20: coordinate \"1e300\" outside the range of single precision"},
        {Corner("0", "-3.5e38"), "test.dxf, line 22: coordinate \"-3.5e38\" outside the range of single precision"},
        {Corner("3.402823466385289e38", "0"),
         "test.dxf, line 20: coordinate \"3.402823466385289e38\" outside the range of single precision"},
        // A long line is cut short in the message.
        {Corner("0", "0", longNan),
         "test.dxf, line 24: coordinate \"" + longNan.substr(0, 40) + "...\" is not a finite number"},
    };
    for (const auto& [text, reason] : cases) {
        SCOPED_TRACE(reason);
        auto store = std::make_unique<TFaceStore>();
        Read(good, *store);
        ASSERT_EQ(store->ObjectCount, 1);
        try {
            Read(text, *store);
            ADD_FAILURE() << "accepted";
        } catch (const EDXFError& error) {
            EXPECT_EQ(std::string(error.what()), reason);
        }
        EXPECT_EQ(store->ObjectCount, 0);
        EXPECT_FALSE(store->LayerUsed[1]);
    }
    // A file that cannot be opened or read is named, and is not a rejected one.
    const std::string folder = ::testing::TempDir() + "verdel-folder-" + std::to_string(getpid()) + ".dxf";
    std::filesystem::create_directories(folder);
    for (const auto& [file, message] : {std::pair{folder, folder + ": Is a directory"},
                                        {std::string("/no/such/tree.dxf"), std::string("/no/such/tree.dxf: No such file or directory")}}) {
        auto store = std::make_unique<TFaceStore>();
        try {
            ReadDXFFile(*store, file);
            ADD_FAILURE() << "no error";
        } catch (const EDXFError&) {
            ADD_FAILURE() << "an unreadable file is not a rejected one";
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(std::string(error.what()), message);
        }
    }
    std::filesystem::remove(folder);
}
