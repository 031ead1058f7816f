#include "store/PasswordChange.h"

#include "TestSupport.h"
#include "app/IniFile.h"
#include "app/Preferences.h"
#include "store/Crypt.h"
#include "store/EntryFiles.h"
#include "store/PasswordCodec.h"

#include <QDir>
#include <QDirIterator>
#include <QMap>
#include <QTest>

namespace {
// The diary every case starts from: plain texts by file name, including a
// lower-case extension and a name that is no date.
QMap<QString, QByteArray> plainEntries()
{
    QByteArray binary;
    for (int i = 0; i < 300; ++i)
        binary += char(i % 256);
    return {
        {"19990305.QYE", "{\\rtf1\\ansi The first entry.\\par}"},
        {"19990306.QYE", binary},
        {"20000101.qye", QByteArray(5000, 'x')},
        {"notes.QYE", "{\\rtf1 a name that is no date\\par}"},
    };
}

QString storedPassword()
{
    const QString stored = IniFile(IniFileName()).ReadString("Security", "Password", QString());
    return stored.isEmpty() ? stored : Decryptstring(stored);
}

class HookGuard
{
public:
    explicit HookGuard(std::function<ChangeStep(int)> hook) { SetPasswordChangeHook(std::move(hook)); }
    ~HookGuard() { SetPasswordChangeHook(nullptr); }
};

// Every file under the program folder with its bytes.
QMap<QString, QByteArray> filesOnDisk()
{
    QMap<QString, QByteArray> files;
    QDirIterator it(ProgramFolder(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        if (f.open(QIODevice::ReadOnly))
            files.insert(it.filePath().mid(ProgramFolder().size()), f.readAll());
    }
    return files;
}
} // namespace

class TestPasswordChange : public QObject
{
    Q_OBJECT

    void setUpDiary(const QString &password)
    {
        QVERIFY(QDir().mkpath(EntriesFolder()));
        const auto entries = plainEntries();
        for (auto it = entries.begin(); it != entries.end(); ++it) {
            QString error;
            QVERIFY2(WriteEntryFile(EntriesFolder() + it.key(), it.value(), password, &error),
                     qPrintable(error));
        }
        IniFile ini(IniFileName());
        QVERIFY(ini.WriteString("Default Font", "Name", "Arial"));
        QVERIFY(ini.WriteString("Security", "Password",
                                password.isEmpty() ? QString() : EncryptString(password)));
    }

    // The diary opens under the password QY.INI holds, every entry readable
    // and nothing else left in Entries.
    void verifyOnePassword(const QString &expected)
    {
        QCOMPARE(storedPassword(), expected);
        const auto entries = plainEntries();
        QStringList names = QDir(EntriesFolder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        QStringList wanted = entries.keys();
        names.sort();
        wanted.sort();
        QCOMPARE(names, wanted);
        for (auto it = entries.begin(); it != entries.end(); ++it) {
            QByteArray plain;
            QVERIFY(ReadEntryFile(EntriesFolder() + it.key(), expected, &plain, nullptr));
            QVERIFY2(plain == it.value(), qPrintable(it.key()));
        }
        // The rest of QY.INI is kept.
        QCOMPARE(IniFile(IniFileName()).ReadString("Default Font", "Name", QString()), QStringLiteral("Arial"));
    }

    // When both passwords are set, no plain entry is ever on disk.
    void verifyNoPlainText(const QString &oldPassword, const QString &newPassword)
    {
        if (oldPassword.isEmpty() || newPassword.isEmpty())
            return;
        const auto onDisk = filesOnDisk();
        for (const QByteArray &plain : plainEntries()) {
            for (auto it = onDisk.begin(); it != onDisk.end(); ++it)
                QVERIFY2(!it.value().contains(plain.left(64)), qPrintable(it.key()));
        }
    }

    void addRows()
    {
        QTest::addColumn<QString>("oldPassword");
        QTest::addColumn<QString>("newPassword");
        QTest::newRow("set") << QString() << QStringLiteral("SECRET");
        QTest::newRow("change") << QStringLiteral("abc") << QStringLiteral("New 12");
        QTest::newRow("clear") << QStringLiteral("Old Pw") << QString();
    }

private slots:
    void changeRewritesEveryEntry_data() { addRows(); }
    void changeRewritesEveryEntry()
    {
        QFETCH(QString, oldPassword);
        QFETCH(QString, newPassword);
        TempProgramFolder folder;
        setUpDiary(oldPassword);
        QCOMPARE(CountEntryFiles(), 4);

        QList<int> progress;
        QString error;
        QCOMPARE(ChangeEntryPassword(oldPassword, newPassword,
                                     [&](int done, int total) {
                                         QCOMPARE(total, 4);
                                         progress << done;
                                     },
                                     &error),
                 PasswordChangeResult::Changed);
        QCOMPARE(progress, (QList<int>{1, 2, 3, 4}));
        verifyOnePassword(newPassword);
        const auto entries = plainEntries();
        for (auto it = entries.begin(); it != entries.end(); ++it) {
            const QByteArray bytes = folder.read("Entries/" + it.key());
            QCOMPARE(bytes, newPassword.isEmpty() ? it.value() : EncipherBytes(it.value(), newPassword));
        }
        QVERIFY(!QFileInfo::exists(ErasemeFileName()));
    }

    // A crash at any change on disk, and again at any change of the
    // recovery that follows, leaves a diary under one password.
    void interruptedAtEveryStep_data() { addRows(); }
    void interruptedAtEveryStep()
    {
        QFETCH(QString, oldPassword);
        QFETCH(QString, newPassword);
        bool completed = false;
        for (int crashAt = 0; !completed; ++crashAt) {
            QVERIFY(crashAt < 100);
            for (int recoveryCrashAt = -1;; ++recoveryCrashAt) {
                QVERIFY(recoveryCrashAt < 100);
                TempProgramFolder folder;
                setUpDiary(oldPassword);
                PasswordChangeResult result;
                {
                    HookGuard hook([&](int step) { return step == crashAt ? ChangeStep::Crash : ChangeStep::Continue; });
                    result = ChangeEntryPassword(oldPassword, newPassword, nullptr, nullptr);
                }
                completed = result == PasswordChangeResult::Changed;
                if (!completed)
                    QCOMPARE(result, PasswordChangeResult::Interrupted);
                verifyNoPlainText(oldPassword, newPassword);

                bool recoveryInterrupted = false;
                if (recoveryCrashAt >= 0) {
                    HookGuard hook([&](int step) {
                        return step == recoveryCrashAt ? ChangeStep::Crash : ChangeStep::Continue;
                    });
                    recoveryInterrupted = !RecoverPasswordChange(nullptr);
                    verifyNoPlainText(oldPassword, newPassword);
                }
                QString error;
                QVERIFY2(RecoverPasswordChange(&error), qPrintable(error));
                const QString now = storedPassword();
                QVERIFY(now == oldPassword || now == newPassword);
                verifyOnePassword(now);
                if (completed)
                    QCOMPARE(now, newPassword);
                if (!recoveryInterrupted || completed)
                    break;
            }
        }
    }

    // A failure at any change on disk is undone at once: every entry and
    // QY.INI keep the old password, and the error names what failed.  Only
    // the final clean-up may fail after the change is complete.
    void failureAtEveryStepRollsBack_data() { addRows(); }
    void failureAtEveryStepRollsBack()
    {
        QFETCH(QString, oldPassword);
        QFETCH(QString, newPassword);
        int steps = 0;
        {
            TempProgramFolder folder;
            setUpDiary(oldPassword);
            HookGuard hook([&](int) { ++steps; return ChangeStep::Continue; });
            QCOMPARE(ChangeEntryPassword(oldPassword, newPassword, nullptr, nullptr),
                     PasswordChangeResult::Changed);
        }
        // Four new files, the journal, QY.INI, eight renames; then the
        // clean-up of four old files and the journal.
        QCOMPARE(steps, 4 + 1 + 1 + 8 + 4 + 1);
        for (int failAt = 0; failAt < steps; ++failAt) {
            TempProgramFolder folder;
            setUpDiary(oldPassword);
            const auto before = filesOnDisk();
            QString error;
            PasswordChangeResult result;
            {
                HookGuard hook([&](int step) { return step == failAt ? ChangeStep::Fail : ChangeStep::Continue; });
                result = ChangeEntryPassword(oldPassword, newPassword, nullptr, &error);
            }
            if (failAt < 14) {
                QCOMPARE(result, PasswordChangeResult::NotChanged);
                QVERIFY2(error.contains(" could not be "), qPrintable(error));
                QCOMPARE(filesOnDisk(), before);
                verifyOnePassword(oldPassword);
            } else {
                QCOMPARE(result, PasswordChangeResult::Changed);
                QVERIFY(RecoverPasswordChange(nullptr));
                verifyOnePassword(newPassword);
            }
        }
    }

    void unreadableOrUnwritableEntryChangesNothing_data()
    {
        QTest::addColumn<QString>("blocker");
        QTest::addColumn<QString>("named");
        QTest::newRow("entry is a folder") << "Entries/19990304.QYE" << "19990304.QYE could not be read";
        QTest::newRow("new file cannot be made") << "Entries/19990306.QYE.newpw" << "19990306.QYE.newpw could not be written";
    }
    void unreadableOrUnwritableEntryChangesNothing()
    {
        QFETCH(QString, blocker);
        QFETCH(QString, named);
        TempProgramFolder folder;
        setUpDiary("abc");
        QVERIFY(QDir().mkpath(folder.file(blocker)));
        const auto before = filesOnDisk();
        QString error;
        QCOMPARE(ChangeEntryPassword("abc", "XYZ", nullptr, &error), PasswordChangeResult::NotChanged);
        QVERIFY2(error.startsWith(named), qPrintable(error));
        QCOMPARE(filesOnDisk(), before);
        QCOMPARE(storedPassword(), QStringLiteral("abc"));
    }

    void damagedJournalIsRefused()
    {
        TempProgramFolder folder;
        setUpDiary("abc");
        QVERIFY(folder.write("Entries/PASSWORD.JNL", "Quillary password change 1\ndirection=forward\n"));
        QString error;
        QVERIFY(!RecoverPasswordChange(&error));
        QVERIFY2(error.contains("PASSWORD.JNL"), qPrintable(error));
        QVERIFY(QFileInfo::exists(folder.file("Entries/PASSWORD.JNL")));
    }

    void nothingToRecoverChangesNothing()
    {
        TempProgramFolder folder;
        setUpDiary("abc");
        const auto before = filesOnDisk();
        QVERIFY(RecoverPasswordChange(nullptr));
        QCOMPARE(filesOnDisk(), before);
    }
};

QTEST_MAIN(TestPasswordChange)
#include "tst_passwordchange.moc"
