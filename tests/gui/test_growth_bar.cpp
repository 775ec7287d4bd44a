// Growth playback: positions regenerate the model at their value off the GUI
// thread, the view is held still, playback skips positions instead of queueing them.
#include <QtTest>
#include <QtWidgets>

#include "app/program_folders.h"
#include "engine/growth.h"
#include "gui/dialog_fixture.h"
#include "gui/shared/app_state.h"
#include "gui/viewer/growth_bar.h"
#include "gui/viewer/viewer_window.h"
#include "support/models.h"
#include "support/scripted_dialogs.h"

using namespace verdel;
using verdel::test::TScriptedDialogs;

namespace {

const TLines Shrub = {"3.5", "30", "10", "A", "A=F[&A]>>>[&A]>>>[&A]", "F=F'F", "@"};

float LargestGap(const TFaceStore& a, const TFaceStore& b)
{
    if (a.ObjectCount != b.ObjectCount) return 1e9f;
    float gap = 0;
    for (int k = 1; k <= a.ObjectCount; ++k)
        for (const TFaceNode *p = a.Object(k).ModelFaces, *q = b.Object(k).ModelFaces; p && q; p = p->Next, q = q->Next)
            for (int c = 0; c < p->CornerCount; ++c) gap = std::max(gap, Length(p->Corners[c] - q->Corners[c]));
    return gap;
}

} // namespace

class TestGrowthBar : public QObject {
    Q_OBJECT

    std::unique_ptr<TFaceStore> Shown;
    std::unique_ptr<TGrowthBar> Bar;
    int Redraws = 0;

private slots:
    void init()
    {
        ResetAppState();
        Shown = test::GenerateStore(Shrub);
        Bar = std::make_unique<TGrowthBar>(*Shown);
        Bar->Attach(Shrub, 5, {});
        Redraws = 0;
        Bar->Redraw = [this] { ++Redraws; };
    }
    void cleanup() { Bar.reset(); }

    // A position regenerates the model at its value; positions asked for while
    // one is made are skipped but for the newest.
    void positionsShowTheModelOfTheNewestValue()
    {
        Bar->Growth_Slider->setValue(175);
        Bar->FinishPending();
        QCOMPARE(LargestGap(*Shown, *test::GenerateStore(WithIterationValue(Shrub, 1.75f))), 0.0f);
        QVERIFY(Bar->GrowthLabel->text().startsWith("Growth 1.75"));
        for (int position = 0; position <= 300; position += 10) Bar->Growth_Slider->setValue(position);
        Bar->FinishPending();
        QCOMPARE(Redraws, 1 + 2); // the first position, then only the newest
        QCOMPARE(LargestGap(*Shown, *test::GenerateStore(WithIterationValue(Shrub, 3.0f))), 0.0f);
        Bar->Attach({"0", "30", "10", "F", "@"}, 1, {}); // nothing to grow
        QVERIFY(Bar->isHidden());
    }

    void playRunsFromTheStartToTheEndAndStops()
    {
        Bar->Play_BtnClick();
        QCOMPARE(Bar->Growth_Slider->value(), 0);
        int ticks = 0;
        for (; Bar->PlayTimer->isActive() && ticks < 1000; ++ticks) Bar->PlayTick();
        QCOMPARE(Bar->Growth_Slider->value(), 350);
        QCOMPARE(ticks, (350 + 1) / 2); // two positions a tick: 1.5 s an iteration at 25 ticks a second
        QCOMPARE(Bar->Play_Btn->text(), QString("Play"));
    }

    // Once the growth bar freed the model it replaced at once, while the
    // viewer's worker could still be drawing its faces (the sanitizer build
    // catches a read of them).
    void aModelReplacedWhileItsFrameIsDrawnLivesUntilTheFrameIsDone()
    {
        TScriptedDialogs dialogs;
        QTemporaryDir folder;
        AppState.ProgramFolders = FoldersBeside(folder.path().toStdString() + "/");
        TViewForm view;
        view.TakeModel(test::GeneratedModel(Shrub));
        QVERIFY(test::ShownAndIdle(view) && !view.GrowthBar->isHidden());
        const TFaceStore& shown = *view.Model.Store;
        const int full = shown.ObjectCount;

        for (const int position : {100, 200, 300}) {
            view.ViewerMovement(*view.Model.Store, false);
            QVERIFY(view.Frames->Drawing(shown));
            view.GrowthBar->Growth_Slider->setValue(position);
            view.GrowthBar->FinishPending();
        }
        QTRY_VERIFY_WITH_TIMEOUT(test::Idle(view), 10000);
        QVERIFY(shown.ObjectCount > 0 && shown.ObjectCount < full);
        view.close();
    }
};

QTEST_MAIN(TestGrowthBar)
#include "test_growth_bar.moc"
