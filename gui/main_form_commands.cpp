// The main frame's menu and speed-button commands.
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTextEdit>

#include "app/program_folders.h"
#include "gui/dialogs.h"
#include "gui/gen_ops_form.h"
#include "gui/generate_view.h"
#include "gui/main_form.h"
#include "gui/mdi_child.h"
#include "gui/start_up_form.h"
#include "gui/text_codec.h"
#include "gui/view_form.h"

namespace verdel {

namespace {

QString Folder(const std::string& folder) { return QString::fromStdString(folder); }

// A new editor named Prefix + N + ".vd", N counting the child windows with it.
TMDIChild* NewEditor(TMainForm& frame, const QString& prefix)
{
    auto* editor = new TMDIChild;
    frame.AddChild(editor);
    editor->SetFileName(Folder(ProgramFolders.DefinitionFolder) + prefix + QString::number(frame.ChildCount()) + ".vd");
    editor->FormActivate();
    return editor;
}

} // namespace

TMDIChild* TMainForm::NewFile() { return NewEditor(*this, "NoName-"); }

TMDIChild* TMainForm::CreateNewEditWindowForRandom(const QString& Text)
{
    TMDIChild* editor = NewEditor(*this, "Random-");
    editor->Memo1->setPlainText(Text);
    editor->Memo1->document()->setModified(true);
    return editor;
}

void TMainForm::FileNewItemClick() { NewFile(); }

void TMainForm::FileOpenItemClick()
{
    const QString folder = Folder(ProgramFolders.DefinitionFolder);
    if (!EnterFolder(folder)) return;
    const QString name = Dialogs().OpenFileName(this, folder, "All files (*)");
    if (name.isEmpty()) return;
    auto* editor = new TMDIChild;
    AddChild(editor);
    editor->FormActivate();
    try {
        editor->Memo1->setPlainText(ReadTextFile(name));
        editor->Memo1->document()->setModified(false);
    } catch (const std::exception& error) {
        Dialogs().Error(error.what());
    }
    editor->SetFileName(name);
}

void TMainForm::FileCloseItemClick()
{
    if (QMdiSubWindow* window = MdiArea->activeSubWindow()) window->close();
}

void TMainForm::FileSaveItemClick()
{
    if (TMDIChild* editor = ActiveEditor()) editor->SaveFile();
}

void TMainForm::ViewGraphic1Click()
{
    if (ChooseAndReadModel(this) == TModelRead::Read) LaunchViewer(TViewSource::DxfFile);
}

void TMainForm::FileExitItemClick() { close(); }

void TMainForm::CutItemClick()
{
    if (TMDIChild* editor = ActiveEditor()) editor->Memo1->cut();
}

void TMainForm::CopyItemClick()
{
    if (TMDIChild* editor = ActiveEditor()) editor->Memo1->copy();
}

void TMainForm::PasteItemClick()
{
    if (TMDIChild* editor = ActiveEditor()) editor->Memo1->paste();
}

void TMainForm::WindowCascadeItemClick() { MdiArea->cascadeSubWindows(); }

void TMainForm::WindowTileItemClick() { MdiArea->tileSubWindows(); }

void TMainForm::WindowArrangeItemClick()
{
    // Minimised windows line up along the bottom of the area, left to right.
    int x = 0;
    for (QMdiSubWindow* window : MdiArea->subWindowList(QMdiArea::CreationOrder)) {
        if (!window->isMinimized()) continue;
        window->move(x, MdiArea->viewport()->height() - window->height());
        x += window->width();
    }
}

void TMainForm::WindowMinimizeItemClick()
{
    const QList<QMdiSubWindow*> windows = MdiArea->subWindowList(QMdiArea::CreationOrder);
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) (*it)->showMinimized();
}

void TMainForm::RandomGenerator1Click() { CreateRandomDialog(); }

void TMainForm::Mutator1Click() { CreateMutateDialog(); }

void TMainForm::RandomDialogClosed()
{
    RandomDialogOpen = false;
    UpdateMenuItems();
}

void TMainForm::MutateDialogClosed()
{
    MutatorDialogOpen = false;
    UpdateMenuItems();
}

void TMainForm::General1Click()
{
    if (GenOpsForm) GenOpsForm->exec();
}

void TMainForm::ShowHelpPanelClick()
{
    // The action has already toggled its check mark.
    HelpPanel->setVisible(ShowHelpPanel->isChecked());
    PlaceHelpMemo();
    UpdateUsableClientSize();
}

void TMainForm::ShowStartupMessage()
{
    auto* introduction = new TStartUpForm;
    AddChild(introduction);
    introduction->FormCreate();
}

} // namespace verdel
