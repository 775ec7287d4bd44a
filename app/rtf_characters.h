// Character helpers of the rich-text reader: encodings and symbol words.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace verdel {

// Appends the UTF-8 form of a Unicode code point (U+FFFD for an invalid one).
void AppendUtf8(std::string& Out, uint32_t CodePoint);

// The Unicode code point of a Windows-1252 byte (U+FFFD for the five unused ones).
uint32_t Windows1252ToUnicode(unsigned char Byte);

// The character a symbol control word stands for ("emdash", "bullet", "tab", ...).
std::optional<uint32_t> SymbolWordCharacter(std::string_view Word);

// Whether a control word opens a destination whose text is never shown
// ("info", "stylesheet", "pict", "header", ...).
bool IsSkippedDestination(std::string_view Word);

} // namespace verdel
