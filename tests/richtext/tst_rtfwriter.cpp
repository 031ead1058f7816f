#include "richtext/RtfFormat.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QFile>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

QByteArray Fixture(const QString &name)
{
    QFile file(QStringLiteral(QUILLARY_TEST_DATA "/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString Text(const QTextDocument &document)
{
    QStringList out;
    for (QTextBlock b = document.begin(); b.isValid(); b = b.next())
        out << b.text();
    return out.join('\n');
}

QTextCharFormat Format(const QString &family, qreal points, bool bold = false,
                       const QColor &color = QColor())
{
    QTextCharFormat format;
    format.setFontFamilies(QStringList{family});
    format.setFontPointSize(points);
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    if (color.isValid())
        format.setForeground(color);
    return format;
}

QByteArray Header(const QByteArray &fonts, const QByteArray &colors = QByteArray())
{
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl" + fonts + "}\r\n{\\colortbl;" + colors
        + "}\r\n";
}

// A document made through a cursor, as an editor makes it.
void Build(QTextDocument &document, const QString &name)
{
    QTextCursor cursor(&document);
    const QTextCharFormat arial = Format("Arial", 10);
    if (name == "empty") {
        return;
    } else if (name == "styled runs") {
        cursor.insertText("plain ", arial);
        cursor.insertText("bold ", Format("Arial", 10, true));
        QTextCharFormat rest = Format("Times New Roman", 10.5, false, Qt::blue);
        rest.setFontItalic(true);
        rest.setFontUnderline(true);
        rest.setFontStrikeOut(true);
        cursor.insertText("the rest", rest);
        cursor.insertText(" black", Format("Arial", 10, false, Qt::black));
    } else if (name == "paragraph measures") {
        QTextBlockFormat block;
        block.setAlignment(Qt::AlignRight);
        RtfFormat::SetTwips(block, RtfFormat::Measure::LeftIndent, 1441);
        RtfFormat::SetTwips(block, RtfFormat::Measure::FirstIndent, -360);
        cursor.setBlockFormat(block);
        cursor.insertText("right", arial);
        QTextBlockFormat next;
        next.setAlignment(Qt::AlignJustify);
        next.setTopMargin(6); // points set by Qt, no twips kept
        next.setBottomMargin(3.3);
        next.setRightMargin(36);
        next.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        cursor.insertBlock(next, arial);
        cursor.insertText("justified after a page break");
    } else if (name == "empty paragraphs") {
        cursor.insertText("one", arial);
        cursor.insertBlock();
        cursor.insertBlock(QTextBlockFormat(), Format("Courier New", 14, true));
    } else if (name == "escapes") {
        cursor.insertText(QStringLiteral("a\\b{c}\td") + QChar(QChar::LineSeparator)
                              + QString::fromUtf8(" é€ Ωмир ‑ 😀"),
                          arial);
    } else if (name == "symbol font") {
        QTextCharFormat symbol = Format("Symbol", 12);
        cursor.insertText(QString(QChar(0xF061)) + QChar(0xF0B7) + "1", symbol);
        cursor.insertText("a", arial);
    }
}

} // namespace

class tst_RtfWriter : public QObject
{
    Q_OBJECT
private slots:
    void exactBytes_data();
    void exactBytes();
    void roundTrip_data();
    void roundTrip();
    void sameContentSameBytes();
    void readBackKeepsFormats();
};

void tst_RtfWriter::exactBytes_data()
{
    QTest::addColumn<QString>("document");
    QTest::addColumn<QByteArray>("rtf");

    QTest::newRow("empty") << "empty"
                           << Header("{\\f0\\fnil\\fcharset0 Sans;}") + "\\pard\\plain\\f0\\fs20}";
    QTest::newRow("styled runs")
        << "styled runs"
        << Header("{\\f0\\fnil\\fcharset0 Arial;}{\\f1\\fnil\\fcharset0 Times New Roman;}",
                  "\\red0\\green0\\blue255;\\red0\\green0\\blue0;")
            + "\\pard\\plain\\f0\\fs20 plain \\plain\\f0\\fs20\\b bold "
              "\\plain\\f1\\fs21\\i\\ul\\strike\\cf1 the rest\\plain\\f0\\fs20\\cf2  black}";
    QTest::newRow("paragraph measures")
        << "paragraph measures"
        << Header("{\\f0\\fnil\\fcharset0 Arial;}")
            + "\\pard\\qr\\fi-360\\li1441\\plain\\f0\\fs20 right\\par\r\n"
              "\\pard\\qj\\ri720\\sb120\\sa66\\page\\plain\\f0\\fs20 justified after a page break}";
    QTest::newRow("empty paragraphs")
        << "empty paragraphs"
        << Header("{\\f0\\fnil\\fcharset0 Arial;}{\\f1\\fnil\\fcharset0 Courier New;}")
            + "\\pard\\plain\\f0\\fs20 one\\par\r\n\\pard\\plain\\f0\\fs20\\par\r\n"
              "\\pard\\plain\\f1\\fs28\\b\\par}";
    QTest::newRow("escapes")
        << "escapes"
        << Header("{\\f0\\fnil\\fcharset0 Arial;}")
            + "\\pard\\plain\\f0\\fs20 a\\\\b\\{c\\}\\tab d\\line  \\'e9\\'80 "
              "\\u937?\\u1084?\\u1080?\\u1088? \\u8209? \\u-10179?\\u-8704?}";
    QTest::newRow("symbol font")
        << "symbol font"
        << Header("{\\f0\\ftech\\fcharset2 Symbol;}{\\f1\\fnil\\fcharset0 Arial;}")
            + "\\pard\\plain\\f0\\fs24 \\'61\\'b7\\u49?\\plain\\f1\\fs20 a}";
}

void tst_RtfWriter::exactBytes()
{
    QFETCH(QString, document);
    QFETCH(QByteArray, rtf);
    QTextDocument doc;
    doc.setDefaultFont(QFont("Sans", 10));
    Build(doc, document);
    QCOMPARE(RtfWriter().Write(&doc), rtf);
}

void tst_RtfWriter::roundTrip_data()
{
    QTest::addColumn<QByteArray>("source"); // RTF to start from, or a built document's name

    for (const char *name : {"empty", "styled runs", "paragraph measures", "empty paragraphs",
                             "escapes", "symbol font"})
        QTest::newRow(name) << QByteArray(name);
    for (const char *file : {"libreoffice-sample.rtf", "libreoffice-breaks.rtf", "abiword-sample.rtf"})
        QTest::newRow(file) << Fixture(file);
    QTest::newRow("code pages and symbols")
        << QByteArray("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman Times;}{\\f1\\fcharset204 Cyr;}"
                      "{\\f2\\fscript\\fcharset0 Brush;}}{\\colortbl;\\red1\\green2\\blue3;}"
                      "\\pard\\qc\\li-20\\fi15\\sb7\\sa9\\fs15 \\'e9\\emdash\\~\\_ {\\f1\\cf1 \\'c0}"
                      "{\\f2\\b\\i x}\\page\\par\\par\\page y\\par\\pard\\qr\\par}");
}

void tst_RtfWriter::roundTrip()
{
    QFETCH(QByteArray, source);
    QTextDocument first;
    first.setDefaultFont(QFont("Sans", 10));
    if (RtfReader::LooksLikeRtf(source))
        QVERIFY(RtfReader().Read(source, &first));
    else
        Build(first, QString::fromLatin1(source));

    const QByteArray written = RtfWriter().Write(&first);
    QCOMPARE(RtfWriter().Write(&first), written);

    QTextDocument second;
    RtfReader reader;
    QVERIFY2(reader.Read(written, &second), qPrintable(reader.ErrorString()));
    QCOMPARE(Text(second), Text(first));
    QCOMPARE(second.blockCount(), first.blockCount());
    QCOMPARE(RtfWriter().Write(&second), written);
}

void tst_RtfWriter::sameContentSameBytes()
{
    // One document typed straight, one built out of order and with formats
    // applied afterwards: the same content gives the same file.
    QTextDocument straight;
    QTextCursor a(&straight);
    a.insertText("Hello ", Format("Arial", 12));
    a.insertText("world", Format("Arial", 12, true));

    QTextDocument shuffled;
    QTextCursor b(&shuffled);
    b.insertText("wor", Format("Verdana", 9));
    b.insertText("ld", Format("Arial", 12, true));
    b.setPosition(0);
    b.insertText("Hello ", Format("Arial", 12));
    b.setPosition(6);
    b.setPosition(9, QTextCursor::KeepAnchor);
    b.setCharFormat(Format("Arial", 12, true));

    QCOMPARE(Text(shuffled), Text(straight));
    QCOMPARE(RtfWriter().Write(&shuffled), RtfWriter().Write(&straight));
}

void tst_RtfWriter::readBackKeepsFormats()
{
    QTextDocument document;
    document.setDefaultFont(QFont("Sans", 10));
    Build(document, "styled runs");
    QTextDocument copy;
    QVERIFY(RtfReader().Read(RtfWriter().Write(&document), &copy));

    const QTextCharFormat rest = copy.find("the rest").charFormat();
    QCOMPARE(rest.fontFamilies().toStringList(), QStringList{"Times New Roman"});
    QCOMPARE(rest.fontPointSize(), 10.5);
    QVERIFY(rest.fontItalic() && rest.fontUnderline() && rest.fontStrikeOut());
    QCOMPARE(rest.foreground().color(), QColor(Qt::blue));
    QCOMPARE(copy.find("bold").charFormat().fontWeight(), int(QFont::Bold));
    QCOMPARE(copy.find("black").charFormat().foreground().color(), QColor(Qt::black));
    QCOMPARE(copy.find("plain").charFormat().foreground().style(), Qt::NoBrush);
}

QTEST_GUILESS_MAIN(tst_RtfWriter)
#include "tst_rtfwriter.moc"
