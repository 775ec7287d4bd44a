// The main frame's commands: one QAction each, shared by the menu item, the
// speed button and the shortcut; and the enabled states they follow.
#include <QAction>
#include <QDockWidget>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>

#include "gui/editor/definition_text_edit.h"
#include "gui/editor/editor_window.h"
#include "gui/generators/breed_window.h"
#include "gui/glyphs.h"
#include "gui/main_form.h"
#include "gui/shared/file_memory.h"

namespace verdel {

QAction* TMainForm::MakeAction(const char* name, const QString& caption, void (TMainForm::*handler)(),
                               const QKeySequence& shortcut)
{
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    // The hint names the shortcut, as the speed buttons show it.
    QString hint = caption;
    hint.remove('&');
    if (hint.endsWith("...")) hint.chop(3);
    if (!shortcut.isEmpty()) hint += " (" + shortcut.toString(QKeySequence::NativeText) + ")";
    action->setToolTip(hint);
    connect(action, &QAction::triggered, this, handler);
    return action;
}

void TMainForm::CreateActions()
{
    FileNewItem = MakeAction("FileNewItem", "&New", &TMainForm::FileNewItemClick, QKeySequence::New);
    FileOpenItem = MakeAction("FileOpenItem", "&Open...", &TMainForm::FileOpenItemClick, QKeySequence::Open);
    FileExamplesItem = MakeAction("FileExamplesItem", "&Examples...", &TMainForm::FileExamplesItemClick);
    FileCloseItem =
        MakeAction("FileCloseItem", "&Close", &TMainForm::FileCloseItemClick, QKeySequence(Qt::CTRL | Qt::Key_W));
    FileSaveItem = MakeAction("FileSaveItem", "&Save", &TMainForm::FileSaveItemClick, QKeySequence::Save);
    FileSaveAsItem = MakeAction("FileSaveAsItem", "Save &As...", &TMainForm::FileSaveAsItemClick,
                                QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    ViewGraphic1 = MakeAction("ViewGraphic1", "View &DXF...", &TMainForm::ViewGraphic1Click);
    FileExitItem =
        MakeAction("FileExitItem", "E&xit", &TMainForm::FileExitItemClick, QKeySequence(Qt::CTRL | Qt::Key_Q));
    UndoItem = MakeAction("UndoItem", "&Undo", &TMainForm::UndoItemClick, QKeySequence::Undo);
    RedoItem = MakeAction("RedoItem", "&Redo", &TMainForm::RedoItemClick, QKeySequence::Redo);
    CutItem = MakeAction("CutItem", "Cu&t", &TMainForm::CutItemClick, QKeySequence::Cut);
    CopyItem = MakeAction("CopyItem", "&Copy", &TMainForm::CopyItemClick, QKeySequence::Copy);
    PasteItem = MakeAction("PasteItem", "&Paste", &TMainForm::PasteItemClick, QKeySequence::Paste);
    SelectAllItem = MakeAction("SelectAllItem", "Select &All", &TMainForm::SelectAllItemClick, QKeySequence::SelectAll);
    // The editor handles its own editing keys; the actions serve menu and buttons.
    for (QAction* action : {UndoItem, RedoItem, CutItem, CopyItem, PasteItem, SelectAllItem})
        action->setShortcutContext(Qt::WidgetShortcut);
    FindItem = MakeAction("FindItem", "&Find...", &TMainForm::FindItemClick, QKeySequence(Qt::CTRL | Qt::Key_F));
    ReplaceItem =
        MakeAction("ReplaceItem", "R&eplace...", &TMainForm::ReplaceItemClick, QKeySequence(Qt::CTRL | Qt::Key_H));
    WindowCascadeItem = MakeAction("WindowCascadeItem", "&Cascade", &TMainForm::WindowCascadeItemClick);
    WindowTileItem = MakeAction("WindowTileItem", "&Tile", &TMainForm::WindowTileItemClick);
    WindowArrangeItem = MakeAction("WindowArrangeItem", "&Arrange Icons", &TMainForm::WindowArrangeItemClick);
    WindowMinimizeItem = MakeAction("WindowMinimizeItem", "&Minimize All", &TMainForm::WindowMinimizeItemClick);
    GenerateItem = MakeAction("GenerateItem", "&Generate", &TMainForm::GenerateItemClick, QKeySequence(Qt::Key_F5));
    RandomGenerator1 = MakeAction("RandomGenerator1", "&Random Generator", &TMainForm::RandomGenerator1Click);
    Mutator1 = MakeAction("Mutator1", "&Mutator", &TMainForm::Mutator1Click);
    General1 = MakeAction("General1", "&General...", &TMainForm::General1Click);
    ShowHelpPanel = MakeAction("ShowHelpPanel", "Show &Help Panel", &TMainForm::ShowHelpPanelClick);
    ShowHelpPanel->setCheckable(true);
    HelpFile1 = MakeAction("HelpFile1", "&Help File", &TMainForm::HelpFile1Click, QKeySequence::HelpContents);
    CommandReference1 = MakeAction("CommandReference1", "&Command Reference", &TMainForm::CommandReference1Click,
                                   QKeySequence(Qt::SHIFT | Qt::Key_F1));
    HelpAboutItem = MakeAction("HelpAboutItem", "&About...", &TMainForm::HelpAboutItemClick);
    LivePreviewItem = MakeAction("LivePreviewItem", "&Live Preview", &TMainForm::LivePreviewItemClick);
    LivePreviewItem->setCheckable(true);
    LivePreviewItem->setChecked(true);
    LivePreviewItem->setToolTip("Generate and draw the model again at each pause in typing");

    const std::pair<QAction*, TGlyph> glyphs[] = {
        {FileNewItem, TGlyph::New},   {FileOpenItem, TGlyph::Open},       {FileSaveItem, TGlyph::Save},
        {CutItem, TGlyph::Cut},       {CopyItem, TGlyph::Copy},           {PasteItem, TGlyph::Paste},
        {FileExitItem, TGlyph::Exit}, {RandomGenerator1, TGlyph::Random}, {Mutator1, TGlyph::Mutate},
    };
    for (const auto& [action, glyph] : glyphs) action->setIcon(SpeedButtonIcon(glyph));
}

void TMainForm::CreateMenus()
{
    QMenu* file = menuBar()->addMenu("&File");
    file->setObjectName("File1");
    file->addActions({FileNewItem, FileOpenItem});
    RecentFilesMenu = file->addMenu("Open &Recent");
    RecentFilesMenu->setObjectName("RecentFiles1");
    connect(file, &QMenu::aboutToShow, this, &TMainForm::UpdateRecentFilesMenu);
    file->addAction(FileExamplesItem);
    file->addActions({FileCloseItem, FileSaveItem, FileSaveAsItem});
    file->addSeparator();
    file->addAction(ViewGraphic1);
    file->addSeparator();
    file->addAction(FileExitItem);

    QMenu* edit = menuBar()->addMenu("&Edit");
    edit->setObjectName("Edit1");
    edit->addActions({UndoItem, RedoItem});
    edit->addSeparator();
    edit->addActions({CutItem, CopyItem, PasteItem, SelectAllItem});
    edit->addSeparator();
    edit->addActions({FindItem, ReplaceItem});

    ViewMenu = menuBar()->addMenu("&View");
    ViewMenu->setObjectName("View1");
    ViewMenu->addAction(LivePreviewItem);
    ViewMenu->addSeparator();
    ViewMenu->addAction(ParametersDock->toggleViewAction()); // the viewer's dock comes before it

    WindowMenu = menuBar()->addMenu("&Window");
    WindowMenu->setObjectName("Window1");
    WindowMenu->addActions({WindowCascadeItem, WindowTileItem, WindowArrangeItem, WindowMinimizeItem});
    connect(WindowMenu, &QMenu::aboutToShow, this, &TMainForm::UpdateWindowMenu);

    QMenu* tools = menuBar()->addMenu("&Tools");
    tools->setObjectName("Tools1");
    tools->addAction(GenerateItem);
    tools->addSeparator();
    tools->addActions({RandomGenerator1, Mutator1});
    AddBreedItem(tools, this);

    QMenu* options = menuBar()->addMenu("&Options");
    options->setObjectName("Options1");
    options->addActions({General1, ShowHelpPanel});

    QMenu* help = menuBar()->addMenu("&Help");
    help->setObjectName("Help1");
    help->addActions({HelpFile1, CommandReference1});
    help->addSeparator();
    help->addAction(HelpAboutItem);
}

QToolButton* TMainForm::SpeedButton(QWidget* panel, const char* name, QAction* action)
{
    auto* button = new QToolButton(panel);
    button->setObjectName(name);
    button->setDefaultAction(action);
    button->setFixedSize(25, 25);
    button->setAutoRaise(true);
    return button;
}

void TMainForm::CreateSpeedPanel()
{
    QToolBar* panel = addToolBar("Speed buttons");
    panel->setObjectName("SpeedPanel");
    panel->setMovable(false);
    panel->setFloatable(false);
    panel->setFixedHeight(30);
    panel->setIconSize(QSize(20, 20));
    panel->toggleViewAction()->setVisible(false);
    auto add = [&](const char* name, QAction* action) { panel->addWidget(SpeedButton(panel, name, action)); };
    add("NewBtn", FileNewItem);
    add("OpenBtn", FileOpenItem);
    add("SaveBtn", FileSaveItem);
    panel->addSeparator();
    add("CutBtn", CutItem);
    add("CopyBtn", CopyItem);
    add("PasteBtn", PasteItem);
    panel->addSeparator();
    add("RandomSpeedButton", RandomGenerator1);
    add("MutateSpeedButton", Mutator1);

    // ExitBtn keeps to the right end of the panel.
    auto* spacer = new QWidget(panel);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    panel->addWidget(spacer);
    QToolButton* exit = SpeedButton(panel, "ExitBtn", FileExitItem);
    exit->setFixedSize(45, 25);
    panel->addWidget(exit);
    auto* margin = new QWidget(panel);
    margin->setFixedWidth(5);
    panel->addWidget(margin);
}

void TMainForm::UpdateMenuItems()
{
    const bool any = ChildCount() > 0;
    for (QAction* item : {FileCloseItem, FileSaveItem, CutItem, CopyItem, PasteItem, WindowCascadeItem, WindowTileItem,
                          WindowArrangeItem, WindowMinimizeItem})
        item->setEnabled(any);
    // Save As, Generate and the editing commands need an editor in front.
    const bool editor = ActiveEditor() != nullptr;
    for (QAction* item : {FileSaveAsItem, GenerateItem, UndoItem, RedoItem, SelectAllItem, FindItem, ReplaceItem})
        item->setEnabled(editor);
    RandomGenerator1->setEnabled(!RandomDialogOpen());
    Mutator1->setEnabled(!MutatorDialogOpen());
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
        QString title = window->windowTitle();
        title.replace("[*]", window->isWindowModified() ? "*" : "");
        QAction* action = WindowMenu->addAction(QString("&%1 %2").arg(i + 1).arg(title));
        action->setCheckable(true);
        action->setChecked(window == MdiArea->activeSubWindow());
        connect(action, &QAction::triggered, this, [this, window] { MdiArea->setActiveSubWindow(window); });
        WindowListActions.append(action);
    }
}

void TMainForm::UpdateRecentFilesMenu()
{
    RecentFilesMenu->clear();
    const QStringList files = RecentFiles();
    for (int i = 0; i < files.size(); ++i) {
        const QString file = files[i];
        QAction* action = RecentFilesMenu->addAction(QString("&%1 %2").arg(i + 1).arg(QFileInfo(file).fileName()));
        action->setObjectName(QString("RecentFile%1").arg(i + 1));
        action->setToolTip(file);
        action->setStatusTip(file);
        connect(action, &QAction::triggered, this, [this, file] { OpenFile(file); });
    }
    RecentFilesMenu->addSeparator();
    QAction* clear = RecentFilesMenu->addAction("&Clear List");
    clear->setObjectName("ClearRecentFiles");
    clear->setEnabled(!files.isEmpty());
    connect(clear, &QAction::triggered, this, &TMainForm::ClearRecentFilesClick);
    RecentFilesMenu->setToolTipsVisible(true);
    RecentFilesMenu->setEnabled(!files.isEmpty());
}

} // namespace verdel
