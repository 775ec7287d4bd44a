#include "engine/production.h"

#include <algorithm>
#include <array>

#include "engine/extended_rewriting.h"

namespace verdel {

namespace {

// The definition's rewriting tables: for every character code the successor of
// its rule, as ordinary steps write it and as a fractional last step writes it.
void FillTables(const TDefinitionState& state, TTextTable& plain, TTextTable& last)
{
    // RuleFor: every code starts at the built-in ")=)"; walking down makes
    // the lowest-numbered rule of a character win. "_=_" is never entered.
    std::array<int, 256> ruleFor;
    ruleFor.fill(state.RuleCount - 1);
    for (int i = state.RuleCount - 1; i >= 1; --i) ruleFor[static_cast<unsigned char>(state.Rule(i).Text[0])] = i;

    for (int c = 0; c < 256; ++c) {
        const TRules& rule = state.Rule(ruleFor[c]);
        const std::string successor = rule.Text.size() > 2 ? rule.Text.substr(2) : std::string();
        const auto code = static_cast<unsigned char>(c);
        plain.Set(code, successor, rule.SuccessorLength);
        last.Set(code, rule.Scaled ? "@" + successor + "@" : successor, rule.SuccessorLength);
    }
}

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

TRewriteStatus RewriteProduction(TDefinitionState& State, const TCancelToken& Cancel, TRandomSource& Random)
{
    if (State.Extended) return RewriteExtended(State, Random, Cancel, MaxProductionLength);
    TRewriteStatus status = TRewriteStatus::Done;
    if (State.Iterations >= 1) {
        TTextTable plain;
        TTextTable last;
        FillTables(State, plain, last);
        status = RewriteText(State.Production, plain, State.FractionalStep ? last : plain, State.Iterations,
                             MaxProductionLength, Cancel)
                     .Status;
        if (status == TRewriteStatus::Cancelled) return status;
    }
    if (!State.InsertChar.empty()) {
        if (!ApplyInsertion(State.Production, State.InsertChar[0], State.InsertText)) status = TRewriteStatus::Refused;
    }
    return status;
}

bool RewriteProduction(TDefinitionState& State, TRandomSource& Random)
{
    const TCancelToken never;
    return RewriteProduction(State, never, Random) == TRewriteStatus::Done;
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

TRewriteStatus BuildProduction(TDefinitionState& State, TPrompt& Prompt, const TCancelToken& Cancel,
                               TRandomSource& Random)
{
    const TRewriteStatus status = RewriteProduction(State, Cancel, Random);
    if (status == TRewriteStatus::Cancelled || status == TRewriteStatus::Failed) return status;
    if (status == TRewriteStatus::Refused) {
        // An extended definition refused for its work says why and on which line.
        Prompt.Message(State.FaultText.empty() ? "Production String Exceeded Maximum Length" : State.FaultText);
        return status;
    }
    const int64_t estimate = EstimateOutputSize(State.Production);
    if (estimate <= OutputSizeQuestionLimit) return TRewriteStatus::Done;
    const std::string question =
        "Estimated Output File Size: " + FormatEstimate(estimate) + "\r\nDo you wish to continue?";
    return Prompt.Confirm(question, false) == TAnswer::Yes ? TRewriteStatus::Done : TRewriteStatus::Refused;
}

bool BuildProduction(TDefinitionState& State, TPrompt& Prompt, TRandomSource& Random)
{
    const TCancelToken never;
    return BuildProduction(State, Prompt, never, Random) == TRewriteStatus::Done;
}

} // namespace verdel
