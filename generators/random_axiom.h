// The random generator's axiom: letter counts, shuffle, brackets and turns.
#pragma once

#include <string>

#include "engine/random_source.h"

namespace verdel {

// One draw R(100): 1 below 70, 2 below 85, 3 below 95, else 4.
int DrawLeadCount(TRandomSource& Random);

// One draw R(100): 0 below 70, 1 below 85, 2 below 95, else 3.
int DrawExtraCount(TRandomSource& Random);

// Reorders Text by n draws; the last character always stays last.
std::string ShuffleAxiom(const std::string& Text, TRandomSource& Random);

// Inserts "[" at random places, then a later "]" for each of them.
void AddAxiomBrackets(std::string& Text, TRandomSource& Random);

// Inserts turn characters from "+-^&>" at random places inside Text.
void AddAxiomTurns(std::string& Text, TRandomSource& Random);

// The drawn axiom for RuleCount rules: letters A to D by count, shuffled,
// with brackets and turns.
std::string CreateAxiom(int RuleCount, TRandomSource& Random);

} // namespace verdel
