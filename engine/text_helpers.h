// Small text helpers every layer shares: letter case, blanks, whole numbers,
// and the folder of the running program.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace verdel {

// The byte with the ASCII letters A to Z made lower case; every other byte
// (bytes above 127 too) stays as it is, whatever the C locale says.
inline char LowerAscii(char C)
{
    const auto c = static_cast<unsigned char>(C);
    return static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
}

// Whether A and B are the same text when ASCII letters are compared without
// regard to case (names in settings files, file name extensions).
bool SameTextAnyCase(std::string_view A, std::string_view B);

// Whether Text ends in Suffix, ASCII letters in any case (".DXF" ends in ".dxf").
bool EndsWithAnyCase(std::string_view Text, std::string_view Suffix);

// Text with its ASCII letters made lower case.
std::string LowerCase(std::string_view Text);

// Text without the blanks (spaces and tabs) at its start and end.
std::string_view Trim(std::string_view Text);

// Whole numbers, one set of rules everywhere: blanks (spaces, tabs) around the
// number are ignored; then at most one sign, "+" or "-"; then one or more
// decimal digits up to the end. Nothing else is accepted: no second sign, no
// blanks inside, no decimal mark, no hexadecimal. The value must lie in the
// range of the result type; a text that breaks a rule gives nothing.
std::optional<long long> ParseWholeNumber(std::string_view Text);

// The same rules, the value in the range of int.
std::optional<int> ParseWholeInt(std::string_view Text);

// The same rules, except that the digits may also be hexadecimal after "0x"
// or "0X" (the sign comes first: "-0x1F" is -31, "0x-1F" is refused), as the
// settings file allows.
std::optional<long long> ParseWholeNumberOrHex(std::string_view Text);

// The folder of the running executable, ending in "/"; the current folder
// when the system cannot tell.
std::string ExecutableFolder();

} // namespace verdel
