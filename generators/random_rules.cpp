#include "generators/random_rules.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "generators/text_positions.h"

namespace verdel {

namespace {

// Rule k's name and letter agree up to rule 15 and differ from rule 16 on.
constexpr std::string_view RuleNames = "ABCDEGHIJKLMNOPQRSTU";
constexpr std::string_view RuleLetters = "ABCDEGHIJKLMNOPSTU";

constexpr std::string_view AngleCommands = "&+-<>^t~";
constexpr std::string_view IncrementCommands = "!\"':;?";
constexpr std::string_view LengthCommands = "FQRWZfz";

bool IsIn(std::string_view set, char c) { return c != '\0' && set.find(c) != std::string_view::npos; }

void Append(std::string& pool, std::string_view run, int times)
{
    for (int t = 0; t < times; ++t) pool += run;
}

std::string Parenthesised(std::string_view value)
{
    std::string text(1, '(');
    text += value;
    text += ')';
    return text;
}

// The factor 1 + 0.1 s, held as a Single and written with two decimals.
std::string IncrementText(int s)
{
    const float x = static_cast<float>(1.0L + 0.1L * s);
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::fixed, 2).ptr;
    return std::string(buffer, end);
}

// The draws of one angle command; returns the parameter, or empty when none is given.
std::string AngleParameter(int angle, TRandomSource& random)
{
    const int64_t bound = angle >= 45 ? angle : 90 - static_cast<int64_t>(angle);
    if (random.Next(9) != 0) return {};
    const int64_t v =
        std::clamp<int64_t>(angle + static_cast<int64_t>(random.Next(static_cast<uint32_t>(bound))), 0, 90);
    return Parenthesised(std::to_string(v));
}

std::string IncrementParameter(TRandomSource& random)
{
    if (random.Next(9) != 0) return {};
    return Parenthesised(IncrementText(5 - static_cast<int>(random.Next(10))));
}

std::string LengthParameter(TRandomSource& random)
{
    if (random.Next(9) != 0) return {};
    return Parenthesised(std::to_string(100 + 10 * (5 - static_cast<int>(random.Next(10)))) + ".00");
}

// Walks Line from its first character; at each command of Set, Parameter's
// text (possibly empty) goes in right after the command.
template <typename TParameter> void ParameterPass(std::string& line, std::string_view set, TParameter parameter)
{
    for (int64_t j = 1; j <= static_cast<int64_t>(line.size()); ++j) {
        if (!IsIn(set, CharAt(line, j))) continue;
        const std::string text = parameter();
        if (!text.empty()) InsertAt(line, j + 1, text);
    }
}

} // namespace

char RuleLetter(int k) { return RuleLetters.at(static_cast<size_t>(k - 1)); }

char RuleName(int k) { return RuleNames.at(static_cast<size_t>(k - 1)); }

std::string BuildCommandPool(const TRuleWeights& Weights, int RuleCount)
{
    std::string pool = ".";
    pool += "||tt%%$$\"\"";
    pool += "\"';:?!";
    for (int t = 0; t < Weights.Interaction; ++t)
        for (int k = 1; k <= RuleCount; ++k) pool += RuleLetter(k);
    Append(pool, "c", 3 * Weights.Color);
    Append(pool, "FZQWR", 3 * Weights.Draw);
    Append(pool, "fz", 2 * Weights.Move);
    Append(pool, "+-^&><", 2 * Weights.Orient);
    Append(pool, "[", Weights.Branch);
    Append(pool, "{", Weights.Polys);
    return pool;
}

std::string GenerateRule(int RuleIndex, int RuleCount, const TRuleWeights& Weights, std::string& CommandPool,
                         TRandomSource& Random)
{
    // The length is drawn first for every rule, before the pool exists for rule 1.
    const uint32_t length = 3 + Random.Next(static_cast<uint32_t>(Weights.RuleLength));
    if (RuleIndex == 1) CommandPool = BuildCommandPool(Weights, RuleCount);

    char name = RuleName(RuleIndex);
    uint32_t bodyLength = length;
    if (RuleIndex == 6 && Random.Next(4) == 0) {
        name = 'F';
        bodyLength = Random.Next(length);
    }

    std::string line = {name, '='};
    // The pool's last entry is never drawn.
    const uint32_t choices = static_cast<uint32_t>(CommandPool.size()) - 1;
    for (uint32_t b = 0; b < bodyLength; ++b) line += CommandPool[Random.Next(choices)];

    CheckClosure(line, '[', Random);
    CheckClosure(line, '{', Random);
    return line;
}

void CheckClosure(std::string& Line, char Opener, TRandomSource& Random)
{
    const int64_t n = static_cast<int64_t>(Line.size());
    if (n > 0 && Line.back() == Opener) Line.back() = 'w';

    int64_t count = 0;
    int64_t last = 0;
    for (int64_t j = 1; j <= n; ++j) {
        if (CharAt(Line, j) != Opener) continue;
        ++count;
        last = j;
    }

    // Every closer goes in after the last opener, at a distance drawn anew each time.
    for (int64_t c = 0; c < count; ++c) {
        int64_t d = 2 + Random.Next(static_cast<uint32_t>(n - last));
        if (Opener == '[') {
            if (Random.Next(3) == 0) InsertAt(Line, last + d++, '{');
            InsertAt(Line, last + d, ']');
        } else {
            for (char extra : {'.', 'f', 'z', 'g'})
                if (Random.Next(3) == 0) InsertAt(Line, last + d++, extra);
            InsertAt(Line, last + d, '}');
        }
    }
}

void CheckRuleWeave(std::span<std::string> RuleLines, TRandomSource& Random)
{
    const int n = static_cast<int>(RuleLines.size());
    for (int r = 1; r <= n; ++r) {
        const char letter = RuleLetter(n + 1 - r);
        // Rule 1's line is never searched.
        bool found = false;
        for (int k = 2; k <= n - r && !found; ++k) found = RuleLines[k - 1].find(letter) != std::string::npos;
        if (found) continue;

        std::string& line = RuleLines[Random.Next(static_cast<uint32_t>(n - r))];
        // For a line of two characters the bound is -1, read as 4294967295:
        // the draw keeps its place in the sequence and the letter is appended.
        const int64_t bound = static_cast<int64_t>(line.size()) - 3;
        InsertAt(line, 3 + static_cast<int64_t>(Random.Next(static_cast<uint32_t>(bound))), letter);
    }
}

void AddInResizing(std::span<std::string> RuleLines, int Angle, TRandomSource& Random)
{
    for (std::string& line : RuleLines) {
        ParameterPass(line, AngleCommands, [&] { return AngleParameter(Angle, Random); });
        ParameterPass(line, IncrementCommands, [&] { return IncrementParameter(Random); });
        ParameterPass(line, LengthCommands, [&] { return LengthParameter(Random); });
    }
}

void CheckColors(std::span<std::string> RuleLines, TRandomSource& Random)
{
    for (std::string& line : RuleLines)
        ParameterPass(line, "c", [&] { return Parenthesised(std::to_string(1 + Random.Next(11))); });
}

} // namespace verdel
