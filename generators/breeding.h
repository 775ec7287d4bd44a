// The breeding gallery's core: a parent, eight children bred from it, the
// lineage of picks and the way back and forward through the generations.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/random_source.h"
#include "engine/text_lines.h"
#include "generators/mutator.h"

namespace verdel {

constexpr int BreedChildCount = 8;

// The gallery's 3 x 3 grid, row by row, as the window and the contact sheets
// show it: the parent (0) in the middle, children 1..8 around it in reading order.
constexpr std::array<int, 9> GalleryGrid = {1, 2, 3, 4, 0, 5, 6, 7, 8};

// The Mutator's bar positions, indexed by TMutatorBar.
using TMutatorBars = std::array<int, MutatorBarCount>;

// The Mutator's bars at their start positions.
TMutatorBars DefaultMutatorBars();

// One step of a lineage: the child (1..8) that became the parent and, for a
// crossover, the child marked as the second parent (0 for none).
struct TPick {
    int Child = 0;
    int Second = 0;
    bool operator==(const TPick&) const = default;
};

// A lineage as the gallery shows it: "3, 1+5, 8" (a "+" joins the second parent).
std::string FormatPicks(const std::vector<TPick>& Picks);

// Reads "3,1+5,8" (blanks around the items allowed, an empty text is no pick);
// nothing when an item is not a child 1..8, optionally "+" a different child 1..8.
std::optional<std::vector<TPick>> ParsePicks(std::string_view Text);

// The seed of child Child (1..8) in generation Generation (0 holds the children
// of the starting definition, n the children after n picks). It is the low 32
// bits of the SplitMix64 finaliser applied to GallerySeed x 2^32 + 8 x Generation
// + Child - 1: neighbouring children get unrelated seeds, where consecutive
// states of the linear congruential source would give shifted copies of one sequence.
uint32_t ChildSeed(uint32_t GallerySeed, int Generation, int Child);

// Crossover: a child of two definitions that takes each line from either.
// The child follows First's layout (its comments, its order, whatever follows
// its end line). Lines are paired as slots: the three values, the axiom, each
// rule with the rule of the same predecessor in Second (the k-th rule for a
// predecessor with the k-th one; the predecessor is the text before the first
// "="), and the end line. Every slot both have draws R(2) once: 0 takes
// First's line, 1 Second's. A rule only one parent has draws R(2) and is kept
// on 0, so it survives with probability 1/2; the rules only Second has come
// after First's rules, in Second's order. A value or end line Second lacks is
// First's, undrawn. The draws follow the child's line order.
// Two extended definitions of as many lines (children of one start, which
// differ only in their constants and weights) take each line that differs
// from either, drawn R(2) in line order: 0 keeps First's.
TLines CrossDefinitions(const TLines& First, const TLines& Second, TRandomSource& Random);

// A child: its text, the seed it was bred from, and why it is a plain copy of
// its parent when its Mutate refused (the parent failed validation).
struct TBreedChild {
    TLines Text;
    uint32_t Seed = 0;
    std::string Fault;
};

// One generation: the parent, the seed its own model is drawn with (the
// gallery seed for the start, else the seed it was bred from), its children and
// the picks that led to it.
struct TBreedGeneration {
    TLines Parent;
    uint32_t ParentSeed = 0;
    std::array<TBreedChild, BreedChildCount> Children;
    std::vector<TPick> Picks;
};

// The gallery. A child of one parent is one Mutate of it with the bars, its
// own source seeded with ChildSeed. A child of two parents is the crossover of
// the picked child (first) and the marked one (second) drawn from that same
// seeded source, then one Mutate continuing from the source. The same start,
// seed, bars and picks always give the same texts.
class TBreedingGallery {
public:
    TBreedingGallery(TLines Start, uint32_t Seed, const TMutatorBars& Bars);

    uint32_t Seed() const { return GallerySeed; }
    const TMutatorBars& Bars() const { return MutatorBars; }
    // The generation on show.
    const TBreedGeneration& Current() const { return History[Position]; }
    // Picks child Child (1..8) as the new parent, crossed with Second when it
    // is another child 1..8, and breeds the next generation; generations ahead
    // of the one on show are dropped. False (nothing changes) for a bad pick.
    bool Pick(int Child, int Second = 0);
    // Back to the previous generation, forward to the next one already bred.
    bool Back();
    bool Forward();
    bool CanBack() const { return Position > 0; }
    bool CanForward() const { return Position + 1 < History.size(); }
    // "seed 4711: 3, 1, 8", or "seed 4711" before the first pick.
    std::string LineageText() const;

private:
    TBreedGeneration Breed(TLines Parent, uint32_t ParentSeed, std::vector<TPick> Picks, const TLines* Second) const;

    uint32_t GallerySeed;
    TMutatorBars MutatorBars;
    std::vector<TBreedGeneration> History;
    size_t Position = 0;
};

} // namespace verdel
