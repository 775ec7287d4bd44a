// The definition editor in the main frame: colours, errors shown where they
// stand, files dropped on the window, Save and Save As, find and replace,
// shortcuts and the warning line.
#include <QtTest>
#include <QtWidgets>

#include "gui/dialog_fixture.h"
#include "gui/editor/definition_highlighter.h"
#include "gui/editor/definition_text_edit.h"
#include "gui/editor/find_dialog.h"
#include "support/scripted_dialogs.h"

using namespace verdel;
using verdel::test::ReadFile;
using verdel::test::TRecordingFrame;
using verdel::test::TScriptedDialogs;
using verdel::test::Type;
using verdel::test::WriteFile;

namespace {

// The format the highlighter gave the character at Position of a block, or an empty one.
QTextCharFormat FormatAt(const QTextBlock& block, int position)
{
    for (const QTextLayout::FormatRange& range : block.layout()->formats())
        if (position >= range.start && position < range.start + range.length) return range.format;
    return {};
}

} // namespace

class TestEditor : public QObject {
    Q_OBJECT

    test::TDialogFixture Fixture;
    QString& Path = Fixture.Path;
    std::unique_ptr<TRecordingFrame> MakeFrame() { return Fixture.MakeFrame(); }

private slots:
    void init() { Fixture.SetUp(); }
    void cleanup() { Fixture.TearDown(); }

    // Three positions show the wiring (the core's tables check every class),
    // and the extended reader's first fault is underlined where it stands.
    void highlightingColoursThePartsAndUnderlinesTheFault()
    {
        TDefinitionEdit editor;
        QVERIFY(QFontInfo(editor.font()).fixedPitch());
        editor.setPlainText("# tree\n3\n90 # degrees\n10\n+(90)A\nA=F[&A]'c(3) # grow\n@\nnotes");
        const TDefinitionHighlighter& colours = *editor.Highlighter();
        const QTextDocument& text = *editor.document();
        QVERIFY(FormatAt(text.findBlockByNumber(0), 3) == colours.Format(THighlightKind::Comment));
        QVERIFY(FormatAt(text.findBlockByNumber(5), 2) == colours.Format(THighlightKind::Draw));
        QVERIFY(FormatAt(text.findBlockByNumber(5), 5) == QTextCharFormat());

        editor.setPlainText("2\n30\n10\nB(1)A(1)\nB(b) < A(x) --> F(y)\n#extended\n@");
        QCoreApplication::processEvents();
        const QTextBlock rule = editor.document()->findBlockByNumber(4);
        QVERIFY(colours.FaultMark() && colours.FaultMark()->Line == 5);
        QCOMPARE(FormatAt(rule, 18).underlineStyle(), QTextCharFormat::WaveUnderline);
        QCOMPARE(FormatAt(rule, 16).underlineStyle(), QTextCharFormat::NoUnderline);
    }

    // A validation error names its line and selects it; a parameter that is
    // not a number selects itself; warnings go to the status bar without a box.
    void errorsAreShownWhereTheyStandAndWarningsInTheStatusBar()
    {
        TScriptedDialogs dialogs;
        auto frame = MakeFrame();
        TMDIChild* editor = frame->NewFile();
        editor->Memo1->setPlainText("# a bush\n3\n90\n10\nF\nF=F[+F]\n  G=F\n@");
        QTest::mouseClick(editor->Generate_Btn, Qt::LeftButton);
        QVERIFY(QString::fromStdString(dialogs.Messages.back()).contains("Line 7: "));
        QCOMPARE(editor->Memo1->textCursor().selectedText(), QString("  G=F"));

        editor->Memo1->setPlainText("# comment\n2\n90\n10\nF\nF=F[+F(abc)]F\n@");
        QTest::mouseClick(editor->Generate_Btn, Qt::LeftButton);
        QVERIFY(QString::fromStdString(dialogs.Messages.back()).contains("Line 6, column 8"));
        QCOMPARE(editor->Memo1->textCursor().selectedText(), QString("abc"));
        QCOMPARE(frame->StatusPanels[0]->text(), QString());
        QVERIFY(frame->Shown.empty());

        dialogs.Messages.clear();
        editor->Memo1->setPlainText("1\n90\n10\nF]]F\n@");
        editor->Generate_BtnClick();
        QCOMPARE(frame->Shown.size(), size_t(1));
        QVERIFY(dialogs.Messages.empty());
        QVERIFY(frame->WarningPanel->text().contains("Unbalanced"));
        QVERIFY(frame->WarningPanel->toolTip().startsWith("Unbalanced \"[\" \"]\": 2 \"]\" without a matching \"[\""));
    }

    void filesDroppedOnTheWindowOpen()
    {
        TScriptedDialogs dialogs;
        auto frame = MakeFrame();
        frame->show();
        const QString definition = Path + "dropped.vd";
        WriteFile(definition, "3\r\n90\r\n10\r\nF\r\n@\r\n");
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(definition), QUrl::fromLocalFile(VERDEL_DATA "/outline.dxf"),
                       QUrl::fromLocalFile(Path + "notes.txt")});
        files.setText(definition); // file managers also offer the names as text

        // The editor leaves files to the window instead of pasting their names.
        TMDIChild* editor = frame->NewFile();
        QDropEvent onEditor(QPointF(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(editor->Memo1->viewport(), &onEditor);
        QCOMPARE(editor->Memo1->toPlainText(), QString());

        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame.get(), &drop);
        QTRY_COMPARE(frame->findChildren<TMDIChild*>().size(), 2);
        QCOMPARE(frame->findChildren<TMDIChild*>().last()->Memo1->toPlainText(), QString("3\n90\n10\nF\n@"));
        QCOMPARE(frame->Shown.size(), size_t(1)); // the DXF file went to the viewer
        QVERIFY(dialogs.Errors.empty());
    }

    // Save writes to the editor's file, Save As asks for a name and adds the
    // definition extension; both become recent files, reopened once.
    void saveWritesItsFileAndSaveAsAsksForANewOne()
    {
        TScriptedDialogs dialogs;
        auto frame = MakeFrame();
        frame->show();
        const QString first = Path + "first.vd";
        WriteFile(first, "3\r\n90\r\n10\r\nF\r\n@\r\n");
        TMDIChild* editor = frame->OpenDefinition(first);
        editor->Memo1->moveCursor(QTextCursor::End);
        editor->Memo1->insertPlainText("\nnotes");
        QCOMPARE(editor->Caption(), QString("first.vd*"));
        frame->findChild<QAction*>("FileSaveItem")->trigger();
        QVERIFY(dialogs.SaveFolders.empty());
        QCOMPARE(ReadFile(first), QByteArray("3\r\n90\r\n10\r\nF\r\n@\r\nnotes\r\n"));
        QCOMPARE(editor->Caption(), QString("first.vd"));

        dialogs.FileNames = {Path + "tree.txt"};
        frame->findChild<QAction*>("FileSaveAsItem")->trigger();
        QCOMPARE(ReadFile(Path + "tree.txt.vd"), ReadFile(first));
        QCOMPARE(dialogs.SaveProposals[0], first);
        QCOMPARE(editor->Caption(), QString("tree.txt.vd"));

        frame.reset();
        auto again = MakeFrame();
        again->UpdateRecentFilesMenu();
        QAction* recent = again->findChild<QAction*>("RecentFile1");
        QCOMPARE(recent->text(), QString("&1 tree.txt.vd"));
        recent->trigger();
        recent->trigger(); // already open: it comes to the front, no second copy
        QCOMPARE(again->findChildren<TMDIChild*>().size(), 1);
        QCOMPARE(again->findChildren<TMDIChild*>().first()->FileName,
                 QFileInfo(Path + "tree.txt.vd").absoluteFilePath());
    }

    // A command is one action with its shortcut and button; Replace acts on the active editor.
    void commandsShareOneActionAndActOnTheActiveEditor()
    {
        TScriptedDialogs dialogs;
        auto frame = MakeFrame();
        QCOMPARE(frame->findChild<QAction*>("GenerateItem")->shortcut(), QKeySequence(Qt::Key_F5));
        QCOMPARE(frame->findChild<QToolButton*>("SaveBtn")->defaultAction(),
                 frame->findChild<QAction*>("FileSaveItem"));
        frame->show();
        frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame.get()));
        QTest::keySequence(frame.get(), QKeySequence::New);
        QCOMPARE(frame->ChildCount(), 1);
        QVERIFY(frame->findChild<QToolButton*>("SaveBtn")->isEnabled()); // it follows its action

        TMDIChild* editor = frame->findChild<TMDIChild*>();
        const QString text = "F(a) f F\nFF";
        Type(editor, text);
        frame->findChild<QAction*>("ReplaceItem")->trigger();
        auto* find = frame->findChild<TFindDialog*>();
        QVERIFY(find && find->isVisible() && find->ReplaceEdit->isVisible());
        find->FindEdit->setText("F");
        find->ReplaceEdit->setText("GF");
        find->MatchCase->setChecked(true);
        QCOMPARE(find->ReplaceAll(), 4); // each match once, the inserted text not searched again
        QCOMPARE(editor->Memo1->toPlainText(), QString("GF(a) f GF\nGFGF"));
        editor->Memo1->undo(); // one undo step
        QCOMPARE(editor->Memo1->toPlainText(), text);
    }
};

QTEST_MAIN(TestEditor)
#include "test_editor.moc"
