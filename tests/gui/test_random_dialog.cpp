// The random generator window and the frame's one-of-each-kind rule, driven without a display.
#include <QtTest>
#include <QtWidgets>

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

    static TRandom1* OpenRandom(TMainForm& frame) { return frame.CreateRandomDialog(), frame.findChild<TRandom1*>(); }
    static void Lock(QCheckBox* box, QLineEdit* edit, const QString& text)
    {
        box->setChecked(true);
        edit->setText(text);
    }

private slots:
    void init() { Fixture.SetUp(); }
    void cleanup() { Fixture.TearDown(); }

    void goUsesTheLockedValuesAsTypedAndLeavingOneChecksItsRange()
    {
        TScriptedDialogs dialogs;
        auto frame = Fixture.MakeFrame();
        TRandom1* random = OpenRandom(*frame);
        frame->show();
        frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame.get()));
        // Leaving a locked edit checks its range (the generator's tests hold the ranges).
        Lock(random->IterationsCheckBox, random->IterationsEdit, "");
        random->IterationsEdit->setFocus(Qt::MouseFocusReason);
        random->IterationsEdit->setText("11");
        random->AxiomCheckBox->setFocus(Qt::TabFocusReason);
        QCOMPARE(dialogs.Messages, std::vector<std::string>{"11 is not acceptable\r\nValid entries are 1 thru 10"});
        QCOMPARE(random->IterationsEdit->text(), QString("1"));
        dialogs.Messages.clear();

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
        QCOMPARE(random->SeedLabel->text(), QString("Seed: 777"));
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

    void theShownSeedGivesTheBatchToolsTextAndSaveWritesIt()
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

        // Save writes the memo, asking before it overwrites a file.
        const QByteArray expected = test::FileText(random->Memo1->toPlainText());
        const QString target = Fixture.Definitions + "Random01.vd";

        for (const TAnswer answer : {TAnswer::No, TAnswer::Cancel, TAnswer::Yes}) {
            test::WriteFile(target, "old");
            dialogs.FileNames = {target};
            dialogs.Answers = {answer};
            QTest::mouseClick(random->SaveBtn, Qt::LeftButton);
            QCOMPARE(dialogs.SaveProposals.back(), target); // offered every time
            QCOMPARE(QString::fromStdString(dialogs.Questions.back()), "OK to overwrite " + target);
            QCOMPARE(test::ReadFile(target), answer == TAnswer::Yes ? expected : QByteArray("old"));
        }
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
        randomItem->trigger();
        QCOMPARE(frame->ChildCount(), 1);
        QVERIFY(!randomItem->isEnabled() && !randomButton->isEnabled());
        QVERIFY(mutatorItem->isEnabled() && mutatorButton->isEnabled());
        frame->CreateRandomDialog(); // a second request does nothing
        QCOMPARE(frame->ChildCount(), 1);
        QTest::mouseClick(mutatorButton, Qt::LeftButton);
        QCOMPARE(frame->ChildCount(), 2);
        QVERIFY(!mutatorItem->isEnabled() && !mutatorButton->isEnabled());

        QTest::mouseClick(frame->findChild<TRandom1*>()->Button1, Qt::LeftButton);
        QTRY_COMPARE(frame->ChildCount(), 1);
        QTRY_VERIFY(randomItem->isEnabled() && randomButton->isEnabled()); // once the closed window is gone
        QVERIFY(!mutatorItem->isEnabled());
    }
};

QTEST_MAIN(TestRandomDialog)
#include "test_random_dialog.moc"
