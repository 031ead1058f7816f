#include "store/Crypt.h"

#include "TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTest>

class TestCrypt : public QObject
{
    Q_OBJECT

private:
    static QByteArray sample(qsizetype size)
    {
        QByteArray bytes(size, Qt::Uninitialized);
        for (qsizetype i = 0; i < size; ++i)
            bytes[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
        return bytes;
    }

    static bool run(TPGCrypt &crypt, const QString &in, const QString &out, const QString &password,
                    bool encipher)
    {
        crypt.SetInputFile(in);
        crypt.SetOutputFile(out);
        crypt.SetPassword(password);
        return encipher ? crypt.Encrypt() : crypt.Decrypt();
    }

    static QStringList allFiles(const QString &path)
    {
        QStringList files;
        QDirIterator it(path, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        files.sort();
        return files;
    }

private slots:
    void firstDrawsFromStateOne()
    {
        KeyStream keys(1);
        QList<int> draws;
        for (int i = 0; i < 6; ++i)
            draws << keys.Next();
        QCOMPARE(draws, (QList<int>{8, 219, 51, 69, 171, 81}));
    }

    void seed_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<quint32>("seed");
        QTest::newRow("abc") << "abc" << quint32(594);
        QTest::newRow("upper case") << "ABC" << quint32(594);
        QTest::newRow("empty") << "" << quint32(0);
        QTest::newRow("latin-1 letter kept") << QString(QChar(0xE9)) << quint32(0xE9);
        QTest::newRow("wraps to 32 bits") << QString(5000, QChar(0xFF)) << quint32(2080032704u);
    }
    void seed()
    {
        QFETCH(QString, password);
        QFETCH(quint32, seed);
        QCOMPARE(SeedFromPassword(password), seed);
    }

    void knownCiphertext()
    {
        // Enciphered by the older program's algorithm, worked out by hand.
        const QByteArray plain = QByteArray("{\\rtf1 Hi}") + QByteArray("\x00\xFF", 2);
        const QByteArray cipher = QByteArray::fromHex("e1016d7bb7667305d01a46e0");
        QCOMPARE(EncipherBytes(plain, QStringLiteral("Quillary")), cipher);
        QCOMPARE(DecipherBytes(cipher, QStringLiteral("quillary")), plain);
    }

    void lettersCaseGivesSameCiphertext()
    {
        const QByteArray plain = sample(300);
        QCOMPARE(EncipherBytes(plain, QStringLiteral("My Diary 7")),
                 EncipherBytes(plain, QStringLiteral("mY dIARY 7")));
        QVERIFY(EncipherBytes(plain, QStringLiteral("My Diary 7")) != plain);
    }

    void allBytesRoundTrip()
    {
        QByteArray plain;
        for (int round = 0; round < 3; ++round)
            for (int b = 0; b < 256; ++b)
                plain.append(static_cast<char>(b));
        const QByteArray cipher = EncipherBytes(plain, QStringLiteral("x"));
        QCOMPARE(cipher.size(), plain.size());
        QCOMPARE(DecipherBytes(cipher, QStringLiteral("x")), plain);
    }

    void fileBlocks_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("empty") << 0;
        QTest::newRow("one byte") << 1;
        QTest::newRow("one short of a block") << 4095;
        QTest::newRow("one block") << 4096;
        QTest::newRow("one block and a byte") << 4097;
        QTest::newRow("several blocks") << 3 * 4096 + 17;
    }
    void fileBlocks()
    {
        QFETCH(int, size);
        TempProgramFolder folder;
        const QByteArray plain = sample(size);
        QVERIFY(folder.write("plain.rtf", plain));
        // An older, longer output is replaced as a whole.
        QVERIFY(folder.write("entry.QYE", QByteArray(size + 5000, 'z')));

        TPGCrypt crypt;
        QVERIFY(run(crypt, folder.file("plain.rtf"), folder.file("entry.QYE"), "Secret", true));
        QVERIFY(crypt.ErrorString().isEmpty());
        const QByteArray cipher = folder.read("entry.QYE");
        QCOMPARE(cipher.size(), plain.size());
        QCOMPARE(cipher, EncipherBytes(plain, QStringLiteral("Secret")));

        if (size > 4096) {
            // The key stream runs on across blocks: byte 4097 takes draw 4097.
            KeyStream keys(SeedFromPassword(QStringLiteral("Secret")));
            std::uint8_t draw = 0;
            for (int i = 0; i < 4097; ++i)
                draw = keys.Next();
            QCOMPARE(std::uint8_t(cipher.at(4096)), std::uint8_t(std::uint8_t(plain.at(4096)) + draw));
        }

        QVERIFY(run(crypt, folder.file("entry.QYE"), folder.file("back.rtf"), "SECRET", false));
        QCOMPARE(folder.read("back.rtf"), plain);
    }

    void missingInputIsRejected()
    {
        TempProgramFolder folder;
        MessageRecorder messages;
        TPGCrypt crypt;
        crypt.SetInputFile(folder.file("missing.rtf"));
        QCOMPARE(messages.messages.size(), 1);
        QCOMPARE(messages.messages.first().first, MessageKind::Plain);
        QCOMPARE(messages.last(), QStringLiteral("Input file does not exist."));
        QVERIFY(crypt.InputFile().isEmpty());

        crypt.SetOutputFile(folder.file("out.QYE"));
        crypt.SetPassword(QStringLiteral("pw"));
        QVERIFY(crypt.Encrypt());
        QVERIFY(!QFileInfo::exists(folder.file("out.QYE")));
        QCOMPARE(messages.messages.size(), 1);
    }

    void sameInputAndOutputIsRejected()
    {
        TempProgramFolder folder;
        QVERIFY(folder.write("entry.QYE", "plain text"));
        MessageRecorder messages;
        TPGCrypt crypt;
        crypt.SetInputFile(folder.file("entry.QYE"));
        crypt.SetOutputFile(folder.file("entry.QYE"));
        QCOMPARE(messages.texts(), QStringList{"InputFile and OutputFile must be different files."});
        QVERIFY(crypt.OutputFile().isEmpty());
        crypt.SetPassword(QStringLiteral("pw"));
        QVERIFY(crypt.Encrypt());
        QCOMPARE(folder.read("entry.QYE"), QByteArray("plain text"));
    }

    void inputGoneBeforeRun()
    {
        TempProgramFolder folder;
        QVERIFY(folder.write("plain.rtf", "text"));
        TPGCrypt crypt;
        crypt.SetInputFile(folder.file("plain.rtf"));
        crypt.SetOutputFile(folder.file("out.QYE"));
        QVERIFY(QFile::remove(folder.file("plain.rtf")));
        QVERIFY(!crypt.Encrypt());
        QVERIFY(crypt.ErrorString().contains(folder.file("plain.rtf")));
        QVERIFY(!QFileInfo::exists(folder.file("out.QYE")));
    }

    void unwritableOutputKeepsOldTarget_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("folder missing") << "missing/out.QYE";
        QTest::newRow("target is a folder") << "sub";
        QTest::newRow("read-only folder") << "locked/out.QYE";
        // No room beside it for the temporary file of the new version.
        QTest::newRow("name at the length limit") << QString(251, 'e') + ".QYE";
    }
    void unwritableOutputKeepsOldTarget()
    {
        QFETCH(QString, target);
        TempProgramFolder folder;
        QVERIFY(folder.write("plain.rtf", sample(5000)));
        QVERIFY(QDir(folder.path()).mkdir("sub"));
        QVERIFY(QDir(folder.path()).mkdir("locked"));
        QVERIFY(folder.write("locked/out.QYE", "old entry"));
        QVERIFY(folder.write(QString(251, 'e') + ".QYE", "old entry"));
        QFile::setPermissions(folder.file("locked"), QFile::ReadOwner | QFile::ExeOwner);
        if (target.startsWith("locked") && QFileInfo(folder.file("locked")).isWritable())
            QSKIP("folder permissions do not bind this user");

        const QByteArray before = folder.read(target);
        const QStringList filesBefore = allFiles(folder.path());
        TPGCrypt crypt;
        const bool ok = run(crypt, folder.file("plain.rtf"), folder.file(target), "pw", true);
        QFile::setPermissions(folder.file("locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!ok);
        QVERIFY(crypt.ErrorString().contains(folder.file(target)));
        QCOMPARE(folder.read(target), before);
        QCOMPARE(allFiles(folder.path()), filesBefore); // no half-written file left

    }
};

QTEST_MAIN(TestCrypt)
#include "tst_crypt.moc"
