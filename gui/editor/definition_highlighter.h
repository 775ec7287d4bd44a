// Colours a definition in the editor by the core's reading of each line.
#pragma once

#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <array>
#include <optional>

#include "app/definition_highlighting.h"
#include "app/extended_highlighting.h"

namespace verdel {

// The colours of the editor's text control (Memo1 of the definition editor).
class TDefinitionHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    explicit TDefinitionHighlighter(QTextDocument* Document);

    // The format a kind of stretch is drawn in (for the current palette).
    const QTextCharFormat& Format(THighlightKind Kind) const;

    // The reader's position before a line, kept as the block state of the line before it.
    static int EncodePosition(TLinePosition Position);
    static TLinePosition DecodePosition(int State);

    // The validator's first fault in an extended text, underlined where it stands.
    const std::optional<TFaultMark>& FaultMark() const { return Mark; }

protected:
    void highlightBlock(const QString& Text) override;

private:
    // Reads the whole text again: whether it is extended, and its fault mark;
    // colours it again when either changed.
    void Refresh();

    bool Extended = false;
    std::optional<TFaultMark> Mark;
    std::array<QTextCharFormat, static_cast<size_t>(THighlightKind::Error) + 1> Formats;
};

} // namespace verdel
