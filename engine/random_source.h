// The one process-wide random source shared by the turtle and the generators.
#pragma once

#include <cstdint>

namespace verdel {

// A 32-bit linear congruential generator. Every draw first advances the seed;
// the generators and the turtle rely on the exact sequence, so a fixed seed
// reproduces a random definition, a mutation and the turtle's "~" turns.
class TRandomSource {
public:
    // The whole state: the next draw is a function of this value alone.
    uint32_t Seed = 0;

    // R(n): the high 32 bits of seed x n after advancing, so 0 <= R(n) < n and R(0) = 0.
    uint32_t Next(uint32_t n)
    {
        Advance();
        return static_cast<uint32_t>((static_cast<uint64_t>(Seed) * n) >> 32);
    }

    // The real draw: seed x 2^-32 after advancing, a value in [0, 1).
    double NextReal()
    {
        Advance();
        return static_cast<double>(Seed) * (1.0 / 4294967296.0);
    }

private:
    void Advance() { Seed = Seed * 134775813u + 1u; }
};

// The shared instance; it starts at seed 0 and the generators reseed it from the clock.
extern TRandomSource RandomSource;

// The seed the generators take when they are created: milliseconds since midnight (UTC).
uint32_t SeedFromTimeOfDay();

} // namespace verdel
