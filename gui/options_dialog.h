// The "General Options" dialog: the drawing settings, the Introduction at start and live navigation.
#pragma once

#include <QDialog>

class QCheckBox;
class QPushButton;

namespace verdel {

// The "General Options" dialog (Options > General...).
class TGenOpsForm : public QDialog {
    Q_OBJECT
public:
    explicit TGenOpsForm(QWidget* Parent = nullptr);

    // Sets the boxes from the settings, each time the dialog is shown.
    void FormActivate();
    // "Accept": the settings from the boxes, saved to the settings file at once.
    void OKButtonClick();
    // "Cancel": closes; settings and file stay as they were.
    void CancelButtonClick();

    QCheckBox* CB1;
    QCheckBox* CB2;
    QCheckBox* CB3;
    QCheckBox* CB4;
    QCheckBox* CB5;
    QCheckBox* CB6; // "Live navigation"
    QCheckBox* CB7; // "Open models upright"
    QPushButton* OKButton;
    QPushButton* CancelButton;

protected:
    void showEvent(QShowEvent* Event) override;
};

} // namespace verdel
