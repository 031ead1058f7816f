#include "richtext/RtfPlainText.h"
#include "richtext/RtfReader.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>
#include <QTextDocument>

namespace {

// The document reader's text in the plain-text reader's terms.
QString ReaderText(const QByteArray &rtf)
{
    QTextDocument document;
    RtfReader().Read(rtf, &document);
    QString text = document.toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    text.remove(QChar::ObjectReplacementCharacter);
    return text;
}

} // namespace

class tst_RtfPlainText : public QObject
{
    Q_OBJECT
private slots:
    void sameTextAsTheReader_data();
    void sameTextAsTheReader();
    void noiseGivesBoundedText();
};

void tst_RtfPlainText::sameTextAsTheReader_data()
{
    QTest::addColumn<QByteArray>("rtf");
    const QDir data(QStringLiteral(QUILLARY_TEST_DATA));
    for (const QString &name : data.entryList({"*.rtf"}, QDir::Files, QDir::Name)) {
        QFile file(data.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QTest::newRow(qPrintable(name)) << file.readAll();
    }
    QTest::newRow("code pages, unicode, symbols")
        << QByteArray("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset204 Cyr;}"
                      "{\\f2\\fcharset2 Symbol;}{\\f3\\cpg1253 Gr;}}{\\colortbl;\\red1\\green2\\blue3;}"
                      "{\\stylesheet{\\s1 Heading;}}\\'e9{\\f1 \\'c0\\'e1}{\\f2 a}{\\f3 \\'e1}"
                      "\\uc2\\u937\\'3f\\'3fx\\uc1 \\~\\-\\_\\emdash\\tab"
                      "{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}"
                      "{\\pict\\pngblip 89504e47}{\\*\\unknown no}\\line a\\par b\\page c"
                      "\\par\\trowd\\cellx100\\cellx200\\intbl one\\cell two\\cell\\row end\\par\\par}");
    QTest::newRow("not rtf") << QByteArray("plain words");
}

void tst_RtfPlainText::sameTextAsTheReader()
{
    QFETCH(QByteArray, rtf);
    QCOMPARE(RtfPlainText(rtf), ReaderText(rtf));
}

void tst_RtfPlainText::noiseGivesBoundedText()
{
    QRandomGenerator random(7);
    const QByteArray alphabet = "{}\\\\\\'*abfiu0123456789- ;\r\n\x80\xff";
    for (int round = 0; round < 200; ++round) {
        QByteArray rtf = "{\\rtf1 ";
        const int length = random.bounded(1, 4000);
        for (int i = 0; i < length; ++i)
            rtf += alphabet[random.bounded(int(alphabet.size()))];
        QVERIFY(RtfPlainText(rtf).size() <= rtf.size());
    }
}

QTEST_GUILESS_MAIN(tst_RtfPlainText)
#include "tst_rtfplaintext.moc"
