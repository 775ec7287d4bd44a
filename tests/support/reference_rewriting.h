// Rewriting taken step by step, as the definition of rewriting reads it: the
// reference that rewriting many steps at once is compared with.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/rewriting.h"

namespace verdel::test {

// Every character's successor.
using TRuleTexts = std::array<std::string, 256>;

struct TReferenceResult {
    TRewriteStatus Status = TRewriteStatus::Done;
    int64_t Step = 0;
    std::string Text;
    int64_t Longest = 0; // the longest string of the ordinary steps taken
};

// One step with the limit check, counted by the plain successors' lengths.
inline bool ReferenceStep(std::string& text, const TRuleTexts& plain, const TRuleTexts& written, int64_t limit)
{
    std::string next;
    int64_t total = 0;
    for (const char c : text) {
        total += static_cast<int64_t>(plain[static_cast<unsigned char>(c)].size());
        if (total > limit) break;
        next += written[static_cast<unsigned char>(c)];
    }
    text.swap(next);
    return total <= limit;
}

// Steps taken one by one, the last by Last. Far counts are reached through
// the cycle of the whole string, found by Brent's method in constant memory:
// once the string after i steps equals the one after i - p steps, every later
// ordinary step repeats one that has passed the limit check. Nothing when
// neither the cycle nor a refusal shows within MaxWork characters written.
inline std::optional<TReferenceResult> ReferenceRewrite(const std::string& axiom, const TRuleTexts& plain,
                                                        const TRuleTexts& last, int64_t steps, int64_t limit,
                                                        int64_t maxWork)
{
    TReferenceResult result{TRewriteStatus::Done, std::max<int64_t>(steps, 0), axiom, 0};
    if (steps <= 0) return result;
    std::string& hare = result.Text;
    std::string tortoise = hare;
    int64_t power = 1, lambda = 0, work = 0;
    for (int64_t s = 0; s < steps - 1; ++s) {
        if ((work += static_cast<int64_t>(hare.size())) > maxWork) return std::nullopt;
        if (!ReferenceStep(hare, plain, plain, limit)) return TReferenceResult{TRewriteStatus::Refused, s + 1, hare};
        result.Longest = std::max(result.Longest, static_cast<int64_t>(hare.size()));
        ++lambda;
        if (hare == tortoise) {
            // The string repeats the one Lambda steps ago: whole periods are skipped.
            s += (steps - 2 - s) / lambda * lambda;
        } else if (lambda == power) {
            tortoise = hare;
            power *= 2;
            lambda = 0;
        }
    }
    if (!ReferenceStep(hare, plain, last, limit)) result.Status = TRewriteStatus::Refused;
    return result;
}

} // namespace verdel::test
