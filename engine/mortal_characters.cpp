#include "engine/mortal_characters.h"

#include <algorithm>
#include <vector>

namespace verdel {

TMortalCharacters::TMortalCharacters(const TTextTable& RuleTable, std::string_view Text) : Rules(RuleTable)
{
    // Characters become known as mortal in the order of their depth, from the
    // erased ones up: a character is mortal once every character of its
    // successor is, one step deeper than the deepest of them.
    std::array<int, 256> pending{};                    // characters of its successor not yet known as mortal
    std::array<std::vector<unsigned char>, 256> users; // the characters whose successor holds it, once per occurrence
    std::array<int, 256> depth{};
    std::vector<unsigned char> found;
    for (int c = 0; c < 256; ++c) {
        const auto code = static_cast<unsigned char>(c);
        for (const char e : Rules.Text(code)) users[static_cast<unsigned char>(e)].push_back(code);
        pending[c] = static_cast<int>(Rules.Text(code).size());
        if (pending[c] == 0) found.push_back(code);
    }
    for (size_t k = 0; k < found.size(); ++k) {
        const unsigned char c = found[k];
        Mortal.set(c);
        for (const char e : Rules.Text(c)) depth[c] = std::max(depth[c], depth[static_cast<unsigned char>(e)]);
        ++depth[c];
        for (const unsigned char user : users[c])
            if (--pending[user] == 0) found.push_back(user);
    }

    // The deepest mortal character among those that can occur.
    std::bitset<256> reached;
    std::vector<unsigned char> codes;
    auto reach = [&](char c) {
        const auto code = static_cast<unsigned char>(c);
        if (reached[code]) return;
        reached.set(code);
        codes.push_back(code);
    };
    for (const char c : Text) reach(c);
    for (size_t k = 0; k < codes.size(); ++k) {
        for (const char c : Rules.Text(codes[k])) reach(c);
        MaxDepth = std::max(MaxDepth, depth[codes[k]]);
    }
}

TTextTable TMortalCharacters::LastingRules() const
{
    TTextTable rules;
    for (int c = 0; c < 256; ++c) {
        const auto code = static_cast<unsigned char>(c);
        std::string successor;
        for (const char e : Rules.Text(code))
            if (!Mortal[static_cast<unsigned char>(e)]) successor += e;
        rules.Set(code, successor, static_cast<int64_t>(successor.size()));
    }
    return rules;
}

int64_t TMortalCharacters::FirstSteps(std::string_view Text, int64_t Steps, int64_t Limit,
                                      std::array<int64_t, 256>& Weights) const
{
    const int64_t cap = Limit + 1;
    std::array<int64_t, 256> occurrences{};
    for (const char c : Text) {
        int64_t& n = occurrences[static_cast<unsigned char>(c)];
        n = std::min(cap, n + 1);
    }
    // Image lengths after k steps from those after k - 1: a successor's
    // characters' lengths summed.
    Weights.fill(1);
    std::array<int64_t, 256> next{};
    const int64_t steps = std::min<int64_t>(MaxDepth, Steps);
    for (int64_t k = 1; k <= steps; ++k) {
        for (int c = 0; c < 256; ++c) {
            int64_t length = 0;
            for (const char e : Rules.Text(static_cast<unsigned char>(c)))
                length = std::min(cap, length + Weights[static_cast<unsigned char>(e)]);
            next[c] = length;
        }
        Weights = next;
        int64_t total = 0;
        for (int c = 0; c < 256; ++c)
            if (occurrences[c] > 0) total = std::min(cap, total + std::min(cap, occurrences[c] * Weights[c]));
        if (total > Limit) return k - 1;
    }
    return steps;
}

} // namespace verdel
