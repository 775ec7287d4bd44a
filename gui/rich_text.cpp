#include "gui/rich_text.h"

#include <QFile>
#include <QFileInfo>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <stdexcept>

namespace verdel {

namespace {

Qt::Alignment AlignmentOf(TParagraphAlign Align)
{
    switch (Align) {
    case paCenter: return Qt::AlignHCenter;
    case paRight: return Qt::AlignRight;
    case paJustify: return Qt::AlignJustify;
    case paLeft: break;
    }
    return Qt::AlignLeft;
}

QTextCharFormat CharFormatOf(const TRichRun& Run, const TRichDocument& Rich)
{
    QTextCharFormat format;
    format.setFontWeight(Run.Bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(Run.Italic);
    format.setFontUnderline(Run.Underline);
    format.setFontPointSize(Run.FontSize);
    if (Run.Color) format.setForeground(QColor(Run.Color->Red, Run.Color->Green, Run.Color->Blue));
    const std::string& font = Rich.FontName(Run);
    if (!font.empty()) format.setFontFamilies(QStringList{QString::fromStdString(font)});
    return format;
}

// A line break inside a paragraph is Qt's line separator, not a new block.
QString TextOf(const TRichRun& Run)
{
    QString text = QString::fromUtf8(Run.Text.data(), static_cast<qsizetype>(Run.Text.size()));
    text.replace(QLatin1Char('\n'), QChar(QChar::LineSeparator));
    return text;
}

} // namespace

void FillTextDocument(QTextDocument& Target, const TRichDocument& Rich)
{
    Target.clear();
    QTextCursor cursor(&Target);
    // An empty paragraph keeps the format of the text before it, so blank
    // lines are as high as their neighbours.
    QTextCharFormat lastFormat;
    bool first = true;
    for (const TRichParagraph& paragraph : Rich.Paragraphs) {
        QTextBlockFormat block;
        block.setAlignment(AlignmentOf(paragraph.Align));
        const QTextCharFormat blockChars =
            paragraph.Runs.empty() ? lastFormat : CharFormatOf(paragraph.Runs.front(), Rich);
        if (first) {
            cursor.setBlockFormat(block);
            cursor.setBlockCharFormat(blockChars);
        } else {
            cursor.insertBlock(block, blockChars);
        }
        first = false;
        for (const TRichRun& run : paragraph.Runs) {
            lastFormat = CharFormatOf(run, Rich);
            cursor.insertText(TextOf(run), lastFormat);
        }
    }
}

bool LoadRichTextFile(QTextEdit& View, const QString& FileName)
{
    if (!QFileInfo(FileName).isFile()) return false;
    TRichDocument rich;
    try {
        rich = ReadRichTextFile(QFile::encodeName(FileName).toStdString());
    } catch (const std::runtime_error&) {
        return false;
    }
    FillTextDocument(*View.document(), rich);
    View.moveCursor(QTextCursor::Start);
    View.ensureCursorVisible();
    return true;
}

} // namespace verdel
