#include "store/Crypt.h"

#include "app/Messages.h"

#include <QFile>
#include <QFileInfo>
#include <QCursor>
#include <QGuiApplication>
#include <QSaveFile>

namespace {
constexpr qint64 BlockSize = 4096;

void transform(char *data, qsizetype size, KeyStream &keys, bool encipher)
{
    for (qsizetype i = 0; i < size; ++i) {
        const auto in = static_cast<std::uint8_t>(data[i]);
        const std::uint8_t draw = keys.Next();
        data[i] = static_cast<char>(encipher ? std::uint8_t(in + draw) : std::uint8_t(in - draw));
    }
}

QByteArray transformed(QByteArray bytes, const QString &password, bool encipher)
{
    KeyStream keys(SeedFromPassword(password));
    transform(bytes.data(), bytes.size(), keys, encipher);
    return bytes;
}

// The hourglass for the length of a run, set back however the run ends.
// Only a GUI application has a cursor to change.
class BusyCursor
{
public:
    BusyCursor() : active_(qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
    {
        if (active_)
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
    ~BusyCursor()
    {
        if (active_)
            QGuiApplication::restoreOverrideCursor();
    }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;

private:
    bool active_;
};
} // namespace

std::uint8_t KeyStream::Next()
{
    state_ = state_ * 134775813u + 1u;
    return static_cast<std::uint8_t>((std::uint64_t(state_) * 255u) >> 32);
}

std::uint32_t SeedFromPassword(const QString &password)
{
    const QByteArray bytes = password.toLatin1();
    std::uint32_t sum = 0;
    for (const char c : bytes) {
        auto b = static_cast<std::uint8_t>(c);
        if (b >= 'a' && b <= 'z')
            b -= 'a' - 'A';
        sum += b;
    }
    return sum * static_cast<std::uint32_t>(bytes.size());
}

QByteArray EncipherBytes(const QByteArray &plain, const QString &password)
{
    return transformed(plain, password, true);
}

QByteArray DecipherBytes(const QByteArray &cipher, const QString &password)
{
    return transformed(cipher, password, false);
}

void TPGCrypt::SetInputFile(const QString &name)
{
    // A folder is no input file.
    if (!name.isEmpty() && !QFileInfo(name).isFile()) {
        ShowPlainMessage(QStringLiteral("Input file does not exist."));
        inputFile_.clear();
        return;
    }
    inputFile_ = name;
}

void TPGCrypt::SetOutputFile(const QString &name)
{
    if (!name.isEmpty() && name == inputFile_ && QFileInfo::exists(name)) {
        ShowPlainMessage(QStringLiteral("InputFile and OutputFile must be different files."));
        outputFile_.clear();
        return;
    }
    outputFile_ = name;
}

bool TPGCrypt::Encrypt()
{
    return run(true);
}

bool TPGCrypt::Decrypt()
{
    return run(false);
}

bool TPGCrypt::run(bool encipher)
{
    error_.clear();
    if (inputFile_.isEmpty() || outputFile_.isEmpty())
        return true;

    BusyCursor busy;
    KeyStream keys(SeedFromPassword(password_));

    QFile input(inputFile_);
    if (!input.open(QIODevice::ReadOnly)) {
        error_ = QStringLiteral("Cannot open file \"%1\". %2").arg(inputFile_, input.errorString());
        return false;
    }
    // The old output stays in place until the whole new one is on disk.
    QSaveFile output(outputFile_);
    if (!output.open(QIODevice::WriteOnly)) {
        error_ = QStringLiteral("Cannot create file \"%1\". %2").arg(outputFile_, output.errorString());
        return false;
    }

    QByteArray block(BlockSize, Qt::Uninitialized);
    for (;;) {
        const qint64 got = input.read(block.data(), BlockSize);
        if (got < 0) {
            error_ = QStringLiteral("Cannot read file \"%1\". %2").arg(inputFile_, input.errorString());
            output.cancelWriting();
            return false;
        }
        if (got == 0)
            break;
        transform(block.data(), got, keys, encipher);
        if (output.write(block.constData(), got) != got)
            break; // reported by commit() below
    }
    if (!output.commit()) {
        error_ = QStringLiteral("Unable to write to %1. %2").arg(outputFile_, output.errorString());
        return false;
    }
    return true;
}
