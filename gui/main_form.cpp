#include "gui/main_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStatusBar>
#include <QTextEdit>
#include <QTime>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <utility>

#include "app/program_folders.h"
#include "app/settings.h"
#include "gui/editor/definition_text_edit.h"
#include "gui/editor/editor_window.h"
#include "gui/generators/breed_window.h"
#include "gui/glyphs.h"
#include "gui/introduction_window.h"
#include "gui/live_preview.h"
#include "gui/program_icon.h"
#include "gui/rich_text.h"
#include "gui/shared/app_state.h"
#include "gui/shared/clock_text.h"
#include "gui/shared/dialogs.h"
#include "gui/shared/elided_label.h"
#include "gui/shared/file_memory.h"
#include "gui/shared/generation_runner.h"
#include "gui/viewer/layer_bitmaps.h"
#include "gui/viewer/viewer_window.h"

namespace verdel {

namespace {

constexpr int MinimumWidth = 570;
constexpr int MinimumHeight = 460;
constexpr int HelpPanelWidth = 170;

} // namespace

TMainForm::TMainForm(const QString& ProgramFolder, QWidget* Parent) : QMainWindow(Parent)
{
    AppState.Workspace = this;
    setObjectName("MainForm");
    setWindowTitle("Verdel 5");
    setWindowIcon(ProgramIcon());
    setMinimumSize(MinimumWidth, MinimumHeight);
    resize(506, 382);
    move(24, 170);

    MdiArea = new QMdiArea;
    MdiArea->setObjectName("MdiArea");
    CreateHelpPanel();
    auto* centre = new QWidget;
    auto* layout = new QHBoxLayout(centre);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(MdiArea);
    layout->addWidget(HelpPanel);
    setCentralWidget(centre);

    CreateStudio();
    CreateActions();
    CreateMenus();
    CreateSpeedPanel();
    CreateStatusBar();
    setAcceptDrops(true);
    connect(MdiArea, &QMdiArea::subWindowActivated, this, [this] { UpdateMenuItems(); });
    FormCreate(ProgramFolder);
}

TMainForm::~TMainForm()
{
    // The child windows die after this body, in QWidget's destructor; their
    // signals must not reach this half-destroyed frame any more.
    DisconnectMdiSignals();
    if (AppState.Workspace == this) AppState.Workspace = nullptr;
}

void TMainForm::DisconnectMdiSignals()
{
    disconnect(MdiArea, nullptr, this, nullptr);
    for (QMdiSubWindow* window : MdiArea->subWindowList()) disconnect(window, nullptr, this, nullptr);
    for (TMDIChild* editor : Editors()) disconnect(editor->Memo1, nullptr, this, nullptr);
}

void TMainForm::FormCreate(const QString& programFolder)
{
    AppState.ProgramFolders = LocateFolders(programFolder.toStdString(), UserFoldersFromEnvironment());
    const std::string folderError = EnsureWorkFolders(AppState.ProgramFolders);
    if (!folderError.empty()) Dialogs().Error(folderError);
    StartFolder = QDir::currentPath();
    QDir::setCurrent(programFolder);
    const QString dataFolder = QString::fromStdString(AppState.ProgramFolders.DataFolder);

    const QScreen* display = QApplication::primaryScreen();
    const QSize screen = display ? display->size() : QSize(1024, 768);
    // Maximised; the geometry also covers the screen where no window manager maximises.
    if (display) setGeometry(display->availableGeometry());
    setWindowState(windowState() | Qt::WindowMaximized);
    UsableClientWidth = screen.width() - 13;
    UsableClientHeight = screen.height() - 99;

    HelpPanel->hide();
    PlaceHelpMemo();
    LoadRichTextFile(*HelpMemo, dataFolder + "VdHelp01.rtf");

    LoadLayerBitmaps(QString::fromStdString(AppState.ProgramFolders.TexturesFolder));
    LoadStartSettings();
    LoadFileMemory();
    RestoreLayout();
    LivePreviewItem->setChecked(AppState.Settings.Layout.LivePreview);
    LivePreview->SetEnabled(AppState.Settings.Layout.LivePreview);
    FirstActivation = true;
    UpdateRecentFilesMenu();
    UpdateMenuItems();
}

void TMainForm::CreateStatusBar()
{
    statusBar()->setObjectName("StatusBar");
    const int widths[3] = {300, 70, 50};
    for (int i = 0; i < 3; ++i) {
        StatusPanels[i] = new QLabel;
        StatusPanels[i]->setObjectName(QString("StatusPanel%1").arg(i));
        StatusPanels[i]->setFixedWidth(widths[i]);
        StatusPanels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        statusBar()->addWidget(StatusPanels[i]);
    }
    StatusPanels[1]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ProgressLabel = new QLabel;
    ProgressLabel->setObjectName("ProgressLabel");
    CancelJobButton = new QPushButton("Cancel");
    CancelJobButton->setObjectName("CancelJobButton");
    CancelJobButton->setToolTip("Stop the generation (Esc)");
    statusBar()->addPermanentWidget(ProgressLabel);
    statusBar()->addPermanentWidget(CancelJobButton);
    HideProgress();
    WarningPanel = new TElidedLabel;
    WarningPanel->setObjectName("WarningPanel");
    WarningPanel->setTextFormat(Qt::PlainText);
    statusBar()->addWidget(WarningPanel, 1);

    ClockTimer = new QTimer(this);
    ClockTimer->setObjectName("ClockTimer");
    ClockTimer->setInterval(1000);
    connect(ClockTimer, &QTimer::timeout, this, &TMainForm::ClockTimerTimer);
    ClockTimer->start();
    ClockTimerTimer();
}

void TMainForm::ShowStatus(const QString& Text) { StatusPanels[0]->setText(Text); }

void TMainForm::ShowWarning(const QString& Text)
{
    // The whole text stays in the tooltip when the line ends in "…" at the window's edge.
    WarningPanel->setText(Text.isEmpty() ? QString() : QString::fromUtf8("\u26A0 ") + Text);
    WarningPanel->setToolTip(Text);
    WarningPanel->setStyleSheet(Text.isEmpty() ? QString() : "QLabel { color: #9a6700; }");
    if (ViewForm) ViewForm->ShowWarning(Text); // the viewer's own status line says it too
}

void TMainForm::CreateHelpPanel()
{
    HelpPanel = new QWidget;
    HelpPanel->setObjectName("HelpPanel");
    HelpPanel->setFixedWidth(HelpPanelWidth);
    HelpMemo = new QTextEdit(HelpPanel);
    HelpMemo->setObjectName("HelpMemo");
    HelpMemo->setReadOnly(true);
    HelpMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    HelpMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    HelpMemo->setPlainText("HelpMemo");
}

void TMainForm::PlaceHelpMemo()
{
    HelpMemo->setGeometry(3, 3, HelpPanel->width() - 6, std::max(0, HelpPanel->height() - 6));
}

void TMainForm::UpdateUsableClientSize()
{
    UsableClientWidth = width() - 13 - (ShowHelpPanel->isChecked() ? HelpMemo->width() : 0);
    UsableClientHeight = height() - 99;
}

void TMainForm::resizeEvent(QResizeEvent* Event)
{
    QMainWindow::resizeEvent(Event);
    PlaceHelpMemo();
    UpdateUsableClientSize();
}

void TMainForm::changeEvent(QEvent* Event)
{
    QMainWindow::changeEvent(Event);
    // The first activation with the setting on offers the Introduction.
    if (Event->type() != QEvent::ActivationChange || !isActiveWindow()) return;
    if (std::exchange(FirstStart, false)) ShowWelcome();
    if (FirstActivation && AppState.Settings.ShowStartText) {
        FirstActivation = false;
        ShowStartupMessage();
    }
}

void TMainForm::ClockTimerTimer() { StatusPanels[1]->setText(LongTimeText(QTime::currentTime())); }

int TMainForm::ChildCount() const { return static_cast<int>(MdiArea->subWindowList().size()); }

QMdiSubWindow* TMainForm::AddChild(QWidget* Child)
{
    QMdiSubWindow* window = MdiArea->addSubWindow(Child);
    window->setAttribute(Qt::WA_DeleteOnClose);
    // Ctrl+W belongs to the frame's Close, which closes the active child; each
    // child's own menu would claim it too and leave the key to neither.
    if (QMenu* menu = window->systemMenu()) {
        for (QAction* action : menu->actions()) {
            QList<QKeySequence> keys = action->shortcuts();
            if (keys.removeAll(FileCloseItem->shortcut()) > 0) action->setShortcuts(keys);
        }
    }
    // The commands follow the windows that are left once a closed one is gone.
    connect(window, &QObject::destroyed, this, [this] { QTimer::singleShot(0, this, &TMainForm::UpdateMenuItems); });
    // The model follows an editor's text while it is typed, into the docked viewer.
    if (auto* editor = qobject_cast<TMDIChild*>(Child))
        connect(editor->Memo1, &QPlainTextEdit::textChanged, this, [this, editor] {
            if (ViewerDock) LivePreview->Edited(editor);
        });
    Child->show();
    UpdateMenuItems();
    return window;
}

TMDIChild* TMainForm::ActiveEditor() const
{
    QMdiSubWindow* window = MdiArea->activeSubWindow();
    return window ? qobject_cast<TMDIChild*>(window->widget()) : nullptr;
}

QList<TMDIChild*> TMainForm::Editors() const
{
    QList<TMDIChild*> editors;
    for (QMdiSubWindow* window : MdiArea->subWindowList(QMdiArea::CreationOrder))
        if (auto* editor = qobject_cast<TMDIChild*>(window->widget())) editors.append(editor);
    return editors;
}

bool TMainForm::FormCloseQuery()
{
    bool canClose = true;
    const QList<TMDIChild*> editors = Editors();
    for (auto it = editors.rbegin(); it != editors.rend(); ++it) {
        TMDIChild* editor = *it;
        // An editor that has just answered its own question is not asked again.
        if (!editor->Memo1->document()->isModified() || AskedOnClose.contains(editor)) continue;
        const TAnswer answer = Dialogs().Confirm(editor->CloseQuestion(true).toStdString(), true);
        if (answer == TAnswer::Cancel) {
            canClose = false;
        } else if (answer == TAnswer::Yes) {
            if (editor->Save()) break;
            canClose = false;
        }
    }
    return canClose;
}

void TMainForm::ShowProgress(const QString& Text, const std::function<void()>& OnCancel)
{
    ProgressLabel->setText(Text);
    ProgressLabel->show();
    CancelJobButton->disconnect();
    connect(CancelJobButton, &QPushButton::clicked, this, [OnCancel] { OnCancel(); });
    CancelJobButton->show();
}

void TMainForm::HideProgress()
{
    ProgressLabel->hide();
    CancelJobButton->hide();
}

void TMainForm::closeEvent(QCloseEvent* Event)
{
    // The worker fills the program's model: it is stopped before anything closes.
    if (GenerationRunning()) {
        CancelGeneration();
        Event->ignore();
        return;
    }
    // Every child window is asked first, by its own rule; then the frame's question.
    AskedOnClose.clear();
    for (QMdiSubWindow* window : MdiArea->subWindowList(QMdiArea::CreationOrder)) {
        auto* editor = qobject_cast<TMDIChild*>(window->widget());
        if (!editor) continue;
        const bool modified = editor->Memo1->document()->isModified();
        if (!editor->FormCloseQuery(true)) {
            AskedOnClose.clear();
            Event->ignore();
            return;
        }
        if (modified) AskedOnClose.append(editor);
    }
    const bool canClose = FormCloseQuery();
    AskedOnClose.clear();
    if (!canClose) {
        Event->ignore();
        return;
    }
    SaveLayout();
    Event->accept();
}

void TMainForm::RestoreLayout()
{
    const TWindowLayout& layout = AppState.Settings.Layout;
    if (layout.MainWindow.empty()) return; // first start: maximised
    restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(layout.MainWindow)));
    restoreState(QByteArray::fromBase64(QByteArray::fromStdString(layout.Docks)));
}

void TMainForm::SaveLayout()
{
    TWindowLayout& layout = AppState.Settings.Layout;
    layout.MainWindow = saveGeometry().toBase64().toStdString();
    layout.Docks = saveState().toBase64().toStdString();
    try {
        SaveSettings(AppState.Settings, AppState.ProgramFolders.SettingsFolder);
    } catch (const std::exception&) {
        // Only the windows' places are lost; the flags were saved when they were chosen.
    }
}

} // namespace verdel
