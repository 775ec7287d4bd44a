// The main frame, driven without a display: start-up, child windows, the close
// questions, generations on the worker thread, options and the examples gallery.
#include <QtTest>
#include <QtWidgets>
#include <atomic>
#include <cstdlib>
#include <new>
#include <thread>

#include "gui/dialog_fixture.h"
#include "gui/examples/examples_form.h"
#include "gui/options_dialog.h"
#include "gui/shared/generate_view.h"
#include "gui/shared/generation_runner.h"
#include "support/scripted_dialogs.h"

using namespace verdel;
using verdel::test::ReadFile;
using verdel::test::TRecordingFrame;
using verdel::test::TScriptedDialogs;
using verdel::test::Type;

// Out of memory on the generation's worker: once armed, the next allocation of
// a thread other than the GUI thread throws std::bad_alloc.
namespace {
std::atomic<bool> FailNextWorkerAllocation{false};
const std::thread::id GuiThread = std::this_thread::get_id();

void* Allocate(std::size_t size)
{
    if (FailNextWorkerAllocation.load() && std::this_thread::get_id() != GuiThread &&
        FailNextWorkerAllocation.exchange(false))
        throw std::bad_alloc();
    if (void* block = std::malloc(size ? size : 1)) return block;
    throw std::bad_alloc();
}
} // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size ? size : 1); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size ? size : 1); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }

class TestMainForm : public QObject {
    Q_OBJECT

    test::TDialogFixture Fixture;
    QString& Path = Fixture.Path;
    std::unique_ptr<TRecordingFrame> MakeFrame() { return Fixture.MakeFrame(); }

private slots:
    void init() { Fixture.SetUp(false); }
    void cleanup() { Fixture.TearDown(); }

    // Closing an editor or the frame asks about each modified editor once, by
    // name; Cancel, or a save dialog cancelled, keeps everything open.
    void closingAsksAboutEachModifiedEditorOnce()
    {
        TScriptedDialogs dialogs;
        auto frame = MakeFrame();
        frame->show();
        TMDIChild* first = frame->NewFile();
        TMDIChild* second = frame->NewFile();
        Type(first, "first");
        Type(second, "second");
        const QString ask = "Do You wish to Save File Before Exiting?\r\nSave changes to NoName-%1.vd before %2?";
        dialogs.Answers = {TAnswer::Cancel};
        frame->MdiArea->setActiveSubWindow(first->SubWindow());
        frame->findChild<QAction*>("FileCloseItem")->trigger();
        QCOMPARE(QString::fromStdString(dialogs.Questions.back()), ask.arg(1).arg("closing"));
        dialogs.Answers = {TAnswer::Yes};
        dialogs.FileNames = {QString()};
        first->SubWindow()->close();
        dialogs.Answers = {TAnswer::Cancel};
        QVERIFY(!frame->close());
        QVERIFY(frame->ChildCount() == 2 && frame->isVisible());

        dialogs.Questions.clear();
        dialogs.Answers = {TAnswer::No, TAnswer::Yes};
        dialogs.FileNames = {Path + "vdfiles/second.vd"};
        QVERIFY(frame->close());
        const std::vector<std::string> expected = {ask.arg(1).arg("exiting").toStdString(),
                                                   ask.arg(2).arg("exiting").toStdString()};
        QCOMPARE(dialogs.Questions, expected);
        QCOMPARE(ReadFile(Path + "vdfiles/second.vd"), QByteArray("second\r\n"));
        QVERIFY(!QFile::exists(Path + "vdfiles/NoName-1.vd"));
    }

    void cancellingAGenerationLeavesEverythingAsItWas()
    {
        for (const bool byEscape : {false, true}) {
            TScriptedDialogs dialogs;
            auto frame = MakeFrame();
            frame->show();
            TMDIChild* editor = frame->NewFile();
            const QString text = "20\n90\n10\nF\nF=FF\n@"; // 2^20 segments: stopped as soon as the turtle starts
            editor->Memo1->setPlainText(text);
            dialogs.Answers = {TAnswer::Yes}; // the output-size question
            dialogs.Messages.clear();         // the frame's own start-up message
            dialogs.OnBusy = [&] { byEscape ? QTest::keyClick(editor->Memo1, Qt::Key_Escape) : CancelGeneration(); };
            QTest::mouseClick(editor->Generate_Btn, Qt::LeftButton);
            QVERIFY(frame->Shown.empty() && dialogs.Messages.empty());
            QVERIFY(!GenerationRunning() && frame->CancelJobButton->isHidden() && dialogs.BusyDepth == 0);
        }
    }

    // A generation whose worker runs out of memory is reported as a fault,
    // hands nothing over and leaves the frame ready for the next one.
    void aFaultOnTheWorkerIsReportedAndTheNextGenerationRuns()
    {
        TScriptedDialogs dialogs;
        auto frame = MakeFrame();
        TMDIChild* editor = frame->NewFile();
        editor->Memo1->setPlainText("2\n90\n10\nF\nF=F[+F]\n@");
        dialogs.OnBusy = [] { FailNextWorkerAllocation = true; }; // the turtle about to run
        QTest::mouseClick(editor->Generate_Btn, Qt::LeftButton);
        QVERIFY(!FailNextWorkerAllocation.exchange(false)); // the worker met the fault
        QCOMPARE(dialogs.Errors, std::vector<std::string>{"Out of memory: the work needed more memory than the "
                                                          "system gave, and was abandoned"});
        QVERIFY(frame->Shown.empty() && dialogs.BusyDepth == 0);
        QVERIFY(!GenerationRunning() && frame->CancelJobButton->isHidden());

        dialogs.OnBusy = nullptr;
        QTest::mouseClick(editor->Generate_Btn, Qt::LeftButton);
        QCOMPARE(frame->Shown.size(), size_t(1));
        QCOMPARE(frame->Shown[0].Store->ObjectCount, 4);
        QCOMPARE(QString::fromStdString(frame->Shown[0].FileName), editor->FileName);
        QCOMPARE(frame->StatusPanels[0]->text(), QString("Generating Output from Production String"));
        QVERIFY(dialogs.Errors.size() == 1 && dialogs.BusyDepth == 0);
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
        dialogs.OnBusy = nullptr;
        frame->OpenFile(model);
        QCOMPARE(frame->Shown.size(), size_t(2));
        QCOMPARE(frame->Shown[1].Source, TModelSource::File);
    }

    void windowsKeepTheSizesTheirUserGives()
    {
        TScriptedDialogs dialogs;
        auto frame = MakeFrame();
        frame->showNormal();
        frame->resize(1200, 900);
        TMDIChild* first = frame->NewFile();
        QCOMPARE(first->SubWindow()->size(), QSize(640, 480)); // a readable size at first
        first->SubWindow()->resize(500, 300);
        TMDIChild* second = frame->NewFile();
        // Activation, by the window list or by Tile, keeps what the user or Tile gave.
        frame->MdiArea->setActiveSubWindow(first->SubWindow());
        QCOMPARE(first->SubWindow()->size(), QSize(500, 300));
        frame->findChild<QAction*>("WindowTileItem")->trigger();
        const QRect tiled[] = {first->SubWindow()->geometry(), second->SubWindow()->geometry()};
        QVERIFY(tiled[0].width() > 500 || tiled[0].height() > 300);
        frame->MdiArea->setActiveSubWindow(second->SubWindow());
        frame->MdiArea->setActiveSubWindow(first->SubWindow());
        QCOMPARE(first->SubWindow()->geometry(), tiled[0]);
        QCOMPARE(second->SubWindow()->geometry(), tiled[1]);
    }

    void generalOptionsOkWritesTheSettings()
    {
        TScriptedDialogs dialogs;
        auto frame = MakeFrame();
        TGenOpsForm options(frame.get());
        options.show();
        QVERIFY(!options.CB2->isChecked() && options.CB6->isChecked()); // the boxes show the settings
        options.CB2->setChecked(true);
        options.CB6->setChecked(false);
        QTest::mouseClick(options.OKButton, Qt::LeftButton);
        QVERIFY(AppState.Settings.SetQToDrawCones && !AppState.Settings.LiveNavigation);
        QVERIFY(ReadFile(Path + "Verdel5.ini").contains("SetQToDrawCones=1\r\n"));
    }

    // Once a relative name on the command line was looked for in the frame's
    // working folder, the program's, and a file that could not be read left
    // an empty editor tied to that wrong name.
    void regressionRelativeNamesAreFoundFromTheFolderTheProgramStartedIn()
    {
        TScriptedDialogs dialogs;
        QTemporaryDir start;
        test::WriteFile(start.path() + "/tree.vd", "1\r\n90\r\n10\r\nF\r\n@\r\n");
        QVERIFY(QDir::setCurrent(start.path()));
        auto frame = MakeFrame(); // works in the program's folder from here on
        frame->OpenFile("tree.vd");
        frame->OpenFile("missing.vd");
        QCOMPARE(frame->ChildCount(), 1);
        QCOMPARE(frame->findChild<TMDIChild*>()->FileName, start.path() + "/tree.vd");
        QCOMPARE(dialogs.Errors.size(), size_t(1));
    }

    void firstStartWelcomesOnceAndAnExampleOpensAsAnUntitledCopyWithItsModel()
    {
        QDir().mkpath(Path + "vdfiles/book");
        for (const QString name : {"koch.vd", "book/plant_1_24a.vd"})
            QVERIFY(QFile::copy(VERDEL_DATA "/vdfiles/" + name, Path + "vdfiles/" + name));
        TScriptedDialogs dialogs;
        auto frame = MakeFrame();
        frame->show();
        frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame.get()));
        QTRY_COMPARE(frame->ChildCount(), 1);
        auto* gallery = frame->findChild<TExamplesForm*>();
        QVERIFY(gallery && gallery->SettingsNote->text().startsWith("Verdel5.ini\nFile not found\n"));
        gallery->FinishDrawing();
        QCOMPARE(gallery->DrawnCount(), 2);

        QTest::mouseClick(gallery->Tile(Path + "vdfiles/koch.vd"), Qt::LeftButton);
        auto* editor = qobject_cast<TMDIChild*>(frame->MdiArea->activeSubWindow()->widget());
        QVERIFY(editor && !editor->FileOnDisk);
        QCOMPARE(frame->Shown.size(), size_t(1));
        // File > Examples brings the one gallery back to the front.
        frame->findChild<QAction*>("FileExamplesItem")->trigger();
        QCOMPARE(frame->MdiArea->activeSubWindow()->widget(), gallery);
        // The settings file and the missing work folders were made: the next start is no first start.
        frame.reset();
        QVERIFY(QDir(Path + "output").exists() && !MakeFrame()->FirstStart && dialogs.Errors.empty());
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
        dialogs.Messages.clear(); // the first start's note about the settings file
        frame.reset();
        QVERIFY(first.isNull() && second.isNull());
        QVERIFY(dialogs.Messages.empty());
    }
};

QTEST_MAIN(TestMainForm)
#include "test_main_form.moc"
