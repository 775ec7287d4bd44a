// The "Introduction " child window shown at start when the setting is on.
#pragma once

#include <QWidget>

class QCheckBox;
class QPushButton;
class QTextEdit;

namespace verdel {

// The "Introduction " child window.
class TStartUpForm : public QWidget {
    Q_OBJECT
public:
    explicit TStartUpForm(QWidget* Parent = nullptr);

    // Size and place in the frame's usable area; loads "Verdel5.rtf" from the program folder.
    void FormCreate();
    // "Close": with the box ticked the Introduction is off from now on.
    void CloseButtonClick();

    QWidget* Panel1;
    QCheckBox* StartUpCheckBox;
    QPushButton* CloseButton;
    QTextEdit* StartupMemo;

protected:
    void resizeEvent(QResizeEvent* Event) override;
};

} // namespace verdel
