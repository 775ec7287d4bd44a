// Extended definitions: a comment line "#extended" before the end line opts
// a definition into named constants, context and stochastic rules, rule
// conditions and parameters computed by expressions.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "engine/definition.h"
#include "engine/extended_program.h"

namespace verdel {

// Whether one of the comment lines before the end line reads exactly "#extended".
bool IsExtendedDefinition(const TLines& Lines);

// Compiles an extended definition. On the first fault returns nothing and
// fills Validation: the fixed message, the line and column, and what stands
// there and what was expected.
std::unique_ptr<TExtendedProgram> CompileExtendedDefinition(const TLines& Lines, TValidation& Validation);

// Replaces the value of the line "#define Name VALUE [lo, hi]" by Value (an
// expression, kept as written; the range stays). False, with Error saying
// why, when Lines hold no extended definition or no constant of that name.
bool OverrideDefine(TLines& Lines, std::string_view Name, std::string_view Value, std::string& Error);

} // namespace verdel
