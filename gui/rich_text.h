// Rich-text documents shown in Qt text views.
#pragma once

#include <QString>

#include "app/rtf_reader.h"

class QTextDocument;
class QTextEdit;

namespace verdel {

// Replaces the content of Target by the paragraphs and runs of Rich.
void FillTextDocument(QTextDocument& Target, const TRichDocument& Rich);

// Loads an RTF file into a text view and scrolls to its top; returns false,
// leaving the view as it was, when the file is missing or cannot be read.
bool LoadRichTextFile(QTextEdit& View, const QString& FileName);

} // namespace verdel
