// Fuzz target: a rule table and an axiom rewritten any number of times, up to
// 2^31 - 1, under the production limit. The input is text: the step count
// (a "+" after it makes the last step fractional, wrapping every successor in
// "@"), the axiom, then one rule a line, its first byte the character and the
// rest, after an optional "=", its successor; other characters stay as they
// are. The outcome must agree with steps taken one by one wherever those find
// the whole string's cycle, or the refusal, within a few million characters.
// An input whose first line is "#extended" is an extended definition instead:
// rewritten with its repetitions skipped, it must give what taking every
// step gives (status, production and message), wherever taking every step
// ends within a small work limit.
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "engine/extended_definition.h"
#include "engine/extended_rewriting.h"
#include "engine/production.h"
#include "engine/text_lines.h"
#include "tests/fuzz/fuzz_target.h"
#include "tests/support/reference_rewriting.h"

using namespace verdel;

namespace {

constexpr size_t MaxInput = 4096;
constexpr int64_t MaxReferenceWork = 8'000'000;

void Fail(const char* what)
{
    std::fprintf(stderr, "rewriting disagrees with steps taken one by one: %s\n", what);
    std::abort();
}

// An extended definition rewritten with and without skipping repetitions.
void CheckExtended(const TLines& lines)
{
    if (!ValidateDefinition(lines).Ok) return;
    TDefinitionState skipping, stepping;
    ParseDefinition(skipping, lines);
    ParseDefinition(stepping, lines);
    TRandomSource first, second;
    first.Seed = second.Seed = 1;
    const TCancelToken token;
    const TRewriteStatus expected =
        RewriteExtended(stepping, second, token, MaxProductionLength, {MaxReferenceWork, false});
    if (expected == TRewriteStatus::Refused && stepping.FaultLine != 0) return; // too much work to compare
    const TRewriteStatus status =
        RewriteExtended(skipping, first, token, MaxProductionLength, {MaxReferenceWork, true});
    if (status != expected) Fail("extended status");
    if (skipping.Production != stepping.Production) Fail("extended production");
    if (skipping.FaultText != stepping.FaultText) Fail("extended message");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    if (Size > MaxInput) return 0;
    const TLines lines = SplitLines(std::string_view(reinterpret_cast<const char*>(Data), Size));
    if (IsExtendedDefinition(lines)) {
        CheckExtended(lines);
        return 0;
    }
    if (lines.size() < 2) return 0;
    const std::string& count = lines[0];
    uint64_t steps = 0;
    const auto [end, error] = std::from_chars(count.data(), count.data() + count.size(), steps);
    if (error != std::errc()) return 0;
    steps = std::min<uint64_t>(steps, 0x7FFFFFFF);
    const bool fractional = end != count.data() + count.size() && *end == '+';

    test::TRuleTexts plain;
    for (int c = 0; c < 256; ++c) plain[c] = std::string(1, static_cast<char>(c));
    for (size_t i = 2; i < lines.size(); ++i) {
        if (lines[i].empty()) continue;
        const std::string_view successor =
            std::string_view(lines[i]).substr(lines[i].size() > 1 && lines[i][1] == '=' ? 2 : 1);
        plain[static_cast<unsigned char>(lines[i][0])] = successor;
    }
    test::TRuleTexts last = plain;
    TTextTable plainTable;
    TTextTable lastTable;
    for (int c = 0; c < 256; ++c) {
        const auto code = static_cast<unsigned char>(c);
        if (fractional) last[c] = "@" + plain[c] + "@";
        plainTable.Set(code, plain[c], static_cast<int64_t>(plain[c].size()));
        lastTable.Set(code, last[c], static_cast<int64_t>(plain[c].size()));
    }

    std::string text = lines[1];
    const TCancelToken token;
    const auto n = static_cast<int64_t>(steps);
    const TRewriteOutcome outcome = RewriteText(text, plainTable, lastTable, n, MaxProductionLength, token);
    const std::optional<test::TReferenceResult> expected =
        test::ReferenceRewrite(lines[1], plain, last, n, MaxProductionLength, MaxReferenceWork);
    if (!expected) return 0;
    if (outcome.Status != expected->Status) Fail("status");
    if (outcome.Step != expected->Step) Fail("step");
    if (text != expected->Text) Fail("text");
    return 0;
}
