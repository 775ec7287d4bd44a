#include "engine/context_match.h"

#include <algorithm>

namespace verdel {

namespace {

bool Same(const TModuleString& s, size_t j, const TModulePattern& p)
{
    return s.Symbol(j) == p.Symbol && s.Count(j) == p.Count;
}

} // namespace

bool WalkLeft(const TBranchView& View, const std::vector<TModulePattern>& Left, size_t I, size_t* Found)
{
    const TModuleString& s = *View.Modules;
    auto j = static_cast<int64_t>(I) - 1;
    for (auto k = static_cast<int64_t>(Left.size()) - 1; k >= 0;) {
        if (j < 0) return false;
        const auto at = static_cast<size_t>(j);
        const unsigned char symbol = s.Symbol(at);
        if (Same(s, at, Left[static_cast<size_t>(k)])) {
            Found[k--] = at;
            --j;
        } else if (symbol == ']') {
            const int32_t open = View.Partners[at];
            if (open < 0) return false;
            j = open - 1;
        } else if (symbol == '[' || (*View.Ignored)[symbol]) {
            --j;
        } else {
            return false;
        }
    }
    return true;
}

bool WalkRight(const TBranchView& View, const std::vector<TModulePattern>& Right, size_t I, size_t* Found)
{
    const TModuleString& s = *View.Modules;
    const size_t n = s.Size();
    std::vector<int32_t> entered; // the "[" of each branch the pattern has entered and not yet left
    size_t j = I + 1;
    for (size_t k = 0; k < Right.size(); ++k) {
        const TModulePattern& p = Right[k];
        if (p.Symbol == ']') {
            const int32_t close = View.Partners[static_cast<size_t>(entered.back())];
            entered.pop_back();
            if (close < 0) return false;
            j = static_cast<size_t>(close) + 1;
            continue;
        }
        for (;; ++j) {
            if (j >= n) return false;
            if (Same(s, j, p)) break;
            const unsigned char symbol = s.Symbol(j);
            if ((*View.Ignored)[symbol]) continue;
            if (symbol != '[' || p.Symbol == '[') return false;
            const int32_t close = View.Partners[j];
            if (close < 0) return false;
            j = static_cast<size_t>(close);
        }
        if (p.Symbol == '[') entered.push_back(static_cast<int32_t>(j));
        Found[k] = j++;
    }
    return true;
}

void TBranchView::TIndices::Resize(size_t Size)
{
    if (Size <= Capacity) return;
    Capacity = std::max(Size, Capacity * 2);
    Data = std::make_unique_for_overwrite<int32_t[]>(Capacity);
}

void TBranchView::Update(const TModuleString& String, const std::array<bool, 256>& IgnoredSymbols, bool WithPartners)
{
    Modules = &String;
    Ignored = &IgnoredSymbols;
    const TModuleString& modules = String;
    const std::array<bool, 256>& ignored = IgnoredSymbols;
    const size_t n = modules.Size();
    LeftNeighbours.Resize(n);
    RightNeighbours.Resize(n);
    if (WithPartners) Partners.Resize(n);
    // The neighbour to the left of I is I - 1 when that is a plain module,
    // else the left neighbour of the "[" or ignored module before I, or of the
    // "[" of the branch that ends just before I.
    Brackets.clear();
    int32_t closed = -1; // the "[" of the branch the module before I ends
    for (size_t i = 0; i < n; ++i) {
        int32_t left = -1;
        if (i > 0) {
            const unsigned char before = modules.Symbol(i - 1);
            if (before == ']') left = closed < 0 ? -1 : LeftNeighbours[static_cast<size_t>(closed)];
            else if (before == '[' || ignored[before]) left = LeftNeighbours[i - 1];
            else left = static_cast<int32_t>(i - 1);
        }
        LeftNeighbours[i] = left;
        const unsigned char symbol = modules.Symbol(i);
        if (WithPartners) Partners[i] = -1;
        if (symbol == '[') Brackets.push_back(static_cast<int32_t>(i));
        if (symbol != ']') continue;
        closed = Brackets.empty() ? -1 : Brackets.back();
        if (Brackets.empty()) continue;
        Brackets.pop_back();
        if (!WithPartners) continue;
        Partners[i] = closed;
        Partners[static_cast<size_t>(closed)] = static_cast<int32_t>(i);
    }
    // To the right: I + 1 when that is a plain module, the right neighbour of
    // an ignored module or of a whole branch that follows, none at a "]".
    Brackets.clear();
    int32_t opened = -1; // the "]" of the branch the module after I starts
    for (size_t i = n; i-- > 0;) {
        int32_t right = -1;
        if (i + 1 < n) {
            const unsigned char after = modules.Symbol(i + 1);
            if (after == '[') right = opened < 0 ? -1 : RightNeighbours[static_cast<size_t>(opened)];
            else if (after != ']' && ignored[after]) right = RightNeighbours[i + 1];
            else if (after != ']') right = static_cast<int32_t>(i + 1);
        }
        RightNeighbours[i] = right;
        const unsigned char symbol = modules.Symbol(i);
        if (symbol == ']') Brackets.push_back(static_cast<int32_t>(i));
        if (symbol != '[') continue;
        opened = Brackets.empty() ? -1 : Brackets.back();
        if (!Brackets.empty()) Brackets.pop_back();
    }
}

} // namespace verdel
