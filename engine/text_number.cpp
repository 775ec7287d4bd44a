#include "engine/text_number.h"

#include <charconv>
#include <string>

namespace verdel {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Checks the shape [sign] digits [mark digits] [e [sign] digits], with at least
// one mantissa digit, and writes it with "." as the mark into Normal.
bool NormaliseNumber(std::string_view text, std::string& normal)
{
    size_t i = 0;
    const size_t n = text.size();
    normal.clear();
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') normal += '-';
        ++i;
    }
    size_t digits = 0;
    while (i < n && IsDigit(text[i])) {
        normal += text[i++];
        ++digits;
    }
    if (i < n && (text[i] == '.' || text[i] == ',')) {
        normal += '.';
        ++i;
        while (i < n && IsDigit(text[i])) {
            normal += text[i++];
            ++digits;
        }
    }
    if (digits == 0) return false;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        normal += 'e';
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) normal += text[i++];
        size_t expDigits = 0;
        while (i < n && IsDigit(text[i])) {
            normal += text[i++];
            ++expDigits;
        }
        if (expDigits == 0) return false;
    }
    return i == n;
}

} // namespace

namespace {

std::string NotANumber(std::string_view text)
{
    std::string message = "'";
    message.append(text).append("' is not a valid floating point value");
    return message;
}

} // namespace

EConvertError::EConvertError(std::string_view text) : std::runtime_error(NotANumber(text)), Text(text) {}

long double TextToFloat(std::string_view Text)
{
    std::string_view body = Text;
    while (!body.empty() && body.front() == ' ') body.remove_prefix(1);
    while (!body.empty() && body.back() == ' ') body.remove_suffix(1);

    std::string normal;
    long double value = 0;
    if (NormaliseNumber(body, normal)) {
        const char* first = normal.data();
        const char* last = first + normal.size();
        const auto [end, ec] = std::from_chars(first, last, value);
        if (ec == std::errc() && end == last) return value;
    }
    throw EConvertError(Text);
}

float ParseLeadingNumber(std::string_view Line)
{
    const size_t stop = Line.find_first_of(" \t#");
    try {
        return ToSingle(TextToFloat(Line.substr(0, stop)));
    } catch (const EConvertError&) {
        return -1.0f;
    }
}

} // namespace verdel
