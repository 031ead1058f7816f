#include "richtext/RtfFormat.h"
#include "richtext/RtfPicture.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTextImageFormat>
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

QByteArray Png(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(qRgb(0, 128, 0));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// What an entry may hold beyond plain runs: a link, a picture, tab stops,
// line spacing, highlighting, raised and lowered text, a metafile.
QByteArray Features()
{
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}"
           "{\\colortbl;\\red255\\green255\\blue0;}"
           "\\pard\\tqr\\tx5040\\tx720\\sl-300\\slmult0\\keep\\fs20 a\\tab b "
           "{\\field{\\*\\fldinst HYPERLINK \"http://example.org/a b\"}{\\fldrslt site}}"
           " {\\highlight1 lit}{\\super sup}{\\dn4 low}\\par"
           "\\pard\\sl480\\slmult1 {\\pict\\pngblip\\picw4\\pich2\\picwgoal600\\pichgoal300 "
        + Png(4, 2).toHex()
        + "}{\\pict\\jpegblip\\picw2\\pich2\\picscalex50\\picscaley50 ffd8ffd9}"
          "{\\pict\\wmetafile8\\picw2540\\pich2540 0100090000}\\par}";
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
    void featuresSurviveWriting();
    void imageWithoutStoredBytes();
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
            + "\\pard\\plain\\f0\\fs20\\cf2{\\plain\\f0\\fs20 plain }{\\plain\\f0\\fs20\\b bold }"
              "{\\plain\\f1\\fs21\\i\\ul\\strike\\cf1 the rest}{\\plain\\f0\\fs20\\cf2  black}}";
    QTest::newRow("paragraph measures")
        << "paragraph measures"
        << Header("{\\f0\\fnil\\fcharset0 Arial;}")
            + "\\pard\\qr\\fi-360\\li1441\\plain\\f0\\fs20{\\plain\\f0\\fs20 right}\\par\r\n"
              "\\pard\\qj\\ri720\\sb120\\sa66\\page\\plain\\f0\\fs20"
              "{\\plain\\f0\\fs20 justified after a page break}}";
    QTest::newRow("empty paragraphs")
        << "empty paragraphs"
        << Header("{\\f0\\fnil\\fcharset0 Arial;}{\\f1\\fnil\\fcharset0 Courier New;}")
            + "\\pard\\plain\\f0\\fs20{\\plain\\f0\\fs20 one}\\par\r\n\\pard\\plain\\f0\\fs20\\par\r\n"
              "\\pard\\plain\\f1\\fs28\\b\\par}";
    QTest::newRow("escapes")
        << "escapes"
        << Header("{\\f0\\fnil\\fcharset0 Arial;}")
            + "\\pard\\plain\\f0\\fs20{\\plain\\f0\\fs20 a\\\\b\\{c\\}\\tab d\\line  \\'e9\\'80 "
              "\\u937?\\u1084?\\u1080?\\u1088? \\u8209? \\u-10179?\\u-8704?}}";
    QTest::newRow("symbol font")
        << "symbol font"
        << Header("{\\f0\\ftech\\fcharset2 Symbol;}{\\f1\\fnil\\fcharset0 Arial;}")
            + "\\pard\\plain\\f1\\fs20{\\plain\\f0\\fs24 \\'61\\'b7\\u49?}{\\plain\\f1\\fs20 a}}";
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
    QTest::newRow("features") << Features();
    for (const char *file : {"libreoffice-sample.rtf", "libreoffice-breaks.rtf", "abiword-sample.rtf",
                             "libreoffice-features.rtf", "abiword-features.rtf"})
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

void tst_RtfWriter::featuresSurviveWriting()
{
    QTextDocument first;
    QVERIFY(RtfReader().Read(Features(), &first));
    const QByteArray written = RtfWriter().Write(&first);
    QVERIFY(written.contains("{\\field{\\*\\fldinst HYPERLINK \"http://example.org/a b\"}{\\fldrslt{"));
    QVERIFY(written.contains("\\pict\\pngblip\\picw4\\pich2\\picwgoal600\\pichgoal300\r\n"));
    QVERIFY(written.contains("\\pict\\jpegblip\\picw2\\pich2\\picwgoal30\\pichgoal30"
                             "\\picscalex50\\picscaley50\r\nffd8ffd9}"));
    QVERIFY(written.contains("\\pict\\wmetafile8\\picw2540\\pich2540\\picwgoal1440\\pichgoal1440"));

    QTextDocument copy;
    QVERIFY(RtfReader().Read(written, &copy));
    QCOMPARE(copy.toPlainText(), first.toPlainText());
    const QTextCharFormat site = copy.find("site").charFormat();
    QCOMPARE(site.anchorHref(), "http://example.org/a b");
    QVERIFY(!copy.find(" lit").charFormat().isAnchor() || copy.find("lit").charFormat().anchorHref().isEmpty());
    QCOMPARE(copy.find("lit").charFormat().background().color(), QColor(255, 255, 0));
    QCOMPARE(copy.find("sup").charFormat().verticalAlignment(), QTextCharFormat::AlignSuperScript);
    QCOMPARE(copy.find("low").charFormat().intProperty(RtfFormat::BaselineHalfPoints), -4);

    const QTextBlockFormat tabbed = copy.begin().blockFormat();
    QCOMPARE(tabbed.tabPositions().size(), 2);
    QCOMPARE(tabbed.tabPositions()[0].type, QTextOption::RightTab);
    QCOMPARE(tabbed.tabPositions()[0].position * 20, 5040.0);
    bool multiple = true;
    QCOMPARE(RtfFormat::LineSpacing(tabbed, &multiple), -300);
    QVERIFY(!multiple && tabbed.nonBreakableLines());
    QCOMPARE(RtfFormat::LineSpacing(copy.begin().next().blockFormat(), &multiple), 480);
    QVERIFY(multiple);

    // the pictures keep their bytes and sizes
    QList<RtfPicture::Data> pictures;
    for (auto it = copy.begin().next().begin(); !it.atEnd(); ++it) {
        RtfPicture::Data data;
        if (it.fragment().charFormat().isImageFormat()
            && RtfPicture::DataOf(it.fragment().charFormat().toImageFormat(), &data))
            pictures << data;
    }
    QCOMPARE(pictures.size(), 3);
    QCOMPARE(pictures[0].bytes, Png(4, 2));
    QCOMPARE(RtfPicture::SizeInTwips(pictures[0]), QSize(600, 300));
    QCOMPARE(pictures[1].kind, RtfFormat::Picture::Jpeg);
    QCOMPARE(pictures[1].bytes, QByteArray::fromHex("ffd8ffd9"));
    QCOMPARE(RtfPicture::SizeInTwips(pictures[1]), QSize(15, 15));
    QCOMPARE(pictures[2].kind, RtfFormat::Picture::Wmf);
    QCOMPARE(RtfPicture::SizeInTwips(pictures[2]), QSize(1440, 1440));
}

void tst_RtfWriter::imageWithoutStoredBytes()
{
    // An image that came in through a web page's HTML holds only pixels:
    // it is written as a PNG of its shown size.
    QTextDocument document;
    QImage image(10, 5, QImage::Format_RGB32);
    image.fill(Qt::red);
    document.addResource(QTextDocument::ImageResource, QUrl("web.png"), image);
    QTextImageFormat format;
    format.setName("web.png");
    format.setWidth(20);
    format.setHeight(10);
    QTextCursor(&document).insertImage(format);

    QTextDocument copy;
    QVERIFY(RtfReader().Read(RtfWriter().Write(&document), &copy));
    const QTextCharFormat read = copy.begin().begin().fragment().charFormat();
    RtfPicture::Data data;
    QVERIFY(read.isImageFormat() && RtfPicture::DataOf(read.toImageFormat(), &data));
    QCOMPARE(RtfPicture::SizeInTwips(data), QSize(300, 150));
    QCOMPARE(RtfPicture::Image(data).pixel(2, 2), qRgb(255, 0, 0));
}

QTEST_GUILESS_MAIN(tst_RtfWriter)
#include "tst_rtfwriter.moc"
