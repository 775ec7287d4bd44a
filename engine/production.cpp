#include "engine/production.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <unordered_map>

namespace verdel {

namespace {

// Successors are copied in fixed 16-byte chunks, one vector move for the
// usual short successor; pool and output carry this much slack at their end.
constexpr size_t Chunk = 16;

struct TSuccessor {
    uint32_t Offset = 0;  // into the pool
    uint32_t Length = 0;  // characters appended
    uint32_t Counted = 0; // counted against the limit ("@" pairs excluded)
};

// The rewriting table: for every character code the text it is replaced by,
// once for ordinary steps and once for a fractional last step.
class TRewriteTable {
public:
    explicit TRewriteTable(const TDefinitionState& state)
    {
        // RuleFor: every code starts at the built-in ")=)"; walking down makes
        // the lowest-numbered rule of a character win. "_=_" is never entered.
        std::array<int, 256> ruleFor;
        ruleFor.fill(state.RuleCount - 1);
        for (int i = state.RuleCount - 1; i >= 1; --i) ruleFor[static_cast<unsigned char>(state.Rule(i).Text[0])] = i;

        for (int c = 0; c < 256; ++c) {
            const TRules& rule = state.Rule(ruleFor[c]);
            const std::string successor = rule.Text.size() > 2 ? rule.Text.substr(2) : std::string();
            Plain[c] = Store(successor, rule.SuccessorLength);
            Last[c] = rule.Scaled ? Store("@" + successor + "@", rule.SuccessorLength) : Plain[c];
        }
        Pool.append(Chunk, '\0');
    }

    // One step over Source into Target; false when the limit was exceeded,
    // in which case Target holds the part built before the failing character.
    bool Rewrite(const std::string& source, std::string& target, bool lastScaledStep) const
    {
        const std::array<TSuccessor, 256>& table = lastScaledStep ? Last : Plain;
        const size_t capacity = static_cast<size_t>(MaxProductionLength) + (lastScaledStep ? 2 * source.size() : 0);
        target.resize(capacity + Chunk);

        char* out = target.data();
        const char* pool = Pool.data();
        int64_t total = 0;
        bool withinLimit = true;
        for (const char ch : source) {
            const TSuccessor& s = table[static_cast<unsigned char>(ch)];
            total += s.Counted;
            if (total > MaxProductionLength) {
                withinLimit = false;
                break;
            }
            const char* from = pool + s.Offset;
            for (uint32_t k = 0; k < s.Length; k += Chunk) std::memcpy(out + k, from + k, Chunk);
            out += s.Length;
        }
        target.resize(static_cast<size_t>(out - target.data()));
        return withinLimit;
    }

private:
    TSuccessor Store(const std::string& text, int counted)
    {
        TSuccessor s;
        s.Offset = static_cast<uint32_t>(Pool.size());
        s.Length = static_cast<uint32_t>(text.size());
        s.Counted = static_cast<uint32_t>(counted);
        Pool += text;
        return s;
    }

    std::array<TSuccessor, 256> Plain;
    std::array<TSuccessor, 256> Last;
    std::string Pool;
};

// Inserts Text before every occurrence of Ch; false (and nothing changed)
// when the result would grow beyond the production limit.
bool ApplyInsertion(std::string& production, char ch, const std::string& text)
{
    const auto count = static_cast<size_t>(std::count(production.begin(), production.end(), ch));
    if (count == 0 || text.empty()) return true;
    const size_t length = production.size() + count * text.size();
    if (length > static_cast<size_t>(MaxProductionLength)) return false;

    std::string result;
    result.reserve(length);
    for (const char c : production) {
        if (c == ch) result += text;
        result += c;
    }
    production.swap(result);
    return true;
}

} // namespace

namespace {

// Ordinary rewriting steps repeat themselves once a production comes back:
// the steps that remain can skip whole periods. Short productions are
// remembered by the step after which they stood.
class TCycleSkipper {
public:
    // After Step produced Production: the step to continue from.
    int Skip(const std::string& production, int step, int lastOrdinaryStep)
    {
        if (production.size() > MaxRemembered || Seen.size() >= MaxSteps) return step;
        const auto [earlier, inserted] = Seen.emplace(production, step);
        if (inserted) return step;
        const int period = step - earlier->second;
        Seen.clear();
        return step + (lastOrdinaryStep - step) / period * period;
    }

private:
    static constexpr size_t MaxRemembered = 4096; // characters of a remembered production
    static constexpr size_t MaxSteps = 4096;
    std::unordered_map<std::string, int> Seen;
};

} // namespace

bool RewriteProduction(TDefinitionState& State)
{
    bool withinLimit = true;
    if (State.Iterations >= 1) {
        const TRewriteTable table(State);
        const int lastOrdinaryStep = State.Iterations - (State.FractionalStep ? 1 : 0);
        TCycleSkipper cycles;
        std::string next;
        for (int step = 1; step <= State.Iterations; ++step) {
            const bool lastScaledStep = step == State.Iterations && State.FractionalStep;
            withinLimit = table.Rewrite(State.Production, next, lastScaledStep);
            const bool unchanged = withinLimit && next == State.Production;
            State.Production.swap(next);
            if (!withinLimit || lastScaledStep) break;
            // A step that changes nothing has reached a fixed point: every further
            // ordinary step would repeat it, so only a fractional last step remains.
            if (unchanged) step = std::max(step, lastOrdinaryStep);
            else step = cycles.Skip(State.Production, step, lastOrdinaryStep);
        }
    }
    if (!State.InsertChar.empty()) {
        if (!ApplyInsertion(State.Production, State.InsertChar[0], State.InsertText)) withinLimit = false;
    }
    return withinLimit;
}

int64_t EstimateOutputSize(std::string_view Production)
{
    int64_t segments = 0;
    int64_t polygons = 0;
    for (const char c : Production) {
        segments += (c == 'F') | (c == 'Z');
        polygons += c == '}';
    }
    return segments * 2080 + polygons * 541;
}

std::string FormatEstimate(int64_t Estimate)
{
    const auto rounded = static_cast<uint64_t>(static_cast<float>(Estimate));
    std::string digits = std::to_string(rounded);
    std::string grouped;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

bool BuildProduction(TDefinitionState& State, TPrompt& Prompt)
{
    const bool withinLimit = RewriteProduction(State);
    if (!withinLimit) {
        Prompt.Message("Production String Exceeded Maximum Length");
        return false;
    }
    const int64_t estimate = EstimateOutputSize(State.Production);
    if (estimate <= OutputSizeQuestionLimit) return true;
    const std::string question =
        "Estimated Output File Size: " + FormatEstimate(estimate) + "\r\nDo you wish to continue?";
    return Prompt.Confirm(question, false) == TAnswer::Yes;
}

} // namespace verdel
