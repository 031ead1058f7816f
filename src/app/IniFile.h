#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// QY.INI, kept in the format of the older Windows program: sections in
// brackets, key=value lines, CRLF line ends.  Section and key names match
// without regard to case.  Writing one key keeps every other line, comment
// and the order of the file.
//
// Values are bytes.  The string functions map each byte to the character of
// the same code (Latin-1) and back, so bytes 128-255 (the stored password)
// survive unchanged.
class IniFile
{
public:
    explicit IniFile(QString fileName);

    const QString &FileName() const { return fileName_; }

    // Missing section or key gives the default.  Values are read the way the
    // private-profile functions read them (blanks around the value dropped,
    // one pair of enclosing quotes removed, at most 1023 characters).
    QString ReadString(const QString &section, const QString &key,
                       const QString &defaultValue) const;
    // Decimal, or hexadecimal after "0x"/"0X" when longer than two
    // characters; anything that is no number gives the default.
    int ReadInteger(const QString &section, const QString &key, int defaultValue) const;
    // True for any integer other than 0.
    bool ReadBool(const QString &section, const QString &key, bool defaultValue) const;

    // Each write changes one key and replaces the file atomically.  On
    // failure the file on disk is unchanged, the call returns false and
    // ErrorString() says "Unable to write to <file>".
    bool WriteString(const QString &section, const QString &key, const QString &value);
    bool WriteInteger(const QString &section, const QString &key, int value);
    bool WriteBool(const QString &section, const QString &key, bool value);

    QString ErrorString() const { return error_; }

private:
    QString fileName_;
    QString error_;
};
