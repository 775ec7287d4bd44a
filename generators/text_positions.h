// Small text helpers of the generators: 1-based positions, rounding.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace verdel {

// The character at 1-based Position, or '\0' outside the text.
inline char CharAt(const std::string& Text, int64_t Position)
{
    if (Position < 1 || Position > static_cast<int64_t>(Text.size())) return '\0';
    return Text[static_cast<size_t>(Position - 1)];
}

// Inserts What so that it starts at 1-based Position; a position below 1
// counts as 1 and one past the end appends.
void InsertAt(std::string& Text, int64_t Position, std::string_view What);

// Inserts one character at 1-based Position (see InsertAt above).
void InsertAt(std::string& Text, int64_t Position, char What);

// Value / Divisor rounded to the nearest integer, halves to the even
// neighbour (45 / 2 gives 22); Divisor must be positive.
int64_t RoundHalfEven(int64_t Value, int64_t Divisor);

} // namespace verdel
