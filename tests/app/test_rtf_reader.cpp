#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "app/rtf_reader.h"
#include "support/files.h"

using namespace verdel;

namespace {

struct TTextCase {
    std::string Name;
    std::string Rtf;
    std::string Text;
};

std::string TextOf(const std::string& Rtf) { return PlainText(ReadRichText(Rtf)); }

const TRichParagraph& ParagraphOf(const TRichDocument& Document, size_t Index)
{
    static const TRichParagraph missing;
    return Index < Document.Paragraphs.size() ? Document.Paragraphs[Index] : missing;
}

} // namespace

TEST(ReadRichText, ReadsRunsWithTheirFontsColoursAndStyles)
{
    const TRichDocument document =
        ReadRichText(R"({\rtf1\ansi\deff0{\fonttbl{\f0\fswiss Arial;}{\f1\fmodern Courier New;}})"
                     R"({\colortbl;\red255\green0\blue0;\red0\green128\blue0;})"
                     R"(\pard\qc\b\fs32 Title\b0\par)"
                     R"(\pard\fs20 Plain {\i italic} \cf1 red\cf0  \ul under\ulnone  {\f1 code}\par})");
    ASSERT_EQ(document.Paragraphs.size(), 2u);

    const TRichParagraph& title = document.Paragraphs[0];
    EXPECT_EQ(title.Align, paCenter);
    ASSERT_EQ(title.Runs.size(), 1u);
    EXPECT_EQ(title.Runs[0].Text, "Title");
    EXPECT_TRUE(title.Runs[0].Bold);
    EXPECT_EQ(title.Runs[0].FontSize, 16.0);
    EXPECT_EQ(document.FontName(title.Runs[0]), "Arial");

    const TRichParagraph& body = document.Paragraphs[1];
    EXPECT_EQ(body.Align, paLeft);
    ASSERT_EQ(body.Runs.size(), 8u);
    const std::vector<std::string> texts = {"Plain ", "italic", " ", "red", " ", "under", " ", "code"};
    for (size_t i = 0; i < texts.size(); ++i) {
        SCOPED_TRACE(texts[i]);
        const TRichRun& run = body.Runs[i];
        EXPECT_EQ(run.Text, texts[i]);
        EXPECT_FALSE(run.Bold);
        EXPECT_EQ(run.FontSize, 10.0);
        EXPECT_EQ(run.Italic, i == 1);
        EXPECT_EQ(run.Underline, i == 5);
        EXPECT_EQ(document.FontName(run), i == 7 ? "Courier New" : "Arial");
        if (i == 3) {
            EXPECT_EQ(run.Color, (TRichColor{255, 0, 0}));
        } else {
            EXPECT_FALSE(run.Color.has_value()); // \cf0 is the table's automatic entry
        }
    }
    // Sizes in half points, up to the largest word processors offer; 0 is the default size.
    const TRichParagraph sizes = ParagraphOf(ReadRichText(R"({\rtf1\fs9999 a\fs1 b\fs0 c})"), 0);
    ASSERT_EQ(sizes.Runs.size(), 3u);
    EXPECT_EQ(std::vector<double>({sizes.Runs[0].FontSize, sizes.Runs[1].FontSize, sizes.Runs[2].FontSize}),
              std::vector<double>({1638, 0.5, 12}));
}

// Escapes, skipped destinations and malformed input, as plain text: the table
// tests/data/rich_texts.txt, and here the cases with bytes a table cannot show.
TEST(ReadRichText, ReadsTheTextOfEveryCase)
{
    std::vector<TTextCase> cases = {
        {"raw 8-bit byte", "{\\rtf1 caf\xe9}", "caf\u00e9"},
        {"non-breaking space and hyphen", R"({\rtf1 a\~b\_c})", "a\u00a0b\u2011c"},
        {"tab and line break", R"({\rtf1 a\tab b\line c})", "a\tb\nc"},
        {"line ends in the source are not text", "{\\rtf1 one\r\ntwo\n three}", "onetwo three"},
        {"backslash newline ends a paragraph", "{\\rtf1 one\\\ntwo}", "one\ntwo"},
        {"empty input", "", ""},
        {"very deep nesting", "{\\rtf1 " + std::string(100000, '{') + "deep" + std::string(100000, '}') + " end}",
         "deep end"},
    };
    for (std::string row : test::TableRows(VERDEL_FIXTURES "/rich_texts.txt")) {
        const std::string name = test::TakeField(row), rtf = test::TakeField(row);
        cases.push_back({name, rtf, row});
    }
    EXPECT_EQ(cases.size(), 7u + 32u);
    for (const TTextCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_NO_THROW(EXPECT_EQ(TextOf(c.Rtf), c.Text));
    }
}

TEST(ReadRichText, GroupsRestoreTheFormatOfTheEnclosingGroup)
{
    const TRichParagraph paragraph =
        ParagraphOf(ReadRichText(R"({\rtf1\fs20 a{\b\i\fs40 b{\plain c}d}e\plain f\b g\b0 h})"), 0);
    std::vector<std::string> runs; // text, bold and italic, size in points
    for (const TRichRun& run : paragraph.Runs)
        runs.push_back(run.Text + (run.Bold ? " b" : "") + (run.Italic ? " i" : "") + " " +
                       std::to_string(static_cast<int>(run.FontSize)));
    EXPECT_EQ(runs, (std::vector<std::string>{"a 10", "b b i 20", "c 12", "d b i 20", "e 10", "f 12", "g b 12", "h 12"}));
}

TEST(ReadRichText, ParagraphsTakeTheAlignmentInForceAtTheirEnd)
{
    const TRichDocument document =
        ReadRichText(R"({\rtf1{\qc centred\par}left\par\qr right\par\par\pard\qj justified\par\pard last})");
    const std::vector<std::pair<std::string, TParagraphAlign>> expected = {
        {"centred", paCenter}, {"left", paLeft},         {"right", paRight},
        {"", paRight},         {"justified", paJustify}, {"last", paLeft},
    };
    ASSERT_EQ(document.Paragraphs.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(PlainText({{document.Paragraphs[i]}}), expected[i].first);
        EXPECT_EQ(document.Paragraphs[i].Align, expected[i].second);
    }
    EXPECT_TRUE(document.Paragraphs[3].Runs.empty());
    // A final \par ends the last paragraph without adding an empty one.
    EXPECT_EQ(ReadRichText(R"({\rtf1 one\par two\par})").Paragraphs.size(), 2u);
}

TEST(ReadRichText, ResolvesFontsAndColoursThroughTheirTables)
{
    const TRichDocument document =
        ReadRichText(R"({\rtf1\deff1{\fonttbl{\f0 Times New Roman;}\f1\fnil Verdana;{\f2 Broken}})"
                     R"({\colortbl\red1\green2\blue3;;\red300\green-4\blue255;})"
                     R"(a\f0 b\f2 c\f7 d\plain e\cf1 f\cf2 g\cf9 h})");
    const TRichParagraph& paragraph = ParagraphOf(document, 0);
    ASSERT_EQ(paragraph.Runs.size(), 8u);
    const std::vector<std::string> fonts = {"Verdana", "Times New Roman", "Broken",  "",
                                            "Verdana", "Verdana",         "Verdana", "Verdana"};
    const std::vector<std::optional<TRichColor>> colours = {
        TRichColor{1, 2, 3}, TRichColor{1, 2, 3}, TRichColor{1, 2, 3},     TRichColor{1, 2, 3},
        TRichColor{1, 2, 3}, std::nullopt,        TRichColor{255, 0, 255}, std::nullopt};
    for (size_t i = 0; i < fonts.size(); ++i) {
        SCOPED_TRACE(paragraph.Runs[i].Text);
        EXPECT_EQ(document.FontName(paragraph.Runs[i]), fonts[i]);
        EXPECT_EQ(paragraph.Runs[i].Color, colours[i]);
    }
}

// The files shown by the program must read cleanly: no control word or font
// table may leak into the text, and each opens with its heading. Streams
// read alike, and a missing file is named.
TEST(ReadRichText, TheProgramsOwnFilesReadCleanly)
{
    const std::vector<std::pair<std::string, std::string>> files = {
        {VERDEL_DATA "/Verdel5.rtf", "Welcome to Verdel"},
        {VERDEL_DATA "/VdHelp01.rtf", "Quick Reference"},
    };
    for (const auto& [file, heading] : files) {
        SCOPED_TRACE(file);
        const TRichDocument document = ReadRichTextFile(file);
        ASSERT_GT(document.Paragraphs.size(), 10u);
        const std::string text = PlainText(document);
        EXPECT_EQ(text.find('\\'), std::string::npos);
        for (const TRichParagraph& paragraph : document.Paragraphs) {
            for (const TRichRun& run : paragraph.Runs) EXPECT_FALSE(document.FontName(run).empty()) << run.Text;
        }
        EXPECT_EQ(PlainText({{document.Paragraphs[0]}}), heading);
        EXPECT_TRUE(document.Paragraphs[0].Runs[0].Bold);
    }
    std::istringstream in(R"({\rtf1 from a stream})");
    EXPECT_EQ(PlainText(ReadRichText(in)), "from a stream");
    try {
        ReadRichTextFile("/no/such/folder/Missing.rtf");
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("/no/such/folder/Missing.rtf"), std::string::npos);
    }
}

// Once the reader copied the font name for every character: a 1.2 MB file
// with a 600,000-character font name took many seconds. Runs now refer to
// the document's fonts by index, each name stored once; two table entries
// with one name are one font, and their runs merge.
TEST(ReadRichText, RegressionFontNamesAreStoredOnce)
{
    const std::string name(600'000, 'N'), text(600'000, 'x');
    std::string rtf = "{\\rtf1{\\fonttbl{\\f0 " + name + ";}{\\f2 B;}{\\f3 B;}}\\f0 " + text;
    const int pairs = 20'000;
    for (int i = 0; i < pairs; ++i) rtf += "\\f0 a\\f2 b\\f3 c";
    const TRichDocument document = ReadRichText(rtf + "}");
    ASSERT_EQ(document.Paragraphs.size(), 1u);
    const std::vector<TRichRun>& runs = document.Paragraphs[0].Runs;
    ASSERT_EQ(runs.size(), 2u * pairs);
    EXPECT_EQ(document.Fonts.size(), 2u);
    EXPECT_EQ(runs[0].Text, text + "a");
    for (size_t i = 1; i < runs.size(); i += 997) {
        SCOPED_TRACE(i);
        EXPECT_EQ(runs[i].Text, i % 2 == 0 ? "a" : "bc");
        EXPECT_EQ(document.FontName(runs[i]), i % 2 == 0 ? name : "B");
    }
}
