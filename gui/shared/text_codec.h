// Definition text between Qt strings, files and the engine's byte lines.
#pragma once

#include <QString>

#include "engine/text_lines.h"

namespace verdel {

// Text as the engine reads it: one byte per character in Latin-1, so the rule
// letters beyond ASCII keep their codes; characters outside Latin-1 become
// code 127, which is neither a command nor a rule letter.
std::string EngineText(const QString& Text);

// A memo's text as the engine's lines (see EngineText).
TLines EngineLines(const QString& Text);

// The engine's lines as memo text: one character per byte, lines joined by line breaks.
QString MemoText(const TLines& Lines);

// A file's bytes as text: UTF-8 when they are valid UTF-8, else Latin-1.
QString TextFromFile(const std::string& Bytes);

// Text as a file's bytes: Latin-1 when every character fits, else UTF-8.
std::string FileBytes(const QString& Text);

// Reads a text file; throws std::runtime_error naming the file.
QString ReadTextFile(const QString& FileName);

// Writes Text with CR LF line ends; throws std::runtime_error naming the file.
void WriteTextFile(const QString& FileName, const QString& Text);

} // namespace verdel
