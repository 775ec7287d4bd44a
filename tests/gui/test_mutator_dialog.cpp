// The mutator window, driven without a display.
#include <QtTest>
#include <QtWidgets>

#include "engine/random_source.h"
#include "gui/dialog_fixture.h"
#include "gui/generators/mutator_dialog.h"
#include "gui/shared/app_state.h"
#include "support/run_cli.h"
#include "support/scripted_dialogs.h"

using namespace verdel;
using verdel::test::TScriptedDialogs;

namespace {

const QString Bush = "# a small bush\n3\n30\n20\nF\nF=F[+F]F[-F&F]c\n@";

QColor TextColor(const QLabel* label) { return label->palette().color(QPalette::WindowText); }

} // namespace

class TestMutatorDialog : public QObject {
    Q_OBJECT

    test::TDialogFixture Fixture;

    TMutator* OpenMutator(TMainForm& frame) { return Fixture.Open<TMutator>(frame, &TMainForm::CreateMutateDialog); }
    static void Mutate(TMutator* mutator) { QTest::mouseClick(mutator->MutateButton, Qt::LeftButton); }

private slots:
    void init() { Fixture.SetUp(); }
    void cleanup() { Fixture.TearDown(); }

    void radiationTenChangesEveryKind()
    {
        TScriptedDialogs dialogs;
        auto frame = Fixture.MakeFrame();
        TMutator* mutator = OpenMutator(*frame);
        const QList<QLabel*> labels = {mutator->RecursionLabel, mutator->AngleLabel,     mutator->ThicknessLabel,
                                       mutator->DeletionsLabel, mutator->AdditionsLabel, mutator->SubstitutionsLabel};
        for (QLabel* label : labels) QCOMPARE(TextColor(label), QColor(Qt::black));
        QVERIFY(!mutator->RejectButton->isEnabled());
        QCOMPARE(mutator->RadiationTrackBar->value(), 2);

        mutator->Memo1->setPlainText("8\n40\n60\nF\nF=FF[+F][-F]\n@");
        RandomSource.Seed = 1;
        mutator->RadiationTrackBar->setValue(10);
        for (int round = 0; round < 5; ++round) {
            Mutate(mutator);
            for (QLabel* label : labels) QVERIFY2(TextColor(label) == QColor(Qt::red), qPrintable(label->objectName()));
        }
        QVERIFY(mutator->RejectButton->isEnabled());

        // At the lowest radiation most kinds miss: each label shows whether its kind happened.
        mutator->RadiationTrackBar->setValue(0);
        Mutate(mutator);
        for (int kind = 0; kind < MutationKindCount; ++kind)
            QCOMPARE(TextColor(labels[kind]), QColor(mutator->Mutator.Changed[kind] ? Qt::red : Qt::black));
        QVERIFY(dialogs.Messages.empty());
    }

    void theShownSeedGivesTheBatchToolsMutation()
    {
        TScriptedDialogs dialogs;
        auto frame = Fixture.MakeFrame();
        TMutator* mutator = OpenMutator(*frame);
        test::WriteFile(Fixture.Path + "bush.vd", Bush.toLatin1());
        mutator->Memo1->setPlainText(Bush);
        mutator->RadiationTrackBar->setValue(8);
        mutator->AdditionsTrackBar->setValue(3);
        RandomSource.Seed = 4242;
        Mutate(mutator);
        QCOMPARE(mutator->SeedLabel->text(), QString("Seed: 4242"));
        const test::TCliRun run = test::RunCli({"mutate", (Fixture.Path + "bush.vd").toStdString(), "--seed", "4242",
                                                "--bar", "radiation=8", "--bar", "additions=3"});
        QCOMPARE(run.Exit, 0);
        QCOMPARE(mutator->Memo1->toPlainText() + "\n", QString::fromStdString(run.Out));
    }

    void undoLastGoesBackOneMutateOnly()
    {
        TScriptedDialogs dialogs;
        auto frame = Fixture.MakeFrame();
        TMutator* mutator = OpenMutator(*frame);
        mutator->RadiationTrackBar->setValue(10);
        mutator->Memo1->setPlainText(Bush);
        RandomSource.Seed = 2;
        Mutate(mutator);
        const QString first = mutator->Memo1->toPlainText();
        QVERIFY(first != Bush);

        // The user's edit between presses is what the next Mutate changes and Undo Last restores.
        const QString edited = "# edited\n" + first;
        mutator->Memo1->setPlainText(edited);
        Mutate(mutator);
        QVERIFY(mutator->Memo1->toPlainText() != edited);
        QTest::mouseClick(mutator->RejectButton, Qt::LeftButton);
        QCOMPARE(mutator->Memo1->toPlainText(), edited);
        QVERIFY(!mutator->RejectButton->isEnabled());
    }

    void invalidTextIsReportedByMutateAndView()
    {
        TScriptedDialogs dialogs;
        auto frame = Fixture.MakeFrame();
        TMutator* mutator = OpenMutator(*frame);
        mutator->Memo1->setPlainText(Bush);
        Mutate(mutator);

        mutator->Memo1->setPlainText("");
        Mutate(mutator);
        QCOMPARE(dialogs.Messages.back(), std::string("Please Check Input Data\r\nBlank File"));
        QCOMPARE(mutator->Memo1->toPlainText(), QString());
        QVERIFY(mutator->RejectButton->isEnabled()); // keeps its state
        QTest::mouseClick(mutator->ViewButton, Qt::LeftButton);
        QCOMPARE(dialogs.Messages.size(), size_t(2));
        QVERIFY(Fixture.Launches.empty());
        QTest::mouseClick(mutator->RejectButton, Qt::LeftButton);
        QCOMPARE(mutator->Memo1->toPlainText(), Bush);

        // View shows the memo without naming it, the buttons waiting for the viewer.
        AppState.CurrentFileName = "kept.vd";
        Fixture.Watched = mutator->MutateButton;
        Fixture.Click(mutator->ViewButton);
        QCOMPARE(Fixture.Launches.size(), size_t(1));
        QVERIFY(!Fixture.Launches[0].WatchedEnabled && mutator->MutateButton->isEnabled());
        QCOMPARE(QString::fromStdString(AppState.CurrentFileName), QString("kept.vd"));
    }

    void loadAndSaveUseTheFilesName()
    {
        TScriptedDialogs dialogs;
        auto frame = Fixture.MakeFrame();
        TMutator* mutator = OpenMutator(*frame);
        const QString bush = Fixture.Definitions + "bush.vd";

        // Nothing loaded: "Mutant01.vd" is offered.
        mutator->Memo1->setPlainText("typed");
        dialogs.FileNames = {QString()};
        QTest::mouseClick(mutator->SaveFileButton, Qt::LeftButton);
        QCOMPARE(dialogs.SaveProposals.back(), Fixture.Definitions + "Mutant01.vd");

        test::WriteFile(bush, test::FileText(Bush));
        dialogs.FileNames = {QString()};
        QTest::mouseClick(mutator->LoadFileButton, Qt::LeftButton); // cancelled
        QCOMPARE(mutator->Memo1->toPlainText(), QString("typed"));
        QCOMPARE(mutator->windowTitle(), QString("Mutator"));
        dialogs.FileNames = {bush};
        QTest::mouseClick(mutator->LoadFileButton, Qt::LeftButton);
        QCOMPARE(dialogs.OpenFolders.back(), Fixture.Definitions);
        QCOMPARE(mutator->Memo1->toPlainText(), Bush);
        QCOMPARE(mutator->parentWidget()->windowTitle(), QString("bush.vd"));

        // A new name is written without an extension added, and the window now holds that file.
        dialogs.FileNames = {Fixture.Definitions + "bush2"};
        QTest::mouseClick(mutator->SaveFileButton, Qt::LeftButton);
        QCOMPARE(dialogs.SaveProposals.back(), bush);
        QCOMPARE(test::ReadFile(Fixture.Definitions + "bush2"), test::FileText(Bush));
        QCOMPARE(mutator->windowTitle(), QString("bush2"));
        QVERIFY(dialogs.Errors.empty());
    }
};

QTEST_MAIN(TestMutatorDialog)
#include "test_mutator_dialog.moc"
