// The mutator's change of an extended definition: its "#define" values and
// its rules' weights move; every other character stays as it is.
#pragma once

#include <optional>
#include <string>

#include "engine/random_source.h"
#include "engine/text_lines.h"

namespace verdel {

// A number the mutator may change: where its text stands, its value and,
// for a constant with a range, the range's ends.
struct TTunableValue {
    size_t Line = 0;   // 0-based
    size_t Column = 0; // 0-based, the first character of the number
    size_t Length = 0;
    double Value = 0;
    bool Ranged = false;
    double Low = 0, High = 0;
    std::string LowText, HighText; // the range's ends as written
};

// The values of a valid extended definition's "#define" lines that are
// written as plain numbers (with a range of plain numbers, when it has one),
// then the weights of its rules written as plain numbers above 0, in line order.
std::vector<TTunableValue> TunableValues(const TLines& Lines);

// The message when Lines are an extended definition with nothing the mutator
// may change; nothing when they are classic or have something.
std::optional<std::string> NothingToMutate(const TLines& Lines);

// Changes Lines' tunable values: each with chance 1/2, and one drawn among
// them when none was. A change moves a value by up to Radiation + 1 elevenths
// of half its range (a constant without one, or a weight, by that share of
// its own size), kept inside its range; a weight stays above 0. The number
// of values changed.
int MutateExtended(TLines& Lines, int Radiation, TRandomSource& Random);

} // namespace verdel
