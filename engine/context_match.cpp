#include "engine/context_match.h"

namespace verdel {

namespace {

bool Same(const TModuleString& s, size_t j, const TModulePattern& p)
{
    return s.Symbol(j) == p.Symbol && s.Count(j) == p.Count;
}

} // namespace

bool MatchLeftContext(const TContextView& View, const std::vector<TModulePattern>& Left, size_t I, size_t* Found)
{
    const TModuleString& s = View.Modules;
    auto j = static_cast<int64_t>(I) - 1;
    for (auto k = static_cast<int64_t>(Left.size()) - 1; k >= 0;) {
        if (j < 0) return false;
        const auto at = static_cast<size_t>(j);
        const unsigned char symbol = s.Symbol(at);
        if (Same(s, at, Left[static_cast<size_t>(k)])) {
            Found[k--] = at;
            --j;
        } else if (symbol == ']') {
            // A whole branch to the left: continue before its "[".
            const int32_t open = View.Partners[at];
            if (open < 0) return false;
            j = open - 1;
        } else if (symbol == '[' || View.Ignored[symbol]) {
            --j;
        } else {
            return false;
        }
    }
    return true;
}

bool MatchRightContext(const TContextView& View, const std::vector<TModulePattern>& Right, size_t I, size_t* Found)
{
    const TModuleString& s = View.Modules;
    const size_t n = s.Size();
    // The "[" of each branch the pattern has entered and not yet left.
    int32_t entered[64];
    int depth = 0;
    size_t j = I + 1;
    for (size_t k = 0; k < Right.size(); ++k) {
        const TModulePattern& p = Right[k];
        if (p.Symbol == ']') {
            // The rest of the entered branch, whatever it holds, up to its "]".
            const int32_t close = View.Partners[static_cast<size_t>(entered[--depth])];
            if (close < 0) return false;
            j = static_cast<size_t>(close) + 1;
            continue;
        }
        for (;;) {
            if (j >= n) return false;
            const unsigned char symbol = s.Symbol(j);
            if (Same(s, j, p)) break;
            if (View.Ignored[symbol]) {
                ++j;
            } else if (symbol == '[' && p.Symbol != '[') {
                const int32_t close = View.Partners[j];
                if (close < 0) return false;
                j = static_cast<size_t>(close) + 1;
            } else {
                return false;
            }
        }
        if (p.Symbol == '[') {
            if (depth == 64) return false;
            entered[depth++] = static_cast<int32_t>(j);
        }
        Found[k] = j++;
    }
    return true;
}

} // namespace verdel
