// Growth playback: positions regenerate the model at their value off the GUI
// thread, the view is held still, playback skips positions instead of queueing them.
#include <QtTest>
#include <QtWidgets>

#include "app/program_folders.h"
#include "engine/growth.h"
#include "gui/dialog_fixture.h"
#include "gui/shared/app_state.h"
#include "gui/viewer/frame_pipeline.h"
#include "gui/viewer/growth_bar.h"
#include "gui/viewer/viewer_window.h"
#include "support/scripted_dialogs.h"

using namespace verdel;
using verdel::test::TScriptedDialogs;

namespace {

const TLines Shrub = {"3.5", "30", "10", "A", "A=F[&A]>>>[&A]>>>[&A]", "F=F'F", "@"};

// Generates Lines into Store as the main window does, the source at Seed.
TGenerationResult Generate(const TLines& lines, TFaceStore& store, uint32_t seed = 5)
{
    test::TScriptedPrompt prompt;
    prompt.Answers = {TAnswer::Yes};
    auto state = std::make_unique<TDefinitionState>();
    TRandomSource random;
    random.Seed = seed;
    return GenerateModel(lines, {}, prompt, *state, store, random);
}

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

    void SetPosition(int position)
    {
        Bar->Growth_Slider->setValue(position);
        Bar->FinishPending();
    }

private slots:
    void init()
    {
        ResetAppState();
        Shown = std::make_unique<TFaceStore>();
        Generate(Shrub, *Shown);
        Bar = std::make_unique<TGrowthBar>(*Shown);
        Bar->Attach(Shrub, 5, {});
        Redraws = 0;
        Bar->Redraw = [this] { ++Redraws; };
    }
    void cleanup() { Bar.reset(); }

    void positionsShowTheModelsOfTheirValues()
    {
        const struct {
            int Position;
            float Value;
        } cases[] = {{0, 0}, {175, 1.75f}, {350, 3.5f}};
        for (const auto& c : cases) {
            SetPosition(c.Position);
            auto expected = std::make_unique<TFaceStore>();
            Generate(WithIterationValue(Shrub, c.Value), *expected);
            QCOMPARE(Shown->ObjectCount, expected->ObjectCount);
            QCOMPARE(LargestGap(*Shown, *expected), 0.0f);
            QVERIFY(Bar->GrowthLabel->text().startsWith("Growth " + QString::number(c.Value)));
        }
        QCOMPARE(Redraws, 3);
        Bar->Attach({"0", "30", "10", "F", "@"}, 1, {}); // nothing to grow
        QVERIFY(Bar->isHidden());
    }

    void positionsAskedForMeanwhileAreSkipped()
    {
        for (int position = 0; position <= 300; position += 10) Bar->Growth_Slider->setValue(position);
        Bar->FinishPending();
        // The first position, then only the newest one asked for while it was made.
        QCOMPARE(Redraws, 2);
        auto expected = std::make_unique<TFaceStore>();
        Generate(WithIterationValue(Shrub, 3.0f), *expected);
        QCOMPARE(LargestGap(*Shown, *expected), 0.0f);
    }

    void playRunsFromTheStartToTheEndAndStops()
    {
        Bar->Play_BtnClick();
        QVERIFY(Bar->PlayTimer->isActive());
        QCOMPARE(Bar->Growth_Slider->value(), 0);
        int ticks = 0;
        while (Bar->PlayTimer->isActive() && ticks < 1000) {
            Bar->PlayTick();
            ++ticks;
        }
        QCOMPARE(Bar->Growth_Slider->value(), 350);
        QCOMPARE(ticks, (350 + 1) / 2); // two positions a tick: 1.5 s an iteration at 25 ticks a second
        QCOMPARE(Bar->Play_Btn->text(), QString("Play"));
        Bar->FinishPending();
        QCOMPARE(Shown->ObjectCount, Generate(Shrub, *std::make_unique<TFaceStore>()).ObjectCount);

        Bar->Play_BtnClick();
        Bar->PlayTick();
        Bar->Play_BtnClick(); // Pause
        QVERIFY(!Bar->PlayTimer->isActive());
        QCOMPARE(Bar->Growth_Slider->value(), 2);
    }

    // Program folders in Folder, and the shrub generated as the main window
    // generates it and handed to View, which shows its growth bar.
    static void ShowGeneratedShrub(const QTemporaryDir& Folder, TViewForm& View)
    {
        AppState.ProgramFolders = FoldersBeside(Folder.path().toStdString() + "/");
        QDir().mkpath(QString::fromStdString(AppState.ProgramFolders.OutputFolder));
        View.TakeModel(test::GeneratedModel(Shrub));
    }

    // Once the growth bar freed the model it replaced at once, while the
    // viewer's worker could still be drawing its faces (the sanitizer build
    // catches a read of them).
    void aModelReplacedWhileItsFrameIsDrawnLivesUntilTheFrameIsDone()
    {
        TScriptedDialogs dialogs;
        QTemporaryDir folder;
        TViewForm view;
        ShowGeneratedShrub(folder, view);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QVERIFY(!view.GrowthBar->isHidden());
        QTRY_VERIFY_WITH_TIMEOUT(test::Idle(view), 10000);
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
