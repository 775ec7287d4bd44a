#include "render/render_math.h"

#include <array>

namespace verdel {

namespace {

// The 5-bit value of every 8-bit channel, computed once.
const std::array<uint8_t, 256>& ChannelTable()
{
    static const std::array<uint8_t, 256> table = [] {
        std::array<uint8_t, 256> values{};
        for (int c = 0; c < 256; ++c) values[c] = static_cast<uint8_t>(Channel8To5(c));
        return values;
    }();
    return table;
}

} // namespace

int32_t Channel8To5(int Channel)
{
    // Both products are rounded to a Single before the last rounding: 128
    // gives exactly 15.5 there, and half to even makes it 16.
    const float t = static_cast<float>(static_cast<long double>(Channel) * 0.390625L);
    const float u = static_cast<float>(0.31L * static_cast<long double>(t));
    return RoundClamped(u);
}

uint16_t ColorTo16(TColor Color)
{
    const auto& table = ChannelTable();
    return static_cast<uint16_t>((table[Color & 0xFF] << 10) | (table[(Color >> 8) & 0xFF] << 5) |
                                 table[(Color >> 16) & 0xFF]);
}

} // namespace verdel
