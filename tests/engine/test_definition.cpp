#include <gtest/gtest.h>

#include <fstream>
#include <tuple>

#include "engine/definition.h"
#include "engine/text_number.h"
#include "support/files.h"

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

// What the validator says: valid, or the first fault's fixed message, its line
// (counted from 1, comments included), column and a part of what the report
// says about that line. Classic and extended definitions alike, from
// tests/data/definition_faults.txt and the cases made here.
TEST(ValidateDefinition, ReportsTheFirstFaultWithItsLine)
{
    struct TCase {
        TLines Lines;
        std::string Error; // "valid" for a valid text
        int Line, Column;
        std::string Detail;
    };
    std::vector<TCase> cases = {
        {{}, "Blank File", 0, 0, ""},
        {{"\t# note", "3", "90", "10", "F", "@"}, "Leading Blanks in a Line", 1, 0, "starts with a blank"},
        {WithRules(154, "@"), "valid", 0, 0, ""},
        {WithRules(155, "@"), "Too Many Rules in File", 160, 0, "155 rules; at most 154"},
        {WithRules(153, "@(F,[+F])"), "valid", 0, 0, ""}, // the directive takes a rule's place
        {WithRules(154, "@(F,[+F])"), "Too Many Rules in File", 159, 0, "at most 153"},
    };
    for (std::string row : test::TableRows(VERDEL_FIXTURES "/definition_faults.txt", "//")) {
        TCase c;
        const std::string text = test::TakeField(row);
        for (size_t at = 0, end = 0; end != std::string::npos; at = end + 3) {
            end = text.find(" / ", at);
            c.Lines.push_back(text.substr(at, end - at));
        }
        c.Error = test::TakeField(row);
        c.Line = std::stoi(test::TakeField(row));
        c.Column = std::stoi(test::TakeField(row));
        c.Detail = row;
        cases.push_back(c);
    }
    EXPECT_EQ(cases.size(), 6u + 32u);
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.Lines).substr(0, 200));
        const TValidation validation = ValidateDefinition(c.Lines);
        std::string fixed;
        EXPECT_EQ(ValidateDefinition(c.Lines, fixed), validation.Ok);
        EXPECT_EQ(validation.Ok, c.Error == "valid");
        if (validation.Ok) continue;
        EXPECT_EQ(validation.ErrorText, c.Error);
        EXPECT_EQ(validation.Line, c.Line);
        EXPECT_EQ(validation.Column, c.Column);
        EXPECT_NE(validation.Detail.find(c.Detail), std::string::npos) << validation.Detail;
        // The fixed message stays as it is; the line comes below it.
        const std::string report = validation.Report("\n");
        EXPECT_EQ(report.rfind("Please Check Input Data\n" + c.Error, 0), 0u);
        EXPECT_EQ(fixed, c.Error);
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

// Rule texts as the rewriting reads them; the rules up to the first one for
// "+" scale in a fractional step (X and A here), F and z never.
TEST(ParseDefinition, KeepsRuleTextsAndAppendsTheBuiltInRules)
{
    const auto state = Parse(
        {"3", "90", "10", "F(1,5)", "X=F(1,5)F # grow", "A=B/C", "F=FF", "z", "/not a rule", "+=-", "A=C", "@"});
    EXPECT_EQ(state->Production, "F(1,5)"); // the axiom keeps its comma
    ASSERT_EQ(state->RuleCount, 6 + BuiltInRuleCount);
    const std::vector<std::tuple<std::string, int, bool>> rules = {
        {"X=F(1.5)F", 7, true}, {"A=B", 1, true}, {"F=FF", 2, false}, {"z", 0, false}, {"+=-", 1, false},
        {"A=C", 1, false},      {"+=+", 1, false}};
    for (size_t k = 0; k < rules.size(); ++k) {
        SCOPED_TRACE(k + 1);
        const auto& rule = state->Rule(static_cast<int>(k) + 1);
        EXPECT_EQ(std::tuple(rule.Text, rule.SuccessorLength, rule.Scaled), rules[k]);
    }
    EXPECT_EQ(state->Rule(state->RuleCount).Text, "_=_");
    EXPECT_TRUE(state->InsertChar.empty());

    const auto inserting = Parse({"2", "90", "10", "AXA", "X=F", "@(A,[+F])", "ignored"});
    EXPECT_EQ(inserting->InsertChar, "A");
    EXPECT_EQ(inserting->InsertText, "[+F]");
    EXPECT_EQ(inserting->Rule(2).Text, "A=A");
    EXPECT_EQ(inserting->RuleCount, 2 + BuiltInRuleCount);
}
