#include "engine/production_warnings.h"

#include <algorithm>
#include <array>

#include "engine/command_table.h"

namespace verdel {

namespace {

// Closing characters met with nothing open, and openings left open at the end.
struct TBalance {
    long Unmatched = 0;
    long Unclosed = 0;

    void Open() { ++Unclosed; }
    void Close()
    {
        if (Unclosed > 0) --Unclosed;
        else ++Unmatched;
    }
};

// The notes on Q, W and R standing in a production while their setting is off.
constexpr const char* SwitchedOffTexts[] = {
    "Q draws nothing while \"Set Q = Draw Cone\" is off (Options > General)",
    "W draws nothing while \"Set W = Draw Block\" is off (Options > General)",
    "R draws nothing while \"Set R = Draw Pyramid\" is off (Options > General)",
};

std::string Quoted(const char* text) { return std::string("\"") + text + "\""; }

void AddBalance(std::vector<std::string>& warnings, const TBalance& balance, const char* open, const char* close)
{
    const std::string pair = "Unbalanced " + Quoted(open) + " " + Quoted(close) + ": ";
    if (balance.Unmatched > 0)
        warnings.push_back(pair + std::to_string(balance.Unmatched) + " " + Quoted(close) + " without a matching " +
                           Quoted(open));
    if (balance.Unclosed > 0)
        warnings.push_back(pair + std::to_string(balance.Unclosed) + " " + Quoted(open) + " never closed");
}

} // namespace

std::vector<std::string> ProductionWarnings(std::string_view Production, const TSolidSettings& Settings)
{
    TBalance branches, polygons;
    std::array<bool, 3> seen{}; // Q, W, R
    for (size_t i = 0; i < Production.size(); ++i) {
        const auto c = static_cast<unsigned char>(Production[i]);
        switch (c) {
        case '[': branches.Open(); break;
        case ']': branches.Close(); break;
        case '{': polygons.Open(); break;
        case '}': polygons.Close(); break;
        case 'Q': seen[0] = true; break;
        case 'W': seen[1] = true; break;
        case 'R': seen[2] = true; break;
        default: break;
        }
        if (TakesParameter(c) && i + 1 < Production.size() && Production[i + 1] == '(') {
            const size_t close = Production.find(')', i + 2);
            if (close == std::string_view::npos) break;
            i = close;
        }
    }
    std::vector<std::string> warnings;
    AddBalance(warnings, branches, "[", "]");
    AddBalance(warnings, polygons, "{", "}");
    const bool on[] = {Settings.QCones, Settings.WBlocks, Settings.RPyramids};
    for (size_t k = 0; k < seen.size(); ++k)
        if (seen[k] && !on[k]) warnings.push_back(SwitchedOffTexts[k]);
    return warnings;
}

bool IsSwitchedOffWarning(const std::string& Warning)
{
    return std::find(std::begin(SwitchedOffTexts), std::end(SwitchedOffTexts), Warning) != std::end(SwitchedOffTexts);
}

} // namespace verdel
