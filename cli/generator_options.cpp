#include "cli/generator_options.h"

#include <iostream>
#include <optional>

#include "cli/cli_common.h"
#include "engine/text_helpers.h"
#include "generators/text_positions.h"

namespace verdel::cli {

std::string BarNames(std::span<const TBarInfo> Bars)
{
    std::string names;
    for (const TBarInfo& bar : Bars) names += (names.empty() ? "" : ", ") + std::string(bar.Name);
    return names;
}

bool SplitSetting(const std::string& Option, const std::string& Setting, std::string& Name, std::string& Value)
{
    const size_t at = Setting.find('=');
    if (at == std::string::npos) {
        std::cerr << Option << " expects NAME=VALUE, not '" << Setting << "'\n";
        return false;
    }
    Name = Setting.substr(0, at);
    Value = Setting.substr(at + 1);
    return true;
}

bool ApplyBars(std::span<const TBarInfo> Bars, const std::vector<std::string>& Settings,
               const std::function<void(int, int)>& Set)
{
    for (const std::string& setting : Settings) {
        std::string name, text;
        if (!SplitSetting("--bar", setting, name, text)) return false;
        const int index = FindBar(Bars, name);
        if (index < 0) {
            std::cerr << "Unknown bar '" << name << "'; bars: " << BarNames(Bars) << '\n';
            return false;
        }
        const TBarInfo& bar = Bars[static_cast<size_t>(index)];
        const std::optional<int> value = ParseWholeInt(text);
        if (!value || *value < bar.Min || *value > bar.Max) {
            std::cerr << "Bar '" << name << "' takes a whole number from " << bar.Min << " thru " << bar.Max
                      << ", not '" << text << "'\n";
            return false;
        }
        Set(index, *value);
    }
    return true;
}

int WriteText(const TLines& Lines, const std::string& Output)
{
    if (Output.empty()) {
        for (const std::string& line : Lines) std::cout << line << '\n';
        return ExitDone;
    }
    try {
        WriteLinesToFile(Output, Lines);
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return ExitWrite;
    }
    return ExitDone;
}

} // namespace verdel::cli
