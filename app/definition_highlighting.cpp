#include "app/definition_highlighting.h"

#include <algorithm>

#include "app/extended_highlighting.h"
#include "app/highlight_spans.h"
#include "engine/command_table.h"
#include "engine/definition.h"
#include "engine/text_number.h"

namespace verdel {

namespace {

constexpr int AxiomLine = 4; // the fourth value line
constexpr int RuleLines = 5; // every value line after the axiom counts as 5

// Commands and their parameters in Line[From, To); other characters get Other when
// given (the axiom's symbols), else no span. The turtle reads "(x)" up to the next ")".
void AddCommands(THighlightSpans& spans, std::string_view line, size_t from, size_t to,
                 std::optional<THighlightKind> other)
{
    for (size_t i = from; i < to; ++i) {
        const auto c = static_cast<unsigned char>(line[i]);
        const TCommandInfo* command = FindTurtleCommand(c);
        if (!command) {
            if (other && c > ' ') spans.Add(i, 1, *other);
            continue;
        }
        spans.Add(i, 1, KindOf(command->Family));
        if (!TakesParameter(c) || i + 1 >= to || line[i + 1] != '(') continue;
        const size_t close = line.find(')', i + 2);
        const size_t end = close == std::string_view::npos || close >= to ? to : close + 1;
        spans.Add(i + 1, end - (i + 1), THighlightKind::Parameter);
        i = end - 1;
    }
}

// A value line: its number up to the first blank, tab or "#", then a trailing comment.
void AddValueLine(THighlightSpans& spans, std::string_view line)
{
    const size_t end = std::min(line.find_first_of(" \t#"), line.size());
    const bool readable = ParseLeadingNumber(line) != -1.0f;
    spans.Add(0, end, readable ? THighlightKind::Value : THighlightKind::Error);
    spans.Add(end, line.size() - end, THighlightKind::Comment);
}

// A rule line: predecessor, "=", the successor's commands, then text the rule does not keep.
void AddRuleLine(THighlightSpans& spans, std::string_view line)
{
    size_t ruleEnd = 0;
    while (ruleEnd < line.size() && IsRuleChar(static_cast<unsigned char>(line[ruleEnd]))) ++ruleEnd;
    if (ruleEnd == 0) {
        spans.Add(0, line.size(), THighlightKind::Error); // no predecessor: the line holds no rule
        return;
    }
    spans.Add(0, 1, THighlightKind::Predecessor);
    if (ruleEnd >= 2) spans.Add(1, 1, line[1] == '=' ? THighlightKind::Predecessor : THighlightKind::Error);
    if (ruleEnd > 2) AddCommands(spans, line, 2, ruleEnd, std::nullopt);
    spans.Add(ruleEnd, line.size() - ruleEnd, THighlightKind::Comment);
}

} // namespace

TLinePosition NextPosition(std::string_view Line, TLinePosition Before)
{
    if (Before.Ended || Line.empty() || Line[0] == '#') return Before;
    TLinePosition after = Before; // an extended definition's lines stay extended
    after.ValueLines = std::min(Before.ValueLines + 1, RuleLines);
    if (Before.ValueLines >= AxiomLine && Line[0] == '@') after.Ended = true;
    return after;
}

std::vector<THighlightSpan> HighlightLine(std::string_view Line, TLinePosition Before)
{
    if (Before.Extended && !Before.Ended) return HighlightExtendedLine(Line, Before.ValueLines);
    THighlightSpans spans;
    if (Line.empty()) return {};
    if (Before.Ended) {
        spans.Add(0, Line.size(), THighlightKind::Ignored);
    } else if (Line[0] == '#') {
        spans.Add(0, Line.size(), THighlightKind::Comment);
    } else if (static_cast<unsigned char>(Line[0]) <= ' ') {
        spans.Add(0, Line.size(), THighlightKind::Error);
    } else if (Before.ValueLines < AxiomLine - 1) {
        AddValueLine(spans, Line);
    } else if (Before.ValueLines == AxiomLine - 1) {
        AddCommands(spans, Line, 0, Line.size(), THighlightKind::Axiom);
    } else if (Line[0] == '@') {
        const bool directive = Line.size() >= 3 && Line[1] == '(';
        spans.Add(0, Line.size(), directive ? THighlightKind::Directive : THighlightKind::EndLine);
    } else {
        AddRuleLine(spans, Line);
    }
    return spans.List;
}

std::optional<int> MatchingBracket(std::string_view Line, int Position)
{
    static constexpr std::string_view Openers = "([{", Closers = ")]}";
    if (Position < 0 || static_cast<size_t>(Position) >= Line.size()) return std::nullopt;
    const char c = Line[static_cast<size_t>(Position)];
    const size_t open = Openers.find(c), close = Closers.find(c);
    if (open == std::string_view::npos && close == std::string_view::npos) return std::nullopt;
    const bool forward = open != std::string_view::npos;
    const char self = c, partner = forward ? Closers[open] : Openers[close];
    const int step = forward ? 1 : -1;
    int depth = 0;
    for (int i = Position; i >= 0 && static_cast<size_t>(i) < Line.size(); i += step) {
        if (Line[static_cast<size_t>(i)] == self) ++depth;
        else if (Line[static_cast<size_t>(i)] == partner && --depth == 0) return i;
    }
    return std::nullopt;
}

} // namespace verdel
