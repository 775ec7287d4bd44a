#include "engine/random_source.h"

#include <chrono>

namespace verdel {

TRandomSource RandomSource;

uint32_t SeedFromTimeOfDay()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const auto sinceMidnight = now - floor<days>(now);
    return static_cast<uint32_t>(duration_cast<milliseconds>(sinceMidnight).count());
}

} // namespace verdel
