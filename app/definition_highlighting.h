// How the editor colours a definition: each line's parts by what the reader
// makes of them, given where the line stands in the text.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace verdel {

// What a stretch of a line is.
enum class THighlightKind {
    Comment,     // a "#" line, a value line's trailing text, text after a rule
    Value,       // the number of one of the three value lines
    Axiom,       // a character of the axiom that is no command
    Predecessor, // a rule's predecessor and its "="
    Draw,        // commands by family (see TCommandFamily)
    Move,
    Turn,
    Change,
    Structure,
    Special,
    Parameter, // "(x)" right after a command that reads one
    EndLine,   // the "@" line
    Directive, // the "@(X,text)" line
    Ignored,   // lines after the end line, which are never read
    // The forms of an extended definition ("#extended"):
    Context,   // the modules of a left or right context, and the symbols of "#ignore"
    Separator, // "<" and ">" around the predecessor, ":" before a condition or a weight, "-->"
    Condition, // the expression after ":" on a rule's left side
    Weight,    // the number or expression after a successor's ":"
    Error,     // what the validator rejects: a leading blank, an unreadable value, a rule without "="
};

// A stretch of a line: Start and Length count characters (bytes) from 0.
struct THighlightSpan {
    int Start = 0;
    int Length = 0;
    THighlightKind Kind = THighlightKind::Comment;

    bool operator==(const THighlightSpan&) const = default;
};

// Where the reader stands before a line: how many value lines (non-comment
// lines) it has met, whether it has passed the end line, and whether the
// definition is extended (a "#extended" line anywhere before its end line,
// so the caller knows it from the whole text before the first line).
struct TLinePosition {
    int ValueLines = 0;
    bool Ended = false;
    bool Extended = false;

    bool operator==(const TLinePosition&) const = default;
};

// The position after reading Line from Before.
TLinePosition NextPosition(std::string_view Line, TLinePosition Before);

// The coloured stretches of Line read at Before, left to right, not overlapping;
// characters in no span keep the editor's plain colour.
std::vector<THighlightSpan> HighlightLine(std::string_view Line, TLinePosition Before);

// The position of the bracket matching the one at Position in Line ("(" ")",
// "[" "]", "{" "}"), counting nesting of the same kind; nothing when the
// character is no bracket or has no partner on the line.
std::optional<int> MatchingBracket(std::string_view Line, int Position);

} // namespace verdel
