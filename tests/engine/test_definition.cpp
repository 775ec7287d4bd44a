#include <gtest/gtest.h>

#include "engine/definition.h"
#include "engine/text_number.h"

using namespace verdel;

namespace {

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
    EXPECT_TRUE(ValidateDefinition(lines).Ok) << ValidateDefinition(lines).LineText();
    ParseDefinition(*state, lines);
    return state;
}

} // namespace

// The first fault: its fixed message, the line (counted from 1, comments
// included) and a part of what the report says about that line.
TEST(ValidateDefinition, ReportsTheFirstFaultWithItsLine)
{
    struct TCase {
        const char* Name;
        TLines Lines;
        const char* Error; // empty: the text is valid
        int Line;
        const char* Detail;
    };
    const std::vector<TCase> cases = {
        {"empty text has no line", {}, "Blank File", 0, ""},
        {"blank line among rules", {"3", "90", "10", "F", "F=FF", "", "@"}, "Blank Line in File", 6, "is empty"},
        {"blank line after the end line", {"3", "90", "10", "F", "@", ""}, "", 0, ""},
        {"leading blank after comments", {"# a", "# b", "3", " 90", "10", "F", "@"}, "Leading Blanks in a Line", 4,
         "starts with a blank"},
        {"leading tab in a comment", {"\t# note", "3", "90", "10", "F", "@"}, "Leading Blanks in a Line", 1, ""},
        {"iterations after a comment", {"# tree", "three", "90", "10", "F", "@"}, "Error Reading Recursion Value",
         2, "\"three\" is not a number"},
        {"-1 counts as unreadable", {"-1", "90", "10", "F", "@"}, "Error Reading Recursion Value", 1,
         "\"-1\" reads as -1"},
        {"end line as second value", {"3", "@"}, "Error Reading Angle Value", 2, ""},
        {"angle names what it expects", {"3", "ninety # degrees", "10", "F", "@"}, "Error Reading Angle Value", 2,
         "the turn angle in degrees"},
        {"thickness value", {"3", "90", "ten", "F", "@"}, "Error Reading Thickness Value", 3, "\"ten\""},
        {"axiom starting with @", {"3", "90", "10", "@"}, "No End of Input (@) listed ", 4, "ends without its end line"},
        {"no end line: the last line", {"3", "90", "10", "F", "F=FF"}, "No End of Input (@) listed ", 5,
         "add a line \"@\""},
        {"smallest valid text", {"3", "90", "10", "F", "@"}, "", 0, ""},
        {"comments anywhere", {"# tree", "3 # depth", "#", "90#", "10", "# axiom", "F", "#r", "F=FF", "@"}, "", 0, ""},
        {"lines after the end are free text", {"3", "90", "10", "F", "@", " anything", "@@"}, "", 0, ""},
        {"154 rules of its own", WithRules(154, "@"), "", 0, ""},
        {"155 rules of its own", WithRules(155, "@"), "Too Many Rules in File", 160, "155 rules; at most 154"},
        {"153 rules and a directive", WithRules(153, "@(F,[+F])"), "", 0, ""},
        {"154 rules and a directive", WithRules(154, "@(F,[+F])"), "Too Many Rules in File", 159, "at most 153"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const TValidation validation = ValidateDefinition(c.Lines);
        std::string fixed;
        EXPECT_EQ(ValidateDefinition(c.Lines, fixed), validation.Ok);
        EXPECT_EQ(validation.Ok, *c.Error == 0);
        if (validation.Ok) continue;
        EXPECT_EQ(fixed, c.Error);
        EXPECT_EQ(validation.ErrorText, c.Error);
        EXPECT_EQ(validation.Line, c.Line);
        EXPECT_NE(validation.Detail.find(c.Detail), std::string::npos) << validation.Detail;
        // The fixed message stays as it is; the line comes below it.
        const std::string report = validation.Report("\n");
        EXPECT_EQ(report.rfind("Please Check Input Data\n" + fixed, 0), 0u);
        if (c.Line > 0) EXPECT_EQ(report.substr(report.rfind('\n') + 1), validation.LineText());
        else EXPECT_EQ(report, "Please Check Input Data\nBlank File");
    }
    EXPECT_EQ(ValidateDefinition({"3", "ninety", "10", "F", "@"}).LineText(),
              "Line 2: \"ninety\" is not a number; expected the turn angle in degrees, such as 22.5");
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
    // The value lines are read up to a blank, a tab or "#".
    EXPECT_EQ(ParseLeadingNumber("5 # depth"), 5.0f);
    EXPECT_EQ(ParseLeadingNumber("5#"), 5.0f);
    EXPECT_EQ(ParseLeadingNumber("2,5\tangle"), 2.5f);
    EXPECT_EQ(ParseLeadingNumber("five"), -1.0f);
    EXPECT_EQ(ParseLeadingNumber("#5"), -1.0f);
}

TEST(ParseDefinition, ConvertsTheValueLines)
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
    const auto state =
        Parse({"3", "90", "10", "F(1,5)", "F=F(1,5)F # grow", "A=B/C", "A=C", "/not a rule", "X", "@"});
    EXPECT_EQ(state->Production, "F(1,5)"); // the axiom keeps its comma
    ASSERT_EQ(state->RuleCount, 4 + BuiltInRuleCount);
    EXPECT_EQ(state->Rule(1).Text, "F=F(1.5)F");
    EXPECT_EQ(state->Rule(1).SuccessorLength, 7);
    EXPECT_EQ(state->Rule(2).Text, "A=B");
    EXPECT_EQ(state->Rule(3).Text, "A=C");
    EXPECT_EQ(state->Rule(4).Text, "X"); // one character: an empty successor
    EXPECT_EQ(state->Rule(4).SuccessorLength, 0);
    EXPECT_EQ(state->Rule(5).Text, "+=+");
    EXPECT_EQ(state->Rule(4 + 12).Text, "\"=\"");
    EXPECT_EQ(state->Rule(4 + 15).Text, "\\=\\");
    EXPECT_EQ(state->Rule(state->RuleCount).Text, "_=_");
    EXPECT_TRUE(state->InsertChar.empty());

    const auto inserting = Parse({"2", "90", "10", "AXA", "X=F", "@(A,[+F])", "ignored"});
    EXPECT_EQ(inserting->InsertChar, "A");
    EXPECT_EQ(inserting->InsertText, "[+F]");
    EXPECT_EQ(inserting->Rule(2).Text, "A=A");
    EXPECT_EQ(inserting->RuleCount, 2 + BuiltInRuleCount);
}

TEST(ParseDefinition, ScalesRulesUpToTheFirstRuleForPlus)
{
    const auto state = Parse({"2", "90", "10", "X", "X=F", "F=FF", "z=z", "A=B", "+=-", "B=C", "@"});
    // X and A scale; F and z never; the walk stops at the rule for "+".
    const std::vector<bool> scaled = {true, false, false, true, false, false};
    for (size_t k = 0; k < scaled.size(); ++k) EXPECT_EQ(state->Rule(static_cast<int>(k) + 1).Scaled, scaled[k]) << k;
}
