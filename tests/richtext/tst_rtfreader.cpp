#include "richtext/RtfFormat.h"
#include "richtext/RtfReader.h"

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
        << QByteArray("{\\info{\\title t}}{\\stylesheet{\\s0 Normal;}}{\\pict\\pngblip 8950}x")
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
                           "{\\f3\\ftech\\fcharset2 Symbol;}}"
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

QTEST_GUILESS_MAIN(tst_RtfReader)
#include "tst_rtfreader.moc"
