#include "engine/definition.h"

#include <algorithm>
#include <cmath>

#include "engine/angles.h"
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

} // namespace

bool IsRuleChar(unsigned char c)
{
    if (c == 228 || c == 242 || c == 243) return true;
    return c >= 33 && c <= 126 && c != '#' && c != '/' && c != '@' && c != '`';
}

bool ValidateDefinition(const TLines& Lines, std::string& ErrorText)
{
    if (Lines.empty()) {
        ErrorText = "Blank File";
        return false;
    }
    static const char* const valueFaults[] = {"Error Reading Recursion Value", "Error Reading Angle Value",
                                              "Error Reading Thickness Value"};
    int valueLines = 0; // non-comment lines seen
    int ruleLines = 0;
    for (const std::string& line : Lines) {
        if (line.empty()) {
            ErrorText = "Blank Line in File";
            return false;
        }
        if (static_cast<unsigned char>(line[0]) <= ' ') {
            ErrorText = "Leading Blanks in a Line";
            return false;
        }
        if (IsComment(line)) continue;
        ++valueLines;
        if (valueLines <= 3) {
            if (ParseLeadingNumber(line) == -1.0f) {
                ErrorText = valueFaults[valueLines - 1];
                return false;
            }
        } else if (valueLines > 4) {
            if (line[0] == '@') {
                if (ruleLines > OwnRuleLimit(IsDirective(line))) {
                    ErrorText = "Too Many Rules in File";
                    return false;
                }
                return true;
            }
            if (IsRuleChar(static_cast<unsigned char>(line[0]))) ++ruleLines;
        }
    }
    ErrorText = "No End of Input (@) listed ";
    return false;
}

void ParseDefinition(TDefinitionState& State, const TLines& Lines)
{
    State.InsertChar.clear();
    State.InsertText.clear();
    State.RuleCount = 0;

    int valueLines = 0;
    int ownRules = 0;
    for (const std::string& line : Lines) {
        if (IsComment(line) || line.empty()) continue;
        ++valueLines;
        if (valueLines == 1) {
            const float v = ParseLeadingNumber(line);
            const float whole = std::trunc(v);
            State.Iterations = static_cast<int>(std::clamp(whole, -2147483520.0f, 2147483520.0f));
            State.Fraction = v - whole;
            State.FractionalStep = State.Fraction > 0;
            if (State.FractionalStep) ++State.Iterations;
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
                State.InsertChar = line.substr(2, 1);
                State.InsertText = line.size() > 5 ? line.substr(4, line.size() - 5) : std::string();
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

    State.SegmentLength = 100.0f;
    State.HalfLength = 50.0f;
    State.ColorIndex = 1;

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
