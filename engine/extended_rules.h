// Compiling the parts of an extended definition that carry expressions: rule
// lines, module runs (the axiom) and single values.
#pragma once

#include <string_view>
#include <vector>

#include "engine/extended_program.h"
#include "engine/extended_syntax.h"

namespace verdel {

// Compiles the rule line Line (number LineNumber):
// [LEFT <] PRED [> RIGHT] [: CONDITION] --> SUCCESSOR [: WEIGHT].
// Throws ESyntaxError with the column and what was expected.
TExtendedRule CompileRule(std::string_view Line, int LineNumber, const TConstants& Constants, TEvaluation& Evaluation);

// Compiles modules whose parameters are expressions in Scope.
std::vector<TModuleTemplate> CompileModules(const std::vector<TModuleText>& Modules, const TExpressionScope& Scope,
                                            TEvaluation& Evaluation);

// The value of Text, an expression of numbers and constants alone (no rand()),
// which starts at Column of its line. Throws ESyntaxError.
double ConstantValue(std::string_view Text, size_t Column, const TConstants& Constants, TEvaluation& Evaluation);

} // namespace verdel
