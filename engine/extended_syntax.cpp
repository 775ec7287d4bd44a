#include "engine/extended_syntax.h"

#include "engine/command_table.h"
#include "engine/definition.h"

namespace verdel {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Shown(unsigned char c) { return std::string("'") + static_cast<char>(c) + "'"; }

// The parameter between From and To, without its blanks; empty ones are refused.
TParameterText Parameter(std::string_view line, size_t from, size_t to)
{
    size_t first = from;
    size_t last = to;
    while (first < last && IsBlank(line[first])) ++first;
    while (last > first && IsBlank(line[last - 1])) --last;
    if (first == last) throw ESyntaxError(from, "a parameter is missing; expected an expression before ',' or ')'");
    return {line.substr(first, last - first), first};
}

} // namespace

bool IsModuleSymbol(unsigned char c) { return IsRuleChar(c) && c != '(' && c != ')' && c != ','; }

void SkipBlanks(std::string_view Line, size_t& Pos)
{
    while (Pos < Line.size() && IsBlank(Line[Pos])) ++Pos;
}

TModuleText ReadModule(std::string_view Line, size_t& Pos)
{
    if (Pos >= Line.size()) throw ESyntaxError(Pos, "the line ends here; expected a module (a command or a letter)");
    const auto symbol = static_cast<unsigned char>(Line[Pos]);
    if (!IsModuleSymbol(symbol)) {
        const std::string what = symbol == ')' ? "')' without '('" : Shown(symbol);
        throw ESyntaxError(Pos, "unexpected " + what + "; expected a module (a command or a letter)");
    }
    TModuleText module{symbol, Pos, {}};
    ++Pos;
    if (Pos >= Line.size() || Line[Pos] != '(') return module;

    const size_t open = Pos;
    size_t start = open + 1;
    int depth = 0;
    for (size_t i = start; i < Line.size(); ++i) {
        const char c = Line[i];
        if (c == '(') ++depth;
        if (c == ')' && depth-- == 0) {
            module.Parameters.push_back(Parameter(Line, start, i));
            Pos = i + 1;
            CheckParameterCount(module);
            return module;
        }
        if (c == ',' && depth == 0) {
            module.Parameters.push_back(Parameter(Line, start, i));
            start = i + 1;
        }
    }
    throw ESyntaxError(open, "unbalanced parentheses: this '(' is never closed; expected ')'");
}

std::vector<TModuleText> ReadModuleRun(std::string_view Line, size_t& Pos)
{
    std::vector<TModuleText> modules;
    while (Pos < Line.size() && !IsBlank(Line[Pos]) && Line[Pos] != '#') modules.push_back(ReadModule(Line, Pos));
    return modules;
}

void CheckParameterCount(const TModuleText& Module)
{
    const size_t count = Module.Parameters.size();
    const TCommandInfo* command = FindTurtleCommand(Module.Symbol);
    const std::string name = Shown(Module.Symbol);
    if (count > MaxModuleParameters)
        throw ESyntaxError(Module.Column, "the module " + name + " has " + std::to_string(count) + " parameters; at most " +
                                              std::to_string(MaxModuleParameters) + " fit");
    if (!command || count == 0) return;
    if (command->Parameter.empty())
        throw ESyntaxError(Module.Column, "the command " + name + " takes no parameter");
    if (count > 1)
        throw ESyntaxError(Module.Column, "the command " + name + " takes one parameter (" +
                                              std::string(command->Parameter) + "), not " + std::to_string(count));
}

} // namespace verdel
