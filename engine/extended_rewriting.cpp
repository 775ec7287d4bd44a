#include "engine/extended_rewriting.h"

#include <cmath>
#include <string>
#include <utility>

#include "engine/context_match.h"
#include "engine/extended_program.h"
#include "engine/module_string.h"

namespace verdel {

namespace {

// Modules rewritten between two looks at the cancel token.
constexpr size_t PollInterval = 4096;

struct TCancelled {};

// An expression without a finite value: the rule's line and what failed.
struct TRuleFault {
    int Line;
    std::string What;
};

class TRewriter {
public:
    TRewriter(const TExtendedProgram& program, TRandomSource& random, const TCancelToken& cancel, int64_t limit)
            : P(program), Evaluation(*program.Evaluation), Random(random), Cancel(cancel), Limit(limit)
    {
        for (const TExtendedRule& rule : P.Rules) Widest = std::max({Widest, rule.Left.size(), rule.Right.size()});
        Found.resize(Widest + 1);
    }

    TRewriteStatus Run(TDefinitionState& state)
    {
        Evaluation.Random = &Random;
        TRewriteStatus status = TRewriteStatus::Done;
        try {
            for (const TModuleTemplate& m : P.Axiom) Write(Current, m, P.AxiomLine);
            status = Steps(state.Iterations, state.FractionalStep);
        } catch (const TCancelled&) {
            status = TRewriteStatus::Cancelled;
        } catch (const TRuleFault& fault) {
            state.FaultLine = fault.Line;
            state.FaultText = "Line " + std::to_string(fault.Line) +
                              (Step == 0 ? std::string(", the axiom: ") : ", step " + std::to_string(Step) + ": ") +
                              fault.What;
            status = TRewriteStatus::Failed;
        }
        Evaluation = TEvaluation{};
        if (status == TRewriteStatus::Done || status == TRewriteStatus::Refused) Finish(state, status);
        return status;
    }

private:
    TRewriteStatus Steps(int iterations, bool fractional)
    {
        for (Step = 1; Step <= iterations; ++Step) {
            Cancel.Report(TWorkPhase::Rewriting, Step - 1, iterations);
            Drew = false;
            Evaluation.DrewRandom = false;
            if (!Rewrite(fractional && Step == iterations)) return TRewriteStatus::Refused;
            // Without a draw, a string that rewrites to itself stays so: only a
            // fractional last step, which writes "@" pairs, can still change it.
            const bool fixed = !Drew && !Evaluation.DrewRandom && Next == Current;
            std::swap(Current, Next);
            if (fixed && !fractional) break;
            if (fixed && Step < iterations - 1) Step = iterations - 1;
        }
        Cancel.Report(TWorkPhase::Rewriting, iterations, iterations);
        return TRewriteStatus::Done;
    }

    // The production string, the insertion directive applied when it fits.
    void Finish(TDefinitionState& state, TRewriteStatus& status)
    {
        const TModuleString& result = status == TRewriteStatus::Refused ? Next : Current;
        const bool inserting = !state.InsertChar.empty() && !state.InsertText.empty();
        const auto symbol = static_cast<unsigned char>(inserting ? state.InsertChar[0] : 0);
        const std::string& text = state.InsertText;
        int64_t length = 0, inserted = 0;
        for (size_t i = 0; i < result.Size(); ++i) {
            length += result.TextLength(i);
            inserted += inserting && result.Symbol(i) == symbol ? static_cast<int64_t>(text.size()) : 0;
        }
        const bool fits = inserted == 0 || length + inserted <= Limit;
        if (!fits) status = TRewriteStatus::Refused;
        state.Production = result.Text(result.Size(), symbol, fits && inserting ? text : std::string());
    }

    // One step into Next; false when a successor did not fit the limit (Next then holds the ones before it).
    bool Rewrite(bool last)
    {
        Next.Clear();
        if (P.HasContext) Partners = Current.BracketPartners();
        int64_t total = 0;
        for (size_t i = 0; i < Current.Size(); ++i) {
            if (i % PollInterval == 0 && Cancel.Cancelled()) throw TCancelled{};
            const int r = Choose(i);
            if (r < 0) {
                total += Current.TextLength(i);
                if (total > Limit) return false;
                Next.Append(Current, i);
                continue;
            }
            const TExtendedRule& rule = P.Rules[static_cast<size_t>(r)];
            const size_t mark = Next.Size();
            const bool scaled = last && rule.Scaled;
            if (scaled) Next.Append('@', nullptr, 0);
            for (const TModuleTemplate& m : rule.Successor) total += Write(Next, m, rule.Line);
            if (scaled) Next.Append('@', nullptr, 0);
            if (total > Limit) {
                Next.Truncate(mark);
                return false;
            }
        }
        return true;
    }

    // The rule that rewrites module I, or -1.
    int Choose(size_t i)
    {
        const unsigned char symbol = Current.Symbol(i);
        const std::vector<int>& candidates = P.RulesFor[symbol];
        if (candidates.empty()) return -1;
        const bool weighted = P.Weighted[symbol];
        int plain = -1;
        double total = 0;
        Chances.clear();
        for (const int r : candidates) {
            const TExtendedRule& rule = P.Rules[static_cast<size_t>(r)];
            if (!Matches(rule, i)) continue;
            if (rule.Condition && Value(*rule.Condition, rule.Line, "the condition") == 0) continue;
            if (!rule.Weight) {
                if (plain < 0) plain = r;
                if (!weighted) return r;
                continue;
            }
            const double w = Value(*rule.Weight, rule.Line, "the weight");
            if (w < 0) throw TRuleFault{rule.Line, "the weight is negative (" + ShortestNumberText(w) + ")"};
            if (w == 0) continue;
            total += w;
            Chances.emplace_back(r, total);
        }
        if (total <= 0) return plain;
        Drew = true;
        const double x = Random.NextReal() * total;
        for (const auto& [r, upTo] : Chances)
            if (x < upTo) return r;
        return Chances.back().first;
    }

    // Whether the rule's predecessor and contexts match at I; binds their formals.
    bool Matches(const TExtendedRule& rule, size_t i)
    {
        if (rule.Predecessor.Count != Current.Count(i)) return false;
        const TContextView view{Current, Partners, P.Ignored};
        if (!rule.Left.empty()) {
            if (!MatchLeftContext(view, rule.Left, i, Found.data())) return false;
            for (size_t k = 0; k < rule.Left.size(); ++k) Bind(rule, rule.Left[k], Found[k]);
        }
        if (!rule.Right.empty()) {
            if (!MatchRightContext(view, rule.Right, i, Found.data())) return false;
            for (size_t k = 0; k < rule.Right.size(); ++k) Bind(rule, rule.Right[k], Found[k]);
        }
        Bind(rule, rule.Predecessor, i);
        return true;
    }

    void Bind(const TExtendedRule& rule, const TModulePattern& pattern, size_t module)
    {
        const double* values = Current.Parameters(module);
        for (int k = 0; k < pattern.Count; ++k) rule.Formals[pattern.FirstSlot + k] = values[k];
    }

    // Writes one module of a successor (or the axiom); its text length.
    int64_t Write(TModuleString& target, const TModuleTemplate& m, int line)
    {
        Values.resize(m.Parameters.size());
        for (size_t k = 0; k < m.Parameters.size(); ++k) {
            const TExpression& e = m.Parameters[k];
            Values[k] = e.IsConstant() ? e.Evaluate() : ParameterValue(e, line, m.Symbol, k);
        }
        target.Append(m.Symbol, Values.data(), static_cast<int>(Values.size()));
        return target.TextLength(target.Size() - 1);
    }

    double ParameterValue(const TExpression& e, int line, unsigned char symbol, size_t k)
    {
        const double v = e.Evaluate();
        if (std::isfinite(v) && !Evaluation.Fault) return v;
        Check(v, line, "parameter " + std::to_string(k + 1) + " of '" + static_cast<char>(symbol) + "'");
        return v;
    }

    // The value of E, which must be a finite number.
    double Value(const TExpression& e, int line, const char* what)
    {
        const double v = e.Evaluate();
        Check(v, line, what);
        return v;
    }

    void Check(double v, int line, const std::string& what)
    {
        if (const char* fault = std::exchange(Evaluation.Fault, nullptr))
            throw TRuleFault{line, what + " is not a number: " + fault};
        if (!std::isfinite(v)) throw TRuleFault{line, what + " is not a finite number (" + ShortestNumberText(v) + ")"};
    }

    const TExtendedProgram& P;
    TEvaluation& Evaluation;
    TRandomSource& Random;
    const TCancelToken& Cancel;
    const int64_t Limit;
    TModuleString Current, Next;
    std::vector<int32_t> Partners;
    std::vector<size_t> Found;
    size_t Widest = 0;
    std::vector<double> Values;
    std::vector<std::pair<int, double>> Chances;
    int64_t Step = 0;
    bool Drew = false;
};

} // namespace

TRewriteStatus RewriteExtended(TDefinitionState& State, TRandomSource& Random, const TCancelToken& Cancel,
                               int64_t Limit)
{
    State.FaultLine = 0;
    State.FaultText.clear();
    return TRewriter(*State.Extended, Random, Cancel, Limit).Run(State);
}

} // namespace verdel
