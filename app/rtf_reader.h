// A small reader of rich-text (RTF) files: paragraphs of formatted runs.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace verdel {

// One entry of a document's colour table.
struct TRichColor {
    int Red = 0;
    int Green = 0;
    int Blue = 0;

    bool operator==(const TRichColor&) const = default;
};

// Where a paragraph's lines stand between its margins.
enum TParagraphAlign { paLeft, paCenter, paRight, paJustify };

// A stretch of text in one character format. Text is UTF-8; "\t" stands for a
// tab and "\n" for a line break inside the paragraph.
struct TRichRun {
    std::string Text;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    double FontSize = 12;            // points
    std::optional<TRichColor> Color; // none: the view's own text colour
    int Font = -1;                   // index into the document's Fonts; -1: the view's own font

    // Whether two runs share every format item (the text aside).
    bool SameFormat(const TRichRun& Other) const;
};

// One paragraph: its runs in order, none for an empty paragraph.
struct TRichParagraph {
    std::vector<TRichRun> Runs;
    TParagraphAlign Align = paLeft;
};

// A rich-text document: its paragraphs in order, and the names of the fonts
// its runs use, each name once (so runs compare fonts by index).
struct TRichDocument {
    std::vector<TRichParagraph> Paragraphs;
    std::vector<std::string> Fonts{};

    // The font name of a run; empty for the view's own font.
    const std::string& FontName(const TRichRun& Run) const;
};

// Reads RTF text, in time linear in its length. Unknown control words and
// skipped destinations are left out; malformed input (unbalanced braces, a
// truncated file) gives whatever could be read and never fails.
TRichDocument ReadRichText(std::string_view Rtf);

// Reads a whole stream of RTF text (see the string version).
TRichDocument ReadRichText(std::istream& In);

// Reads an RTF file; throws std::runtime_error naming the file when it cannot be read.
TRichDocument ReadRichTextFile(const std::string& FileName);

// The document's text without formatting, one line per paragraph.
std::string PlainText(const TRichDocument& Document);

} // namespace verdel
