// Definition text through files and the engine: non-ASCII text survives every round trip.
#include <QtTest>

#include <algorithm>
#include <random>

#include "gui/shared/text_codec.h"
#include "support/files.h"

using namespace verdel;

class TestTextCodec : public QObject {
    Q_OBJECT

private slots:
    void textSurvivesFileBytesFilesAndTheEngine()
    {
        // Latin-1 letters from U+00C0 up (never a UTF-8 continuation byte), and characters beyond Latin-1.
        const QString latin = QString::fromUtf8("AZaz09 #[]+-\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F\xC3\xA9\xC3\x80\xC3\xBF");
        const QString wide = QString::fromUtf8("\xE2\x82\xAC\xE6\x97\xA5\xC5\x91");
        const verdel::test::TTempFolder folder("text-codec");
        const QString file = QString::fromStdString(folder / "text.vd");
        std::mt19937 random(3);
        for (int n = 0; n < 300; ++n) {
            QString text;
            const int length = 1 + static_cast<int>(random() % 40);
            for (int i = 0; i < length; ++i) {
                const QString& from = n % 2 && random() % 4 == 0 ? wide : latin;
                text += from[static_cast<qsizetype>(random() % from.size())];
                if (i + 1 < length && random() % 10 == 0) text += '\n';
            }
            const bool fits = std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 256; });
            const std::string bytes = FileBytes(text);
            QVERIFY2(fits == (bytes.size() == static_cast<size_t>(text.size())), "Latin-1 exactly when it fits");
            QCOMPARE(TextFromFile(bytes), text);
            WriteTextFile(file, text);
            QCOMPARE(ReadTextFile(file), text);
            if (fits) QCOMPARE(MemoText(EngineLines(text)), text);
        }
    }
};

QTEST_MAIN(TestTextCodec)
#include "test_text_codec.moc"
