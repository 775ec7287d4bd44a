// The random generator's rule lines: the weighted command pool, one rule at
// a time, and the three passes that rework all rule lines.
#pragma once

#include <span>
#include <string>

#include "engine/random_source.h"

namespace verdel {

// Most rules a composed definition holds: one per rule letter.
constexpr int MaxRandomRules = 18;

// The letter that stands for rule k (1 to 18) in the pool and in the weave.
char RuleLetter(int k);

// The name written for rule k (1 to 20); rule 6 is named "G" here, or "F" by a draw.
char RuleName(int k);

// The pool weights: the positions of the generator's track bars.
struct TRuleWeights {
    int RuleLength = 14;
    int Interaction = 1;
    int Draw = 9;
    int Move = 2;
    int Orient = 7;
    int Color = 5;
    int Branch = 9;
    int Polys = 9;
};

// The weighted pool of command characters for RuleCount rules; its size is
// 17 + Interaction x N + 3 Color + 15 Draw + 4 Move + 12 Orient + Branch + Polys.
std::string BuildCommandPool(const TRuleWeights& Weights, int RuleCount);

// The line of rule RuleIndex (1-based): the length draw first, the pool
// rebuilt into CommandPool for rule 1, the body drawn from all but the pool's
// last entry, and its "[" and "{" closed.
std::string GenerateRule(int RuleIndex, int RuleCount, const TRuleWeights& Weights, std::string& CommandPool,
                         TRandomSource& Random);

// Gives every Opener ("[" or "{") of Line a closer after the last opener; a
// trailing opener becomes "w".
void CheckClosure(std::string& Line, char Opener, TRandomSource& Random);

// Makes every rule letter appear in some rule line, visiting the rules from the last down to the first.
void CheckRuleWeave(std::span<std::string> RuleLines, TRandomSource& Random);

// Gives some angle, increment and length commands an explicit "(x)" parameter;
// Angle is the definition's angle in degrees.
void AddInResizing(std::span<std::string> RuleLines, int Angle, TRandomSource& Random);

// Gives every colour command "c" an explicit colour index from 1 to 11.
void CheckColors(std::span<std::string> RuleLines, TRandomSource& Random);

} // namespace verdel
