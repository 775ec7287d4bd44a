// The random generator's state and commands, behind its dialog: track bars,
// locks, the composed definition text and the Go, Randomize and Save actions.
#pragma once

#include <array>
#include <iosfwd>
#include <optional>
#include <string>

#include "engine/random_source.h"
#include "engine/text_lines.h"
#include "generators/bar_info.h"
#include "generators/random_rules.h"

namespace verdel {

// The nine track bars, in the order of the dialog's pages.
enum TRandomBar { rbRules, rbRuleLength, rbInteraction, rbDraw, rbMove, rbOrient, rbColor, rbBranch, rbPolys };
constexpr int RandomBarCount = 9;

// The five values that can be locked to a typed value, in the order they are settled.
enum TRandomLock { rlIterations, rlAngle, rlThickness, rlRules, rlAxiom };
constexpr int RandomLockCount = 5;

// The random generator's bars: "rules", "rulelength", "interaction", "draw",
// "move", "orient", "color", "branch", "polys".
extern const std::array<TBarInfo, RandomBarCount> RandomBars;

// A lock's batch-tool name and the range its edit accepts (the axiom has none).
struct TLockInfo {
    const char* Name;
    int Low;
    int High;
};

// The locks: "iterations" 1-10, "angle" 1-90, "thickness" 10-200, "rules" 2-12, "axiom".
extern const std::array<TLockInfo, RandomLockCount> RandomLocks;

// A lock check box and its edit; the edit is enabled while the box is checked.
struct TLockEdit {
    bool Checked = false;
    std::string Text;
};

// The file name Go gives the model and Save offers.
extern const char* const RandomFileName;

// The random generator. Every draw comes from the source handed in, in a fixed
// order, so the same seed and settings compose the same text.
class TRandomGenerator {
public:
    // Seeds Random (the time of day unless Seed is given); bars at their defaults, memo one empty line.
    explicit TRandomGenerator(TRandomSource& Random, uint32_t Seed = SeedFromTimeOfDay());

    // A track bar's position.
    int Position(TRandomBar Bar) const { return Bars[Bar]; }
    // Moves a track bar; positions outside its range are clamped into it.
    void SetPosition(TRandomBar Bar, int Value);

    // The lock boxes and their edits, indexed by TRandomLock.
    std::array<TLockEdit, RandomLockCount> Locks;

    // Focus leaves a numeric edit: out of range, returns the message and resets the edit to its low bound.
    std::optional<std::string> CheckEdit(TRandomLock Lock);

    // Go, up to the finished text: settle the five values, write the numbers,
    // the axiom, the rules and "@" into Memo. A locked edit that is not a
    // whole number stops it with "'TEXT' is not a valid integer value" and the memo unchanged.
    std::optional<std::string> Go();

    // Randomize: every bar to Min + R(Max - Min); locks and memo stay.
    void Randomize();

    // Settles iterations, angle, thickness, rule count and axiom, drawn or locked.
    std::optional<std::string> RandomizeAll();

    // Writes the memo's lines, each followed by CR LF.
    void Save(std::ostream& Out) const;
    // Save to a file; throws std::runtime_error naming the file when it cannot be written.
    void SaveToFile(const std::string& FileName) const;

    // The composed definition (one empty line before the first Go).
    TLines Memo{""};

    // The values of the last Go.
    int Iterations = 0;
    int Angle = 0;
    int Thickness = 0;
    int RuleCount = 0;
    std::string Axiom;
    std::string CommandPool;

private:
    std::optional<int> LockedOrDrawn(TRandomLock Lock, int Base, uint32_t Range);
    TRuleWeights Weights() const;

    TRandomSource& Random;
    std::array<int, RandomBarCount> Bars;
};

} // namespace verdel
