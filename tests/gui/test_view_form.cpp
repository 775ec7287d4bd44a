// The viewer window, the navigation with real timers, Save As and the texture chooser.
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
#include "gui/app_state.h"
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
        const TGenerationResult result =
            GenerateModel(lines, TSolidSettings{}, prompt, DefinitionState, FaceStore, RandomSource);
        QCOMPARE(result.Status, TGenerationStatus::Done);
        RecordGeneration(result);
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

        // The JPEG filter with a name whose extension is no filter's: the corrected name is asked about; Yes writes a JPEG.
        dialogs.FileNames = {Output + "tree.txt"};
        dialogs.FilterChoices = {2};
        dialogs.Answers = {TAnswer::Yes};
        view.SaveGraphicAsClick();
        QCOMPARE(dialogs.SaveProposals.back(), QString("tree.dxf"));
        QCOMPARE(QString::fromStdString(dialogs.Questions.back()),
                 "Would you like to save the file as: " + Output + "tree.jpg");
        QImage picture(Output + "tree.jpg", "JPG");
        QCOMPARE(picture.size(), QSize(view.GMP1->Gmp().Width(), view.GMP1->Gmp().Height()));

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

    void theViewerNamesItsModelAndTheLayerButtonsTheirPictures()
    {
        TScriptedDialogs dialogs;
        TTextureDialog chooser;
        TViewForm view;
        Generate({"0", "30", "10", "F", "@"});
        CurrentFileName = "/somewhere/tree.vd";
        view.PerformStartupRoutines();
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
