#include "generators/text_positions.h"

namespace verdel {

namespace {

// The 0-based offset of 1-based Position, brought into 0 to the text's length.
size_t InsertOffset(const std::string& text, int64_t position)
{
    const int64_t last = static_cast<int64_t>(text.size()) + 1;
    return static_cast<size_t>((position < 1 ? 1 : (position > last ? last : position)) - 1);
}

} // namespace

void InsertAt(std::string& Text, int64_t Position, std::string_view What)
{
    const std::string piece(What);
    Text.insert(InsertOffset(Text, Position), piece);
}

void InsertAt(std::string& Text, int64_t Position, char What) { Text.insert(InsertOffset(Text, Position), 1, What); }

int64_t RoundHalfEven(int64_t Value, int64_t Divisor)
{
    int64_t quotient = Value / Divisor;
    const int64_t twiceRest = 2 * (Value % Divisor);
    // The rest carries the sign of Value; compare its size with half the divisor.
    if (twiceRest > Divisor || (twiceRest == Divisor && quotient % 2 != 0)) ++quotient;
    if (-twiceRest > Divisor || (-twiceRest == Divisor && quotient % 2 != 0)) --quotient;
    return quotient;
}

} // namespace verdel
