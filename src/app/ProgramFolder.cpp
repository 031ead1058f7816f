#include "app/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {
QString &pinnedFolder()
{
    static QString folder;
    return folder;
}

QString withSlash(QString folder)
{
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}
} // namespace

QString ProgramFolder()
{
    if (!pinnedFolder().isEmpty())
        return withSlash(pinnedFolder());
    const QString home = qEnvironmentVariable("QUILLARY_HOME");
    if (!home.isEmpty())
        return withSlash(QDir(home).absolutePath());
    if (QCoreApplication::instance())
        return withSlash(QCoreApplication::applicationDirPath());
    return withSlash(QDir::currentPath());
}

void SetProgramFolder(const QString &folder)
{
    pinnedFolder() = folder.isEmpty() ? QString() : QDir(folder).absolutePath();
}

QString ResolveProgramPath(const QString &windowsName)
{
    QString name = windowsName;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (QFileInfo::exists(name) && QFileInfo(name).isAbsolute())
        return name;

    QString base;
    QString rest = name;
    if (QDir::isAbsolutePath(name)) {
        base = QStringLiteral("/");
        rest = name.mid(1);
    } else {
        base = ProgramFolder();
    }

    QString current = base;
    const QStringList parts = rest.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (int i = 0; i < parts.size(); ++i) {
        const QString &part = parts.at(i);
        QString found;
        if (QFileInfo::exists(current + part)) {
            found = part;
        } else {
            const QStringList entries = QDir(current).entryList(
                QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
            for (const QString &entry : entries) {
                if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                    found = entry;
                    break;
                }
            }
        }
        if (found.isEmpty()) {
            // Nothing on disk: keep the rest as it was written.
            return current + parts.mid(i).join(QLatin1Char('/'));
        }
        current += found;
        if (i + 1 < parts.size())
            current += QLatin1Char('/');
    }
    return current;
}
