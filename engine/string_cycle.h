// Finding where the module string of a rewriting without draws starts to
// repeat, so that many steps can be skipped with the exact same result.
#pragma once

#include <cstdint>

#include "engine/module_string.h"

namespace verdel {

// Brent's cycle finding over the strings of successive steps: a string saved
// at steps 1, 2, 4, 8... after the last draw is compared with each new one.
// Two strings are the same when they would write the same production text
// (so 0 and -0 differ). A step that drew starts the search again, since its
// string depends on the random source and not on the string before it.
class TStringCycle {
public:
    // The string the step just taken produced, and whether the step drew.
    // The period once String is the same as the one Period steps before it,
    // with no draw between: every later step then repeats the one Period
    // steps before it. 0 while no repetition is known.
    int64_t Step(const TModuleString& String, bool Drew);

private:
    TModuleString Saved;
    bool Valid = false;   // Saved is a string produced after the last draw
    int64_t Power = 1;    // steps before Saved moves on
    int64_t Distance = 0; // steps since Saved was taken
};

} // namespace verdel
