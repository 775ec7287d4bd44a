// How many steps of repeated rewriting stay within a length limit, found from character counts alone.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "engine/cancel.h"
#include "engine/rewrite_step.h"

namespace verdel {

// Follows the lengths of repeated parallel rewriting without building strings.
// The string after s steps is described by how often each character occurs in
// it; the counts after 2^j more steps follow from the counts of every
// character's image after 2^j steps, which are composed by repeated squaring.
// A string's length is the sum of its characters' weights (each 1 when
// rewriting plainly). A jump of 2^j steps is taken only when an upper bound of
// every length inside it stays within the limit; single steps are exact.
//
// The bound of a jump is loose where characters reach their longest images at
// different times. Where longer jumps keep failing although those of a stride
// of 2^j steps fit, the counts are watched for a period: once the change of
// the counts over one stride repeats, the counts grow by the same amount
// every period, so the bounds grow by a fixed amount too, and the walk goes
// at once as many periods ahead as those bounds allow (all of them when the
// counts merely repeat). Every count saturates just above the limit, which
// never changes a comparison with it nor the sum or product of counts.
class TLengthWalk {
public:
    // Rules gives every character's successor (counted by its length), Axiom
    // how often each character occurs in the string to start from, Weights
    // every character's weight (at most MaxTotal + 1, at least 1); MaxTotal
    // is the largest total a step may produce, below 2^31.
    TLengthWalk(const TTextTable& Rules, const TCharacterCounts& Axiom, int64_t MaxTotal,
                const std::array<int64_t, 256>& Weights);

    // The largest s <= Steps such that each of the steps 1 to s produces at
    // most Limit characters; -1 when Cancel stopped the walk.
    int64_t SafeSteps(int64_t Steps, const TCancelToken& Cancel);

private:
    using TRow = std::vector<std::pair<int, int64_t>>; // symbol, occurrences
    using TCounts = std::vector<int64_t>;              // occurrences of each symbol

    static constexpr int Levels = 63; // jumps of 2^0 to 2^62 steps

    int64_t Add(int64_t a, int64_t b) const { return std::min(Cap, a + b); }
    int64_t Mul(int64_t a, int64_t b) const { return std::min(Cap, a * b); }

    const TRow& Row(int level, int symbol);
    int64_t Bound(int level, int symbol);
    int64_t StateBound(int level, const TCounts& counts);
    void Jump(int level);
    int64_t Landed(int level, int wanted, int64_t remaining);
    void StartSearch(int level);
    int64_t PeriodsAhead(int64_t remaining);

    int64_t Limit;
    int64_t Cap; // Limit + 1
    int SymbolCount = 0;
    std::vector<std::vector<TRow>> Rows;      // [level][symbol]: counts in its image after 2^level steps
    std::vector<std::vector<char>> RowReady;  // [level][symbol]
    std::vector<std::vector<int64_t>> Bounds; // [level][symbol]: longest image within 2^level steps, -1 unknown
    std::vector<int64_t> SymbolWeights;       // each symbol's weight
    TCounts Counts;                           // the string reached
    TCounts Scratch;

    // The period search at landings 2^Stride steps apart (Stride -1 when not
    // searching): Brent's method over the change of the counts between
    // landings, with the bound of the next stride watched over each window.
    int Stride = -1;
    TCounts Previous;                    // the counts at the landing before
    TCounts SavedChange;                 // empty until the first landing
    TCounts SavedCounts;                 // the counts where SavedChange was saved
    int64_t WindowBound = 0;             // the largest stride bound at the window's landings
    std::array<int64_t, Levels> Power{}; // the search window at each stride, kept when the search leaves it
    int64_t Lambda = 0;
    bool RetryDue = false; // a window has ended: the next jump tries one level above the stride
};

} // namespace verdel
