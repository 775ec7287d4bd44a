#include "engine/rewrite_lengths.h"

#include <array>
#include <bit>

namespace verdel {

namespace {

// Progress is reported once per this many rounds of the walk.
constexpr int64_t ReportInterval = 4096;

int FloorLog2(int64_t x) { return 63 - std::countl_zero(static_cast<uint64_t>(x)); }

} // namespace

TLengthWalk::TLengthWalk(const TTextTable& Rules, std::string_view Axiom, int64_t MaxTotal)
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
    for (const char c : Axiom) reach(static_cast<unsigned char>(c));
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
    Counts.assign(codes.size(), 0);
    for (const char c : Axiom) {
        int64_t& n = Counts[index[static_cast<unsigned char>(c)]];
        n = Add(n, 1);
    }
    Lengths.assign(codes.size(), 1);
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
        for (const auto& [e, n] : Row(0, symbol)) bound = Add(bound, n);
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

int64_t TLengthWalk::StateBound(int level)
{
    int64_t total = 0;
    for (int d = 0; d < SymbolCount && total < Cap; ++d)
        if (Counts[d] > 0) total = Add(total, Mul(Counts[d], Bound(level, d)));
    return total;
}

void TLengthWalk::Jump(int level)
{
    std::vector<int64_t> next(Counts.size(), 0);
    for (int d = 0; d < SymbolCount; ++d) {
        if (Counts[d] == 0) continue;
        for (const auto& [e, n] : Row(level, d)) next[e] = Add(next[e], Mul(Counts[d], n));
    }
    Counts.swap(next);
    PendingLengthLevels.push_back(level);
}

void TLengthWalk::CatchUpLengths()
{
    // A symbol's image after s + 2^j steps is the image after s steps of every
    // character of its image after 2^j steps.
    for (const int level : PendingLengthLevels) {
        std::vector<int64_t> next(Lengths.size(), 0);
        for (int d = 0; d < SymbolCount; ++d)
            for (const auto& [e, n] : Row(level, d)) next[d] = Add(next[d], Mul(n, Lengths[e]));
        Lengths.swap(next);
    }
    PendingLengthLevels.clear();
}

bool TLengthWalk::FindPeriod(bool started)
{
    // The length of the string after s steps is the sum of the image lengths
    // of its axiom's characters: once those lengths repeat, every later step
    // repeats one that has passed the limit check.
    if (!started) {
        SavedLengths = Lengths;
        Power = 1;
        Lambda = 0;
    }
    Jump(0);
    CatchUpLengths();
    ++Lambda;
    if (Lengths == SavedLengths) return true;
    if (Lambda == Power) {
        SavedLengths = Lengths;
        Power *= 2;
        Lambda = 0;
    }
    return false;
}

int64_t TLengthWalk::SafeSteps(int64_t Steps, const TCancelToken& Cancel)
{
    int64_t step = 0;
    int nextLevel = Levels - 1;
    bool searching = false; // single steps in a row, watched for a period
    for (int64_t round = 0; step < Steps; ++round) {
        if (Cancel.Cancelled()) return -1;
        if (round % ReportInterval == 0) Cancel.Report(TWorkPhase::Rewriting, step, Steps);
        // The largest jump that surely stays within the limit, trying at most
        // one level above the last jump's.
        int level = std::min(nextLevel, FloorLog2(Steps - step));
        while (level > 0 && StateBound(level) > Limit) --level;
        if (level == 0 && StateBound(0) > Limit) return step;
        step += int64_t{1} << level;
        nextLevel = level + 1;
        if (level > 0) {
            Jump(level);
            searching = false;
            continue;
        }
        if (!searching) CatchUpLengths();
        if (FindPeriod(searching)) return Steps;
        searching = true;
    }
    return step;
}

} // namespace verdel
