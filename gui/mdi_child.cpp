#include "gui/mdi_child.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "engine/text_helpers.h"
#include "gui/app_state.h"
#include "gui/dialogs.h"
#include "gui/generate_view.h"
#include "gui/text_codec.h"
#include "gui/workspace.h"

namespace verdel {

namespace {

constexpr int EditorWidth = 400;
constexpr int EditorHeight = 240;

QPushButton* MakeButton(const char* name, const QString& caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setFixedSize(75, 41);
    return button;
}

// Asks "OK to overwrite" when Name exists; whether saving may go on.
bool MayWrite(const QString& name)
{
    if (!QFileInfo::exists(name)) return true;
    return Dialogs().Confirm("OK to overwrite " + name.toStdString(), true) == TAnswer::Yes;
}

} // namespace

TMDIChild::TMDIChild(QWidget* Parent) : QWidget(Parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName("Memo1");
    Memo1->setFont(QFont("Arial", 10));
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto* panel = new QWidget(this);
    panel->setObjectName("ButtonPanel");
    panel->setFixedWidth(86);
    Save_Btn = MakeButton("Save_Btn", "Save", panel);
    Close_Btn = MakeButton("Close_Btn", "Close", panel);
    Generate_Btn = MakeButton("Generate_Btn", "Generate", panel);
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

    connect(Save_Btn, &QPushButton::clicked, this, &TMDIChild::Save_BtnClick);
    connect(Close_Btn, &QPushButton::clicked, this, &TMDIChild::Close_BtnClick);
    connect(Generate_Btn, &QPushButton::clicked, this, &TMDIChild::Generate_BtnClick);
}

QMdiSubWindow* TMDIChild::SubWindow() const { return qobject_cast<QMdiSubWindow*>(parentWidget()); }

void TMDIChild::SetFileName(const QString& Name)
{
    FileName = Name;
    setWindowTitle(QFileInfo(Name).fileName());
}

void TMDIChild::FormActivate()
{
    QMdiSubWindow* frame = SubWindow();
    if (!frame) return;
    frame->setMinimumSize(EditorWidth, EditorHeight);
    frame->resize(EditorWidth, EditorHeight);
    if (Workspace && (frame->geometry().right() + 1 > Workspace->UsableClientSize().width() ||
                      frame->geometry().bottom() + 1 > Workspace->UsableClientSize().height()))
        frame->move(0, 0);
}

bool TMDIChild::SaveFile()
{
    const QString folder = QFileInfo(FileName).absolutePath();
    QDir::setCurrent(folder);
    int filter = 0;
    QString chosen =
        Dialogs().SaveFileName(this, folder, FileName, {"Verdel definitions (*.vd)", "All files (*)"}, filter);
    if (chosen.isEmpty() || !MayWrite(chosen)) return false;
    if (!EndsWithAnyCase(chosen.toStdString(), ".vd")) {
        chosen += ".vd";
        if (!MayWrite(chosen)) return false;
    }
    try {
        WriteTextFile(chosen, Memo1->toPlainText());
    } catch (const std::exception& error) {
        Dialogs().Error(error.what());
        return false;
    }
    SetFileName(chosen);
    Memo1->document()->setModified(false);
    return true;
}

bool TMDIChild::FormCloseQuery()
{
    if (!Memo1->document()->isModified()) return true;
    switch (Dialogs().Confirm("Do You wish to Save File Before Exiting?", true)) {
    case TAnswer::Yes: return SaveFile();
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

void TMDIChild::Save_BtnClick() { SaveFile(); }

void TMDIChild::Close_BtnClick()
{
    if (QMdiSubWindow* frame = SubWindow()) frame->close();
    else close();
}

void TMDIChild::Generate_BtnClick() { GenerateAndView(EngineLines(Memo1->toPlainText()), &FileName); }

} // namespace verdel
