// The definition editor: a child window of the main frame.
#pragma once

#include <QWidget>

#include "engine/model.h"
#include "gui/editor/definition_text_edit.h"
#include "viewer/view_orientation.h"

class QPushButton;
class QMdiSubWindow;

namespace verdel {

// An editor of one definition text with Save, Close and Generate.
class TMDIChild : public QWidget {
    Q_OBJECT
public:
    explicit TMDIChild(QWidget* Parent = nullptr);
    // Lets the editor's model go through the workspace (a frame of it may be under way).
    ~TMDIChild() override;

    // Saves Memo1 under a name chosen in the save dialog (".vd" added when
    // missing, existing files only after Yes); returns whether it wrote the file.
    // This is Save As; it is also Save's way for a text that has no file yet.
    bool SaveFile();

    // Saves Memo1 to its file when it came from one or was saved before, else
    // as SaveFile does; returns whether it wrote the file.
    bool Save();

    // Whether the window may close: asks about unsaved changes, naming the
    // file; Exiting tells whether the whole program is closing.
    bool FormCloseQuery(bool Exiting = false);

    // The question asked before an unsaved editor closes: the fixed text, and
    // below it which file and what is closing.
    QString CloseQuestion(bool Exiting) const;

    // Places a new editor: a readable size (at most the frame's usable client
    // area), moved to the top left corner when it would reach beyond that area.
    // Activation leaves the size alone, so the user's resizing and Tile stick.
    void PlaceNew();

    void Save_BtnClick();
    void Close_BtnClick();
    void Generate_BtnClick();

    // The frame window around the editor in the multiple-document area.
    QMdiSubWindow* SubWindow() const;

    // Shows a file name as the caption: the name without its folder, marked
    // with "*" while the text has unsaved changes. OnDisk tells whether the
    // text is that file's (opened or saved), so Save writes to it without asking.
    void SetFileName(const QString& Name, bool OnDisk = false);

    // The caption as the title bar shows it ("tree.vd", or "tree.vd*" when modified).
    QString Caption() const;

    TDefinitionEdit* Memo1;
    QPushButton* Save_Btn;
    QPushButton* Close_Btn;
    QPushButton* Generate_Btn;
    QString FileName; // the definition's file, empty for a new text
    bool FileOnDisk = false;

    // The model last generated from this text while another editor's is on
    // view (the viewer holds it while this editor's is shown), turned and
    // placed by Pose; and the text the model follows was last generated from.
    TModel Model;
    TModelPose Pose;
    QString GeneratedText;
    bool HasModel() const { return Model.Store && (Model.Store->ObjectCount > 0 || !Model.DefinitionText.empty()); }

protected:
    void closeEvent(QCloseEvent* Event) override;
};

} // namespace verdel
