// The main frame: a multiple-document window with menus, speed buttons,
// status bar, help panel and the program's folders.
#pragma once

#include <QMainWindow>

#include "gui/workspace.h"

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QPushButton;
class QTextEdit;
class QTime;
class QTimer;
class QToolButton;

namespace verdel {

class TAboutBox;
class THelpWindow;
class THelperForm;
class TMDIChild;

class TMainForm : public QMainWindow, public TWorkspace {
    Q_OBJECT
public:
    // Creates the frame for the data folders beside ProgramFolder (ending in "/").
    explicit TMainForm(const QString& ProgramFolder, QWidget* Parent = nullptr);
    ~TMainForm() override;

    // A new empty editor named "NoName-N.vd", N the number of child windows with it.
    TMDIChild* NewFile();
    // A new editor on a copy of Text, named "Random-N.vd" and marked modified.
    TMDIChild* CreateNewEditWindowForRandom(const QString& Text);
    // The generator dialogs: at most one of each kind.
    void CreateRandomDialog();
    void CreateMutateDialog();
    // What the child windows ask of the frame.
    QSize UsableClientSize() const override { return {UsableClientWidth, UsableClientHeight}; }
    QRect FrameGeometry() const override { return geometry(); }
    void OpenEditorWithText(const QString& Text) override { CreateNewEditWindowForRandom(Text); }
    void RandomDialogClosed() override;
    void MutateDialogClosed() override;
    void ShowProgress(const QString& Text, const std::function<void()>& OnCancel) override;
    void HideProgress() override;
    // Enables the commands that need a child window.
    void UpdateMenuItems();
    // Shows the Introduction as a child window.
    void ShowStartupMessage();
    // Adds a widget as a child window of the frame.
    QMdiSubWindow* AddChild(QWidget* Child);
    int ChildCount() const;

    // Menu and speed-button handlers.
    void FileNewItemClick();
    void FileOpenItemClick();
    void FileCloseItemClick();
    void FileSaveItemClick();
    void ViewGraphic1Click();
    void FileExitItemClick();
    void CutItemClick();
    void CopyItemClick();
    void PasteItemClick();
    void WindowCascadeItemClick();
    void WindowTileItemClick();
    void WindowArrangeItemClick();
    void WindowMinimizeItemClick();
    void RandomGenerator1Click();
    void Mutator1Click();
    void General1Click();
    void ShowHelpPanelClick();
    void HelpFile1Click();
    void HelpAboutItemClick();
    void CommandReference1Click();
    void ClockTimerTimer();

    // Whether the frame may close: the unsaved editors' questions.
    bool FormCloseQuery();

    int UsableClientWidth = 0; // the area child windows may use
    int UsableClientHeight = 0;
    bool FirstActivation = true;
    bool RandomDialogOpen = false;
    bool MutatorDialogOpen = false;

    // The long-lived windows the frame shows (created at start-up).
    TAboutBox* AboutBox = nullptr;
    THelperForm* HelperForm = nullptr;

    QMdiArea* MdiArea;
    QLabel* StatusPanels[3];
    QLabel* ProgressLabel;        // a long job's progress, shown while it runs
    QPushButton* CancelJobButton; // stops that job
    QWidget* HelpPanel;
    QTextEdit* HelpMemo;
    QTimer* ClockTimer;

protected:
    void closeEvent(QCloseEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void changeEvent(QEvent* Event) override;

private:
    void FormCreate(const QString& programFolder);
    void CreateMenus();
    void CreateSpeedPanel();
    void CreateStatusBar();
    void CreateHelpPanel();
    void PlaceHelpMemo();
    void UpdateUsableClientSize();
    void UpdateWindowMenu();
    // Cuts every connection from the MDI area and its child windows to the
    // frame: the one place that does so, before the children are destroyed.
    void DisconnectMdiSignals();
    // The editor of the active child window, or nullptr.
    TMDIChild* ActiveEditor() const;
    QList<TMDIChild*> Editors() const;
    QAction* AddItem(QMenu* menu, const char* name, const QString& caption, void (TMainForm::*handler)());

    QMenu* WindowMenu = nullptr;
    QAction* FileCloseItem = nullptr;
    QAction* FileSaveItem = nullptr;
    QAction* CutItem = nullptr;
    QAction* CopyItem = nullptr;
    QAction* PasteItem = nullptr;
    QAction* WindowCascadeItem = nullptr;
    QAction* WindowTileItem = nullptr;
    QAction* WindowArrangeItem = nullptr;
    QAction* WindowMinimizeItem = nullptr;
    QAction* RandomGenerator1 = nullptr;
    QAction* Mutator1 = nullptr;
    QAction* ShowHelpPanel = nullptr;
    QToolButton* SaveBtn = nullptr;
    QToolButton* CutBtn = nullptr;
    QToolButton* CopyBtn = nullptr;
    QToolButton* PasteBtn = nullptr;
    QToolButton* RandomSpeedButton = nullptr;
    QToolButton* MutateSpeedButton = nullptr;
    QList<QAction*> WindowListActions;
    THelpWindow* HelpWindow = nullptr; // made at its first use
};

} // namespace verdel
