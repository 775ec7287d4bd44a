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

QList<TMDIChild*> EditorsOf(TMainForm& frame)
{
    QList<TMDIChild*> editors;
    for (QMdiSubWindow* window : frame.MdiArea->subWindowList(QMdiArea::CreationOrder))
        if (auto* editor = qobject_cast<TMDIChild*>(window->widget())) editors << editor;
    return editors;
}

} // namespace

class TestEditor : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> Folder;
    QString Path;
    std::unique_ptr<TRecordingFrame> MakeFrame() { return std::make_unique<TRecordingFrame>(Path); }

private slots:
    void init()
    {
        Folder = std::make_unique<QTemporaryDir>();
        Path = Folder->path() + "/";
        test::PrepareProgramFolder(Path);
        ResetAppState();
    }

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
    // not a number selects itself, and the status no longer says a generation runs.
    void errorsAreShownWhereTheyStand()
    {
        TScriptedDialogs dialogs;
        auto frame = MakeFrame();
        TMDIChild* editor = frame->NewFile();
        editor->Memo1->setPlainText("# a bush\n3\n90\n10\nF\nF=F[+F]\n  G=F\n@");
        QTest::mouseClick(editor->Generate_Btn, Qt::LeftButton);
        QCOMPARE(dialogs.Messages.back(), std::string("Please Check Input Data\r\nLeading Blanks in a Line\r\nLine 7: "
                                                      "the line starts with a blank; every line must start at the "
                                                      "left margin"));
        QCOMPARE(editor->Memo1->textCursor().blockNumber(), 6);
        QCOMPARE(editor->Memo1->textCursor().selectedText(), QString("  G=F"));

        editor->Memo1->setPlainText("# comment\n2\n90\n10\nF\nF=F[+F(abc)]F\n@");
        QTest::mouseClick(editor->Generate_Btn, Qt::LeftButton);
        QCOMPARE(dialogs.Messages.back(), std::string("'abc' is not a valid floating point value\r\n"
                                                      "Line 6, column 8: the parameter \"(abc)\" is not a number"));
        QCOMPARE(editor->Memo1->textCursor().selectedText(), QString("abc"));
        QCOMPARE(frame->StatusPanels[0]->text(), QString());
        QVERIFY(frame->Shown.empty());
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
        QTRY_COMPARE(EditorsOf(*frame).size(), 2);
        QCOMPARE(EditorsOf(*frame).last()->FileName, definition);
        QCOMPARE(EditorsOf(*frame).last()->Memo1->toPlainText(), QString("3\n90\n10\nF\n@"));
        QCOMPARE(frame->Shown.size(), size_t(1)); // the DXF file went to the viewer
        QCOMPARE(frame->Shown[0].Source, TModelSource::File);
        QVERIFY(dialogs.Errors.empty());

        QMimeData text; // other files are not taken
        text.setUrls({QUrl::fromLocalFile(Path + "notes.txt")});
        QDragEnterEvent refused(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame.get(), &refused);
        QVERIFY(!refused.isAccepted());
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
        QVERIFY(editor);
        editor->Memo1->moveCursor(QTextCursor::End);
        editor->Memo1->insertPlainText("\nnotes");
        QCOMPARE(editor->Caption(), QString("first.vd*"));
        frame->findChild<QAction*>("FileSaveItem")->trigger();
        QVERIFY(dialogs.SaveFolders.empty());
        QCOMPARE(ReadFile(first), QByteArray("3\r\n90\r\n10\r\nF\r\n@\r\nnotes\r\n"));
        QCOMPARE(editor->Caption(), QString("first.vd"));

        const struct {
            const char* Typed;
            const char* Written;
        } names[] = {{"tree.VD", "tree.VD"}, {"tree.txt", "tree.txt.vd"}, {"second", "second.vd"}};
        for (const auto& name : names) {
            dialogs.FileNames = {Path + name.Typed};
            frame->findChild<QAction*>("FileSaveAsItem")->trigger();
            QCOMPARE(ReadFile(Path + name.Written), ReadFile(first));
        }
        QCOMPARE(dialogs.SaveProposals[0], first);
        QCOMPARE(editor->FileName, Path + "second.vd");
        QCOMPARE(editor->Caption(), QString("second.vd"));
        dialogs.FileNames = {QString()};
        QVERIFY(!editor->SaveFile()); // cancelled
        QVERIFY(dialogs.Questions.empty());

        frame.reset();
        auto again = MakeFrame();
        again->UpdateRecentFilesMenu();
        QAction* recent = again->findChild<QAction*>("RecentFile2");
        QVERIFY(recent);
        QCOMPARE(recent->text(), QString("&2 tree.txt.vd"));
        recent->trigger();
        recent->trigger(); // already open: it comes to the front, no second copy
        QCOMPARE(EditorsOf(*again).size(), 1);
        QCOMPARE(EditorsOf(*again).first()->FileName, QFileInfo(Path + "tree.txt.vd").absoluteFilePath());
        QCOMPARE(again->NewFile()->FileName, Path + "NoName-2.vd"); // proposed where the last one was saved
    }

    void findAndReplaceActOnTheActiveEditor()
    {
        TScriptedDialogs dialogs;
        auto frame = MakeFrame();
        frame->show();
        TMDIChild* editor = frame->NewFile();
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
        // Find Next goes on from the cursor and wraps round at the end.
        find->MatchCase->setChecked(false);
        find->FindEdit->setText("f");
        editor->Memo1->moveCursor(QTextCursor::End);
        QVERIFY(find->FindNext());
        QCOMPARE(editor->Memo1->textCursor().selectionStart(), 0);
    }

    void commandsShareOneActionWithTheirShortcut()
    {
        TScriptedDialogs dialogs;
        auto frame = MakeFrame();
        const std::pair<const char*, QKeySequence> shortcuts[] = {
            {"FileNewItem", QKeySequence::New},
            {"FileOpenItem", QKeySequence::Open},
            {"FileSaveItem", QKeySequence::Save},
            {"FileCloseItem", QKeySequence(Qt::CTRL | Qt::Key_W)},
            {"FileExitItem", QKeySequence(Qt::CTRL | Qt::Key_Q)},
            {"GenerateItem", QKeySequence(Qt::Key_F5)},
        };
        for (const auto& [name, keys] : shortcuts) QCOMPARE(frame->findChild<QAction*>(name)->shortcut(), keys);
        const std::pair<const char*, const char*> buttons[] = {
            {"NewBtn", "FileNewItem"},
            {"OpenBtn", "FileOpenItem"},
            {"SaveBtn", "FileSaveItem"},
            {"ExitBtn", "FileExitItem"},
            {"RandomSpeedButton", "RandomGenerator1"},
        };
        for (const auto& [button, action] : buttons)
            QCOMPARE(frame->findChild<QToolButton*>(button)->defaultAction(), frame->findChild<QAction*>(action));

        frame->show();
        frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame.get()));
        QTest::keySequence(frame.get(), QKeySequence::New);
        QCOMPARE(frame->ChildCount(), 1);
        QVERIFY(frame->findChild<QToolButton*>("SaveBtn")->isEnabled()); // it follows its action
    }

    void generationWarningsGoToTheStatusBar()
    {
        TScriptedDialogs dialogs;
        auto frame = MakeFrame();
        TMDIChild* editor = frame->NewFile();
        editor->Memo1->setPlainText("1\n90\n10\nF]]QF\n@");
        editor->Generate_BtnClick();
        QCOMPARE(frame->Shown.size(), size_t(1));
        QVERIFY(dialogs.Messages.empty()); // no box
        QCOMPARE(frame->WarningPanel->toolTip(),
                 QString("Unbalanced \"[\" \"]\": 2 \"]\" without a matching \"[\"; Q draws nothing while \"Set Q = "
                         "Draw Cone\" is off (Options > General)"));
        QVERIFY(frame->WarningPanel->text().contains("Unbalanced"));
        AppState.Settings.SetQToDrawCones = true;
        editor->Memo1->setPlainText("1\n90\n10\nF[QF]\n@");
        editor->Generate_BtnClick();
        QCOMPARE(frame->WarningPanel->text(), QString());
    }
};

QTEST_MAIN(TestEditor)
#include "test_editor.moc"
