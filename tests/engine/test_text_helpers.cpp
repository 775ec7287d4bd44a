#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <optional>
#include <string>

#include "engine/text_helpers.h"

using namespace verdel;

namespace {

constexpr long long Lowest = std::numeric_limits<long long>::min();
constexpr long long Highest = std::numeric_limits<long long>::max();

struct TNumberCase {
    const char* Text;
    std::optional<long long> Value; // nothing: refused
    const char* Reason;
};

} // namespace

TEST(ParseWholeNumber, OneSetOfRules)
{
    const TNumberCase cases[] = {
        {"0", 0, "a digit"},
        {"42", 42, "digits"},
        {"+7", 7, "one plus sign"},
        {"-7", -7, "one minus sign"},
        {"007", 7, "leading zeros are digits"},
        {" \t12\t ", 12, "blanks around the number are ignored"},
        {"9223372036854775807", Highest, "the largest value"},
        {"-9223372036854775808", Lowest, "the smallest value, which has no positive counterpart"},
        {"9223372036854775808", std::nullopt, "one above the largest value"},
        {"-9223372036854775809", std::nullopt, "one below the smallest value"},
        {"99999999999999999999999", std::nullopt, "far out of range"},
        {"--9223372036854775808", std::nullopt, "a second sign (once overflowed on negation)"},
        {"--5", std::nullopt, "a second sign"},
        {"+-5", std::nullopt, "a second sign of the other kind"},
        {"-+5", std::nullopt, "a plus after a minus"},
        {"0x1F", std::nullopt, "hexadecimal is not a whole number here"},
        {"0x-1F", std::nullopt, "a sign inside a hexadecimal number"},
        {"", std::nullopt, "empty"},
        {"  ", std::nullopt, "blanks only"},
        {"-", std::nullopt, "a sign without digits"},
        {"1 2", std::nullopt, "a blank inside"},
        {"1.5", std::nullopt, "a decimal mark"},
        {"1e3", std::nullopt, "an exponent"},
        {"12abc", std::nullopt, "letters after the digits"},
        {"\xD9"
         "5",
         std::nullopt, "a byte above 127"},
    };
    for (const TNumberCase& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.Text + "\": " + c.Reason);
        EXPECT_EQ(ParseWholeNumber(c.Text), c.Value);
    }
}

TEST(ParseWholeNumber, TheIntFormChecksTheRangeOfInt)
{
    EXPECT_EQ(ParseWholeInt("2147483647"), std::numeric_limits<int>::max());
    EXPECT_EQ(ParseWholeInt("-2147483648"), std::numeric_limits<int>::min());
    EXPECT_EQ(ParseWholeInt("2147483648"), std::nullopt);
    EXPECT_EQ(ParseWholeInt("-2147483649"), std::nullopt);
    EXPECT_EQ(ParseWholeInt("--5"), std::nullopt);
}

TEST(ParseWholeNumberOrHex, SameRulesWithHexadecimalDigitsAfter0x)
{
    const TNumberCase cases[] = {
        {"0x1F", 31, "hexadecimal digits"},
        {"0X1f", 31, "either case of x and of the digits"},
        {"-0x1F", -31, "the sign before 0x"},
        {"+0x0", 0, "plus sign and zero"},
        {"12", 12, "decimal still reads"},
        {"0x7FFFFFFFFFFFFFFF", Highest, "the largest value"},
        {"-0x8000000000000000", Lowest, "the smallest value"},
        {"0x8000000000000000", std::nullopt, "one above the largest value"},
        {"0x-1F", std::nullopt, "a sign after 0x"},
        {"0x+1F", std::nullopt, "a plus sign after 0x"},
        {"--0x5", std::nullopt, "a second sign"},
        {"0x", std::nullopt, "0x without digits"},
        {"0xG", std::nullopt, "not a hexadecimal digit"},
        {"1F", std::nullopt, "hexadecimal digits without 0x"},
    };
    for (const TNumberCase& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.Text + "\": " + c.Reason);
        EXPECT_EQ(ParseWholeNumberOrHex(c.Text), c.Value);
    }
}

TEST(TextHelpers, LetterCaseComparesAsciiLettersOnly)
{
    EXPECT_TRUE(SameTextAnyCase("Verdel5.INI", "verdel5.ini"));
    EXPECT_FALSE(SameTextAnyCase("Verdel5.ini", "Verdel5.in"));
    EXPECT_FALSE(SameTextAnyCase("a", "b"));
    // Bytes above 127 (here the two bytes of a UTF-8 letter) compare as themselves.
    EXPECT_TRUE(SameTextAnyCase("\xC3\x84.vd", "\xC3\x84.VD"));
    EXPECT_FALSE(SameTextAnyCase("\xC3\x84", "\xC3\xA4"));
    EXPECT_EQ(LowerCase("Tree.DXF \xC3\x84"), "tree.dxf \xC3\x84");

    EXPECT_TRUE(EndsWithAnyCase("tree.DXF", ".dxf"));
    EXPECT_TRUE(EndsWithAnyCase(".dxf", ".DXF"));
    EXPECT_FALSE(EndsWithAnyCase("dxf", ".dxf"));
    EXPECT_FALSE(EndsWithAnyCase("tree.dxf.bak", ".dxf"));
    EXPECT_FALSE(EndsWithAnyCase("tree.\xFF"
                                 "dxf",
                                 ".dxf"));
}

TEST(TextHelpers, TrimRemovesBlanksAtBothEndsOnly)
{
    EXPECT_EQ(Trim(" \t a b \t "), "a b");
    EXPECT_EQ(Trim("\t \t"), "");
    EXPECT_EQ(Trim(""), "");
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
