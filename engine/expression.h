// Expressions of extended definitions: numbers, formal parameters and named
// constants with arithmetic, comparisons, logic and functions, compiled once
// and evaluated in double precision.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/random_source.h"

namespace mu {
class Parser;
}

namespace verdel {

// The named constants of a definition (#define), in the order they were declared.
using TConstants = std::vector<std::pair<std::string, double>>;

// What the expressions of one place may name: the constants, and the formal
// parameters of one rule, each bound to a value slot (a formal hides a
// constant of the same name).
struct TExpressionScope {
    const TConstants* Constants = nullptr;
    std::vector<std::string> FormalNames;
    double* Formals = nullptr;     // slot k holds the value of FormalNames[k]
    bool FormalsAllowed = false;   // only rules have formals: sets the wording of unknown names
};

// Shared by every expression of a definition while it is evaluated: the
// source rand() draws from, and the first domain fault met ("log of a
// negative number"), which the caller reads and clears after each value.
struct TEvaluation {
    TRandomSource* Random = nullptr; // none while compiling: rand(a, b) gives a without drawing
    const char* Fault = nullptr;
    bool DrewRandom = false; // rand() was called since the caller last cleared it
};

// A syntax or name error in an expression: Offset counts from the start of the
// expression's text, Message says what stands there and what was expected.
class EExpressionError : public std::runtime_error {
public:
    EExpressionError(size_t offset, const std::string& message) : std::runtime_error(message), Offset(offset) {}
    size_t Offset;
};

// One compiled expression. Expressions without formals and without rand()
// are evaluated once when compiled.
class TExpression {
public:
    // Compiles Text; throws EExpressionError. Evaluation must outlive the expression.
    TExpression(std::string_view Text, const TExpressionScope& Scope, TEvaluation& Evaluation);
    ~TExpression();
    TExpression(TExpression&&) noexcept;
    TExpression& operator=(TExpression&&) noexcept;

    // The value for the formals now in the scope's slots.
    double Evaluate() const;

    // Whether the value never changes (no formal, no rand()).
    bool IsConstant() const { return !Parser; }

private:
    std::unique_ptr<mu::Parser> Parser; // none for a constant
    double Value = 0;
};

// Whether Name may name a constant or a formal: a letter, then letters, digits and "_".
bool IsValidName(std::string_view Name);

// Whether Name is one of the expression functions (sin, rand, ...), which no constant or formal may take.
bool IsFunctionName(std::string_view Name);

// The shortest decimal text that reads back as exactly Value ("2.5", "1e+21").
std::string ShortestNumberText(double Value);

} // namespace verdel
