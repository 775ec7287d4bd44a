// Context matching across branches: which modules a rule's left and right
// contexts stand for around a module of a bracketed string.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "engine/extended_program.h"
#include "engine/module_string.h"

namespace verdel {

// What the matching needs besides the patterns: the string, each bracket's
// partner (TModuleString::BracketPartners) and the ignored symbols.
struct TContextView {
    const TModuleString& Modules;
    const std::vector<int32_t>& Partners;
    const std::array<bool, 256>& Ignored;
};

// Going left from module I: ignored symbols are skipped, and so are whole
// branches (a "]" jumps to its "["); a "[" is passed, so the first module of
// a branch sees the module before the branch. Each pattern module must then
// stand there, same symbol and number of parameters, the last one nearest to
// I. Found receives the index of the module each pattern module matched.
bool MatchLeftContext(const TContextView& View, const std::vector<TModulePattern>& Left, size_t I, size_t* Found);

// Going right from module I: ignored symbols are skipped; a branch the
// pattern does not ask for is skipped whole; the end of the branch I stands
// in (a "]") or of the string ends the match unsuccessfully. A "[" in the
// pattern must meet the next branch and enters it; a "]" in the pattern
// skips the rest of that branch. Found receives, for each pattern entry, the
// index of the module it matched.
bool MatchRightContext(const TContextView& View, const std::vector<TModulePattern>& Right, size_t I, size_t* Found);

} // namespace verdel
