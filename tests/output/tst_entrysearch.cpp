#include "TestSupport.h"

#include "app/DateFormats.h"
#include "output/EntrySearch.h"
#include "store/EntryFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

namespace {
void writeEntry(const QDate &date, const QByteArray &rtf, const QString &password = QString())
{
    CreateFolderPath(EntriesFolder());
    QString error;
    QVERIFY2(WriteEntryFile(EntriesFolder() + DateToDigits(date) + ".QYE", rtf, password, &error),
             qPrintable(error));
}
} // namespace

class TestEntrySearch : public QObject
{
    Q_OBJECT
private slots:
    void matchesTheTextNotTheMarkup_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("needle");
        QTest::addColumn<bool>("found");
        const QByteArray plain = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Dear Diary, a parade.\\par}";
        QTest::newRow("capitalised") << plain << "diary" << true;
        QTest::newRow("upper needle") << plain << "DEAR DIARY" << true;
        QTest::newRow("control word par") << QByteArray("{\\rtf1\\ansi Hello\\par world\\par}") << "par" << false;
        QTest::newRow("font table") << plain << "fonttbl" << false;
        QTest::newRow("font name") << plain << "Arial" << false;
        QTest::newRow("word inside text") << plain << "parade" << true;
        QTest::newRow("across runs")
            << QByteArray("{\\rtf1\\ansi Sun{\\b shi}ne\\par}") << "sunshine" << true;
        QTest::newRow("escaped accent")
            << QByteArray("{\\rtf1\\ansi\\ansicpg1252 Caf\\'e9 au lait\\par}") << QString::fromUtf8("CAFÉ")
            << true;
        QTest::newRow("unicode") << QByteArray("{\\rtf1\\ansi \\u955?\\u972?\\u947?\\u959?\\u962?\\par}")
                                 << QString::fromUtf8("ΛΌΓΟΣ") << true;
        QTest::newRow("plain text entry") << QByteArray("Just some words") << "SOME" << true;
        QTest::newRow("not there") << plain << "ocean" << false;
    }
    void matchesTheTextNotTheMarkup()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, needle);
        QFETCH(bool, found);
        QCOMPARE(TextContains(EntryPlainText(rtf), needle), found);
    }

    void scanStopsAtTheFirstMatch_data()
    {
        QTest::addColumn<QString>("password");
        QTest::newRow("plain") << QString();
        QTest::newRow("enciphered") << QStringLiteral("OPEN 42");
    }
    void scanStopsAtTheFirstMatch()
    {
        QFETCH(QString, password);
        TempProgramFolder folder;
        writeEntry(QDate(2020, 1, 1), "{\\rtf1 nothing here\\par}", password);
        writeEntry(QDate(2020, 1, 5), "{\\rtf1 the Ocean at last\\par}", password);
        writeEntry(QDate(2020, 2, 1), "{\\rtf1 ocean again\\par}", password);
        QList<QDate> visited;
        const SearchResult r = SearchEntries(QDate(2019, 12, 1), QDate(2020, 12, 31), "ocean", password,
                                             [&](const QDate &d) { visited << d; });
        QVERIFY(r.found);
        QCOMPARE(r.date, QDate(2020, 1, 5));
        // Every entry up to the match was looked at, in date order.
        QCOMPARE(visited.mid(0, 2), (QList<QDate>{QDate(2020, 1, 1), QDate(2020, 1, 5)}));
        // Further on from the day after.
        const SearchResult next = SearchEntries(QDate(2020, 1, 6), QDate(2020, 12, 31), "ocean", password);
        QCOMPARE(next.date, QDate(2020, 2, 1));
        const SearchResult none = SearchEntries(QDate(2020, 2, 2), QDate(2020, 12, 31), "ocean", password);
        QVERIFY(!none.found);
        // Nothing but the entries is on disk.
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList());
    }

    void unreadableEntriesAreSkippedAndNamed()
    {
        TempProgramFolder folder;
        writeEntry(QDate(2020, 1, 2), "{\\rtf1 found it\\par}");
        // An entry file whose reading fails whoever runs the test: the memory
        // of this process at address 0.
        QVERIFY(QFile::link("/proc/self/mem", EntriesFolder() + "20200101.QYE"));
        const SearchResult r = SearchEntries(QDate(2020, 1, 1), QDate(2020, 1, 3), "found", QString());
        QVERIFY(r.found);
        QCOMPARE(r.date, QDate(2020, 1, 2));
        QCOMPARE(r.unreadable, QList<QDate>{QDate(2020, 1, 1)});
        QVERIFY(r.errors.value(0).contains("20200101.QYE"));
    }
};

QTEST_GUILESS_MAIN(TestEntrySearch)
#include "tst_entrysearch.moc"
