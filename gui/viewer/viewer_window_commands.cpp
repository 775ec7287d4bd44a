// The viewer's model, drawing, render modes, layer textures, colour, and File menu.
#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

#include "app/program_folders.h"
#include "gui/shared/app_state.h"
#include "gui/shared/delay.h"
#include "gui/shared/dialogs.h"
#include "gui/shared/file_memory.h"
#include "gui/shared/image_conversions.h"
#include "gui/shared/model_files.h"
#include "gui/shared/workspace.h"
#include "gui/viewer/frame_pipeline.h"
#include "gui/viewer/growth_bar.h"
#include "gui/viewer/picture_widget.h"
#include "gui/viewer/texture_dialog.h"
#include "gui/viewer/viewer_window.h"
#include "viewer/export_names.h"
#include "viewer/save_kinds.h"
#include "viewer/upright.h"
#include "viewer/view_preparation.h"

namespace verdel {

void TViewForm::ShowModal(TModel Incoming)
{
    TakeModel(std::move(Incoming));
    if (!Docked()) {
        exec();
        return;
    }
    ShowDock();
    ViewerMovement(*Model.Store, true);
}

void TViewForm::TakeModel(TModel Incoming) { TakeModel(std::move(Incoming), TModelPose{}, nullptr); }

void TViewForm::TakeModel(TModel Incoming, const TModelPose& Pose, const void* Owner)
{
    // The model comes into the window's own store record, which the navigator
    // holds; Incoming takes the model on view until now.
    ExchangeModels(Model, Incoming);
    Retire(std::move(Incoming.Store)); // a frame of it may still be drawn
    ModelOwner = Owner;
    Probe.Sample(*Model.Store);
    BaseTurn = Pose.Kept ? Pose.Turn : TRotation{};
    Navigator.BeginView();
    // The growth bar keeps the model as generated; growth frames follow its turns.
    GrowthBar->ShowFor(Model);
    // A model with a kept pose is turned already, its standing up included.
    if (!Pose.Kept && AppState.Settings.OpenModelsUpright && Model.Source == TModelSource::Generation &&
        StandUpright(*Model.Store) != 0)
        ComputeBounds(*Model.Store);
    PerformStartupRoutines();
    if (Pose.Kept) {
        for (TFaceStore* store : {Model.Store.get(), OutlineStore.get()}) {
            store->TranslateX = Pose.X;
            store->TranslateY = Pose.Y;
            store->TranslateZ = Pose.Z;
        }
    }
}

TModelPose TViewForm::CurrentPose() const
{
    TModelPose pose;
    if (Model.Store->ObjectCount == 0) return pose;
    pose.Kept = true;
    pose.Turn = Compose(Probe.Recover(*Model.Store), BaseTurn);
    pose.X = Model.Store->TranslateX;
    pose.Y = Model.Store->TranslateY;
    pose.Z = Model.Store->TranslateZ;
    return pose;
}

void TViewForm::HandBack(TModel& Slot, TModelPose& Pose)
{
    Navigator.Reset();
    PaintTimer->stop();
    GrowthBar->Detach();
    Pose = CurrentPose();
    Discard(std::move(Slot));
    Slot = TModel{};
    ExchangeModels(Model, Slot); // the window keeps an empty model
    ModelOwner = nullptr;
    Navigator.BeginView();
    PerformStartupRoutines();
    GMP1->ClearFrame();
}

void TViewForm::Discard(TModel Gone)
{
    if (Gone.Store) Retire(std::move(Gone.Store));
}

void TViewForm::SetDocked(std::function<void()> OnClose, std::function<void()> OnShow)
{
    CloseDock = std::move(OnClose);
    ShowDock = std::move(OnShow);
    setWindowFlags(Qt::Widget);
    setMinimumSize(420, 460);
}

void TViewForm::ShowWarning(const QString& Text)
{
    WarningPanel->setText(Text.isEmpty() ? QString() : QString::fromUtf8("\u26A0 ") + Text);
    WarningPanel->setToolTip(Text);
}

void TViewForm::DrawNow() { ViewerMovement(*Model.Store, false); }

void TViewForm::PerformStartupRoutines()
{
    if (AppState.Workspace && !Docked()) setGeometry(AppState.Workspace->FrameGeometry());
    const QString name = QFileInfo(QString::fromStdString(Model.FileName)).fileName();
    // The model's file and the window's role; the application's name follows on the title bar.
    setWindowTitle(name.isEmpty() ? QString("Viewer") : name + " - Viewer");
    ObCountLabel->setText(QString::number(Model.ObjectCount));
    PSCountLabel->setText(QString::number(Model.ProductionLength));
    const TViewPreparation view = PrepareView(*Model.Store);
    for (int layer = 1; layer <= 12; ++layer)
        LayerButtons[static_cast<size_t>(layer - 1)]->setVisible(view.LayerButtonVisible[layer - 1]);
    Navigator.Setup(view.ModelSize);
    Navigator.LiveNavigation = AppState.Settings.LiveNavigation;
    ShowNotes();
}

void TViewForm::ShowNotes()
{
    GMP1->SetNote(QString::fromStdString(EmptyModelNote(Model)));
    const int leftOut = Model.LeftOutObjects;
    QString status;
    if (leftOut == 1) status = "1 object left out: its coordinates are not finite numbers";
    else if (leftOut > 1)
        status = QString("%1 objects left out: their coordinates are not finite numbers").arg(leftOut);
    NotePanel->setText(status);
    NotePanel->setToolTip(status);
}

void TViewForm::SetStatus(const QString& Text)
{
    StatusPanels[0]->setText(Text);
    ShowStatus(Text); // the main frame's first panel
}

void TViewForm::ViewerMovement(TFaceStore& Store, bool ShowWait)
{
    SetStatus("Starting Rendering...");
    if (ShowWait && !WaitCursor) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        WaitCursor = true;
    }
    // The model is drawn from its own faces, which the navigator leaves alone while
    // the frame is drawn; the proxy box changes at every step and is copied.
    Frames->Request(Store, GMP1->Settings.Mode, &Store == Model.Store.get());
}

void TViewForm::FrameShown(const TDIB16bit& Frame, const TFaceStore* Store, double Milliseconds)
{
    GMP1->ShowFrame(Frame);
    // The worker is idle until this returns: models replaced meanwhile (Read Model, growth) can go now.
    RetiredStores.clear();
    if (Store == Model.Store.get()) Navigator.ModelFrameDone(Milliseconds);
    if (Frames->Active()) return; // a newer frame follows
    EndWaitCursor();
    SetStatus("Rendering Complete");
}

void TViewForm::EndWaitCursor()
{
    if (!WaitCursor) return;
    QApplication::restoreOverrideCursor();
    WaitCursor = false;
}

bool TViewForm::ModelInUse() { return Frames->Drawing(*Model.Store); }

void TViewForm::FormPaint() { PaintTimer->start(); }

void TViewForm::ApplyLayerBitmap(int Layer)
{
    // The worker's renderer loads the pictures before its next frame.
    Frames->TexturesChanged();
    const TRgbImage& picture = AppState.LayerBitmaps[static_cast<size_t>(Layer)];
    LayerButtons[static_cast<size_t>(Layer - 1)]->setIcon(QIcon(QPixmap::fromImage(ToQImage(picture))));
}

void TViewForm::SetBitmapButtons()
{
    for (int layer = 1; layer <= 12; ++layer) ApplyLayerBitmap(layer);
}

void TViewForm::ChooseRenderMode(TRenderMode Mode)
{
    GMP1->Settings.Mode = SelectedRenderMode = Mode;
    AppState.Settings.Layout.RenderMode = Mode; // the next viewer opens in it
    ViewerMovement(*Model.Store, true);
}

void TViewForm::WireFrame_RBClick() { ChooseRenderMode(rmWireframe); }

void TViewForm::SolidShade_RBClick() { ChooseRenderMode(rmSolidShade); }

void TViewForm::ShadedTexture_RBClick() { ChooseRenderMode(rmShadedTexture); }

void TViewForm::LayerButtonClick(int Layer)
{
    AppState.CurrentTextureButton = QString("BB%1").arg(Layer, 2, 10, QChar('0'));
    TextureDialog->SetFolder(DialogFolder(TFileKind::Texture, AppState.ProgramFolders.TexturesFolder));
    if (TextureDialog->exec() == QDialog::Accepted) ShowChosenTexture(Layer);
    DelayWithMessages(50);
    // The layer's picture goes to the renderer whether or not the chooser was confirmed.
    ApplyLayerBitmap(Layer);
    ViewerMovement(*Model.Store, true);
}

void TViewForm::ShowChosenTexture(int Layer)
{
    // The button names the picture chosen for its layer; an empty picture is white.
    const QString file = AppState.LayerBitmapFiles[static_cast<size_t>(Layer)];
    QToolButton* button = LayerButtons[static_cast<size_t>(Layer - 1)];
    const QString name = file.isEmpty() ? QString("White") : QFileInfo(file).completeBaseName();
    button->setText(
        button->fontMetrics().elidedText(name, Qt::ElideRight, button->width() - button->iconSize().width() - 6));
    button->setToolTip(QString("Layer %1: %2").arg(Layer).arg(file.isEmpty() ? name : file));
    if (!file.isEmpty()) NoteUsedFile(TFileKind::Texture, file);
}

void TViewForm::BitBtn2Click()
{
    try {
        const TColor back = GMP1->Settings.BackColor;
        const QColor initial(back & 0xFF, (back >> 8) & 0xFF, (back >> 16) & 0xFF);
        if (const std::optional<QColor> chosen = Dialogs().ChooseColor(this, initial)) {
            GMP1->Settings.BackColor = static_cast<TColor>(chosen->red() | chosen->green() << 8 | chosen->blue() << 16);
            GMP1->ClearFrame(); // the new colour shows at once
        }
        DelayWithMessages(100);
        ViewerMovement(*Model.Store, true);
    } catch (const std::exception&) {
        Dialogs().Message("Color selection dialog failed to load");
    }
}

namespace {

// What a mesh file records of Model and where its textures come from.
TExportInfo MeshExportInfo(const TModel& Model)
{
    TExportInfo info;
    info.TexturesFolder = AppState.ProgramFolders.TexturesFolder;
    for (int layer = 1; layer <= LayerCount; ++layer)
        info.LayerTextures[layer] = AppState.LayerBitmapFiles[layer].toStdString();
    if (Model.Source == TModelSource::Generation) {
        info.Definition = Model.DefinitionText;
        info.Seed = Model.Seed;
    }
    return info;
}

// Asks once before a mesh export replaces files, naming them all.
bool ConfirmReplacing(const std::vector<std::string>& Files)
{
    std::string names;
    for (const std::string& file : Files) names += (names.empty() ? "" : ", ") + file;
    return Dialogs().Confirm("OK to overwrite " + names, true) == TAnswer::Yes;
}

} // namespace

void TViewForm::SaveGraphicAsClick()
{
    const std::span<const TSaveKindInfo> kinds = SaveKinds();
    QStringList filters;
    for (const TSaveKindInfo& kind : kinds) filters << kind.Filter;
    const QString folder = DialogFolder(LastSaveFolder, AppState.ProgramFolders.OutputFolder);
    if (!EnterFolder(folder)) return;
    int filter = 0; // the dialog always opens on DXF
    const std::string proposed = DefaultExportName(Model.FileName, ".dxf");
    QString name = Dialogs().SaveFileName(this, folder, QString::fromStdString(proposed), filters, filter);
    if (name.isEmpty()) return;
    const TSaveKindInfo& chosen = kinds[static_cast<size_t>(std::clamp(filter, 0, static_cast<int>(kinds.size()) - 1))];
    TSaveKind kind = chosen.Kind;
    // A typed extension that names a filter decides the kind (the chosen one when it writes that extension);
    // any other name is corrected to the filter's.
    if (const std::optional<TSaveKind> typed = SaveKindOfName(name.toStdString(), chosen.Kind)) {
        kind = *typed;
    } else if (const std::optional<std::string> corrected = CorrectedExportName(name.toStdString(), chosen.Extension)) {
        name = QString::fromStdString(*corrected);
        if (Dialogs().Confirm("Would you like to save the file as: " + *corrected, true) != TAnswer::Yes) return;
    }
    // A mesh file is asked about after it is written, in one question with the companions it would replace.
    if (!IsMeshKind(kind) && !MayOverwrite(name)) return;
    try {
        SaveAs(kind, name.toStdString(),
               {Model.Store.get(), &GMP1->Frame(), MeshExportInfo(Model), &GMP1->Settings, Frames->LoadTextures,
                ConfirmReplacing});
        LastSaveFolder = IsPictureKind(kind) ? TFileKind::Picture : TFileKind::Model;
        NoteUsedFile(LastSaveFolder, name);
    } catch (const EExportDeclined&) {
        // No to the question: nothing was replaced.
    } catch (const std::exception& error) {
        Dialogs().Error(error.what());
    }
}

void TViewForm::Retire(std::unique_ptr<TFaceStore> Store)
{
    // A frame under way may read the faces of any model shown since the last
    // frame was handed back; FrameShown lets them go.
    if (Frames->Active()) RetiredStores.push_back(std::move(Store));
}

void TViewForm::ReadDXFClick()
{
    // The file goes into a model of its own: one that fails to read leaves the model on view.
    TModel fresh;
    if (ChooseAndLoadModel(this, fresh) != TModelRead::Read) return;
    Navigator.Reset();
    if (ModelOwner && GiveBack) GiveBack(); // an editor's model returns to its editor
    TakeModel(std::move(fresh));
    FormPaint();
}

void TViewForm::Render_BTClick() { Navigator.RenderRequested(); }

void TViewForm::SpinTimerTimer() { Navigator.RepeatTick(); }

void TViewForm::Timer1Timer() { Navigator.SettleTimeout(); }

void TViewForm::SetWireframe(bool Wireframe) { GMP1->Settings.Mode = Wireframe ? rmWireframe : SelectedRenderMode; }

void TViewForm::RotateScene(TFaceStore& Store, bool AboutX, bool AboutY, bool AboutZ, float AngleX, float AngleY,
                            float AngleZ)
{
    TGMP::RotateScene(Store, AboutX, AboutY, AboutZ, AngleX, AngleY, AngleZ);
}

void TViewForm::SetRepeatTimer(bool Enabled)
{
    if (Enabled && !SpinTimer->isActive() && !TimersByHand) SpinTimer->start();
    if (!Enabled) SpinTimer->stop();
}

void TViewForm::SetSettleTimer(bool Enabled, int IntervalMs)
{
    Timer1->setInterval(IntervalMs);
    if (Enabled && !TimersByHand) Timer1->start();
    else Timer1->stop();
}

} // namespace verdel
