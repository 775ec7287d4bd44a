#include "engine/extended_rewriting.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <utility>

#include "engine/context_match.h"
#include "engine/extended_program.h"
#include "engine/module_string.h"
#include "engine/string_cycle.h"

namespace verdel {

namespace {

// Modules rewritten between two looks at the cancel token.
constexpr size_t PollInterval = 4096;

struct TCancelled {};

// The steps left would pass the work limit.
struct TTooMuchWork {};

// An expression without a finite value: the rule's line and what failed.
struct TRuleFault {
    int Line;
    std::string What;
};

class TRewriter {
public:
    TRewriter(const TExtendedProgram& program, TRewriteBuffers& buffers, TRandomSource& random,
              const TCancelToken& cancel, int64_t limit, const TExtendedLimits& limits)
            : P(program), Evaluation(*program.Evaluation), Random(random), Cancel(cancel), Limit(limit), Limits(limits),
              Current(buffers.Current), Next(buffers.Next), Branches(buffers.Branches)
    {
        Current.Clear();
        for (const TExtendedRule& rule : P.Rules) Widest = std::max({Widest, rule.Left.size(), rule.Right.size()});
        Found.resize(Widest + 1);
        for (int c = 0; c < 256; ++c) Rewritten[static_cast<size_t>(c)] = !P.RulesFor[static_cast<size_t>(c)].empty();
        ListCandidates();
        for (const TExtendedRule& rule : P.Rules)
            Walks = Walks || (!rule.Left.empty() && !rule.PlainLeft) || (!rule.Right.empty() && !rule.PlainRight);
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
        } catch (const TTooMuchWork&) {
            state.FaultLine = P.IterationLine;
            state.FaultText = TooMuchWork();
            Evaluation = TEvaluation{};
            return TRewriteStatus::Refused;
        }
        Evaluation = TEvaluation{};
        if (status == TRewriteStatus::Done || status == TRewriteStatus::Refused) Finish(state, status);
        return status;
    }

private:
    TRewriteStatus Steps(int iterations, bool fractional)
    {
        // A fractional last step writes "@" pairs, so only the steps before it can go round a repetition.
        const int64_t plain = fractional ? iterations - 1 : iterations;
        TStringCycle cycle;
        int64_t work = 0;
        for (Step = 1; Step <= iterations; ++Step) {
            Cancel.Report(TWorkPhase::Rewriting, Step - 1, iterations);
            work += static_cast<int64_t>(Current.Size() + Current.ParameterCount()) + StepWork;
            if (work > Limits.Work) throw TTooMuchWork{};
            Drew = false;
            Evaluation.DrewRandom = false;
            if (!Rewrite(fractional && Step == iterations)) return TRewriteStatus::Refused;
            std::swap(Current, Next);
            if (!Limits.FindCycles || Step >= plain) continue;
            // Every later step repeats the one Period before it: only the steps past the last whole round are left.
            if (const int64_t period = cycle.Step(Current, Drew || Evaluation.DrewRandom))
                Step = plain - (plain - Step) % period;
        }
        Cancel.Report(TWorkPhase::Rewriting, iterations, iterations);
        return TRewriteStatus::Done;
    }

    // The refusal of a rewriting that would pass the work limit, on the iterations line.
    std::string TooMuchWork() const
    {
        const double steps = P.IterationValue;
        return "Line " + std::to_string(P.IterationLine) + ": " +
               (steps == std::floor(steps) ? std::to_string(static_cast<int64_t>(steps)) : ShortestNumberText(steps)) +
               " steps rewrite more than " + std::to_string(Limits.Work) +
               " modules and parameters in all, and the string does not repeat; give fewer steps";
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
        result.Write(state.Production, symbol, fits && inserting ? text : std::string());
    }

    // One step into Next; false when a successor did not fit the limit (Next then holds the ones before it).
    bool Rewrite(bool last)
    {
        Next.Clear();
        if (P.HasContext) Branches.Update(Current, P.Ignored, Walks);
        Next.Reserve(std::min<size_t>(static_cast<size_t>(Limit) + 1, std::max<size_t>(1024, 2 * Current.Size())));
        int64_t total = 0;
        const size_t n = Current.Size();
        for (size_t i = 0, poll = 0; i < n;) {
            if (i >= poll) {
                if (Cancel.Cancelled()) throw TCancelled{};
                poll = i + PollInterval;
            }
            // A run of modules no rule rewrites is copied at once.
            size_t j = i;
            for (; j < n && !Rewritten[Current.Symbol(j)]; ++j) {
                if (total + Current.TextLength(j) > Limit) break;
                total += Current.TextLength(j);
            }
            if (j > i) {
                Next.Append(Current, i, j);
                if (j < n && !Rewritten[Current.Symbol(j)]) return false;
                i = j;
                continue;
            }
            const int r = Choose(i);
            if (r < 0) {
                total += Current.TextLength(i);
                if (total > Limit) return false;
                Next.Append(Current, i, i + 1);
                ++i;
                continue;
            }
            const TExtendedRule& rule = P.Rules[static_cast<size_t>(r)];
            const size_t mark = Next.Size();
            const bool scaled = last && rule.Scaled;
            if (scaled) Next.Append('@', nullptr, 0);
            if (rule.ConstantSuccessor) {
                Next.Append(rule.Written);
                total += rule.WrittenLength;
            } else {
                for (const TModuleTemplate& m : rule.Successor) total += Write(Next, m, rule.Line);
            }
            if (scaled) Next.Append('@', nullptr, 0);
            if (total > Limit) {
                Next.Truncate(mark);
                return false;
            }
            ++i;
        }
        return true;
    }

    // A rule of a symbol as Choose tries it: contexts of at most one plain
    // module are compared with the neighbours directly.
    struct TCandidate {
        int Rule;
        uint8_t Count;
        bool Simple;     // no context longer than one plain module
        int16_t Left;    // the left context's symbol; -1 none
        uint8_t LeftCount;
        int16_t Right;   // the right context's symbol; -1 none
        uint8_t RightCount;
    };

    void ListCandidates()
    {
        for (size_t r = 0; r < P.Rules.size(); ++r) {
            const TExtendedRule& rule = P.Rules[r];
            TCandidate c{static_cast<int>(r), rule.Predecessor.Count, false, -1, 0, -1, 0};
            c.Simple = (rule.Left.empty() || (rule.PlainLeft && rule.Left.size() == 1)) &&
                       (rule.Right.empty() || (rule.PlainRight && rule.Right.size() == 1));
            if (!rule.Left.empty()) c.Left = rule.Left[0].Symbol, c.LeftCount = rule.Left[0].Count;
            if (!rule.Right.empty()) c.Right = rule.Right[0].Symbol, c.RightCount = rule.Right[0].Count;
            Candidates[rule.Predecessor.Symbol].push_back(c);
        }
    }

    // Whether the neighbour J of a module is the context module Symbol with Count parameters.
    bool Is(int32_t j, int16_t symbol, uint8_t count) const
    {
        return j >= 0 && Current.Symbol(static_cast<size_t>(j)) == symbol && Current.Count(static_cast<size_t>(j)) == count;
    }

    // Whether candidate C matches at I; binds the formals of its rule.
    bool Matches(const TCandidate& c, size_t i)
    {
        if (c.Count != Current.Count(i)) return false;
        const TExtendedRule& rule = P.Rules[static_cast<size_t>(c.Rule)];
        if (!c.Simple) return Matches(rule, i);
        if (c.Left >= 0 && !Is(Branches.LeftNeighbours[i], c.Left, c.LeftCount)) return false;
        if (c.Right >= 0 && !Is(Branches.RightNeighbours[i], c.Right, c.RightCount)) return false;
        if (c.LeftCount > 0) Bind(rule, rule.Left[0], static_cast<size_t>(Branches.LeftNeighbours[i]));
        if (c.RightCount > 0) Bind(rule, rule.Right[0], static_cast<size_t>(Branches.RightNeighbours[i]));
        Bind(rule, rule.Predecessor, i);
        return true;
    }

    // The rule that rewrites module I, or -1.
    int Choose(size_t i)
    {
        const unsigned char symbol = Current.Symbol(i);
        const std::vector<TCandidate>& candidates = Candidates[symbol];
        if (candidates.empty()) return -1;
        const bool weighted = P.Weighted[symbol];
        int plain = -1;
        double total = 0;
        Chances.clear();
        for (const TCandidate& c : candidates) {
            if (!Matches(c, i)) continue;
            const int r = c.Rule;
            const TExtendedRule& rule = P.Rules[static_cast<size_t>(r)];
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

    // Whether the rule's contexts match at I, whatever they hold; binds their formals.
    bool Matches(const TExtendedRule& rule, size_t i)
    {
        if (!rule.Left.empty()) {
            if (!MatchLeftContext(Branches, rule.Left, rule.PlainLeft, i, Found.data())) return false;
            for (size_t k = 0; k < rule.Left.size(); ++k) Bind(rule, rule.Left[k], Found[k]);
        }
        if (!rule.Right.empty()) {
            if (!MatchRightContext(Branches, rule.Right, rule.PlainRight, i, Found.data())) return false;
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
        if (m.Constant) {
            target.Append(m.Symbol, m.Values.data(), static_cast<int>(m.Values.size()), m.TextLength);
            return m.TextLength;
        }
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
    const TExtendedLimits Limits;
    TModuleString& Current;
    TModuleString& Next;
    TBranchView& Branches; // of Current
    bool Walks = false;   // some context needs the general walk, and so the bracket partners
    std::vector<size_t> Found;
    size_t Widest = 0;
    std::array<bool, 256> Rewritten{}; // some rule has the symbol as its predecessor
    std::array<std::vector<TCandidate>, 256> Candidates; // by predecessor symbol, in file order
    std::vector<double> Values;
    std::vector<std::pair<int, double>> Chances;
    int64_t Step = 0;
    bool Drew = false;
};

} // namespace

TRewriteStatus RewriteExtended(TDefinitionState& State, TRandomSource& Random, const TCancelToken& Cancel,
                               int64_t Limit, const TExtendedLimits& Limits)
{
    State.FaultLine = 0;
    State.FaultText.clear();
    if (!State.RewriteBuffers) State.RewriteBuffers = std::make_shared<TRewriteBuffers>();
    return TRewriter(*State.Extended, *State.RewriteBuffers, Random, Cancel, Limit, Limits).Run(State);
}

} // namespace verdel
