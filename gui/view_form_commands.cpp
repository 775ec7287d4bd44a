// The viewer's drawing, render modes, layer textures, colour, and File menu.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

#include "app/program_folders.h"
#include "engine/generation.h"
#include "engine/production.h"
#include "formats/dxf_writer.h"
#include "formats/mesh_export.h"
#include "formats/model_reader.h"
#include "gui/app_state.h"
#include "gui/delay.h"
#include "gui/dialogs.h"
#include "gui/file_memory.h"
#include "gui/frame_pipeline.h"
#include "gui/gmp_widget.h"
#include "gui/growth_bar.h"
#include "gui/layer_bitmaps.h"
#include "gui/texture_dialog.h"
#include "gui/view_form.h"
#include "gui/workspace.h"
#include "render/image_files.h"
#include "viewer/export_names.h"
#include "viewer/store_copy.h"
#include "viewer/view_preparation.h"

namespace verdel {

void TViewForm::ShowModal(TViewSource NewSource)
{
    Source = NewSource;
    Navigator.BeginView();
    PerformStartupRoutines();
    GrowthBar->ShowFor(Source);
    exec();
}

namespace {

QString ViewedModelFile; // the model file read last, named in the viewer's title

} // namespace

void TViewForm::PerformStartupRoutines()
{
    if (Workspace) setGeometry(Workspace->FrameGeometry());
    const bool fromDxf = Source == TViewSource::DxfFile;
    const QString model = fromDxf ? ViewedModelFile : QString::fromStdString(CurrentFileName);
    const QString name = QFileInfo(model).fileName();
    // The model's file and the window's role; the application's name follows on the title bar.
    setWindowTitle(name.isEmpty() ? QString("Viewer") : name + " - Viewer");
    ObCountLabel->setText(QString::number(fromDxf ? FaceStore.ObjectCount : LastObjectCount));
    PSCountLabel->setText(QString::number(fromDxf ? 0 : ProductionLength));
    GMP1->Gmp().SetLightSource(ViewerLightPosition, ViewerLightTarget);
    const TViewPreparation view = PrepareView(FaceStore);
    for (int layer = 1; layer <= 12; ++layer)
        LayerButtons[static_cast<size_t>(layer - 1)]->setVisible(view.LayerButtonVisible[layer - 1]);
    Navigator.Setup(view.ModelSize);
    Navigator.LiveNavigation = Settings.LiveNavigation;
    ShowNotes();
}

void TViewForm::ShowNotes()
{
    const bool generated = Source == TViewSource::Generation;
    const int leftOut = generated ? LastNonFiniteObjects : 0;
    QString note;
    if (FaceStore.ObjectCount == 0)
        note = leftOut > 0 ? "No objects: the coordinates of every object are not finite numbers"
               : generated ? "No objects: the production has no drawing commands"
                           : "No objects: the file has nothing to draw";
    GMP1->SetNote(note);
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
    Frames->Request(Store, GMP1->Gmp().RenderMode, &Store == &FaceStore);
}

void TViewForm::FrameShown(const TDIB16bit& Frame, const TFaceStore* Store, double Milliseconds)
{
    GMP1->ShowFrame(Frame);
    // The worker is idle until this returns: models replaced meanwhile (Read Model, growth) can go now.
    RetiredStores.clear();
    if (Store == &FaceStore) Navigator.ModelFrameDone(Milliseconds);
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

bool TViewForm::ModelInUse() { return Frames->Drawing(FaceStore); }

void TViewForm::FormPaint() { PaintTimer->start(); }

void TViewForm::ApplyLayerBitmap(int Layer)
{
    const TRgbImage& picture = LayerBitmaps[static_cast<size_t>(Layer)];
    GMP1->Gmp().SetLayerTexture(Layer, picture);
    Frames->TexturesChanged();
    LayerButtons[static_cast<size_t>(Layer - 1)]->setIcon(QIcon(QPixmap::fromImage(ToQImage(picture))));
}

void TViewForm::SetBitmapButtons()
{
    for (int layer = 1; layer <= 12; ++layer) ApplyLayerBitmap(layer);
}

void TViewForm::WireFrame_RBClick()
{
    GMP1->Gmp().RenderMode = SelectedRenderMode = rmWireframe;
    ViewerMovement(FaceStore, true);
}

void TViewForm::SolidShade_RBClick()
{
    GMP1->Gmp().RenderMode = SelectedRenderMode = rmSolidShade;
    ViewerMovement(FaceStore, true);
}

void TViewForm::ShadedTexture_RBClick()
{
    GMP1->Gmp().RenderMode = SelectedRenderMode = rmShadedTexture;
    ViewerMovement(FaceStore, true);
}

void TViewForm::LayerButtonClick(int Layer)
{
    CurrentTextureButton = QString("BB%1").arg(Layer, 2, 10, QChar('0'));
    if (TextureDialog) {
        TextureDialog->SetFolder(DialogFolder(TFileKind::Texture, ProgramFolders.TexturesFolder));
        if (TextureDialog->exec() == QDialog::Accepted) ShowChosenTexture(Layer);
    }
    DelayWithMessages(50);
    // The layer's picture goes to the renderer whether or not the chooser was confirmed.
    ApplyLayerBitmap(Layer);
    ViewerMovement(FaceStore, true);
}

void TViewForm::ShowChosenTexture(int Layer)
{
    // The button names the picture chosen for its layer; an empty picture is white.
    const QString file = LayerBitmapFiles[static_cast<size_t>(Layer)];
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
        const TColor back = GMP1->Gmp().BackColor();
        const QColor initial(back & 0xFF, (back >> 8) & 0xFF, (back >> 16) & 0xFF);
        if (const std::optional<QColor> chosen = Dialogs().ChooseColor(this, initial))
            GMP1->Gmp().SetBackColor(static_cast<TColor>(chosen->red() | chosen->green() << 8 | chosen->blue() << 16));
        DelayWithMessages(100);
        ViewerMovement(FaceStore, true);
    } catch (const std::exception&) {
        Dialogs().Message("Color selection dialog failed to load");
    }
}

namespace {

// The kinds of file Save As writes, in the order of the dialog's filters.
struct TSaveKind {
    const char* Filter;
    const char* Extension;
};
constexpr TSaveKind SaveKinds[] = {
    {"AutoCad DXF (*.dxf)", ".dxf"},   {"Windows BMP (*.bmp)", ".bmp"}, {"JPeg (*.jpg)", ".jpg"},
    {"Wavefront OBJ (*.obj)", ".obj"}, {"STL (*.stl)", ".stl"},         {"PLY (*.ply)", ".ply"},
    {"glTF binary (*.glb)", ".glb"},
};
constexpr int BmpKind = 1, JpegKind = 2;

// The kind of the viewer's last save: the next Save As opens in that kind's folder.
TFileKind LastSaveKind = TFileKind::Model;

// The kind a typed name asks for by its extension, or nothing when it names none of the filters.
std::optional<int> KindOfTypedName(const QString& name)
{
    std::vector<std::string_view> extensions;
    for (const TSaveKind& kind : SaveKinds) extensions.push_back(kind.Extension);
    extensions.push_back(".jpeg"); // the long spelling of JPEG
    const std::optional<size_t> typed = TypedExtension(name.toStdString(), extensions);
    if (!typed) return std::nullopt;
    return *typed < std::size(SaveKinds) ? static_cast<int>(*typed) : JpegKind;
}

// What a mesh file records of the model on view and where its textures come from.
TExportInfo MeshExportInfo(TViewSource source)
{
    TExportInfo info;
    info.TexturesFolder = ProgramFolders.TexturesFolder;
    for (int layer = 1; layer <= LayerCount; ++layer) info.LayerTextures[layer] = LayerBitmapFiles[layer].toStdString();
    if (source == TViewSource::Generation) {
        info.Definition = LastDefinitionText;
        info.Seed = LastGenerationSeed;
    }
    return info;
}

} // namespace

void TViewForm::SaveGraphicAsClick()
{
    QStringList filters;
    for (const TSaveKind& kind : SaveKinds) filters << kind.Filter;
    const QString folder = DialogFolder(LastSaveKind, ProgramFolders.OutputFolder);
    if (!EnterFolder(folder)) return;
    int filter = 0; // the dialog always opens on DXF
    const std::string proposed = DefaultExportName(CurrentFileName, ".dxf");
    QString name = Dialogs().SaveFileName(this, folder, QString::fromStdString(proposed), filters, filter);
    if (name.isEmpty()) return;
    filter = std::clamp(filter, 0, static_cast<int>(std::size(SaveKinds)) - 1);
    // A typed extension that names a filter decides the kind; any other name is corrected to the filter's.
    if (const std::optional<int> typed = KindOfTypedName(name)) {
        filter = *typed;
    } else if (const std::optional<std::string> corrected =
                   CorrectedExportName(name.toStdString(), SaveKinds[filter].Extension)) {
        name = QString::fromStdString(*corrected);
        if (Dialogs().Confirm("Would you like to save the file as: " + *corrected, true) != TAnswer::Yes) return;
    }
    // A mesh export asks once, after writing, naming the file and the companions it would replace.
    const bool mesh = filter > JpegKind;
    const TReplaceQuestion mayReplace = [](const std::vector<std::string>& files) {
        std::string names;
        for (const std::string& file : files) names += (names.empty() ? "" : ", ") + file;
        return Dialogs().Confirm("OK to overwrite " + names, true) == TAnswer::Yes;
    };
    if (!mesh && QFileInfo::exists(name) &&
        Dialogs().Confirm("OK to overwrite " + name.toStdString(), true) != TAnswer::Yes)
        return;
    try {
        const std::string file = name.toStdString();
        if (filter == 0) WriteDXFFile(FaceStore, file, "dxf");
        else if (filter == 1) SaveFrameBMP(GMP1->Frame(), file);
        else if (filter == 2) SaveFrameJPEG(GMP1->Frame(), file);
        else ExportMesh(FaceStore, file, MeshExportInfo(Source), mayReplace);
        LastSaveKind = filter == BmpKind || filter == JpegKind ? TFileKind::Picture : TFileKind::Model;
        NoteUsedFile(LastSaveKind, name);
    } catch (const EExportDeclined&) {
        // No to the question: nothing was replaced.
    } catch (const std::exception& error) {
        Dialogs().Error(error.what());
    }
}

QString ModelFileFilters()
{
    QStringList meshes;
    for (const std::string& pattern : ForeignModelPatterns()) meshes << QString::fromStdString(pattern);
    const QString list = meshes.join(' ');
    return "AutoCad DXF (*.dxf);;Mesh files (" + list + ");;All models (*.dxf " + list + ");;All files (*)";
}

TModelRead ChooseAndReadModel(QWidget* Parent, TFaceStore& Store)
{
    const QString folder = DialogFolder(TFileKind::Model, ProgramFolders.OutputFolder);
    if (!EnterFolder(folder)) return TModelRead::Cancelled;
    const QString name = Dialogs().OpenFileName(Parent, folder, ModelFileFilters());
    if (name.isEmpty()) return TModelRead::Cancelled;
    const TModelRead result = ReadModelIntoStore(name, Store);
    if (result == TModelRead::Read) NoteUsedFile(TFileKind::Model, name, true);
    return result;
}

TModelRead ReadModelIntoStore(const QString& FileName, TFaceStore& Store)
{
    TModelRead result = TModelRead::Read;
    try {
        ReadModelFile(Store, FileName.toStdString());
    } catch (const std::exception& error) {
        Dialogs().Error(error.what());
        result = TModelRead::Failed;
    }
    ComputeBounds(Store);
    ViewedModelFile = result == TModelRead::Read ? FileName : QString();
    return result;
}

void TViewForm::Retire(std::unique_ptr<TFaceStore> Store)
{
    // A frame under way may read the faces of any model shown since the last
    // frame was handed back; FrameShown lets them go.
    if (Frames->Active()) RetiredStores.push_back(std::move(Store));
}

void TViewForm::ReadDXFClick()
{
    // The file goes into a store of its own: one that fails to read leaves the model on view.
    auto fresh = std::make_unique<TFaceStore>();
    if (ChooseAndReadModel(this, *fresh) != TModelRead::Read) return;
    Navigator.Reset();
    SwapStores(FaceStore, *fresh);
    // A frame of the old model may still be drawn: its faces live on until it is finished.
    Retire(std::move(fresh));
    Navigator.BeginView();
    Source = TViewSource::DxfFile;
    GrowthBar->ShowFor(Source);
    PerformStartupRoutines();
    FormPaint();
}

void TViewForm::Render_BTClick() { Navigator.RenderRequested(); }

void TViewForm::SpinTimerTimer() { Navigator.RepeatTick(); }

void TViewForm::Timer1Timer() { Navigator.SettleTimeout(); }

void TViewForm::SetWireframe(bool Wireframe) { GMP1->Gmp().RenderMode = Wireframe ? rmWireframe : SelectedRenderMode; }

void TViewForm::RotateScene(TFaceStore& Store, bool AboutX, bool AboutY, bool AboutZ, float AngleX, float AngleY,
                            float AngleZ)
{
    GMP1->Gmp().RotateScene(Store, AboutX, AboutY, AboutZ, AngleX, AngleY, AngleZ);
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
