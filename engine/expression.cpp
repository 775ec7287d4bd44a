#include "engine/expression.h"

#include <muParser.h>

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <numbers>
#include <utility>

namespace verdel {

// The expressions are compiled by muParser (Debian's libmuparser): its grammar
// has the operators and precedences the definitions need, it takes functions
// with user data (rand() draws from the generation's random source) and
// compiles to a bytecode that evaluates a short expression in a few
// nanoseconds. Its extras that the definitions do not have (the "?:"
// operator, assignments, lists of values separated by commas, its own
// functions and constants) are refused or cleared here, so the grammar
// accepted is the one the help page describes.

namespace {

constexpr double DegreesPerRadian = 180.0 / std::numbers::pi;

// Sine and cosine of an angle in degrees. The angle is first brought exactly
// into -45 to 45 degrees around a multiple of 90, so that the multiples of
// 30, 45 and 90 give their exact values (sin 30 is 0.5, cos 90 is 0, tan 45 is 1).
void SinCos(double degrees, double& sine, double& cosine)
{
    const double quarter = std::nearbyint(degrees / 90);
    const double rest = degrees - quarter * 90;
    const double r = std::fabs(rest);
    // Adding 0 makes -0 (the sine of -0, or a negated 0) plain 0.
    const double s = (r == 30 ? std::copysign(0.5, rest)
                      : r == 45 ? std::copysign(std::numbers::sqrt2 / 2, rest)
                                : std::sin(rest / DegreesPerRadian)) + 0.0;
    const double c = r == 45 ? std::numbers::sqrt2 / 2 : std::cos(rest / DegreesPerRadian);
    switch (static_cast<int>(std::fmod(quarter, 4) + 4) % 4) {
    case 0: sine = s, cosine = c; break;
    case 1: sine = c, cosine = -s + 0.0; break;
    case 2: sine = -s + 0.0, cosine = -c; break;
    default: sine = -c, cosine = s; break;
    }
}

double Sin(double x)
{
    double s, c;
    SinCos(x, s, c);
    return s;
}

double Cos(double x)
{
    double s, c;
    SinCos(x, s, c);
    return c;
}

double Tan(double x)
{
    double s, c;
    SinCos(x, s, c);
    return s / c;
}
double Atan(double x) { return std::atan(x) * DegreesPerRadian; }
double Exp(double x) { return std::exp(x); }
double Floor(double x) { return std::floor(x); }
double Ceil(double x) { return std::ceil(x); }
double Abs(double x) { return std::fabs(x); }
double Min(double a, double b) { return std::fmin(a, b); }
double Max(double a, double b) { return std::fmax(a, b); }
double Not(double x) { return x == 0 ? 1 : 0; }

// The functions with a domain note the first fault in the evaluation they belong to.
double Fault(void* evaluation, const char* what)
{
    auto* e = static_cast<TEvaluation*>(evaluation);
    if (!e->Fault) e->Fault = what;
    return std::numeric_limits<double>::quiet_NaN();
}

double Asin(void* e, double x) { return x >= -1 && x <= 1 ? std::asin(x) * DegreesPerRadian : Fault(e, "asin of a number outside -1 to 1"); }
double Acos(void* e, double x) { return x >= -1 && x <= 1 ? std::acos(x) * DegreesPerRadian : Fault(e, "acos of a number outside -1 to 1"); }
double Sqrt(void* e, double x) { return x >= 0 ? std::sqrt(x) : Fault(e, "sqrt of a negative number"); }
double Log(void* e, double x) { return x > 0 ? std::log(x) : Fault(e, "log of zero or a negative number"); }

// Uniform in [a, b) from the random source; while compiling, a without a draw.
double Rand(void* evaluation, double a, double b)
{
    auto* e = static_cast<TEvaluation*>(evaluation);
    e->DrewRandom = true;
    if (!e->Random) return a;
    return a + (b - a) * e->Random->NextReal();
}

constexpr std::array<std::string_view, 14> FunctionNames = {"sin",  "cos",   "tan",  "asin", "acos", "atan", "sqrt",
                                                            "exp",  "log",   "floor", "ceil", "abs", "min",  "max"};

void DefineFunctions(mu::Parser& p, TEvaluation& evaluation)
{
    p.ClearFun();
    p.ClearConst();
    p.ClearPostfixOprt();
    p.DefineInfixOprt("!", Not);
    p.DefineFun("sin", Sin);
    p.DefineFun("cos", Cos);
    p.DefineFun("tan", Tan);
    p.DefineFun("atan", Atan);
    p.DefineFun("exp", Exp);
    p.DefineFun("floor", Floor);
    p.DefineFun("ceil", Ceil);
    p.DefineFun("abs", Abs);
    p.DefineFun("min", Min);
    p.DefineFun("max", Max);
    p.DefineFunUserData("asin", Asin, &evaluation);
    p.DefineFunUserData("acos", Acos, &evaluation);
    p.DefineFunUserData("sqrt", Sqrt, &evaluation);
    p.DefineFunUserData("log", Log, &evaluation);
    p.DefineFunUserData("rand", Rand, &evaluation, false);
}

bool IsFormal(const TExpressionScope& scope, const std::string& name)
{
    for (const std::string& formal : scope.FormalNames)
        if (formal == name) return true;
    return false;
}

void DefineNames(mu::Parser& p, const TExpressionScope& scope)
{
    for (size_t k = 0; k < scope.FormalNames.size(); ++k) p.DefineVar(scope.FormalNames[k], &scope.Formals[k]);
    if (!scope.Constants) return;
    for (const auto& [name, value] : *scope.Constants)
        if (!IsFormal(scope, name)) p.DefineConst(name, value);
}

// What muParser accepts beyond the definitions' grammar: "?" and ":", a single
// "=" (assignment, also in "+=" and the like) and a "," outside a function's
// parentheses (a list of values). Throws at the first one.
void RefuseExtras(std::string_view text)
{
    int depth = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        depth += c == '(' ? 1 : c == ')' ? -1 : 0;
        if (c == '?' || c == ':' || c == '"' || (c == ',' && depth <= 0))
            throw EExpressionError(i, std::string("unexpected '") + c + "'; expected an operator or the end of the expression");
        if (c != '=') continue;
        const char before = i > 0 ? text[i - 1] : ' ';
        const bool paired = (i + 1 < text.size() && text[i + 1] == '=' ) || before == '<' || before == '>' ||
                            before == '!' || before == '=';
        if (!paired) throw EExpressionError(i, "unexpected '='; a comparison is written '==', '<=', '>=' or '!='");
        if (i + 1 < text.size() && text[i + 1] == '=') ++i;
    }
}

std::string UnknownName(const std::string& token, const TExpressionScope& scope)
{
    const bool name = !token.empty() && ((token[0] >= 'a' && token[0] <= 'z') || (token[0] >= 'A' && token[0] <= 'Z'));
    if (!name) return "unexpected '" + token + "'; expected a number, a name or '('";
    return "unknown name '" + token + "'; expected a number, " +
           (scope.FormalsAllowed ? "a parameter of this rule, " : std::string()) + "a #define constant or a function";
}

// The error in the definitions' own words: what stands there and what was expected.
EExpressionError Translate(const mu::ParserError& error, size_t length, const TExpressionScope& scope)
{
    const std::string token = error.GetToken();
    const size_t at = error.GetPos() < 0 ? length : std::min(static_cast<size_t>(error.GetPos()), length);
    switch (error.GetCode()) {
    case mu::ecUNASSIGNABLE_TOKEN: return {at, UnknownName(token, scope)};
    case mu::ecEMPTY_EXPRESSION: return {0, "the expression is empty; expected a value"};
    case mu::ecUNEXPECTED_EOF: return {length, "the expression ends too early; expected a value"};
    case mu::ecMISSING_PARENS: return {length, "unbalanced parentheses: expected ')'"};
    case mu::ecUNEXPECTED_PARENS:
        return {at, token == ")" ? "unbalanced parentheses: ')' without '('" : "unexpected '" + token + "'"};
    case mu::ecTOO_MANY_PARAMS: return {at, "too many arguments for '" + token + "'"};
    case mu::ecTOO_FEW_PARAMS: return {at, "too few arguments for '" + token + "'"};
    case mu::ecUNEXPECTED_OPERATOR: return {at, "unexpected operator '" + token + "'; expected a value"};
    case mu::ecUNEXPECTED_VAL:
    case mu::ecUNEXPECTED_VAR:
    case mu::ecUNEXPECTED_FUN:
    case mu::ecUNEXPECTED_ARG:
        return {at, "unexpected '" + token + "'; expected an operator between two values"};
    default: return {at, "not an expression: " + error.GetMsg()};
    }
}

} // namespace

TExpression::TExpression(std::string_view Text, const TExpressionScope& Scope, TEvaluation& Evaluation)
{
    RefuseExtras(Text);
    auto parser = std::make_unique<mu::Parser>();
    // No random source while compiling, so nothing is drawn; the flags tell what the first evaluation met.
    TRandomSource* const random = std::exchange(Evaluation.Random, nullptr);
    Evaluation.Fault = nullptr;
    Evaluation.DrewRandom = false;
    bool constant = false;
    try {
        DefineFunctions(*parser, Evaluation);
        DefineNames(*parser, Scope);
        parser->SetExpr(std::string(Text));
        constant = parser->GetUsedVar().empty();
        Value = parser->Eval(); // muParser compiles on the first evaluation
    } catch (const mu::ParserError& error) {
        Evaluation.Random = random;
        throw Translate(error, Text.size(), Scope);
    }
    constant = constant && !Evaluation.DrewRandom;
    const char* const fault = Evaluation.Fault;
    Evaluation = TEvaluation{random};
    if (!constant) {
        Parser = std::move(parser);
        return;
    }
    if (fault) throw EExpressionError(0, std::string("the value is not a number: ") + fault);
    if (!std::isfinite(Value))
        throw EExpressionError(0, "the value is not a finite number (" + ShortestNumberText(Value) + ")");
}

TExpression::~TExpression() = default;
TExpression::TExpression(TExpression&&) noexcept = default;
TExpression& TExpression::operator=(TExpression&&) noexcept = default;

double TExpression::Evaluate() const { return Parser ? Parser->Eval() : Value; }

bool IsValidName(std::string_view Name)
{
    if (Name.empty()) return false;
    auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    if (!letter(Name[0])) return false;
    for (const char c : Name)
        if (!letter(c) && !(c >= '0' && c <= '9') && c != '_') return false;
    return true;
}

bool IsFunctionName(std::string_view Name)
{
    if (Name == "rand") return true;
    for (const std::string_view f : FunctionNames)
        if (f == Name) return true;
    return false;
}

std::string ShortestNumberText(double Value)
{
    std::array<char, 32> buffer;
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), Value).ptr;
    return std::string(buffer.data(), end);
}

} // namespace verdel
