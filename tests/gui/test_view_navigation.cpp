// The viewer's mouse, wheel and keys against its buttons, its tooltips, and
// frames drawn off the GUI thread.
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QToolButton>
#include <QWheelEvent>
#include <QtTest>
#include <cstring>
#include <functional>

#include "engine/generation.h"
#include "gui/shared/app_state.h"
#include "gui/viewer/frame_pipeline.h"
#include "gui/viewer/picture_widget.h"
#include "gui/viewer/viewer_window.h"
#include "support/scripted_dialogs.h"
#include "viewer/view_preparation.h"

using namespace verdel;
using verdel::test::TScriptedDialogs;

namespace {

const TLines Tree = {"2", "30", "10", "F", "F=F[&F]>>[+F]", "@"};

// The viewer takes the model of Lines over, as from a window that generated it.
void Generate(TViewForm& view, const TLines& lines)
{
    verdel::test::TScriptedPrompt prompt;
    prompt.Answers = {TAnswer::Yes};
    TModel model;
    GenerateModel(lines, TSolidSettings{}, prompt, RandomSource, TCancelToken(), model);
    view.TakeModel(std::move(model));
}

bool Idle(TViewForm& view) { return !view.Frames->Active() && view.StatusPanels[0]->text() == "Rendering Complete"; }

// What a navigation leaves in the model: every vertex and the translation.
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

bool SameFrame(const TDIB16bit& a, const TDIB16bit& b)
{
    return a.Width() == b.Width() && a.Height() == b.Height() &&
           std::memcmp(a.Bits(), b.Bits(), static_cast<size_t>(a.Stride()) * a.Height()) == 0;
}

void Wheel(QWidget* widget, int delta)
{
    const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
    QWheelEvent event(at, widget->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

} // namespace

class TestViewNavigation : public QObject {
    Q_OBJECT

    TOutcome Untouched; // the tree after a view with no navigation
    // Opens the viewer on the tree with the box (timers by hand), runs Drive,
    // lets the pause run out and reports the model after the final render.
    TOutcome Navigate(const std::function<void(TViewForm&)>& drive)
    {
        TViewForm view;
        view.TimersByHand = true;
        Generate(view, Tree);
        view.show();
        if (!QTest::qWaitForWindowActive(&view)) return {};
        if (!QTest::qWaitFor([&] { return Idle(view); }, 10000)) return {};
        drive(view);
        view.Timer1Timer();
        if (!QTest::qWaitFor([&] { return Idle(view); }, 10000)) return {};
        const TOutcome outcome = Current(view);
        view.close();
        return outcome;
    }

    static void Hold(TViewForm& view, const char* button, int steps, Qt::KeyboardModifiers modifiers = {})
    {
        auto* widget = view.findChild<QToolButton*>(button);
        QTest::mousePress(widget, Qt::LeftButton, modifiers);
        for (int i = 1; i < steps; ++i) view.SpinTimerTimer();
        QTest::mouseRelease(widget, Qt::LeftButton, modifiers);
    }

    static void Drag(TViewForm& view, Qt::MouseButton button, QPoint by)
    {
        QWidget* picture = view.GMP1;
        const QPoint start(picture->width() / 2, picture->height() / 2);
        QTest::mousePress(picture, button, {}, start);
        const int n = std::max(std::abs(by.x()), std::abs(by.y()));
        for (int i = 1; i <= n; ++i) QTest::mouseMove(picture, start + by * i / n);
        QTest::mouseRelease(picture, button, {}, start + by);
    }

    // Holds Key for Steps steps, the key sent to whatever Target is (a key acts wherever the focus is).
    static void HoldKey(TViewForm& view, QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers, int steps)
    {
        QTest::keyPress(target, key, modifiers);
        for (int i = 1; i < steps; ++i) view.SpinTimerTimer();
        QTest::keyRelease(target, key, modifiers);
    }

private slots:
    void init()
    {
        ResetAppState();
        AppState.Settings.LiveNavigation = false; // each row below compares with the box; live steps are the core's
    }

    void mouseWheelAndKeysStepLikeTheButtons_data()
    {
        QTest::addColumn<int>("row");
        // One of each: the core's pointer tests hold every other drag, wheel and key.
        const char* names[] = {"left drag left", "wheel forward", "Left key"};
        for (int row = 0; row < int(std::size(names)); ++row) QTest::newRow(names[row]) << row;
    }

    void mouseWheelAndKeysStepLikeTheButtons()
    {
        QFETCH(int, row);
        TScriptedDialogs dialogs;
        using TDrive = std::function<void(TViewForm&)>;
        auto radio = [](TViewForm& view) { return view.findChild<QRadioButton*>("SolidShade_RB"); };
        const std::pair<TDrive, TDrive> rows[] = {
            {[](TViewForm& v) { Drag(v, Qt::LeftButton, {-12, 0}); }, [](TViewForm& v) { Hold(v, "Left_AB", 3); }},
            {[](TViewForm& v) { Wheel(v.GMP1, 240); }, [](TViewForm& v) { Hold(v, "MoveForward_BB", 2); }},
            {[&](TViewForm& v) { HoldKey(v, radio(v), Qt::Key_Left, {}, 3); },
             [](TViewForm& v) { Hold(v, "Left_AB", 3); }},
        };
        if (Untouched.Corners.empty()) Untouched = Navigate([](TViewForm&) {});
        const TOutcome& untouched = Untouched;
        const TOutcome byEvents = Navigate(rows[row].first);
        const TOutcome byButtons = Navigate(rows[row].second);
        QVERIFY(!untouched.Corners.empty());
        QVERIFY(byEvents == byButtons);
        QVERIFY(!(byEvents == untouched));
    }

    void homeAndFitKeys()
    {
        TScriptedDialogs dialogs;
        TViewForm view;
        view.TimersByHand = true;
        Generate(view, Tree);
        view.show();
        QVERIFY(QTest::qWaitForWindowActive(&view));
        QTRY_VERIFY_WITH_TIMEOUT(Idle(view), 10000);
        const TOutcome first = Current(view);
        Drag(view, Qt::LeftButton, {30, -20});
        Wheel(view.GMP1, -360);
        view.Timer1Timer();
        QTRY_VERIFY_WITH_TIMEOUT(Idle(view), 10000);
        QVERIFY(!(Current(view) == first));
        QTest::keyClick(view.GMP1, Qt::Key_Home);
        QTRY_VERIFY_WITH_TIMEOUT(Idle(view), 10000);
        QVERIFY(Current(view) == first);

        // Far away first, then F: every corner lands inside the picture.
        Wheel(view.GMP1, -120 * 40);
        view.Timer1Timer();
        QTRY_VERIFY_WITH_TIMEOUT(Idle(view), 10000);
        QTest::keyClick(view.GMP1, Qt::Key_F);
        QTRY_VERIFY_WITH_TIMEOUT(Idle(view), 10000);
        const TOutcome fitted = Current(view);
        QVERIFY(fitted.Corners == first.Corners); // fitting moves, never turns
        const double halfWidth = view.GMP1->Settings.Width / 2.0, halfHeight = view.GMP1->Settings.Height / 2.0;
        double highest = 0;
        for (const TVector& c : fitted.Corners) {
            const double z = c.Z + fitted.Z;
            QVERIFY(z < 0);
            QVERIFY(std::fabs(TGMP::FocalLength * (c.X + fitted.X) / z) <= halfWidth);
            QVERIFY(std::fabs(TGMP::FocalLength * (c.Y + fitted.Y) / z) <= halfHeight);
            highest = std::max(highest, std::fabs(TGMP::FocalLength * (c.Y + fitted.Y) / z));
        }
        // The tree is tall: it nearly fills the picture's height (or stops at the near limit).
        QVERIFY(highest > 0.6 * halfHeight || fitted.Z == view.Navigator.NearLimit);
    }

    void everyNavigationButtonSaysWhatItDoesAndItsKey()
    {
        TViewForm view;
        const std::pair<const char*, const char*> rows[] = {
            {"MoveUp_AB", "Shift+Up"},
            {"MoveDown_AB", "Shift+Down"},
            {"MoveLeft_AB", "Shift+Left"},
            {"MoveRight_AB", "Shift+Right"},
            {"MoveForward_BB", "Page Up"},
            {"MoveBack_BT", "Page Down"},
            {"Down_AB", "(Down"},
            {"Up_AB", "(Up"},
            {"Left_AB", "(Left"},
            {"Right_AB", "(Right"},
            {"RollUp_BT", ">"},
            {"RollDown_BT", "<"},
        };
        for (const auto& [name, key] : rows) {
            const QString tip = view.findChild<QToolButton*>(name)->toolTip();
            QVERIFY2(tip.contains(key), name);
            QVERIFY2(tip.startsWith("Move") || tip.startsWith("Turn") || tip.startsWith("Roll"), name);
        }
    }

    void framesAreDrawnOffTheGuiThreadAndShownWhenReady()
    {
        TScriptedDialogs dialogs;
        TViewForm view;
        Generate(view, Tree);
        view.show();
        QVERIFY(QTest::qWaitForWindowActive(&view));
        QTRY_VERIFY_WITH_TIMEOUT(Idle(view), 10000);
        QSignalSpy frames(view.Frames, &TFramePipeline::FrameReady);

        // The request returns at once; the frame arrives through the event loop.
        view.SolidShade_RB->click();
        QVERIFY(view.Frames->Active());
        QCOMPARE(view.StatusPanels[0]->text(), QString("Starting Rendering..."));
        QCOMPARE(frames.count(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(Idle(view), 10000);
        QVERIFY(frames.count() >= 1);

        // The picture on screen is the frame this thread would have drawn.
        TGMP direct;
        ApplyFrameSettings(view.GMP1->Settings, direct);
        UseViewerLight(direct);
        QCOMPARE(direct.RenderMode, rmSolidShade);
        direct.ClearToBackColor();
        direct.RenderScene(*view.Model.Store);
        QVERIFY(SameFrame(view.GMP1->Frame(), direct.Bitmap()));
        view.close();
    }

    void aNewerRequestReplacesTheOneWaiting()
    {
        auto model = std::make_unique<TFaceStore>();
        auto other = std::make_unique<TFaceStore>();
        {
            verdel::test::TScriptedPrompt prompt;
            prompt.Answers = {TAnswer::Yes, TAnswer::Yes};
            auto state = std::make_unique<TDefinitionState>();
            GenerateModel(Tree, TSolidSettings{}, prompt, *state, *model, RandomSource);
            GenerateModel({"1", "30", "10", "F", "@"}, TSolidSettings{}, prompt, *state, *other, RandomSource);
            PrepareView(*model);
            PrepareView(*other);
        }
        const TFrameSettings settings{320, 240};
        TFramePipeline pipeline(settings);
        QSignalSpy frames(&pipeline, &TFramePipeline::FrameReady);
        // Five requests before the event loop runs: the first is drawn, the last waits, the rest are dropped.
        pipeline.Request(*model, rmWireframe, true);
        pipeline.Request(*model, rmSolidShade, true);
        pipeline.Request(*other, rmWireframe, false);
        pipeline.Request(*model, rmWireframe, true);
        pipeline.Request(*other, rmSolidShade, false);
        QVERIFY(pipeline.Drawing(*model));
        QTRY_VERIFY_WITH_TIMEOUT(!pipeline.Active(), 10000);
        QCOMPARE(pipeline.FramesShown(), 2);
        QCOMPARE(frames.count(), 2);
        QCOMPARE(frames.at(0).at(1).value<const TFaceStore*>(), model.get());
        QCOMPARE(frames.at(1).at(1).value<const TFaceStore*>(), other.get());

        // The last frame shown is the last request: the other model, solid.
        TGMP window;
        ApplyFrameSettings(settings, window);
        window.RenderMode = rmSolidShade;
        UseViewerLight(window);
        window.ClearToBackColor();
        window.RenderScene(*other);
        pipeline.Request(*other, rmSolidShade, false);
        TDIB16bit shown;
        connect(&pipeline, &TFramePipeline::FrameReady, this, [&](const TDIB16bit& frame) {
            shown.Create(frame.Width(), frame.Height());
            std::memcpy(shown.Bits(), frame.Bits(), static_cast<size_t>(frame.Stride()) * frame.Height());
        });
        QTRY_VERIFY_WITH_TIMEOUT(!pipeline.Active(), 10000);
        QVERIFY(SameFrame(shown, window.Bitmap()));
    }
};

QTEST_MAIN(TestViewNavigation)
#include "test_view_navigation.moc"
