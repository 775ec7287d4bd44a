#include "generators/random_axiom.h"

#include "generators/text_positions.h"

namespace verdel {

namespace {

// The band of one draw R(100): 0 below 70, 1 below 85, 2 below 95, else 3.
int DrawBand(TRandomSource& random)
{
    const uint32_t x = random.Next(100);
    if (x < 70) return 0;
    if (x < 85) return 1;
    if (x < 95) return 2;
    return 3;
}

// The unshuffled letters: a lead run of "A" and extra runs of the next letters.
std::string AxiomLetters(int ruleCount, TRandomSource& random)
{
    if (ruleCount >= 17) return "AX";
    const int extraRuns = ruleCount >= 8 ? 3 : (ruleCount >= 5 ? 2 : 1);
    std::string text(static_cast<size_t>(DrawLeadCount(random)), 'A');
    for (int run = 1; run <= extraRuns; ++run)
        text.append(static_cast<size_t>(DrawExtraCount(random)), static_cast<char>('A' + run));
    return text;
}

} // namespace

int DrawLeadCount(TRandomSource& Random) { return DrawBand(Random) + 1; }

int DrawExtraCount(TRandomSource& Random) { return DrawBand(Random); }

std::string ShuffleAxiom(const std::string& Text, TRandomSource& Random)
{
    std::string source = Text;
    std::string result;
    const uint32_t n = static_cast<uint32_t>(Text.size());
    // Step i picks among the first n - i of the n - i + 1 characters left, so
    // the last character is taken only by the final draw R(0).
    for (uint32_t i = 1; i <= n; ++i) {
        const size_t k = Random.Next(n - i); // 0-based: 1 + R(n - i) counted from 1
        result += source[k];
        source.erase(k, 1);
    }
    return result;
}

void AddAxiomBrackets(std::string& Text, TRandomSource& Random)
{
    // Pass 1: the bound is fixed before the pass while the text grows inside it.
    const int64_t m = static_cast<int64_t>(Text.size()) - 1;
    for (int64_t i = 1; i <= m; ++i)
        if (Random.Next(3) == 0) InsertAt(Text, i, '[');

    // Pass 2: every "[" gets a "]" at least one character after it.
    const int64_t length = static_cast<int64_t>(Text.size());
    for (int64_t i = 1; i <= length - 1; ++i) {
        if (CharAt(Text, i) != '[') continue;
        InsertAt(Text, i + 2 + Random.Next(static_cast<uint32_t>(length - i - 1)), ']');
    }
}

void AddAxiomTurns(std::string& Text, TRandomSource& Random)
{
    static const std::string turns = "+-^&><";
    const int64_t m = static_cast<int64_t>(Text.size()) - 1;
    if (m < 2) return;
    for (int64_t i = 2; i <= m; ++i) {
        if (Random.Next(3) != 0) continue;
        // Only the first five can be drawn: "<" is never inserted.
        InsertAt(Text, i, turns[Random.Next(5)]);
    }
}

std::string CreateAxiom(int RuleCount, TRandomSource& Random)
{
    std::string axiom = ShuffleAxiom(AxiomLetters(RuleCount, Random), Random);
    AddAxiomBrackets(axiom, Random);
    AddAxiomTurns(axiom, Random);
    return axiom;
}

} // namespace verdel
