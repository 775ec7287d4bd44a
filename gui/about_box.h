// The About box: the program's icon, name, version and credits.
#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace verdel {

// The fixed "About" dialog, shown modally and closed by its OK button.
class TAboutBox : public QDialog {
    Q_OBJECT

public:
    // Builds the hidden dialog.
    explicit TAboutBox(QWidget* Parent = nullptr);

    // Closes the dialog.
    void OKButtonClick();

    QFrame* Panel1 = nullptr;
    QLabel* ProgramIcon = nullptr;
    QLabel* ProductName = nullptr;
    QLabel* Version = nullptr;
    QLabel* Copyright = nullptr;
    QLabel* Comments = nullptr;
    QPushButton* OKButton = nullptr;

protected:
    void showEvent(QShowEvent* Event) override;
};

} // namespace verdel
