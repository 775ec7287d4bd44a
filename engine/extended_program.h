// An extended definition compiled for rewriting: constants, ignored symbols,
// the axiom and the rules with their compiled expressions.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/expression.h"
#include "engine/module_string.h"

namespace verdel {

// A module of a predecessor or context: its symbol and number of formal
// parameters ("[" and "]" of a right context have none).
struct TModulePattern {
    unsigned char Symbol = 0;
    uint8_t Count = 0;
    uint16_t FirstSlot = 0; // the rule's formal slot of its first parameter
};

// A module to write: its symbol and one expression per parameter.
struct TModuleTemplate {
    unsigned char Symbol = 0;
    std::vector<TExpression> Parameters;
    bool Constant = false;            // every parameter is constant: the module is written as it is below
    std::vector<double> Values;       // the constant parameters
    int TextLength = 0;               // the characters the constant module writes
};

// One rule: [LEFT <] PRED [> RIGHT] [: CONDITION] --> SUCCESSOR [: WEIGHT].
struct TExtendedRule {
    int Line = 0; // counted from 1
    std::vector<TModulePattern> Left;
    TModulePattern Predecessor;
    std::vector<TModulePattern> Right; // may hold "[" and "]"
    std::optional<TExpression> Condition;
    std::optional<TExpression> Weight;
    std::vector<TModuleTemplate> Successor;
    bool ConstantSuccessor = false; // every parameter of the successor is constant: it is Written as it stands
    TModuleString Written;
    int64_t WrittenLength = 0;
    bool Scaled = false; // wrapped in "@" pairs in a fractional last step, as classic rules are
    // The contexts hold no ignored symbol (and the right one no branch), so
    // each of their modules is simply the neighbour of the one before.
    bool PlainLeft = false, PlainRight = false;
    std::unique_ptr<double[]> Formals; // the values the expressions read, bound for each module matched
};

// A "#define" line as its slider or field shows it: the constant, its line
// (counted from 1), its value and, when the line gives one, its range.
struct TConstantLine {
    std::string Name;
    int Line = 0;
    double Value = 0;
    bool Ranged = false;
    double Low = 0, High = 0;
};

// The whole compiled definition. Its expressions point into it, so it stays
// where it was made (it is only held through a pointer).
struct TExtendedProgram {
    TConstants Constants;
    std::vector<TConstantLine> ConstantLines; // in file order
    std::array<bool, 256> Ignored{};
    int IterationLine = 0; // counted from 1, like AxiomLine
    int AxiomLine = 0;
    std::vector<TModuleTemplate> Axiom;
    std::vector<TExtendedRule> Rules;
    std::array<std::vector<int>, 256> RulesFor; // rule indices by predecessor symbol, in file order
    std::array<bool, 256> Weighted{};           // some rule for the symbol has a weight
    bool HasContext = false;
    double IterationValue = 0, AngleValue = 0, ThicknessValue = 0;
    std::unique_ptr<TEvaluation> Evaluation = std::make_unique<TEvaluation>();
};

} // namespace verdel
