// Definition texts as lists of lines, read from and written to streams.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace verdel {

// The lines of a definition text or memo, without line ends.
using TLines = std::vector<std::string>;

// Splits a text at CR LF, LF or a lone CR; a final line end adds no empty line.
TLines SplitLines(std::string_view Text);

// Reads a whole stream as lines (see SplitLines).
TLines ReadLines(std::istream& In);

// The most a text file read as lines may hold: far more than any definition
// needs, and little enough that a device or a huge file is refused at once.
constexpr size_t MaxLinesFileBytes = 16 * 1024 * 1024;

// A whole file's bytes; throws std::runtime_error naming the file when it
// cannot be read or holds more than MaxBytes.
std::string ReadFileText(const std::string& FileName, size_t MaxBytes = SIZE_MAX);

// Writes Text as a file's whole content through a TAtomicFile (the old file stays
// until the new one is complete); throws std::runtime_error naming the file on failure.
void WriteFileText(const std::string& FileName, std::string_view Text);

// Reads a file as lines; throws std::runtime_error naming the file when it
// cannot be read or holds more than MaxLinesFileBytes.
TLines ReadLinesFromFile(const std::string& FileName);

// Writes every line followed by CR LF.
void WriteLines(std::ostream& Out, const TLines& Lines);

// Writes the lines to a file (CR LF); throws std::runtime_error naming the file on failure.
void WriteLinesToFile(const std::string& FileName, const TLines& Lines);

} // namespace verdel
