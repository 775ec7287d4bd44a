// The random generator window and the frame's one-of-each-kind rule, driven without a display.
#include <QtTest>
#include <QtWidgets>
#include <cmath>

#include "engine/random_source.h"
#include "gui/dialog_fixture.h"
#include "gui/editor/editor_window.h"
#include "gui/generators/mutator_dialog.h"
#include "gui/generators/random_dialog.h"
#include "gui/shared/app_state.h"
#include "support/run_cli.h"
#include "support/scripted_dialogs.h"

using namespace verdel;
using verdel::test::TScriptedDialogs;

class TestRandomDialog : public QObject {
    Q_OBJECT

    test::TDialogFixture Fixture;

    TRandom1* OpenRandom(TMainForm& frame) { return Fixture.Open<TRandom1>(frame, &TMainForm::CreateRandomDialog); }
    static void Lock(QCheckBox* box, QLineEdit* edit, const QString& text)
    {
        box->setChecked(true);
        edit->setText(text);
    }

private slots:
    void init() { Fixture.SetUp(); }
    void cleanup() { Fixture.TearDown(); }

    void goUsesTheLockedValuesAsTyped()
    {
        TScriptedDialogs dialogs;
        auto frame = Fixture.MakeFrame();
        TRandom1* random = OpenRandom(*frame);
        Lock(random->IterationsCheckBox, random->IterationsEdit, "2");
        Lock(random->AngleCheckBox, random->AngleEdit, "90"); // never drawn, but accepted
        Lock(random->AxiomCheckBox, random->AxiomEdit, "F[+F]B");
        AppState.CurrentFileName = "before.vd";
        Fixture.Watched = random->BB_Go;
        RandomSource.Seed = 777;
        // Closing from inside the wait (the title bar's close box) is refused until Go is done.
        Fixture.DuringWait = [random] { random->parentWidget()->close(); };
        Fixture.Click(random->BB_Go);

        const QStringList lines = random->Memo1->toPlainText().split('\n');
        QCOMPARE(lines.mid(0, 2), QStringList({"2", "90"}));
        QCOMPARE(lines[3], QString("F[+F]B")); // no shuffle, brackets or turns
        QCOMPARE(lines.back(), QString("@"));
        // The locked edits keep their text.
        QCOMPARE(random->AxiomEdit->text(), QString("F[+F]B"));
        QCOMPARE(random->SeedLabel->text(), QString("Seed: 777"));
        // Randomize moves the bars, never the memo or the locked values.
        const QString text = random->Memo1->toPlainText();
        QTest::mouseClick(random->Button2, Qt::LeftButton);
        QCOMPARE(random->Memo1->toPlainText(), text);
        QCOMPARE(random->AxiomEdit->text(), QString("F[+F]B"));
        const QList<QSlider*> bars = random->findChildren<QSlider*>(QRegularExpression("^TB_"));
        QCOMPARE(bars.size(), 9);
        for (QSlider* bar : bars) QVERIFY2(bar->value() < bar->maximum(), qPrintable(bar->objectName()));

        QVERIFY(dialogs.Messages.empty());
        QCOMPARE(Fixture.Launches.size(), size_t(1));
        QCOMPARE(QString::fromStdString(AppState.CurrentFileName), QString("Random01.vd"));
        // The memo is shown for 250 ms before the model is built; the buttons wait for the viewer.
        QCOMPARE(Fixture.Launches[0].WaitedMs, 250);
        QVERIFY(!Fixture.Launches[0].WatchedEnabled);
        QVERIFY(random->BB_Go->isEnabled() && random->Button1->isEnabled());
        QCOMPARE(frame->ChildCount(), 1);
        random->parentWidget()->close();
        QTRY_COMPARE(frame->ChildCount(), 0);
        QVERIFY(!frame->RandomDialogOpen());
    }

    // Leaving a locked edit checks its range: a value outside is reported and
    // replaced by the lowest, an empty one too; the top of the range is kept.
    void leavingANumericEditChecksItsRange()
    {
        TScriptedDialogs dialogs;
        auto frame = Fixture.MakeFrame();
        TRandom1* random = OpenRandom(*frame);
        frame->show();
        frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame.get()));
        const struct {
            QLineEdit* Edit;
            QCheckBox* Box;
            const char* Typed;
            const char* Message;
            const char* After;
        } rows[] = {
            {random->IterationsEdit, random->IterationsCheckBox, "11",
             "11 is not acceptable\r\nValid entries are 1 thru 10", "1"},
            {random->IterationsEdit, random->IterationsCheckBox, "10", "", "10"},
            {random->RulesEdit, random->RulesCheckBox, "", " is not acceptable\r\nValid entries are 2 thru 12", "2"}};
        for (const auto& row : rows) {
            dialogs.Messages.clear();
            row.Box->setChecked(true);
            row.Edit->setFocus(Qt::MouseFocusReason);
            row.Edit->setText(row.Typed);
            random->AxiomCheckBox->setFocus(Qt::TabFocusReason);
            QCOMPARE(dialogs.Messages,
                     *row.Message ? std::vector<std::string>{row.Message} : std::vector<std::string>{});
            QCOMPARE(row.Edit->text(), QString(row.After));
        }
    }

    void theShownSeedGivesTheBatchToolsText()
    {
        TScriptedDialogs dialogs;
        auto frame = Fixture.MakeFrame();
        TRandom1* random = OpenRandom(*frame);
        random->TB_Rules->setValue(5);
        random->TB_Draw->setValue(4);
        random->TB_Polys->setValue(3);
        random->TB_Interaction->setValue(0);
        Lock(random->IterationsCheckBox, random->IterationsEdit, "3");
        RandomSource.Seed = 12345;
        Fixture.Click(random->BB_Go);
        QCOMPARE(random->SeedLabel->text(), QString("Seed: 12345"));
        const test::TCliRun run =
            test::RunCli({"random", "--seed", "12345", "--bar", "rules=5", "--bar", "draw=4", "--bar", "polys=3",
                          "--bar", "interaction=0", "--lock", "iterations=3"});
        QCOMPARE(run.Exit, 0);
        QCOMPARE(random->Memo1->toPlainText() + "\n", QString::fromStdString(run.Out));
    }

    void saveWritesTheMemoAndAsksBeforeOverwriting()
    {
        TScriptedDialogs dialogs;
        auto frame = Fixture.MakeFrame();
        TRandom1* random = OpenRandom(*frame);
        Lock(random->IterationsCheckBox, random->IterationsEdit, "2");
        RandomSource.Seed = 7;
        Fixture.Click(random->BB_Go);
        const QByteArray expected = test::FileText(random->Memo1->toPlainText());
        const QString target = Fixture.Definitions + "Random01.vd";

        struct {
            const char* Case;
            TAnswer Answer;
            bool Written;
        } const rows[] = {{"no", TAnswer::No, false}, {"cancel", TAnswer::Cancel, false}, {"yes", TAnswer::Yes, true}};
        for (const auto& row : rows) {
            test::WriteFile(target, "old");
            dialogs.FileNames = {target};
            dialogs.Answers = {row.Answer};
            QTest::mouseClick(random->SaveBtn, Qt::LeftButton);
            QCOMPARE(dialogs.SaveProposals.back(), target); // offered every time
            QCOMPARE(QString::fromStdString(dialogs.Questions.back()), "OK to overwrite " + target);
            QVERIFY2(test::ReadFile(target) == (row.Written ? expected : QByteArray("old")), row.Case);
        }
        // A new name is written at once, without an extension added.
        dialogs.FileNames = {Fixture.Definitions + "tree"};
        const size_t questions = dialogs.Questions.size();
        QTest::mouseClick(random->SaveBtn, Qt::LeftButton);
        QCOMPARE(test::ReadFile(Fixture.Definitions + "tree"), expected);
        QCOMPARE(dialogs.Questions.size(), questions);
        QCOMPARE(dialogs.SaveFolders.back(), Fixture.Definitions);

        // Edit: a new editor on a copy of the memo, counted among the child windows.
        QTest::mouseClick(random->EditBtn, Qt::LeftButton);
        TMDIChild* editor = frame->findChild<TMDIChild*>();
        QCOMPARE(editor->Caption(), QString("Random-2.vd*")); // modified
        QCOMPARE(editor->Memo1->toPlainText(), random->Memo1->toPlainText());
    }

    void oneWindowOfEachKind()
    {
        TScriptedDialogs dialogs;
        auto frame = Fixture.MakeFrame();
        auto* randomItem = frame->findChild<QAction*>("RandomGenerator1");
        auto* mutatorItem = frame->findChild<QAction*>("Mutator1");
        auto* randomButton = frame->findChild<QToolButton*>("RandomSpeedButton");
        auto* mutatorButton = frame->findChild<QToolButton*>("MutateSpeedButton");
        QVERIFY(randomItem->isEnabled() && randomButton->isEnabled());

        randomItem->trigger();
        QCOMPARE(frame->ChildCount(), 1);
        QVERIFY(!randomItem->isEnabled() && !randomButton->isEnabled());
        QVERIFY(mutatorItem->isEnabled() && mutatorButton->isEnabled());
        frame->CreateRandomDialog(); // a second request does nothing
        QCOMPARE(frame->ChildCount(), 1);
        QCOMPARE(frame->NewFile()->Caption(), QString("NoName-2.vd"));

        QTest::mouseClick(mutatorButton, Qt::LeftButton);
        QCOMPARE(frame->ChildCount(), 3);
        QVERIFY(!mutatorItem->isEnabled() && !mutatorButton->isEnabled());
        frame->CreateMutateDialog();
        QCOMPARE(frame->ChildCount(), 3);

        // Both windows are 550 x 350, centred in the usable area and 25 lower.
        const QPoint place(int(std::nearbyint((frame->UsableClientWidth - 550) / 2.0)),
                           int(std::nearbyint((frame->UsableClientHeight - 350) / 2.0)) + 25);
        auto* random = frame->findChild<TRandom1*>();
        auto* mutator = frame->findChild<TMutator*>();
        QCOMPARE(random->parentWidget()->geometry(), QRect(place, QSize(550, 350)));
        QCOMPARE(mutator->parentWidget()->geometry(), QRect(place, QSize(550, 350)));
        QTest::mouseClick(random->Button1, Qt::LeftButton);
        QTRY_COMPARE(frame->ChildCount(), 2);
        QTRY_VERIFY(randomItem->isEnabled() && randomButton->isEnabled()); // once the closed window is gone
        QVERIFY(!mutatorItem->isEnabled());
        QTest::mouseClick(mutator->CloseButton, Qt::LeftButton);
        QTRY_COMPARE(frame->ChildCount(), 1);
        QTRY_VERIFY(mutatorItem->isEnabled() && mutatorButton->isEnabled());
    }
};

QTEST_MAIN(TestRandomDialog)
#include "test_random_dialog.moc"
