// The studio: the docked viewer following the active editor, live preview
// driven by hand (no test waits on the clock), the Parameters panel's
// sliders, and the layout kept in the settings file.
#include <QtTest>
#include <QtWidgets>

#include "engine/generation.h"
#include "gui/dialog_fixture.h"
#include "gui/editor/editor_window.h"
#include "gui/editor/parameters_panel.h"
#include "gui/live_preview.h"
#include "gui/main_form.h"
#include "gui/shared/app_state.h"
#include "gui/shared/text_codec.h"
#include "gui/viewer/viewer_window.h"
#include "support/scripted_dialogs.h"

using namespace verdel;

namespace {

const QString Bush = "3\n25\n10\nF\nF=F[+F][-F]F\n@";
const QString Line = "4\n90\n10\nF\nF=FF\n@";

// The number of objects of a text generated directly.
int ObjectsOf(const QString& Text)
{
    return test::GeneratedModel(EngineLines(Text), SolidSettings(AppState.Settings)).ObjectCount;
}

} // namespace

class TestStudio : public QObject {
    Q_OBJECT

    test::TDialogFixture Fixture;
    QString& Path = Fixture.Path;
    std::unique_ptr<test::TScriptedDialogs> Dialogs;

    std::unique_ptr<TMainForm> MakeFrame(bool Resized = true)
    {
        auto frame = std::make_unique<TMainForm>(Path);
        frame->DockViewer(new TViewForm);
        frame->LivePreview->TimersByHand = true;
        if (Resized) frame->resize(1400, 900);
        frame->show();
        return frame;
    }
    // The editor in front, with Text typed and its pause over.
    static TMDIChild* Editor(TMainForm& frame, const QString& Text)
    {
        TMDIChild* editor = frame.NewFile();
        frame.MdiArea->setActiveSubWindow(editor->SubWindow());
        editor->Memo1->setPlainText(Text);
        Regenerate(frame);
        return editor;
    }
    static void Regenerate(TMainForm& frame)
    {
        frame.LivePreview->PauseOver();
        frame.LivePreview->Settle();
    }

private slots:
    void init()
    {
        Dialogs.reset();
        Fixture.SetUp();
        Dialogs = std::make_unique<test::TScriptedDialogs>();
    }

    void aBurstOfKeystrokesGeneratesOnceAfterThePauseAndKeepsTheView()
    {
        auto frame = MakeFrame();
        TMDIChild* editor = Editor(*frame, Bush);
        TViewForm& view = *frame->ViewForm;
        // The user turns and moves the model.
        TRotation turn;
        turn.M = {{{0, 0, 1}, {0, 1, 0}, {-1, 0, 0}}};
        ApplyRotation(*view.Model.Store, turn);
        view.Model.Store->TranslateX += 7;
        const TModelPose before = view.CurrentPose();

        const int started = frame->LivePreview->Started();
        QTextCursor end(editor->Memo1->document());
        end.movePosition(QTextCursor::End);
        end.movePosition(QTextCursor::Up); // the rule line
        end.movePosition(QTextCursor::EndOfLine);
        editor->Memo1->setTextCursor(end);
        QTest::keyClicks(editor->Memo1, "[&F]F");
        QVERIFY(frame->LivePreview->Waiting());
        QCOMPARE(frame->LivePreview->Started(), started); // nothing before the pause
        Regenerate(*frame);
        QCOMPARE(frame->LivePreview->Started(), started + 1);
        QVERIFY(view.Model.ObjectCount == ObjectsOf(editor->Memo1->toPlainText()) &&
                view.Model.ObjectCount > ObjectsOf(Bush));

        // The new model stands where the old one stood, turned the same way.
        const TModelPose after = view.CurrentPose();
        QCOMPARE(after.X, before.X);
        QCOMPARE(after.Z, before.Z);
        const TModel fresh =
            test::GeneratedModel(EngineLines(editor->Memo1->toPlainText()), SolidSettings(AppState.Settings));
        const TVector expected = before.Turn.Apply(fresh.Store->Object(fresh.ObjectCount).ModelFaces->Corners[0]);
        const TVector got = view.Model.Store->Object(fresh.ObjectCount).ModelFaces->Corners[0];
        QVERIFY(Length(got - expected) < 1e-3f * (1 + Length(expected)));
    }

    void anInvalidChangeKeepsTheLastModelAndMarksItsLine()
    {
        auto frame = MakeFrame();
        TMDIChild* editor = Editor(*frame, Bush);
        const int objects = frame->ViewForm->Model.ObjectCount;
        editor->Memo1->setPlainText("3\n25\n10\n\nF=F[+F][-F]F\n@"); // the axiom line left blank
        Regenerate(*frame);
        QVERIFY(Dialogs->Messages.empty() && Dialogs->Errors.empty()); // no box in live mode
        QCOMPARE(frame->ViewForm->Model.ObjectCount, objects);
        QCOMPARE(editor->Memo1->FaultLine(), 4);
        QVERIFY(frame->ViewForm->WarningPanel->text().contains("Line 4"));

        editor->Memo1->setPlainText(Line);
        Regenerate(*frame);
        QCOMPARE(editor->Memo1->FaultLine(), 0);
        QCOMPARE(frame->ViewForm->Model.ObjectCount, ObjectsOf(Line));
    }

    void aSliderDragRewritesItsLineOnceAsOneUndoStep()
    {
        auto frame = MakeFrame();
        const QString text = "#extended\n#define a 30 [10, 90]\n#define n 3\n3\na\n10\nF\nF --> F[+F][-F]F\n@";
        TMDIChild* editor = Editor(*frame, text);
        QSlider* slider = frame->ParametersPanel->Slider("a");
        QCOMPARE(slider->value(), 250);

        slider->setSliderDown(true);
        for (const int position : {300, 400, 500}) slider->setValue(position);
        slider->setSliderDown(false);
        QCOMPARE(editor->Memo1->document()->findBlockByNumber(1).text(), QString("#define a 50 [10, 90]"));
        QCOMPARE(frame->LivePreview->Started(), 1 + 3); // each value is drawn as the slider moves
        frame->LivePreview->Settle();
        QCOMPARE(frame->ViewForm->Model.DefinitionText.find("#define a 50"), size_t(10));

        // One undo takes the whole drag back, and the slider follows the text.
        editor->Memo1->undo();
        QCOMPARE(editor->Memo1->toPlainText(), text);
        QCOMPARE(slider->value(), 250);
    }

    void switchingEditorsSwitchesModelsAndTheirViews()
    {
        auto frame = MakeFrame();
        TMDIChild* bush = Editor(*frame, Bush);
        TViewForm& view = *frame->ViewForm;
        view.Model.Store->TranslateY += 3;
        const float bushY = view.Model.Store->TranslateY;
        TMDIChild* line = Editor(*frame, Line);
        QCOMPARE(view.Owner(), static_cast<const void*>(line));
        QCOMPARE(view.Model.ObjectCount, ObjectsOf(Line));

        frame->MdiArea->setActiveSubWindow(bush->SubWindow());
        QCOMPARE(view.Owner(), static_cast<const void*>(bush));
        QCOMPARE(view.Model.ObjectCount, ObjectsOf(Bush));
        QCOMPARE(view.Model.Store->TranslateY, bushY);

        // A change in the editor behind keeps its model for when it comes to the front.
        line->Memo1->setPlainText("2\n90\n10\nF\nF=FF\n@");
        Regenerate(*frame);
        QCOMPARE(view.Owner(), static_cast<const void*>(bush));
        frame->MdiArea->setActiveSubWindow(line->SubWindow());
        QCOMPARE(view.Model.ObjectCount, ObjectsOf("2\n90\n10\nF\nF=FF\n@"));
    }

    // The frame's place, the docks, the render mode and live preview come back
    // from the settings file, whose own lines stay.
    void theLayoutRoundTripsThroughTheSettingsFile()
    {
        test::WriteFile(Path + "Verdel5.ini", "; the user's own line\r\n[Startup]\r\nShowStartText=0\r\n");
        {
            auto frame = MakeFrame();
            QVERIFY(frame->LivePreview->Enabled()); // on by default
            frame->showNormal();
            frame->setGeometry(60, 70, 900, 640);
            frame->addDockWidget(Qt::BottomDockWidgetArea, frame->ViewerDock);
            frame->ParametersDock->hide();
            frame->LivePreviewItem->trigger();
            AppState.Settings.Layout.RenderMode = rmSolidShade;
            QVERIFY(frame->close());
        }
        const QByteArray saved = test::ReadFile(Path + "Verdel5.ini");
        QVERIFY(saved.startsWith("; the user's own line\r\n[Startup]\r\n"));
        QVERIFY(saved.contains("LivePreview=0"));
        Dialogs.reset();
        ResetAppState();
        Dialogs = std::make_unique<test::TScriptedDialogs>();
        auto frame = MakeFrame(false);
        QCOMPARE(frame->geometry(), QRect(60, 70, 900, 640));
        QVERIFY(!frame->LivePreviewItem->isChecked() && !frame->LivePreview->Enabled());
        QCOMPARE(frame->dockWidgetArea(frame->ViewerDock), Qt::BottomDockWidgetArea);
        QVERIFY(frame->ParametersDock->isHidden());
        QCOMPARE(AppState.Settings.Layout.RenderMode, int(rmSolidShade));
        QVERIFY(Dialogs->Messages.empty());
    }
};

QTEST_MAIN(TestStudio)
#include "test_studio.moc"
