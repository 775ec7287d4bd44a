// The breeding gallery window: thumbnails off the GUI thread, picks, Back,
// crossover marks, failing cells, Edit, View and the Tools menu item.
#include <QtTest>
#include <QtWidgets>

#include "gui/editor/editor_window.h"
#include "gui/generators/breed_cell.h"
#include "gui/generators/breed_window.h"
#include "gui/main_form.h"
#include "gui/shared/app_state.h"
#include "support/recording_frame.h"
#include "support/scripted_dialogs.h"

using namespace verdel;
using verdel::test::TScriptedDialogs;

namespace {

const TLines Bush = {
    "4", "22.5", "10", "+(90)A", "A=[&FL!A]>>>>>[&FL!A]>>>>>>>[&FL!A]", "F=FF", "L=[c(3)'''^^{-f+f+f-|-f+f+f}]", "@"};

TMutatorBars Lively()
{
    TMutatorBars bars;
    bars.fill(5);
    bars[mbRadiation] = 10;
    return bars;
}

void Click(TBreedWindow& window, int number, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::mouseClick(window.Cells[number]->PictureLabel, Qt::LeftButton, modifiers);
    window.FinishRendering();
}

} // namespace

class TestBreedWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> Folder;

private slots:
    void init()
    {
        Folder = std::make_unique<QTemporaryDir>();
        ResetAppState();
        AppState.ProgramFolders = FoldersBeside(Folder->path().toStdString() + "/");
        QDir().mkpath(QString::fromStdString(AppState.ProgramFolders.DefinitionFolder));
    }

    // The parent and eight children are the core gallery's, drawn; a pick makes
    // a child the parent (its picture unchanged), Back restores the generation,
    // a Ctrl-click marks the second parent of a crossover.
    void showsTheGalleryAndPicksAChildOrACrossover()
    {
        TBreedWindow window;
        window.StartGallery(Bush, 4711, Lively(), {});
        window.show();
        window.FinishRendering();
        TBreedingGallery core(Bush, 4711, Lively());
        QCOMPARE(window.LineageLabel->text(), QString("seed 4711"));
        QVERIFY(!window.Back_Btn->isEnabled());
        std::array<QImage, 9> before;
        for (int n = 0; n <= BreedChildCount; ++n) {
            QVERIFY2(window.Cells[n]->Drawn(), qPrintable(window.Cells[n]->Reason()));
            QCOMPARE(window.CellText(n), n == 0 ? Bush : core.Current().Children[n - 1].Text);
            before[n] = window.Cells[n]->Picture();
        }
        QCOMPARE(before[0].size(), QSize(TBreedCell::ThumbnailWidth, TBreedCell::ThumbnailHeight));

        Click(window, 3);
        core.Pick(3);
        QCOMPARE(window.LineageLabel->text(), QString("seed 4711: 3"));
        QCOMPARE(window.CellText(0), core.Current().Parent);
        QCOMPARE(window.Cells[0]->Picture(), before[3]);
        for (int n = 1; n <= 8; ++n) QCOMPARE(window.CellText(n), core.Current().Children[n - 1].Text);
        QTest::mouseClick(window.Back_Btn, Qt::LeftButton);
        window.FinishRendering();
        QCOMPARE(window.LineageLabel->text(), QString("seed 4711"));
        QCOMPARE(window.CellText(0), Bush);
        QCOMPARE(window.Cells[3]->Picture(), before[3]);

        // A Ctrl-click marks the second parent of a crossover.
        Click(window, 5, Qt::ControlModifier);
        QVERIFY(window.HintLabel->text().contains("Child 5 is the second parent"));
        Click(window, 1);
        QCOMPARE(window.LineageLabel->text(), QString("seed 4711: 1+5"));
        TBreedingGallery crossed(Bush, 4711, Lively());
        crossed.Pick(1, 5);
        QCOMPARE(window.CellText(0), crossed.Current().Parent);
        QCOMPARE(window.CellText(8), crossed.Current().Children[7].Text);
    }

    // A child whose recursion went past the production limit says why; the
    // parent, whose letters draw nothing, says that instead of a black picture.
    void aChildThatCannotBeDrawnShowsWhyAndTheOthersStillDraw()
    {
        TMutatorBars bars{};
        bars[mbRecursion] = 5;
        bars[mbRadiation] = 8;
        TBreedWindow window;
        window.StartGallery({"20", "30", "10", "A", "A=AA", "@"}, 2024, bars, {});
        window.FinishRendering();
        int failed = 0;
        for (int n = 0; n <= 8; ++n) {
            const TBreedCell* cell = window.Cells[n];
            QCOMPARE(cell->Drawn(), std::stoi(window.CellText(n)[0]) <= 20);
            if (!cell->Drawn()) QCOMPARE(cell->PictureLabel->text(), "Production String Exceeded Maximum Length");
            failed += !cell->Drawn();
        }
        QVERIFY(failed >= 1);
        QCOMPARE(window.Cells[0]->PictureLabel->text(), "No objects: the production has no drawing commands");
    }

    // The Tools menu opens the one gallery on the active editor; a cell's Edit
    // opens its text in an editor, its View shows its model in the viewer.
    void toolsMenuOpensTheGalleryAndCellsOpenEditorsAndTheViewer()
    {
        TScriptedDialogs dialogs;
        QDir().mkpath(Folder->path() + "/textures");
        test::TRecordingFrame frame(Folder->path() + "/");
        frame.NewFile()->Memo1->setPlainText("4\n22.5\n10\nF\nF=F[+F]\n@");
        frame.findChild<QAction*>("Breed1")->trigger();
        auto* window = frame.findChild<TBreedWindow*>();
        QCOMPARE(window->CellText(0), (TLines{"4", "22.5", "10", "F", "F=F[+F]", "@"}));
        window->FinishRendering();

        QTest::mouseClick(window->Cells[4]->Edit_Btn, Qt::LeftButton);
        QCOMPARE(SplitLines(frame.findChildren<TMDIChild*>().last()->Memo1->toPlainText().toStdString()),
                 window->CellText(4));
        QTest::mouseClick(window->Cells[4]->View_Btn, Qt::LeftButton);
        QCOMPARE(frame.Shown.size(), size_t(1));
        QCOMPARE(frame.Shown[0].Seed, window->CellSeed(4));
        QVERIFY(QString::fromStdString(frame.Shown[0].FileName).endsWith(" Child 4.vd")); // the viewer's title
    }
};

QTEST_MAIN(TestBreedWindow)
#include "test_breed_window.moc"
