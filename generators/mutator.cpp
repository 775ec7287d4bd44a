#include "generators/mutator.h"

#include <algorithm>

#include "engine/definition.h"
#include "engine/extended_definition.h"
#include "engine/text_helpers.h"
#include "generators/extended_mutation.h"
#include "generators/text_positions.h"

namespace verdel {

const std::array<TBarInfo, MutatorBarCount> MutatorBars = {{
    {"recursion", 0, 5, 0},
    {"angle", 0, 5, 0},
    {"thickness", 0, 5, 0},
    {"deletions", 0, 5, 0},
    {"additions", 0, 5, 0},
    {"substitutions", 0, 5, 0},
    {"radiation", 0, 10, 2},
}};

const std::array<char, 24> AddCommands = {'F', 'f', 'Z', 'z', 'g', '&',  '^', '+', '-', '<', '>',  '%',
                                          '|', '!', '?', ':', ';', '\\', '*', '$', '.', '_', '\'', '"'};

namespace {

bool StartsWith(const std::string& line, char c) { return !line.empty() && line[0] == c; }

// A rule position 3 + R(length - 2): from the character after "=" to the end.
// A line of one character has the bound -1, read as 4294967295, which lies past its end.
int64_t RulePosition(const std::string& text, TRandomSource& random)
{
    return 3 + static_cast<int64_t>(random.Next(static_cast<uint32_t>(static_cast<int64_t>(text.size()) - 2)));
}

bool Within(const std::string& text, int64_t position)
{
    return position >= 1 && position <= static_cast<int64_t>(text.size());
}

bool HasLine(const TLines& memo, int line) { return line >= 0 && line < static_cast<int>(memo.size()); }

} // namespace

bool IsProtected(char c) { return c == '(' || c == ')' || c == '[' || c == ']' || c == '{' || c == '}'; }

TVDRecord ReadVDFile(const TLines& Lines)
{
    TVDRecord record;
    TVDNumber* const numbers[] = {&record.Iterations, &record.Angle, &record.Thickness};
    int valueLines = 0;
    for (int line = 0; line < static_cast<int>(Lines.size()); ++line) {
        const std::string& text = Lines[static_cast<size_t>(line)];
        if (StartsWith(text, '#')) continue;
        ++valueLines;
        if (valueLines <= 3) {
            const std::optional<int> value = ParseWholeInt(text);
            *numbers[valueLines - 1] = {value.value_or(-1), line, value.has_value()};
        } else if (valueLines == 4) {
            record.Axiom = {text, line};
        } else if (StartsWith(text, '@')) {
            break;
        } else {
            record.Rules.push_back({text, line});
        }
    }
    return record;
}

int MutationOdds(int Radiation) { return (MutatorBars[mbRadiation].Max - Radiation) * 2 + 1; }

TDefinitionMutator::TDefinitionMutator(TRandomSource& random, uint32_t Seed) : Random(random)
{
    Random.Seed = Seed;
    for (int bar = 0; bar < MutatorBarCount; ++bar) Bars[bar] = MutatorBars[bar].Default;
}

void TDefinitionMutator::SetPosition(TMutatorBar Bar, int Value)
{
    Bars[Bar] = std::clamp(Value, MutatorBars[Bar].Min, MutatorBars[Bar].Max);
}

std::optional<std::string> TDefinitionMutator::Mutate()
{
    std::string errorText;
    if (!ValidateDefinition(Memo, errorText)) return "Please Check Input Data\r\n" + errorText;
    // An extended definition keeps its rules' text: only its constants and weights move.
    if (IsExtendedDefinition(Memo)) {
        if (std::optional<std::string> nothing = NothingToMutate(Memo)) return nothing;
        SaveOriginalVD();
        Changed.fill(false);
        MutateExtended(Memo, Bars[mbRadiation], Random);
        UndoEnabled = true;
        return std::nullopt;
    }
    const TVDRecord record = ReadVDFile(Memo);
    SaveOriginalVD();
    DetermineMutations(record);
    UndoEnabled = true;
    return std::nullopt;
}

bool TDefinitionMutator::UndoLast()
{
    if (!UndoEnabled) return false;
    Memo = UndoLines;
    UndoEnabled = false;
    return true;
}

void TDefinitionMutator::Scramble()
{
    static const TMutatorBar order[] = {mbRadiation, mbRecursion, mbAngle,        mbThickness,
                                        mbDeletions, mbAdditions, mbSubstitutions};
    for (TMutatorBar bar : order) Bars[bar] = static_cast<int>(Random.Next(MutatorBars[bar].Max + 1));
}

void TDefinitionMutator::SaveOriginalVD() { UndoLines = Memo; }

void TDefinitionMutator::DetermineMutations(const TVDRecord& Record)
{
    Changed.fill(false);
    const uint32_t odds = static_cast<uint32_t>(MutationOdds(Bars[mbRadiation]));
    // Each kind has its bar's position plus one tries; the first hit makes the change once.
    for (int kind = 0; kind < MutationKindCount; ++kind) {
        for (int attempt = 0; attempt <= Bars[kind]; ++attempt) {
            if (Random.Next(odds) != 0) continue;
            ApplyChange(static_cast<TMutationKind>(kind), Record);
            Changed[kind] = true;
            break;
        }
    }
}

void TDefinitionMutator::ApplyChange(TMutationKind Kind, const TVDRecord& Record)
{
    switch (Kind) {
    case mkRecursion: ShiftNumber(Record.Iterations, 3); break;
    case mkAngle: ShiftNumber(Record.Angle, 2); break;
    case mkThickness: ShiftNumber(Record.Thickness, 2); break;
    case mkDeletions: DeleteFromRules(Record); break;
    case mkAdditions: AddToRules(Record); break;
    case mkSubstitutions: SubstituteInRules(Record); break;
    }
}

void TDefinitionMutator::ShiftNumber(const TVDNumber& Number, int64_t Divisor)
{
    // The shift's bound scales with the value's size, so a negative value
    // moves by at most its own fraction as a positive one does.
    const int64_t magnitude = Number.Value < 0 ? -static_cast<int64_t>(Number.Value) : Number.Value;
    const int64_t d = Random.Next(static_cast<uint32_t>(RoundHalfEven(magnitude, Divisor)));
    const bool up = Random.Next(2) == 1;
    // A line that is not a whole number keeps its text: the draws alone are made.
    if (!Number.Whole || !HasLine(Memo, Number.Line)) return;
    Memo[static_cast<size_t>(Number.Line)] = std::to_string(Number.Value + (up ? d : -d));
}

void TDefinitionMutator::DeleteFromRules(const TVDRecord& Record)
{
    for (const TVDRule& rule : Record.Rules) {
        if (Random.Next(4) != 0 || !HasLine(Memo, rule.Line)) continue;
        std::string text = rule.Text;
        const int64_t q = RulePosition(text, Random);
        if (Within(text, q) && !IsProtected(CharAt(text, q))) text.erase(static_cast<size_t>(q - 1), 1);
        Memo[static_cast<size_t>(rule.Line)] = text;
    }
}

void TDefinitionMutator::AddToRules(const TVDRecord& Record)
{
    for (const TVDRule& rule : Record.Rules) {
        if (Random.Next(5) != 0 || !HasLine(Memo, rule.Line)) continue;
        // The rule as read: a deletion of this Mutate is not seen.
        std::string text = rule.Text;
        const char c = AddCommands[Random.Next(24)];
        int64_t q = RulePosition(text, Random);
        // Keep off a parameter: two before its "(" or two after its ")".
        for (int64_t i = 1; i <= 3; ++i) {
            if (CharAt(text, q - i) == '(') {
                q = q - i - 2;
                break;
            }
            if (CharAt(text, q + i) == ')') {
                q = q + i + 2;
                break;
            }
        }
        // Never between the name and "=".
        InsertAt(text, std::max<int64_t>(q, 3), c);
        Memo[static_cast<size_t>(rule.Line)] = text;
    }
}

void TDefinitionMutator::SubstituteInRules(const TVDRecord& Record)
{
    for (const TVDRule& rule : Record.Rules) {
        if (Random.Next(6) != 0 || !HasLine(Memo, rule.Line)) continue;
        const char c = AddCommands[Random.Next(24)];
        // The rule's current line, with this Mutate's deletions and additions.
        std::string& line = Memo[static_cast<size_t>(rule.Line)];
        const int64_t q = RulePosition(line, Random);
        if (Within(line, q) && !IsProtected(CharAt(line, q))) line[static_cast<size_t>(q - 1)] = c;
    }
}

void TDefinitionMutator::Load(std::istream& In) { Memo = ReadLines(In); }

void TDefinitionMutator::LoadFromFile(const std::string& FileName) { Memo = ReadLinesFromFile(FileName); }

void TDefinitionMutator::Save(std::ostream& Out) const { WriteLines(Out, Memo); }

void TDefinitionMutator::SaveToFile(const std::string& FileName) const { WriteLinesToFile(FileName, Memo); }

} // namespace verdel
