#include "gui/main_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
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

#include "app/program_folders.h"
#include "app/settings.h"
#include "gui/app_state.h"
#include "gui/clock_text.h"
#include "gui/dialogs.h"
#include "gui/generation_runner.h"
#include "gui/glyphs.h"
#include "gui/layer_bitmaps.h"
#include "gui/mdi_child.h"
#include "gui/program_icon.h"
#include "gui/rich_text.h"
#include "gui/start_up_form.h"

namespace verdel {

namespace {

constexpr int MinimumWidth = 570;
constexpr int MinimumHeight = 460;
constexpr int HelpPanelWidth = 170;

} // namespace

TMainForm::TMainForm(const QString& ProgramFolder, QWidget* Parent) : QMainWindow(Parent)
{
    MainForm = this;
    Workspace = this;
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

    CreateMenus();
    CreateSpeedPanel();
    CreateStatusBar();
    connect(MdiArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
        UpdateMenuItems();
        if (window)
            if (auto* editor = qobject_cast<TMDIChild*>(window->widget())) editor->FormActivate();
    });
    FormCreate(ProgramFolder);
}

TMainForm::~TMainForm()
{
    // The child windows die after this body, in QWidget's destructor; their
    // signals must not reach this half-destroyed frame any more.
    DisconnectMdiSignals();
    SetStatusSink(nullptr);
    if (MainForm == this) MainForm = nullptr;
    if (Workspace == this) Workspace = nullptr;
}

void TMainForm::DisconnectMdiSignals()
{
    disconnect(MdiArea, nullptr, this, nullptr);
    for (QMdiSubWindow* window : MdiArea->subWindowList()) disconnect(window, nullptr, this, nullptr);
}

void TMainForm::FormCreate(const QString& programFolder)
{
    ProgramFolders = FoldersBeside(programFolder.toStdString());
    const std::string folderError = EnsureWorkFolders(ProgramFolders);
    if (!folderError.empty()) Dialogs().Error(folderError);
    QDir::setCurrent(programFolder);

    const QScreen* display = QApplication::primaryScreen();
    const QSize screen = display ? display->size() : QSize(1024, 768);
    // Maximised; the geometry also covers the screen where no window manager maximises.
    if (display) setGeometry(display->availableGeometry());
    setWindowState(windowState() | Qt::WindowMaximized);
    UsableClientWidth = screen.width() - 13;
    UsableClientHeight = screen.height() - 99;

    HelpPanel->hide();
    PlaceHelpMemo();
    LoadRichTextFile(*HelpMemo, programFolder + "VdHelp01.rtf");

    LoadLayerBitmaps(programFolder + "textures/");
    LoadSettings(Settings, ProgramFolders.ProgramFolder, Dialogs());
    FirstActivation = true;
    UpdateMenuItems();
}

QAction* TMainForm::AddItem(QMenu* menu, const char* name, const QString& caption, void (TMainForm::*handler)())
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, handler);
    return action;
}

void TMainForm::CreateMenus()
{
    QMenu* file = menuBar()->addMenu("&File");
    file->setObjectName("File1");
    AddItem(file, "FileNewItem", "&New", &TMainForm::FileNewItemClick);
    AddItem(file, "FileOpenItem", "&Open", &TMainForm::FileOpenItemClick);
    FileCloseItem = AddItem(file, "FileCloseItem", "&Close", &TMainForm::FileCloseItemClick);
    FileSaveItem = AddItem(file, "FileSaveItem", "&Save", &TMainForm::FileSaveItemClick);
    file->addSeparator();
    AddItem(file, "ViewGraphic1", "View DXF", &TMainForm::ViewGraphic1Click);
    file->addSeparator();
    AddItem(file, "FileExitItem", "E&xit", &TMainForm::FileExitItemClick);

    QMenu* edit = menuBar()->addMenu("&Edit");
    edit->setObjectName("Edit1");
    CutItem = AddItem(edit, "CutItem", "Cu&t", &TMainForm::CutItemClick);
    CopyItem = AddItem(edit, "CopyItem", "&Copy", &TMainForm::CopyItemClick);
    PasteItem = AddItem(edit, "PasteItem", "&Paste", &TMainForm::PasteItemClick);

    WindowMenu = menuBar()->addMenu("&Window");
    WindowMenu->setObjectName("Window1");
    WindowCascadeItem = AddItem(WindowMenu, "WindowCascadeItem", "&Cascade", &TMainForm::WindowCascadeItemClick);
    WindowTileItem = AddItem(WindowMenu, "WindowTileItem", "&Tile", &TMainForm::WindowTileItemClick);
    WindowArrangeItem = AddItem(WindowMenu, "WindowArrangeItem", "&Arrange Icons", &TMainForm::WindowArrangeItemClick);
    WindowMinimizeItem =
        AddItem(WindowMenu, "WindowMinimizeItem", "&Minimize All", &TMainForm::WindowMinimizeItemClick);
    connect(WindowMenu, &QMenu::aboutToShow, this, &TMainForm::UpdateWindowMenu);

    QMenu* tools = menuBar()->addMenu("&Tools");
    tools->setObjectName("Tools1");
    RandomGenerator1 = AddItem(tools, "RandomGenerator1", "&Random Generator", &TMainForm::RandomGenerator1Click);
    Mutator1 = AddItem(tools, "Mutator1", "&Mutator", &TMainForm::Mutator1Click);

    QMenu* options = menuBar()->addMenu("&Options");
    options->setObjectName("Options1");
    AddItem(options, "General1", "General", &TMainForm::General1Click);
    ShowHelpPanel = AddItem(options, "ShowHelpPanel", "Show &Help Panel", &TMainForm::ShowHelpPanelClick);
    ShowHelpPanel->setCheckable(true);

    QMenu* help = menuBar()->addMenu("&Help");
    help->setObjectName("Help1");
    AddItem(help, "HelpFile1", "&Help File", &TMainForm::HelpFile1Click);
    AddItem(help, "CommandReference1", "&Command Reference", &TMainForm::CommandReference1Click);
    help->addSeparator();
    AddItem(help, "HelpAboutItem", "&About", &TMainForm::HelpAboutItemClick);
}

void TMainForm::CreateSpeedPanel()
{
    QToolBar* panel = addToolBar("Speed buttons");
    panel->setObjectName("SpeedPanel");
    panel->setMovable(false);
    panel->setFloatable(false);
    panel->setFixedHeight(30);
    panel->setIconSize(QSize(20, 20));
    auto button = [&](const char* name, TGlyph glyph, const QString& hint, void (TMainForm::*handler)()) {
        auto* b = new QToolButton(panel);
        b->setObjectName(name);
        b->setIcon(SpeedButtonIcon(glyph));
        b->setToolTip(hint);
        b->setFixedSize(25, 25);
        b->setAutoRaise(true);
        connect(b, &QToolButton::clicked, this, handler);
        panel->addWidget(b);
        return b;
    };
    button("NewBtn", TGlyph::New, "New", &TMainForm::FileNewItemClick);
    button("OpenBtn", TGlyph::Open, "Open", &TMainForm::FileOpenItemClick);
    SaveBtn = button("SaveBtn", TGlyph::Save, "Save", &TMainForm::FileSaveItemClick);
    panel->addSeparator();
    CutBtn = button("CutBtn", TGlyph::Cut, "Cut", &TMainForm::CutItemClick);
    CopyBtn = button("CopyBtn", TGlyph::Copy, "Copy", &TMainForm::CopyItemClick);
    PasteBtn = button("PasteBtn", TGlyph::Paste, "Paste", &TMainForm::PasteItemClick);
    panel->addSeparator();
    RandomSpeedButton =
        button("RandomSpeedButton", TGlyph::Random, "Random Generator", &TMainForm::RandomGenerator1Click);
    MutateSpeedButton = button("MutateSpeedButton", TGlyph::Mutate, "Mutator", &TMainForm::Mutator1Click);

    // ExitBtn keeps to the right end of the panel.
    auto* spacer = new QWidget(panel);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    panel->addWidget(spacer);
    QToolButton* exit = button("ExitBtn", TGlyph::Exit, "Exit", &TMainForm::FileExitItemClick);
    exit->setFixedSize(45, 25);
    exit->setToolButtonStyle(Qt::ToolButtonIconOnly);
    auto* margin = new QWidget(panel);
    margin->setFixedWidth(5);
    panel->addWidget(margin);
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
    SetStatusSink([this](const QString& text) { StatusPanels[0]->setText(text); });
    ProgressLabel = new QLabel;
    ProgressLabel->setObjectName("ProgressLabel");
    CancelJobButton = new QPushButton("Cancel");
    CancelJobButton->setObjectName("CancelJobButton");
    CancelJobButton->setToolTip("Stop the generation (Esc)");
    statusBar()->addPermanentWidget(ProgressLabel);
    statusBar()->addPermanentWidget(CancelJobButton);
    HideProgress();

    ClockTimer = new QTimer(this);
    ClockTimer->setObjectName("ClockTimer");
    ClockTimer->setInterval(1000);
    connect(ClockTimer, &QTimer::timeout, this, &TMainForm::ClockTimerTimer);
    ClockTimer->start();
    ClockTimerTimer();
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
    if (Event->type() == QEvent::ActivationChange && isActiveWindow() && FirstActivation && Settings.ShowStartText) {
        FirstActivation = false;
        ShowStartupMessage();
    }
}

void TMainForm::ClockTimerTimer() { StatusPanels[1]->setText(LongTimeText(QTime::currentTime())); }

int TMainForm::ChildCount() const { return static_cast<int>(MdiArea->subWindowList().size()); }

void TMainForm::UpdateMenuItems()
{
    const bool any = ChildCount() > 0;
    for (QAction* item : {FileCloseItem, FileSaveItem, CutItem, CopyItem, PasteItem, WindowCascadeItem, WindowTileItem,
                          WindowArrangeItem, WindowMinimizeItem})
        item->setEnabled(any);
    for (QToolButton* button : {SaveBtn, CutBtn, CopyBtn, PasteBtn})
        if (button) button->setEnabled(any);
    RandomGenerator1->setEnabled(!RandomDialogOpen);
    Mutator1->setEnabled(!MutatorDialogOpen);
    if (RandomSpeedButton) RandomSpeedButton->setEnabled(!RandomDialogOpen);
    if (MutateSpeedButton) MutateSpeedButton->setEnabled(!MutatorDialogOpen);
}

void TMainForm::UpdateWindowMenu()
{
    for (QAction* action : WindowListActions) {
        WindowMenu->removeAction(action);
        action->deleteLater();
    }
    WindowListActions.clear();
    const QList<QMdiSubWindow*> windows = MdiArea->subWindowList();
    if (windows.isEmpty()) return;
    WindowListActions.append(WindowMenu->addSeparator());
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* window = windows[i];
        QAction* action = WindowMenu->addAction(QString("&%1 %2").arg(i + 1).arg(window->windowTitle()));
        action->setCheckable(true);
        action->setChecked(window == MdiArea->activeSubWindow());
        connect(action, &QAction::triggered, this, [this, window] { MdiArea->setActiveSubWindow(window); });
        WindowListActions.append(action);
    }
}

QMdiSubWindow* TMainForm::AddChild(QWidget* Child)
{
    QMdiSubWindow* window = MdiArea->addSubWindow(Child);
    window->setAttribute(Qt::WA_DeleteOnClose);
    connect(window, &QObject::destroyed, this, [this] { QTimer::singleShot(0, this, &TMainForm::UpdateMenuItems); });
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
        if (!editor->Memo1->document()->isModified()) continue;
        const TAnswer answer = Dialogs().Confirm("Do You wish to Save File Before Exiting?", true);
        if (answer == TAnswer::Cancel) {
            canClose = false;
        } else if (answer == TAnswer::Yes) {
            if (editor->SaveFile()) break;
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
    for (QMdiSubWindow* window : MdiArea->subWindowList(QMdiArea::CreationOrder)) {
        auto* editor = qobject_cast<TMDIChild*>(window->widget());
        if (editor && !editor->FormCloseQuery()) {
            Event->ignore();
            return;
        }
    }
    if (!FormCloseQuery()) {
        Event->ignore();
        return;
    }
    Event->accept();
}

} // namespace verdel
