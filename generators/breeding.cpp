#include "generators/breeding.h"

#include <algorithm>

#include "engine/extended_definition.h"
#include "engine/text_helpers.h"
#include "generators/text_positions.h"

namespace verdel {

namespace {

enum class TSlotKind { Layout, Value, Rule, End };

// A line of a definition as crossover sees it. Layout lines (comments, blank
// lines, whatever follows the end line) are never drawn.
struct TSlot {
    TSlotKind Kind = TSlotKind::Layout;
    int Index = 0;   // value line 0..3, or the rule's occurrence among rules of its predecessor
    std::string Key; // a rule's predecessor
    const std::string* Line = nullptr;
};

std::vector<TSlot> Slots(const TLines& lines)
{
    std::vector<TSlot> slots;
    int values = 0;
    bool ended = false;
    std::vector<std::pair<std::string, int>> seen; // predecessor, rules so far
    for (const std::string& line : lines) {
        TSlot slot;
        slot.Line = &line;
        if (ended || line.empty() || line[0] == '#') {
            slots.push_back(slot);
            continue;
        }
        if (values < 4) {
            slot.Kind = TSlotKind::Value;
            slot.Index = values++;
        } else if (line[0] == '@') {
            slot.Kind = TSlotKind::End;
            ended = true;
        } else {
            slot.Kind = TSlotKind::Rule;
            slot.Key = line.substr(0, line.find('='));
            auto it = std::find_if(seen.begin(), seen.end(), [&](const auto& s) { return s.first == slot.Key; });
            if (it == seen.end()) it = seen.insert(seen.end(), {slot.Key, 0});
            slot.Index = it->second++;
        }
        slots.push_back(slot);
    }
    return slots;
}

// The slot of Second that pairs with Slot, or nullptr.
TSlot* Partner(std::vector<TSlot>& second, const TSlot& slot)
{
    for (TSlot& other : second)
        if (other.Kind == slot.Kind && other.Index == slot.Index && other.Key == slot.Key) return &other;
    return nullptr;
}

// SplitMix64's finaliser: every input bit reaches every output bit.
uint64_t Mix(uint64_t z)
{
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

bool ValidChild(int child) { return child >= 1 && child <= BreedChildCount; }

} // namespace

TMutatorBars DefaultMutatorBars()
{
    TMutatorBars bars;
    for (int bar = 0; bar < MutatorBarCount; ++bar) bars[bar] = MutatorBars[bar].Default;
    return bars;
}

std::string FormatPicks(const std::vector<TPick>& Picks)
{
    std::string text;
    for (const TPick& pick : Picks) {
        if (!text.empty()) text += ", ";
        text += std::to_string(pick.Child);
        if (pick.Second != 0) {
            text += '+';
            text += std::to_string(pick.Second);
        }
    }
    return text;
}

std::optional<std::vector<TPick>> ParsePicks(std::string_view Text)
{
    std::vector<TPick> picks;
    const auto trimmed = [](std::string_view s) {
        while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
        while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
        return s;
    };
    if (trimmed(Text).empty()) return picks;
    while (true) {
        const size_t comma = Text.find(',');
        const std::string_view item = trimmed(Text.substr(0, comma));
        const size_t plus = item.find('+');
        const std::optional<int> child = ParseWholeInt(trimmed(item.substr(0, plus)));
        std::optional<int> second = 0;
        if (plus != std::string_view::npos) second = ParseWholeInt(trimmed(item.substr(plus + 1)));
        if (!child || !second || !ValidChild(*child)) return std::nullopt;
        if (plus != std::string_view::npos && (!ValidChild(*second) || *second == *child)) return std::nullopt;
        picks.push_back({*child, *second});
        if (comma == std::string_view::npos) return picks;
        Text.remove_prefix(comma + 1);
    }
}

uint32_t ChildSeed(uint32_t GallerySeed, int Generation, int Child)
{
    const uint64_t index = static_cast<uint64_t>(static_cast<uint32_t>(Generation)) * BreedChildCount + Child - 1;
    return static_cast<uint32_t>(Mix((static_cast<uint64_t>(GallerySeed) << 32) + index));
}

namespace {

// Two extended definitions bred from one start differ only in their numbers,
// line for line: each line that differs is drawn from either.
TLines CrossExtended(const TLines& First, const TLines& Second, TRandomSource& Random)
{
    TLines child = First;
    if (Second.size() != First.size()) return child;
    for (size_t i = 0; i < child.size(); ++i)
        if (Second[i] != First[i] && Random.Next(2) == 1) child[i] = Second[i];
    return child;
}

} // namespace

TLines CrossDefinitions(const TLines& First, const TLines& Second, TRandomSource& Random)
{
    if (IsExtendedDefinition(First) && IsExtendedDefinition(Second)) return CrossExtended(First, Second, Random);
    const std::vector<TSlot> first = Slots(First);
    std::vector<TSlot> second = Slots(Second);
    std::vector<bool> paired(second.size(), false);
    TLines child;
    auto secondOnlyRules = [&] {
        for (size_t i = 0; i < second.size(); ++i)
            if (second[i].Kind == TSlotKind::Rule && !paired[i] && Random.Next(2) == 0)
                child.push_back(*second[i].Line);
    };
    bool secondRulesPlaced = false;
    for (const TSlot& slot : first) {
        if (slot.Kind == TSlotKind::Layout) {
            child.push_back(*slot.Line);
            continue;
        }
        if (slot.Kind == TSlotKind::End) {
            secondOnlyRules();
            secondRulesPlaced = true;
        }
        TSlot* partner = Partner(second, slot);
        if (partner) paired[static_cast<size_t>(partner - second.data())] = true;
        if (!partner && slot.Kind != TSlotKind::Rule) child.push_back(*slot.Line);
        else if (!partner) {
            if (Random.Next(2) == 0) child.push_back(*slot.Line);
        } else child.push_back(Random.Next(2) == 0 ? *slot.Line : *partner->Line);
    }
    if (!secondRulesPlaced) secondOnlyRules();
    return child;
}

TBreedingGallery::TBreedingGallery(TLines Start, uint32_t Seed, const TMutatorBars& Bars)
        : GallerySeed(Seed), MutatorBars(Bars)
{
    History.push_back(Breed(std::move(Start), Seed, {}, nullptr));
}

TBreedGeneration TBreedingGallery::Breed(TLines Parent, uint32_t ParentSeed, std::vector<TPick> Picks,
                                         const TLines* Second) const
{
    TBreedGeneration generation;
    generation.Parent = std::move(Parent);
    generation.ParentSeed = ParentSeed;
    generation.Picks = std::move(Picks);
    const int number = static_cast<int>(generation.Picks.size());
    for (int i = 1; i <= BreedChildCount; ++i) {
        TBreedChild& child = generation.Children[static_cast<size_t>(i - 1)];
        child.Seed = ChildSeed(GallerySeed, number, i);
        TRandomSource random;
        random.Seed = child.Seed;
        const TLines start = Second ? CrossDefinitions(generation.Parent, *Second, random) : generation.Parent;
        // The Mutate continues from the crossover's last draw.
        TDefinitionMutator mutator(random, random.Seed);
        for (int bar = 0; bar < MutatorBarCount; ++bar)
            mutator.SetPosition(static_cast<TMutatorBar>(bar), MutatorBars[bar]);
        mutator.Memo = start;
        if (const std::optional<std::string> fault = mutator.Mutate()) child.Fault = *fault;
        child.Text = std::move(mutator.Memo);
    }
    return generation;
}

bool TBreedingGallery::Pick(int Child, int Second)
{
    if (!ValidChild(Child) || (Second != 0 && (!ValidChild(Second) || Second == Child))) return false;
    const TBreedGeneration& current = Current();
    const TBreedChild& picked = current.Children[static_cast<size_t>(Child - 1)];
    const TLines* second = Second ? &current.Children[static_cast<size_t>(Second - 1)].Text : nullptr;
    std::vector<TPick> picks = current.Picks;
    picks.push_back({Child, Second});
    TBreedGeneration next = Breed(picked.Text, picked.Seed, std::move(picks), second);
    History.resize(Position + 1);
    History.push_back(std::move(next));
    ++Position;
    return true;
}

bool TBreedingGallery::Back()
{
    if (!CanBack()) return false;
    --Position;
    return true;
}

bool TBreedingGallery::Forward()
{
    if (!CanForward()) return false;
    ++Position;
    return true;
}

std::string TBreedingGallery::LineageText() const
{
    std::string text = "seed " + std::to_string(GallerySeed);
    if (!Current().Picks.empty()) text += ": " + FormatPicks(Current().Picks);
    return text;
}

} // namespace verdel
