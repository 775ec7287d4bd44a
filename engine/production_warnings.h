// What a finished production string does that the user may not expect: the
// turtle goes on, but the model is not what the text seems to say.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/turtle.h"

namespace verdel {

// The warnings about Production, in a fixed order: "]" without "[" and "["
// never closed, the same for "{" "}", then each of Q, W and R that stands in
// it while its setting is off (such commands draw nothing). Empty when none.
// Characters inside a command's "(x)" are skipped, as the turtle skips them.
std::vector<std::string> ProductionWarnings(std::string_view Production, const TSolidSettings& Settings);

// Whether Warning is one of those about a Q, W or R whose setting is off.
bool IsSwitchedOffWarning(const std::string& Warning);

} // namespace verdel
