// The command reference: a borderless, stay-on-top list of the turtle's commands.
#pragma once

#include <QStringList>
#include <QWidget>

class QMouseEvent;
class QPlainTextEdit;

namespace verdel {

// The 36 lines of the command reference, tabs included.
const QStringList& CommandReferenceLines();

// The command reference window; releasing a mouse button over it hides it.
class THelperForm : public QWidget {
    Q_OBJECT

public:
    // Builds the hidden window: a read-only memo of the reference lines.
    explicit THelperForm(QWidget* Parent = nullptr);

    // Releasing a mouse button over the window hides it.
    void FormMouseUp(QMouseEvent* Event);

    // Releasing a mouse button over the memo hides the window.
    void Memo1MouseUp(QMouseEvent* Event);

    QPlainTextEdit* Memo1 = nullptr;

protected:
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;
    void showEvent(QShowEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;
};

} // namespace verdel
