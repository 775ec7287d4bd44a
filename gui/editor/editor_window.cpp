#include "gui/editor/editor_window.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QVBoxLayout>

#include "engine/text_helpers.h"
#include "gui/editor/definition_text_edit.h"
#include "gui/shared/app_state.h"
#include "gui/shared/dialogs.h"
#include "gui/shared/file_memory.h"
#include "gui/shared/generate_view.h"
#include "gui/shared/text_codec.h"
#include "gui/shared/workspace.h"

namespace verdel {

namespace {

// A new editor shows about 30 lines of 80 characters.
constexpr int EditorWidth = 640;
constexpr int EditorHeight = 480;
// Below this the text and the buttons no longer fit.
constexpr int MinimumWidth = 240;
constexpr int MinimumHeight = 160;

QPushButton* MakeButton(const char* name, const QString& caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setFixedSize(75, 41);
    return button;
}

} // namespace

TMDIChild::TMDIChild(QWidget* Parent) : QWidget(Parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    Memo1 = new TDefinitionEdit(this);
    Memo1->setObjectName("Memo1");

    auto* panel = new QWidget(this);
    panel->setObjectName("ButtonPanel");
    panel->setFixedWidth(86);
    Save_Btn = MakeButton("Save_Btn", "Save", panel);
    Close_Btn = MakeButton("Close_Btn", "Close", panel);
    Generate_Btn = MakeButton("Generate_Btn", "Generate", panel);
    Save_Btn->setToolTip("Save the definition (Ctrl+S)");
    Close_Btn->setToolTip("Close this editor (Ctrl+W)");
    Generate_Btn->setToolTip("Generate the model and view it (F5)");
    auto* buttons = new QVBoxLayout(panel);
    buttons->setContentsMargins(5, 4, 6, 4);
    buttons->addWidget(Save_Btn);
    buttons->addWidget(Close_Btn);
    buttons->addSpacing(24);
    buttons->addWidget(Generate_Btn);
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Memo1);
    layout->addWidget(panel);
    setFocusProxy(Memo1);

    connect(Save_Btn, &QPushButton::clicked, this, &TMDIChild::Save_BtnClick);
    connect(Close_Btn, &QPushButton::clicked, this, &TMDIChild::Close_BtnClick);
    connect(Generate_Btn, &QPushButton::clicked, this, &TMDIChild::Generate_BtnClick);
    // The title bar marks unsaved changes with "*".
    connect(Memo1->document(), &QTextDocument::modificationChanged, this, &QWidget::setWindowModified);
}

TMDIChild::~TMDIChild()
{
    if (AppState.Workspace) AppState.Workspace->EditorClosing(this, std::move(Model));
}

QMdiSubWindow* TMDIChild::SubWindow() const { return qobject_cast<QMdiSubWindow*>(parentWidget()); }

void TMDIChild::SetFileName(const QString& Name, bool OnDisk)
{
    FileName = Name;
    FileOnDisk = OnDisk;
    setWindowTitle(QFileInfo(Name).fileName() + "[*]");
}

QString TMDIChild::Caption() const
{
    QString caption = windowTitle();
    caption.replace("[*]", isWindowModified() ? "*" : "");
    return caption;
}

void TMDIChild::PlaceNew()
{
    QMdiSubWindow* frame = SubWindow();
    if (!frame) return;
    frame->setMinimumSize(MinimumWidth, MinimumHeight);
    QSize size(EditorWidth, EditorHeight);
    if (AppState.Workspace) size = size.boundedTo(AppState.Workspace->UsableClientSize()).expandedTo(frame->minimumSize());
    frame->resize(size);
    if (AppState.Workspace && (frame->geometry().right() + 1 > AppState.Workspace->UsableClientSize().width() ||
                               frame->geometry().bottom() + 1 > AppState.Workspace->UsableClientSize().height()))
        frame->move(0, 0);
}

bool TMDIChild::SaveFile()
{
    QString folder = QFileInfo(FileName).absolutePath();
    QString proposed = FileName;
    // A file from a folder the user cannot write (an installed sample) is proposed in the user's own folder.
    if (!QFileInfo(folder).isWritable()) {
        folder = DialogFolder(TFileKind::Definition, AppState.ProgramFolders.NewDefinitionFolder);
        proposed = QDir(folder).filePath(QFileInfo(FileName).fileName());
    }
    QDir::setCurrent(folder);
    int filter = 0;
    QString chosen =
        Dialogs().SaveFileName(this, folder, proposed, {"Verdel definitions (*.vd)", "All files (*)"}, filter);
    if (chosen.isEmpty() || !MayOverwrite(chosen)) return false;
    if (!EndsWithAnyCase(chosen.toStdString(), ".vd")) {
        chosen += ".vd";
        if (!MayOverwrite(chosen)) return false;
    }
    try {
        WriteTextFile(chosen, Memo1->toPlainText());
    } catch (const std::exception& error) {
        Dialogs().Error(error.what());
        return false;
    }
    SetFileName(chosen, true);
    Memo1->document()->setModified(false);
    NoteUsedFile(TFileKind::Definition, chosen, true);
    return true;
}

bool TMDIChild::Save()
{
    if (!FileOnDisk || !QFileInfo(FileName).isWritable()) return SaveFile();
    try {
        WriteTextFile(FileName, Memo1->toPlainText());
    } catch (const std::exception& error) {
        Dialogs().Error(error.what());
        return false;
    }
    Memo1->document()->setModified(false);
    NoteUsedFile(TFileKind::Definition, FileName, true);
    return true;
}

QString TMDIChild::CloseQuestion(bool Exiting) const
{
    return QString("Do You wish to Save File Before Exiting?\r\nSave changes to %1 before %2?")
        .arg(QFileInfo(FileName).fileName(), Exiting ? "exiting" : "closing");
}

bool TMDIChild::FormCloseQuery(bool Exiting)
{
    if (!Memo1->document()->isModified()) return true;
    switch (Dialogs().Confirm(CloseQuestion(Exiting).toStdString(), true)) {
    case TAnswer::Yes: return Save();
    case TAnswer::No: return true;
    case TAnswer::Cancel: return false;
    }
    return false;
}

void TMDIChild::closeEvent(QCloseEvent* Event)
{
    if (FormCloseQuery()) Event->accept();
    else Event->ignore();
}

void TMDIChild::Save_BtnClick() { Save(); }

void TMDIChild::Close_BtnClick()
{
    if (QMdiSubWindow* frame = SubWindow()) frame->close();
    else close();
}

void TMDIChild::Generate_BtnClick()
{
    const QString text = Memo1->toPlainText();
    const TGenerationResult result = GenerateAndView(EngineLines(text), &FileName, this);
    // The model on view is this text's: live preview need not make it again.
    if (result.Status == TGenerationStatus::Done) GeneratedText = text;
    // An invalid text or a parameter that is not a number: the message has
    // named the line; show it (or the parameter) selected.
    if (result.FaultLine > 0) {
        Memo1->SelectLine(result.FaultLine, result.FaultColumn, result.FaultLength);
        Memo1->setFocus();
    }
}

} // namespace verdel
