// The breeding gallery window: thumbnails off the GUI thread, picks, Back and
// Forward, crossover marks, failing cells, Save, Edit, View and the Tools menu item.
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

    void showsTheParentAndEightChildrenWithTheSeed()
    {
        TBreedWindow window;
        window.StartGallery(Bush, 4711, Lively(), {});
        window.show();
        window.FinishRendering();
        const TBreedingGallery core(Bush, 4711, Lively());
        QCOMPARE(window.LineageLabel->text(), QString("seed 4711"));
        QVERIFY(!window.Back_Btn->isEnabled());
        for (int number = 0; number <= BreedChildCount; ++number) {
            const TBreedCell* cell = window.Cells[number];
            QVERIFY2(cell->Drawn(), qPrintable(cell->Reason()));
            QCOMPARE(cell->Picture().size(), QSize(TBreedCell::ThumbnailWidth, TBreedCell::ThumbnailHeight));
            QCOMPARE(window.CellText(number), number == 0 ? Bush : core.Current().Children[number - 1].Text);
        }
        // The parent sits in the middle of the grid.
        const QPoint middle = window.Cells[0]->geometry().center();
        QVERIFY(window.Cells[4]->geometry().center().x() < middle.x());
        QVERIFY(window.Cells[5]->geometry().center().x() > middle.x());
    }

    void aPickedChildBecomesTheParentAndBackRestoresTheGeneration()
    {
        TBreedWindow window;
        window.StartGallery(Bush, 4711, Lively(), {});
        window.FinishRendering();
        std::array<QImage, 9> before;
        std::array<TLines, 9> texts;
        for (int n = 0; n <= 8; ++n) before[n] = window.Cells[n]->Picture(), texts[n] = window.CellText(n);

        Click(window, 3);
        TBreedingGallery core(Bush, 4711, Lively());
        core.Pick(3);
        QCOMPARE(window.LineageLabel->text(), QString("seed 4711: 3"));
        QCOMPARE(window.CellText(0), texts[3]);
        // Same text, same seed: the new parent looks exactly as child 3 did.
        QCOMPARE(window.Cells[0]->Picture(), before[3]);
        for (int n = 1; n <= 8; ++n) QCOMPARE(window.CellText(n), core.Current().Children[n - 1].Text);
        QVERIFY(window.Back_Btn->isEnabled());

        QTest::mouseClick(window.Back_Btn, Qt::LeftButton);
        window.FinishRendering();
        QCOMPARE(window.LineageLabel->text(), QString("seed 4711"));
        for (int n = 0; n <= 8; ++n) {
            QCOMPARE(window.CellText(n), texts[n]);
            QCOMPARE(window.Cells[n]->Picture(), before[n]);
        }
        QTest::mouseClick(window.Forward_Btn, Qt::LeftButton);
        window.FinishRendering();
        QCOMPARE(window.LineageLabel->text(), QString("seed 4711: 3"));
        QCOMPARE(window.CellText(0), texts[3]);
    }

    void ctrlClickMarksTheSecondParentOfACrossover()
    {
        TBreedWindow window;
        window.StartGallery(Bush, 4711, Lively(), {});
        Click(window, 5, Qt::ControlModifier);
        QVERIFY(window.HintLabel->text().contains("Child 5 is the second parent"));
        Click(window, 2, Qt::ControlModifier); // the mark moves to child 2 ...
        Click(window, 2, Qt::ControlModifier); // ... and is taken off again
        QVERIFY(!window.HintLabel->text().contains("second parent:"));
        Click(window, 5, Qt::ControlModifier);
        Click(window, 1);
        QCOMPARE(window.LineageLabel->text(), QString("seed 4711: 1+5"));
        TBreedingGallery core(Bush, 4711, Lively());
        core.Pick(1, 5);
        for (int n = 0; n <= 8; ++n)
            QCOMPARE(window.CellText(n), n ? core.Current().Children[n - 1].Text : core.Current().Parent);
    }

    void aChildThatCannotBeDrawnShowsWhyAndTheOthersStillDraw()
    {
        // 2^20 non-drawing letters are within the production limit, 2^21 are not:
        // children whose recursion went up cannot be drawn, the others can.
        const TLines doubling = {"20", "30", "10", "A", "A=AA", "@"};
        TMutatorBars bars{};
        bars[mbRecursion] = 5;
        bars[mbRadiation] = 8;
        TBreedWindow window;
        window.StartGallery(doubling, 2024, bars, {});
        window.show();
        window.FinishRendering();
        int failed = 0;
        for (int n = 0; n <= 8; ++n) {
            // The letters draw nothing: a drawn cell says so instead of a black picture.
            const TBreedCell* cell = window.Cells[n];
            QCOMPARE(cell->Drawn(), std::stoi(window.CellText(n)[0]) <= 20);
            QCOMPARE(cell->PictureLabel->text(), cell->Drawn() ? "No objects: the production has no drawing commands"
                                                               : "Production String Exceeded Maximum Length");
            failed += !cell->Drawn();
        }
        QVERIFY(failed >= 1);
        QVERIFY(failed <= 7); // the parent at 20 is drawn, and so is at least one child
    }

    // The Tools menu opens the one gallery on the active editor; a cell's Edit
    // opens its text in an editor, its View shows its model in the viewer.
    void toolsMenuOpensTheGalleryAndCellsOpenEditorsAndTheViewer()
    {
        TScriptedDialogs dialogs;
        QDir().mkpath(Folder->path() + "/textures");
        test::TRecordingFrame frame(Folder->path() + "/");
        frame.NewFile()->Memo1->setPlainText("4\n22.5\n10\nF\nF=F[+F]\n@");
        QAction* item = frame.findChild<QAction*>("Breed1");
        item->trigger();
        auto* window = frame.findChild<TBreedWindow*>();
        QVERIFY(window);
        QCOMPARE(window->CellText(0), (TLines{"4", "22.5", "10", "F", "F=F[+F]", "@"}));
        window->FinishRendering();
        item->trigger(); // the one gallery comes to the front
        QCOMPARE(frame.findChildren<TBreedWindow*>().size(), 1);

        QTest::mouseClick(window->Cells[4]->Edit_Btn, Qt::LeftButton);
        QCOMPARE(frame.findChildren<TMDIChild*>().size(), 2);
        QCOMPARE(SplitLines(frame.findChildren<TMDIChild*>().last()->Memo1->toPlainText().toStdString()),
                 window->CellText(4));
        QTest::mouseClick(window->Cells[4]->View_Btn, Qt::LeftButton);
        QCOMPARE(frame.Shown.size(), size_t(1));
        QVERIFY(window->Cells[4]->CaptionLabel->text().endsWith(QString(" (%1)").arg(frame.Shown[0].ObjectCount)));
        QCOMPARE(frame.Shown[0].Seed, window->CellSeed(4));
        QVERIFY(QString::fromStdString(frame.Shown[0].FileName).endsWith(" Child 4.vd")); // the viewer's title
    }
};

QTEST_MAIN(TestBreedWindow)
#include "test_breed_window.moc"
