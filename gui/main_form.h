// The main frame: a multiple-document window with menus, speed buttons,
// status bar, help panel and the program's folders.
#pragma once

#include <QMainWindow>

#include "gui/shared/workspace.h"

class QAction;
class QDockWidget;
class QDragEnterEvent;
class QDropEvent;
class QKeySequence;
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
class TExamplesForm;
class TFindDialog;
class TGenOpsForm;
class TLivePreview;
struct TLiveOutcome;
class TParametersPanel;
class THelpWindow;
class THelperForm;
class TMDIChild;
class TViewForm;

// The main frame ("Verdel 5"): the windows' workspace.
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
    // Whether a generator dialog of the kind is open among the child windows.
    bool RandomDialogOpen() const;
    bool MutatorDialogOpen() const;
    // What the child windows ask of the frame.
    QSize UsableClientSize() const override { return {UsableClientWidth, UsableClientHeight}; }
    QRect FrameGeometry() const override { return geometry(); }
    // A new editor with Text, in front and with the focus (asked from a window of its own).
    void OpenEditorWithText(const QString& Text) override;
    std::optional<TLines> ActiveDefinition() const override;
    // The viewer (ViewForm) takes Model over; without a viewer the model is dropped.
    void ShowModel(TModel Model) override;
    void ShowEditorModel(TModel Model, const void* Editor) override;
    void EditorClosing(const void* Editor, TModel Model) override;
    // Docks Viewer beside the editors; it shows the active editor's model.
    void DockViewer(TViewForm* Viewer);
    void ShowProgress(const QString& Text, const std::function<void()>& OnCancel) override;
    void HideProgress() override;
    void ShowStatus(const QString& Text) override;
    void ShowWarning(const QString& Text) override;
    // Sets every enabled state: the commands that need a child window, and
    // the generator commands while no dialog of their kind is open.
    void UpdateMenuItems();
    // Lists the recent files in File > Open Recent.
    void UpdateRecentFilesMenu();
    // Shows the Introduction as a child window.
    void ShowStartupMessage();
    // Adds a widget as a child window of the frame.
    QMdiSubWindow* AddChild(QWidget* Child);
    int ChildCount() const;

    // Opens a file by its kind: a model file (DXF or mesh) in the viewer, anything else in an
    // editor (an editor that already shows it comes to the front). A relative
    // name (from the command line) is found from StartFolder.
    void OpenFile(const QString& Name);
    // Opens a definition file in a new editor; returns it (nullptr when the file cannot be read).
    TMDIChild* OpenDefinition(const QString& Name);
    // Reads a model file (DXF or mesh) and shows it in the viewer.
    void ViewModelFile(const QString& Name);
    // The examples gallery as a child window, in front (made when none is open).
    TExamplesForm* ShowExamples();
    // A copy of the definition in File in a new untitled editor, its model in
    // the viewer; returns the editor (nullptr when the file cannot be read).
    TMDIChild* OpenExample(const QString& File);

    // Menu and speed-button handlers.
    void FileNewItemClick();
    void FileOpenItemClick();
    void FileExamplesItemClick();
    void FileCloseItemClick();
    void FileSaveItemClick();
    void FileSaveAsItemClick();
    void GenerateItemClick();
    void ClearRecentFilesClick();
    void ViewGraphic1Click();
    void FileExitItemClick();
    void UndoItemClick();
    void RedoItemClick();
    void SelectAllItemClick();
    void FindItemClick();
    void ReplaceItemClick();
    void ShowFindDialog(bool WithReplace);
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
    void LivePreviewItemClick();

    // Whether the frame may close: the unsaved editors' questions.
    bool FormCloseQuery();

    QString StartFolder;       // the working folder the program started in (the frame then works in its own)
    int UsableClientWidth = 0; // the area child windows may use
    int UsableClientHeight = 0;
    bool FirstActivation = true;
    // A first start (no settings file was found): the first activation shows
    // the gallery as the welcome page, with the start's messages about the settings.
    bool FirstStart = false;
    QString FirstStartNotes;

    // The long-lived windows the frame shows (created at start-up).
    TAboutBox* AboutBox = nullptr;
    THelperForm* HelperForm = nullptr;
    TGenOpsForm* GenOpsForm = nullptr;
    TViewForm* ViewForm = nullptr;

    QMdiArea* MdiArea;
    QLabel* StatusPanels[3];
    QLabel* ProgressLabel;        // a long job's progress, shown while it runs
    QPushButton* CancelJobButton; // stops that job
    QLabel* WarningPanel;         // warnings about the last generation
    QWidget* HelpPanel;
    QTextEdit* HelpMemo;
    QTimer* ClockTimer;
    // The model follows the text being typed; the viewer and the Parameters panel dock beside the editors.
    TLivePreview* LivePreview;
    QDockWidget* ViewerDock = nullptr;
    QDockWidget* ParametersDock;
    TParametersPanel* ParametersPanel;
    QAction* LivePreviewItem = nullptr;

protected:
    void closeEvent(QCloseEvent* Event) override;
    // The frame's geometry and docks from the settings, and back into them on closing.
    void RestoreLayout();
    void SaveLayout();
    void resizeEvent(QResizeEvent* Event) override;
    void changeEvent(QEvent* Event) override;
    // Definition and model files dropped on the window open as Open and View DXF would.
    void dragEnterEvent(QDragEnterEvent* Event) override;
    void dropEvent(QDropEvent* Event) override;

private:
    void FormCreate(const QString& programFolder);
    // Reads the settings; at a first start their messages wait for the welcome page.
    void LoadStartSettings();
    // The gallery with the welcome and the first start's notes.
    void ShowWelcome();
    void CreateActions();
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
    // The editor of the child window last in front (also while a dock has the focus), or nullptr.
    TMDIChild* CurrentEditor() const;
    // The editor Key points to, if it is still open.
    TMDIChild* EditorOf(const void* Key) const;
    // The studio: docks, live preview and the models that follow the editors.
    void CreateStudio();
    void EditorActivated();
    void LiveFinished(TMDIChild& Editor, TLiveOutcome& Outcome);
    // Model becomes Editor's: on view when Editor is in front, else kept for
    // it; with KeepView it is turned and placed as Editor's last model was.
    void GiveEditorModel(TMDIChild& Editor, TModel Model, bool KeepView);
    // The model on view returns to the editor it belongs to.
    void HandBackShownModel();
    QList<TMDIChild*> Editors() const;
    // The generator dialog of type T: a new one, or nothing when one is open.
    template <class T> void CreateGeneratorDialog();
    template <class T> bool ChildOpen() const;
    // A command shared by its menu item, speed button and shortcut.
    QAction* MakeAction(const char* name, const QString& caption, void (TMainForm::*handler)(),
                        const QKeySequence& shortcut = {});
    QToolButton* SpeedButton(QWidget* panel, const char* name, QAction* action);

    QMenu* WindowMenu = nullptr;
    QMenu* ViewMenu = nullptr;
    QMenu* RecentFilesMenu = nullptr;
    QAction* FileNewItem = nullptr;
    QAction* FileOpenItem = nullptr;
    QAction* FileExamplesItem = nullptr;
    QAction* FileCloseItem = nullptr;
    QAction* FileSaveItem = nullptr;
    QAction* FileSaveAsItem = nullptr;
    QAction* ViewGraphic1 = nullptr;
    QAction* FileExitItem = nullptr;
    QAction* GenerateItem = nullptr;
    QAction* UndoItem = nullptr;
    QAction* RedoItem = nullptr;
    QAction* SelectAllItem = nullptr;
    QAction* FindItem = nullptr;
    QAction* ReplaceItem = nullptr;
    TFindDialog* FindDialog = nullptr; // made when first asked for
    QAction* CutItem = nullptr;
    QAction* CopyItem = nullptr;
    QAction* PasteItem = nullptr;
    QAction* WindowCascadeItem = nullptr;
    QAction* WindowTileItem = nullptr;
    QAction* WindowArrangeItem = nullptr;
    QAction* WindowMinimizeItem = nullptr;
    QAction* RandomGenerator1 = nullptr;
    QAction* Mutator1 = nullptr;
    QAction* General1 = nullptr;
    QAction* ShowHelpPanel = nullptr;
    QAction* HelpFile1 = nullptr;
    QAction* CommandReference1 = nullptr;
    QAction* HelpAboutItem = nullptr;
    QList<QAction*> WindowListActions;
    QList<TMDIChild*> AskedOnClose;    // editors whose question was answered in this close
    THelpWindow* HelpWindow = nullptr; // made at its first use
};

} // namespace verdel
