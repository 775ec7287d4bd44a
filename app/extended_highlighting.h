// How the editor colours the lines of an extended definition, and where the
// compiler's first fault in one stands.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/definition_highlighting.h"
#include "engine/text_lines.h"

namespace verdel {

// The coloured stretches of a line of an extended definition before its end
// line, read after ValueLines value lines: directives, value lines (numbers
// or expressions), the axiom's modules, and rules with their contexts,
// separators, condition, successor and weight. A rule that cannot be read
// is marked Error from where the reading stopped.
std::vector<THighlightSpan> HighlightExtendedLine(std::string_view Line, int ValueLines);

// The first fault the validator finds in an extended definition: the line
// (from 1), the column (from 1; 0 for the whole line) and what was expected.
struct TFaultMark {
    int Line = 0;
    int Column = 0;
    std::string Message;
};

// The fault mark of Lines; nothing when they are valid or not extended.
std::optional<TFaultMark> ExtendedFaultMark(const TLines& Lines);

// Where the mark's underline runs on its line: from the column to the end of
// the word there (the whole line when the column is 0 or past its end).
THighlightSpan FaultSpan(std::string_view Line, int Column);

} // namespace verdel
