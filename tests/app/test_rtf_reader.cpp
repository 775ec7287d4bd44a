#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

#include "app/rtf_reader.h"

using namespace verdel;

namespace {

struct TTextCase {
    const char* Name;
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
}

TEST(ReadRichText, TurnsEscapesAndSymbolWordsIntoUtf8)
{
    const std::vector<TTextCase> cases = {
        {"Windows-1252 e acute", R"({\rtf1 caf\'e9})", "caf\u00e9"},
        {"Windows-1252 euro sign", R"({\rtf1 \'80})", "\u20ac"},
        {"raw 8-bit byte", "{\\rtf1 caf\xe9}", "caf\u00e9"},
        {"unicode with one fallback", R"({\rtf1 \u8364?5})",
         "\u20ac"
         "5"},
        {"fallback given as a hex byte", R"({\rtf1 \u233\'e9!})", "\u00e9!"},
        {"two fallback characters", R"({\rtf1\uc2 \u8364ab!})", "\u20ac!"},
        {"no fallback", R"({\rtf1\uc0 \u8364 ab})",
         "\u20ac"
         "ab"},
        {"negative unicode value", R"({\rtf1 \u-3?})", "\ufffd"},
        {"surrogate pair", R"({\rtf1 \u-10179?\u-8704?})", "\U0001F600"},
        {"escaped braces and backslash", R"({\rtf1 \{a\}\\})", "{a}\\"},
        {"non-breaking space and hyphen", R"({\rtf1 a\~b\_c})",
         "a\u00a0"
         "b\u2011"
         "c"},
        {"optional hyphen is dropped", R"({\rtf1 hy\-phen})", "hyphen"},
        {"dashes", R"({\rtf1 a\emdash b\endash c})",
         "a\u2014"
         "b\u2013"
         "c"},
        {"quotes and bullet", R"({\rtf1 \bullet\lquote x\rquote\ldblquote y\rdblquote})",
         "\u2022\u2018x\u2019\u201cy\u201d"},
        {"tab and line break", R"({\rtf1 a\tab b\line c})", "a\tb\nc"},
        {"control word delimiter space", R"({\rtf1 \b bold \b0 plain})", "bold plain"},
        {"line ends in the source are not text", "{\\rtf1 one\r\ntwo\n three}", "onetwo three"},
        {"backslash newline ends a paragraph", "{\\rtf1 one\\\ntwo}", "one\ntwo"},
    };
    for (const TTextCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(TextOf(c.Rtf), c.Text);
    }
}

TEST(ReadRichText, LeavesOutSkippedDestinationsAndUnknownWords)
{
    const std::vector<TTextCase> cases = {
        {"info and title", R"({\rtf1{\info{\title Secret}{\author Someone}}Shown})", "Shown"},
        {"style sheet", R"({\rtf1{\stylesheet{\s0 Normal;}{\s1 Heading;}}Shown})", "Shown"},
        {"starred destination", R"({\rtf1{\*\generator Writer 1.0;}{\*\unknownthing hidden}Shown})", "Shown"},
        {"header and footer", R"({\rtf1{\header Head\par}{\footer Foot\par}Shown})", "Shown"},
        {"picture data", R"({\rtf1{\pict\wmetafile8 0123456789abcdef}Shown})", "Shown"},
        {"unknown control words", R"({\rtf1\foo12\barbaz-3 Shown\qux})", "Shown"},
        {"field keeps its result", R"({\rtf1{\field{\*\fldinst HYPERLINK "x"}{\fldrslt Link}}})", "Link"},
        {"binary data may hold braces", R"({\rtf1 a\bin3 {{{b})", "ab"},
    };
    for (const TTextCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(TextOf(c.Rtf), c.Text);
    }
}

TEST(ReadRichText, MalformedInputGivesWhatCouldBeRead)
{
    const std::string deep = std::string(100000, '{') + "deep" + std::string(100000, '}');
    const std::vector<TTextCase> cases = {
        {"empty input", "", ""},
        {"no closing brace", R"({\rtf1 Hello)", "Hello"},
        {"open group at the end", R"({\rtf1 {\b bold)", "bold"},
        {"closing braces too many", R"({\rtf1 Hello}}}} world)", "Hello world"},
        {"lone backslash at the end", R"({\rtf1 abc\)", "abc"},
        {"truncated hex escape", R"({\rtf1 abc\'4)", "abc"},
        {"hex escape without digits", R"({\rtf1 abc\'zz})", "abczz"},
        {"truncated unicode word", R"({\rtf1 x\u)", "x"},
        {"binary length past the end", R"({\rtf1 a\bin999 bc})", "a"},
        {"negative binary length", R"({\rtf1 a\bin-5 b})", "ab"},
        {"huge parameter", R"({\rtf1\fs99999999999999999999 big})", "big"},
        {"very deep nesting", "{\\rtf1 " + deep + " end}", "deep end"},
        {"plain text without header", "just text", "just text"},
    };
    for (const TTextCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_NO_THROW(EXPECT_EQ(TextOf(c.Rtf), c.Text));
    }
}

TEST(ReadRichText, GroupsRestoreTheFormatOfTheEnclosingGroup)
{
    const TRichDocument document = ReadRichText(R"({\rtf1\fs20 a{\b\i\fs40 b{\plain c}d}e\plain f\b g\b0 h})");
    const TRichParagraph& paragraph = ParagraphOf(document, 0);
    struct TExpected {
        const char* Text;
        bool Bold;
        bool Italic;
        double Size;
    };
    const std::vector<TExpected> expected = {
        {"a", false, false, 10}, {"b", true, true, 20},   {"c", false, false, 12}, {"d", true, true, 20},
        {"e", false, false, 10}, {"f", false, false, 12}, {"g", true, false, 12},  {"h", false, false, 12},
    };
    ASSERT_EQ(paragraph.Runs.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].Text);
        EXPECT_EQ(paragraph.Runs[i].Text, expected[i].Text);
        EXPECT_EQ(paragraph.Runs[i].Bold, expected[i].Bold);
        EXPECT_EQ(paragraph.Runs[i].Italic, expected[i].Italic);
        EXPECT_EQ(paragraph.Runs[i].FontSize, expected[i].Size);
    }
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
}

TEST(ReadRichText, AFinalParEndsTheLastParagraphWithoutAddingAnEmptyOne)
{
    EXPECT_EQ(ReadRichText(R"({\rtf1 one\par two\par})").Paragraphs.size(), 2u);
    EXPECT_EQ(ReadRichText(R"({\rtf1 one\par two})").Paragraphs.size(), 2u);
    EXPECT_EQ(ReadRichText(R"({\rtf1 one\par\par two})").Paragraphs.size(), 3u);
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

TEST(ReadRichText, ReadsStreamsAndNamesAMissingFile)
{
    std::istringstream in(R"({\rtf1 from a stream})");
    EXPECT_EQ(PlainText(ReadRichText(in)), "from a stream");
    try {
        ReadRichTextFile("/no/such/folder/Missing.rtf");
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("/no/such/folder/Missing.rtf"), std::string::npos);
    }
}

// The files shown by the program must read cleanly: no control word or font
// table may leak into the text, and each opens with its heading.
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
}

// Once the reader copied the font name for every character: a 1.2 MB file
// with a 600,000-character font name took many seconds. Runs now refer to
// the document's fonts by index, each name stored once.
TEST(ReadRichText, RegressionALongFontNameIsStoredOnce)
{
    const std::string name(600'000, 'N');
    const std::string text(600'000, 'x');
    const TRichDocument document = ReadRichText("{\\rtf1{\\fonttbl{\\f0 " + name + ";}}\\f0 " + text + "}");
    ASSERT_EQ(document.Paragraphs.size(), 1u);
    ASSERT_EQ(document.Paragraphs[0].Runs.size(), 1u);
    EXPECT_EQ(document.Paragraphs[0].Runs[0].Text, text);
    EXPECT_EQ(document.FontName(document.Paragraphs[0].Runs[0]), name);
    EXPECT_EQ(document.Fonts.size(), 1u);
}

TEST(ReadRichText, RunsAlternatingBetweenFontsShareTheDocumentsNames)
{
    // Two table entries with one name are one font: their runs merge.
    std::string rtf = "{\\rtf1{\\fonttbl{\\f1 " + std::string(1000, 'A') + ";}{\\f2 B;}{\\f3 B;}}";
    const int pairs = 20'000;
    for (int i = 0; i < pairs; ++i) rtf += "\\f1 a\\f2 b\\f3 c";
    const TRichDocument document = ReadRichText(rtf + "}");
    ASSERT_EQ(document.Paragraphs.size(), 1u);
    const std::vector<TRichRun>& runs = document.Paragraphs[0].Runs;
    ASSERT_EQ(runs.size(), 2u * pairs);
    EXPECT_EQ(document.Fonts.size(), 2u);
    for (size_t i = 0; i < runs.size(); i += 997) {
        SCOPED_TRACE(i);
        EXPECT_EQ(runs[i].Text, i % 2 == 0 ? "a" : "bc");
        EXPECT_EQ(document.FontName(runs[i]), i % 2 == 0 ? std::string(1000, 'A') : "B");
    }
}
