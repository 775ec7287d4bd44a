#include "engine/string_cycle.h"

namespace verdel {

int64_t TStringCycle::Step(const TModuleString& String, bool Drew)
{
    if (Drew) {
        Valid = false;
        return 0;
    }
    if (!Valid) {
        Saved = String;
        Valid = true;
        Power = 1;
        Distance = 0;
        return 0;
    }
    ++Distance;
    if (String == Saved) return Distance;
    if (Distance == Power) {
        Saved = String;
        Power *= 2;
        Distance = 0;
    }
    return 0;
}

} // namespace verdel
