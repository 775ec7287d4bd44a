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
#include "gui/delay.h"
#include "gui/dialogs.h"
#include "gui/gmp_widget.h"
#include "gui/layer_bitmaps.h"
#include "gui/main_form.h"
#include "gui/texture_dialog.h"
#include "gui/view_form.h"
#include "render/image_files.h"
#include "viewer/export_names.h"
#include "viewer/view_preparation.h"

namespace verdel {

void TViewForm::ShowModal(TViewSource NewSource)
{
    Source = NewSource;
    PerformStartupRoutines();
    exec();
}

void TViewForm::PerformStartupRoutines()
{
    if (MainForm) setGeometry(MainForm->geometry());
    const bool fromDxf = Source == TViewSource::DxfFile;
    ObCountLabel->setText(QString::number(fromDxf ? FaceStore.ObjectCount : LastObjectCount));
    PSCountLabel->setText(QString::number(fromDxf ? 0 : ProductionLength));
    GMP1->Gmp().SetLightSource(ViewerLightPosition, ViewerLightTarget);
    const TViewPreparation view = PrepareView(FaceStore);
    for (int layer = 1; layer <= 12; ++layer)
        LayerButtons[static_cast<size_t>(layer - 1)]->setVisible(view.LayerButtonVisible[layer - 1]);
    Navigator.Setup(view.ModelSize);
}

void TViewForm::SetStatus(const QString& Text)
{
    StatusPanels[0]->setText(Text);
    ShowStatus(Text); // the main frame's first panel
}

void TViewForm::ViewerMovement(TFaceStore& Store, bool ShowWait)
{
    SetStatus("Starting Rendering...");
    if (ShowWait) QApplication::setOverrideCursor(Qt::WaitCursor);
    TGMP& gmp = GMP1->Gmp();
    gmp.ClearToBackColor();
    gmp.RenderScene(Store);
    gmp.Flip();
    if (ShowWait) QApplication::restoreOverrideCursor();
    SetStatus("Rendering Complete");
}

void TViewForm::FormPaint() { PaintTimer->start(); }

void TViewForm::ApplyLayerBitmap(int Layer)
{
    const TRgbImage& picture = LayerBitmaps[static_cast<size_t>(Layer)];
    GMP1->Gmp().SetLayerTexture(Layer, picture);
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
        TextureDialog->SetFolder(QString::fromStdString(ProgramFolders.TexturesFolder));
        TextureDialog->exec();
    }
    DelayWithMessages(50);
    // The layer's picture goes to the renderer whether or not the chooser was confirmed.
    ApplyLayerBitmap(Layer);
    ViewerMovement(FaceStore, true);
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
    const QString folder = QString::fromStdString(ProgramFolders.OutputFolder);
    if (!EnterFolder(folder)) return;
    int filter = 0; // the dialog always opens on DXF
    const std::string proposed = DefaultExportName(CurrentFileName, ".dxf");
    QString name = Dialogs().SaveFileName(this, folder, QString::fromStdString(proposed), filters, filter);
    if (name.isEmpty()) return;
    filter = std::clamp(filter, 0, static_cast<int>(std::size(SaveKinds)) - 1);
    if (const std::optional<std::string> corrected =
            CorrectedExportName(name.toStdString(), SaveKinds[filter].Extension)) {
        name = QString::fromStdString(*corrected);
        if (Dialogs().Confirm("Would you like to save the file as: " + *corrected, true) != TAnswer::Yes) return;
    }
    if (QFileInfo::exists(name) && Dialogs().Confirm("OK to overwrite " + name.toStdString(), true) != TAnswer::Yes)
        return;
    try {
        const std::string file = name.toStdString();
        if (filter == 0) WriteDXFFile(FaceStore, file, "dxf");
        else if (filter == 1) SaveFrameBMP(GMP1->Gmp().Bitmap(), file);
        else if (filter == 2) SaveFrameJPEG(GMP1->Gmp().Bitmap(), file);
        else ExportMesh(FaceStore, file, MeshExportInfo(Source));
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

TModelRead ChooseAndReadModel(QWidget* Parent)
{
    const QString folder = QString::fromStdString(ProgramFolders.OutputFolder);
    if (!EnterFolder(folder)) return TModelRead::Cancelled;
    const QString name = Dialogs().OpenFileName(Parent, folder, ModelFileFilters());
    if (name.isEmpty()) return TModelRead::Cancelled;
    // The file goes into a store of its own, so a failed read leaves the model on view as it was.
    auto store = std::make_unique<TFaceStore>();
    try {
        ReadModelFile(*store, name.toStdString());
    } catch (const std::exception& error) {
        Dialogs().Error(error.what());
        return TModelRead::Failed;
    }
    ReplaceModel(FaceStore, *store);
    return TModelRead::Read;
}

void TViewForm::ReadDXFClick()
{
    if (ChooseAndReadModel(this) != TModelRead::Read) return;
    Source = TViewSource::DxfFile;
    PerformStartupRoutines();
    FormPaint();
}

void TViewForm::Render_BTClick() { Navigator.Render_BTClick(); }

void TViewForm::SpinTimerTimer() { Navigator.SpinTimerTimer(); }

void TViewForm::Timer1Timer() { Navigator.Timer1Timer(); }

void TViewForm::SetWireframe(bool Wireframe) { GMP1->Gmp().RenderMode = Wireframe ? rmWireframe : SelectedRenderMode; }

void TViewForm::RotateScene(TFaceStore& Store, float FlagX, float FlagY, float FlagZ, float AngleX, float AngleY,
                            float AngleZ)
{
    GMP1->Gmp().RotateScene(Store, FlagX, FlagY, FlagZ, AngleX, AngleY, AngleZ);
}

void TViewForm::SetSpinTimer(bool Enabled)
{
    if (Enabled && !SpinTimer->isActive()) SpinTimer->start();
    if (!Enabled) SpinTimer->stop();
}

void TViewForm::SetTimer1(bool Enabled, int IntervalMs)
{
    Timer1->setInterval(IntervalMs);
    if (Enabled) Timer1->start();
    else Timer1->stop();
}

} // namespace verdel
