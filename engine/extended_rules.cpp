#include "engine/extended_rules.h"

#include <algorithm>

#include "engine/module_string.h"

namespace verdel {

namespace {

TExpression Compile(std::string_view text, size_t column, const TExpressionScope& scope, TEvaluation& evaluation)
{
    try {
        return TExpression(text, scope, evaluation);
    } catch (const EExpressionError& error) {
        throw ESyntaxError(column + error.Offset, error.what());
    }
}

// The text from Pos up to a "#" or the end of the line, without the blanks around it.
TParameterText TextToComment(std::string_view line, size_t pos)
{
    SkipBlanks(line, pos);
    size_t end = std::min(line.find('#', pos), line.size());
    while (end > pos && (line[end - 1] == ' ' || line[end - 1] == '\t')) --end;
    return {line.substr(pos, end - pos), pos};
}

// The rule's left side, module by module, with the separators "<" and ">"
// splitting it into up to three segments and ":" starting the condition. The
// first module is always a module, so "<", ">" and ":" can be rewritten by a
// rule without contexts.
struct TLeftSide {
    std::vector<std::vector<TModuleText>> Segments{1};
    std::string Separators; // "", "<", ">" or "<>"
    std::vector<size_t> SeparatorColumns;
    TParameterText Condition;
    bool HasCondition = false;
};

TLeftSide ReadLeftSide(std::string_view line, size_t arrow)
{
    const std::string_view left = line.substr(0, arrow);
    TLeftSide side;
    size_t pos = 0;
    for (bool first = true;; first = false) {
        SkipBlanks(left, pos);
        if (pos >= left.size()) break;
        const char c = left[pos];
        if (!first && c == ':') {
            side.Condition = TextToComment(left, pos + 1);
            side.HasCondition = true;
            if (side.Condition.Text.empty()) throw ESyntaxError(pos + 1, "expected a condition after ':'");
            break;
        }
        if (!first && (c == '<' || c == '>')) {
            if (side.Separators.find(c) != std::string::npos)
                throw ESyntaxError(pos, std::string("a second '") + c + "'; a rule has one left and one right context");
            if (c == '<' && !side.Separators.empty())
                throw ESyntaxError(pos, "'<' after '>'; the left context comes before the predecessor");
            side.Separators += c;
            side.SeparatorColumns.push_back(pos++);
            side.Segments.emplace_back();
            continue;
        }
        side.Segments.back().push_back(ReadModule(left, pos));
    }
    return side;
}

// Checks each segment's size and gives the predecessor its place.
void SplitSides(const TLeftSide& side, size_t arrow, const TModuleText*& predecessor,
                const std::vector<TModuleText>*& left, const std::vector<TModuleText>*& right)
{
    const size_t p = side.Separators.size() > 0 && side.Separators[0] == '<' ? 1 : 0;
    left = p == 1 ? &side.Segments[0] : nullptr;
    right = side.Separators.find('>') != std::string::npos ? &side.Segments.back() : nullptr;
    const std::vector<TModuleText>& middle = side.Segments[p];
    if (middle.empty()) {
        const size_t after = p == 1 ? side.SeparatorColumns[0] + 1 : arrow;
        throw ESyntaxError(after, "expected the predecessor, one module, after '<'");
    }
    if (middle.size() > 1)
        throw ESyntaxError(middle[1].Column,
                           "a rule rewrites one module; expected '<', '>', ':' or '-->' after the predecessor");
    if (right && right->empty())
        throw ESyntaxError(side.SeparatorColumns.back() + 1, "expected the right context after '>'");
    predecessor = &middle[0];
}

void CheckBranches(const std::vector<TModuleText>* left, const std::vector<TModuleText>* right)
{
    if (left)
        for (const TModuleText& m : *left)
            if (m.Symbol == '[' || m.Symbol == ']') throw ESyntaxError(m.Column, "a left context holds no branches");
    if (!right) return;
    std::vector<size_t> open;
    for (const TModuleText& m : *right) {
        if (m.Symbol == '[') open.push_back(m.Column);
        if (m.Symbol != ']') continue;
        if (open.empty()) throw ESyntaxError(m.Column, "unbalanced ']' in the right context; expected '[' before it");
        open.pop_back();
    }
    if (!open.empty()) throw ESyntaxError(open.back(), "unbalanced '[' in the right context; expected ']' after it");
}

// Adds the formal parameters of Module to the scope and returns its pattern.
TModulePattern Pattern(const TModuleText& module, std::vector<std::string>& names)
{
    TModulePattern pattern{module.Symbol, static_cast<uint8_t>(module.Parameters.size()),
                           static_cast<uint16_t>(names.size())};
    for (const TParameterText& p : module.Parameters) {
        const std::string name(p.Text);
        if (!IsValidName(name))
            throw ESyntaxError(p.Column, "'" + name + "' is not a parameter name; expected a letter, then letters, "
                                                      "digits or '_'");
        if (IsFunctionName(name)) throw ESyntaxError(p.Column, "'" + name + "' is a function; a parameter needs another name");
        if (std::find(names.begin(), names.end(), name) != names.end())
            throw ESyntaxError(p.Column, "the parameter '" + name + "' is named twice in this rule");
        names.push_back(name);
    }
    return pattern;
}

void ReadPatterns(TExtendedRule& rule, const TLeftSide& side, size_t arrow, std::vector<std::string>& names)
{
    const TModuleText* predecessor = nullptr;
    const std::vector<TModuleText>* left = nullptr;
    const std::vector<TModuleText>* right = nullptr;
    SplitSides(side, arrow, predecessor, left, right);
    CheckBranches(left, right);
    if (left)
        for (const TModuleText& m : *left) rule.Left.push_back(Pattern(m, names));
    rule.Predecessor = Pattern(*predecessor, names);
    if (right)
        for (const TModuleText& m : *right) rule.Right.push_back(Pattern(m, names));
}

// The successor after "-->", and a weight after it.
void ReadSuccessor(TExtendedRule& rule, std::string_view line, size_t arrow, const TExpressionScope& scope,
                   TEvaluation& evaluation)
{
    size_t pos = arrow + 3;
    SkipBlanks(line, pos);
    rule.Successor = CompileModules(ReadModuleRun(line, pos), scope, evaluation);
    rule.ConstantSuccessor = std::all_of(rule.Successor.begin(), rule.Successor.end(),
                                         [](const TModuleTemplate& m) { return m.Constant; });
    for (const TModuleTemplate& m : rule.Successor) {
        rule.Written.Append(m.Symbol, m.Values.data(), static_cast<int>(m.Values.size()), m.TextLength);
        rule.WrittenLength += m.TextLength;
    }
    SkipBlanks(line, pos);
    if (pos >= line.size() || line[pos] == '#') return;
    if (line[pos] != ':')
        throw ESyntaxError(pos, "the successor ends at the blank before this; expected ': WEIGHT', a '#' comment or "
                                "the end of the line");
    const TParameterText weight = TextToComment(line, pos + 1);
    if (weight.Text.empty()) throw ESyntaxError(pos + 1, "expected a weight after ':'");
    rule.Weight = Compile(weight.Text, weight.Column, scope, evaluation);
    if (rule.Weight->IsConstant() && rule.Weight->Evaluate() < 0)
        throw ESyntaxError(weight.Column, "a weight is 0 or more");
}

} // namespace

std::vector<TModuleTemplate> CompileModules(const std::vector<TModuleText>& Modules, const TExpressionScope& Scope,
                                            TEvaluation& Evaluation)
{
    std::vector<TModuleTemplate> templates;
    templates.reserve(Modules.size());
    for (const TModuleText& module : Modules) {
        TModuleTemplate t;
        t.Symbol = module.Symbol;
        for (const TParameterText& p : module.Parameters)
            t.Parameters.push_back(Compile(p.Text, p.Column, Scope, Evaluation));
        t.Constant = std::all_of(t.Parameters.begin(), t.Parameters.end(), [](const TExpression& e) { return e.IsConstant(); });
        if (t.Constant) {
            TModuleString written;
            for (const TExpression& e : t.Parameters) t.Values.push_back(e.Evaluate());
            written.Append(t.Symbol, t.Values.data(), static_cast<int>(t.Values.size()));
            t.TextLength = written.TextLength(0);
        }
        templates.push_back(std::move(t));
    }
    return templates;
}

double ConstantValue(std::string_view Text, size_t Column, const TConstants& Constants, TEvaluation& Evaluation)
{
    const TExpression expression = Compile(Text, Column, {&Constants, {}, nullptr, false}, Evaluation);
    if (!expression.IsConstant())
        throw ESyntaxError(Column, "rand() is drawn while rewriting and cannot stand here; expected numbers and "
                                   "#define constants");
    return expression.Evaluate();
}

TExtendedRule CompileRule(std::string_view Line, int LineNumber, const TConstants& Constants, TEvaluation& Evaluation)
{
    // The predecessor stands in column 0, so "--->" rewrites "-".
    const size_t arrow = Line.find("-->", 1);
    if (arrow == std::string_view::npos) {
        const size_t equals = Line.find('=');
        // A "=" that is no part of a comparison: a rule written the classic way.
        const bool assigns = equals != std::string_view::npos && equals > 0 &&
                             std::string_view("<>!=").find(Line[equals - 1]) == std::string_view::npos &&
                             (equals + 1 == Line.size() || Line[equals + 1] != '=');
        if (assigns)
            throw ESyntaxError(equals, "an extended definition writes a rule with '-->', not '='");
        throw ESyntaxError(Line.size(), "'-->' is missing; expected [LEFT <] PRED [> RIGHT] [: CONDITION] --> SUCCESSOR");
    }
    TExtendedRule rule;
    rule.Line = LineNumber;
    const TLeftSide side = ReadLeftSide(Line, arrow);
    std::vector<std::string> names;
    ReadPatterns(rule, side, arrow, names);

    rule.Formals = std::make_unique<double[]>(std::max<size_t>(names.size(), 1));
    const TExpressionScope scope{&Constants, names, rule.Formals.get(), true};
    if (side.HasCondition && side.Condition.Text != "*")
        rule.Condition = Compile(side.Condition.Text, side.Condition.Column, scope, Evaluation);
    ReadSuccessor(rule, Line, arrow, scope, Evaluation);
    return rule;
}

} // namespace verdel
