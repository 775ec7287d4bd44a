#include "engine/definition.h"

#include <algorithm>
#include <cmath>

#include "engine/angles.h"
#include "engine/extended_definition.h"
#include "engine/text_number.h"

namespace verdel {

namespace {

// Identity rules appended after the definition's own, in this order: every
// character without a rule of its own is rewritten by the second-to-last.
constexpr std::array<const char*, BuiltInRuleCount> BuiltInRules = {
    "+=+", "-=-", "&=&", "^=^", "<=<", ">=>", "%=%", "|=|", "!=!", "?=?", "'='", "\"=\"", ":=:", ";=;", "\\=\\", "c=c",
    "[=[", "]=]", "{={", "}=}", "Q=Q", "R=R", "W=W", "F=F", "f=f", "t=t", "g=g", "Z=Z",   "z=z", "*=*", "$=$",   "~=~",
    ".=.", "1=1", "2=2", "3=3", "4=4", "5=5", "6=6", "7=7", "8=8", "9=9", "0=0", "(=(",   ")=)", "_=_"};

// Most rules a definition may bring: the table less the built-in rules, one
// fewer when the insertion directive adds its identity rule.
int OwnRuleLimit(bool withDirective) { return MaxRules - BuiltInRuleCount - (withDirective ? 1 : 0); }

bool IsComment(const std::string& line) { return !line.empty() && line[0] == '#'; }

bool IsDirective(const std::string& line) { return line.size() >= 3 && line[0] == '@' && line[1] == '('; }

// The leading run of rule characters of a rule line.
std::string RuleText(const std::string& line)
{
    const auto stop =
        std::find_if(line.begin(), line.end(), [](char c) { return !IsRuleChar(static_cast<unsigned char>(c)); });
    return std::string(line.begin(), stop);
}

void AddRule(TDefinitionState& state, std::string text) { state.Rule(++state.RuleCount).Text = std::move(text); }

TValidation Fault(const char* message, size_t line, std::string detail)
{
    return {false, message, static_cast<int>(line), std::move(detail)};
}

// A value line whose number cannot be read: which value it holds and what is expected.
TValidation ValueFault(int valueLine, size_t line, const std::string& text)
{
    static const char* const faults[] = {"Error Reading Recursion Value", "Error Reading Angle Value",
                                         "Error Reading Thickness Value"};
    static const char* const expected[] = {"the number of iterations, such as 4 or 3.5",
                                           "the turn angle in degrees, such as 22.5",
                                           "the thickness in percent of the segment length, such as 8"};
    const std::string number = text.substr(0, std::min(text.find_first_of(" \t#"), text.size()));
    const std::string shown = number.size() > 24 ? number.substr(0, 24) + "..." : number;
    const auto index = static_cast<size_t>(valueLine - 1);
    bool converts = true; // a number that reads as -1, which stands for "unreadable"
    try {
        TextToFloat(number);
    } catch (const std::exception&) {
        converts = false;
    }
    const std::string found = "\"" + shown + (converts ? "\" reads as -1, which cannot be used" : "\" is not a number");
    return Fault(faults[index], line, found + "; expected " + expected[index]);
}

// The iteration value as the parser keeps it: whole steps, and a fractional last step.
void SetIterationValue(TDefinitionState& state, float v)
{
    const float whole = std::trunc(v);
    state.Iterations = static_cast<int>(std::clamp(whole, -2147483520.0f, 2147483520.0f));
    state.Fraction = v - whole;
    state.FractionalStep = state.Fraction > 0;
    if (state.FractionalStep) ++state.Iterations;
}

void SetInsertion(TDefinitionState& state, const std::string& line)
{
    state.InsertChar = line.substr(2, 1);
    state.InsertText = line.size() > 5 ? line.substr(4, line.size() - 5) : std::string();
}

// An extended definition: its values and the insertion directive, the rules compiled into State.Extended.
void ParseExtended(TDefinitionState& state, const TLines& lines)
{
    TValidation validation;
    state.Extended = CompileExtendedDefinition(lines, validation);
    state.Production.clear();
    if (!state.Extended) return;
    const TExtendedProgram& program = *state.Extended;
    SetIterationValue(state, ToSingle(program.IterationValue));
    state.TurnAngle = ToSingle(ToSingle(program.AngleValue) / 180.0L * AngleLinePi);
    state.Thickness = ToSingle(ToSingle(program.ThicknessValue) / 100.0L);
    int valueLines = 0;
    for (const std::string& line : lines) {
        if (IsComment(line) || line.empty() || ++valueLines <= 4 || line[0] != '@') continue;
        if (IsDirective(line)) SetInsertion(state, line);
        break;
    }
}

} // namespace

bool IsRuleChar(unsigned char c)
{
    if (c == 228 || c == 242 || c == 243) return true;
    return c >= 33 && c <= 126 && c != '#' && c != '/' && c != '@' && c != '`';
}

std::string TValidation::LineText() const
{
    if (Line == 0) return {};
    const std::string column = Column > 0 ? ", column " + std::to_string(Column) : std::string();
    return "Line " + std::to_string(Line) + column + ": " + Detail;
}

std::string TValidation::Report(const std::string& LineBreak) const
{
    std::string report = "Please Check Input Data" + LineBreak + ErrorText;
    if (Line > 0) report += LineBreak + LineText();
    return report;
}

TValidation ValidateDefinition(const TLines& Lines)
{
    if (Lines.empty()) return Fault("Blank File", 0, {});
    if (IsExtendedDefinition(Lines)) {
        TValidation validation;
        CompileExtendedDefinition(Lines, validation);
        return validation;
    }
    int valueLines = 0; // non-comment lines seen
    int ruleLines = 0;
    for (size_t i = 0; i < Lines.size(); ++i) {
        const std::string& line = Lines[i];
        if (line.empty())
            return Fault("Blank Line in File", i + 1,
                         "the line is empty; blank lines may only follow the end line \"@\"");
        if (static_cast<unsigned char>(line[0]) <= ' ')
            return Fault("Leading Blanks in a Line", i + 1,
                         "the line starts with a blank; every line must start at the left margin");
        if (IsComment(line)) continue;
        ++valueLines;
        if (valueLines <= 3) {
            if (ParseLeadingNumber(line) == -1.0f) return ValueFault(valueLines, i + 1, line);
        } else if (valueLines > 4) {
            if (line[0] == '@') {
                const int limit = OwnRuleLimit(IsDirective(line));
                if (ruleLines > limit)
                    return Fault("Too Many Rules in File", i + 1,
                                 "the definition has " + std::to_string(ruleLines) + " rules; at most " +
                                     std::to_string(limit) + " fit");
                return {};
            }
            if (IsRuleChar(static_cast<unsigned char>(line[0]))) ++ruleLines;
        }
    }
    return Fault("No End of Input (@) listed ", Lines.size(),
                 valueLines < 4 ? "the text ends before its axiom, the fourth line that is no comment"
                                : "the text ends without its end line; add a line \"@\" after the rules");
}

bool ValidateDefinition(const TLines& Lines, std::string& ErrorText)
{
    const TValidation validation = ValidateDefinition(Lines);
    if (!validation.Ok) ErrorText = validation.ErrorText;
    return validation.Ok;
}

void ParseDefinition(TDefinitionState& State, const TLines& Lines)
{
    State.InsertChar.clear();
    State.InsertText.clear();
    State.RuleCount = 0;
    State.Extended.reset();
    State.FaultLine = 0;
    State.FaultText.clear();
    State.SegmentLength = 100.0f;
    State.HalfLength = 50.0f;
    State.ColorIndex = 1;
    if (IsExtendedDefinition(Lines)) {
        ParseExtended(State, Lines);
        return;
    }

    int valueLines = 0;
    int ownRules = 0;
    for (const std::string& line : Lines) {
        if (IsComment(line) || line.empty()) continue;
        ++valueLines;
        if (valueLines == 1) {
            SetIterationValue(State, ParseLeadingNumber(line));
        } else if (valueLines == 2) {
            State.TurnAngle = ToSingle(ParseLeadingNumber(line) / 180.0L * AngleLinePi);
        } else if (valueLines == 3) {
            State.Thickness = ToSingle(ParseLeadingNumber(line) / 100.0L);
        } else if (valueLines == 4) {
            State.Production = line;
        } else if (line[0] == '@') {
            if (IsDirective(line)) {
                // Only unvalidated text can reach a full table here; keep the table's bound.
                if (ownRules > OwnRuleLimit(true)) --State.RuleCount;
                SetInsertion(State, line);
                AddRule(State, State.InsertChar + "=" + State.InsertChar);
            }
            break;
        } else {
            std::string text = RuleText(line);
            // Lines that hold no rule are skipped; the validator caps the count.
            if (!text.empty() && ownRules < OwnRuleLimit(false)) {
                AddRule(State, std::move(text));
                ++ownRules;
            }
        }
    }

    for (int i = 1; i <= State.RuleCount; ++i)
        std::replace(State.Rule(i).Text.begin(), State.Rule(i).Text.end(), ',', '.');
    for (const char* text : BuiltInRules) AddRule(State, text);

    for (int i = 1; i <= State.RuleCount; ++i) {
        TRules& rule = State.Rule(i);
        rule.SuccessorLength = std::max(0, static_cast<int>(rule.Text.size()) - 2);
        rule.Scaled = false;
    }
    // Rules before the first rule for "+" (normally the first built-in one) are
    // scaled in a fractional step, except those of the drawing and moving letters.
    for (int i = 1; i <= State.RuleCount; ++i) {
        const char predecessor = State.Rule(i).Text[0];
        if (predecessor == '+') break;
        State.Rule(i).Scaled = predecessor != 'F' && predecessor != 'f' && predecessor != 'Z' && predecessor != 'z';
    }
}

} // namespace verdel
