#include "TestSupport.h"

#include "app/DateFormats.h"
#include "output/EntryExport.h"
#include "store/Crypt.h"
#include "store/EntryFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

class TestEntryExport : public QObject
{
    Q_OBJECT

    static QByteArray rtf(int n) { return "{\\rtf1\\ansi entry " + QByteArray::number(n) + "\\par}"; }

private slots:
    void names()
    {
        QCOMPARE(ExportFileName("/home/me/out", QDate(1998, 10, 15)), QStringLiteral("/home/me/out/19981015.RTF"));
        QCOMPARE(ExportFileName("/home/me/out/", QDate(1998, 10, 15)), QStringLiteral("/home/me/out/19981015.RTF"));
        QCOMPARE(ExportFolderName("/"), QStringLiteral("/"));
    }

    void exportsPlainRtf_data()
    {
        QTest::addColumn<QString>("password");
        QTest::newRow("no password") << QString();
        QTest::newRow("password") << QStringLiteral("KEY");
    }
    void exportsPlainRtf()
    {
        QFETCH(QString, password);
        TempProgramFolder folder;
        QTemporaryDir out;
        CreateFolderPath(EntriesFolder());
        const QList<QDate> dates{QDate(2021, 3, 1), QDate(2021, 3, 4), QDate(2021, 4, 1)};
        for (int i = 0; i < dates.size(); ++i)
            QVERIFY(WriteEntryFile(EntryFileName(dates[i]), rtf(i), password, nullptr));
        const QByteArray entryBefore = folder.read("Entries/20210301.QYE");

        ExportResult r = ExportEntries(QDate(2021, 3, 1), QDate(2021, 3, 31), out.path(), password);
        QCOMPARE(r.written, 2);
        QVERIFY(r.failed.isEmpty());
        QCOMPARE(QDir(out.path()).entryList(QDir::Files), (QStringList{"20210301.RTF", "20210304.RTF"}));
        QFile f(out.filePath("20210304.RTF"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), rtf(1)); // the RTF, deciphered when enciphered
        QCOMPARE(folder.read("Entries/20210301.QYE"), entryBefore);

        // A second export replaces what the first wrote.
        QVERIFY(WriteEntryFile(EntryFileName(dates[1]), rtf(9), password, nullptr));
        r = ExportEntries(dates[1], dates[1], out.path(), password);
        QCOMPARE(r.written, 1);
        f.close();
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), rtf(9));

        // A range the wrong way round exports nothing.
        QCOMPARE(ExportEntries(dates[2], dates[0], out.path(), password).written, 0);
    }

    void failuresAreNotCounted()
    {
        TempProgramFolder folder;
        CreateFolderPath(EntriesFolder());
        QVERIFY(WriteEntryFile(EntryFileName(QDate(2021, 3, 1)), rtf(1), QString(), nullptr));
        const ExportResult r = ExportEntries(QDate(2021, 3, 1), QDate(2021, 3, 1),
                                             folder.file("no/such/folder"), QString());
        QCOMPARE(r.written, 0);
        QCOMPARE(r.failed.size(), 1);
        QVERIFY(r.failed.first().contains("20210301.RTF"));
    }
};

QTEST_GUILESS_MAIN(TestEntryExport)
#include "tst_entryexport.moc"
