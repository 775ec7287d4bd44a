// The definition editor and the main frame around it: colours, line-accurate
// errors, files dropped on the window, Save and Save As, the close questions,
// recent files, shortcuts and the warning line.
#include <QAction>
#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolButton>
#include <QUrl>
#include <QtTest>

#include "gui/dialog_fixture.h"
#include "gui/editor/definition_highlighter.h"
#include "gui/editor/definition_text_edit.h"
#include "gui/editor/editor_window.h"
#include "gui/shared/app_state.h"
#include "support/recording_frame.h"
#include "support/scripted_dialogs.h"

using namespace verdel;
using verdel::test::TRecordingFrame;
using verdel::test::TScriptedDialogs;

namespace {

// The format the highlighter gave the character at Position of a block, or an empty one.
QTextCharFormat FormatAt(const QTextBlock& block, int position)
{
    for (const QTextLayout::FormatRange& range : block.layout()->formats())
        if (position >= range.start && position < range.start + range.length) return range.format;
    return {};
}

QMimeData* FilesData(const QStringList& files)
{
    auto* data = new QMimeData;
    QList<QUrl> urls;
    for (const QString& file : files) urls << QUrl::fromLocalFile(file);
    data->setUrls(urls);
    return data;
}

} // namespace

class TestEditor : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> Folder;
    QString Path;
    std::unique_ptr<TRecordingFrame> MakeFrame() { return std::make_unique<TRecordingFrame>(Path); }

    void WriteFile(const QString& name, const QByteArray& bytes)
    {
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QByteArray ReadFile(const QString& name)
    {
        QFile file(name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static void Type(TMDIChild* editor, const QString& text)
    {
        editor->Memo1->setPlainText(text);
        editor->Memo1->document()->setModified(true);
    }
    static QList<TMDIChild*> EditorsOf(TMainForm& frame)
    {
        QList<TMDIChild*> editors;
        for (QMdiSubWindow* window : frame.MdiArea->subWindowList(QMdiArea::CreationOrder))
            if (auto* editor = qobject_cast<TMDIChild*>(window->widget())) editors << editor;
        return editors;
    }

private slots:
    void init()
    {
        Folder = std::make_unique<QTemporaryDir>();
        Path = Folder->path() + "/";
        test::PrepareProgramFolder(Path);
        ResetAppState();
    }

    void highlightingGivesEachPartOfALineItsClass()
    {
        TDefinitionEdit editor;
        QVERIFY(QFontInfo(editor.font()).fixedPitch());
        editor.setPlainText("# tree\n3\n90 # degrees\n10\n+(90)A\nA=F[&A]'c(3) # grow\n@\nnotes");
        const TDefinitionHighlighter& colours = *editor.Highlighter();
        QTextDocument& text = *editor.document();
        struct TCase {
            int Line; // counted from 1
            int Column;
            std::optional<THighlightKind> Kind; // nothing: the plain colour
        };
        const TCase cases[] = {
            {1, 3, THighlightKind::Comment},
            {2, 0, THighlightKind::Value},
            {3, 1, THighlightKind::Value},
            {3, 5, THighlightKind::Comment},
            {5, 0, THighlightKind::Turn},
            {5, 2, THighlightKind::Parameter},
            {5, 5, THighlightKind::Axiom},
            {6, 0, THighlightKind::Predecessor},
            {6, 1, THighlightKind::Predecessor},
            {6, 2, THighlightKind::Draw},
            {6, 3, THighlightKind::Structure},
            {6, 4, THighlightKind::Turn},
            {6, 5, std::nullopt},
            {6, 7, THighlightKind::Change},
            {6, 8, THighlightKind::Change},
            {6, 10, THighlightKind::Parameter},
            {6, 14, THighlightKind::Comment},
            {7, 0, THighlightKind::EndLine},
            {8, 2, THighlightKind::Ignored},
        };
        for (const TCase& c : cases) {
            const QTextBlock block = text.findBlockByNumber(c.Line - 1);
            const QString where =
                QString("line %1 column %2 '%3'").arg(c.Line).arg(c.Column).arg(block.text().at(c.Column));
            const QTextCharFormat expected = c.Kind ? colours.Format(*c.Kind) : QTextCharFormat();
            QVERIFY2(FormatAt(block, c.Column) == expected, qPrintable(where));
        }
        // Distinct families look distinct.
        QVERIFY(colours.Format(THighlightKind::Draw) != colours.Format(THighlightKind::Turn));
        QVERIFY(colours.Format(THighlightKind::Move) != colours.Format(THighlightKind::Change));
    }

    // An extended text: its forms coloured from its first line on, and the
    // extended reader's first fault underlined where it stands.
    void extendedTextsAreColouredAndTheirFaultUnderlined()
    {
        TDefinitionEdit editor;
        editor.setPlainText("2\n30\n10\nB(1)A(1)\nB(b) < A(x) --> F(y)\n#extended\n@");
        QCoreApplication::processEvents();
        const TDefinitionHighlighter& colours = *editor.Highlighter();
        const QTextBlock rule = editor.document()->findBlockByNumber(4);
        QVERIFY(FormatAt(rule, 0).foreground() == colours.Format(THighlightKind::Context).foreground());
        QVERIFY(FormatAt(rule, 5).foreground() == colours.Format(THighlightKind::Separator).foreground());
        QVERIFY(colours.FaultMark() && colours.FaultMark()->Line == 5);
        QCOMPARE(FormatAt(rule, 18).underlineStyle(), QTextCharFormat::WaveUnderline);
        QCOMPARE(FormatAt(rule, 16).underlineStyle(), QTextCharFormat::NoUnderline);
    }

    void aValidationErrorNamesAndSelectsItsLine()
    {
        TScriptedDialogs dialogs;
        auto frame = MakeFrame();
        frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
        TMDIChild* editor = frame->NewFile();
        editor->Memo1->setPlainText("# a bush\n3\n90\n10\nF\nF=F[+F]\n  G=F\n@");
        QTest::mouseClick(editor->Generate_Btn, Qt::LeftButton);
        QCOMPARE(dialogs.Messages.size(), size_t(1));
        QCOMPARE(QString::fromStdString(dialogs.Messages[0]),
                 QString("Please Check Input Data\r\nLeading Blanks in a Line\r\nLine 7: the line starts with a blank; "
                         "every line must start at the left margin"));
        const QTextCursor cursor = editor->Memo1->textCursor();
        QCOMPARE(cursor.blockNumber(), 6);
        QCOMPARE(cursor.selectedText(), QString("  G=F"));
        QVERIFY(frame->Shown.empty());

        // A missing end line selects the last line.
        editor->Memo1->setPlainText("3\n90\n10\nF\nF=FF");
        frame->findChild<QAction*>("GenerateItem")->trigger();
        QVERIFY(QString::fromStdString(dialogs.Messages.back())
                    .endsWith("Line 5: the text ends without its end line; "
                              "add a line \"@\" after the rules"));
        QCOMPARE(editor->Memo1->textCursor().selectedText(), QString("F=FF"));
    }

    void filesDroppedOnTheWindowOpen()
    {
        TScriptedDialogs dialogs;
        auto frame = MakeFrame();
        frame->show();
        const QString definition = Path + "dropped.vd";
        WriteFile(definition, "3\r\n90\r\n10\r\nF\r\n@\r\n");
        const QString model = VERDEL_DATA "/outline.dxf";

        // The editor leaves files to the window instead of pasting their names,
        // which file managers also offer as text.
        TMDIChild* editor = frame->NewFile();
        std::unique_ptr<QMimeData> files(FilesData({definition, model, Path + "notes.txt"}));
        files->setText(definition);
        QDropEvent onEditor(QPointF(5, 5), Qt::CopyAction, files.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(editor->Memo1->viewport(), &onEditor);
        QCOMPARE(editor->Memo1->toPlainText(), QString());

        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, files.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, files.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame.get(), &drop);
        QTRY_COMPARE(EditorsOf(*frame).size(), 2);
        TMDIChild* opened = EditorsOf(*frame).last();
        QCOMPARE(opened->FileName, definition);
        QCOMPARE(opened->Memo1->toPlainText(), QString("3\n90\n10\nF\n@"));
        QCOMPARE(frame->Shown.size(), size_t(1)); // the DXF file went to the viewer
        QCOMPARE(frame->Shown[0].Source, TModelSource::File);
        QVERIFY2(dialogs.Errors.empty(), dialogs.Errors.empty() ? "" : dialogs.Errors[0].c_str());

        // Other files are not taken.
        std::unique_ptr<QMimeData> text(FilesData({Path + "notes.txt"}));
        QDragEnterEvent refused(QPoint(5, 5), Qt::CopyAction, text.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame.get(), &refused);
        QVERIFY(!refused.isAccepted());
    }

    void saveWritesItsFileAndSaveAsAsksForANewOne()
    {
        TScriptedDialogs dialogs;
        auto frame = MakeFrame();
        frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
        const QString first = Path + "first.vd";
        WriteFile(first, "3\r\n90\r\n10\r\nF\r\n@\r\n");
        TMDIChild* editor = frame->OpenDefinition(first);
        QVERIFY(editor);
        QCOMPARE(editor->Caption(), QString("first.vd"));
        editor->Memo1->moveCursor(QTextCursor::End);
        editor->Memo1->insertPlainText("\nnotes");
        QCOMPARE(editor->Caption(), QString("first.vd*"));

        // Save: straight to the file it came from.
        frame->findChild<QAction*>("FileSaveItem")->trigger();
        QVERIFY(dialogs.SaveFolders.empty());
        QCOMPARE(ReadFile(first), QByteArray("3\r\n90\r\n10\r\nF\r\n@\r\nnotes\r\n"));
        QCOMPARE(editor->Caption(), QString("first.vd"));

        // Save As: the dialog, then the new name is the editor's.
        const QString second = Path + "second";
        dialogs.FileNames = {second};
        frame->findChild<QAction*>("FileSaveAsItem")->trigger();
        QCOMPARE(dialogs.SaveProposals.back(), first);
        QCOMPARE(ReadFile(second + ".vd"), ReadFile(first));
        QCOMPARE(editor->FileName, second + ".vd");
        QCOMPARE(editor->Caption(), QString("second.vd"));

        // Both are recent files, newest first, and a new frame still lists them.
        QCOMPARE(QFileInfo(QString::fromStdString(AppState.FileHistory.RecentFiles.at(0))), QFileInfo(second + ".vd"));
        QCOMPARE(QFileInfo(QString::fromStdString(AppState.FileHistory.RecentFiles.at(1))), QFileInfo(first));
        frame.reset();
        auto again = MakeFrame();
        again->UpdateRecentFilesMenu();
        QAction* recent = again->findChild<QAction*>("RecentFile2");
        QVERIFY(recent);
        QCOMPARE(recent->text(), QString("&2 first.vd"));
        recent->trigger();
        QCOMPARE(EditorsOf(*again).size(), 1);
        QCOMPARE(EditorsOf(*again).first()->FileName, QFileInfo(first).absoluteFilePath());
        recent->trigger(); // already open: it comes to the front, no second copy
        QCOMPARE(EditorsOf(*again).size(), 1);
        // New definitions are proposed where the last one was saved.
        QCOMPARE(again->NewFile()->FileName, Path + "NoName-2.vd");
    }

    void closingOneEditorNamesItsFile()
    {
        TScriptedDialogs dialogs;
        auto frame = MakeFrame();
        frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
        TMDIChild* editor = frame->NewFile();
        Type(editor, "text");
        dialogs.Answers = {TAnswer::Cancel};
        frame->findChild<QAction*>("FileCloseItem")->trigger();
        QCOMPARE(dialogs.Questions.size(), size_t(1));
        QCOMPARE(QString::fromStdString(dialogs.Questions.back()),
                 QString("Do You wish to Save File Before Exiting?\r\nSave changes to NoName-1.vd before closing?"));
        QCOMPARE(frame->ChildCount(), 1);
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
        // Items that open a dialog say so.
        for (const char* name : {"FileOpenItem", "FileSaveAsItem", "ViewGraphic1", "General1", "HelpAboutItem"})
            QVERIFY2(frame->findChild<QAction*>(name)->text().endsWith("..."), name);

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
