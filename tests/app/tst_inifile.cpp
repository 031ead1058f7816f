#include "app/IniFile.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace {
// A file as the older program and a hand editor leave it: comments, odd
// spacing, names in other cases, the stored password's high bytes, and a
// second section of a name that already appeared.
const QByteArray Fixture =
    "; Quillary settings\r\n"
    "[security]\r\n"
    "  PASSWORD = \xC2\xC9\xC4\x7C\xE6  \r\n"
    "\r\n"
    "[ Default Font ]\r\n"
    "name=\"Times New Roman\"\r\n"
    "Size=abc\r\n"
    "Color=0xFF\r\n"
    "Hex=0x\r\n"
    "bold= 1\r\n"
    "; end of font\r\n"
    "\r\n"
    "[Icons]\r\n"
    "File=C:\\QUILLRY\\ICONS\\MISC1.ICL\r\n"
    "Visible=0\r\n"
    "Top=-5\r\n"
    "Wide=0xFFFFFFFF\r\n"
    "Over=2147483648\r\n"
    "Quote='x\r\n"
    "\r\n"
    "[Default Font]\r\n"
    "Name=Ignored\r\n"
    "Italic=1\r\n"
    "\r\n";

QByteArray replaced(QByteArray bytes, const QByteArray &from, const QByteArray &to)
{
    Q_ASSERT(bytes.count(from) == 1);
    return bytes.replace(from, to);
}
} // namespace

class TestIniFile : public QObject
{
    Q_OBJECT

private slots:
    void readString_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        QTest::newRow("names in any case, blanks dropped")
            << "Security" << "password" << QString::fromLatin1("\xC2\xC9\xC4\x7C\xE6");
        QTest::newRow("quotes removed") << "default font" << "Name" << "Times New Roman";
        QTest::newRow("single quote kept") << "Icons" << "Quote" << "'x";
        QTest::newRow("backslashes kept") << "ICONS" << "file" << "C:\\QUILLRY\\ICONS\\MISC1.ICL";
        QTest::newRow("first section of a name wins") << "Default Font" << "Italic" << "default";
        QTest::newRow("missing key") << "Icons" << "Left" << "default";
        QTest::newRow("missing section") << "Opening Screen" << "show" << "default";
        QTest::newRow("comment is no key") << "Security" << "; Quillary settings" << "default";
    }
    void readString()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        TempProgramFolder folder;
        QVERIFY(folder.write("QY.INI", Fixture));
        QCOMPARE(IniFile(folder.file("QY.INI")).ReadString(section, key, "default"), expected);
    }

    void readInteger_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("expected");
        QTest::newRow("hexadecimal") << "Default Font" << "Color" << 255;
        QTest::newRow("0x alone is no number") << "Default Font" << "Hex" << 7;
        QTest::newRow("letters") << "Default Font" << "Size" << 7;
        QTest::newRow("blank before the digit") << "Default Font" << "Bold" << 1;
        QTest::newRow("negative") << "Icons" << "Top" << -5;
        QTest::newRow("hex takes 32 bits") << "Icons" << "Wide" << -1;
        QTest::newRow("beyond an integer") << "Icons" << "Over" << 7;
        QTest::newRow("missing") << "Icons" << "Left" << 7;
    }
    void readInteger()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(int, expected);
        TempProgramFolder folder;
        QVERIFY(folder.write("QY.INI", Fixture));
        QCOMPARE(IniFile(folder.file("QY.INI")).ReadInteger(section, key, 7), expected);
    }

    void readBool_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("defaultValue");
        QTest::addColumn<bool>("expected");
        QTest::newRow("1") << "Bold" << false << true;
        QTest::newRow("any other number") << "Color" << false << true;
        QTest::newRow("no number, default true") << "Size" << true << true;
        QTest::newRow("no number, default false") << "Size" << false << false;
        QTest::newRow("missing") << "Underline" << true << true;
    }
    void readBool()
    {
        QFETCH(QString, key);
        QFETCH(bool, defaultValue);
        QFETCH(bool, expected);
        TempProgramFolder folder;
        QVERIFY(folder.write("QY.INI", Fixture));
        QCOMPARE(IniFile(folder.file("QY.INI")).ReadBool("Default Font", key, defaultValue), expected);
    }

    void write_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("existing key")
            << Fixture << "SECURITY" << "Password" << QString::fromLatin1("\xCB\xE6")
            << replaced(Fixture, "  PASSWORD = \xC2\xC9\xC4\x7C\xE6  \r\n", "PASSWORD=\xCB\xE6\r\n");
        QTest::newRow("new key after the section's last key")
            << Fixture << "Default Font" << "Underline" << "0"
            << replaced(Fixture, "bold= 1\r\n", "bold= 1\r\nUnderline=0\r\n");
        QTest::newRow("key of a repeated section goes to the first")
            << Fixture << "Default Font" << "Italic" << "0"
            << replaced(Fixture, "bold= 1\r\n", "bold= 1\r\nItalic=0\r\n");
        QTest::newRow("new key before blank lines")
            << Fixture << "icons" << "Left" << "5"
            << replaced(Fixture, "Quote='x\r\n", "Quote='x\r\nLeft=5\r\n");
        QTest::newRow("new section at the end")
            << Fixture << "Opening Screen" << "show" << "1"
            << Fixture + "[Opening Screen]\r\nshow=1\r\n";
        QTest::newRow("LF lines kept, written line CRLF")
            << QByteArray("[A]\nx=1\n\n[B]\ny=2\n") << "a" << "X" << "5"
            << QByteArray("[A]\nx=5\r\n\n[B]\ny=2\n");
        QTest::newRow("last line without a line end")
            << QByteArray("[A]\r\nx=1") << "A" << "y" << "2" << QByteArray("[A]\r\nx=1\r\ny=2\r\n");
        QTest::newRow("empty section")
            << QByteArray("[A]\r\n[B]\r\n") << "A" << "k" << "v" << QByteArray("[A]\r\nk=v\r\n[B]\r\n");
        QTest::newRow("byte order mark kept")
            << QByteArray("\xEF\xBB\xBF[Security]\r\nPassword=\r\n") << "Security" << "Password" << "x"
            << QByteArray("\xEF\xBB\xBF[Security]\r\nPassword=x\r\n");
        QTest::newRow("line break in a value")
            << QByteArray() << "A" << "k" << "one\r\ntwo" << QByteArray("[A]\r\nk=one  two\r\n");
    }
    void write()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QByteArray, after);
        TempProgramFolder folder;
        QVERIFY(folder.write("QY.INI", before));
        IniFile ini(folder.file("QY.INI"));
        QVERIFY(ini.WriteString(section, key, value));
        QVERIFY(ini.ErrorString().isEmpty());
        QCOMPARE(folder.read("QY.INI"), after);
        QCOMPARE(ini.ReadString(section, key, "default"), QString(value).replace('\r', ' ').replace('\n', ' '));
    }

    void byteOrderMarkIsNoPartOfTheFirstLine()
    {
        TempProgramFolder folder;
        QVERIFY(folder.write("QY.INI", "\xEF\xBB\xBF[Security]\r\nPassword=\r\n"));
        // An empty value is a value: the default is not used.
        QCOMPARE(IniFile(folder.file("QY.INI")).ReadString("Security", "Password", "none"), QString());
    }

    void firstWritesCreateTheFile()
    {
        TempProgramFolder folder;
        IniFile ini(folder.file("QY.INI"));
        QCOMPARE(ini.ReadString("Default Font", "Name", "Arial"), QStringLiteral("Arial"));
        QCOMPARE(ini.ReadInteger("Default Font", "Size", 10), 10);
        QVERIFY(!QFileInfo::exists(ini.FileName()));

        QVERIFY(ini.WriteString("Security", "Password", ""));
        QVERIFY(ini.WriteString("Default Font", "Name", "Arial"));
        QVERIFY(ini.WriteInteger("Default Font", "Size", 10));
        QVERIFY(ini.WriteBool("Default Font", "Bold", false));
        QVERIFY(ini.WriteInteger("Default Font", "Color", -16777216));
        QVERIFY(ini.WriteBool("Opening Screen", "show", true));
        QCOMPARE(folder.read("QY.INI"), QByteArray("[Security]\r\nPassword=\r\n"
                                                   "[Default Font]\r\nName=Arial\r\nSize=10\r\n"
                                                   "Bold=0\r\nColor=-16777216\r\n"
                                                   "[Opening Screen]\r\nshow=1\r\n"));
        QCOMPARE(ini.ReadInteger("Default Font", "Color", 0), -16777216);
        QCOMPARE(ini.ReadBool("Opening Screen", "show", false), true);
    }

    void longValueIsCut()
    {
        TempProgramFolder folder;
        IniFile ini(folder.file("QY.INI"));
        QVERIFY(ini.WriteString("Icons", "File", QString(1500, 'f')));
        QCOMPARE(ini.ReadString("Icons", "File", QString()), QString(1023, 'f'));
    }

    void failedWrite_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("read-only folder") << "locked/QY.INI";
        QTest::newRow("folder is a file") << "plain/QY.INI";
        QTest::newRow("name at the length limit") << QString(251, 'q') + ".INI";
    }
    void failedWrite()
    {
        QFETCH(QString, name);
        TempProgramFolder folder;
        QVERIFY(QDir(folder.path()).mkdir("locked"));
        QVERIFY(folder.write("locked/QY.INI", Fixture));
        QVERIFY(folder.write("plain", "x"));
        QVERIFY(folder.write(QString(251, 'q') + ".INI", Fixture));
        QFile::setPermissions(folder.file("locked"), QFile::ReadOwner | QFile::ExeOwner);
        if (name.startsWith("locked") && QFileInfo(folder.file("locked")).isWritable())
            QSKIP("folder permissions do not bind this user");

        const QByteArray before = folder.read(name);
        IniFile ini(folder.file(name));
        const bool ok = ini.WriteInteger("Default Font", "Size", 12);
        QFile::setPermissions(folder.file("locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!ok);
        QCOMPARE(ini.ErrorString(), "Unable to write to " + folder.file(name));
        QCOMPARE(folder.read(name), before);
    }

    void unreadableFileIsNotOverwritten()
    {
        TempProgramFolder folder;
        QVERIFY(folder.write("QY.INI", Fixture));
        QFile::setPermissions(folder.file("QY.INI"), QFile::WriteOwner);
        QFile probe(folder.file("QY.INI"));
        if (probe.open(QIODevice::ReadOnly))
            QSKIP("file permissions do not bind this user");

        IniFile ini(folder.file("QY.INI"));
        QVERIFY(!ini.WriteInteger("Default Font", "Size", 12));
        QCOMPARE(ini.ErrorString(), "Unable to write to " + folder.file("QY.INI"));
        QFile::setPermissions(folder.file("QY.INI"), QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(folder.read("QY.INI"), Fixture);
    }
};

QTEST_MAIN(TestIniFile)
#include "tst_inifile.moc"
