// The main frame and the definition editor, driven without a display.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include "app/settings.h"
#include "gui/dialog_fixture.h"
#include "gui/editor/editor_window.h"
#include "gui/editor/find_dialog.h"
#include "gui/examples/examples_form.h"
#include "gui/options_dialog.h"
#include "gui/shared/app_state.h"
#include "gui/shared/generate_view.h"
#include "gui/shared/generation_runner.h"
#include "render/gmp.h"
#include "support/recording_frame.h"
#include "support/scripted_dialogs.h"

using namespace verdel;
using verdel::test::TRecordingFrame;
using verdel::test::TScriptedDialogs;

class TestMainForm : public QObject {
    Q_OBJECT

    // A program folder of its own for each test, with the textures beside it.
    std::unique_ptr<QTemporaryDir> Folder;
    QString Path;

    std::unique_ptr<TRecordingFrame> MakeFrame() { return std::make_unique<TRecordingFrame>(Path); }

    void WriteFile(const QString& name, const QByteArray& bytes)
    {
        QFile file(Path + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray ReadFile(const QString& name)
    {
        QFile file(name.startsWith('/') ? name : Path + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Types Text into an editor (the memo is then modified, as by the user).
    static void Type(TMDIChild* editor, const QString& text)
    {
        editor->Memo1->setPlainText(text);
        editor->Memo1->document()->setModified(true);
    }

private slots:
    void init()
    {
        Folder = std::make_unique<QTemporaryDir>();
        Path = Folder->path() + "/";
        test::PrepareProgramFolder(Path, false);
        ResetAppState();
    }

    void startWithoutSettingsFileCreatesItOnce()
    {
        TScriptedDialogs dialogs;
        {
            auto frame = MakeFrame();
            QVERIFY(dialogs.Messages.empty()); // the note waits for the welcome page
            QCOMPARE(frame->FirstStartNotes, QString("Verdel5.ini\r\nFile not found\r\nDefault ini will be created"));
            QVERIFY(dialogs.Errors.empty());
            QVERIFY(QDir(Path + "vdfiles").exists()); // missing work folders are made
            QVERIFY(QDir(Path + "output").exists());
        }
        QCOMPARE(ReadFile("Verdel5.ini"), QByteArray("[Startup]\r\nCylindersInsteadofBlocks=1\r\nSetQToDrawCones=0\r\n"
                                                     "SetWToDrawBlocks=0\r\nSetRToDrawPyramids=0\r\nShowStartText=0\r\n"
                                                     "LiveNavigation=1\r\nOpenModelsUpright=1\r\n"));
        auto again = MakeFrame();
        QVERIFY(dialogs.Messages.empty());
        QVERIFY(!again->FirstStart);
    }

    void settingsFileWithMissingKeysAndShowStartText()
    {
        WriteFile("VERDEL5.INI", "[Startup]\r\nShowStartText=5\r\n");
        TScriptedDialogs dialogs;
        auto frame = MakeFrame();
        QVERIFY(dialogs.Messages.empty());
        QVERIFY(AppState.Settings.ShowStartText);
        QVERIFY(AppState.Settings.CylindersInsteadofBlocks);
        // The first activation shows the Introduction as a child window.
        frame->show();
        frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame.get()));
        QTRY_COMPARE(frame->ChildCount(), 1);
        QCOMPARE(frame->MdiArea->subWindowList().first()->windowTitle(), QString("Introduction "));
        QVERIFY(!frame->FirstActivation);
    }

    void newEditorsAreNumberedByTheChildWindows()
    {
        TScriptedDialogs dialogs;
        auto frame = MakeFrame();
        QVERIFY(!frame->findChild<QAction*>("FileSaveItem")->isEnabled());
        TMDIChild* first = frame->NewFile();
        QCOMPARE(first->FileName, Path + "vdfiles/NoName-1.vd");
        QCOMPARE(first->Caption(), QString("NoName-1.vd"));
        QVERIFY(frame->findChild<QAction*>("FileSaveItem")->isEnabled());
        frame->ShowStartupMessage();
        QCOMPARE(frame->NewFile()->Caption(), QString("NoName-3.vd"));
        TMDIChild* random = frame->CreateNewEditWindowForRandom("3\n90\n10\nF\n@");
        QCOMPARE(random->Caption(), QString("Random-4.vd*")); // marked modified
        QVERIFY(random->Memo1->document()->isModified());
    }

    void saveAddsTheDefinitionExtensionAndAsksBeforeOverwriting()
    {
        TScriptedDialogs dialogs;
        auto frame = MakeFrame();
        TMDIChild* editor = frame->NewFile();
        editor->Memo1->setPlainText("3\n90\n10\nF\n@");
        const QString folder = Path + "vdfiles/";

        dialogs.FileNames = {folder + "tree"};
        QVERIFY(editor->SaveFile());
        QCOMPARE(ReadFile(folder + "tree.vd"), QByteArray("3\r\n90\r\n10\r\nF\r\n@\r\n"));
        QCOMPARE(editor->Caption(), QString("tree.vd"));
        QVERIFY(!editor->Memo1->document()->isModified());
        QCOMPARE(dialogs.SaveProposals.back(), Path + "vdfiles/NoName-1.vd");

        dialogs.FileNames = {folder + "tree.VD"};
        QVERIFY(editor->SaveFile());
        QVERIFY(QFile::exists(folder + "tree.VD"));
        QVERIFY(dialogs.Questions.empty());

        dialogs.FileNames = {folder + "tree.txt"};
        QVERIFY(editor->SaveFile());
        QVERIFY(QFile::exists(folder + "tree.txt.vd"));

        // An existing file: only Yes writes over it.
        editor->Memo1->setPlainText("changed");
        dialogs.FileNames = {folder + "tree.vd"};
        dialogs.Answers = {TAnswer::No};
        QVERIFY(!editor->SaveFile());
        QCOMPARE(QString::fromStdString(dialogs.Questions.back()), "OK to overwrite " + folder + "tree.vd");
        QCOMPARE(ReadFile(folder + "tree.vd"), QByteArray("3\r\n90\r\n10\r\nF\r\n@\r\n"));
        dialogs.FileNames = {folder + "tree.vd"};
        dialogs.Answers = {TAnswer::Yes};
        QVERIFY(editor->SaveFile());
        QCOMPARE(ReadFile(folder + "tree.vd"), QByteArray("changed\r\n"));

        dialogs.FileNames = {QString()};
        QVERIFY(!editor->SaveFile()); // cancelled
    }

    void closingAModifiedEditorAsksAndKeepsItOpenWhenTheSaveIsCancelled()
    {
        TScriptedDialogs dialogs;
        auto frame = MakeFrame();
        TMDIChild* editor = frame->NewFile();
        Type(editor, "text");
        QMdiSubWindow* window = editor->SubWindow();
        dialogs.Answers = {TAnswer::Yes};
        dialogs.FileNames = {QString()};
        window->close();
        QCOMPARE(frame->ChildCount(), 1);
        QVERIFY(
            QString::fromStdString(dialogs.Questions[0]).startsWith("Do You wish to Save File Before Exiting?\r\n"));
        dialogs.Answers = {TAnswer::No};
        window->close();
        QTRY_COMPARE(frame->ChildCount(), 0);
    }

    void closingTheFrameAsksEachEditorOnce()
    {
        TScriptedDialogs dialogs;
        auto frame = MakeFrame();
        TMDIChild* first = frame->NewFile();
        TMDIChild* second = frame->NewFile();
        Type(first, "first");
        Type(second, "second");
        frame->show();
        // The first editor answers No, the second Yes and is saved; nothing is asked twice.
        dialogs.Answers = {TAnswer::No, TAnswer::Yes};
        dialogs.FileNames = {Path + "vdfiles/second.vd"};
        QVERIFY(frame->close());
        // Each question names its editor.
        const std::vector<std::string> expected = {
            "Do You wish to Save File Before Exiting?\r\nSave changes to NoName-1.vd before exiting?",
            "Do You wish to Save File Before Exiting?\r\nSave changes to NoName-2.vd before exiting?",
        };
        QCOMPARE(dialogs.Questions, expected);
        QCOMPARE(ReadFile("vdfiles/second.vd"), QByteArray("second\r\n"));
        QVERIFY(!QFile::exists(Path + "vdfiles/NoName-1.vd"));
    }

    void theFramesQuestionAsksAboutTheLastUnsavedEditor()
    {
        // Asked on its own (no editor has been asked yet), the frame's question
        // goes from the last editor to the first and stops at a save.
        TScriptedDialogs dialogs;
        auto frame = MakeFrame();
        Type(frame->NewFile(), "first");
        Type(frame->NewFile(), "second");
        dialogs.Answers = {TAnswer::Yes};
        dialogs.FileNames = {Path + "vdfiles/second.vd"};
        QVERIFY(frame->FormCloseQuery());
        QCOMPARE(dialogs.Questions,
                 std::vector<std::string>{"Do You wish to Save File Before Exiting?\r\nSave changes to NoName-2.vd "
                                          "before exiting?"});
        QCOMPARE(ReadFile("vdfiles/second.vd"), QByteArray("second\r\n"));
    }

    void closingTheFrameStopsAtCancel()
    {
        TScriptedDialogs dialogs;
        auto frame = MakeFrame();
        Type(frame->NewFile(), "unsaved");
        frame->show();
        dialogs.Answers = {TAnswer::Cancel};
        QVERIFY(!frame->close());
        QVERIFY(frame->isVisible());
    }

    void generateOnAnEmptyEditorReportsBlankFile()
    {
        TScriptedDialogs dialogs;
        auto frame = MakeFrame();
        TMDIChild* editor = frame->NewFile();
        QTest::mouseClick(editor->Generate_Btn, Qt::LeftButton);
        QCOMPARE(dialogs.Messages.back(), std::string("Please Check Input Data\r\nBlank File"));
        QVERIFY(frame->Shown.empty());

        editor->Memo1->setPlainText("2\n90\n10\nF\nF=F[+F]\n@");
        QTest::mouseClick(editor->Generate_Btn, Qt::LeftButton);
        QCOMPARE(frame->Shown.size(), size_t(1));
        QCOMPARE(QString::fromStdString(AppState.CurrentFileName), editor->FileName);
        QCOMPARE(QString::fromStdString(frame->Shown[0].FileName), editor->FileName);
        QCOMPARE(frame->Shown[0].Store->ObjectCount, 4);
        QCOMPARE(frame->StatusPanels[0]->text(), QString("Generating Output from Production String"));
        QCOMPARE(dialogs.BusyDepth, 0);
    }

    void cancellingAGenerationLeavesEverythingAsItWas_data()
    {
        QTest::addColumn<bool>("byEscape");
        QTest::newRow("Cancel button") << false;
        QTest::newRow("Esc") << true;
    }

    void cancellingAGenerationLeavesEverythingAsItWas()
    {
        QFETCH(bool, byEscape);
        TScriptedDialogs dialogs;
        auto frame = MakeFrame();
        frame->show();
        TMDIChild* editor = frame->NewFile();
        // 2^20 segments: the turtle is stopped as soon as it starts.
        const QString text = "20\n90\n10\nF\nF=FF\n@";
        editor->Memo1->setPlainText(text);
        const TSettings before = AppState.Settings;
        dialogs.Answers = {TAnswer::Yes}; // the output-size question
        dialogs.Messages.clear();         // the frame's own start-up message
        dialogs.OnBusy = [&] {
            if (byEscape) QTest::keyClick(editor->Memo1, Qt::Key_Escape);
            else CancelGeneration();
        };
        QTest::mouseClick(editor->Generate_Btn, Qt::LeftButton);
        QVERIFY(frame->Shown.empty());
        QVERIFY(dialogs.Messages.empty());
        QCOMPARE(editor->Memo1->toPlainText(), text);
        QCOMPARE(AppState.Settings.CylindersInsteadofBlocks, before.CylindersInsteadofBlocks);
        QVERIFY(!GenerationRunning());
        QVERIFY(frame->CancelJobButton->isHidden());
        QCOMPARE(dialogs.BusyDepth, 0);
    }

    void windowsKeepTheSizesTheirUserGives()
    {
        TScriptedDialogs dialogs;
        auto frame = MakeFrame();
        frame->showNormal();
        frame->resize(300, 200);
        QCOMPARE(frame->size(), QSize(570, 460));
        frame->resize(1200, 900);
        TMDIChild* first = frame->NewFile();
        QCOMPARE(first->SubWindow()->size(), QSize(640, 480)); // a readable size at first
        first->SubWindow()->resize(500, 300);
        TMDIChild* second = frame->NewFile();
        // Activation, by the window list or by Tile, keeps what the user or Tile gave.
        frame->MdiArea->setActiveSubWindow(first->SubWindow());
        QCOMPARE(frame->MdiArea->activeSubWindow(), first->SubWindow());
        QCOMPARE(first->SubWindow()->size(), QSize(500, 300));
        frame->findChild<QAction*>("WindowTileItem")->trigger();
        const QRect tiled[] = {first->SubWindow()->geometry(), second->SubWindow()->geometry()};
        QVERIFY(tiled[0].width() > 500 || tiled[0].height() > 300);
        frame->MdiArea->setActiveSubWindow(second->SubWindow());
        frame->MdiArea->setActiveSubWindow(first->SubWindow());
        QCOMPARE(first->SubWindow()->geometry(), tiled[0]);
        QCOMPARE(second->SubWindow()->geometry(), tiled[1]);
    }

    void theLayoutComesBackFromTheSettingsFile()
    {
        WriteFile("Verdel5.ini", "; the user's own line\r\n[Startup]\r\nShowStartText=0\r\n");
        TScriptedDialogs dialogs;
        {
            auto frame = MakeFrame();
            frame->showNormal();
            frame->setGeometry(60, 70, 900, 640);
            AppState.Settings.Layout.RenderMode = rmSolidShade;
            QVERIFY(frame->close());
        }
        const QByteArray saved = ReadFile("Verdel5.ini");
        QVERIFY(saved.startsWith("; the user's own line\r\n[Startup]\r\n"));
        QVERIFY(saved.contains("\r\n[Layout]\r\nMainWindow="));
        ResetAppState();
        auto again = MakeFrame();
        again->show();
        QCOMPARE(again->geometry(), QRect(60, 70, 900, 640));
        QCOMPARE(AppState.Settings.Layout.RenderMode, int(rmSolidShade));
        QVERIFY(dialogs.Messages.empty());
    }

    void findAndReplaceActOnTheActiveEditor()
    {
        TScriptedDialogs dialogs;
        auto frame = MakeFrame();
        frame->show();
        TMDIChild* editor = frame->NewFile();
        const QString text = "F(a) f F\nFF";
        Type(editor, text);
        frame->findChild<QAction*>("ReplaceItem")->trigger();
        auto* find = frame->findChild<TFindDialog*>();
        QVERIFY(find && find->isVisible() && find->ReplaceEdit->isVisible());
        find->FindEdit->setText("F");
        find->ReplaceEdit->setText("GF");
        find->MatchCase->setChecked(true);
        QCOMPARE(find->ReplaceAll(), 4); // each match once, the inserted text not searched again
        QCOMPARE(editor->Memo1->toPlainText(), QString("GF(a) f GF\nGFGF"));
        editor->Memo1->undo(); // one undo step
        QCOMPARE(editor->Memo1->toPlainText(), text);
        // Find Next goes on from the cursor and wraps round at the end.
        find->MatchCase->setChecked(false);
        find->FindEdit->setText("f");
        editor->Memo1->moveCursor(QTextCursor::End);
        QVERIFY(find->FindNext());
        QCOMPARE(editor->Memo1->textCursor().selectionStart(), 0);
        QVERIFY(find->FindNext());
        QCOMPARE(editor->Memo1->textCursor().selectionStart(), 5);
    }

    void helpPanelNarrowsTheUsableClientArea()
    {
        TScriptedDialogs dialogs;
        auto frame = MakeFrame();
        frame->showNormal();
        frame->resize(900, 700);
        QCOMPARE(frame->UsableClientWidth, 900 - 13);
        QCOMPARE(frame->UsableClientHeight, 700 - 99);
        frame->findChild<QAction*>("ShowHelpPanel")->trigger();
        QVERIFY(frame->HelpPanel->isVisible());
        QCOMPARE(frame->UsableClientWidth, 900 - 13 - frame->HelpMemo->width());
        frame->resize(1000, 700);
        QCOMPARE(frame->UsableClientWidth, 1000 - 13 - frame->HelpMemo->width());
    }

    void generalOptionsCancelWritesNothing()
    {
        TScriptedDialogs dialogs;
        auto frame = MakeFrame();
        TGenOpsForm options(frame.get());
        const QByteArray before = ReadFile("Verdel5.ini");
        options.show();
        QVERIFY(options.CB1->isChecked());
        options.CB2->setChecked(true);
        QTest::mouseClick(options.CancelButton, Qt::LeftButton);
        QVERIFY(!AppState.Settings.SetQToDrawCones);
        QCOMPARE(ReadFile("Verdel5.ini"), before);

        options.show();
        QVERIFY(!options.CB2->isChecked()); // the boxes show the settings again
        options.CB2->setChecked(true);
        QTest::mouseClick(options.OKButton, Qt::LeftButton);
        QVERIFY(AppState.Settings.SetQToDrawCones);
        QVERIFY(ReadFile("Verdel5.ini").contains("SetQToDrawCones=1"));

        // "Live navigation" is on by default and kept in the file like the others.
        options.show();
        QCOMPARE(options.CB6->text(), QString("Live navigation"));
        QVERIFY(options.CB6->isChecked());
        options.CB6->setChecked(false);
        QTest::mouseClick(options.OKButton, Qt::LeftButton);
        QVERIFY(!AppState.Settings.LiveNavigation);
        QVERIFY(ReadFile("Verdel5.ini").contains("LiveNavigation=0\r\n"));
    }

    // Every way of opening a model file (the command line, the recent files
    // and drops through OpenFile, View DXF) is refused while a generation
    // runs, and only the generation's own model reaches the viewer.
    void modelFilesAreRefusedWhileAGenerationRuns()
    {
        TScriptedDialogs dialogs;
        auto frame = MakeFrame();
        dialogs.Messages.clear(); // the first start's note about the settings file
        const QString model = VERDEL_DATA "/outline.dxf";
        TMDIChild* editor = frame->NewFile();
        editor->Memo1->setPlainText("2\n90\n10\nF\nF=F[+F]\n@");
        dialogs.OnBusy = [&] { // the worker waits here, the turtle about to run
            frame->OpenFile(model);
            frame->ViewGraphic1Click();
        };
        QTest::mouseClick(editor->Generate_Btn, Qt::LeftButton);
        QCOMPARE(dialogs.Messages, std::vector<std::string>(2, GenerationBusyMessage));
        QVERIFY(dialogs.OpenFolders.empty()); // View DXF stopped before its dialog
        QCOMPARE(frame->Shown.size(), size_t(1));
        QCOMPARE(frame->Shown[0].Store->ObjectCount, 4);
        dialogs.OnBusy = nullptr;
        frame->OpenFile(model);
        QCOMPARE(frame->Shown.size(), size_t(2));
        QCOMPARE(frame->Shown[1].Source, TModelSource::File);
    }

    // Once a relative name on the command line was looked for in the frame's
    // working folder, the program's, and a file that could not be read left
    // an empty editor tied to that wrong name.
    void regressionRelativeNamesAreFoundFromTheFolderTheProgramStartedIn()
    {
        TScriptedDialogs dialogs;
        QTemporaryDir start;
        QFile file(start.path() + "/tree.vd");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("1\r\n90\r\n10\r\nF\r\n@\r\n");
        file.close();
        QVERIFY(QDir::setCurrent(start.path()));
        auto frame = MakeFrame(); // works in the program's folder from here on
        frame->OpenFile("tree.vd");
        frame->OpenFile("missing.vd");
        QCOMPARE(frame->ChildCount(), 1);
        const auto* editor = qobject_cast<TMDIChild*>(frame->MdiArea->subWindowList()[0]->widget());
        QCOMPARE(editor->FileName, start.path() + "/tree.vd");
        QCOMPARE(dialogs.Errors.size(), size_t(1));
    }

    // A parameter that is not a number is reported with its line and column,
    // selected in the editor, and the status panel no longer says the
    // generation is under way.
    void aParameterThatIsNotANumberIsShownWhereItStands()
    {
        TScriptedDialogs dialogs;
        auto frame = MakeFrame();
        TMDIChild* editor = frame->NewFile();
        editor->Memo1->setPlainText("# comment\n2\n90\n10\nF\nF=F[+F(abc)]F\n@");
        QTest::mouseClick(editor->Generate_Btn, Qt::LeftButton);
        QCOMPARE(dialogs.Messages.back(), std::string("'abc' is not a valid floating point value\r\n"
                                                      "Line 6, column 8: the parameter \"(abc)\" is not a number"));
        QCOMPARE(editor->Memo1->textCursor().selectedText(), QString("abc"));
        QCOMPARE(frame->StatusPanels[0]->text(), QString());
        QVERIFY(frame->Shown.empty());
    }

    void firstStartWelcomesAndAnExampleOpensAsAnUntitledCopyWithItsModel()
    {
        QDir().mkpath(Path + "vdfiles/book");
        for (const QString name : {"koch.vd", "book/plant_1_24a.vd"})
            QVERIFY(QFile::copy(VERDEL_DATA "/vdfiles/" + name, Path + "vdfiles/" + name));
        const QByteArray bundled = ReadFile("vdfiles/koch.vd");
        TScriptedDialogs dialogs;
        auto frame = MakeFrame();
        frame->show();
        frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame.get()));
        QTRY_COMPARE(frame->ChildCount(), 1);
        auto* gallery = frame->findChild<TExamplesForm*>();
        QVERIFY(gallery && gallery->SettingsNote->isVisibleTo(gallery));
        QVERIFY(gallery->SettingsNote->text().startsWith("Verdel5.ini\nFile not found\nDefault ini will be created\n"));
        QVERIFY(gallery->SettingsNote->text().endsWith("Settings file: " + QDir(Path).canonicalPath() + "/Verdel5.ini") ||
                gallery->SettingsNote->text().endsWith("Settings file: " + Path + "Verdel5.ini"));
        gallery->FinishDrawing();
        QCOMPARE(gallery->DrawnCount(), 2);

        QTest::mouseClick(gallery->Tile(Path + "vdfiles/koch.vd"), Qt::LeftButton);
        auto* editor = qobject_cast<TMDIChild*>(frame->MdiArea->activeSubWindow()->widget());
        QVERIFY(editor && !editor->FileOnDisk);
        QVERIFY(QFileInfo(editor->FileName) != QFileInfo(Path + "vdfiles/koch.vd"));
        QCOMPARE(frame->Shown.size(), size_t(1));
        QVERIFY(frame->Shown[0].Store->ObjectCount > 0);
        // Save asks for a name (the scripted dialog cancels): the bundled file stays as it was.
        Type(editor, "1\n90\n10\nF\n@");
        QVERIFY(!editor->Save());
        QCOMPARE(ReadFile("vdfiles/koch.vd"), bundled);
        // File > Examples brings the one gallery back to the front.
        frame->findChild<QAction*>("FileExamplesItem")->trigger();
        QCOMPARE(frame->MdiArea->activeSubWindow()->widget(), gallery);
        QCOMPARE(frame->findChildren<TExamplesForm*>().size(), 1);
    }

    // Once the MDI area announced the activation of the next child window
    // while the frame was being destroyed, and the frame's handler ran on a
    // half-destroyed object (the sanitizer build aborts on that).
    void regressionDestroyingTheFrameWithOpenEditorsReachesNoHandler()
    {
        TScriptedDialogs dialogs;
        auto frame = MakeFrame();
        frame->show();
        QPointer<TMDIChild> first = frame->NewFile();
        QPointer<TMDIChild> second = frame->NewFile();
        frame->ShowStartupMessage();
        frame->MdiArea->setActiveSubWindow(first->SubWindow());
        QCOMPARE(frame->ChildCount(), 3);
        dialogs.Messages.clear(); // the first start's note about the settings file
        frame.reset();
        QVERIFY(first.isNull());
        QVERIFY(second.isNull());
        QVERIFY(dialogs.Messages.empty());
    }
};

QTEST_MAIN(TestMainForm)
#include "test_main_form.moc"
