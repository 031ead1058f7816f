#include "richtext/RtfFormat.h"
#include "richtext/RtfPicture.h"
#include "richtext/RtfReader.h"

#include <QBuffer>
#include <QImage>
#include <QTextImageFormat>

#include <QFile>
#include <QRandomGenerator>
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

QStringList Paragraphs(const QTextDocument &document)
{
    QStringList out;
    for (QTextBlock b = document.begin(); b.isValid(); b = b.next())
        out << b.text();
    return out;
}

// The format of the last character of the first occurrence of the text.
QTextCharFormat FormatOf(const QTextDocument &document, const QString &text)
{
    const QTextCursor found = document.find(text);
    return found.isNull() ? QTextCharFormat() : found.charFormat();
}

QString Family(const QTextCharFormat &format)
{
    return format.fontFamilies().toStringList().value(0);
}

QTextBlock Block(const QTextDocument &document, int index)
{
    return document.findBlockByNumber(index);
}

} // namespace

class tst_RtfReader : public QObject
{
    Q_OBJECT
private slots:
    void fixtureSample_data();
    void fixtureSample();
    void fixtureBreaks();
    void characters_data();
    void characters();
    void properties();
    void malformed_data();
    void malformed();
    void randomBytesEndInADocument();
    void looksLikeRtf_data();
    void looksLikeRtf();
    void fixtureFeatures_data();
    void fixtureFeatures();
    void pictures_data();
    void pictures();
    void wordConstructs();
};

void tst_RtfReader::fixtureSample_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("sans");     // the family of the first paragraph
    QTest::addColumn<int>("leftIndent");   // of the third paragraph, in twips
    QTest::addColumn<int>("spaceBefore");
    QTest::newRow("LibreOffice") << "libreoffice-sample.rtf" << "Arial" << 720 << 144;
    QTest::newRow("AbiWord") << "abiword-sample.rtf" << "Liberation Sans" << 0 << 0;
}

void tst_RtfReader::fixtureSample()
{
    QFETCH(QString, file);
    QFETCH(QString, sans);
    QFETCH(int, leftIndent);
    QFETCH(int, spaceBefore);

    QTextDocument document;
    RtfReader reader;
    QVERIFY2(reader.Read(Fixture(file), &document), qPrintable(reader.ErrorString()));

    const QStringList paragraphs = Paragraphs(document);
    QVERIFY(paragraphs.size() >= 3);
    QCOMPARE(paragraphs.mid(0, 3),
             QStringList({"Dear diary: bold, italic, underlined and red.",
                          QString::fromUtf8("Café, Müller, 20 €"), "Right aligned"}));
    for (const QString &rest : paragraphs.mid(3))
        QVERIFY(rest.isEmpty());

    const QTextCharFormat plain = FormatOf(document, "Dear");
    QCOMPARE(Family(plain), sans);
    QCOMPARE(plain.fontPointSize(), 12.0);
    QCOMPARE(plain.fontWeight(), int(QFont::Normal));
    QVERIFY(!plain.fontItalic() && !plain.fontUnderline());
    QCOMPARE(plain.foreground().style(), Qt::NoBrush);

    QCOMPARE(FormatOf(document, "bold").fontWeight(), int(QFont::Bold));
    QVERIFY(FormatOf(document, "italic").fontItalic());
    QVERIFY(!FormatOf(document, "italic").fontUnderline());
    QVERIFY(FormatOf(document, "underlined").fontUnderline());
    QCOMPARE(FormatOf(document, " and").fontWeight(), int(QFont::Normal));
    const QTextCharFormat red = FormatOf(document, "red");
    QCOMPARE(red.foreground().color(), QColor(255, 0, 0));
    QCOMPARE(Family(red), sans);

    const QTextCharFormat serif = FormatOf(document, "Caf");
    QCOMPARE(Family(serif), "Times New Roman");
    QCOMPARE(serif.fontPointSize(), 10.5);

    QCOMPARE(Block(document, 0).blockFormat().alignment(), Qt::AlignLeft);
    QCOMPARE(Block(document, 1).blockFormat().alignment(), Qt::AlignHCenter);
    const QTextBlockFormat right = Block(document, 2).blockFormat();
    QCOMPARE(right.alignment(), Qt::AlignRight);
    QCOMPARE(RtfFormat::Twips(right, RtfFormat::Measure::LeftIndent), leftIndent);
    QCOMPARE(right.leftMargin(), leftIndent / 20.0);
    QCOMPARE(RtfFormat::Twips(right, RtfFormat::Measure::SpaceBefore), spaceBefore);
}

void tst_RtfReader::fixtureBreaks()
{
    QTextDocument document;
    RtfReader reader;
    QVERIFY2(reader.Read(Fixture("libreoffice-breaks.rtf"), &document),
             qPrintable(reader.ErrorString()));

    QCOMPARE(Paragraphs(document),
             QStringList({QStringLiteral("Name:\tvalue") + QChar(QChar::LineSeparator)
                              + "second line with struck text",
                          QString::fromUtf8("Αλφα and “quotes” — dash")}));
    QVERIFY(FormatOf(document, "struck").fontStrikeOut());
    QVERIFY(!FormatOf(document, "text").fontStrikeOut());
    QCOMPARE(FormatOf(document, "Name").fontPointSize(), 11.0);

    using RtfFormat::Measure;
    const QTextBlockFormat first = Block(document, 0).blockFormat();
    QCOMPARE(first.alignment(), Qt::AlignJustify);
    QCOMPARE(RtfFormat::Twips(first, Measure::LeftIndent), 360);
    QCOMPARE(RtfFormat::Twips(first, Measure::RightIndent), 720);
    QCOMPARE(RtfFormat::Twips(first, Measure::FirstIndent), -180);
    QCOMPARE(RtfFormat::Twips(first, Measure::SpaceAfter), 120);
    QVERIFY(!(first.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore));
    QVERIFY(Block(document, 1).blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
}

void tst_RtfReader::characters_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("text");

    QTest::newRow("escapes") << QByteArray("a\\\\b\\{c\\}") << "a\\b{c}";
    QTest::newRow("ansi code page") << QByteArray("\\'e9\\'fc\\'80\\'93") << QString::fromUtf8("éü€“");
    QTest::newRow("other code page")
        << QByteArray("{\\f1 \\'c0\\'e1}") << QString::fromUtf8("Аб");
    QTest::newRow("central european") << QByteArray("{\\f4 \\'b9\\'e8}") << QString::fromUtf8("ąč");
    QTest::newRow("greek") << QByteArray("{\\f5 \\'e1\\'d9}") << QString::fromUtf8("αΩ");
    QTest::newRow("turkish") << QByteArray("{\\f6 \\'fe\\'dd}") << QString::fromUtf8("şİ");
    QTest::newRow("baltic") << QByteArray("{\\f7 \\'e0\\'f0}") << QString::fromUtf8("ąš");
    QTest::newRow("raw 8-bit bytes") << QByteArray("{\\f1 \xc0}\xe9") << QString::fromUtf8("Аé");
    QTest::newRow("double-byte code page")
        << QByteArray("{\\f2 \\'82\\'a0x}") << QString::fromUtf8("あx");
    QTest::newRow("symbol font") << QByteArray("{\\f3 a\\'b7}")
                                 << QString(QChar(0xF061)) + QChar(0xF0B7);
    QTest::newRow("unicode with fallback") << QByteArray("\\u937?\\u-10179?\\u-8704?z")
                                           << QString::fromUtf8("Ω😀z");
    QTest::newRow("uc2 skips two") << QByteArray("\\uc2\\u12354\\'82\\'a0x") << QString::fromUtf8("あx");
    QTest::newRow("uc0 skips none") << QByteArray("\\uc0\\u233 x") << QString::fromUtf8("éx");
    QTest::newRow("fallback ends at group") << QByteArray("{\\uc3\\u233}xy") << QString::fromUtf8("éxy");
    QTest::newRow("breaks") << QByteArray("a\\tab b\\line c") << QStringLiteral("a\tb") + QChar(0x2028) + "c";
    QTest::newRow("symbols")
        << QByteArray("\\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote\\~\\-\\_")
        << QString::fromUtf8("—–•‘’“”\u00A0\u00AD\u2011");
    QTest::newRow("line ends are not text") << QByteArray("a\r\nb\rc\nd") << "abcd";
    QTest::newRow("unknown words and stars")
        << QByteArray("a{\\*\\unknown hidden {nested}}b{\\foo c}\\bar d") << "abcd";
    QTest::newRow("skipped destinations")
        << QByteArray("{\\info{\\title t}}{\\stylesheet{\\s0 Normal;}}{\\header h}{\\*\\pict\\pngblip 8950}x")
        << "x";
    QTest::newRow("bin by its length") << QByteArray("{\\pict\\bin6 }}{{\\}}x") << "x";
    QTest::newRow("field result") << QByteArray(
        "{\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt link}}") << "link";
}

void tst_RtfReader::characters()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, text);
    const QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}"
                           "{\\f1\\fcharset204 Cyr;}{\\f2\\fcharset128 MS Mincho;}"
                           "{\\f3\\ftech\\fcharset2 Symbol;}{\\f4\\fcharset238 CE;}"
                           "{\\f5\\fcharset161 Gr;}{\\f6\\fcharset162 Tr;}{\\f7\\fcharset186 Bt;}}"
        + body + "}";
    QTextDocument document;
    RtfReader reader;
    QVERIFY2(reader.Read(rtf, &document), qPrintable(reader.ErrorString()));
    QCOMPARE(Paragraphs(document).join('\n'), text);
}

void tst_RtfReader::properties()
{
    const QByteArray rtf =
        "{\\rtf1\\ansi\\deff1{\\fonttbl{\\f0\\froman Times;}{\\f1\\fswiss Arial;}}"
        "{\\colortbl;\\red0\\green128\\blue0;}"
        "\\pard\\qc\\li1441\\ri-30\\fi-7\\sb1\\sa3 \\fs21 a\\b b\\b0\\i c\\i0\\ul d\\ulnone e"
        "\\ulw f\\ul0 g\\strike h\\strike0\\cf1 i\\cf0 j\\plain k{\\f0\\fs40 l}m\\cf7 n\\par"
        "\\pard x\\page y\\fs99999999999 z}";
    QTextDocument document;
    RtfReader reader;
    QVERIFY(reader.Read(rtf, &document));

    QCOMPARE(Paragraphs(document), QStringList({"abcdefghijklmn", "x", "yz"}));
    QCOMPARE(FormatOf(document, "a").fontPointSize(), 10.5);
    QCOMPARE(FormatOf(document, "b").fontWeight(), int(QFont::Bold));
    QCOMPARE(FormatOf(document, "c").fontWeight(), int(QFont::Normal));
    QVERIFY(FormatOf(document, "c").fontItalic());
    QVERIFY(FormatOf(document, "d").fontUnderline());
    QVERIFY(!FormatOf(document, "e").fontUnderline());
    QVERIFY(FormatOf(document, "f").fontUnderline());
    QVERIFY(!FormatOf(document, "g").fontUnderline());
    QVERIFY(FormatOf(document, "h").fontStrikeOut());
    QCOMPARE(FormatOf(document, "i").foreground().color(), QColor(0, 128, 0));
    QCOMPARE(FormatOf(document, "j").foreground().style(), Qt::NoBrush); // auto colour
    const QTextCharFormat plain = FormatOf(document, "k");
    QCOMPARE(plain.fontPointSize(), 12.0);
    QCOMPARE(Family(plain), "Arial"); // \plain goes back to \deff
    QCOMPARE(plain.fontStyleHint(), QFont::SansSerif);
    QCOMPARE(Family(FormatOf(document, "l")), "Times");
    QCOMPARE(FormatOf(document, "l").fontPointSize(), 20.0);
    QCOMPARE(FormatOf(document, "m").fontPointSize(), 12.0); // the group ended
    QCOMPARE(FormatOf(document, "n").foreground().style(), Qt::NoBrush); // no such colour
    QCOMPARE(FormatOf(document, "z").fontPointSize(), 1638.0);

    using RtfFormat::Measure;
    const QTextBlockFormat first = Block(document, 0).blockFormat();
    QCOMPARE(first.alignment(), Qt::AlignHCenter);
    QCOMPARE(RtfFormat::Twips(first, Measure::LeftIndent), 1441);
    QCOMPARE(first.leftMargin(), 72.05);
    QCOMPARE(RtfFormat::Twips(first, Measure::RightIndent), -30);
    QCOMPARE(RtfFormat::Twips(first, Measure::FirstIndent), -7);
    QCOMPARE(RtfFormat::Twips(first, Measure::SpaceBefore), 1);
    QCOMPARE(RtfFormat::Twips(first, Measure::SpaceAfter), 3);
    const QTextBlockFormat second = Block(document, 1).blockFormat();
    QCOMPARE(second.alignment(), Qt::AlignLeft);
    QCOMPARE(second.leftMargin(), 0.0);
    QVERIFY(!(second.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore));
    QVERIFY(Block(document, 2).blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
}

void tst_RtfReader::malformed_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("text"); // null: any text

    QTest::newRow("empty") << QByteArray() << false << QString("");
    QTest::newRow("plain text") << QByteArray("hello") << false << QString("");
    QTest::newRow("header only") << QByteArray("{\\rtf") << true << QString("");
    QTest::newRow("unclosed group") << QByteArray("{\\rtf1 abc{\\b def") << true << QString("abcdef");
    QTest::newRow("too many closes") << QByteArray("{\\rtf1 abc}}}}def") << true << QString("abc");
    QTest::newRow("truncated escape") << QByteArray("{\\rtf1 a\\'") << true << QString("a");
    QTest::newRow("bad hex") << QByteArray("{\\rtf1 a\\'zzb}") << true << QString("azzb");
    QTest::newRow("lone backslash") << QByteArray("{\\rtf1 a\\") << true << QString("a");
    QTest::newRow("endless word")
        << QByteArray("{\\rtf1 \\") + QByteArray(100000, 'x') + " a}" << true << QString("a");
    QTest::newRow("endless number")
        << QByteArray("{\\rtf1 \\fs") + QByteArray(100000, '9') + " a}" << true << QString("a");
    QTest::newRow("huge bin") << QByteArray("{\\rtf1 a\\bin2147483647 xyz}") << true << QString("a");
    QTest::newRow("negative bin") << QByteArray("{\\rtf1 a\\bin-5 b}") << true << QString("ab");
    QTest::newRow("huge uc") << QByteArray("{\\rtf1\\uc2147483647\\u233 abc}") << true << QString::fromUtf8("é");
    QTest::newRow("unicode out of range") << QByteArray("{\\rtf1 \\u99999999 \\u-99999 a}") << true << QString("a");
    QTest::newRow("unknown code page") << QByteArray("{\\rtf1\\ansicpg77777 \\'e9}") << true << QString::fromUtf8("é");
    QTest::newRow("code page with control characters")
        << QByteArray("{\\rtf1\\pc a\\'7f\x7f b}") << true << QString("a b");
    QTest::newRow("unterminated font table")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial") << true << QString("");
    QTest::newRow("deep nesting")
        << QByteArray("{\\rtf1 a") + QByteArray(200000, '{') + "b" << false << QString("a");
    QTest::newRow("deep nesting in a skipped group")
        << QByteArray("{\\rtf1 a{\\*\\x") + QByteArray(5000, '{') << false << QString("a");
    QTest::newRow("nesting within the limit")
        << QByteArray("{\\rtf1 a") + QByteArray(500, '{') + "b" + QByteArray(500, '}') + "c}"
        << true << QString("abc");
}

void tst_RtfReader::malformed()
{
    QFETCH(QByteArray, rtf);
    QFETCH(bool, ok);
    QFETCH(QString, text);

    QTextDocument document;
    RtfReader reader;
    QCOMPARE(reader.Read(rtf, &document), ok);
    QCOMPARE(reader.ErrorString().isEmpty(), ok);
    if (!text.isNull())
        QCOMPARE(document.toPlainText(), text);
}

void tst_RtfReader::randomBytesEndInADocument()
{
    // Fuzzing in small: RTF-heavy noise must end in a document of bounded size.
    QRandomGenerator random(20240517);
    const QByteArray alphabet = "{}\\\\\\'*abfiu0123456789- ;\r\n\x80\xff";
    for (int round = 0; round < 200; ++round) {
        QByteArray rtf = "{\\rtf1 ";
        const int length = random.bounded(1, 4000);
        for (int i = 0; i < length; ++i)
            rtf += alphabet[random.bounded(int(alphabet.size()))];
        QTextDocument document;
        RtfReader reader;
        reader.Read(rtf, &document);
        QVERIFY(document.characterCount() <= rtf.size() + 1);
    }
}

void tst_RtfReader::looksLikeRtf_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("rtf");
    QTest::newRow("rtf") << QByteArray("{\\rtf1}") << true;
    QTest::newRow("blanks first") << QByteArray(" \r\n\t{\\rtf1}") << true;
    QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF{\\rtf1}") << true;
    QTest::newRow("text") << QByteArray("rtf {\\rtf1}") << false;
    QTest::newRow("other group") << QByteArray("{\\foo}") << false;
    QTest::newRow("empty") << QByteArray() << false;
}

void tst_RtfReader::looksLikeRtf()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, rtf);
    QCOMPARE(RtfReader::LooksLikeRtf(bytes), rtf);
}

namespace {

QByteArray Hex(const QByteArray &bytes)
{
    QByteArray hex = bytes.toHex();
    for (qsizetype i = 64; i < hex.size(); i += 65)
        hex.insert(i, '\n'); // writers break the digits into lines
    return hex;
}

QByteArray Encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QImage Checker(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, (x + y) % 2 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
    return image;
}

struct Found
{
    int count = 0;
    RtfPicture::Data data;
    QTextImageFormat format;
};

Found Pictures(const QTextDocument &document)
{
    Found found;
    for (QTextBlock b = document.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (!f.isImageFormat())
                continue;
            found.count += it.fragment().length();
            found.format = f.toImageFormat();
            RtfPicture::DataOf(found.format, &found.data);
        }
    }
    return found;
}

} // namespace

void tst_RtfReader::fixtureFeatures_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("pictureTwips");
    QTest::newRow("LibreOffice") << "libreoffice-features.rtf" << QSize(720, 360);
    QTest::newRow("AbiWord") << "abiword-features.rtf" << QSize(960, 474);
}

void tst_RtfReader::fixtureFeatures()
{
    QFETCH(QString, file);
    QFETCH(QSize, pictureTwips);
    QTextDocument document;
    RtfReader reader;
    QVERIFY2(reader.Read(Fixture(file), &document), qPrintable(reader.ErrorString()));

    const QString text = document.toPlainText();
    QVERIFY2(text.contains("Link: example site and H2O, x2, marked."), qPrintable(text));
    // every cell's text, in order
    const qsizetype a1 = text.indexOf("Cell A1"), b1 = text.indexOf("Cell B1");
    const qsizetype a2 = text.indexOf("Cell A2"), b2 = text.indexOf("Cell B2");
    QVERIFY(a1 >= 0 && a1 < b1 && b1 < a2 && a2 < b2);
    QVERIFY(text.contains("Heading One"));

    const QTextCharFormat link = FormatOf(document, "example site");
    QVERIFY(link.isAnchor());
    QCOMPARE(link.anchorHref(), "https://example.org/page");
    QVERIFY(link.fontUnderline());
    QCOMPARE(link.underlineColor(), QColor(0, 0, 255));
    QVERIFY(!FormatOf(document, " and H").isAnchor());

    QCOMPARE(FormatOf(document, " and H").verticalAlignment(), QTextCharFormat::AlignNormal);
    const QTextCursor two = document.find("2O");
    QTextCursor sub(&document);
    sub.setPosition(two.selectionStart() + 1);
    const QTextCharFormat subFormat = sub.charFormat();
    QVERIFY(subFormat.verticalAlignment() == QTextCharFormat::AlignSubScript
            || subFormat.intProperty(RtfFormat::BaselineHalfPoints) < 0);
    QCOMPARE(FormatOf(document, "marked").background().color(), QColor(255, 255, 0));

    const QTextBlock spaced = document.find("Double spaced").block();
    bool multiple = false;
    QCOMPARE(RtfFormat::LineSpacing(spaced.blockFormat(), &multiple), 480);
    QVERIFY(multiple);

    const Found pictures = Pictures(document);
    QCOMPARE(pictures.count, 1); // the shape's picture, not its fallback as well
    QCOMPARE(pictures.data.kind, RtfFormat::Picture::Png);
    QCOMPARE(RtfPicture::SizeInTwips(pictures.data), pictureTwips);
    const QImage image = RtfPicture::Image(pictures.data);
    QCOMPARE(image.size(), QSize(48, 24));
    QCOMPARE(image.pixel(3, 3), qRgb(255, 0, 0));
}

void tst_RtfReader::pictures_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("bytes"); // empty: not compared
    QTest::addColumn<QSize>("twips");
    QTest::addColumn<QSize>("pixels"); // of the shown image

    const QImage checker = Checker(6, 4);
    const QByteArray png = Encoded(checker, "PNG");
    const QByteArray jpeg = Encoded(QImage(16, 8, QImage::Format_RGB32), "JPEG");
    const QByteArray dib = Encoded(checker, "BMP").mid(14);
    using P = RtfFormat::Picture;

    QTest::newRow("png sized by goal")
        << "{\\pict\\pngblip\\picw6\\pich4\\picwgoal1440\\pichgoal720 " + Hex(png) + "}"
        << int(P::Png) << png << QSize(1440, 720) << QSize(6, 4);
    QTest::newRow("png scaled")
        << "{\\pict\\pngblip\\picw6\\pich4\\picwgoal1000\\pichgoal600\\picscalex50\\picscaley200 "
               + Hex(png) + "}"
        << int(P::Png) << png << QSize(500, 1200) << QSize(6, 4);
    QTest::newRow("png sized by pixels")
        << "{\\pict\\pngblip\\picw6\\pich4 " + Hex(png) + "}" << int(P::Png) << png
        << QSize(90, 60) << QSize(6, 4);
    QTest::newRow("jpeg stays jpeg")
        << "{\\pict\\jpegblip\\picw16\\pich8\\picwgoal240\\pichgoal120 " + Hex(jpeg) + "}"
        << int(P::Jpeg) << jpeg << QSize(240, 120) << QSize(16, 8);
    QTest::newRow("binary data")
        << "{\\pict\\pngblip\\picwgoal90\\pichgoal60\\bin" + QByteArray::number(png.size()) + " "
               + png + "}"
        << int(P::Png) << png << QSize(90, 60) << QSize(6, 4);
    QTest::newRow("dib becomes png")
        << "{\\pict\\dibitmap0\\picw6\\pich4\\picwgoal180\\pichgoal120 " + Hex(dib) + "}"
        << int(P::Png) << QByteArray() << QSize(180, 120) << QSize(6, 4);
    // a 16 by 2 monochrome device bitmap, rows of 2 bytes
    QTest::newRow("wbitmap becomes png")
        << QByteArray("{\\pict\\wbitmap0\\picw16\\pich2\\wbmbitspixel1\\wbmplanes1"
                      "\\wbmwidthbytes2 ff00 00ff}")
        << int(P::Png) << QByteArray() << QSize(240, 30) << QSize(16, 2);
    QTest::newRow("metafile placeholder")
        << QByteArray("{\\pict\\wmetafile8\\picw2540\\pich1270\\picwgoal1440\\pichgoal720 "
                      "0100090000}")
        << int(P::Wmf) << QByteArray::fromHex("0100090000") << QSize(1440, 720) << QSize(96, 48);
    QTest::newRow("emf sized in hundredths of a millimetre")
        << QByteArray("{\\pict\\emfblip\\picw5080\\pich2540 01000000}") << int(P::Emf)
        << QByteArray::fromHex("01000000") << QSize(2880, 1440) << QSize(192, 96);
    QTest::newRow("shape picture over its fallback")
        << "{\\*\\shppict{\\pict\\pngblip\\picwgoal90\\pichgoal60 " + Hex(png)
               + "}}{\\nonshppict{\\pict\\wmetafile8\\picw10\\pich10 0100}}"
        << int(P::Png) << png << QSize(90, 60) << QSize(6, 4);
}

void tst_RtfReader::pictures()
{
    QFETCH(QByteArray, body);
    QFETCH(int, kind);
    QFETCH(QByteArray, bytes);
    QFETCH(QSize, twips);
    QFETCH(QSize, pixels);

    QTextDocument document;
    RtfReader reader;
    QVERIFY(reader.Read("{\\rtf1\\ansi a" + body + "b}", &document));
    QCOMPARE(document.toPlainText(), QString("a") + QChar(QChar::ObjectReplacementCharacter) + "b");
    const Found found = Pictures(document);
    QCOMPARE(found.count, 1);
    QCOMPARE(int(found.data.kind), kind);
    if (!bytes.isEmpty())
        QCOMPARE(found.data.bytes, bytes);
    QCOMPARE(RtfPicture::SizeInTwips(found.data), twips);
    // the document shows the picture at its size, from its resource
    QCOMPARE(QSizeF(found.format.width(), found.format.height()), QSizeF(twips / 15));
    const QVariant shown = document.resource(QTextDocument::ImageResource, QUrl(found.format.name()));
    QCOMPARE(shown.value<QImage>().size(), pixels);
    if (kind == int(RtfFormat::Picture::Png) && pixels == QSize(6, 4))
        QCOMPARE(shown.value<QImage>().pixel(1, 0), qRgb(255, 0, 0));
}

void tst_RtfReader::wordConstructs()
{
    // What Word and WordPad write: a style sheet whose styles the body uses,
    // tab stops, line spacing, raised text, highlighting, tables.
    const QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
        "{\\f1\\froman\\fcharset0 Times New Roman{\\*\\falt Times};}}"
        "{\\colortbl ;\\red255\\green255\\blue0;\\red0\\green0\\blue255;}"
        "{\\stylesheet{\\ql\\f0\\fs20 Normal;}{\\s1\\qc\\sb240\\sa60\\keepn\\b\\f1\\fs32 heading 1;}"
        "{\\*\\cs10\\i\\cf2 Emphasis;}}"
        "{\\info{\\author someone}}{\\header\\pard header text\\par}"
        "\\pard\\plain\\s1\\qc\\sb240\\sa60\\b\\f1\\fs32 Title\\par"
        "\\pard\\plain\\s1\\qr Right title\\par"
        "\\pard\\plain\\f0\\fs20\\tx720\\tqr\\tx5040\\tqc\\tx2880\\tqdec\\tx7200\\sl-360\\keep "
        "a\\tab b{\\cs10 styled}{\\highlight1 lit}{\\cb1 shaded}{\\up6 up}{\\dn4 down}"
        "{\\super sup}{\\sub sub}\\par"
        "\\pard\\sl360\\slmult0 at least\\par"
        "\\trowd\\cellx1000\\cellx2000\\pard\\intbl one\\cell two\\cell\\row"
        "\\pard after}";
    QTextDocument document;
    RtfReader reader;
    QVERIFY(reader.Read(rtf, &document));
    QCOMPARE(Paragraphs(document),
             QStringList({"Title", "Right title", "a\tbstyledlitshadedupdownsupsub", "at least",
                          "one\ttwo", "after"}));

    const QTextCharFormat title = FormatOf(document, "Title");
    QCOMPARE(Family(title), "Times New Roman"); // the alternative name is not part of it
    QCOMPARE(title.fontPointSize(), 16.0);
    const QTextBlockFormat heading = Block(document, 1).blockFormat();
    QCOMPARE(heading.alignment(), Qt::AlignRight); // explicit beats the style
    QCOMPARE(RtfFormat::Twips(heading, RtfFormat::Measure::SpaceBefore), 240); // from the style
    QCOMPARE(FormatOf(document, "Right").fontWeight(), int(QFont::Bold));
    QCOMPARE(Block(document, 0).blockFormat().alignment(), Qt::AlignHCenter);

    const QTextCharFormat styled = FormatOf(document, "styled");
    QVERIFY(styled.fontItalic());
    QCOMPARE(styled.foreground().color(), QColor(0, 0, 255));
    QCOMPARE(FormatOf(document, "lit").background().color(), QColor(255, 255, 0));
    QCOMPARE(FormatOf(document, "shaded").background().color(), QColor(255, 255, 0));
    QCOMPARE(FormatOf(document, "up").intProperty(RtfFormat::BaselineHalfPoints), 6);
    QCOMPARE(FormatOf(document, "down").intProperty(RtfFormat::BaselineHalfPoints), -4);
    QCOMPARE(FormatOf(document, "sup").verticalAlignment(), QTextCharFormat::AlignSuperScript);
    QCOMPARE(FormatOf(document, "sub").verticalAlignment(), QTextCharFormat::AlignSubScript);
    QCOMPARE(FormatOf(document, "after").verticalAlignment(), QTextCharFormat::AlignNormal);

    const QTextBlockFormat tabbed = Block(document, 2).blockFormat();
    const QList<QTextOption::Tab> tabs = tabbed.tabPositions();
    QCOMPARE(tabs.size(), 4);
    QCOMPARE(tabs[0].position * 20, 720.0);
    QCOMPARE(tabs[0].type, QTextOption::LeftTab);
    QCOMPARE(tabs[1].type, QTextOption::RightTab);
    QCOMPARE(tabs[1].position * 20, 5040.0);
    QCOMPARE(tabs[2].type, QTextOption::CenterTab);
    QCOMPARE(tabs[3].type, QTextOption::DelimiterTab);
    bool multiple = true;
    QCOMPARE(RtfFormat::LineSpacing(tabbed, &multiple), -360);
    QVERIFY(!multiple);
    QCOMPARE(tabbed.lineHeightType(), int(QTextBlockFormat::FixedHeight));
    QVERIFY(tabbed.nonBreakableLines());
    QCOMPARE(RtfFormat::LineSpacing(Block(document, 3).blockFormat(), &multiple), 360);
    QCOMPARE(Block(document, 3).blockFormat().lineHeightType(),
             int(QTextBlockFormat::MinimumHeight));
}

QTEST_GUILESS_MAIN(tst_RtfReader)
#include "tst_rtfreader.moc"
