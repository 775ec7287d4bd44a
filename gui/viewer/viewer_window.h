// The viewer window: the rendered model, its statistics, render modes, layer
// textures, background colour, navigation buttons and the File menu.
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "app/file_history.h"
#include "engine/model.h"
#include "render/gmp.h"
#include "viewer/navigation.h"
#include "viewer/pointer_navigation.h"
#include "viewer/view_orientation.h"

class QKeyEvent;
class QLabel;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QTimer;
class QToolButton;

namespace verdel {

class TFramePipeline;
class TGMPWidget;
class TGrowthBar;
class TTextureDialog;

// The viewer window ("Viewer"): one model at a time, handed to it by the
// window that made or read it.
class TViewForm : public QDialog, public TNavigationHost {
    Q_OBJECT
public:
    explicit TViewForm(QWidget* Parent = nullptr);
    ~TViewForm() override;

    // Takes Model over and shows it modally; the model is released when the window closes.
    // Docked, the window shows it at once and asks its dock to come forward (OnShow).
    void ShowModal(TModel Model);
    // Takes Model over and prepares its view (ShowModal without showing the window).
    void TakeModel(TModel Model);
    // The same for the window Owner (an editor): with Pose kept, the model is
    // already turned by Pose.Turn and stands where Pose says.
    void TakeModel(TModel Model, const TModelPose& Pose, const void* Owner);
    // The window whose model is on view; null for a model file or none.
    const void* Owner() const { return ModelOwner; }
    void ForgetOwner() { ModelOwner = nullptr; }
    // How the model on view is turned and placed now.
    TModelPose CurrentPose() const;
    // Gives the model on view back to its owner (Slot, with its pose) and shows none.
    void HandBack(TModel& Slot, TModelPose& Pose);
    // Lets Model go once no frame under way may read it.
    void Discard(TModel Model);
    // Draws the model on view now, without the wait cursor (a model that follows the text).
    void DrawNow();

    // Puts the window in the main window's dock: no frame of its own, and
    // Close or Esc call OnClose (the dock hides) while the model stays.
    void SetDocked(std::function<void()> OnClose, std::function<void()> OnShow);
    bool Docked() const { return bool(CloseDock); }
    // Hands the model on view back to its owner before another replaces it (set by the main window).
    std::function<void()> GiveBack;
    // The warnings about the last generation, in the window's own status line.
    void ShowWarning(const QString& Text);

    // Prepares the view of the model: size and place, statistics, layer
    // buttons, centring and distance, navigation; draws nothing.
    void PerformStartupRoutines();
    // Asks for a frame of Store: "Starting Rendering...", the wait cursor when
    // ShowWait; the frame is drawn on the worker and shown when finished
    // ("Rendering Complete" once no newer frame is asked for).
    void ViewerMovement(TFaceStore& Store, bool ShowWait);
    // Hands the layer pictures to the renderer and the layer buttons.
    void SetBitmapButtons();
    // Hands layer 1..12's picture to the renderer and its button.
    void ApplyLayerBitmap(int Layer);

    void WireFrame_RBClick();
    void SolidShade_RBClick();
    void ShadedTexture_RBClick();
    // One of the twelve layer buttons: choose a texture for layer N and redraw.
    void LayerButtonClick(int Layer);
    // Shows the name of layer N's chosen picture on its button.
    void ShowChosenTexture(int Layer);
    void BitBtn2Click();
    void ClockTimerTimer();
    void CloseButtonClick();
    void SaveGraphicAsClick();
    // "Read Model": a DXF or mesh file replaces the model on view.
    void ReadDXFClick();
    void Render_BTClick();
    void SpinTimerTimer();
    void Timer1Timer();
    // The pause after a repaint, then the full model (the window's paint).
    void FormPaint();

    // TNavigationHost
    void DrawStore(TFaceStore& Store, bool ShowWait) override { ViewerMovement(Store, ShowWait); }
    void SetWireframe(bool Wireframe) override;
    void RotateScene(TFaceStore& Store, bool AboutX, bool AboutY, bool AboutZ, float AngleX, float AngleY,
                     float AngleZ) override;
    void SetRepeatTimer(bool Enabled) override;
    void SetSettleTimer(bool Enabled, int IntervalMs) override;
    bool ModelInUse() override;

    TGMPWidget* GMP1;
    TGrowthBar* GrowthBar; // growth playback under the picture
    QLabel* ObCountLabel;
    QLabel* PSCountLabel;
    QRadioButton* WireFrame_RB;
    QRadioButton* SolidShade_RB;
    QRadioButton* ShadedTexture_RB;
    std::array<QToolButton*, 12> LayerButtons{}; // BB01 .. BB12
    QPushButton* BitBtn2;
    QPushButton* CloseButton;
    QPushButton* Render_BT;
    std::array<QToolButton*, 12> NavigationButtons{}; // by TDirection
    QLabel* StatusPanels[3];
    QLabel* NotePanel;    // what the view leaves out, beside the three panels
    QLabel* WarningPanel; // the last generation's warnings
    QTimer* Timer1;
    QTimer* SpinTimer;
    QTimer* ClockTimer;
    QMenuBar* MainMenu2;

    TRenderMode SelectedRenderMode = rmWireframe;
    // The model on view; its store record stays for the window's life (the navigator holds it).
    TModel Model;
    // The navigation proxy read from "outline.dxf" when the window is made.
    std::unique_ptr<TFaceStore> OutlineStore = std::make_unique<TFaceStore>();
    TNavigator Navigator;
    TPointerNavigator Pointer;
    TFramePipeline* Frames;
    TTextureDialog* TextureDialog; // the layer buttons' chooser
    // The navigation timers only record their state and the caller fires
    // SpinTimerTimer and Timer1Timer itself (tests drive them by hand).
    bool TimersByHand = false;

protected:
    void changeEvent(QEvent* Event) override;
    // The navigation keys, wherever the focus is in the window.
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    // Every way of closing (Close, Esc, the close box) ends here.
    void done(int Result) override;

private:
    QWidget* CreateLeftPanel();
    QWidget* CreateRightPanel();
    QWidget* CreateNavigationPanel(const char* name, const QString& caption, int firstDirection);
    void CreateMenu();
    void CreateStatusBar();
    void SetStatus(const QString& Text);
    void FormClose();
    void FrameShown(const TDIB16bit& Frame, const TFaceStore* Store, double Milliseconds);
    void ConnectPointer();
    bool NavigationKey(QKeyEvent* Event, bool Down);
    void ShowNotes();
    void EndWaitCursor();
    void ChooseRenderMode(TRenderMode Mode);

    QTimer* PaintTimer;                          // the 200 ms pause of a repaint
    TFileKind LastSaveFolder = TFileKind::Model; // the next Save As opens in the folder of the last one's kind
    bool WaitCursor = false;
    bool LeftForChooser = false; // the texture chooser took the activation
    // Models replaced (Read Model, growth playback) while a frame of them may
    // be drawn: they live until the frame being drawn is finished.
    std::vector<std::unique_ptr<TFaceStore>> RetiredStores;
    void Retire(std::unique_ptr<TFaceStore> Store);
    const void* ModelOwner = nullptr;
    TOrientationProbe Probe; // the model as it came, before this window turned it
    TRotation BaseTurn;      // the turn it came with
    std::function<void()> CloseDock, ShowDock;
};

} // namespace verdel
