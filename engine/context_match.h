// Context matching across branches: which modules a rule's left and right
// contexts stand for around a module of a bracketed string.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/extended_program.h"
#include "engine/module_string.h"

namespace verdel {

// A string's branch structure, worked out once per step: each bracket's
// partner and each module's neighbours as context matching sees them.
//
// Going left from a module, ignored symbols are skipped, and so are whole
// branches (a "]" jumps to its "["); a "[" is passed, so the first module of
// a branch sees the module before the branch. Going right, ignored symbols
// and whole branches are skipped; the end of the branch the module stands in
// (a "]") or of the string leaves it without a neighbour.
class TBranchView {
public:
    // Works out the neighbours of the modules of String, and the partners
    // when WithPartners (the general walks need them). The view refers to
    // String and Ignored until the next update.
    void Update(const TModuleString& String, const std::array<bool, 256>& IgnoredSymbols, bool WithPartners);

    // An array of indices that keeps its storage from one update to the next
    // and leaves new storage unfilled (every entry is written before it is read).
    class TIndices {
    public:
        void Resize(size_t Size);
        int32_t& operator[](size_t i) { return Data[i]; }
        int32_t operator[](size_t i) const { return Data[i]; }

    private:
        std::unique_ptr<int32_t[]> Data;
        size_t Capacity = 0;
    };

    const TModuleString* Modules = nullptr;
    const std::array<bool, 256>* Ignored = nullptr;
    TIndices Partners;        // for each "[" the index of its "]" and the other way round; -1 unmatched
    TIndices LeftNeighbours;  // -1: none
    TIndices RightNeighbours; // -1: none

private:
    std::vector<int32_t> Brackets; // the open ones while walking the string
};

// The general walks for patterns that name ignored symbols (those are
// matched where they stand and skipped elsewhere) or brackets.
bool WalkLeft(const TBranchView& View, const std::vector<TModulePattern>& Left, size_t I, size_t* Found);
bool WalkRight(const TBranchView& View, const std::vector<TModulePattern>& Right, size_t I, size_t* Found);

// Follows the neighbours from I, one pattern module after the other (from
// the last one when going left).
inline bool FollowNeighbours(const TBranchView& View, const TBranchView::TIndices& Neighbours,
                             const std::vector<TModulePattern>& Pattern, bool Backwards, size_t I, size_t* Found)
{
    auto j = static_cast<int32_t>(I);
    const size_t m = Pattern.size();
    for (size_t step = 0; step < m; ++step) {
        j = Neighbours[static_cast<size_t>(j)];
        const size_t k = Backwards ? m - 1 - step : step;
        if (j < 0) return false;
        const auto at = static_cast<size_t>(j);
        if (View.Modules->Symbol(at) != Pattern[k].Symbol || View.Modules->Count(at) != Pattern[k].Count) return false;
        Found[k] = at;
    }
    return true;
}

// Whether the left context matches going left from module I, the last
// pattern module nearest to I (same symbol and number of parameters). Found
// receives the index of the module each pattern module matched. Plain: the
// pattern holds no ignored symbol, so it only looks at neighbours.
inline bool MatchLeftContext(const TBranchView& View, const std::vector<TModulePattern>& Left, bool Plain, size_t I,
                             size_t* Found)
{
    return Plain ? FollowNeighbours(View, View.LeftNeighbours, Left, true, I, Found) : WalkLeft(View, Left, I, Found);
}

// Whether the right context matches going right from module I. A "[" in the
// pattern must meet the next branch and enters it; a "]" in the pattern skips
// the rest of that branch; branches the pattern does not ask for are
// skipped. Found receives, for each pattern entry, the index of the module it
// matched. Plain: the pattern holds no ignored symbol and no bracket.
inline bool MatchRightContext(const TBranchView& View, const std::vector<TModulePattern>& Right, bool Plain, size_t I,
                              size_t* Found)
{
    return Plain ? FollowNeighbours(View, View.RightNeighbours, Right, false, I, Found)
                 : WalkRight(View, Right, I, Found);
}

} // namespace verdel
