#include "generators/random_generator.h"

#include <algorithm>
#include <span>

#include "engine/text_helpers.h"
#include "generators/random_axiom.h"
#include "generators/text_positions.h"

namespace verdel {

const std::array<TBarInfo, RandomBarCount> RandomBars = {{
    {"rules", 0, 18, 16},
    {"rulelength", 5, 20, 14},
    {"interaction", 0, 4, 1},
    {"draw", 2, 12, 9},
    {"move", 2, 12, 2},
    {"orient", 1, 8, 7},
    {"color", 1, 10, 5},
    {"branch", 0, 10, 9},
    {"polys", 1, 10, 9},
}};

const std::array<TLockInfo, RandomLockCount> RandomLocks = {{
    {"iterations", 1, 10},
    {"angle", 1, 90},
    {"thickness", 10, 200},
    {"rules", 2, 12},
    {"axiom", 0, 0},
}};

const char* const RandomFileName = "Random01.vd";

TRandomGenerator::TRandomGenerator(TRandomSource& random, uint32_t Seed) : Random(random)
{
    Random.Seed = Seed;
    for (int bar = 0; bar < RandomBarCount; ++bar) Bars[bar] = RandomBars[bar].Default;
}

void TRandomGenerator::SetPosition(TRandomBar Bar, int Value)
{
    Bars[Bar] = std::clamp(Value, RandomBars[Bar].Min, RandomBars[Bar].Max);
}

std::optional<std::string> TRandomGenerator::CheckEdit(TRandomLock Lock)
{
    if (Lock == rlAxiom) return std::nullopt;
    const TLockInfo& info = RandomLocks[Lock];
    TLockEdit& edit = Locks[Lock];
    const int value = ParseWholeInt(edit.Text).value_or(0);
    if (value >= info.Low && value <= info.High) return std::nullopt;
    std::string message = edit.Text + " is not acceptable\r\nValid entries are " + std::to_string(info.Low) + " thru " +
                          std::to_string(info.High);
    edit.Text = std::to_string(info.Low);
    return message;
}

std::optional<int> TRandomGenerator::LockedOrDrawn(TRandomLock Lock, int Base, uint32_t Range)
{
    TLockEdit& edit = Locks[Lock];
    if (edit.Checked) return ParseWholeInt(edit.Text);
    int value = Base + static_cast<int>(Random.Next(Range));
    // Only 18 rule letters exist, so a larger drawn count is capped after its draw.
    if (Lock == rlRules) value = std::min(value, MaxRandomRules);
    edit.Text = std::to_string(value);
    return value;
}

std::optional<std::string> TRandomGenerator::RandomizeAll()
{
    static const int bases[] = {2, 1, 10, 2};
    const uint32_t ranges[] = {8, 89, 190, static_cast<uint32_t>(Bars[rbRules])};
    int* const targets[] = {&Iterations, &Angle, &Thickness, &RuleCount};
    for (int lock = rlIterations; lock <= rlRules; ++lock) {
        const std::optional<int> value = LockedOrDrawn(static_cast<TRandomLock>(lock), bases[lock], ranges[lock]);
        if (!value) return "'" + Locks[lock].Text + "' is not a valid integer value";
        *targets[lock] = *value;
    }
    // A locked count outside what the rule tables hold is brought into them.
    RuleCount = std::clamp(RuleCount, 0, MaxRandomRules);

    if (Locks[rlAxiom].Checked) {
        Axiom = Locks[rlAxiom].Text;
    } else {
        Axiom = CreateAxiom(RuleCount, Random);
        Locks[rlAxiom].Text = Axiom;
    }
    return std::nullopt;
}

std::optional<std::string> TRandomGenerator::Go()
{
    if (std::optional<std::string> fault = RandomizeAll()) return fault;

    Memo = {std::to_string(Iterations), std::to_string(Angle), std::to_string(Thickness), Axiom};
    const TRuleWeights weights = Weights();
    for (int i = 1; i <= RuleCount; ++i) Memo.push_back(GenerateRule(i, RuleCount, weights, CommandPool, Random));

    const std::span<std::string> rules(Memo.begin() + 4, static_cast<size_t>(RuleCount));
    CheckRuleWeave(rules, Random);
    AddInResizing(rules, Angle, Random);
    CheckColors(rules, Random);
    Memo.push_back("@");
    return std::nullopt;
}

void TRandomGenerator::Randomize()
{
    static const TRandomBar order[] = {rbRules,       rbRuleLength, rbDraw,  rbMove, rbOrient,
                                       rbInteraction, rbBranch,     rbColor, rbPolys};
    // Min + R(Max - Min): a bar never lands on its maximum.
    for (TRandomBar bar : order)
        Bars[bar] = RandomBars[bar].Min + static_cast<int>(Random.Next(RandomBars[bar].Max - RandomBars[bar].Min));
}

void TRandomGenerator::Save(std::ostream& Out) const { WriteLines(Out, Memo); }

void TRandomGenerator::SaveToFile(const std::string& FileName) const { WriteLinesToFile(FileName, Memo); }

TRuleWeights TRandomGenerator::Weights() const
{
    TRuleWeights weights;
    weights.RuleLength = Bars[rbRuleLength];
    weights.Interaction = Bars[rbInteraction];
    weights.Draw = Bars[rbDraw];
    weights.Move = Bars[rbMove];
    weights.Orient = Bars[rbOrient];
    weights.Color = Bars[rbColor];
    weights.Branch = Bars[rbBranch];
    weights.Polys = Bars[rbPolys];
    return weights;
}

} // namespace verdel
