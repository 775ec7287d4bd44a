// The turtle's commands and the definition's special characters, each with its
// parameter and effect: the one table behind the Command Reference window, the
// help page of commands, `verdel-cli commands` and the editor's highlighting.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace verdel {

// The groups the commands are listed and coloured by.
enum class TCommandFamily { Draw, Move, Turn, Change, Structure, Special };

// One row of the command table.
struct TCommandInfo {
    std::string_view Command;   // the character(s) as written: "F", "@", "#"
    std::string_view Parameter; // what "(x)" right after the command means; empty when it takes none
    std::string_view Effect;    // what the command does
    TCommandFamily Family;
    bool Turtle; // the turtle acts on it (false for the definition's own syntax, such as "#")
};

// Every row, grouped by family in the order of TCommandFamily.
std::span<const TCommandInfo> CommandTable();

// The turtle command written as the single character C, or nullptr.
const TCommandInfo* FindTurtleCommand(unsigned char C);

// Whether the turtle reads a "(x)" right after the command C.
bool TakesParameter(unsigned char C);

// The heading of a family in the reference: "Drawing", "Moving", ...
std::string_view FamilyName(TCommandFamily Family);

// The table as plain text: a heading per family, one aligned line per command.
std::string CommandTableText();

// The table as the rows of an HTML table (header row included), text escaped.
std::string CommandTableHtml();

} // namespace verdel
