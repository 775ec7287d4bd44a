// The command reference: a stay-on-top window listing the turtle's commands,
// made from the command table the help page and the batch tool share.
#pragma once

#include <QString>
#include <QWidget>

class QMouseEvent;
class QTextBrowser;

namespace verdel {

// The reference as a rich-text document: the command table with a heading row per family.
QString CommandReferenceHtml();

// The command reference window; releasing a mouse button over its text hides it.
class THelperForm : public QWidget {
    Q_OBJECT

public:
    // Builds the hidden window: a read-only view of the command table.
    explicit THelperForm(QWidget* Parent = nullptr);

    // Releasing a mouse button over the window hides it.
    void FormMouseUp(QMouseEvent* Event);

    // Releasing a mouse button over the memo hides the window.
    void Memo1MouseUp(QMouseEvent* Event);

    QTextBrowser* Memo1 = nullptr;

protected:
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;
    void showEvent(QShowEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    bool Placed = false; // opened once: later showings keep where the user put it
};

} // namespace verdel
