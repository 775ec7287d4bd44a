// The main frame's menu and speed-button commands.
#include <QClipboard>
#include <QDir>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTimer>
#include <QUrl>

#include "app/program_folders.h"
#include "formats/model_reader.h"
#include "gui/editor/definition_text_edit.h"
#include "gui/editor/editor_window.h"
#include "gui/editor/find_dialog.h"
#include "gui/introduction_window.h"
#include "gui/main_form.h"
#include "gui/options_dialog.h"
#include "gui/shared/app_state.h"
#include "gui/shared/dialogs.h"
#include "gui/shared/file_memory.h"
#include "gui/shared/model_files.h"
#include "gui/shared/text_codec.h"
#include "gui/viewer/viewer_window.h"
#include "engine/random_source.h"
#include "viewer/example_gallery.h"

namespace verdel {

namespace {

// A new editor named Prefix + N + ".vd", N counting the child windows with it.
TMDIChild* NewEditor(TMainForm& frame, const QString& prefix)
{
    auto* editor = new TMDIChild;
    frame.AddChild(editor);
    const QString folder = DialogFolder(TFileKind::Definition, AppState.ProgramFolders.NewDefinitionFolder);
    editor->SetFileName(QDir(folder).filePath(prefix + QString::number(frame.ChildCount()) + ".vd"));
    editor->PlaceNew();
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

void TMainForm::OpenEditorWithText(const QString& Text)
{
    TMDIChild* editor = CreateNewEditWindowForRandom(Text);
    MdiArea->setActiveSubWindow(editor->SubWindow());
    raise();
    activateWindow();
    editor->Memo1->setFocus();
}

void TMainForm::FileNewItemClick() { NewFile(); }

void TMainForm::FileOpenItemClick()
{
    const QString folder = DialogFolder(TFileKind::Definition, AppState.ProgramFolders.DefinitionFolder);
    if (!EnterFolder(folder)) return;
    const QString name = Dialogs().OpenFileName(this, folder, OpenFileFilters());
    if (!name.isEmpty()) OpenFile(name); // a model file goes to the viewer
}

TMDIChild* TMainForm::OpenDefinition(const QString& Name)
{
    // The file is read first: one that cannot be read leaves no editor behind.
    QString text;
    try {
        text = ReadTextFile(Name);
    } catch (const std::exception& error) {
        Dialogs().Error(error.what());
        ForgetRecentFile(Name);
        return nullptr;
    }
    auto* editor = new TMDIChild;
    AddChild(editor);
    editor->PlaceNew();
    editor->Memo1->setPlainText(text);
    editor->Memo1->document()->setModified(false);
    editor->SetFileName(Name, true);
    NoteUsedFile(TFileKind::Definition, Name, true);
    return editor;
}

TMDIChild* TMainForm::OpenExample(const QString& File)
{
    QString text;
    try {
        text = ReadTextFile(File);
    } catch (const std::exception& error) {
        Dialogs().Error(error.what());
        return nullptr;
    }
    // An untitled copy: Save asks for a name, so the bundled file is never overwritten.
    TMDIChild* editor = NewEditor(*this, QFileInfo(File).completeBaseName() + "-");
    editor->Memo1->setPlainText(text);
    editor->Memo1->document()->setModified(false);
    MdiArea->setActiveSubWindow(editor->SubWindow());
    RandomSource.Seed = ExampleSeed; // the model of the thumbnail
    editor->Generate_BtnClick();
    return editor;
}

void TMainForm::ViewModelFile(const QString& Name)
{
    TModel model;
    const TModelRead read = LoadModelFile(Name, model);
    if (read == TModelRead::Read) {
        NoteUsedFile(TFileKind::Model, Name, true);
        ShowModel(std::move(model));
    } else if (read == TModelRead::Failed) {
        ForgetRecentFile(Name);
    }
}

void TMainForm::ShowModel(TModel Model)
{
    if (!ViewForm) return;
    HandBackShownModel(); // an editor's model on view returns to its editor
    ViewForm->ShowModal(std::move(Model));
}

std::optional<TLines> TMainForm::ActiveDefinition() const
{
    const QMdiSubWindow* window = MdiArea->currentSubWindow();
    const auto* editor = window ? qobject_cast<TMDIChild*>(window->widget()) : nullptr;
    if (!editor) return std::nullopt;
    return EngineLines(editor->Memo1->toPlainText());
}

void TMainForm::OpenFile(const QString& Name)
{
    const QString path = QDir(StartFolder).absoluteFilePath(Name);
    if (IsModelFile(path.toStdString())) {
        ViewModelFile(path);
        return;
    }
    // A file already open in an editor comes to the front instead of opening twice.
    for (TMDIChild* editor : Editors()) {
        if (editor->FileOnDisk && QFileInfo(editor->FileName) == QFileInfo(path)) {
            MdiArea->setActiveSubWindow(editor->SubWindow());
            return;
        }
    }
    OpenDefinition(path);
}

void TMainForm::FileCloseItemClick()
{
    if (QMdiSubWindow* window = MdiArea->activeSubWindow()) window->close();
}

void TMainForm::FileSaveItemClick()
{
    if (TMDIChild* editor = ActiveEditor()) editor->Save();
}

void TMainForm::FileSaveAsItemClick()
{
    if (TMDIChild* editor = ActiveEditor()) editor->SaveFile();
}

void TMainForm::GenerateItemClick()
{
    if (TMDIChild* editor = ActiveEditor()) editor->Generate_BtnClick();
}

void TMainForm::ClearRecentFilesClick()
{
    for (const QString& file : RecentFiles()) ForgetRecentFile(file);
    UpdateRecentFilesMenu();
}

void TMainForm::ViewGraphic1Click()
{
    TModel model;
    if (ChooseAndLoadModel(this, model) == TModelRead::Read) ShowModel(std::move(model));
}

void TMainForm::FileExitItemClick() { close(); }

void TMainForm::UndoItemClick()
{
    if (TMDIChild* editor = ActiveEditor()) editor->Memo1->undo();
}

void TMainForm::RedoItemClick()
{
    if (TMDIChild* editor = ActiveEditor()) editor->Memo1->redo();
}

void TMainForm::SelectAllItemClick()
{
    if (TMDIChild* editor = ActiveEditor()) editor->Memo1->selectAll();
}

void TMainForm::FindItemClick() { ShowFindDialog(false); }

void TMainForm::ReplaceItemClick() { ShowFindDialog(true); }

void TMainForm::ShowFindDialog(bool WithReplace)
{
    if (!FindDialog)
        FindDialog = new TFindDialog(
            // The editor last in front: while the Find window has the focus, no child window is active.
            [this]() -> QPlainTextEdit* {
                QMdiSubWindow* window = MdiArea->currentSubWindow();
                auto* editor = window ? qobject_cast<TMDIChild*>(window->widget()) : nullptr;
                return editor ? editor->Memo1 : nullptr;
            },
            this);
    FindDialog->Open(WithReplace);
}

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

namespace {

// The local definition and model files among dropped data.
QStringList DroppedFiles(const QMimeData* data)
{
    QStringList files;
    if (!data || !data->hasUrls()) return files;
    for (const QUrl& url : data->urls()) {
        const QString file = url.toLocalFile();
        if (file.endsWith(".vd", Qt::CaseInsensitive) || IsModelFile(file.toStdString())) files << file;
    }
    return files;
}

} // namespace

void TMainForm::dragEnterEvent(QDragEnterEvent* Event)
{
    if (!DroppedFiles(Event->mimeData()).isEmpty()) Event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* Event)
{
    const QStringList files = DroppedFiles(Event->mimeData());
    if (files.isEmpty()) return;
    Event->acceptProposedAction();
    // Opened once the drop is over: a DXF file's viewer runs modally.
    QTimer::singleShot(0, this, [this, files] {
        for (const QString& file : files) OpenFile(file);
    });
}

void TMainForm::ShowStartupMessage()
{
    auto* introduction = new TStartUpForm;
    AddChild(introduction);
    introduction->FormCreate();
}

} // namespace verdel
