// Reading the pieces of an extended definition's lines: modules with their
// parameter texts, names, and errors that say where they are.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace verdel {

// A syntax or name error: Column counts characters of the line from 0,
// Message says what stands there and what was expected.
class ESyntaxError : public std::runtime_error {
public:
    ESyntaxError(size_t column, const std::string& message) : std::runtime_error(message), Column(column) {}
    size_t Column;
};

// One parameter as written: its text without the blanks around it, and where it starts.
struct TParameterText {
    std::string_view Text;
    size_t Column = 0;
};

// One module as written: a symbol and, when "(...)" follows it, the texts of its parameters.
struct TModuleText {
    unsigned char Symbol = 0;
    size_t Column = 0;
    std::vector<TParameterText> Parameters;
};

// Most parameters one module may carry.
constexpr size_t MaxModuleParameters = 32;

// Whether a character may be a module's symbol: a rule character other than
// the parentheses and the comma, which write parameters.
bool IsModuleSymbol(unsigned char c);

// Reads the module at Line[Pos] and moves Pos past it (past its ")" when it
// has parameters). Throws ESyntaxError when no module stands there, a "(" is
// never closed, or a parameter is empty.
TModuleText ReadModule(std::string_view Line, size_t& Pos);

// Reads modules from Pos up to the first blank outside parentheses, a "#" or
// the end of the line; Pos ends there.
std::vector<TModuleText> ReadModuleRun(std::string_view Line, size_t& Pos);

// Checks the number of parameters of a turtle command: at most one for a
// command that takes a parameter, none for one that takes none; any number
// (up to MaxModuleParameters) for other symbols.
void CheckParameterCount(const TModuleText& Module);

// Moves Pos past blanks and tabs.
void SkipBlanks(std::string_view Line, size_t& Pos);

} // namespace verdel
