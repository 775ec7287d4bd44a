// The text control of the definition editor: a fixed-pitch editor with line
// numbers, the definition's colours, the current line and matching brackets.
#pragma once

#include <QPlainTextEdit>

namespace verdel {

class TDefinitionHighlighter;

// The definition editor's text control (Memo1): line numbers, colours, current line, brackets.
class TDefinitionEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TDefinitionEdit(QWidget* Parent = nullptr);

    // Selects line Line (counted from 1), or Length characters of it from
    // column Column (counted from 1) when Column is given, and scrolls to it;
    // lines beyond the text select its last line.
    void SelectLine(int Line, int Column = 0, int Length = 0);

    // Marks a fault of the text: line Line (from 1) underlined, or Length
    // characters of it from Column (from 1), with Message as the underline's
    // tooltip. ClearFault takes the mark away.
    void ShowFault(int Line, int Column, int Length, const QString& Message);
    void ClearFault();
    int FaultLine() const { return Fault.Line; }
    QString FaultMessage() const { return Fault.Message; }

    // The highlighter that colours the text.
    TDefinitionHighlighter* Highlighter() const { return Colours; }

    // Width of the line-number margin, for the current line count.
    int LineNumberAreaWidth() const;
    // Paints the line numbers of the visible lines (the margin's paint event).
    void PaintLineNumbers(QPaintEvent* Event);

protected:
    // The fault's message over its underline.
    bool event(QEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    // Over the underlined fault of an extended text: the validator's message.
    bool viewportEvent(QEvent* Event) override;
    // Files dragged over the editor are left to the main window, which opens them.
    void dragEnterEvent(QDragEnterEvent* Event) override;
    void dragMoveEvent(QDragMoveEvent* Event) override;
    void dropEvent(QDropEvent* Event) override;

private:
    void UpdateMarginWidth();
    void UpdateMargin(const QRect& Rect, int ScrolledBy);
    // The current line and the bracket pair at the cursor, as extra selections.
    void UpdateExtraSelections();

    // The marked fault: its line (0 when none), characters and message.
    struct {
        int Line = 0, Column = 0, Length = 0;
        QString Message;
    } Fault;
    QWidget* LineNumberArea;
    TDefinitionHighlighter* Colours;
};

} // namespace verdel
