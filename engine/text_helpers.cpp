#include "engine/text_helpers.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <limits>

namespace verdel {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Rules as described for ParseWholeNumber; Hex lets "0x" start hexadecimal digits.
std::optional<long long> ParseSigned(std::string_view text, bool hex)
{
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (hex && text.size() >= 2 && text[0] == '0' && LowerAscii(text[1]) == 'x') {
        base = 16;
        text.remove_prefix(2);
    }
    // from_chars would take a sign of its own; the digits must start right here.
    if (text.empty() || text.front() == '+' || text.front() == '-') return std::nullopt;
    uint64_t magnitude = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    // The most negative value has no positive counterpart: compare magnitudes unsigned.
    constexpr uint64_t largest = std::numeric_limits<long long>::max();
    if (magnitude > largest + (negative ? 1 : 0)) return std::nullopt;
    if (!negative) return static_cast<long long>(magnitude);
    return magnitude == largest + 1 ? std::numeric_limits<long long>::min() : -static_cast<long long>(magnitude);
}

} // namespace

bool SameTextAnyCase(std::string_view A, std::string_view B)
{
    return A.size() == B.size() &&
           std::equal(A.begin(), A.end(), B.begin(), [](char a, char b) { return LowerAscii(a) == LowerAscii(b); });
}

bool EndsWithAnyCase(std::string_view Text, std::string_view Suffix)
{
    return Text.size() >= Suffix.size() && SameTextAnyCase(Text.substr(Text.size() - Suffix.size()), Suffix);
}

std::string LowerCase(std::string_view Text)
{
    std::string lower(Text);
    std::transform(lower.begin(), lower.end(), lower.begin(), LowerAscii);
    return lower;
}

std::string_view Trim(std::string_view Text)
{
    while (!Text.empty() && IsBlank(Text.front())) Text.remove_prefix(1);
    while (!Text.empty() && IsBlank(Text.back())) Text.remove_suffix(1);
    return Text;
}

std::optional<long long> ParseWholeNumber(std::string_view Text) { return ParseSigned(Text, false); }

std::optional<int> ParseWholeInt(std::string_view Text)
{
    const std::optional<long long> value = ParseSigned(Text, false);
    if (!value || *value < std::numeric_limits<int>::min() || *value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(*value);
}

std::optional<long long> ParseWholeNumberOrHex(std::string_view Text) { return ParseSigned(Text, true); }

std::string ExecutableFolder()
{
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return std::filesystem::current_path(error).string() + "/";
    return exe.parent_path().string() + "/";
}

} // namespace verdel
