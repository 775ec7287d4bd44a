// Track bars of the generator dialogs as plain data: name, range, start position.
#pragma once

#include <span>
#include <string_view>

namespace verdel {

// A track bar's batch-tool name, range and start position.
struct TBarInfo {
    const char* Name;
    int Min;
    int Max;
    int Default;
};

// The index of the bar called Name in Bars, or -1 when there is none.
inline int FindBar(std::span<const TBarInfo> Bars, std::string_view Name)
{
    for (size_t i = 0; i < Bars.size(); ++i)
        if (Name == Bars[i].Name) return static_cast<int>(i);
    return -1;
}

} // namespace verdel
