// Definition texts as lists of lines, read from and written to streams.
#pragma once

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

// A whole file's bytes; throws std::runtime_error naming the file when it cannot be read.
std::string ReadFileText(const std::string& FileName);

// Writes Text as a file's whole content through a TAtomicFile (the old file stays
// until the new one is complete); throws std::runtime_error naming the file on failure.
void WriteFileText(const std::string& FileName, std::string_view Text);

// Reads a file as lines; throws std::runtime_error naming the file when it cannot be read.
TLines ReadLinesFromFile(const std::string& FileName);

// Writes every line followed by CR LF.
void WriteLines(std::ostream& Out, const TLines& Lines);

// Writes the lines to a file (CR LF); throws std::runtime_error naming the file on failure.
void WriteLinesToFile(const std::string& FileName, const TLines& Lines);

} // namespace verdel
