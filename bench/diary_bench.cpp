// Measures the diary on many years of entries: search, export, start-up,
// the First/Last scan and RTF throughput, each beside a baseline measured in
// the same run on the same files.
//
//   diary_bench [years] [runs]      (default 20 years, 5 runs)

#include "app/Clock.h"
#include "app/DateFormats.h"
#include "app/IniFile.h"
#include "app/MainScreen.h"
#include "app/Messages.h"
#include "app/Placement.h"
#include "app/ProgramFolder.h"
#include "output/EntryExport.h"
#include "output/EntrySearch.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"
#include "richtext/WPRichText.h"
#include "store/Crypt.h"
#include "store/EntryFiles.h"
#include "store/PasswordCodec.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextDocument>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

const char *const kWords[] = {
    "morning", "walked", "garden", "letter", "quiet", "rain", "coffee", "friend", "evening",
    "thought", "remember", "window", "summer", "travel", "book", "kitchen", "laughed", "river",
    "tired", "happy", "market", "music", "winter", "dinner", "station", "promise", "children",
    "village", "meeting", "weather", "Sunday", "holiday", "mountain", "telephone", "birthday",
    "caf\\'e9", "na\\'efve", "\\u8364?", "fianc\\'e9e", "the", "and", "a", "of", "to", "we", "I",
};

QByteArray pictureHex()
{
    QImage image(48, 32, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setPen(Qt::darkGreen);
    for (int i = 0; i < 32; i += 4)
        p.drawLine(0, i, 47, 31 - i);
    p.end();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png.toHex();
}

// One entry of about the given size: paragraphs of words with bold, italic,
// underlined, coloured and resized runs, sometimes a picture.
QByteArray makeEntry(QRandomGenerator &rng, int targetBytes, bool withPicture, const QByteArray &pict)
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}"
                     "{\\f1\\froman\\fcharset0 Times New Roman;}}\r\n"
                     "{\\colortbl;\\red0\\green0\\blue0;\\red128\\green0\\blue128;\\red0\\green0\\blue255;}\r\n";
    while (rtf.size() < targetBytes) {
        rtf += "\\pard\\plain\\f0\\fs20\\cf1 ";
        const int words = 20 + int(rng.bounded(80));
        for (int w = 0; w < words; ++w) {
            const int style = int(rng.bounded(40));
            const QByteArray word = kWords[rng.bounded(int(std::size(kWords)))];
            if (style == 0)
                rtf += "{\\b " + word + "}";
            else if (style == 1)
                rtf += "{\\i " + word + "}";
            else if (style == 2)
                rtf += "\\ul " + word + "\\ulnone";
            else if (style == 3)
                rtf += "{\\cf2\\f1\\fs28 " + word + "}";
            else
                rtf += word;
            rtf += ' ';
        }
        rtf += "\\par\r\n";
    }
    if (withPicture)
        rtf += "\\pard{\\pict\\pngblip\\picw48\\pich32\\picwgoal720\\pichgoal480 " + pict + "}\\par\r\n";
    rtf += "}";
    return rtf;
}

struct Diary
{
    int entries = 0;
    qint64 bytes = 0;
    QDate first, last;
};

Diary makeDiary(int years, const QString &password)
{
    Diary diary;
    QRandomGenerator rng(20261211);
    const QByteArray pict = pictureHex();
    CreateFolderPath(EntriesFolder());
    diary.last = Today().addDays(-1);
    diary.first = diary.last.addYears(-years).addDays(1);
    for (QDate d = diary.first; d <= diary.last; d = d.addDays(1)) {
        if (rng.bounded(100) >= 95) // most days have an entry
            continue;
        const int size = 1024 + int(rng.bounded(19 * 1024));
        const QByteArray rtf = makeEntry(rng, size, rng.bounded(20) == 0, pict);
        WriteEntryFile(EntryFileName(d), rtf, password, nullptr);
        ++diary.entries;
        diary.bytes += rtf.size();
    }
    return diary;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double timeRuns(int runs, const std::function<void()> &work)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    return median(ms);
}

void row(const char *what, double ms, const char *baselineWhat, double baseMs)
{
    if (baseMs > 0)
        std::printf("| %-46s | %9.1f | %-34s | %9.1f | %5.2fx |\n", what, ms, baselineWhat, baseMs,
                    ms / baseMs);
    else
        std::printf("| %-46s | %9.1f | %-34s | %9s | %6s |\n", what, ms, baselineWhat, "", "");
}

// Read every entry file, decipher it, search its bytes: the floor for any
// search over the files.
bool rawScan(const Diary &diary, const QString &password, const QByteArray &needle)
{
    bool any = false;
    for (QDate d = diary.first; d <= diary.last; d = d.addDays(1)) {
        QFile f(EntryFileName(d));
        if (!f.open(QIODevice::ReadOnly))
            continue;
        QByteArray bytes = f.readAll();
        if (!password.isEmpty())
            bytes = DecipherBytes(bytes, password);
        if (bytes.contains(needle))
            any = true;
    }
    return any;
}

void copyAll(const QString &to)
{
    QDirIterator it(EntriesFolder(), {QStringLiteral("*.QYE")}, QDir::Files);
    while (it.hasNext()) {
        it.next();
        const QString target = to + QLatin1Char('/') + it.fileName();
        QFile::remove(target);
        QFile::copy(it.filePath(), target);
    }
}

void benchDiary(int years, int runs, const QString &password)
{
    QTemporaryDir home;
    SetProgramFolder(home.path());
    QElapsedTimer made;
    made.start();
    const Diary diary = makeDiary(years, password);
    std::printf("\n%d years, %d entries, %.1f MB of RTF, %s (made in %.1f s)\n\n", years, diary.entries,
                diary.bytes / 1e6, password.isEmpty() ? "no password" : "with a password",
                made.elapsed() / 1e3);
    std::printf("| %-46s | %9s | %-34s | %9s | %6s |\n", "measure", "ms", "baseline", "ms", "ratio");
    std::printf("|%s|%s|%s|%s|%s|\n", QByteArray(48, '-').constData(), QByteArray(11, '-').constData(),
                QByteArray(36, '-').constData(), QByteArray(11, '-').constData(),
                QByteArray(8, '-').constData());

    const QString absent = QStringLiteral("xylophonequartz");
    const double base = timeRuns(runs, [&] { rawScan(diary, password, absent.toLatin1()); });
    const double full = timeRuns(runs, [&] {
        SearchEntries(diary.first, diary.last, absent, password);
    });
    row("Find Any, text in no entry (full scan)", full, "read, decipher, search bytes", base);

    // A text only the last entry holds.
    QByteArray lastRtf;
    ReadEntryFile(EntryFileName(diary.last), password, &lastRtf, nullptr);
    const QByteArray marked = lastRtf.left(lastRtf.size() - 1) + "\\pard zebracrossing\\par}";
    WriteEntryFile(EntryFileName(diary.last), marked, password, nullptr);
    const double lastOnly = timeRuns(runs, [&] {
        SearchEntries(diary.first, diary.last, QStringLiteral("ZebraCrossing"), password);
    });
    row("Find Any, text only in the last entry", lastOnly, "read, decipher, search bytes", base);

    QTemporaryDir out, copy;
    const double copied = timeRuns(runs, [&] { copyAll(copy.path()); });
    const double exported = timeRuns(runs, [&] {
        ExportEntries(diary.first, diary.last, out.path(), password);
    });
    row("Export all entries", exported, "plain copy of the entry files", copied);

    const double firstLast = timeRuns(runs, [&] {
        EarliestEntryDate(Today());
        LatestEntryDate(Today());
    });
    row("FirstDiaryRecord + LastDiaryRecord", firstLast, "", 0);
    double month = 0;
    {
        TMainScreen screen;
        QStringList days;
        month = timeRuns(runs, [&] { screen.MarkEntryDays(days, diary.last.year(), diary.last.month()); });
    }
    row("MarkEntryDays, one calendar month", month, "", 0);

    IniFile(IniFileName()).WriteBool(QStringLiteral("Opening Screen"), QStringLiteral("show"), false);
    if (!password.isEmpty())
        IniFile(IniFileName()).WriteString(QStringLiteral("Security"), QStringLiteral("Password"),
                                           EncryptString(password));
    const double startup = timeRuns(runs, [&] {
        TMainScreen screen;
        screen.FormCreate();
        screen.show();
        screen.FormActivate();
        QCoreApplication::processEvents();
        screen.LastButtonClick(); // the latest entry shown
        QCoreApplication::processEvents();
    });
    row("Start-up to an entry shown (window created)", startup, "", 0);

    // RTF throughput on the diary's own entries.
    std::vector<QByteArray> sample;
    qint64 sampleBytes = 0;
    for (QDate d = diary.first; d <= diary.last && sampleBytes < 20'000'000; d = d.addDays(3)) {
        QByteArray rtf;
        if (ReadEntryFile(EntryFileName(d), password, &rtf, nullptr)) {
            sampleBytes += rtf.size();
            sample.push_back(rtf);
        }
    }
    const double docMs = timeRuns(runs, [&] {
        for (const QByteArray &rtf : sample) {
            QTextDocument doc;
            RtfReader().Read(rtf, &doc);
        }
    });
    const double textMs = timeRuns(runs, [&] {
        for (const QByteArray &rtf : sample)
            EntryPlainText(rtf);
    });
    std::vector<QTextDocument *> docs;
    for (const QByteArray &rtf : sample) {
        auto *doc = new QTextDocument;
        RtfReader().Read(rtf, doc);
        docs.push_back(doc);
    }
    const double writeMs = timeRuns(runs, [&] {
        for (QTextDocument *doc : docs)
            RtfWriter().Write(doc);
    });
    qDeleteAll(docs);
    const double mb = sampleBytes / 1e6;
    std::printf("\nRTF on %.1f MB of entries: read to document %.1f MB/s, read to plain text %.1f MB/s, "
                "write %.1f MB/s\n",
                mb, mb / (docMs / 1e3), mb / (textMs / 1e3), mb / (writeMs / 1e3));
    SetProgramFolder(QString());
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SetMessageHandler([](MessageKind, const QString &) { return true; });
    SetScreenFacts(QSize(1280, 1024), 96);
    const int years = argc > 1 ? std::max(1, atoi(argv[1])) : 20;
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 5;
    std::printf("Quillary diary benchmark: median of %d runs in one process\n", runs);
    benchDiary(years, runs, QString());
    benchDiary(years, runs, QStringLiteral("BENCH 42"));
    return 0;
}
