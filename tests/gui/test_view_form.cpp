// The viewer window: the navigation timers driven by hand, notes for what is not drawn, Read Model,
// Save As and the texture chooser.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include "app/program_folders.h"
#include "engine/generation.h"
#include "formats/dxf_writer.h"
#include "formats/mesh_export.h"
#include "formats/store_builder.h"
#include "gui/shared/app_state.h"
#include "gui/viewer/frame_pipeline.h"
#include "gui/viewer/picture_widget.h"
#include "gui/viewer/texture_dialog.h"
#include "gui/viewer/viewer_window.h"
#include "render/jpeg_image.h"
#include "support/scripted_dialogs.h"

using namespace verdel;
using verdel::test::TScriptedDialogs;

class TestViewForm : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> Folder;
    QString Output;

    // A generated model as a window hands it to the viewer (named FileName).
    static TModel Generated(const TLines& lines, const std::string& FileName = {})
    {
        verdel::test::TScriptedPrompt prompt;
        prompt.Answers = {TAnswer::Yes};
        TModel model;
        TRandomSource random;
        const TGenerationResult result = GenerateModel(lines, TSolidSettings{}, prompt, random, TCancelToken(), model);
        model.FileName = FileName;
        return result.Status == TGenerationStatus::Done ? std::move(model) : TModel();
    }
    // The viewer takes a generated model over, without running modally.
    static void Generate(TViewForm& view, const TLines& lines, const std::string& FileName = {})
    {
        view.TakeModel(Generated(lines, FileName));
    }

private slots:
    void init()
    {
        Folder = std::make_unique<QTemporaryDir>();
        ResetAppState();
        AppState.ProgramFolders = FoldersBeside(Folder->path().toStdString() + "/");
        Output = QString::fromStdString(AppState.ProgramFolders.OutputFolder);
        QDir().mkpath(Output);
    }

    // Waits (on state, not on time) until no frame is drawn or waiting.
    static bool Idle(TViewForm& view)
    {
        return !view.Frames->Active() && view.StatusPanels[0]->text() == "Rendering Complete";
    }

    void layerButtonsShowTheLayersInUse()
    {
        TScriptedDialogs dialogs;
        TViewForm view;
        Generate(view, {"0", "30", "10", "F[c(3)&F]", "@"});
        for (int layer = 1; layer <= 12; ++layer)
            QCOMPARE(!view.LayerButtons[layer - 1]->isHidden(), layer == 1 || layer == 3);
        QCOMPARE(view.ObCountLabel->text(), QString("2"));
    }

    void pressAndHoldMovesTheProxyThenTheModel()
    {
        TScriptedDialogs dialogs;
        AppState.Settings.LiveNavigation = false;
        TViewForm view;
        view.TimersByHand = true;
        Generate(view, {"1", "30", "10", "F", "F=F[&F]", "@"});
        view.show();
        QVERIFY(QTest::qWaitForWindowActive(&view));
        QTRY_VERIFY_WITH_TIMEOUT(Idle(view), 10000);
        const float modelX = view.Model.Store->TranslateX;
        QToolButton* left = view.findChild<QToolButton*>("MoveLeft_AB");
        QTest::mousePress(left, Qt::LeftButton); // the first step at once
        QVERIFY(view.Navigator.RepeatTimerOn());
        view.SpinTimerTimer(); // then one a tick
        view.SpinTimerTimer();
        QTest::mouseRelease(left, Qt::LeftButton);
        QVERIFY(!view.Navigator.RepeatTimerOn());
        QCOMPARE(view.Navigator.MovesX, 3);
        QCOMPARE(view.OutlineStore->TranslateX, modelX + 3 * view.Navigator.StepX);
        QCOMPARE(view.Model.Store->TranslateX, modelX); // not yet
        QVERIFY(view.Navigator.SettleTimerOn());
        QCOMPARE(view.Timer1->interval(), 1000);

        view.Timer1Timer(); // the pause ran out
        QTRY_VERIFY_WITH_TIMEOUT(Idle(view), 10000);
        QCOMPARE(view.Model.Store->TranslateX, static_cast<float>(modelX + 3.0L * view.Navigator.StepX));
        QCOMPARE(view.Navigator.MovesX, 0);
        QVERIFY(!view.Navigator.SettleTimerOn());
        QCOMPARE(view.Timer1->interval(), 2000);
        QVERIFY(!view.Timer1->isActive() && !view.SpinTimer->isActive()); // by hand: never started
        view.close();
        QCOMPARE(view.Model.Store->ObjectCount, 0); // closing empties the store
    }

    void liveNavigationMovesTheModelAtEveryStep()
    {
        TScriptedDialogs dialogs;
        TViewForm view;
        view.TimersByHand = true;
        Generate(view, {"1", "30", "10", "F", "F=F[&F]", "@"});
        view.show();
        QVERIFY(QTest::qWaitForWindowActive(&view));
        QTRY_VERIFY_WITH_TIMEOUT(Idle(view), 10000);
        QVERIFY(view.Navigator.LiveNavigation); // on by default
        const float modelX = view.Model.Store->TranslateX;
        QToolButton* left = view.findChild<QToolButton*>("MoveLeft_AB");
        QTest::mousePress(left, Qt::LeftButton);
        QCOMPARE(view.Model.Store->TranslateX, view.OutlineStore->TranslateX); // at once, not after the pause
        QVERIFY(view.Model.Store->TranslateX != modelX);
        QCOMPARE(view.StatusPanels[0]->text(), QString("Starting Rendering..."));
        view.SpinTimerTimer();
        QTest::mouseRelease(left, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(Idle(view), 10000);
        QCOMPARE(view.Model.Store->TranslateX, view.OutlineStore->TranslateX);
        QCOMPARE(view.Navigator.MovesX, 0);
        const int frames = view.Frames->FramesShown();
        view.Timer1Timer(); // the model on screen is already the final one: no frame more
        QCOMPARE(view.Frames->FramesShown(), frames);
        QVERIFY(!view.Frames->Active());
    }

    void emptyProductionSaysSoInTheMiddleOfThePicture()
    {
        TScriptedDialogs dialogs;
        TViewForm view;
        Generate(view, {"1", "30", "10", "A", "A=+-", "@"});
        QCOMPARE(view.Model.Store->ObjectCount, 0);
        view.resize(700, 500);
        view.show();
        QVERIFY(QTest::qWaitForWindowActive(&view));
        QTRY_VERIFY_WITH_TIMEOUT(Idle(view), 10000);
        QCOMPARE(view.GMP1->Note(), QString("No objects: the production has no drawing commands"));
        // The note is drawn: light pixels on the black background, in the middle only.
        const QImage picture = view.GMP1->grab().toImage();
        const int middle = picture.height() / 2;
        int lit = 0;
        for (int y = middle - 12; y <= middle + 12; ++y)
            for (int x = 0; x < picture.width(); ++x) lit += qGray(picture.pixel(x, y)) > 128;
        QVERIFY(lit > 50);
        QCOMPARE(qGray(picture.pixel(5, 5)), 0);
        QVERIFY(view.NotePanel->text().isEmpty());

        // A model with objects has no note.
        view.close();
        Generate(view, {"1", "30", "10", "F", "@"});
        QVERIFY(view.GMP1->Note().isEmpty());
    }

    // test_view_form_dpr2 runs this one again with QT_SCALE_FACTOR=2.
    void theCanvasIsDrawnInDevicePixels()
    {
        TScriptedDialogs dialogs;
        TViewForm view;
        Generate(view, {"1", "30", "10", "F", "@"});
        view.resize(700, 500);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QTRY_VERIFY_WITH_TIMEOUT(Idle(view), 10000);
        const qreal ratio = view.GMP1->devicePixelRatioF();
        if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR"))
            QCOMPARE(ratio, qEnvironmentVariable("QT_SCALE_FACTOR").toDouble());
        QCOMPARE(view.GMP1->Settings.Width, qRound(view.GMP1->width() * ratio));
        QCOMPARE(view.GMP1->Settings.Height, qRound(view.GMP1->height() * ratio));
        // What is shown has those pixels, the model among them.
        const QImage picture = view.GMP1->grab().toImage();
        QCOMPARE(picture.size(), QSize(view.GMP1->Settings.Width, view.GMP1->Settings.Height));
        int lit = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) lit += qGray(picture.pixel(x, y)) > 0;
        QVERIFY(lit > 0);
    }

    void objectsLeftOutAreCountedInTheStatusBar()
    {
        TScriptedDialogs dialogs;
        TViewForm view;
        Generate(view, {"1", "30", "10", "F", "@"});
        const struct {
            int LeftOut;
            QString Text;
        } rows[] = {{0, ""},
                    {1, "1 object left out: its coordinates are not finite numbers"},
                    {3, "3 objects left out: their coordinates are not finite numbers"}};
        for (const auto& row : rows) {
            view.Model.LeftOutObjects = row.LeftOut;
            view.PerformStartupRoutines();
            QCOMPARE(view.NotePanel->text(), row.Text);
            QVERIFY(view.GMP1->Note().isEmpty());
        }
        // When nothing is left, the picture says why.
        FreeScene(*view.Model.Store);
        view.PerformStartupRoutines();
        QCOMPARE(view.GMP1->Note(), QString("No objects: the coordinates of every object are not finite numbers"));
    }

    void readDxfThatFailsKeepsTheModelOnView()
    {
        TScriptedDialogs dialogs;
        TViewForm view;
        Generate(view, {"1", "30", "10", "F", "F=F[&F]", "@"});
        view.show();
        QVERIFY(QTest::qWaitForWindowActive(&view));
        QTRY_VERIFY_WITH_TIMEOUT(Idle(view), 10000);
        const int objects = view.Model.Store->ObjectCount;
        const TVector corner = view.Model.Store->Object(objects).ModelFaces->Corners[2];
        const QString before = view.ObCountLabel->text();

        dialogs.FileNames = {VERDEL_FIXTURES "/truncated_polyline.dxf"};
        view.ReadDXFClick();
        QCOMPARE(dialogs.Errors.size(), size_t(1));
        QCOMPARE(view.Model.Store->ObjectCount, objects);
        QCOMPARE(view.Model.Store->Object(objects).ModelFaces->Corners[2], corner);
        QCOMPARE(view.ObCountLabel->text(), before);

        // A file that reads replaces the model, even while a frame of the old one is drawn.
        const TModel written = Generated({"0", "30", "10", "F", "@"});
        WriteDXFFile(*written.Store, (Output + "one.dxf").toStdString(), "dxf");
        view.ViewerMovement(*view.Model.Store, false);
        QVERIFY(view.Frames->Drawing(*view.Model.Store));
        dialogs.FileNames = {Output + "one.dxf"};
        view.ReadDXFClick();
        QCOMPARE(dialogs.Errors.size(), size_t(1));
        QCOMPARE(view.Model.Store->ObjectCount, written.ObjectCount);
        QTRY_VERIFY_WITH_TIMEOUT(Idle(view), 10000);
        QCOMPARE(view.ObCountLabel->text(), QString::number(written.ObjectCount));
    }

    void saveAsCorrectsTheNameAndAsksBeforeOverwriting()
    {
        TScriptedDialogs dialogs;
        TViewForm view;
        Generate(view, {"1", "30", "10", "F", "F=F[&F]", "@"}, "/somewhere/tree.vd");
        view.ViewerMovement(*view.Model.Store, false);
        QTRY_VERIFY_WITH_TIMEOUT(Idle(view), 10000);

        // The JPEG filter with a name whose extension is no filter's: the corrected name is asked about; Yes writes a JPEG.
        dialogs.FileNames = {Output + "tree.txt"};
        dialogs.FilterChoices = {2};
        dialogs.Answers = {TAnswer::Yes};
        view.SaveGraphicAsClick();
        QCOMPARE(dialogs.SaveProposals.back(), QString("tree.dxf"));
        QCOMPARE(QString::fromStdString(dialogs.Questions.back()),
                 "Would you like to save the file as: " + Output + "tree.jpg");
        QImage picture(Output + "tree.jpg", "JPG");
        QCOMPARE(picture.size(), QSize(view.GMP1->Frame().Width(), view.GMP1->Frame().Height()));
        QCOMPARE(picture.size(), QSize(view.GMP1->Settings.Width, view.GMP1->Settings.Height));

        // A typed extension that names a filter wins over the filter chosen, without a question.
        struct TTyped {
            const char* Name;
            int Filter;
            const char* Format; // what the file holds
        };
        for (const TTyped& typed :
             {TTyped{"picture.jpg", 0, "JPG"}, TTyped{"picture.BMP", 2, "BMP"}, TTyped{"long.jpeg", 1, "JPG"}}) {
            dialogs.Questions.clear();
            dialogs.FileNames = {Output + typed.Name};
            dialogs.FilterChoices = {typed.Filter};
            view.SaveGraphicAsClick();
            QVERIFY2(dialogs.Questions.empty(), typed.Name);
            QVERIFY2(!QImage(Output + typed.Name, typed.Format).isNull(), typed.Name);
        }

        // DXF with an upper-case extension: no question about the name; an existing file only after Yes.
        dialogs.Questions.clear();
        dialogs.FileNames = {Output + "tree.DXF"};
        dialogs.FilterChoices = {0};
        view.SaveGraphicAsClick();
        QVERIFY(dialogs.Questions.empty());
        QVERIFY(QFile(Output + "tree.DXF").size() > 0);
        dialogs.FileNames = {Output + "tree.DXF"};
        dialogs.FilterChoices = {0};
        dialogs.Answers = {TAnswer::No};
        QFile::resize(Output + "tree.DXF", 0);
        view.SaveGraphicAsClick();
        QCOMPARE(QString::fromStdString(dialogs.Questions.back()), "OK to overwrite " + Output + "tree.DXF");
        QCOMPARE(QFile(Output + "tree.DXF").size(), 0);

        // BMP without an extension: tree.bmp in the chosen folder.
        dialogs.FileNames = {Output + "tree"};
        dialogs.FilterChoices = {1};
        dialogs.Answers = {TAnswer::Yes};
        view.SaveGraphicAsClick();
        QVERIFY(QFile::exists(Output + "tree.bmp"));

        // The next Save As opens where the last one saved its kind of file.
        QDir().mkpath(Output + "pictures");
        dialogs.FileNames = {Output + "pictures/shot.jpg", QString()};
        dialogs.FilterChoices = {0, 0};
        view.SaveGraphicAsClick();
        view.SaveGraphicAsClick(); // cancelled
        QCOMPARE(dialogs.SaveFolders.back(), Output + "pictures/");

        // The mesh formats follow the three of the picture and DXF, with the same name correction.
        QCOMPARE(dialogs.SaveFilters.size(), 9);
        QCOMPARE(dialogs.SaveFilters[6], QString("glTF binary (*.glb)"));
        dialogs.FileNames = {Output + "tree.txt"};
        dialogs.FilterChoices = {6};
        dialogs.Answers = {TAnswer::Yes};
        view.SaveGraphicAsClick();
        QCOMPARE(QString::fromStdString(dialogs.Questions.back()),
                 "Would you like to save the file as: " + Output + "tree.glb");
        QFile glb(Output + "tree.glb");
        QVERIFY(glb.open(QIODevice::ReadOnly));
        QCOMPARE(glb.read(4), QByteArray("glTF"));

        // PNG, then PNG with smooth edges, which a typed .png keeps: the frame's size, the edges differing.
        for (const int filter : {7, 8}) {
            dialogs.FileNames = {Output + QString("tree%1.png").arg(filter)};
            dialogs.FilterChoices = {filter};
            view.SaveGraphicAsClick();
            QCOMPARE(QImage(Output + QString("tree%1.png").arg(filter), "PNG").size(),
                     QSize(view.GMP1->Frame().Width(), view.GMP1->Frame().Height()));
        }
        QVERIFY(QImage(Output + "tree7.png") != QImage(Output + "tree8.png"));
        // One question names the mesh file and the companion that holds something else; No keeps both.
        dialogs.Questions.clear();
        dialogs.FileNames = {Output + "tree.obj", Output + "tree.obj"};
        dialogs.FilterChoices = {3, 3};
        dialogs.Answers = {TAnswer::No};
        view.SaveGraphicAsClick();
        QVERIFY(dialogs.Questions.empty());
        QFile mtl(Output + "tree.mtl");
        QVERIFY(mtl.open(QIODevice::WriteOnly) && mtl.write("old") == 3);
        mtl.close();
        view.SaveGraphicAsClick();
        QCOMPARE(
            dialogs.Questions,
            std::vector<std::string>{("OK to overwrite " + Output + "tree.obj, " + Output + "tree.mtl").toStdString()});
        QCOMPARE(mtl.size(), 3);
        QVERIFY(dialogs.Errors.empty());
    }

    void readModelReplacesTheModelOnlyAfterACompleteRead()
    {
        TScriptedDialogs dialogs;
        TViewForm view;
        Generate(view, {"1", "30", "10", "F", "F=F[&F]", "@"});
        const int objects = view.Model.Store->ObjectCount;
        const TFaceNode* firstFace = view.Model.Store->Object(1).ModelFaces;
        QCOMPARE(view.findChild<QAction*>("ReadDXF")->text(), QString("&Read Model"));

        // A broken file: its name and the reason are shown, and the model on view stays.
        const QString broken = Output + "broken.glb";
        QFile file(broken);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("glTF and nothing more");
        file.close();
        dialogs.FileNames = {broken};
        view.ReadDXFClick();
        QCOMPARE(dialogs.Errors.size(), size_t(1));
        QVERIFY(QString::fromStdString(dialogs.Errors[0]).startsWith(broken + ": "));
        QCOMPARE(view.Model.Store->ObjectCount, objects);
        QCOMPARE(view.Model.Store->Object(1).ModelFaces, firstFace);
        const QString filters = dialogs.OpenFilters.back();
        // The first filter shows every model file, DXF and each mesh format offered.
        QVERIFY(filters.startsWith("All model files (*.dxf *.3ds *.dae *.fbx *.glb *.gltf *.obj *.off *.ply *.stl);;"));

        // A square as STL (two triangles): it replaces the model and its object count shows.
        verdel::test::TStoreBuilder square;
        square.AddSquare(3);
        ExportMesh(*square.Store, (Output + "square.stl").toStdString(), {});
        dialogs.FileNames = {Output + "square.stl"};
        view.ReadDXFClick();
        QCOMPARE(dialogs.Errors.size(), size_t(1));
        QCOMPARE(view.Model.Store->ObjectCount, 1);
        QCOMPARE(CountFaces(*view.Model.Store), int64_t(2));
        QCOMPARE(view.ObCountLabel->text(), QString("1"));
        QCOMPARE(view.PSCountLabel->text(), QString("0"));
        view.close();
    }

    void theViewerNamesItsModelAndTheLayerButtonsTheirPictures()
    {
        TScriptedDialogs dialogs;
        TViewForm view;
        TTextureDialog& chooser = *view.TextureDialog;
        Generate(view, {"0", "30", "10", "F", "@"}, "/somewhere/tree.vd");
        QCOMPARE(view.windowTitle(), QString("tree.vd - Viewer"));
        QCOMPARE(chooser.windowTitle(), QString("Choose Texture"));

        // Choosing Text05.jpg for layer 1 names it on the button; Cancel leaves the name.
        QCOMPARE(view.LayerButtons[0]->text(), QString("BB01"));
        QTimer::singleShot(0, &chooser, [&chooser] {
            chooser.Preview(VERDEL_DATA "/textures/Text05.jpg");
            chooser.Button1Click();
        });
        view.LayerButtonClick(1);
        QCOMPARE(view.LayerButtons[0]->text(), QString("Text05"));
        QVERIFY(view.LayerButtons[0]->toolTip().endsWith("Text05.jpg"));
        QTimer::singleShot(0, &chooser, [&chooser] { chooser.Button2Click(); });
        view.LayerButtonClick(1);
        QCOMPARE(view.LayerButtons[0]->text(), QString("Text05"));
        view.close();
    }

    // The middle of the model's corners on y and z (up the screen, towards the eye).
    static std::pair<float, float> MiddleYZ(const TFaceStore& store)
    {
        float lowY = INFINITY, highY = -INFINITY, lowZ = INFINITY, highZ = -INFINITY;
        for (int k = 1; k <= store.ObjectCount; ++k)
            for (const TFaceNode* face = store.Object(k).ModelFaces; face; face = face->Next)
                for (const TVector& c : face->Corners) {
                    lowY = std::min(lowY, c.Y), highY = std::max(highY, c.Y);
                    lowZ = std::min(lowZ, c.Z), highZ = std::max(highZ, c.Z);
                }
        return {(lowY + highY) / 2, (lowZ + highZ) / 2};
    }

    void uprightKeyAndTheSettingStandAModelGrownAlongZUp()
    {
        TScriptedDialogs dialogs;
        const TLines plant = {"2", "30", "10", "F", "F=F[&F]F", "@"}; // the turtle heads along +z
        AppState.Settings.OpenModelsUpright = false;
        TViewForm view;
        Generate(view, plant);
        QVERIFY(MiddleYZ(*view.Model.Store).second > 1 && std::fabs(MiddleYZ(*view.Model.Store).first) < 1);
        view.show();
        QVERIFY(QTest::qWaitForWindowActive(&view));
        QTRY_VERIFY_WITH_TIMEOUT(Idle(view), 10000);
        QTest::keyClick(view.GMP1, Qt::Key_U);
        QTRY_VERIFY_WITH_TIMEOUT(Idle(view), 10000);
        const auto [y, z] = MiddleYZ(*view.Model.Store);
        QVERIFY(y > 1 && std::fabs(z) < 1);
        view.findChild<QAction*>("UprightItem")->trigger(); // again: nothing more to turn
        QTRY_VERIFY_WITH_TIMEOUT(Idle(view), 10000);
        QCOMPARE(MiddleYZ(*view.Model.Store), std::make_pair(y, z));
        view.close();

        AppState.Settings.OpenModelsUpright = true;
        Generate(view, plant);
        QVERIFY(MiddleYZ(*view.Model.Store).first > 1);
    }

    void textureChooserGivesTheLayerThePreviewedBitmap()
    {
        TScriptedDialogs dialogs;
        TTextureDialog chooser;
        const QString textures = VERDEL_DATA "/textures/";
        const QString folder = Folder->path() + "/";
        QFile(folder + "notes.txt").open(QIODevice::WriteOnly);
        QImage icon(16, 16, QImage::Format_ARGB32);
        icon.fill(Qt::red);
        QVERIFY(icon.save(folder + "mark.ico", "ICO"));
        AppState.CurrentTextureButton = "BB05";

        chooser.Preview(textures + "Text01.jpg");
        chooser.Preview(folder + "notes.txt"); // not a picture: the preview stays
        chooser.Button1Click();
        QCOMPARE(AppState.LayerBitmaps[5].Width, 128);
        QCOMPARE(AppState.LayerBitmaps[5].Pixels, ReadJPEGFile((textures + "Text01.jpg").toStdString()).Pixels);

        chooser.Preview(folder + "mark.ico"); // an icon is no bitmap: the layer becomes white
        chooser.Button1Click();
        QCOMPARE(AppState.LayerBitmaps[5].Width, 0);

        chooser.Preview(textures + "Text02.jpg");
        chooser.Button2Click(); // Cancel
        QCOMPARE(AppState.LayerBitmaps[5].Width, 0);

        chooser.Preview(folder + "broken.jpg"); // cannot be read: reported, preview unchanged
        QCOMPARE(dialogs.Errors.size(), size_t(1));

        chooser.SetFolder(folder);
        QCOMPARE(chooser.FileListBox1->count(), 2);
    }
};

QTEST_MAIN(TestViewForm)
#include "test_view_form.moc"
