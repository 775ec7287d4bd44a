#include "gui/editor/definition_highlighter.h"

#include <QApplication>
#include <QPalette>
#include <QTextDocument>

#include "engine/extended_definition.h"
#include "gui/shared/text_codec.h"

namespace verdel {

namespace {

// Colour and weight of each kind, on a light and on a dark background.
struct TStyle {
    THighlightKind Kind;
    const char* Light;
    const char* Dark;
    bool Bold;
    bool Italic;
};
constexpr TStyle Styles[] = {
    {THighlightKind::Comment, "#6a737d", "#8b949e", false, true},
    {THighlightKind::Value, "#0550ae", "#79c0ff", true, false},
    {THighlightKind::Axiom, "#8250df", "#d2a8ff", true, false},
    {THighlightKind::Predecessor, "#953800", "#ffa657", true, false},
    {THighlightKind::Draw, "#116329", "#7ee787", true, false},
    {THighlightKind::Move, "#1b7c83", "#56d4dd", false, false},
    {THighlightKind::Turn, "#0969da", "#58a6ff", false, false},
    {THighlightKind::Change, "#9a6700", "#e3b341", false, false},
    {THighlightKind::Structure, "#cf222e", "#ff7b72", true, false},
    {THighlightKind::Special, "#bf3989", "#f778ba", true, false},
    {THighlightKind::Parameter, "#57606a", "#a5b1bd", false, false},
    {THighlightKind::EndLine, "#cf222e", "#ff7b72", true, false},
    {THighlightKind::Directive, "#bf3989", "#f778ba", true, false},
    {THighlightKind::Ignored, "#8c959f", "#6e7681", false, true},
    {THighlightKind::Context, "#6639ba", "#bc8cff", false, false},
    {THighlightKind::Separator, "#cf222e", "#ff7b72", true, false},
    {THighlightKind::Condition, "#0a3069", "#a5d6ff", false, true},
    {THighlightKind::Weight, "#0550ae", "#79c0ff", true, true},
    {THighlightKind::Error, "#a40e26", "#ffa198", false, false},
};

} // namespace

TDefinitionHighlighter::TDefinitionHighlighter(QTextDocument* Document) : QSyntaxHighlighter(Document)
{
    const bool dark = QApplication::palette().color(QPalette::Base).lightness() < 128;
    for (const TStyle& style : Styles) {
        QTextCharFormat& format = Formats[static_cast<size_t>(style.Kind)];
        format.setForeground(QColor(dark ? style.Dark : style.Light));
        if (style.Bold) format.setFontWeight(QFont::Bold);
        format.setFontItalic(style.Italic);
    }
    QTextCharFormat& error = Formats[static_cast<size_t>(THighlightKind::Error)];
    error.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    error.setUnderlineColor(QColor(dark ? "#ff7b72" : "#cf222e"));
    // Queued: the text has settled, and colouring again does not run inside the change.
    connect(Document, &QTextDocument::contentsChanged, this, &TDefinitionHighlighter::Refresh, Qt::QueuedConnection);
}

void TDefinitionHighlighter::Refresh()
{
    const TLines lines = EngineLines(document()->toPlainText());
    const bool extended = IsExtendedDefinition(lines);
    std::optional<TFaultMark> mark = ExtendedFaultMark(lines);
    const bool same =
        extended == Extended && mark.has_value() == Mark.has_value() &&
        (!mark || (mark->Line == Mark->Line && mark->Column == Mark->Column && mark->Message == Mark->Message));
    Extended = extended;
    Mark = std::move(mark);
    if (!same) rehighlight();
}

const QTextCharFormat& TDefinitionHighlighter::Format(THighlightKind Kind) const
{
    return Formats[static_cast<size_t>(Kind)];
}

int TDefinitionHighlighter::EncodePosition(TLinePosition Position)
{
    return Position.ValueLines + (Position.Ended ? 8 : 0) + (Position.Extended ? 16 : 0);
}

TLinePosition TDefinitionHighlighter::DecodePosition(int State)
{
    if (State < 0) return {}; // the first line
    return {State & 7, (State & 8) != 0, (State & 16) != 0};
}

void TDefinitionHighlighter::highlightBlock(const QString& Text)
{
    // One byte per character, so the core's positions are the block's positions.
    const std::string line = EngineText(Text);
    TLinePosition before = DecodePosition(previousBlockState());
    if (previousBlockState() < 0) before.Extended = Extended;
    for (const THighlightSpan& span : HighlightLine(line, before))
        setFormat(span.Start, span.Length, Format(span.Kind));
    if (Mark && Mark->Line == currentBlock().blockNumber() + 1) {
        // The fault's place keeps its colour and gains the error's underline.
        const THighlightSpan span = FaultSpan(line, Mark->Column);
        const QTextCharFormat& error = Format(THighlightKind::Error);
        for (int i = span.Start; i < span.Start + span.Length; ++i) {
            QTextCharFormat marked = format(i);
            marked.setUnderlineStyle(error.underlineStyle());
            marked.setUnderlineColor(error.underlineColor());
            setFormat(i, 1, marked);
        }
    }
    setCurrentBlockState(EncodePosition(NextPosition(line, before)));
}

} // namespace verdel
