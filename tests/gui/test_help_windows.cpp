#include <QtTest>
#include <QtWidgets>

#include "engine/command_table.h"
#include "gui/command_reference.h"
#include "gui/help_window.h"
#include "gui/rich_text.h"

using namespace verdel;

namespace {

const QString HelpFolder = QStringLiteral(VERDEL_DATA "/help");

// The first character position of the link to Href in a document, or -1.
int LinkPosition(const QTextDocument& Document, const QString& Href)
{
    for (QTextBlock block = Document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().isAnchor() && fragment.charFormat().anchorHref() == Href) {
                return fragment.position();
            }
        }
    }
    return -1;
}

QStringList LinksOf(const QTextDocument& Document)
{
    QStringList links;
    for (QTextBlock block = Document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isAnchor() && !format.anchorHref().isEmpty()) links << format.anchorHref();
        }
    }
    return links;
}

QString FileNameOf(const QUrl& Source) { return QFileInfo(Source.toLocalFile()).fileName(); }

} // namespace

class TestHelpWindows : public QObject {
    Q_OBJECT

private slots:
    void referenceListsTheCommandTable()
    {
        THelperForm form;
        const QString text = form.Memo1->toPlainText();
        // Every row of the table, with its parameter, in the order of the table.
        qsizetype at = 0;
        for (const TCommandInfo& row : CommandTable()) {
            const QString effect = QString::fromUtf8(row.Effect.data(), static_cast<qsizetype>(row.Effect.size()));
            const qsizetype found = text.indexOf(effect, at);
            QVERIFY2(found >= 0, qPrintable(effect));
            at = found;
        }
        QVERIFY(form.Memo1->isReadOnly());
        QVERIFY(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    }

    // Releasing either button, over the text or the window, hides the reference.
    void releasingAMouseButtonHidesTheReference()
    {
        THelperForm form;
        for (const auto& [overMemo, button] : {std::pair{true, Qt::RightButton}, std::pair{false, Qt::LeftButton}}) {
            form.show();
            QVERIFY(QTest::qWaitForWindowExposed(&form));
            QWidget* target = overMemo ? form.Memo1->viewport() : static_cast<QWidget*>(&form);
            QTest::mousePress(target, button, Qt::NoModifier, QPoint(20, 20));
            QVERIFY(form.isVisible()); // pressing alone leaves it open
            QTest::mouseRelease(target, button, Qt::NoModifier, QPoint(20, 20));
            QVERIFY(!form.isVisible());
        }
    }

    void helpWindowOpensAtContentsAndFollowsLinks()
    {
        THelpWindow window(HelpFolder);
        QVERIFY(window.ShowContents());
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(FileNameOf(window.HelpBrowser->source()), QStringLiteral("index.html"));
        QVERIFY(window.windowTitle().startsWith(QStringLiteral("Verdel Help - ")));
        QVERIFY(!window.BackBtn->isEnabled());

        // Click the contents page's link to the command page.
        const int position = LinkPosition(*window.HelpBrowser->document(), QStringLiteral("commands.html"));
        QVERIFY(position >= 0);
        QTextCursor cursor(window.HelpBrowser->document());
        cursor.setPosition(position + 1);
        window.HelpBrowser->ensureCursorVisible();
        window.HelpBrowser->setTextCursor(cursor);
        const QPoint at = window.HelpBrowser->cursorRect(cursor).center();
        QTest::mouseClick(window.HelpBrowser->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QCOMPARE(FileNameOf(window.HelpBrowser->source()), QStringLiteral("commands.html"));

        QVERIFY(window.BackBtn->isEnabled());
        QTest::mouseClick(window.BackBtn, Qt::LeftButton);
        QCOMPARE(FileNameOf(window.HelpBrowser->source()), QStringLiteral("index.html"));
        QVERIFY(window.ForwardBtn->isEnabled());
        QTest::mouseClick(window.ForwardBtn, Qt::LeftButton);
        QCOMPARE(FileNameOf(window.HelpBrowser->source()), QStringLiteral("commands.html"));
        QTest::mouseClick(window.ContentsBtn, Qt::LeftButton);
        QCOMPARE(FileNameOf(window.HelpBrowser->source()), QStringLiteral("index.html"));

        // Opened, it takes the focus; Esc closes it.
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(window.HelpBrowser, Qt::Key_Escape);
        QVERIFY(!window.isVisible());

        THelpWindow missing(QStringLiteral("/no/such/help/folder"));
        QVERIFY(!missing.ShowContents());
        QVERIFY(missing.HelpBrowser->toPlainText().contains(QStringLiteral("Help page not found")));
    }

    void everyHelpPageHasATitleAndLinksOnlyToExistingPages()
    {
        const QDir folder(HelpFolder);
        const QStringList pages = folder.entryList({QStringLiteral("*.html")}, QDir::Files);
        QVERIFY(pages.size() >= 10);
        QStringList linkedFromContents;
        for (const QString& page : pages) {
            QFile file(folder.filePath(page));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QTextDocument document;
            document.setHtml(QString::fromUtf8(file.readAll()));
            QVERIFY2(!document.metaInformation(QTextDocument::DocumentTitle).isEmpty(), qPrintable(page));
            const QStringList links = LinksOf(document);
            if (page != QStringLiteral("index.html")) {
                QVERIFY2(links.contains(QStringLiteral("index.html")),
                         qPrintable(page + ": no way back to the contents"));
            }
            for (const QString& link : links) {
                if (link.startsWith(QStringLiteral("http")) || link.startsWith(QLatin1Char('#'))) continue;
                const QString target = link.section(QLatin1Char('#'), 0, 0);
                QVERIFY2(folder.exists(target), qPrintable(page + " links to a missing page: " + link));
                if (page == QStringLiteral("index.html")) linkedFromContents << target;
            }
        }
        for (const QString& page : pages) {
            if (page != QStringLiteral("index.html")) {
                QVERIFY2(linkedFromContents.contains(page), qPrintable(page + " is not on the contents page"));
            }
        }
    }

    void richTextKeepsAlignmentColourAndLineBreaks()
    {
        QTextDocument document;
        FillTextDocument(document, ReadRichText(R"({\rtf1{\colortbl;\red255\green0\blue0;})"
                                                R"(\qc\b\fs28 Title\par\pard\cf1 red\line next\par\par\qr end})"));
        QCOMPARE(document.blockCount(), 4);
        const QTextBlock title = document.findBlockByNumber(0);
        QCOMPARE(title.text(), QStringLiteral("Title"));
        QVERIFY(title.blockFormat().alignment().testFlag(Qt::AlignHCenter));
        QCOMPARE(title.begin().fragment().charFormat().fontWeight(), int(QFont::Bold));
        QCOMPARE(title.begin().fragment().charFormat().fontPointSize(), 14.0);
        const QTextBlock body = document.findBlockByNumber(1);
        QCOMPARE(body.text(), QStringLiteral("red") + QChar(QChar::LineSeparator) + QStringLiteral("next"));
        QCOMPARE(body.begin().fragment().charFormat().foreground().color(), QColor(255, 0, 0));
        QVERIFY(document.findBlockByNumber(2).text().isEmpty());
        QVERIFY(document.findBlockByNumber(3).blockFormat().alignment().testFlag(Qt::AlignRight));
        // The bundled files load, a missing one leaves the view as it was.
        for (const char* name : {"Verdel5.rtf", "VdHelp01.rtf"}) {
            QTextEdit view;
            QVERIFY2(LoadRichTextFile(view, QStringLiteral(VERDEL_DATA "/") + QLatin1String(name)), name);
            QVERIFY(view.document()->blockCount() > 10);
        }
        QTextEdit view;
        view.setPlainText(QStringLiteral("HelpMemo"));
        QVERIFY(!LoadRichTextFile(view, QStringLiteral(VERDEL_DATA "/NoSuchFile.rtf")));
        QCOMPARE(view.toPlainText(), QStringLiteral("HelpMemo"));
    }
};

QTEST_MAIN(TestHelpWindows)
#include "test_help_windows.moc"
