// Characters whose images die out under repeated rewriting, and texts and rules without them.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/rewrite_step.h"

namespace verdel {

// A character is mortal when its image becomes empty after some steps: an
// erased character, and every character whose successor holds only mortal
// ones. Any other character keeps at least one lasting character in every
// image, so leaving the mortal ones out gives rules that never erase. After
// Depth steps every mortal character has left nothing behind, so a string
// after s >= Depth steps is the string after s - Depth steps by the rules
// without mortal characters, rewritten Depth more steps by the full rules.
class TMortalCharacters {
public:
    // Which of the characters that can occur in the rewritings of a text with
    // the given characters die out, and how soon.
    TMortalCharacters(const TTextTable& RuleTable, const TCharacterCounts& Text);

    // Steps after which every mortal character that can occur has left nothing; 0 when none can occur.
    int Depth() const { return MaxDepth; }

    // The rules with the mortal characters left out of every successor (a
    // mortal character's successor becomes empty).
    TTextTable LastingRules() const;

    // How many of the first min(Depth, Steps) steps of a text with the given
    // characters stay within Limit, found from its characters' image lengths
    // (counted up to Limit + 1). Weights then holds every character's image
    // length after Depth steps, counted the same way.
    int64_t FirstSteps(const TCharacterCounts& Text, int64_t Steps, int64_t Limit,
                       std::array<int64_t, 256>& Weights) const;

private:
    const TTextTable& Rules;
    std::vector<unsigned char> Reached; // the characters that can occur
    std::bitset<256> Mortal;
    int MaxDepth = 0;
};

} // namespace verdel
