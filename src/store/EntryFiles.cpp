#include "store/EntryFiles.h"

#include "app/DateFormats.h"
#include "app/ProgramFolder.h"
#include "store/Crypt.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

QString EntriesFolder()
{
    return ProgramFolder() + QStringLiteral("Entries/");
}

QString EntryFileName(const QDate &date)
{
    const QString base = EntriesFolder() + DateToDigits(date);
    const QString canonical = base + QStringLiteral(".QYE");
    // Diaries copied from Windows may carry the extension in lower case.
    if (!QFileInfo::exists(canonical)) {
        const QString lower = base + QStringLiteral(".qye");
        if (QFileInfo::exists(lower))
            return lower;
    }
    return canonical;
}

QString ErasemeFileName()
{
    return ProgramFolder() + QStringLiteral("Eraseme.rtf");
}

void CreateFolderPath(const QString &folder)
{
    QString path = folder;
    if (path.endsWith(QLatin1Char('/')) || path.endsWith(QLatin1Char('\\')))
        path.chop(1);
    if (path.size() < 3 || QFileInfo(path).isDir())
        return;
    QDir().mkpath(path);
}

bool EntryFileExists(const QDate &date)
{
    return QFileInfo(EntryFileName(date)).isFile();
}

bool ReadEntryFile(const QString &fileName, const QString &password, QByteArray *plain,
                   QString *error)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Cannot open %1: %2").arg(fileName, file.errorString());
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = QStringLiteral("Cannot read %1: %2").arg(fileName, file.errorString());
        return false;
    }
    *plain = password.isEmpty() ? bytes : DecipherBytes(bytes, password);
    return true;
}

bool WriteFileAtomically(const QString &fileName, const QByteArray &bytes, QString *error)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = QStringLiteral("Unable to write to %1: %2").arg(fileName, file.errorString());
        file.cancelWriting();
        return false;
    }
    return true;
}

bool WriteEntryFile(const QString &fileName, const QByteArray &plain, const QString &password,
                    QString *error)
{
    return WriteFileAtomically(fileName, password.isEmpty() ? plain : EncipherBytes(plain, password),
                               error);
}

bool RemoveEntryFile(const QString &fileName, QString *error)
{
    QFile file(fileName);
    if (!file.exists() || file.remove())
        return true;
    if (error)
        *error = QStringLiteral("Unable to delete %1: %2").arg(fileName, file.errorString());
    return false;
}

void RemoveLeftoverEraseme()
{
    const QDir folder(ProgramFolder());
    const QStringList names = folder.entryList({QStringLiteral("eraseme.rtf")}, QDir::Files | QDir::Hidden);
    for (const QString &name : names)
        QFile::remove(folder.filePath(name));
}

bool CopyFileBytes(const QString &source, const QString &target)
{
    if (source == target)
        return false;
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    char block[2048];
    for (;;) {
        const qint64 n = in.read(block, sizeof block);
        if (n < 0) {
            out.cancelWriting();
            return false;
        }
        if (n == 0)
            break;
        if (out.write(block, n) != n) {
            out.cancelWriting();
            return false;
        }
    }
    return out.commit();
}

namespace {
template <typename Better>
QDate scanEntries(QDate best, Better better)
{
    QDirIterator it(EntriesFolder(), {QStringLiteral("*.QYE")},
                    QDir::Files | QDir::Hidden | QDir::System | QDir::Dirs | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        QString name = it.fileName().toUpper();
        const int dot = name.indexOf(QLatin1Char('.'));
        if (dot >= 0)
            name.truncate(dot);
        const QDate date = ReadDateDigits(name);
        if (date.isValid() && better(date, best))
            best = date;
    }
    return best;
}
} // namespace

QDate EarliestEntryDate(const QDate &bound)
{
    return scanEntries(bound, [](const QDate &a, const QDate &b) { return a < b; });
}

QDate LatestEntryDate(const QDate &bound)
{
    return scanEntries(bound, [](const QDate &a, const QDate &b) { return a > b; });
}
