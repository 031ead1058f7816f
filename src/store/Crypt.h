#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

// The key stream of the entry cipher: a 32-bit linear congruential
// generator (state * 134775813 + 1) whose draws lie in 0..254.
class KeyStream
{
public:
    explicit KeyStream(std::uint32_t state) : state_(state) {}
    std::uint8_t Next();

private:
    std::uint32_t state_;
};

// The seed for a password: the byte sum of the text with a-z upper-cased,
// times its length, kept to 32 bits.
std::uint32_t SeedFromPassword(const QString &password);

// The same transform on bytes in memory: out = in + draw (encipher) or
// in - draw (decipher), modulo 256, one draw per byte from the first.
QByteArray EncipherBytes(const QByteArray &plain, const QString &password);
QByteArray DecipherBytes(const QByteArray &cipher, const QString &password);

// TPGCrypt enciphers one file into another and deciphers it back, in blocks
// of 4096 bytes; the key stream runs on across blocks.  Set InputFile, then
// OutputFile, then Password, then run Encrypt or Decrypt.
class TPGCrypt
{
public:
    // Accepts an empty name or an existing file; otherwise shows "Input file
    // does not exist." and empties the field.
    void SetInputFile(const QString &name);
    QString InputFile() const { return inputFile_; }

    // Rejects the name of an existing file equal to InputFile with
    // "InputFile and OutputFile must be different files." (field emptied).
    void SetOutputFile(const QString &name);
    QString OutputFile() const { return outputFile_; }

    void SetPassword(const QString &password) { password_ = password; }
    QString Password() const { return password_; }

    // Both do nothing and return true when either file name is empty.  A file
    // that cannot be read or written returns false with ErrorString() set;
    // the output is written atomically, so a failed run leaves no half file.
    bool Encrypt();
    bool Decrypt();

    QString ErrorString() const { return error_; }

private:
    bool run(bool encipher);

    QString inputFile_;
    QString outputFile_;
    QString password_;
    QString error_;
};
