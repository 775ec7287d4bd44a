#include "engine/mortal_characters.h"

#include <algorithm>
#include <vector>

namespace verdel {

TMortalCharacters::TMortalCharacters(const TTextTable& RuleTable, const TCharacterCounts& Text) : Rules(RuleTable)
{
    std::bitset<256> reached;
    auto reach = [&](unsigned char code) {
        if (reached[code]) return;
        reached.set(code);
        Reached.push_back(code);
    };
    for (int c = 0; c < 256; ++c)
        if (Text[c] > 0) reach(static_cast<unsigned char>(c));
    for (size_t k = 0; k < Reached.size(); ++k)
        for (const char c : Rules.Text(Reached[k])) reach(static_cast<unsigned char>(c));

    // A character is mortal once every character of its successor is, one
    // step deeper than the deepest of them; each pass finds at least the
    // characters one step deeper than the last.
    std::array<int, 256> depth{};
    for (bool found = true; found;) {
        found = false;
        for (const unsigned char c : Reached) {
            if (Mortal[c]) continue;
            int deepest = 0;
            bool dies = true;
            for (const char e : Rules.Text(c)) {
                dies = dies && Mortal[static_cast<unsigned char>(e)];
                deepest = std::max(deepest, depth[static_cast<unsigned char>(e)]);
            }
            if (!dies) continue;
            Mortal.set(c);
            depth[c] = deepest + 1;
            MaxDepth = std::max(MaxDepth, depth[c]);
            found = true;
        }
    }
}

TTextTable TMortalCharacters::LastingRules() const
{
    TTextTable rules;
    std::string successor;
    for (int c = 0; c < 256; ++c) {
        const auto code = static_cast<unsigned char>(c);
        successor.clear();
        for (const char e : Rules.Text(code))
            if (!Mortal[static_cast<unsigned char>(e)]) successor += e;
        rules.Set(code, successor, static_cast<int64_t>(successor.size()));
    }
    return rules;
}

int64_t TMortalCharacters::FirstSteps(const TCharacterCounts& Text, int64_t Steps, int64_t Limit,
                                      std::array<int64_t, 256>& Weights) const
{
    // Image lengths after k steps from those after k - 1: a successor's
    // characters' lengths summed.
    const int64_t cap = Limit + 1;
    Weights.fill(1);
    std::array<int64_t, 256> next{};
    const int64_t steps = std::min<int64_t>(MaxDepth, Steps);
    for (int64_t k = 1; k <= steps; ++k) {
        for (const unsigned char c : Reached) {
            int64_t length = 0;
            for (const char e : Rules.Text(c)) length = std::min(cap, length + Weights[static_cast<unsigned char>(e)]);
            next[c] = length;
        }
        int64_t total = 0;
        for (const unsigned char c : Reached) {
            Weights[c] = next[c];
            if (Text[c] > 0) total = std::min(cap, total + std::min(cap, Text[c]) * Weights[c]);
        }
        if (total > Limit) return k - 1;
    }
    return steps;
}

} // namespace verdel
