// The viewer window, the navigation with real timers, Save As and the texture chooser.
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
#include "formats/mesh_export.h"
#include "formats/store_builder.h"
#include "gui/gmp_widget.h"
#include "gui/layer_bitmaps.h"
#include "gui/texture_dialog.h"
#include "gui/view_form.h"
#include "render/jpeg_image.h"
#include "support/scripted_dialogs.h"

using namespace verdel;
using verdel::test::TScriptedDialogs;

class TestViewForm : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> Folder;
    QString Output;

    void Generate(const TLines& lines)
    {
        verdel::test::TScriptedPrompt prompt;
        prompt.Answers = {TAnswer::Yes};
        QCOMPARE(GenerateModel(lines, TSolidSettings{}, prompt).Status, TGenerationStatus::Done);
    }

private slots:
    void init()
    {
        Folder = std::make_unique<QTemporaryDir>();
        ProgramFolders = FoldersBeside(Folder->path().toStdString() + "/");
        Output = QString::fromStdString(ProgramFolders.OutputFolder);
        QDir().mkpath(Output);
        FreeScene(FaceStore);
        FreeScene(OutlineStore);
    }

    void layerButtonsShowTheLayersInUse()
    {
        TScriptedDialogs dialogs;
        TViewForm view;
        Generate({"0", "30", "10", "F[c(3)&F]", "@"});
        view.PerformStartupRoutines();
        for (int layer = 1; layer <= 12; ++layer)
            QCOMPARE(!view.LayerButtons[layer - 1]->isHidden(), layer == 1 || layer == 3);
        QCOMPARE(view.ObCountLabel->text(), QString("2"));
    }

    void pressAndHoldMovesTheProxyThenTheModel()
    {
        TScriptedDialogs dialogs;
        TViewForm view;
        Generate({"1", "30", "10", "F", "F=F[&F]", "@"});
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.PerformStartupRoutines();
        const float modelX = FaceStore.TranslateX;
        QToolButton* left = view.findChild<QToolButton*>("MoveLeft_AB");
        QTest::mousePress(left, Qt::LeftButton);
        QTest::qWait(250); // the first step at once, then one every 75 ms
        QTest::mouseRelease(left, Qt::LeftButton);
        const int steps = view.Navigator.MovesX;
        QVERIFY(steps >= 2);
        QCOMPARE(OutlineStore.TranslateX, modelX + steps * view.Navigator.StepX);
        QCOMPARE(FaceStore.TranslateX, modelX); // not yet
        QCOMPARE(view.StatusPanels[0]->text(), QString("Rendering Complete"));
        QTRY_VERIFY_WITH_TIMEOUT(FaceStore.TranslateX != modelX, 2000);
        QCOMPARE(view.Navigator.MovesX, 0);
        QVERIFY(!view.Timer1->isActive());
        QCOMPARE(view.Timer1->interval(), 2000);
        view.close();
        QCOMPARE(FaceStore.ObjectCount, 0); // closing empties the store
    }

    void saveAsCorrectsTheNameAndAsksBeforeOverwriting()
    {
        TScriptedDialogs dialogs;
        TViewForm view;
        Generate({"1", "30", "10", "F", "F=F[&F]", "@"});
        CurrentFileName = "/somewhere/tree.vd";
        view.PerformStartupRoutines();
        view.ViewerMovement(FaceStore, false);

        // The JPEG filter with a .bmp name: the corrected name is asked about; Yes writes a JPEG.
        dialogs.FileNames = {Output + "tree.bmp"};
        dialogs.FilterChoices = {2};
        dialogs.Answers = {TAnswer::Yes};
        view.SaveGraphicAsClick();
        QCOMPARE(dialogs.SaveProposals.back(), QString("tree.dxf"));
        QCOMPARE(QString::fromStdString(dialogs.Questions.back()),
                 "Would you like to save the file as: " + Output + "tree.jpg");
        QImage picture(Output + "tree.jpg", "JPG");
        QCOMPARE(picture.size(), QSize(view.GMP1->Gmp().Width(), view.GMP1->Gmp().Height()));

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

        // The mesh formats follow the three of the picture and DXF, with the same name correction.
        QCOMPARE(dialogs.SaveFilters.size(), 7);
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
        QVERIFY(dialogs.Errors.empty());
    }

    void readModelReplacesTheModelOnlyAfterACompleteRead()
    {
        TScriptedDialogs dialogs;
        TViewForm view;
        Generate({"1", "30", "10", "F", "F=F[&F]", "@"});
        view.PerformStartupRoutines();
        const int objects = FaceStore.ObjectCount;
        const TFaceNode* firstFace = FaceStore.Object(1).ModelFaces;
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
        QCOMPARE(FaceStore.ObjectCount, objects);
        QCOMPARE(FaceStore.Object(1).ModelFaces, firstFace);
        const QString filters = dialogs.OpenFilters.back();
        QVERIFY(filters.startsWith("AutoCad DXF (*.dxf);;Mesh files ("));
        QVERIFY(filters.contains("*.obj") && filters.contains("*.fbx") && filters.contains("*.glb"));

        // A square as STL (two triangles): it replaces the model and its object count shows.
        verdel::test::TStoreBuilder square;
        square.AddSquare(3);
        ExportMesh(*square.Store, (Output + "square.stl").toStdString(), {});
        dialogs.FileNames = {Output + "square.stl"};
        view.ReadDXFClick();
        QCOMPARE(dialogs.Errors.size(), size_t(1));
        QCOMPARE(FaceStore.ObjectCount, 1);
        QCOMPARE(CountFaces(FaceStore), int64_t(2));
        QCOMPARE(view.ObCountLabel->text(), QString("1"));
        QCOMPARE(view.PSCountLabel->text(), QString("0"));
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
        CurrentTextureButton = "BB05";

        chooser.Preview(textures + "Text01.jpg");
        chooser.Preview(folder + "notes.txt"); // not a picture: the preview stays
        chooser.Button1Click();
        QCOMPARE(LayerBitmaps[5].Width, 128);
        QCOMPARE(LayerBitmaps[5].Pixels, ReadJPEGFile((textures + "Text01.jpg").toStdString()).Pixels);

        chooser.Preview(folder + "mark.ico"); // an icon is no bitmap: the layer becomes white
        chooser.Button1Click();
        QCOMPARE(LayerBitmaps[5].Width, 0);

        chooser.Preview(textures + "Text02.jpg");
        chooser.Button2Click(); // Cancel
        QCOMPARE(LayerBitmaps[5].Width, 0);

        chooser.Preview(folder + "broken.jpg"); // cannot be read: reported, preview unchanged
        QCOMPARE(dialogs.Errors.size(), size_t(1));

        chooser.SetFolder(folder);
        QCOMPARE(chooser.FileListBox1->count(), 2);
    }
};

QTEST_MAIN(TestViewForm)
#include "test_view_form.moc"
