#include "gui/shared/text_codec.h"

#include <QStringDecoder>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace verdel {

std::string EngineText(const QString& Text)
{
    std::string bytes;
    bytes.reserve(static_cast<size_t>(Text.size()));
    for (const QChar c : Text) bytes += c.unicode() < 256 ? static_cast<char>(c.unicode()) : '\x7f';
    return bytes;
}

TLines EngineLines(const QString& Text) { return SplitLines(EngineText(Text)); }

QString MemoText(const TLines& Lines)
{
    QString text;
    for (size_t i = 0; i < Lines.size(); ++i) {
        if (i) text += '\n';
        text += QString::fromLatin1(Lines[i].data(), static_cast<qsizetype>(Lines[i].size()));
    }
    return text;
}

QString TextFromFile(const std::string& Bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(QByteArrayView(Bytes.data(), static_cast<qsizetype>(Bytes.size())));
    if (!utf8.hasError()) return text;
    return QString::fromLatin1(Bytes.data(), static_cast<qsizetype>(Bytes.size()));
}

std::string FileBytes(const QString& Text)
{
    for (const QChar c : Text)
        if (c.unicode() > 255) return Text.toStdString();
    const QByteArray latin1 = Text.toLatin1();
    return std::string(latin1.constData(), static_cast<size_t>(latin1.size()));
}

QString ReadTextFile(const QString& FileName)
{
    const std::string name = FileName.toStdString();
    const TLines lines = ReadLinesFromFile(name);
    std::string bytes;
    for (size_t i = 0; i < lines.size(); ++i) bytes += (i ? "\n" : "") + lines[i];
    return TextFromFile(bytes);
}

void WriteTextFile(const QString& FileName, const QString& Text)
{
    TLines lines = SplitLines(FileBytes(Text));
    WriteLinesToFile(FileName.toStdString(), lines);
}

} // namespace verdel
