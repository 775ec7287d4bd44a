// Number reading shared by definitions, turtle parameters and coordinate rounding.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace verdel {

// A text that is not a number; the message is the one shown to the user:
// "'TEXT' is not a valid floating point value".
class EConvertError : public std::runtime_error {
public:
    explicit EConvertError(std::string_view text);
    std::string Text; // the text that is not a number
};

// Converts a decimal number, accepting "." and "," alike as the decimal mark
// whatever the locale. Blanks around the number, a sign and an exponent are
// allowed. Throws EConvertError "'TEXT' is not a valid floating point value".
long double TextToFloat(std::string_view Text);

// The number at the start of a definition line, up to the first blank, tab or
// "#"; -1.0 when it does not convert (so "-1" itself reads as unreadable).
float ParseLeadingNumber(std::string_view Line);

// Single precision as stored: the value rounded once to the nearest Single.
inline float ToSingle(long double Value) { return static_cast<float>(Value); }

} // namespace verdel
