// How many steps of repeated rewriting stay within a length limit, found from character counts alone.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/cancel.h"
#include "engine/rewrite_step.h"

namespace verdel {

// Follows the lengths of repeated parallel rewriting without building strings.
// The string after s steps is described by how often each character occurs in
// it; the counts after 2^j more steps follow from the counts of every
// character's image after 2^j steps, which are composed by repeated squaring.
// A jump of 2^j steps is taken only when an upper bound of every length inside
// it stays within the limit; single steps are exact. Where only single steps
// are possible (lengths that shrink again, close to the limit), the lengths of
// the characters' images are watched for a period, after which nothing new can
// happen. Every count saturates just above the limit, which never changes a
// comparison with it.
class TLengthWalk {
public:
    // Rules gives every character's successor (counted by its length); MaxTotal
    // is the largest total a step may produce, below 2^31.
    TLengthWalk(const TTextTable& Rules, std::string_view Axiom, int64_t MaxTotal);

    // The largest s <= Steps such that each of the steps 1 to s produces at
    // most Limit characters; -1 when Cancel stopped the walk.
    int64_t SafeSteps(int64_t Steps, const TCancelToken& Cancel);

private:
    using TRow = std::vector<std::pair<int, int64_t>>; // symbol, occurrences

    static constexpr int Levels = 63; // jumps of 2^0 to 2^62 steps

    int64_t Add(int64_t a, int64_t b) const { return std::min(Cap, a + b); }
    int64_t Mul(int64_t a, int64_t b) const { return std::min(Cap, a * b); }

    const TRow& Row(int level, int symbol);
    int64_t Bound(int level, int symbol);
    int64_t StateBound(int level);
    void Jump(int level);
    void CatchUpLengths();
    bool FindPeriod(bool started);

    int64_t Limit;
    int64_t Cap; // Limit + 1
    int SymbolCount = 0;
    std::vector<std::vector<TRow>> Rows;      // [level][symbol]: counts in its image after 2^level steps
    std::vector<std::vector<char>> RowReady;  // [level][symbol]
    std::vector<std::vector<int64_t>> Bounds; // [level][symbol]: longest image within 2^level steps, -1 unknown
    std::vector<int64_t> Counts;              // occurrences of each symbol in the string reached
    std::vector<int64_t> Lengths;             // each symbol's image length after the steps taken
    std::vector<int> PendingLengthLevels;     // jumps not yet applied to Lengths

    // The period search: Brent's method over the image lengths of single steps.
    std::vector<int64_t> SavedLengths;
    int64_t Power = 1;
    int64_t Lambda = 0;
};

} // namespace verdel
