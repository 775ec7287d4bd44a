// The definition text: its validator, its parser and the definition state.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "engine/text_lines.h"

namespace verdel {

// One rewriting rule: predecessor, "=" and successor, as kept from its line.
struct TRules {
    std::string Text;
    int SuccessorLength = 0; // length of Text minus 2, never below 0
    bool Scaled = false;     // wrapped in "@" pairs in a fractional last step
};

struct TExtendedProgram;
struct TRewriteBuffers;

constexpr int MaxRules = 200; // the whole rule table, built-in rules included
constexpr int BuiltInRuleCount = 46;

// The parsed definition and the turtle's starting values. Rewriting replaces
// Production by the production string; the turtle changes SegmentLength,
// HalfLength, TurnAngle, Thickness and ColorIndex in place.
// Copies share the compiled extended program and its rewriting buffers, so
// only one copy at a time may be rewritten.
struct TDefinitionState {
    int Iterations = 0;          // rewriting steps, a fractional last step included
    float Fraction = 0;          // fractional part of the iteration value
    bool FractionalStep = false; // the last step is fractional
    float TurnAngle = 0;         // radians
    float Thickness = 0;         // width relative to the segment length
    std::string Production;      // the axiom, then the production string
    std::array<TRules, MaxRules> Rules;
    int RuleCount = 0;
    std::string InsertChar; // insertion directive character, empty when none
    std::string InsertText;
    float SegmentLength = 100;
    float HalfLength = 50;
    int ColorIndex = 1;
    // The compiled extended definition; empty for a classic one, which the rule table describes.
    std::shared_ptr<TExtendedProgram> Extended;
    std::shared_ptr<TRewriteBuffers> RewriteBuffers; // kept for the next extended rewriting
    int FaultLine = 0;     // the rule whose expression failed while rewriting, counted from 1
    std::string FaultText; // "Line N, step S: what failed"

    // Rule i of the table, counted from 1.
    TRules& Rule(int i) { return Rules[i - 1]; }
    const TRules& Rule(int i) const { return Rules[i - 1]; }
};

// The outcome of checking a definition text: the first fault's fixed message,
// and where it is and what was expected there.
struct TValidation {
    bool Ok = true;
    std::string ErrorText; // the fixed message ("Blank File", "Blank Line in File", ...)
    int Line = 0;          // the line at fault, counted from 1; 0 for an empty text
    std::string Detail;    // what stands on that line and what was expected
    int Column = 0;        // the column at fault, counted from 1; 0 when the fault names none

    // "Line N: " (or "Line N, column C: ") and the detail; empty when the fault has no line.
    std::string LineText() const;
    // "Please Check Input Data", the message and the line text, on lines joined by LineBreak.
    std::string Report(const std::string& LineBreak) const;
};

// Checks a definition text and reports the first fault.
TValidation ValidateDefinition(const TLines& Lines);

// Checks a definition text; on the first fault returns false with ErrorText set
// to the fault's fixed message ("Blank File", "Blank Line in File", ...).
bool ValidateDefinition(const TLines& Lines, std::string& ErrorText);

// Fills State from a text that passed ValidateDefinition: numbers, axiom, the
// definition's rules, the insertion directive and the 46 built-in rules; for
// an extended definition, the numbers, the insertion directive and the
// compiled program instead of the rule table.
void ParseDefinition(TDefinitionState& State, const TLines& Lines);

// Whether a character may stand in a kept rule text.
bool IsRuleChar(unsigned char c);

} // namespace verdel
