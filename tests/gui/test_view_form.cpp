// The viewer window: the navigation timers driven by hand, notes for what is
// not drawn, Read Model, Save As and the texture chooser.
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

    // Held, a button moves the outline at once and the model after the pause;
    // with live navigation the model moves at every step.
    void pressAndHoldMovesTheProxyThenTheModel()
    {
        TScriptedDialogs dialogs;
        AppState.Settings.LiveNavigation = false;
        TViewForm view;
        view.TimersByHand = true;
        view.TakeModel(GeneratedModel(Bud));
        QVERIFY(ShownAndIdle(view));
        const float modelX = view.Model.Store->TranslateX;
        QToolButton* left = view.findChild<QToolButton*>("MoveLeft_AB");
        QTest::mousePress(left, Qt::LeftButton); // the first step at once
        view.SpinTimerTimer();                   // then one a tick
        view.SpinTimerTimer();
        QTest::mouseRelease(left, Qt::LeftButton);
        QVERIFY(!view.Navigator.RepeatTimerOn());
        QCOMPARE(view.OutlineStore->TranslateX, modelX + 3 * view.Navigator.StepX);
        QCOMPARE(view.Model.Store->TranslateX, modelX); // not yet
        QCOMPARE(view.Timer1->interval(), 1000);
        view.Timer1Timer(); // the pause ran out
        QTRY_VERIFY_WITH_TIMEOUT(Idle(view), 10000);
        QCOMPARE(view.Model.Store->TranslateX, static_cast<float>(modelX + 3.0L * view.Navigator.StepX));
        QVERIFY(!view.Navigator.SettleTimerOn());
        QVERIFY(!view.Timer1->isActive() && !view.SpinTimer->isActive()); // by hand: never started

        view.Navigator.LiveNavigation = true;
        QTest::mousePress(left, Qt::LeftButton);
        QCOMPARE(view.Model.Store->TranslateX, view.OutlineStore->TranslateX); // at once, not after the pause
        QTest::mouseRelease(left, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(Idle(view), 10000);
        view.close();
        QCOMPARE(view.Model.Store->ObjectCount, 0); // closing empties the store
    }

    void layerButtonsAndNotesSayWhatIsDrawn()
    {
        TScriptedDialogs dialogs;
        TViewForm view;
        view.TakeModel(GeneratedModel({"0", "30", "10", "F[c(3)&F]", "@"}));
        for (int layer = 1; layer <= 12; ++layer)
            QCOMPARE(!view.LayerButtons[layer - 1]->isHidden(), layer == 1 || layer == 3);
        QCOMPARE(view.ObCountLabel->text(), QString("2"));
        for (const int leftOut : {1, 3}) {
            view.Model.LeftOutObjects = leftOut;
            view.PerformStartupRoutines();
            QCOMPARE(view.NotePanel->text(), QString("%1 object%2 left out: %3 coordinates are not finite numbers")
                                                 .arg(leftOut)
                                                 .arg(leftOut == 1 ? "" : "s")
                                                 .arg(leftOut == 1 ? "its" : "their"));
            QVERIFY(view.GMP1->Note().isEmpty());
        }

        // Without objects the note is drawn in the middle of the picture.
        view.TakeModel(GeneratedModel({"1", "30", "10", "A", "A=+-", "@"}));
        view.resize(700, 500);
        QVERIFY(ShownAndIdle(view));
        QCOMPARE(view.GMP1->Note(), QString("No objects: the production has no drawing commands"));
        const QImage picture = view.GMP1->grab().toImage();
        QVERIFY(Lit(picture, picture.height() / 2 - 12, picture.height() / 2 + 12, 128) > 50);
        QCOMPARE(Lit(picture, 0, 10, 0), 0);
        QVERIFY(view.NotePanel->text().isEmpty());
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
        const int objects = view.Model.Store->ObjectCount;
        const TFaceNode* firstFace = view.Model.Store->Object(1).ModelFaces;
        QCOMPARE(view.findChild<QAction*>("ReadDXF")->text(), QString("&Read Model"));
        test::WriteFile(Output + "broken.glb", "glTF and nothing more");
        dialogs.FileNames = {Output + "broken.glb", VERDEL_FIXTURES "/truncated_polyline.dxf"};
        view.ReadDXFClick();
        view.ReadDXFClick();
        QCOMPARE(dialogs.Errors.size(), size_t(2));
        QVERIFY(QString::fromStdString(dialogs.Errors[0]).startsWith(Output + "broken.glb: "));
        QCOMPARE(view.Model.Store->ObjectCount, objects);
        QCOMPARE(view.Model.Store->Object(1).ModelFaces, firstFace);
        QCOMPARE(view.ObCountLabel->text(), QString::number(objects));
        QVERIFY(dialogs.OpenFilters.back().startsWith(
            "All model files (*.dxf *.3ds *.dae *.fbx *.glb *.gltf *.obj *.off *.ply *.stl);;"));

        test::TStoreBuilder square; // two triangles
        square.AddSquare(3);
        ExportMesh(*square.Store, (Output + "square.stl").toStdString(), {});
        view.ViewerMovement(*view.Model.Store, false);
        QVERIFY(view.Frames->Drawing(*view.Model.Store));
        dialogs.FileNames = {Output + "square.stl"};
        view.ReadDXFClick();
        QCOMPARE(dialogs.Errors.size(), size_t(2));
        QCOMPARE(CountFaces(*view.Model.Store), int64_t(2));
        QTRY_VERIFY_WITH_TIMEOUT(Idle(view), 10000);
        QCOMPARE(view.ObCountLabel->text(), QString("1"));
        QCOMPARE(view.PSCountLabel->text(), QString("0"));
        view.close();
    }

    void saveAsCorrectsTheNameAndWritesTheChosenFormat()
    {
        TScriptedDialogs dialogs;
        TViewForm view;
        view.TakeModel(GeneratedModel(Bud, {}, "/somewhere/tree.vd"));
        QCOMPARE(view.windowTitle(), QString("tree.vd - Viewer"));
        view.ViewerMovement(*view.Model.Store, false);
        QTRY_VERIFY_WITH_TIMEOUT(Idle(view), 10000);
        const QSize frame(view.GMP1->Frame().Width(), view.GMP1->Frame().Height());

        // A name whose extension is no filter's: the corrected name is asked about; Yes writes the filter's format.
        const struct {
            int Filter;
            const char* Corrected;
        } corrected[] = {{2, "tree.jpg"}, {6, "tree.glb"}};
        for (const auto& row : corrected) {
            dialogs.FileNames = {Output + "tree.txt"};
            dialogs.FilterChoices = {row.Filter};
            dialogs.Answers = {TAnswer::Yes};
            view.SaveGraphicAsClick();
            QCOMPARE(QString::fromStdString(dialogs.Questions.back()),
                     "Would you like to save the file as: " + Output + row.Corrected);
        }
        QCOMPARE(dialogs.SaveProposals[0], QString("tree.dxf"));
        QCOMPARE(QImage(Output + "tree.jpg", "JPG").size(), frame);
        QCOMPARE(test::ReadFile(Output + "tree.glb").left(4), QByteArray("glTF"));
        QCOMPARE(dialogs.SaveFilters.size(), 9);

        // A typed extension that names a filter wins over the filter chosen, without a question
        // (PNG with smooth edges differing at the edges); the next Save As opens where the last one saved.
        dialogs.Questions.clear();
        QDir().mkpath(Output + "pictures");
        const struct {
            const char* Typed;
            int Filter;
            const char* Format; // nothing: DXF
        } typed[] = {{"tree.DXF", 0, nullptr}, {"picture.BMP", 2, "BMP"}, {"long.jpeg", 1, "JPG"},
                     {"tree7.png", 7, "PNG"},  {"tree8.png", 8, "PNG"},   {"pictures/shot.jpg", 0, "JPG"}};
        for (const auto& row : typed) {
            dialogs.FileNames = {Output + row.Typed};
            dialogs.FilterChoices = {row.Filter};
            view.SaveGraphicAsClick();
            if (row.Format) QCOMPARE(QImage(Output + row.Typed, row.Format).size(), frame);
            else QVERIFY(QFile(Output + row.Typed).size() > 0);
        }
        QVERIFY(dialogs.Questions.empty());
        QVERIFY(QImage(Output + "tree7.png") != QImage(Output + "tree8.png"));
        dialogs.FileNames = {QString()};
        dialogs.FilterChoices = {0};
        view.SaveGraphicAsClick(); // cancelled
        QCOMPARE(dialogs.SaveFolders.back(), Output + "pictures/");

        // One question names the mesh file and the companion that holds something else; No keeps both.
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

    // The chooser gives the layer the previewed bitmap, names it on the layer's
    // button, and leaves both as they were on Cancel or a file it cannot read.
    void textureChooserGivesTheLayerThePreviewedBitmap()
    {
        TScriptedDialogs dialogs;
        TViewForm view;
        TTextureDialog& chooser = *view.TextureDialog;
        const QString textures = VERDEL_DATA "/textures/", folder = Folder->path() + "/";
        test::WriteFile(folder + "notes.txt", "");
        QImage icon(16, 16, QImage::Format_ARGB32);
        icon.fill(Qt::red);
        QVERIFY(icon.save(folder + "mark.ico", "ICO"));
        QCOMPARE(view.LayerButtons[0]->text(), QString("BB01"));
        const auto choose = [&](const std::function<void()>& inDialog) {
            QTimer::singleShot(0, &chooser, inDialog);
            view.LayerButtonClick(1);
        };
        choose([&] {
            chooser.Preview(textures + "Text05.jpg");
            chooser.Preview(folder + "notes.txt"); // not a picture: the preview stays
            chooser.Button1Click();
        });
        QCOMPARE(view.LayerButtons[0]->text(), QString("Text05"));
        QCOMPARE(AppState.LayerBitmaps[1].Pixels, ReadJPEGFile((textures + "Text05.jpg").toStdString()).Pixels);
        choose([&] {
            chooser.Preview(textures + "Text02.jpg");
            chooser.Preview(folder + "broken.jpg"); // cannot be read: reported, preview unchanged
            chooser.Button2Click();                 // Cancel
        });
        QCOMPARE(view.LayerButtons[0]->text(), QString("Text05"));
        QCOMPARE(dialogs.Errors.size(), size_t(1));
        choose([&] {
            chooser.Preview(folder + "mark.ico"); // an icon is no bitmap: the layer becomes white
            chooser.Button1Click();
        });
        QCOMPARE(AppState.LayerBitmaps[1].Width, 0);
        chooser.SetFolder(folder);
        QCOMPARE(chooser.FileListBox1->findItems("*", Qt::MatchWildcard).first()->text(), QString("mark.ico"));
        view.close();
    }
};

QTEST_MAIN(TestViewForm)
#include "test_view_form.moc"
