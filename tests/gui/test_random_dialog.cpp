// The random generator window and the frame's one-of-each-kind rule, driven without a display.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QSlider>
#include <QToolButton>
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
        // The drawn values show in their edits; the locked ones keep their text.
        QCOMPARE(random->ThicknessEdit->text(), lines[2]);
        QCOMPARE(random->RulesEdit->text(), QString::number(lines.size() - 5));
        QCOMPARE(random->AxiomEdit->text(), QString("F[+F]B"));
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

    void goStopsAtALockedEditThatIsNotANumber()
    {
        TScriptedDialogs dialogs;
        auto frame = Fixture.MakeFrame();
        TRandom1* random = OpenRandom(*frame);
        random->RulesCheckBox->setChecked(true); // its edit left empty, never left
        QVERIFY(random->RulesEdit->isEnabled());
        Fixture.Click(random->BB_Go);
        QCOMPARE(dialogs.Messages, std::vector<std::string>{"'' is not a valid integer value"});
        QCOMPARE(random->Memo1->toPlainText(), QString());
        QVERIFY(Fixture.Launches.empty());
        QVERIFY(random->BB_Go->isEnabled());

        random->RulesCheckBox->setChecked(false);
        QVERIFY(!random->RulesEdit->isEnabled());
    }

    void leavingANumericEditChecksItsRange_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("after");
        const QString valid = " is not acceptable\r\nValid entries are ";
        QTest::newRow("iterations above") << "IterationsEdit"
                                          << "11"
                                          << "11" + valid + "1 thru 10"
                                          << "1";
        QTest::newRow("iterations top") << "IterationsEdit"
                                        << "10"
                                        << ""
                                        << "10";
        QTest::newRow("angle zero") << "AngleEdit"
                                    << "0"
                                    << "0" + valid + "1 thru 90"
                                    << "1";
        QTest::newRow("angle top") << "AngleEdit"
                                   << "90"
                                   << ""
                                   << "90";
        QTest::newRow("thickness text") << "ThicknessEdit"
                                        << "abc"
                                        << "abc" + valid + "10 thru 200"
                                        << "10";
        QTest::newRow("thickness low") << "ThicknessEdit"
                                       << "10"
                                       << ""
                                       << "10";
        QTest::newRow("rules above") << "RulesEdit"
                                     << "13"
                                     << "13" + valid + "2 thru 12"
                                     << "2";
        QTest::newRow("rules empty") << "RulesEdit"
                                     << "" << valid + "2 thru 12"
                                     << "2";
    }

    void leavingANumericEditChecksItsRange()
    {
        QFETCH(QString, edit);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(QString, after);
        TScriptedDialogs dialogs;
        auto frame = Fixture.MakeFrame();
        TRandom1* random = OpenRandom(*frame);
        frame->show();
        frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame.get()));

        auto* field = random->findChild<QLineEdit*>(edit);
        random->findChild<QCheckBox*>(QString(edit).replace("Edit", "CheckBox"))->setChecked(true);
        field->setFocus(Qt::MouseFocusReason);
        QVERIFY(field->hasFocus());
        field->setText(typed);
        QVERIFY(dialogs.Messages.empty());
        random->AxiomCheckBox->setFocus(Qt::TabFocusReason);
        QVERIFY(random->AxiomCheckBox->hasFocus());

        QCOMPARE(dialogs.Messages.size(), size_t(message.isEmpty() ? 0 : 1));
        if (!message.isEmpty()) QCOMPARE(QString::fromStdString(dialogs.Messages[0]), message);
        QCOMPARE(field->text(), after);
    }

    void randomizeMovesTheBarsButNeverTheMemo()
    {
        TScriptedDialogs dialogs;
        auto frame = Fixture.MakeFrame();
        TRandom1* random = OpenRandom(*frame);
        Lock(random->IterationsCheckBox, random->IterationsEdit, "2");
        RandomSource.Seed = 6;
        Fixture.Click(random->BB_Go);
        const QString text = random->Memo1->toPlainText();
        const QString axiom = random->AxiomEdit->text();
        QVERIFY(!text.isEmpty());

        const QList<QSlider*> bars = random->findChildren<QSlider*>(QRegularExpression("^TB_"));
        QCOMPARE(bars.size(), 9);
        for (int round = 0; round < 2; ++round) {
            QTest::mouseClick(random->Button2, Qt::LeftButton);
            QCOMPARE(random->Memo1->toPlainText(), text);
            QCOMPARE(random->AxiomEdit->text(), axiom);
            QCOMPARE(random->IterationsEdit->text(), QString("2"));
            for (QSlider* bar : bars) QVERIFY2(bar->value() < bar->maximum(), qPrintable(bar->objectName()));
        }
        QCOMPARE(Fixture.Launches.size(), size_t(1));
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
        const QByteArray expected = Fixture.FileText(random->Memo1->toPlainText());
        const QString target = Fixture.Definitions + "Random01.vd";

        struct {
            const char* Case;
            TAnswer Answer;
            bool Written;
        } const rows[] = {{"no", TAnswer::No, false}, {"cancel", TAnswer::Cancel, false}, {"yes", TAnswer::Yes, true}};
        for (const auto& row : rows) {
            Fixture.WriteFile(target, "old");
            dialogs.FileNames = {target};
            dialogs.Answers = {row.Answer};
            QTest::mouseClick(random->SaveBtn, Qt::LeftButton);
            QCOMPARE(dialogs.SaveProposals.back(), target); // offered every time
            QCOMPARE(QString::fromStdString(dialogs.Questions.back()), "OK to overwrite " + target);
            QVERIFY2(Fixture.ReadFile(target) == (row.Written ? expected : QByteArray("old")), row.Case);
        }
        // A new name is written at once, without an extension added.
        dialogs.FileNames = {Fixture.Definitions + "tree"};
        const size_t questions = dialogs.Questions.size();
        QTest::mouseClick(random->SaveBtn, Qt::LeftButton);
        QCOMPARE(Fixture.ReadFile(Fixture.Definitions + "tree"), expected);
        QCOMPARE(dialogs.Questions.size(), questions);
        QCOMPARE(dialogs.SaveFolders.back(), Fixture.Definitions);

        // Edit: a new editor on a copy of the memo, counted among the child windows.
        QTest::mouseClick(random->EditBtn, Qt::LeftButton);
        TMDIChild* editor = frame->findChild<TMDIChild*>();
        QCOMPARE(editor->Caption(), QString("Random-2.vd*")); // modified
        QCOMPARE(editor->Memo1->toPlainText(), random->Memo1->toPlainText());
        QVERIFY(editor->Memo1->document()->isModified());
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
        for (QWidget* dialog : {static_cast<QWidget*>(random), static_cast<QWidget*>(mutator)}) {
            QCOMPARE(dialog->parentWidget()->geometry(), QRect(place, QSize(550, 350)));
            QVERIFY(!(dialog->parentWidget()->windowFlags() & Qt::WindowMaximizeButtonHint));
        }
        QCOMPARE(random->parentWidget()->windowTitle(), QString("Random Generator"));
        QCOMPARE(mutator->parentWidget()->windowTitle(), QString("Mutator"));

        QTest::mouseClick(random->Button1, Qt::LeftButton);
        QTRY_COMPARE(frame->ChildCount(), 2);
        QTRY_VERIFY(randomItem->isEnabled() && randomButton->isEnabled()); // once the closed window is gone
        QVERIFY(!mutatorItem->isEnabled());
        QTest::mouseClick(mutator->CloseButton, Qt::LeftButton);
        QTRY_COMPARE(frame->ChildCount(), 1);
        QTRY_VERIFY(mutatorItem->isEnabled() && mutatorButton->isEnabled());

        randomButton->click();
        QCOMPARE(frame->ChildCount(), 2);
        QVERIFY(!randomButton->isEnabled());
    }
};

QTEST_MAIN(TestRandomDialog)
#include "test_random_dialog.moc"
