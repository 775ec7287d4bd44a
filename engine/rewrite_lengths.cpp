#include "engine/rewrite_lengths.h"

#include <array>
#include <bit>

namespace verdel {

namespace {

// Progress is reported once per this many rounds of the walk.
constexpr int64_t ReportInterval = 4096;

int FloorLog2(int64_t x) { return 63 - std::countl_zero(static_cast<uint64_t>(x)); }

} // namespace

TLengthWalk::TLengthWalk(const TTextTable& Rules, const TCharacterCounts& Axiom, int64_t MaxTotal,
                         const std::array<int64_t, 256>& Weights)
        : Limit(MaxTotal), Cap(MaxTotal + 1)
{
    // Only the characters that can occur take part: the axiom's and,
    // transitively, those of their successors.
    std::array<int, 256> index;
    index.fill(-1);
    std::vector<unsigned char> codes;
    auto reach = [&](unsigned char c) {
        if (index[c] >= 0) return;
        index[c] = static_cast<int>(codes.size());
        codes.push_back(c);
    };
    for (int c = 0; c < 256; ++c)
        if (Axiom[c] > 0) reach(static_cast<unsigned char>(c));
    for (size_t k = 0; k < codes.size(); ++k)
        for (const char c : Rules.Text(codes[k])) reach(static_cast<unsigned char>(c));

    SymbolCount = static_cast<int>(codes.size());
    Rows.assign(Levels, std::vector<TRow>(codes.size()));
    RowReady.assign(Levels, std::vector<char>(codes.size(), 0));
    Bounds.assign(Levels, std::vector<int64_t>(codes.size(), -1));
    for (int d = 0; d < SymbolCount; ++d) {
        std::vector<int64_t> occurrences(codes.size(), 0);
        for (const char c : Rules.Text(codes[d])) ++occurrences[index[static_cast<unsigned char>(c)]];
        for (int e = 0; e < SymbolCount; ++e)
            if (occurrences[e] > 0) Rows[0][d].emplace_back(e, std::min(Cap, occurrences[e]));
        RowReady[0][d] = 1;
    }
    for (const unsigned char c : codes) {
        Counts.push_back(std::min(Cap, Axiom[c]));
        SymbolWeights.push_back(std::min(Cap, Weights[c]));
    }
}

const TLengthWalk::TRow& TLengthWalk::Row(int level, int symbol)
{
    if (RowReady[level][symbol]) return Rows[level][symbol];
    // The image after 2^level steps is the image after 2^(level-1) steps of
    // every character of the image after 2^(level-1) steps.
    const TRow& half = Row(level - 1, symbol);
    for (const auto& [e, n] : half) Row(level - 1, e);
    std::vector<int64_t> sum(static_cast<size_t>(SymbolCount), 0);
    for (const auto& [e, n] : half)
        for (const auto& [f, m] : Rows[level - 1][e]) sum[f] = Add(sum[f], Mul(n, m));
    TRow& row = Rows[level][symbol];
    for (int f = 0; f < SymbolCount; ++f)
        if (sum[f] > 0) row.emplace_back(f, sum[f]);
    RowReady[level][symbol] = 1;
    return row;
}

int64_t TLengthWalk::Bound(int level, int symbol)
{
    if (Bounds[level][symbol] >= 0) return Bounds[level][symbol];
    int64_t bound = 0;
    if (level == 0) {
        for (const auto& [e, n] : Row(0, symbol)) bound = Add(bound, Mul(n, SymbolWeights[e]));
    } else {
        // The longest image within the first half, or within the second half:
        // there every character of the halfway image grows at most to its own bound.
        bound = Bound(level - 1, symbol);
        if (bound < Cap) {
            int64_t later = 0;
            for (const auto& [e, n] : Row(level - 1, symbol)) {
                later = Add(later, Mul(n, Bound(level - 1, e)));
                if (later >= Cap) break;
            }
            bound = std::max(bound, later);
        }
    }
    Bounds[level][symbol] = bound;
    return bound;
}

int64_t TLengthWalk::StateBound(int level, const TCounts& counts)
{
    int64_t total = 0;
    for (int d = 0; d < SymbolCount && total < Cap; ++d)
        if (counts[d] > 0) total = Add(total, Mul(counts[d], Bound(level, d)));
    return total;
}

void TLengthWalk::Jump(int level)
{
    Scratch.assign(Counts.size(), 0);
    for (int d = 0; d < SymbolCount; ++d) {
        if (Counts[d] == 0) continue;
        for (const auto& [e, n] : Row(level, d)) Scratch[e] = Add(Scratch[e], Mul(Counts[d], n));
    }
    Counts.swap(Scratch);
}

void TLengthWalk::StartSearch(int level)
{
    Stride = level;
    Previous = Counts;
    SavedChange.clear();
    Power[Stride] = std::max<int64_t>(Power[Stride], 1);
    RetryDue = false;
}

int64_t TLengthWalk::Landed(int level, int wanted, int64_t remaining)
{
    if (level != Stride) {
        // A longer jump did not fit: the landings of this stride are watched.
        // A longer jump is tried again only after a whole window, and the
        // window of an earlier search at the stride is kept, so that leaving
        // and coming back cannot keep the window small.
        if (level < wanted) StartSearch(level);
        else Stride = -1; // a jump longer than the stride fitted
        return 0;
    }
    TCounts& change = Scratch;
    change.resize(Counts.size());
    for (size_t d = 0; d < Counts.size(); ++d) change[d] = Counts[d] - Previous[d];
    Previous = Counts;
    const int64_t bound = StateBound(Stride, Counts);
    const bool first = SavedChange.empty();
    if (!first && change == SavedChange) return PeriodsAhead(remaining);
    ++Lambda;
    RetryDue = !first && Lambda == Power[Stride];
    if (first || RetryDue) {
        if (RetryDue) Power[Stride] *= 2;
        SavedChange = change;
        SavedCounts = Counts;
        WindowBound = 0;
        Lambda = 0;
    }
    WindowBound = std::max(WindowBound, bound);
    return 0;
}

int64_t TLengthWalk::PeriodsAhead(int64_t remaining)
{
    // The change over one stride repeats the one Lambda + 1 landings ago, so
    // it repeats with that period from there on (each change follows from
    // the one before alone), and over a whole period the counts grow by the
    // same Growth at every landing. So the bound of the stride from a landing
    // one period later is larger by the bound of Growth: the strides from
    // every landing stay within the limit for as many periods as the largest
    // bound of the window leaves room for.
    const int64_t landings = Lambda + 1;
    TCounts growth(Counts.size());
    for (size_t d = 0; d < Counts.size(); ++d) growth[d] = Counts[d] - SavedCounts[d];
    const int64_t period = landings << Stride;
    const int64_t rise = StateBound(Stride, growth);
    int64_t periods = remaining / period;
    if (rise > 0) periods = std::min(periods, (Limit - WindowBound) / rise);
    for (size_t d = 0; d < Counts.size(); ++d) Counts[d] = Add(Counts[d], Mul(periods, growth[d]));
    StartSearch(Stride);
    return rise == 0 ? remaining : periods * period;
}

int64_t TLengthWalk::SafeSteps(int64_t Steps, const TCancelToken& Cancel)
{
    int64_t step = 0;
    int nextLevel = Levels - 1;
    for (int64_t round = 0; step < Steps; ++round) {
        if (Cancel.Cancelled()) return -1;
        if (round % ReportInterval == 0) Cancel.Report(TWorkPhase::Rewriting, step, Steps);
        // The largest jump that surely stays within the limit: at most one
        // level above the last jump's, or while searching the stride, and one
        // level above it each time the search window has grown.
        const int tried = Stride < 0 ? nextLevel : Stride + (RetryDue ? 1 : 0);
        const int wanted = std::min(tried, FloorLog2(Steps - step));
        int level = wanted;
        while (level > 0 && StateBound(level, Counts) > Limit) --level;
        if (level == 0 && StateBound(0, Counts) > Limit) return step;
        Jump(level);
        step += int64_t{1} << level;
        nextLevel = level + 1;
        step += Landed(level, wanted, Steps - step);
    }
    return step;
}

} // namespace verdel
