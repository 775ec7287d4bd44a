#include "engine/extended_definition.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "engine/extended_rules.h"
#include "engine/text_number.h"

namespace verdel {

namespace {

// Rewriting steps an extended definition may ask for: each step of an
// extended definition is taken one by one, so the count bounds the time.
constexpr double MaxExtendedSteps = 1'000'000;

const char* const ReadingDirective = "Error Reading Directive";
const char* const ReadingAxiom = "Error Reading Axiom";
const char* const ReadingRule = "Error Reading Rule";
const char* const ReadingValue[] = {"Error Reading Recursion Value", "Error Reading Angle Value",
                                    "Error Reading Thickness Value"};

// A fault on a line: the fixed message, and where and what (Column from 0).
struct TFault {
    size_t Line;
    size_t Column;
    const char* Fixed;
    std::string Detail;
};

bool IsComment(const std::string& line) { return !line.empty() && line[0] == '#'; }

// Whether Line is the directive Word: the word, then a blank, the end (or ":" after "#ignore").
bool IsDirectiveLine(const std::string& line, std::string_view word)
{
    if (!line.starts_with(word)) return false;
    if (line.size() == word.size()) return true;
    const char next = line[word.size()];
    return next == ' ' || next == '\t' || (word == "#ignore" && next == ':');
}

class TCompiler {
public:
    explicit TCompiler(const TLines& lines) : Lines(lines) {}

    std::unique_ptr<TExtendedProgram> Run()
    {
        Layout();
        for (const size_t i : DefineLines) Define(i);
        for (const size_t i : IgnoreLines) Ignore(i);
        for (int k = 0; k < 3; ++k) Value(k);
        Axiom();
        for (const size_t i : RuleLines) Rule(i);
        Index();
        return std::move(Program);
    }

private:
    // Where each part stands, with the faults of a classic definition's layout.
    void Layout()
    {
        size_t valueLines = 0;
        for (size_t i = 0; i < Lines.size(); ++i) {
            const std::string& line = Lines[i];
            if (line.empty())
                throw TFault{i, 0, "Blank Line in File", "the line is empty; blank lines may only follow the end line \"@\""};
            if (static_cast<unsigned char>(line[0]) <= ' ')
                throw TFault{i, 0, "Leading Blanks in a Line",
                             "the line starts with a blank; every line must start at the left margin"};
            if (IsComment(line)) {
                if (IsDirectiveLine(line, "#define")) DefineLines.push_back(i);
                if (IsDirectiveLine(line, "#ignore")) IgnoreLines.push_back(i);
                continue;
            }
            ++valueLines;
            if (valueLines <= 3) ValueLineAt[valueLines - 1] = i;
            else if (valueLines == 4) AxiomAt = i;
            else if (line[0] == '@') return;
            else RuleLines.push_back(i);
        }
        throw TFault{Lines.empty() ? 0 : Lines.size() - 1, 0, "No End of Input (@) listed ",
                     valueLines < 4 ? "the text ends before its axiom, the fourth line that is no comment"
                                    : "the text ends without its end line; add a line \"@\" after the rules"};
    }

    template <class TRead> auto OnLine(size_t i, const char* fixed, TRead read)
    {
        try {
            return read(std::string_view(Lines[i]));
        } catch (const ESyntaxError& error) {
            throw TFault{i, error.Column, fixed, error.what()};
        }
    }

    // "#define NAME VALUE [lo, hi]"
    void Define(size_t i)
    {
        OnLine(i, ReadingDirective, [&](std::string_view line) {
            size_t pos = 7;
            SkipBlanks(line, pos);
            const size_t nameAt = pos;
            while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t' && line[pos] != '[') ++pos;
            const std::string name(line.substr(nameAt, pos - nameAt));
            if (!IsValidName(name))
                throw ESyntaxError(nameAt, "expected a constant's name: a letter, then letters, digits or '_'");
            if (IsFunctionName(name)) throw ESyntaxError(nameAt, "'" + name + "' is a function; a constant needs another name");
            for (const auto& [known, value] : Program->Constants)
                if (known == name) throw ESyntaxError(nameAt, "the constant '" + name + "' is defined twice");
            const size_t bracket = std::min(line.find('[', pos), line.size());
            const TParameterText value = Trimmed(line, pos, bracket);
            if (value.Text.empty()) throw ESyntaxError(pos, "expected the value of '" + name + "' after its name");
            const double v = ConstantValue(value.Text, value.Column, Program->Constants, *Program->Evaluation);
            TConstantLine shown{name, static_cast<int>(i) + 1, v};
            if (bracket < line.size()) std::tie(shown.Low, shown.High) = CheckRange(line, bracket, v);
            shown.Ranged = bracket < line.size();
            Program->Constants.emplace_back(name, v);
            Program->ConstantLines.push_back(std::move(shown));
            return 0;
        });
    }

    // "[lo, hi]" after a constant's value: the ends of its slider.
    std::pair<double, double> CheckRange(std::string_view line, size_t open, double value)
    {
        const size_t close = line.find(']', open);
        if (close == std::string_view::npos) throw ESyntaxError(open, "the range is never closed; expected ']'");
        size_t after = close + 1;
        SkipBlanks(line, after);
        if (after < line.size()) throw ESyntaxError(after, "expected the end of the line after the range");
        const size_t comma = line.find(',', open);
        if (comma > close) throw ESyntaxError(close, "expected a range of two numbers, [lo, hi]");
        const TParameterText lo = Trimmed(line, open + 1, comma), hi = Trimmed(line, comma + 1, close);
        if (lo.Text.empty() || hi.Text.empty())
            throw ESyntaxError(lo.Text.empty() ? open + 1 : comma + 1, "expected a number; a range is [lo, hi]");
        const double low = ConstantValue(lo.Text, lo.Column, Program->Constants, *Program->Evaluation);
        const double high = ConstantValue(hi.Text, hi.Column, Program->Constants, *Program->Evaluation);
        if (low > high) throw ESyntaxError(open, "the range's low end is above its high end");
        if (value < low || value > high)
            throw ESyntaxError(open, "the value " + ShortestNumberText(value) + " lies outside its range");
        return {low, high};
    }

    // "#ignore SYMBOLS" (or "#ignore: SYMBOLS")
    void Ignore(size_t i)
    {
        OnLine(i, ReadingDirective, [&](std::string_view line) {
            for (size_t pos = line.size() > 7 && line[7] == ':' ? 8 : 7; pos < line.size(); ++pos) {
                const auto c = static_cast<unsigned char>(line[pos]);
                if (c == ' ' || c == '\t') continue;
                if (!IsModuleSymbol(c) || c == '[' || c == ']')
                    throw ESyntaxError(pos, std::string("'") + line[pos] + "' cannot be ignored; expected the symbols "
                                                                            "context matching skips");
                Program->Ignored[c] = true;
            }
            return 0;
        });
    }

    // A value line: a number ("." or "," as the decimal mark) or an expression of constants, up to a "#".
    void Value(int k)
    {
        const double v = OnLine(ValueLineAt[k], ReadingValue[k], [&](std::string_view line) {
            const TParameterText text = Trimmed(line, 0, std::min(line.find('#'), line.size()));
            double value = 0;
            try {
                value = static_cast<double>(TextToFloat(text.Text));
            } catch (const EConvertError&) {
                value = ConstantValue(text.Text, text.Column, Program->Constants, *Program->Evaluation);
            }
            if (k == 0 && !(value >= 0 && value <= MaxExtendedSteps))
                throw ESyntaxError(0, ShortestNumberText(value) + " iterations; an extended definition takes 0 to " +
                                          ShortestNumberText(MaxExtendedSteps));
            if (!std::isfinite(value)) throw ESyntaxError(0, "the value is not a finite number");
            return value;
        });
        if (k == 0) Program->IterationLine = static_cast<int>(ValueLineAt[0]) + 1;
        (k == 0 ? Program->IterationValue : k == 1 ? Program->AngleValue : Program->ThicknessValue) = v;
    }

    void Axiom()
    {
        Program->AxiomLine = static_cast<int>(AxiomAt) + 1;
        Program->Axiom = OnLine(AxiomAt, ReadingAxiom, [&](std::string_view line) {
            size_t pos = 0;
            const std::vector<TModuleText> modules = ReadModuleRun(line, pos);
            SkipBlanks(line, pos);
            if (pos < line.size() && line[pos] != '#')
                throw ESyntaxError(pos, "the axiom ends at the blank before this; expected a '#' comment or the end "
                                        "of the line");
            return CompileModules(modules, {&Program->Constants, {}, nullptr, false}, *Program->Evaluation);
        });
    }

    void Rule(size_t i)
    {
        Program->Rules.push_back(OnLine(i, ReadingRule, [&](std::string_view line) {
            return CompileRule(line, static_cast<int>(i) + 1, Program->Constants, *Program->Evaluation);
        }));
    }

    // The rules by predecessor; the scaled rules of a fractional last step as
    // a classic definition has them: those before the first rule for "+",
    // except those of the drawing and moving letters.
    void Index()
    {
        bool beforePlus = true;
        for (size_t r = 0; r < Program->Rules.size(); ++r) {
            TExtendedRule& rule = Program->Rules[r];
            const unsigned char p = rule.Predecessor.Symbol;
            beforePlus = beforePlus && p != '+';
            rule.Scaled = beforePlus && p != 'F' && p != 'f' && p != 'Z' && p != 'z';
            Program->RulesFor[p].push_back(static_cast<int>(r));
            Program->Weighted[p] = Program->Weighted[p] || rule.Weight.has_value();
            Program->HasContext = Program->HasContext || !rule.Left.empty() || !rule.Right.empty();
            auto plain = [&](const std::vector<TModulePattern>& context) {
                return std::none_of(context.begin(), context.end(), [&](const TModulePattern& m) {
                    return Program->Ignored[m.Symbol] || m.Symbol == '[' || m.Symbol == ']';
                });
            };
            rule.PlainLeft = plain(rule.Left);
            rule.PlainRight = plain(rule.Right);
        }
    }

    static TParameterText Trimmed(std::string_view line, size_t from, size_t to)
    {
        while (from < to && (line[from] == ' ' || line[from] == '\t')) ++from;
        while (to > from && (line[to - 1] == ' ' || line[to - 1] == '\t')) --to;
        return {line.substr(from, to - from), from};
    }

    const TLines& Lines;
    std::unique_ptr<TExtendedProgram> Program = std::make_unique<TExtendedProgram>();
    std::vector<size_t> DefineLines, IgnoreLines, RuleLines;
    size_t ValueLineAt[3] = {};
    size_t AxiomAt = 0;
};

} // namespace

bool IsExtendedDefinition(const TLines& Lines)
{
    int valueLines = 0;
    for (const std::string& line : Lines) {
        if (line == "#extended") return true;
        if (line.empty() || line[0] == '#') continue;
        if (++valueLines > 4 && line[0] == '@') return false;
    }
    return false;
}

std::unique_ptr<TExtendedProgram> CompileExtendedDefinition(const TLines& Lines, TValidation& Validation)
{
    Validation = {};
    try {
        return TCompiler(Lines).Run();
    } catch (const TFault& fault) {
        Validation = {false, fault.Fixed, static_cast<int>(fault.Line) + 1, fault.Detail,
                      static_cast<int>(fault.Column) + 1};
        return nullptr;
    }
}

bool OverrideDefine(TLines& Lines, std::string_view Name, std::string_view Value, std::string& Error)
{
    if (!IsExtendedDefinition(Lines)) {
        Error = "--define needs an extended definition (a line \"#extended\"); this one has no constants";
        return false;
    }
    for (std::string& line : Lines) {
        if (!IsDirectiveLine(line, "#define")) continue;
        size_t pos = 7;
        SkipBlanks(line, pos);
        const size_t nameAt = pos;
        while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t' && line[pos] != '[') ++pos;
        if (std::string_view(line).substr(nameAt, pos - nameAt) != Name) continue;
        const size_t bracket = line.find('[', pos);
        std::string changed = line.substr(0, pos);
        changed.append(" ").append(Value);
        if (bracket != std::string::npos) changed.append(" ").append(line, bracket);
        line = std::move(changed);
        return true;
    }
    Error = "the definition has no constant '";
    Error.append(Name).append("' (no line \"#define ").append(Name).append(" ...\")");
    return false;
}

} // namespace verdel
