// Find and Replace on the active editor's text: one small window that stays
// open while the user goes on editing.
#pragma once

#include <QDialog>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace verdel {

class TFindDialog : public QDialog {
    Q_OBJECT

public:
    // Target gives the text the commands act on (the active editor's), or null.
    TFindDialog(std::function<QPlainTextEdit*()> Target, QWidget* Parent = nullptr);

    // Shows the window with the replace row or without, the search text selected.
    void Open(bool WithReplace);

    // Selects the next match after the cursor, wrapping round at the end; whether one was found.
    bool FindNext();
    // Replaces the selected match, then finds the next one.
    void ReplaceOne();
    // Replaces every match as one undo step; how many.
    int ReplaceAll();

    QLineEdit* FindEdit;
    QLineEdit* ReplaceEdit;
    QCheckBox* MatchCase;
    QLabel* Status;

private:
    std::function<QPlainTextEdit*()> Target;
    QLabel* ReplaceLabel;
    QPushButton* ReplaceButton;
    QPushButton* ReplaceAllButton;
};

} // namespace verdel
