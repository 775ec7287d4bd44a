// The viewer window: layers and notes for what is not drawn, the canvas in
// device pixels, Read Model, Save As and the texture chooser.
#include <QtTest>
#include <QtWidgets>

#include "app/program_folders.h"
#include "formats/mesh_export.h"
#include "formats/store_builder.h"
#include "gui/dialog_fixture.h"
#include "gui/viewer/picture_widget.h"
#include "gui/viewer/texture_dialog.h"
#include "render/jpeg_image.h"
#include "support/scripted_dialogs.h"

using namespace verdel;
using verdel::test::GeneratedModel;
using verdel::test::Idle;
using verdel::test::ShownAndIdle;
using verdel::test::TScriptedDialogs;

namespace {

const TLines Bud = {"1", "30", "10", "F", "F=F[&F]", "@"};

// The pixels brighter than Level in the rows From to To of a picture.
int Lit(const QImage& picture, int from, int to, int level)
{
    int lit = 0;
    for (int y = from; y <= to; ++y)
        for (int x = 0; x < picture.width(); ++x) lit += qGray(picture.pixel(x, y)) > level;
    return lit;
}

} // namespace

class TestViewForm : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> Folder;
    QString Output;

private slots:
    void init()
    {
        Folder = std::make_unique<QTemporaryDir>();
        ResetAppState();
        AppState.ProgramFolders = FoldersBeside(Folder->path().toStdString() + "/");
        Output = QString::fromStdString(AppState.ProgramFolders.OutputFolder);
        QDir().mkpath(Output);
    }

    void layerButtonsAndNotesSayWhatIsDrawn()
    {
        TScriptedDialogs dialogs;
        TViewForm view;
        view.TakeModel(GeneratedModel({"0", "30", "10", "F[c(3)&F]", "@"}));
        for (int layer = 1; layer <= 12; ++layer)
            QCOMPARE(!view.LayerButtons[layer - 1]->isHidden(), layer == 1 || layer == 3);
        QCOMPARE(view.ObCountLabel->text(), QString("2"));

        // Without objects the note is drawn in the middle of the picture.
        view.TakeModel(GeneratedModel({"1", "30", "10", "A", "A=+-", "@"}));
        view.resize(700, 500);
        QVERIFY(ShownAndIdle(view));
        QCOMPARE(view.GMP1->Note(), QString("No objects: the production has no drawing commands"));
        const QImage picture = view.GMP1->grab().toImage();
        QVERIFY(Lit(picture, picture.height() / 2 - 12, picture.height() / 2 + 12, 128) > 50);
        QCOMPARE(Lit(picture, 0, 10, 0), 0);
    }

    // test_view_form_dpr2 runs this one again with QT_SCALE_FACTOR=2.
    void theCanvasIsDrawnInDevicePixels()
    {
        TScriptedDialogs dialogs;
        TViewForm view;
        view.TakeModel(GeneratedModel({"1", "30", "10", "F", "@"}));
        view.resize(700, 500);
        QVERIFY(ShownAndIdle(view));
        const qreal ratio = view.GMP1->devicePixelRatioF();
        if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR"))
            QCOMPARE(ratio, qEnvironmentVariable("QT_SCALE_FACTOR").toDouble());
        QCOMPARE(view.GMP1->Settings.Width, qRound(view.GMP1->width() * ratio));
        QCOMPARE(view.GMP1->Settings.Height, qRound(view.GMP1->height() * ratio));
        const QImage picture = view.GMP1->grab().toImage();
        QCOMPARE(picture.size(), QSize(view.GMP1->Settings.Width, view.GMP1->Settings.Height));
        QVERIFY(Lit(picture, 0, picture.height() - 1, 0) > 0);
    }

    // A file that fails to read names itself and leaves the model on view; one
    // that reads replaces it, even while a frame of the old one is drawn.
    void readModelReplacesTheModelOnlyAfterACompleteRead()
    {
        TScriptedDialogs dialogs;
        TViewForm view;
        view.TakeModel(GeneratedModel(Bud));
        QVERIFY(ShownAndIdle(view));
        const TFaceNode* firstFace = view.Model.Store->Object(1).ModelFaces;
        test::WriteFile(Output + "broken.glb", "glTF and nothing more");
        dialogs.FileNames = {Output + "broken.glb"};
        view.ReadDXFClick();
        QCOMPARE(dialogs.Errors.size(), size_t(1));
        QVERIFY(QString::fromStdString(dialogs.Errors[0]).startsWith(Output + "broken.glb: "));
        QCOMPARE(view.Model.Store->Object(1).ModelFaces, firstFace);

        test::TStoreBuilder square; // two triangles
        square.AddSquare(3);
        ExportMesh(*square.Store, (Output + "square.stl").toStdString(), {});
        view.ViewerMovement(*view.Model.Store, false);
        QVERIFY(view.Frames->Drawing(*view.Model.Store));
        dialogs.FileNames = {Output + "square.stl"};
        view.ReadDXFClick();
        QCOMPARE(dialogs.Errors.size(), size_t(1));
        QCOMPARE(CountFaces(*view.Model.Store), int64_t(2));
        QTRY_VERIFY_WITH_TIMEOUT(Idle(view), 10000);
        QCOMPARE(view.ObCountLabel->text(), QString("1"));
        QCOMPARE(view.PSCountLabel->text(), QString("0"));
        view.close();
    }

    // A name without the filter's extension is corrected after a question; a
    // typed extension wins over the filter; a mesh export asks once, naming
    // the companion file it would replace.
    void saveAsCorrectsTheNameAndWritesTheChosenFormat()
    {
        TScriptedDialogs dialogs;
        TViewForm view;
        view.TakeModel(GeneratedModel(Bud, {}, "/somewhere/tree.vd"));
        QCOMPARE(view.windowTitle(), QString("tree.vd - Viewer"));
        view.ViewerMovement(*view.Model.Store, false);
        QTRY_VERIFY_WITH_TIMEOUT(Idle(view), 10000);
        const QSize frame(view.GMP1->Frame().Width(), view.GMP1->Frame().Height());
        dialogs.FileNames = {Output + "tree.txt", Output + "picture.BMP"};
        dialogs.FilterChoices = {2, 6};
        dialogs.Answers = {TAnswer::Yes};
        view.SaveGraphicAsClick();
        view.SaveGraphicAsClick();
        QCOMPARE(dialogs.Questions, std::vector<std::string>{
                                        ("Would you like to save the file as: " + Output + "tree.jpg").toStdString()});
        QCOMPARE(dialogs.SaveProposals[0], QString("tree.dxf"));
        QCOMPARE(QImage(Output + "tree.jpg", "JPG").size(), frame);
        QCOMPARE(QImage(Output + "picture.BMP", "BMP").size(), frame);

        dialogs.Questions.clear();
        dialogs.FileNames = {Output + "tree.obj", Output + "tree.obj"};
        dialogs.FilterChoices = {3, 3};
        dialogs.Answers = {TAnswer::No};
        view.SaveGraphicAsClick();
        QVERIFY(dialogs.Questions.empty());
        test::WriteFile(Output + "tree.mtl", "old");
        view.SaveGraphicAsClick();
        QCOMPARE(
            dialogs.Questions,
            std::vector<std::string>{("OK to overwrite " + Output + "tree.obj, " + Output + "tree.mtl").toStdString()});
        QCOMPARE(test::ReadFile(Output + "tree.mtl"), QByteArray("old"));
        QVERIFY(dialogs.Errors.empty());
    }

    void textureChooserGivesTheLayerThePreviewedBitmap()
    {
        TScriptedDialogs dialogs;
        TViewForm view;
        TTextureDialog& chooser = *view.TextureDialog;
        const QString texture = VERDEL_DATA "/textures/Text05.jpg";
        QTimer::singleShot(0, &chooser, [&] {
            chooser.Preview(texture);
            chooser.Button1Click();
        });
        view.LayerButtonClick(1);
        QCOMPARE(view.LayerButtons[0]->text(), QString("Text05"));
        QCOMPARE(AppState.LayerBitmaps[1].Pixels, ReadJPEGFile(texture.toStdString()).Pixels);
        view.close();
    }
};

QTEST_MAIN(TestViewForm)
#include "test_view_form.moc"
