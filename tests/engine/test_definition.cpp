#include <gtest/gtest.h>

#include "engine/definition.h"
#include "engine/text_number.h"

using namespace verdel;

namespace {

struct TValidateCase {
    const char* Name;
    TLines Lines;
    bool Ok;
    const char* Error;
};

TLines WithRules(int count, const std::string& endLine)
{
    TLines lines = {"3", "90", "10", "F"};
    for (int i = 0; i < count; ++i) lines.push_back("F=FF");
    lines.push_back(endLine);
    return lines;
}

std::unique_ptr<TDefinitionState> Parse(const TLines& lines)
{
    auto state = std::make_unique<TDefinitionState>();
    std::string error;
    EXPECT_TRUE(ValidateDefinition(lines, error)) << error;
    ParseDefinition(*state, lines);
    return state;
}

} // namespace

TEST(ValidateDefinition, ReportsTheFirstFaultWithItsFixedMessage)
{
    const std::vector<TValidateCase> cases = {
        {"empty text", {}, false, "Blank File"},
        {"blank line between rules", {"3", "90", "10", "F", "F=FF", "", "@"}, false, "Blank Line in File"},
        {"blank line after the end line", {"3", "90", "10", "F", "@", ""}, true, ""},
        {"leading blank", {"3", " 90", "10", "F", "@"}, false, "Leading Blanks in a Line"},
        {"leading tab in a comment", {"\t# note", "3", "90", "10", "F", "@"}, false, "Leading Blanks in a Line"},
        {"iteration value", {"x", "90", "10", "F", "@"}, false, "Error Reading Recursion Value"},
        {"-1 counts as unreadable", {"-1", "90", "10", "F", "@"}, false, "Error Reading Recursion Value"},
        {"end line as second value", {"3", "@"}, false, "Error Reading Angle Value"},
        {"thickness value", {"3", "90", "ten", "F", "@"}, false, "Error Reading Thickness Value"},
        {"axiom starting with @", {"3", "90", "10", "@"}, false, "No End of Input (@) listed "},
        {"smallest valid text", {"3", "90", "10", "F", "@"}, true, ""},
        {"comments anywhere", {"# tree", "3 # depth", "#", "90#", "10", "# axiom", "F", "#r", "F=FF", "@"}, true, ""},
        {"lines after the end are free text", {"3", "90", "10", "F", "@", " anything", "@@"}, true, ""},
        {"154 rules of its own", WithRules(154, "@"), true, ""},
        {"155 rules of its own", WithRules(155, "@"), false, "Too Many Rules in File"},
        {"153 rules and a directive", WithRules(153, "@(F,[+F])"), true, ""},
        {"154 rules and a directive", WithRules(154, "@(F,[+F])"), false, "Too Many Rules in File"},
    };
    for (const TValidateCase& c : cases) {
        SCOPED_TRACE(c.Name);
        std::string error;
        EXPECT_EQ(ValidateDefinition(c.Lines, error), c.Ok);
        if (!c.Ok) {
            EXPECT_EQ(error, c.Error);
        }
    }
}

TEST(ValidateDefinition, NamesTheLineAtFaultAndWhatWasExpected)
{
    struct TCase {
        const char* Name;
        TLines Lines;
        int Line;           // counted from 1, comment lines included
        const char* Detail; // a part of what the report says about the line
    };
    const TCase cases[] = {
        {"empty text has no line", {}, 0, ""},
        {"blank line among rules", {"3", "90", "10", "F", "F=FF", "", "@"}, 6, "the line is empty"},
        {"leading blank after comments", {"# a", "# b", "3", " 90", "10", "F", "@"}, 4, "starts with a blank"},
        {"iterations after a comment", {"# tree", "three", "90", "10", "F", "@"}, 2, "\"three\" is not a number"},
        {"angle names what it expects", {"3", "ninety # degrees", "10", "F", "@"}, 2, "the turn angle in degrees"},
        {"thickness of -1", {"3", "90", "-1", "F", "@"}, 3, "\"-1\" reads as -1"},
        {"no end line: the last line", {"3", "90", "10", "F", "F=FF"}, 5, "add a line \"@\""},
        {"text ends before the axiom", {"3", "90", "10"}, 3, "ends before its axiom"},
        {"too many rules: the end line", WithRules(155, "@"), 160, "155 rules; at most 154"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const TValidation validation = ValidateDefinition(c.Lines);
        ASSERT_FALSE(validation.Ok);
        EXPECT_EQ(validation.Line, c.Line);
        EXPECT_NE(validation.Detail.find(c.Detail), std::string::npos) << validation.Detail;
        // The fixed message stays as it is; the line comes below it.
        std::string fixed;
        ValidateDefinition(c.Lines, fixed);
        EXPECT_EQ(validation.ErrorText, fixed);
        const std::string report = validation.Report("\n");
        EXPECT_EQ(report.rfind("Please Check Input Data\n" + fixed, 0), 0u);
        if (c.Line > 0) EXPECT_EQ(report.substr(report.rfind('\n') + 1), validation.LineText());
        else EXPECT_EQ(report, "Please Check Input Data\nBlank File");
    }
    EXPECT_EQ(ValidateDefinition({"3", "ninety", "10", "F", "@"}).LineText(),
              "Line 2: \"ninety\" is not a number; expected the turn angle in degrees, such as 22.5");
    EXPECT_TRUE(ValidateDefinition({"3", "90", "10", "F", "@"}).Ok);
}

TEST(TextToFloat, AcceptsBothDecimalMarksAndRejectsOtherText)
{
    EXPECT_EQ(TextToFloat("90,5"), TextToFloat("90.5"));
    EXPECT_EQ(TextToFloat(" -1.25 "), -1.25L);
    EXPECT_EQ(TextToFloat("+2e3"), 2000.0L);
    EXPECT_EQ(TextToFloat(".5"), 0.5L);
    EXPECT_EQ(TextToFloat("5."), 5.0L);
    for (const char* bad : {"", " ", "1.2.3", "1,000.5", "abc", "1e", "--1", "inf", "nan", "0x10", "1e99999"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(TextToFloat(bad), EConvertError);
    }
    try {
        TextToFloat("1x");
        FAIL();
    } catch (const EConvertError& error) {
        EXPECT_STREQ(error.what(), "'1x' is not a valid floating point value");
    }
}

TEST(ParseLeadingNumber, ReadsUpToBlankTabOrHash)
{
    EXPECT_EQ(ParseLeadingNumber("5 # depth"), 5.0f);
    EXPECT_EQ(ParseLeadingNumber("5#"), 5.0f);
    EXPECT_EQ(ParseLeadingNumber("2,5\tangle"), 2.5f);
    EXPECT_EQ(ParseLeadingNumber("five"), -1.0f);
    EXPECT_EQ(ParseLeadingNumber("#5"), -1.0f);
}

TEST(ParseDefinition, SplitsTheIterationValueIntoStepsAndFraction)
{
    struct TCase {
        const char* Value;
        int Iterations;
        float Fraction;
        bool Fractional;
    };
    for (const TCase& c : {TCase{"3.5", 4, 0.5f, true}, TCase{"3", 3, 0.0f, false}, TCase{"0,25", 1, 0.25f, true},
                           TCase{"-2.5", -2, -0.5f, false}}) {
        SCOPED_TRACE(c.Value);
        const auto state = Parse({c.Value, "90", "10", "F", "@"});
        EXPECT_EQ(state->Iterations, c.Iterations);
        EXPECT_EQ(state->Fraction, c.Fraction);
        EXPECT_EQ(state->FractionalStep, c.Fractional);
    }
}

TEST(ParseDefinition, ConvertsAngleThicknessAndStartValues)
{
    const auto comma = Parse({"3", "90,5", "10", "F", "@"});
    const auto point = Parse({"3", "90.5", "10", "F", "@"});
    EXPECT_EQ(comma->TurnAngle, point->TurnAngle);
    EXPECT_FLOAT_EQ(point->TurnAngle, 90.5f / 180 * 3.14159265f);
    EXPECT_FLOAT_EQ(point->Thickness, 0.1f);
    EXPECT_EQ(point->SegmentLength, 100.0f);
    EXPECT_EQ(point->HalfLength, 50.0f);
    EXPECT_EQ(point->ColorIndex, 1);
}

TEST(ParseDefinition, KeepsRuleTextsAndAppendsTheBuiltInRules)
{
    const auto state = Parse({"3", "90", "10", "F(1,5)", "F=F(1,5)F # grow", "A=B/C", "A=C", "/not a rule", "@"});
    EXPECT_EQ(state->Production, "F(1,5)"); // the axiom keeps its comma
    ASSERT_EQ(state->RuleCount, 3 + BuiltInRuleCount);
    EXPECT_EQ(state->Rule(1).Text, "F=F(1.5)F");
    EXPECT_EQ(state->Rule(2).Text, "A=B");
    EXPECT_EQ(state->Rule(3).Text, "A=C");
    EXPECT_EQ(state->Rule(4).Text, "+=+");
    EXPECT_EQ(state->Rule(3 + 12).Text, "\"=\"");
    EXPECT_EQ(state->Rule(3 + 15).Text, "\\=\\");
    EXPECT_EQ(state->Rule(state->RuleCount - 1).Text, ")=)");
    EXPECT_EQ(state->Rule(state->RuleCount).Text, "_=_");
    EXPECT_EQ(state->Rule(1).SuccessorLength, 7);
    EXPECT_TRUE(state->InsertChar.empty());
}

TEST(ParseDefinition, ReadsTheInsertionDirective)
{
    const auto state = Parse({"2", "90", "10", "AXA", "X=F", "@(A,[+F])", "ignored"});
    EXPECT_EQ(state->InsertChar, "A");
    EXPECT_EQ(state->InsertText, "[+F]");
    EXPECT_EQ(state->Rule(1).Text, "X=F");
    EXPECT_EQ(state->Rule(2).Text, "A=A");
    EXPECT_EQ(state->RuleCount, 2 + BuiltInRuleCount);
}

TEST(ParseDefinition, ScalesRulesUpToTheFirstRuleForPlus)
{
    const auto state = Parse({"2", "90", "10", "X", "X=F", "F=FF", "z=z", "A=B", "+=-", "B=C", "@"});
    EXPECT_TRUE(state->Rule(1).Scaled);  // X
    EXPECT_FALSE(state->Rule(2).Scaled); // F never
    EXPECT_FALSE(state->Rule(3).Scaled); // z never
    EXPECT_TRUE(state->Rule(4).Scaled);  // A
    EXPECT_FALSE(state->Rule(5).Scaled); // the walk stops at the rule for "+"
    EXPECT_FALSE(state->Rule(6).Scaled);
}

TEST(ParseDefinition, OneCharacterRuleHasAnEmptySuccessor)
{
    const auto state = Parse({"1", "90", "10", "X", "X", "@"});
    EXPECT_EQ(state->Rule(1).Text, "X");
    EXPECT_EQ(state->Rule(1).SuccessorLength, 0);
}
