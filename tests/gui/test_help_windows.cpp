// The command reference, the help window and rich text shown in Qt: each reaches
// what it shows and answers its keys and buttons; the readers are the core's.
#include <QtTest>
#include <QtWidgets>

#include "engine/command_table.h"
#include "gui/command_reference.h"
#include "gui/help_window.h"
#include "gui/rich_text.h"

using namespace verdel;

namespace {

const QString HelpFolder = QStringLiteral(VERDEL_DATA "/help");

// The links of a document: each target and the position of its first character.
QList<std::pair<QString, int>> LinksOf(const QTextDocument& Document)
{
    QList<std::pair<QString, int>> links;
    for (QTextBlock block = Document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isAnchor())
                links.append({it.fragment().charFormat().anchorHref(), it.fragment().position()});
    return links;
}

QString PageOf(const THelpWindow& Window) { return QFileInfo(Window.HelpBrowser->source().toLocalFile()).fileName(); }

} // namespace

class TestHelpWindows : public QObject {
    Q_OBJECT

private slots:
    // Every row of the command table, in its order; releasing a button hides the reference.
    void referenceListsTheCommandTableAndHidesOnRelease()
    {
        THelperForm form;
        const QString text = form.Memo1->toPlainText();
        qsizetype at = 0;
        for (const TCommandInfo& row : CommandTable()) {
            const QString effect = QString::fromUtf8(row.Effect.data(), static_cast<qsizetype>(row.Effect.size()));
            at = text.indexOf(effect, at);
            QVERIFY2(at >= 0, qPrintable(effect));
        }
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTest::mousePress(form.Memo1->viewport(), Qt::RightButton, Qt::NoModifier, QPoint(20, 20));
        QTest::mouseRelease(form.Memo1->viewport(), Qt::RightButton, Qt::NoModifier, QPoint(20, 20));
        QVERIFY(!form.isVisible());
    }

    void helpWindowOpensAtContentsFollowsALinkAndClosesOnEsc()
    {
        THelpWindow window(HelpFolder);
        QVERIFY(window.ShowContents());
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(PageOf(window), QStringLiteral("index.html"));
        int position = -1;
        for (const auto& [href, at] : LinksOf(*window.HelpBrowser->document()))
            if (href == "commands.html") position = at;
        QVERIFY(position >= 0);
        QTextCursor cursor(window.HelpBrowser->document());
        cursor.setPosition(position + 1);
        window.HelpBrowser->setTextCursor(cursor);
        window.HelpBrowser->ensureCursorVisible();
        QTest::mouseClick(window.HelpBrowser->viewport(), Qt::LeftButton, Qt::NoModifier,
                          window.HelpBrowser->cursorRect(cursor).center());
        QCOMPARE(PageOf(window), QStringLiteral("commands.html"));
        QTest::mouseClick(window.BackBtn, Qt::LeftButton);
        QCOMPARE(PageOf(window), QStringLiteral("index.html"));
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(window.HelpBrowser, Qt::Key_Escape);
        QVERIFY(!window.isVisible());
    }

    void everyHelpLinkLeadsToAnExistingPage()
    {
        const QDir folder(HelpFolder);
        const QStringList pages = folder.entryList({QStringLiteral("*.html")}, QDir::Files);
        QVERIFY(pages.size() >= 10);
        for (const QString& page : pages) {
            QFile file(folder.filePath(page));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QTextDocument document;
            document.setHtml(QString::fromUtf8(file.readAll()));
            for (const auto& [link, at] : LinksOf(document))
                QVERIFY2(link.startsWith("http") || link.startsWith('#') || folder.exists(link.section('#', 0, 0)),
                         qPrintable(page + " links to a missing page: " + link));
        }
    }

    void richTextKeepsAlignmentColourAndLineBreaks()
    {
        QTextDocument document;
        FillTextDocument(document,
                         ReadRichText(R"({\rtf1{\colortbl;\red255\green0\blue0;}\qc\cf1 red\line next\par})"));
        const QTextBlock block = document.firstBlock();
        QVERIFY(block.blockFormat().alignment().testFlag(Qt::AlignHCenter));
        QCOMPARE(block.text(), QStringLiteral("red") + QChar(QChar::LineSeparator) + QStringLiteral("next"));
        QCOMPARE(block.begin().fragment().charFormat().foreground().color(), QColor(255, 0, 0));
        // A bundled file loads; a missing one leaves the view as it was.
        QTextEdit view;
        QVERIFY(LoadRichTextFile(view, QStringLiteral(VERDEL_DATA "/VdHelp01.rtf")));
        view.setPlainText(QStringLiteral("HelpMemo"));
        QVERIFY(!LoadRichTextFile(view, QStringLiteral(VERDEL_DATA "/NoSuchFile.rtf")));
        QCOMPARE(view.toPlainText(), QStringLiteral("HelpMemo"));
    }
};

QTEST_MAIN(TestHelpWindows)
#include "test_help_windows.moc"
