// The viewer window: the rendered model, its statistics, render modes, layer
// textures, background colour, navigation buttons and the File menu.
#pragma once

#include <QDialog>
#include <array>
#include <memory>

#include "gui/generate_view.h"
#include "render/gmp.h"
#include "viewer/navigation.h"

class QLabel;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QTimer;
class QToolButton;

namespace verdel {

class TGMPWidget;

class TViewForm : public QDialog, public TNavigationHost {
    Q_OBJECT
public:
    explicit TViewForm(QWidget* Parent = nullptr);
    ~TViewForm() override;

    // Shows the model of FaceStore modally; the store is emptied when the window closes.
    void ShowModal(TViewSource Source);

    // Prepares the view of FaceStore: size and place, statistics, light,
    // layer buttons, centring and distance, navigation; draws nothing.
    void PerformStartupRoutines();
    // Draws Store once: status texts, the wait cursor when ShowWait, clear, render, flip.
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
    void RotateScene(TFaceStore& Store, float FlagX, float FlagY, float FlagZ, float AngleX, float AngleY,
                     float AngleZ) override;
    void SetSpinTimer(bool Enabled) override;
    void SetTimer1(bool Enabled, int IntervalMs) override;

    TGMPWidget* GMP1;
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
    QTimer* Timer1;
    QTimer* SpinTimer;
    QTimer* ClockTimer;
    QMenuBar* MainMenu2;

    TRenderMode SelectedRenderMode = rmWireframe;
    TNavigator Navigator;

protected:
    void changeEvent(QEvent* Event) override;
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

    TViewSource Source = TViewSource::Generation;
    QTimer* PaintTimer; // the 200 ms pause of a repaint
};

// What came of choosing a model file to read into FaceStore.
enum class TModelRead { Cancelled, Failed, Read };

// The open dialog's filters for model files: DXF first, then the mesh
// formats read through Assimp, every model, every file.
QString ModelFileFilters();

// Makes the output folder current, lets the user choose a DXF or mesh file
// and reads it into a store of its own; only a complete read replaces the
// model of FaceStore (with its bounds). A failure is reported with the
// file's name and the reason, and leaves FaceStore as it was.
TModelRead ChooseAndReadModel(QWidget* Parent);

// The program's one viewer, created hidden at start-up.
extern TViewForm* ViewForm;

// The navigation proxy read from "outline.dxf" when the viewer is created.
extern TFaceStore OutlineStore;

// The layer button named CurrentTextureButton ("BB01" .. "BB12") is choosing a texture.
extern QString CurrentTextureButton;

} // namespace verdel
