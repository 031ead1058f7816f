// What the writer produces, opened by other word processors: LibreOffice
// and AbiWord read our file and write their own RTF of it, which our reader
// then compares with what we wrote.  Runs where the programs are installed.

#include "richtext/RtfFormat.h"
#include "richtext/RtfPicture.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>

namespace {

QByteArray Png()
{
    QImage image(32, 16, QImage::Format_RGB32);
    image.fill(qRgb(200, 30, 30));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// An entry as the editor makes it: fonts, sizes, styles, colours,
// alignment, indents, a page break and a picture.
QByteArray Entry()
{
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}}"
           "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue128;}"
           "\\pard\\f0\\fs24 Plain, {\\b bold}, {\\i italic}, {\\ul underlined}, {\\cf1 red}"
           " and {\\f1\\fs32\\cf2 big navy Times}.\\par"
           "\\pard\\qc Caf\\'e9 \\u8364? centred\\par"
           "\\pard\\qr\\li720\\ri360\\fi-180\\sb120\\sa240 Right with indents\\par"
           "\\pard\\qj\\page Justified after a page break\\par"
           "\\pard Picture: {\\pict\\pngblip\\picw32\\pich16\\picwgoal960\\pichgoal480 "
        + Png().toHex() + "} end\\par}";
}

struct Look
{
    QString family;
    qreal points = 0;
    bool bold = false, italic = false, underline = false;
    QColor color;
};

Look LookOf(const QTextDocument &document, const QString &text)
{
    const QTextCharFormat f = document.find(text).charFormat();
    return {f.fontFamilies().toStringList().value(0), f.fontPointSize(),
            f.fontWeight() >= QFont::DemiBold, f.fontItalic(), f.fontUnderline(),
            f.foreground().style() == Qt::NoBrush ? QColor(Qt::black) : f.foreground().color()};
}

QTextBlockFormat BlockOf(const QTextDocument &document, const QString &text)
{
    return document.find(text).block().blockFormat();
}

QStringList Paragraphs(const QTextDocument &document)
{
    QStringList out;
    for (QTextBlock b = document.begin(); b.isValid(); b = b.next())
        out << b.text();
    while (!out.isEmpty() && out.last().isEmpty())
        out.removeLast(); // converters add an empty last paragraph
    return out;
}

} // namespace

class tst_Interop : public QObject
{
    Q_OBJECT
private slots:
    void otherProgramsReadWhatWeWrite_data();
    void otherProgramsReadWhatWeWrite();
};

void tst_Interop::otherProgramsReadWhatWeWrite_data()
{
    QTest::addColumn<QString>("program");
    QTest::newRow("LibreOffice") << "soffice";
    QTest::newRow("AbiWord") << "abiword";
}

void tst_Interop::otherProgramsReadWhatWeWrite()
{
    QFETCH(QString, program);
    const QString executable = QStandardPaths::findExecutable(program);
    if (executable.isEmpty())
        QSKIP("the program is not installed");

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QTextDocument ours;
    QVERIFY(RtfReader().Read(Entry(), &ours));
    const QString input = dir.filePath("entry.rtf");
    {
        QFile file(input);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(RtfWriter().Write(&ours));
    }
    const QString outDir = dir.filePath("out");
    QDir().mkpath(outDir);
    const QString output = outDir + "/entry.rtf";
    QStringList arguments;
    if (program == "soffice") {
        // A profile of its own, so a running office does not take the job.
        arguments << "-env:UserInstallation=file://" + dir.filePath("profile") << "--headless"
                  << "--convert-to" << "rtf" << "--outdir" << outDir << input;
    } else {
        arguments << "--to=rtf" << "-o" << output << input;
    }
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(executable, arguments);
    QVERIFY(process.waitForFinished(180000));
    QVERIFY2(QFile::exists(output), process.readAll().constData());

    QFile file(output);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QTextDocument theirs;
    RtfReader reader;
    QVERIFY2(reader.Read(file.readAll(), &theirs), qPrintable(reader.ErrorString()));

    QStringList expected = Paragraphs(ours);
    QCOMPARE(Paragraphs(theirs), expected);

    for (const char *text : {"Plain", "bold", "italic", "underlined", "red", "big navy"}) {
        const Look a = LookOf(ours, text), b = LookOf(theirs, text);
        QCOMPARE(b.family, a.family);
        QCOMPARE(b.points, a.points);
        QCOMPARE(b.bold, a.bold);
        QCOMPARE(b.italic, a.italic);
        QCOMPARE(b.underline, a.underline);
        QCOMPARE(b.color, a.color);
    }

    using RtfFormat::Measure;
    QCOMPARE(BlockOf(theirs, "centred").alignment(), Qt::AlignHCenter);
    const QTextBlockFormat indented = BlockOf(theirs, "Right with");
    QCOMPARE(indented.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    for (auto [measure, twips] : {std::pair{Measure::LeftIndent, 720}, {Measure::RightIndent, 360},
                                  {Measure::FirstIndent, -180}, {Measure::SpaceBefore, 120},
                                  {Measure::SpaceAfter, 240}})
        QVERIFY(qAbs(RtfFormat::Twips(indented, measure) - twips) <= 1); // AbiWord rounds
    const QTextBlockFormat justified = BlockOf(theirs, "Justified");
    QCOMPARE(justified.alignment(), Qt::AlignJustify);
    QVERIFY(justified.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);

    // the picture: there, with its pixels and its size
    const QTextBlock pictureBlock = theirs.find("Picture").block();
    RtfPicture::Data picture;
    bool found = false;
    for (auto it = pictureBlock.begin(); !it.atEnd(); ++it) {
        const QTextCharFormat f = it.fragment().charFormat();
        if (f.isImageFormat() && RtfPicture::DataOf(f.toImageFormat(), &picture))
            found = true;
    }
    QVERIFY(found);
    const QSize twips = RtfPicture::SizeInTwips(picture);
    QVERIFY2(qAbs(twips.width() - 960) <= 15 && qAbs(twips.height() - 480) <= 15,
             qPrintable(QString("%1x%2").arg(twips.width()).arg(twips.height())));
    const QImage image = RtfPicture::Image(picture);
    QCOMPARE(image.size(), QSize(32, 16));
    QCOMPARE(image.pixel(5, 5), qRgb(200, 30, 30));
}

QTEST_GUILESS_MAIN(tst_Interop)
#include "tst_interop.moc"
