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

    static TMutator* OpenMutator(TMainForm& frame) { return frame.CreateMutateDialog(), frame.findChild<TMutator*>(); }
    static void Mutate(TMutator* mutator) { QTest::mouseClick(mutator->MutateButton, Qt::LeftButton); }

private slots:
    void init() { Fixture.SetUp(); }
    void cleanup() { Fixture.TearDown(); }

    // Each kind's label turns red when Mutate changed that kind (at radiation 10
    // every one); Undo Last restores the text before the last Mutate, edits included.
    void theLabelsShowWhichKindsChangedAndUndoLastGoesBackOneMutate()
    {
        TScriptedDialogs dialogs;
        auto frame = Fixture.MakeFrame();
        TMutator* mutator = OpenMutator(*frame);
        const QList<QLabel*> labels = {mutator->RecursionLabel, mutator->AngleLabel,     mutator->ThicknessLabel,
                                       mutator->DeletionsLabel, mutator->AdditionsLabel, mutator->SubstitutionsLabel};
        for (QLabel* label : labels) QCOMPARE(TextColor(label), QColor(Qt::black));
        mutator->Memo1->setPlainText("8\n40\n60\nF\nF=FF[+F][-F]\n@");
        RandomSource.Seed = 1;
        mutator->RadiationTrackBar->setValue(0);
        Mutate(mutator);
        for (int kind = 0; kind < MutationKindCount; ++kind)
            QCOMPARE(TextColor(labels[kind]), QColor(mutator->Mutator.Changed[kind] ? Qt::red : Qt::black));
        mutator->RadiationTrackBar->setValue(10);
        Mutate(mutator);
        for (QLabel* label : labels) QVERIFY2(TextColor(label) == QColor(Qt::red), qPrintable(label->objectName()));

        const QString edited = "# edited\n" + mutator->Memo1->toPlainText();
        mutator->Memo1->setPlainText(edited);
        Mutate(mutator);
        QVERIFY(mutator->Memo1->toPlainText() != edited);
        QTest::mouseClick(mutator->RejectButton, Qt::LeftButton);
        QCOMPARE(mutator->Memo1->toPlainText(), edited);
        QVERIFY(!mutator->RejectButton->isEnabled());
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

    void invalidTextIsReportedByMutateAndView()
    {
        TScriptedDialogs dialogs;
        auto frame = Fixture.MakeFrame();
        TMutator* mutator = OpenMutator(*frame);
        mutator->Memo1->setPlainText("");
        Mutate(mutator);
        QCOMPARE(dialogs.Messages.back(), std::string("Please Check Input Data\r\nBlank File"));
        QTest::mouseClick(mutator->ViewButton, Qt::LeftButton);
        QCOMPARE(dialogs.Messages.size(), size_t(2));
        QVERIFY(Fixture.Launches.empty());

        // View shows the memo without naming it, the buttons waiting for the viewer.
        mutator->Memo1->setPlainText(Bush);
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
        test::WriteFile(bush, test::FileText(Bush));
        dialogs.FileNames = {bush, Fixture.Definitions + "bush2"};
        QTest::mouseClick(mutator->LoadFileButton, Qt::LeftButton);
        QCOMPARE(dialogs.OpenFolders.back(), Fixture.Definitions);
        QCOMPARE(mutator->Memo1->toPlainText(), Bush);
        QCOMPARE(mutator->parentWidget()->windowTitle(), QString("bush.vd"));
        // A new name is written without an extension added, and the window now holds that file.
        QTest::mouseClick(mutator->SaveFileButton, Qt::LeftButton);
        QCOMPARE(dialogs.SaveProposals.back(), bush);
        QCOMPARE(test::ReadFile(Fixture.Definitions + "bush2"), test::FileText(Bush));
        QCOMPARE(mutator->windowTitle(), QString("bush2"));
        QVERIFY(dialogs.Errors.empty());
    }
};

QTEST_MAIN(TestMutatorDialog)
#include "test_mutator_dialog.moc"
