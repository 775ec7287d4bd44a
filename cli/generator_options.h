// What the generator subcommands (random, mutate, breed) share: bar settings and text output.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "engine/text_lines.h"
#include "generators/bar_info.h"

namespace verdel::cli {

// The bars' names, separated by commas.
std::string BarNames(std::span<const TBarInfo> Bars);

// Splits NAME=VALUE at its first "="; prints a usage message naming Option when there is none.
bool SplitSetting(const std::string& Option, const std::string& Setting, std::string& Name, std::string& Value);

// Reads every --bar NAME=V into Set(index, value); prints the fault of a bad one and returns false.
bool ApplyBars(std::span<const TBarInfo> Bars, const std::vector<std::string>& Settings,
               const std::function<void(int, int)>& Set);

// Writes the text to Output (CR LF) or, when Output is empty, to standard output. Returns an exit status.
int WriteText(const TLines& Lines, const std::string& Output);

} // namespace verdel::cli
