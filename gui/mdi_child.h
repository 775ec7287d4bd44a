// The definition editor: a child window of the main frame.
#pragma once

#include <QWidget>

class QPlainTextEdit;
class QPushButton;
class QMdiSubWindow;

namespace verdel {

// An editor of one definition text with Save, Close and Generate.
class TMDIChild : public QWidget {
    Q_OBJECT
public:
    explicit TMDIChild(QWidget* Parent = nullptr);

    // Saves Memo1 under a name chosen in the save dialog (".vd" added when
    // missing, existing files only after Yes); returns whether it wrote the file.
    bool SaveFile();

    // Whether the window may close: asks about unsaved changes.
    bool FormCloseQuery();

    // Size rules at creation and activation: 400 x 240, moved to the top left
    // corner when it would reach beyond the frame's usable client area.
    void FormActivate();

    void Save_BtnClick();
    void Close_BtnClick();
    void Generate_BtnClick();

    // The frame window around the editor in the multiple-document area.
    QMdiSubWindow* SubWindow() const;

    // Shows a file name as the caption: the name without its folder.
    void SetFileName(const QString& Name);

    QPlainTextEdit* Memo1;
    QPushButton* Save_Btn;
    QPushButton* Close_Btn;
    QPushButton* Generate_Btn;
    QString FileName; // the definition's file, empty for a new text

protected:
    void closeEvent(QCloseEvent* Event) override;
};

} // namespace verdel
