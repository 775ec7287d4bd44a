#include "gui/editor/definition_text_edit.h"

#include <QDragEnterEvent>
#include <QFontDatabase>
#include <QHelpEvent>
#include <QMimeData>
#include <QPainter>
#include <QTextBlock>
#include <QToolTip>
#include <algorithm>

#include "app/definition_highlighting.h"
#include "gui/editor/definition_highlighter.h"
#include "gui/shared/text_codec.h"

namespace verdel {

namespace {

constexpr int EditorPointSize = 10;
constexpr int TabColumns = 4;

// The margin beside the text that shows the line numbers.
class TLineNumberArea : public QWidget {
public:
    explicit TLineNumberArea(TDefinitionEdit* editor) : QWidget(editor), Editor(editor) {}
    QSize sizeHint() const override { return {Editor->LineNumberAreaWidth(), 0}; }

protected:
    void paintEvent(QPaintEvent* event) override { Editor->PaintLineNumbers(event); }

private:
    TDefinitionEdit* Editor;
};

bool HoldsFiles(const QMimeData* data) { return data && data->hasUrls() && !data->urls().isEmpty(); }

QTextEdit::ExtraSelection Marked(const QTextCursor& cursor, const QTextCharFormat& format)
{
    QTextEdit::ExtraSelection selection;
    selection.cursor = cursor;
    selection.format = format;
    return selection;
}

} // namespace

TDefinitionEdit::TDefinitionEdit(QWidget* Parent) : QPlainTextEdit(Parent)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(EditorPointSize);
    font.setStyleHint(QFont::TypeWriter);
    setFont(font);
    setTabStopDistance(QFontMetricsF(font).horizontalAdvance(QLatin1Char(' ')) * TabColumns);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    LineNumberArea = new TLineNumberArea(this);
    LineNumberArea->setObjectName("LineNumberArea");
    Colours = new TDefinitionHighlighter(document());

    connect(this, &QPlainTextEdit::blockCountChanged, this, &TDefinitionEdit::UpdateMarginWidth);
    connect(this, &QPlainTextEdit::updateRequest, this, &TDefinitionEdit::UpdateMargin);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &TDefinitionEdit::UpdateExtraSelections);
    UpdateMarginWidth();
    UpdateExtraSelections();
}

int TDefinitionEdit::LineNumberAreaWidth() const
{
    int digits = 1;
    for (int lines = std::max(1, blockCount()); lines >= 10; lines /= 10) ++digits;
    digits = std::max(digits, 2);
    return 8 + fontMetrics().horizontalAdvance(QLatin1Char('9')) * digits;
}

void TDefinitionEdit::UpdateMarginWidth() { setViewportMargins(LineNumberAreaWidth(), 0, 0, 0); }

void TDefinitionEdit::UpdateMargin(const QRect& Rect, int ScrolledBy)
{
    if (ScrolledBy) LineNumberArea->scroll(0, ScrolledBy);
    else LineNumberArea->update(0, Rect.y(), LineNumberArea->width(), Rect.height());
    if (Rect.contains(viewport()->rect())) UpdateMarginWidth();
}

void TDefinitionEdit::resizeEvent(QResizeEvent* Event)
{
    QPlainTextEdit::resizeEvent(Event);
    const QRect area = contentsRect();
    LineNumberArea->setGeometry(QRect(area.left(), area.top(), LineNumberAreaWidth(), area.height()));
}

bool TDefinitionEdit::viewportEvent(QEvent* Event)
{
    if (Event->type() != QEvent::ToolTip) return QPlainTextEdit::viewportEvent(Event);
    const auto* help = static_cast<QHelpEvent*>(Event);
    const std::optional<TFaultMark>& mark = Colours->FaultMark();
    const QTextCursor at = cursorForPosition(help->pos());
    if (mark && at.blockNumber() + 1 == mark->Line) {
        const THighlightSpan span = FaultSpan(EngineText(at.block().text()), mark->Column);
        const int column = at.positionInBlock();
        if (column >= span.Start && column <= span.Start + span.Length) {
            QToolTip::showText(help->globalPos(),
                               QString::fromStdString("Line " + std::to_string(mark->Line) + ": " + mark->Message));
            return true;
        }
    }
    QToolTip::hideText();
    Event->ignore();
    return true;
}

void TDefinitionEdit::PaintLineNumbers(QPaintEvent* Event)
{
    QPainter painter(LineNumberArea);
    const QPalette colours = palette();
    painter.fillRect(Event->rect(), colours.color(QPalette::AlternateBase));
    const int current = textCursor().blockNumber();
    QTextBlock block = firstVisibleBlock();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    while (block.isValid() && top <= Event->rect().bottom()) {
        const int height = qRound(blockBoundingRect(block).height());
        if (block.isVisible() && top + height >= Event->rect().top()) {
            painter.setPen(colours.color(block.blockNumber() == current ? QPalette::Text : QPalette::PlaceholderText));
            painter.drawText(0, top, LineNumberArea->width() - 5, fontMetrics().height(), Qt::AlignRight,
                             QString::number(block.blockNumber() + 1));
        }
        block = block.next();
        top += height;
    }
}

void TDefinitionEdit::SelectLine(int Line, int Column, int Length)
{
    QTextBlock block = document()->findBlockByNumber(std::max(0, Line - 1));
    if (!block.isValid()) block = document()->lastBlock();
    QTextCursor cursor(block);
    if (Column > 0 && Column - 1 + Length <= block.length() - 1) {
        cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, Column - 1);
        cursor.movePosition(QTextCursor::Right, QTextCursor::KeepAnchor, Length);
    } else {
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    }
    setTextCursor(cursor);
    centerCursor();
}

void TDefinitionEdit::UpdateExtraSelections()
{
    QList<QTextEdit::ExtraSelection> selections;
    QTextCharFormat lineFormat;
    QColor lineColour = palette().color(QPalette::Highlight);
    lineColour.setAlpha(28);
    lineFormat.setBackground(lineColour);
    lineFormat.setProperty(QTextFormat::FullWidthSelection, true);
    QTextCursor line = textCursor();
    line.clearSelection();
    selections.append(Marked(line, lineFormat));

    // The bracket before or after the cursor, and its partner on the same line.
    const QTextBlock block = textCursor().block();
    const std::string text = EngineText(block.text());
    const int column = textCursor().positionInBlock();
    QTextCharFormat bracketFormat;
    bracketFormat.setBackground(QColor(255, 213, 79, 150));
    bracketFormat.setFontWeight(QFont::Bold);
    for (const int at : {column, column - 1}) {
        const std::optional<int> partner = MatchingBracket(text, at);
        if (!partner) continue;
        for (const int position : {at, *partner}) {
            QTextCursor mark(block);
            mark.setPosition(block.position() + position);
            mark.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
            selections.append(Marked(mark, bracketFormat));
        }
        break;
    }
    if (Fault.Line > 0) {
        const QTextBlock faulty = document()->findBlockByNumber(Fault.Line - 1);
        QTextCursor mark(faulty.isValid() ? faulty : document()->lastBlock());
        if (Fault.Column > 0) {
            mark.setPosition(mark.block().position() + std::min(Fault.Column - 1, mark.block().length() - 1));
            mark.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor, std::max(1, Fault.Length));
        } else {
            mark.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        }
        QTextCharFormat faultFormat;
        faultFormat.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        faultFormat.setUnderlineColor(Qt::red);
        faultFormat.setToolTip(Fault.Message);
        selections.append(Marked(mark, faultFormat));
    }
    setExtraSelections(selections);
}

void TDefinitionEdit::ShowFault(int Line, int Column, int Length, const QString& Message)
{
    Fault = {std::max(1, Line), Column, Length, Message};
    UpdateExtraSelections();
}

void TDefinitionEdit::ClearFault()
{
    if (Fault.Line == 0) return;
    Fault = {};
    UpdateExtraSelections();
}

bool TDefinitionEdit::event(QEvent* Event)
{
    if (Event->type() == QEvent::ToolTip && Fault.Line > 0) {
        auto* help = static_cast<QHelpEvent*>(Event);
        const QTextCursor at = cursorForPosition(viewport()->mapFromGlobal(help->globalPos()));
        if (at.blockNumber() == Fault.Line - 1) QToolTip::showText(help->globalPos(), Fault.Message, this);
        else QToolTip::hideText();
        return true;
    }
    return QPlainTextEdit::event(Event);
}

void TDefinitionEdit::dragEnterEvent(QDragEnterEvent* Event)
{
    if (HoldsFiles(Event->mimeData())) Event->ignore();
    else QPlainTextEdit::dragEnterEvent(Event);
}

void TDefinitionEdit::dragMoveEvent(QDragMoveEvent* Event)
{
    if (HoldsFiles(Event->mimeData())) Event->ignore();
    else QPlainTextEdit::dragMoveEvent(Event);
}

void TDefinitionEdit::dropEvent(QDropEvent* Event)
{
    if (HoldsFiles(Event->mimeData())) Event->ignore();
    else QPlainTextEdit::dropEvent(Event);
}

} // namespace verdel
