#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "engine/generation.h"
#include "formats/dxf_reader.h"
#include "formats/dxf_writer.h"
#include "support/scripted_prompt.h"
#include "support/turtle_run.h"

using namespace verdel;
using namespace verdel::test;

namespace {

std::string DxfText(const TFaceStore& store)
{
    std::ostringstream out;
    WriteDXF(out, store);
    return out.str();
}

std::unique_ptr<TFaceStore> Read(const std::string& text)
{
    auto store = std::make_unique<TFaceStore>();
    std::istringstream in(text);
    ReadDXF(in, *store, "test.dxf");
    return store;
}

// An entities section around Body, and a polyline of the given layer around its records.
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

std::string RejectionOf(const std::string& text)
{
    auto store = std::make_unique<TFaceStore>();
    std::istringstream in(text);
    try {
        ReadDXF(in, *store, "test.dxf");
    } catch (const EDXFError& error) {
        EXPECT_EQ(store->ObjectCount, 0);
        return error.what();
    }
    return "accepted";
}

void ExpectSameModel(const TFaceStore& a, const TFaceStore& b)
{
    ASSERT_EQ(a.ObjectCount, b.ObjectCount);
    EXPECT_EQ(a.LayerUsed, b.LayerUsed);
    for (int k = 1; k <= a.ObjectCount; ++k) {
        SCOPED_TRACE(k);
        const TFaceObject& x = a.Object(k);
        const TFaceObject& y = b.Object(k);
        ASSERT_EQ(x.FaceCount, y.FaceCount);
        EXPECT_EQ(x.VertexCount, y.VertexCount);
        EXPECT_EQ(x.ColorIndex, y.ColorIndex);
        EXPECT_EQ(x.Color, y.Color);
        for (const TFaceNode *f = x.ModelFaces, *g = y.ModelFaces, *v = y.ViewFaces; f;
             f = f->Next, g = g->Next, v = v->Next) {
            for (int i = 0; i < 4; ++i) {
                ASSERT_EQ(f->Corners[i], g->Corners[i]);
                ASSERT_EQ(f->CornerIndex[i], g->CornerIndex[i]);
                ASSERT_EQ(g->Corners[i], v->Corners[i]);
            }
            EXPECT_EQ(g->FaceColor, y.Color);
        }
    }
    for (auto bound : {&TFaceStore::MinX, &TFaceStore::MinY, &TFaceStore::MinZ, &TFaceStore::MaxX, &TFaceStore::MaxY,
                       &TFaceStore::MaxZ})
        EXPECT_EQ(a.*bound, b.*bound);
}

} // namespace

TEST(ReadDXF, WrittenModelsReadBackUnchanged)
{
    struct TCase {
        const char* Name;
        TLines Lines;
        TSolidSettings Settings;
    };
    TSolidSettings solids;
    solids.QCones = solids.RPyramids = solids.WBlocks = true;
    const std::vector<TCase> cases = {
        {"tubes, blocks, cones, pyramids", {"3", "30", "12", "A", "A=F[&cQA]>>>[&cRA]>>>[&WA]", "@"}, solids},
        {"polygons of many vertices", {"1", "5", "10", "{X}", "X=" + std::string(150, 'f') + "+X", "@"}, {}},
        {"every colour", {"1", "30", "12", "A", "A=F[&c(12)F]c(7)F", "@"}, {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        auto store = std::make_unique<TFaceStore>();
        TDefinitionState state;
        TRandomSource random;
        TScriptedPrompt prompt;
        ASSERT_EQ(GenerateModel(c.Lines, c.Settings, prompt, state, *store, random).Status, TGenerationStatus::Done);
        ExpectSameModel(*store, *Read(DxfText(*store)));
    }
}

TEST(ReadDXF, AcceptsLineFeedsAndSkipsWhatItDoesNotKnow)
{
    const auto store = Read("999\nanything\n" + Entities("0\nLINE\n8\n1\n" + Polyline("3", Triangle)));
    ASSERT_EQ(store->ObjectCount, 1);
    EXPECT_EQ(store->Object(1).ColorIndex, 3);
    EXPECT_EQ(store->Object(1).Color, 0x00FF00u); // lime
    EXPECT_TRUE(store->LayerUsed[3]);
    EXPECT_EQ(store->Object(1).VertexCount, 3);
    EXPECT_EQ(store->MaxZ, 5.0f);

    std::string crlf;
    for (const char c : OnePolyline("3", Triangle)) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(Read(crlf)->ObjectCount, 1);
}

TEST(ReadDXF, KeywordsAreCompareExactlyAndNumbersLeniently)
{
    // Lower-case entities and keywords with trailing blanks are not keywords.
    std::string lower = OnePolyline("1", Triangle);
    lower.replace(lower.find("POLYLINE"), 8, "polyline");
    EXPECT_EQ(Read(lower)->ObjectCount, 0);
    std::string blank = OnePolyline("1", Triangle);
    blank.replace(blank.find("POLYLINE"), 8, "POLYLINE ");
    EXPECT_EQ(Read(blank)->ObjectCount, 0);

    // " 12.5" reads as 12.5, but " 192" is not a vertex kind.
    const auto padded =
        Read(OnePolyline("1", Vertex(" 12.5", "+1", "2x") + Vertex("0", "0", "0") + Vertex("0", "1", "0") +
                                  Vertex("9", "9", "9", " 192") + Face(1, 2, 3, 3)));
    ASSERT_EQ(padded->ObjectCount, 1);
    EXPECT_EQ(padded->Object(1).VertexCount, 3);
    EXPECT_EQ(padded->Object(1).ModelFaces->Corners[0], (TVector{12.5f, 1, 2}));
}

TEST(ReadDXF, PolylinesWithoutFacesAreSkipped)
{
    const auto store = Read(Entities(Polyline("2", Vertex("1", "1", "1")) + Polyline("4", Triangle)));
    ASSERT_EQ(store->ObjectCount, 1);
    EXPECT_EQ(store->Object(1).ColorIndex, 4);
    EXPECT_FALSE(store->LayerUsed[2]);
}

TEST(ReadDXF, RejectsBrokenFilesWithFileLineAndReason)
{
    const std::string good = OnePolyline("1", Triangle);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "test.dxf, line 0: file ends before \"ENTITIES\""},
        {"0\nsection\n2\nentities\n", "test.dxf, line 4: file ends before \"ENTITIES\""},
        {good.substr(0, good.find("SEQEND")), "file ends inside a polyline"},
        {good.substr(0, good.find("VERTEX") + 20), "file ends inside a polyline"},
        {good.substr(0, good.find("ENDSEC")), "file ends before \"ENDSEC\""},
        {OnePolyline("0", Triangle), "test.dxf, line 10: layer 0 outside 1..12"},
        {OnePolyline("13", Triangle), "layer 13 outside 1..12"},
        {OnePolyline("1", Face(1, 1, 1, 1) + Triangle), "test.dxf, line 26: face record before any vertex record"},
        {OnePolyline("1", Triangle + Face(1, 2, 40, 3)), "corner index 40 outside 1..3"},
        {OnePolyline("1", Triangle + Face(0, 1, 2, 3)), "corner index 0 outside 1..3"},
    };
    for (const auto& [text, reason] : cases) {
        SCOPED_TRACE(reason);
        EXPECT_NE(RejectionOf(text).find(reason), std::string::npos) << RejectionOf(text);
    }
    // The corner index is reported at its face record.
    const std::string badIndex = RejectionOf(OnePolyline("1", Triangle + Face(1, 2, 40, 3)));
    EXPECT_EQ(badIndex, "test.dxf, line 84: corner index 40 outside 1..3");
}

TEST(ReadDXF, RejectedFileLeavesTheStoreEmpty)
{
    const TTurtleRun run = RunTurtle("FF");
    std::string text = DxfText(*run.Store);
    text.resize(text.rfind("SEQEND"));
    auto store = std::make_unique<TFaceStore>();
    std::istringstream first(DxfText(*run.Store));
    ReadDXF(first, *store, "a.dxf");
    ASSERT_EQ(store->ObjectCount, 2);
    std::istringstream broken(text);
    EXPECT_THROW(ReadDXF(broken, *store, "b.dxf"), EDXFError);
    EXPECT_EQ(store->ObjectCount, 0);
    EXPECT_FALSE(store->LayerUsed[1]);
}

// Once "nan", "inf" and "1e999" were read (the last as 0) and 1e300 was cast
// to a Single beyond its range. Line 20 holds the first vertex's x, 22 its y
// and 24 its z (4 lines of section head, 10 of polyline head, then 0, VERTEX,
// 8, 1, 10, x, 20, y, 30, z).
TEST(ReadDXF, RegressionCoordinatesMustBeFiniteAndWithinSingleRange)
{
    const struct {
        const char* X;
        const char* Y;
        const char* Reason; // empty: accepted
    } cases[] = {
        {"nan", "0", "test.dxf, line 20: coordinate \"nan\" is not a finite number"},
        {"0", "-nan", "test.dxf, line 22: coordinate \"-nan\" is not a finite number"},
        {"inf", "0", "test.dxf, line 20: coordinate \"inf\" is not a finite number"},
        {"0", " -Infinity", "test.dxf, line 22: coordinate \" -Infinity\" is not a finite number"},
        {"1e999", "0", "test.dxf, line 20: coordinate \"1e999\" outside the range of single precision"},
        {"1e300", "0", "test.dxf, line 20: coordinate \"1e300\" outside the range of single precision"},
        {"0", "-3.5e38", "test.dxf, line 22: coordinate \"-3.5e38\" outside the range of single precision"},
        {"3.4e38", "-3.4e38", ""},
        {"1e-999", "1e-40", ""}, // too small: 0, and a subnormal Single
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.X) + " " + c.Y);
        const std::string text =
            OnePolyline("1", Vertex(c.X, c.Y, "0") + Vertex("0", "1", "0") + Vertex("1", "0", "0") + Face(1, 2, 3, 3));
        EXPECT_EQ(RejectionOf(text), *c.Reason ? c.Reason : "accepted");
    }
    // A long line is cut short in the message; the z coordinate has its own line.
    const std::string longLine = "nan" + std::string(100, '0');
    EXPECT_EQ(RejectionOf(OnePolyline("1", Vertex("0", "0", longLine) + Triangle)),
              "test.dxf, line 24: coordinate \"" + longLine.substr(0, 40) + "...\" is not a finite number");
}

TEST(ReadDXFFile, AFolderIsNamedNotRead)
{
    const std::string folder = ::testing::TempDir() + "verdel-folder.dxf";
    std::filesystem::create_directories(folder);
    auto store = std::make_unique<TFaceStore>();
    try {
        ReadDXFFile(*store, folder);
        FAIL() << "no error";
    } catch (const EDXFError&) {
        FAIL() << "an unreadable file is not a rejected one";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()), folder + ": Is a directory");
    }
    std::filesystem::remove(folder);
}

TEST(ReadDXFFile, MissingFileNamesTheFile)
{
    auto store = std::make_unique<TFaceStore>();
    try {
        ReadDXFFile(*store, "/no/such/tree.dxf");
        FAIL() << "no error";
    } catch (const EDXFError&) {
        FAIL() << "an unreadable file is not a rejected one";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()), "/no/such/tree.dxf: No such file or directory");
    }
}
