#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "engine/text_helpers.h"
#include "engine/text_lines.h"
#include "support/files.h"

using namespace verdel;

namespace {

// The quoted text of a table row, \t and \xHH read as a tab and a byte.
std::string Unquoted(const std::string& field)
{
    std::string text;
    const std::string inner = field.substr(field.find('"') + 1, field.rfind('"') - field.find('"') - 1);
    for (size_t i = 0; i < inner.size(); ++i) {
        if (inner[i] != '\\') text += inner[i];
        else if (inner[++i] == 't') text += '\t';
        else text += static_cast<char>(std::stoi(inner.substr(i + 1, 2), nullptr, 16)), i += 2;
    }
    return text;
}

} // namespace

// One set of rules for whole numbers, in tests/data/whole_numbers.txt.
TEST(ParseWholeNumber, EveryReaderFollowsTheTable)
{
    const std::vector<std::string> rows = test::TableRows(VERDEL_FIXTURES "/whole_numbers.txt");
    EXPECT_EQ(rows.size(), 46u);
    for (const std::string& line : rows) {
        std::string rest = line;
        const std::string reader(Trim(test::TakeField(rest))), text = Unquoted(test::TakeField(rest));
        const std::string value(Trim(test::TakeField(rest)));
        SCOPED_TRACE(line);
        const std::optional<long long> expected =
            value == "refused" ? std::nullopt : std::optional<long long>(std::stoll(value));
        if (reader == "whole") EXPECT_EQ(ParseWholeNumber(text), expected);
        else if (reader == "int") EXPECT_EQ(ParseWholeInt(text), expected);
        else EXPECT_EQ(ParseWholeNumberOrHex(text), expected);
    }
}

TEST(TextHelpers, LetterCaseAndBlanksConcernAsciiOnly)
{
    EXPECT_TRUE(SameTextAnyCase("Verdel5.INI", "verdel5.ini"));
    EXPECT_FALSE(SameTextAnyCase("Verdel5.ini", "Verdel5.in"));
    // Bytes above 127 (here the two bytes of a UTF-8 letter) compare as themselves.
    EXPECT_TRUE(SameTextAnyCase("\xC3\x84.vd", "\xC3\x84.VD"));
    EXPECT_FALSE(SameTextAnyCase("\xC3\x84", "\xC3\xA4"));
    EXPECT_EQ(LowerCase("Tree.DXF \xC3\x84"), "tree.dxf \xC3\x84");
    EXPECT_TRUE(EndsWithAnyCase(".dxf", ".DXF"));
    EXPECT_FALSE(EndsWithAnyCase("dxf", ".dxf"));
    EXPECT_FALSE(EndsWithAnyCase("tree.dxf.bak", ".dxf"));
    EXPECT_EQ(Trim(" \t a b \t "), "a b");
    EXPECT_EQ(Trim("\t \t"), "");
    EXPECT_EQ(Trim("\r\nx\r\n"), "\r\nx\r\n"); // line ends are not blanks
}

TEST(TextHelpers, ExecutableFolderHoldsThisTestProgram)
{
    const std::string folder = ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").filename().string();
    EXPECT_TRUE(std::filesystem::is_regular_file(folder + self)) << folder + self;
}

TEST(TextLines, SplitAtCrLfLfAndALoneCr)
{
    EXPECT_EQ(SplitLines("\r\na\rb\nc\r\n\nd"), (TLines{"", "a", "b", "c", "", "d"}));
    EXPECT_EQ(SplitLines("a\r"), TLines{"a"}); // a final line end adds no line
}
