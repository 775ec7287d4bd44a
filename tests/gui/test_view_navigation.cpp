// The viewer's mouse, wheel and keys reach its navigator as its buttons do (the
// core's pointer tests hold every other drag, wheel and key), F fits the model
// into the picture, and frames are drawn off the GUI thread.
#include <QtTest>
#include <QtWidgets>
#include <functional>

#include "gui/dialog_fixture.h"
#include "gui/viewer/picture_widget.h"
#include "render/gmp.h"
#include "support/scripted_dialogs.h"
#include "viewer/view_preparation.h"

using namespace verdel;

namespace {

const TLines Tree = {"2", "30", "10", "F", "F=F[&F]>>[+F]", "@"};

// What a navigation leaves in the model: every corner and the translation.
struct TOutcome {
    std::vector<TVector> Corners;
    float X = 0, Y = 0, Z = 0;
    bool operator==(const TOutcome&) const = default;
};

TOutcome Current(const TViewForm& view)
{
    const TFaceStore& store = *view.Model.Store;
    TOutcome outcome{{}, store.TranslateX, store.TranslateY, store.TranslateZ};
    for (int k = 1; k <= store.ObjectCount; ++k)
        for (const TFaceNode* face = store.Object(k).ModelFaces; face; face = face->Next)
            outcome.Corners.insert(outcome.Corners.end(), std::begin(face->Corners), std::end(face->Corners));
    return outcome;
}

void Wheel(QWidget* widget, int delta)
{
    const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
    QWheelEvent event(at, widget->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

void Drag(TViewForm& view, QPoint by)
{
    const QPoint start(view.GMP1->width() / 2, view.GMP1->height() / 2);
    QTest::mousePress(view.GMP1, Qt::LeftButton, {}, start);
    for (int i = 1; i <= std::abs(by.x()); ++i) QTest::mouseMove(view.GMP1, start + by * i / std::abs(by.x()));
    QTest::mouseRelease(view.GMP1, Qt::LeftButton, {}, start + by);
}

// Holds a button (or with Key, a key on the focused radio button) for Steps steps of the timer run by hand.
void Hold(TViewForm& view, const char* button, int steps, Qt::Key key = Qt::Key(0))
{
    QWidget* target = key ? static_cast<QWidget*>(view.SolidShade_RB) : view.findChild<QToolButton*>(button);
    key ? QTest::keyPress(target, key) : QTest::mousePress(target, Qt::LeftButton);
    for (int i = 1; i < steps; ++i) view.SpinTimerTimer();
    key ? QTest::keyRelease(target, key) : QTest::mouseRelease(target, Qt::LeftButton);
}

// The tree in a viewer (timers by hand) after Drive and the pause that follows it.
TOutcome Navigate(const std::function<void(TViewForm&)>& drive)
{
    TViewForm view;
    view.TimersByHand = true;
    view.TakeModel(test::GeneratedModel(Tree));
    if (!test::ShownAndIdle(view)) return {};
    drive(view);
    view.Timer1Timer();
    if (!QTest::qWaitFor([&] { return test::Idle(view); }, 10000)) return {};
    return Current(view);
}

} // namespace

class TestViewNavigation : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        ResetAppState();
        AppState.Settings.LiveNavigation = false; // the model moves once, after the pause
    }

    void aDragAWheelStepAndAKeyStepLikeTheButtons()
    {
        test::TScriptedDialogs dialogs;
        using TDrive = std::function<void(TViewForm&)>;
        const std::pair<TDrive, TDrive> rows[] = {
            {[](TViewForm& v) { Drag(v, QPoint(-12, 0)); }, [](TViewForm& v) { Hold(v, "Left_AB", 3); }},
            {[](TViewForm& v) { Wheel(v.GMP1, 240); }, [](TViewForm& v) { Hold(v, "MoveForward_BB", 2); }},
            {[](TViewForm& v) { Hold(v, nullptr, 3, Qt::Key_Left); }, [](TViewForm& v) { Hold(v, "Left_AB", 3); }},
        };
        const TOutcome untouched = Navigate([](TViewForm&) {});
        QVERIFY(!untouched.Corners.empty());
        for (const auto& [byEvents, byButtons] : rows) {
            const TOutcome events = Navigate(byEvents);
            QVERIFY(events == Navigate(byButtons));
            QVERIFY(!(events == untouched));
        }
    }

    void homeAndFitKeysUndoTheTurnAndFitTheModelIntoThePicture()
    {
        test::TScriptedDialogs dialogs;
        TViewForm view;
        view.TimersByHand = true;
        view.TakeModel(test::GeneratedModel(Tree));
        QVERIFY(test::ShownAndIdle(view));
        const TOutcome first = Current(view);
        Drag(view, {30, -20});
        QTest::keyClick(view.GMP1, Qt::Key_Home); // the turn undone
        Wheel(view.GMP1, -120 * 40);              // far away
        view.Timer1Timer();
        QTRY_VERIFY_WITH_TIMEOUT(test::Idle(view), 10000);
        QTest::keyClick(view.GMP1, Qt::Key_F);
        QTRY_VERIFY_WITH_TIMEOUT(test::Idle(view), 10000);
        // Every corner lands inside the picture, the tall tree nearly filling its height.
        const TOutcome fitted = Current(view);
        QVERIFY(fitted.Corners == first.Corners); // fitting moves, never turns
        const double halfWidth = view.GMP1->Settings.Width / 2.0, halfHeight = view.GMP1->Settings.Height / 2.0;
        double highest = 0;
        for (const TVector& c : fitted.Corners) {
            const double z = c.Z + fitted.Z, x = TGMP::FocalLength * (c.X + fitted.X) / z,
                         y = TGMP::FocalLength * (c.Y + fitted.Y) / z;
            QVERIFY(z < 0 && std::fabs(x) <= halfWidth && std::fabs(y) <= halfHeight);
            highest = std::max(highest, std::fabs(y));
        }
        QVERIFY(highest > 0.6 * halfHeight || fitted.Z == view.Navigator.NearLimit);
    }

    // Requests made before the event loop runs: the first is drawn, the last
    // waits, the rest are dropped (the core's worker tests check the frames).
    void aNewerRequestReplacesTheOneWaiting()
    {
        TModel model = test::GeneratedModel(Tree), other = test::GeneratedModel({"1", "30", "10", "F", "@"});
        PrepareView(*model.Store);
        PrepareView(*other.Store);
        const TFrameSettings settings{320, 240}; // the pipeline keeps a reference
        TFramePipeline pipeline(settings);
        QSignalSpy frames(&pipeline, &TFramePipeline::FrameReady);
        pipeline.Request(*model.Store, rmWireframe, true);
        pipeline.Request(*model.Store, rmSolidShade, true);
        pipeline.Request(*other.Store, rmSolidShade, false);
        QVERIFY(pipeline.Drawing(*model.Store));
        QTRY_VERIFY_WITH_TIMEOUT(!pipeline.Active(), 10000);
        QCOMPARE(frames.count(), 2);
        QCOMPARE(frames.at(0).at(1).value<const TFaceStore*>(), model.Store.get());
        QCOMPARE(frames.at(1).at(1).value<const TFaceStore*>(), other.Store.get());
    }
};

QTEST_MAIN(TestViewNavigation)
#include "test_view_navigation.moc"
