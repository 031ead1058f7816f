// Read and write throughput of the RTF engine over a mix of entries like the
// diary holds: short and long days, plain and formatted, some with a
// picture, a few with other code pages.  Prints MB/s for the plain-text
// reader (search), the document reader (loading) and the writer (saving).

#include "richtext/RtfPlainText.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QRandomGenerator>
#include <QTextDocument>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

const char *const Words[] = {"today", "we", "walked", "to", "the", "harbour", "and", "saw",
                             "boats", "rain", "coffee", "letter", "mother", "garden", "quiet",
                             "evening", "wrote", "again", "tomorrow", "café", "naïve"};

QByteArray Sentence(QRandomGenerator &random, int words)
{
    QByteArray out;
    for (int i = 0; i < words; ++i) {
        QByteArray word = QByteArray(Words[random.bounded(int(std::size(Words)))]);
        QByteArray escaped;
        for (const char c : word) {
            if (static_cast<unsigned char>(c) < 0x80) {
                escaped += c;
            } else {
                escaped += "\\'e9"; // Windows-1252 accents of the old program
                break;
            }
        }
        switch (random.bounded(12)) {
        case 0: out += "{\\b " + escaped + "}"; break;
        case 1: out += "{\\i " + escaped + "}"; break;
        case 2: out += "{\\cf2 " + escaped + "}"; break;
        default: out += escaped; break;
        }
        out += ' ';
    }
    return out;
}

QByteArray Entry(QRandomGenerator &random, const QByteArray &pictureHex)
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}"
                     "{\\f1\\froman Times New Roman;}{\\f2\\fcharset204 Arial Cyr;}}"
                     "{\\colortbl;\\red0\\green0\\blue0;\\red128\\green0\\blue0;}"
                     "\\pard\\plain\\f0\\fs20 ";
    const int paragraphs = 1 + random.bounded(random.bounded(4) == 0 ? 60 : 8);
    for (int p = 0; p < paragraphs; ++p) {
        if (random.bounded(5) == 0)
            rtf += "\\pard\\qc\\li720\\sb120 ";
        rtf += Sentence(random, 5 + random.bounded(60));
        if (random.bounded(20) == 0)
            rtf += "{\\f2 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2} ";
        if (random.bounded(40) == 0)
            rtf += "{\\pict\\pngblip\\picw64\\pich48\\picwgoal960\\pichgoal720 " + pictureHex + "}";
        rtf += "\\par\r\n";
    }
    return rtf + "}";
}

double MBps(qint64 bytes, qint64 nanoseconds)
{
    return nanoseconds > 0 ? (double(bytes) / (1024.0 * 1024.0)) / (nanoseconds / 1e9) : 0;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QImage picture(64, 48, QImage::Format_RGB32);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            picture.setPixel(x, y, qRgb(x * 4, y * 5, 128));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    const QByteArray pictureHex = png.toHex();

    QRandomGenerator random(1999);
    std::vector<QByteArray> entries;
    qint64 total = 0;
    while (total < 32 * 1024 * 1024) {
        entries.push_back(Entry(random, pictureHex));
        total += entries.back().size();
    }

    QElapsedTimer timer;
    timer.start();
    qint64 characters = 0;
    for (const QByteArray &entry : entries)
        characters += RtfPlainText(entry).size();
    const qint64 plainNs = timer.nsecsElapsed();

    // Loading and saving build documents: a slice of the mix is enough.
    const size_t sample = qMin<size_t>(entries.size(), 1500);
    qint64 sampleBytes = 0;
    std::vector<std::unique_ptr<QTextDocument>> documents;
    timer.restart();
    for (size_t i = 0; i < sample; ++i) {
        auto document = std::make_unique<QTextDocument>();
        RtfReader().Read(entries[i], document.get());
        sampleBytes += entries[i].size();
        documents.push_back(std::move(document));
    }
    const qint64 readNs = timer.nsecsElapsed();

    qint64 written = 0;
    timer.restart();
    for (const auto &document : documents)
        written += RtfWriter().Write(document.get()).size();
    const qint64 writeNs = timer.nsecsElapsed();

    std::printf("%-28s %10s %12s %10s\n", "RTF engine", "entries", "MB", "MB/s");
    std::printf("%-28s %10zu %12.1f %10.1f\n", "plain text (search)", entries.size(),
                total / 1048576.0, MBps(total, plainNs));
    std::printf("%-28s %10zu %12.1f %10.1f\n", "read into a document", sample,
                sampleBytes / 1048576.0, MBps(sampleBytes, readNs));
    std::printf("%-28s %10zu %12.1f %10.1f\n", "write a document", sample, written / 1048576.0,
                MBps(written, writeNs));
    std::printf("(%lld characters of text)\n", static_cast<long long>(characters));
    return 0;
}
