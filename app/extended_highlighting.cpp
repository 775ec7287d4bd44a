#include "app/extended_highlighting.h"

#include <algorithm>

#include "app/highlight_spans.h"
#include "engine/definition.h"
#include "engine/extended_definition.h"
#include "engine/extended_syntax.h"

namespace verdel {

namespace {

using K = THighlightKind;

// Line[From, To) without the blanks at its ends, as a span of Kind.
void AddTrimmed(THighlightSpans& spans, std::string_view line, size_t from, size_t to, K kind)
{
    while (from < to && (line[from] == ' ' || line[from] == '\t')) ++from;
    while (to > from && (line[to - 1] == ' ' || line[to - 1] == '\t')) --to;
    spans.Add(from, to - from, kind);
}

// A module: its symbol as Kind (or, when none is given, by its command
// family, a symbol that is no command as the axiom's), its "(...)" as Parameter.
void AddModule(THighlightSpans& spans, const TModuleText& m, size_t end, std::optional<K> kind)
{
    const TCommandInfo* command = FindTurtleCommand(m.Symbol);
    spans.Add(m.Column, 1, kind ? *kind : command ? KindOf(command->Family) : K::Axiom);
    spans.Add(m.Column + 1, end - m.Column - 1, K::Parameter);
}

// The modules from Pos up to the first blank outside parentheses; false, with
// the rest of the line marked, when they cannot be read.
bool AddModuleRun(THighlightSpans& spans, std::string_view line, size_t& pos, std::optional<K> kind)
{
    try {
        const std::vector<TModuleText> modules = ReadModuleRun(line, pos);
        for (size_t k = 0; k < modules.size(); ++k)
            AddModule(spans, modules[k], k + 1 < modules.size() ? modules[k + 1].Column : pos, kind);
        return true;
    } catch (const ESyntaxError& error) {
        spans.Add(error.Column, line.size() - std::min(error.Column, line.size()), K::Error);
        return false;
    }
}

// "#define NAME VALUE [lo, hi]", "#ignore SYMBOLS", "#extended"; other comments.
void AddCommentLine(THighlightSpans& spans, std::string_view line)
{
    const size_t word = std::min(line.find_first_of(" \t:"), line.size());
    const std::string_view directive = line.substr(0, word);
    if (directive != "#define" && directive != "#ignore" && line != "#extended") {
        spans.Add(0, line.size(), K::Comment);
        return;
    }
    spans.Add(0, word, K::Directive);
    size_t pos = word;
    if (directive == "#ignore") {
        for (; pos < line.size(); ++pos)
            if (line[pos] != ' ' && line[pos] != '\t' && line[pos] != ':') spans.Add(pos, 1, K::Context);
        return;
    }
    SkipBlanks(line, pos);
    const size_t name = pos;
    while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t' && line[pos] != '[') ++pos;
    spans.Add(name, pos - name, K::Predecessor);
    const size_t bracket = std::min(line.find('[', pos), line.size());
    AddTrimmed(spans, line, pos, bracket, K::Value);
    spans.Add(bracket, line.size() - bracket, K::Parameter);
}

// The left side of a rule up to Arrow: contexts, predecessor, separators and condition.
void AddLeftSide(THighlightSpans& spans, std::string_view line, size_t arrow)
{
    const std::string_view left = line.substr(0, arrow);
    struct TPiece {
        TModuleText Module;
        size_t End;
        int Segment;
    };
    std::vector<TPiece> pieces;
    std::vector<size_t> separators;
    bool leftContext = false;
    size_t pos = 0, condition = arrow;
    try {
        for (bool first = true;; first = false) {
            SkipBlanks(left, pos);
            if (pos >= left.size()) break;
            if (!first && left[pos] == ':') {
                condition = pos;
                break;
            }
            if (!first && (left[pos] == '<' || left[pos] == '>')) {
                leftContext = leftContext || (left[pos] == '<' && separators.empty());
                separators.push_back(pos++);
                continue;
            }
            TModuleText module = ReadModule(left, pos);
            pieces.push_back({std::move(module), pos, static_cast<int>(separators.size())});
        }
    } catch (const ESyntaxError& error) {
        condition = arrow;
        pos = error.Column;
    }
    // The predecessor is the segment after a "<", else the first one.
    const int predecessor = leftContext ? 1 : 0;
    for (const TPiece& p : pieces)
        AddModule(spans, p.Module, p.End, p.Segment == predecessor ? K::Predecessor : K::Context);
    for (const size_t s : separators) spans.Add(s, 1, K::Separator);
    if (condition < arrow) {
        spans.Add(condition, 1, K::Separator);
        AddTrimmed(spans, line, condition + 1, arrow, K::Condition);
    } else if (pos < arrow) {
        spans.Add(pos, arrow - pos, K::Error);
    }
}

// A rule: its left side, "-->", the successor, then ": WEIGHT" and a comment.
void AddRule(THighlightSpans& spans, std::string_view line)
{
    const size_t arrow = line.find("-->", 1);
    if (arrow == std::string_view::npos) {
        spans.Add(0, line.size(), K::Error);
        return;
    }
    AddLeftSide(spans, line, arrow);
    spans.Add(arrow, 3, K::Separator);
    size_t pos = arrow + 3;
    SkipBlanks(line, pos);
    if (!AddModuleRun(spans, line, pos, std::nullopt)) return;
    SkipBlanks(line, pos);
    const size_t comment = std::min(line.find('#', pos), line.size());
    if (pos < comment && line[pos] == ':') {
        spans.Add(pos, 1, K::Separator);
        AddTrimmed(spans, line, pos + 1, comment, K::Weight);
    } else {
        spans.Add(pos, comment - pos, K::Error);
    }
    spans.Add(comment, line.size() - comment, K::Comment);
}

} // namespace

std::vector<THighlightSpan> HighlightExtendedLine(std::string_view Line, int ValueLines)
{
    THighlightSpans spans;
    if (Line.empty()) return {};
    if (Line[0] == '#') {
        AddCommentLine(spans, Line);
    } else if (static_cast<unsigned char>(Line[0]) <= ' ') {
        spans.Add(0, Line.size(), K::Error);
    } else if (ValueLines < 3) {
        // A number or an expression of constants, up to a "#".
        const size_t comment = std::min(Line.find('#'), Line.size());
        AddTrimmed(spans, Line, 0, comment, K::Value);
        spans.Add(comment, Line.size() - comment, K::Comment);
    } else if (ValueLines == 3) {
        size_t pos = 0;
        if (AddModuleRun(spans, Line, pos, std::nullopt)) spans.Add(pos, Line.size() - pos, K::Comment);
    } else if (Line[0] == '@') {
        spans.Add(0, Line.size(), Line.size() >= 3 && Line[1] == '(' ? K::Directive : K::EndLine);
    } else {
        AddRule(spans, Line);
    }
    // A rule's left side adds its separators after its modules: put them in order.
    std::sort(spans.List.begin(), spans.List.end(),
              [](const THighlightSpan& a, const THighlightSpan& b) { return a.Start < b.Start; });
    THighlightSpans ordered;
    for (const THighlightSpan& span : spans.List)
        ordered.Add(static_cast<size_t>(span.Start), static_cast<size_t>(span.Length), span.Kind);
    return ordered.List;
}

std::optional<TFaultMark> ExtendedFaultMark(const TLines& Lines)
{
    if (!IsExtendedDefinition(Lines)) return std::nullopt;
    const TValidation validation = ValidateDefinition(Lines);
    if (validation.Ok) return std::nullopt;
    return TFaultMark{validation.Line, validation.Column, validation.ErrorText + ": " + validation.Detail};
}

THighlightSpan FaultSpan(std::string_view Line, int Column)
{
    const auto size = static_cast<int>(Line.size());
    if (Column <= 0 || Column > size) return {0, size, K::Error};
    int end = Column;
    while (end < size && Line[static_cast<size_t>(end)] != ' ' && Line[static_cast<size_t>(end)] != '\t') ++end;
    return {Column - 1, end - Column + 1, K::Error};
}

} // namespace verdel
