// Parallel rewriting of a string for any number of steps, with the result of rewriting it step by step.
#pragma once

#include <cstdint>
#include <string>

#include "engine/cancel.h"
#include "engine/rewrite_step.h"

namespace verdel {

enum class TRewriteStatus {
    Done,      // every step fitted
    Refused,   // a step passed the length limit
    Cancelled, // the cancel token stopped the work
    Failed,    // an extended definition's expression had no finite value
};

struct TRewriteOutcome {
    TRewriteStatus Status = TRewriteStatus::Done;
    int64_t Step = 0; // the last step taken: the refused one when Refused
};

// Rewrites Text Steps times in parallel: each ordinary step replaces every
// character by its Plain text, the last step by its Last text. Plain's counted
// lengths must be the text lengths, and Last must count as Plain does. A step
// whose counted total passes Limit (below 2^31) is refused and ends the
// rewriting; Text then holds the part of that step built before the failing
// character. The outcome is that of taking the steps one by one, reached in
// bounded time for growth of any rate, long periods and long texts; after
// Cancelled, Text is unspecified.
TRewriteOutcome RewriteText(std::string& Text, const TTextTable& Plain, const TTextTable& Last, int64_t Steps,
                            int64_t Limit, const TCancelToken& Cancel);

} // namespace verdel
