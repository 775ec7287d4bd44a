// The mutator's state and commands, behind its dialog: track bars, the
// definition being mutated, one level of undo and the changed-kind flags.
#pragma once

#include <array>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "engine/random_source.h"
#include "engine/text_lines.h"
#include "generators/bar_info.h"

namespace verdel {

// The six kinds of change, in the order they are tried.
enum TMutationKind { mkRecursion, mkAngle, mkThickness, mkDeletions, mkAdditions, mkSubstitutions };
constexpr int MutationKindCount = 6;

// The track bars: one per kind of change (same order), then the radiation.
enum TMutatorBar { mbRecursion, mbAngle, mbThickness, mbDeletions, mbAdditions, mbSubstitutions, mbRadiation };
constexpr int MutatorBarCount = 7;

// The bars' batch-tool names, ranges and start positions: the six kinds
// ("recursion" ... "substitutions") 0-5 at 0, "radiation" 0-10 at 2.
extern const std::array<TBarInfo, MutatorBarCount> MutatorBars;

// The 24 characters an addition or a substitution chooses from.
extern const std::array<char, 24> AddCommands;

// Structure characters a deletion or a substitution never removes: ( ) [ ] { }.
bool IsProtected(char c);

// A numeric line's value and its 0-based memo line; Whole is false (and the
// value -1) when the line is not a whole number, e.g. a decimal or a value with a comment.
struct TVDNumber {
    int Value = -1;
    int Line = -1;
    bool Whole = false;
};

// A line's full text (a rule's name and "=" included) and its 0-based memo line.
struct TVDRule {
    std::string Text;
    int Line = -1;
};

// The definition as the mutator reads it.
struct TVDRecord {
    TVDNumber Iterations;
    TVDNumber Angle;
    TVDNumber Thickness;
    TVDRule Axiom;
    std::vector<TVDRule> Rules;
};

// Reads the values, axiom and rule lines of a text, comment lines skipped and
// counted in the line numbers, up to the first rule line starting with "@".
TVDRecord ReadVDFile(const TLines& Lines);

// One try succeeds when R(odds) is 0: (10 - Radiation) x 2 + 1.
int MutationOdds(int Radiation);

// The mutator. Every draw comes from the source handed in, in a fixed order,
// so the same seed, settings and text give the same mutation.
class TDefinitionMutator {
public:
    // Seeds Random (the time of day unless Seed is given); bars at their defaults, memo one empty line.
    explicit TDefinitionMutator(TRandomSource& Random, uint32_t Seed = SeedFromTimeOfDay());

    // A track bar's position.
    int Position(TMutatorBar Bar) const { return Bars[Bar]; }
    // Moves a track bar; positions outside its range are clamped into it.
    void SetPosition(TMutatorBar Bar, int Value);

    // Mutate: validates the memo (a fault returns "Please Check Input Data",
    // CR LF and the validator's message, and nothing changes), keeps it for
    // undo, applies the mutations and enables Undo Last. An extended
    // definition changes only its constants and weights (see MutateExtended),
    // or returns NothingToMutate's message when it has none.
    std::optional<std::string> Mutate();

    // Undo Last: the memo as it was before the last Mutate; false when disabled.
    bool UndoLast();

    // Scramble: radiation, then the six kind bars, each to R(Max + 1).
    void Scramble();

    // Copies the memo into UndoLines.
    void SaveOriginalVD();

    // Tries the six kinds in order against Record and changes the memo's lines; sets Changed.
    void DetermineMutations(const TVDRecord& Record);

    // Replaces the memo by a text's lines.
    void Load(std::istream& In);
    // Load from a file; throws std::runtime_error naming the file when it cannot be read.
    void LoadFromFile(const std::string& FileName);
    // Writes the memo's lines, each followed by CR LF.
    void Save(std::ostream& Out) const;
    // Save to a file; throws std::runtime_error naming the file when it cannot be written.
    void SaveToFile(const std::string& FileName) const;

    // The definition being mutated; the user may edit it between presses.
    TLines Memo{""};
    // The memo before the last Mutate.
    TLines UndoLines;
    // Whether "Undo Last" is enabled.
    bool UndoEnabled = false;
    // Which kinds' labels are red: the kinds that happened in the last Mutate.
    std::array<bool, MutationKindCount> Changed{};

private:
    void ApplyChange(TMutationKind Kind, const TVDRecord& Record);
    void ShiftNumber(const TVDNumber& Number, int64_t Divisor);
    void DeleteFromRules(const TVDRecord& Record);
    void AddToRules(const TVDRecord& Record);
    void SubstituteInRules(const TVDRecord& Record);

    TRandomSource& Random;
    std::array<int, MutatorBarCount> Bars;
};

} // namespace verdel
