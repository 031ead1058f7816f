#include "TestSupport.h"

#include "app/Clock.h"
#include "app/MainScreen.h"
#include "app/Printers.h"
#include "app/SingleInstance.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QTest>

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void renderingPrinterCountsAsNone_data()
    {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QStringList>("offered");
        QTest::newRow("none") << QStringList() << QStringList();
        QTest::newRow("only a rendering device")
            << QStringList{"Microsoft Office Document Image Rendering"} << QStringList();
        QTest::newRow("case matters") << QStringList{"rendering pdf"} << QStringList{"rendering pdf"};
        QTest::newRow("a second printer disables the rule")
            << QStringList{"Rendering", "Laser"} << QStringList{"Rendering", "Laser"};
        QTest::newRow("a real printer") << QStringList{"Laser"} << QStringList{"Laser"};
    }
    void renderingPrinterCountsAsNone()
    {
        QFETCH(QStringList, installed);
        QFETCH(QStringList, offered);
        SetInstalledPrinterNames(installed);
        CheckPrinters();
        QCOMPARE(ProgramPrinters(), offered);
        SetInstalledPrinterNames({}, false);
    }

    void secondCopyIsRefused()
    {
        QTemporaryDir dir;
        SetInstanceLockFile(dir.filePath("Quillary.lock"));
        QVERIFY(!AlreadyRunning());
        // A second copy, here another process, finds the lock held.
        QLockFile other(dir.filePath("Quillary.lock"));
        other.setStaleLockTime(0);
        QVERIFY(!other.tryLock(0));
        QCOMPARE(other.error(), QLockFile::LockFailedError);

        // After the first copy ends, a new one starts.
        ReleaseInstanceLock();
        QVERIFY(!AlreadyRunning());
        ReleaseInstanceLock();
        SetInstanceLockFile(QString());
    }

    void lockOfADeadCopyDoesNotBlock()
    {
        QTemporaryDir dir;
        const QString name = dir.filePath("Quillary.lock");
        // A lock file left by a copy that died: its process number is above
        // the largest the system hands out.
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("4194305\nquillary\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        file.close();
        SetInstanceLockFile(name);
        QVERIFY(!AlreadyRunning());
        ReleaseInstanceLock();
        SetInstanceLockFile(QString());
    }

    void oldTableNotConvertedEndsTheProgram()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        QVERIFY(folder.write("QUILLRY.DBF", "old table"));
        QVERIFY(folder.write("quillry.fpt", "old memo"));
        {
            TMainScreen screen;
            QVERIFY(!screen.FormCreate());
        }
        QCOMPARE(messages.last(), QStringLiteral("Terminating Quillary!"));
        QVERIFY(!QFileInfo::exists(folder.file("Entries")));
        QVERIFY(!QFileInfo::exists(folder.file("QY.INI")));
        QCOMPARE(folder.read("QUILLRY.DBF"), QByteArray("old table"));
    }

    void entriesFolderMeansTheOldTableIsIgnored()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        QVERIFY(folder.write("QY.INI", "[Opening Screen]\r\nshow=0\r\n"));
        QVERIFY(folder.write("QUILLRY.DBF", "old table"));
        QVERIFY(folder.write("QUILLRY.FPT", "old memo"));
        QVERIFY(QDir().mkpath(folder.file("Entries")));
        TMainScreen screen;
        QVERIFY(screen.FormCreate());
        QVERIFY(messages.messages.isEmpty());
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
