#include "TestSupport.h"

#include "store/Crypt.h"
#include "store/EntryFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

class TestEntryFiles : public QObject
{
    Q_OBJECT
private slots:
    void names_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("name");
        QTest::newRow("plain") << QDate(1999, 3, 5) << "Entries/19990305.QYE";
        QTest::newRow("before the year 1000") << QDate(999, 12, 31) << "Entries/09991231.QYE";
        QTest::newRow("leap day") << QDate(2024, 2, 29) << "Entries/20240229.QYE";
    }
    void names()
    {
        QFETCH(QDate, date);
        QFETCH(QString, name);
        TempProgramFolder folder;
        QCOMPARE(EntryFileName(date), folder.file(name));
    }

    void lowerCaseExtensionIsFound()
    {
        TempProgramFolder folder;
        QVERIFY(QDir().mkpath(folder.file("Entries")));
        QVERIFY(folder.write("Entries/20010101.qye", "{\\rtf1 x}"));
        QVERIFY(EntryFileExists(QDate(2001, 1, 1)));
        QCOMPARE(EntryFileName(QDate(2001, 1, 1)), folder.file("Entries/20010101.qye"));
        QVERIFY(!EntryFileExists(QDate(2001, 1, 2)));
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("password");
        QTest::newRow("no password") << QString();
        QTest::newRow("password") << QStringLiteral("Sesame 1");
    }
    void roundTrip()
    {
        QFETCH(QString, password);
        TempProgramFolder folder;
        CreateFolderPath(EntriesFolder());
        QByteArray plain("{\\rtf1\\ansi Dear diary,\\par}");
        plain.append(char(0)).append(char(255));
        const QString name = EntryFileName(QDate(2020, 6, 1));
        QString error;
        QVERIFY2(WriteEntryFile(name, plain, password, &error), qPrintable(error));
        const QByteArray onDisk = folder.read("Entries/20200601.QYE");
        QCOMPARE(onDisk.size(), plain.size());
        if (password.isEmpty()) {
            QCOMPARE(onDisk, plain);
        } else {
            QVERIFY(!onDisk.contains("diary"));
            QCOMPARE(onDisk, EncipherBytes(plain, password));
        }
        QByteArray back;
        QVERIFY(ReadEntryFile(name, password, &back, &error));
        QCOMPARE(back, plain);
        // Nothing but the entry file was written.
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList());
        QCOMPARE(QDir(EntriesFolder()).entryList(QDir::Files), QStringList{"20200601.QYE"});
    }

    void failuresNameTheFile()
    {
        TempProgramFolder folder;
        QVERIFY(folder.write("Entries", "a file where the folder should be"));
        const QString name = EntryFileName(QDate(2020, 6, 1));
        QString error;
        QVERIFY(!WriteEntryFile(name, "{\\rtf1 x}", QString(), &error));
        QVERIFY2(error.contains(name), qPrintable(error));
        QByteArray plain;
        QVERIFY(!ReadEntryFile(name, QString(), &plain, &error));
        QVERIFY2(error.contains(name), qPrintable(error));
        // Removing a file that is not there is no error.
        QVERIFY(RemoveEntryFile(folder.file("nothing.QYE"), &error));
    }

    void createFolderPath()
    {
        TempProgramFolder folder;
        CreateFolderPath(folder.file("a/b/c/"));
        QVERIFY(QFileInfo(folder.file("a/b/c")).isDir());
        CreateFolderPath(folder.file("a/b/c")); // already there
        QVERIFY(QFileInfo(folder.file("a/b/c")).isDir());
    }

    void leftoverErasemeGoes()
    {
        TempProgramFolder folder;
        QVERIFY(folder.write("Eraseme.rtf", "plain"));
        QVERIFY(folder.write("ERASEME.RTF", "plain"));
        QVERIFY(folder.write("keep.rtf", "other"));
        RemoveLeftoverEraseme();
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"keep.rtf"});
    }

    void copyFileBytes()
    {
        TempProgramFolder folder;
        QByteArray data;
        for (int i = 0; i < 5000; ++i)
            data.append(char(i * 7));
        QVERIFY(folder.write("source", data));
        QVERIFY(!CopyFileBytes(folder.file("source"), folder.file("source")));
        QCOMPARE(folder.read("source"), data);
        QVERIFY(!CopyFileBytes(folder.file("missing"), folder.file("target")));
        QVERIFY(!QFileInfo::exists(folder.file("target")));
        QVERIFY(CopyFileBytes(folder.file("source"), folder.file("target")));
        QCOMPARE(folder.read("target"), data);
        QVERIFY(!CopyFileBytes(folder.file("source"), folder.file("no/such/folder/target")));
    }
};

QTEST_GUILESS_MAIN(TestEntryFiles)
#include "tst_entryfiles.moc"
