#include "output/EntryExport.h"

#include "app/DateFormats.h"
#include "store/EntryFiles.h"

QString ExportFolderName(const QString &folder)
{
    if (folder.endsWith(QLatin1Char('/')))
        return folder;
    return folder + QLatin1Char('/');
}

QString ExportFileName(const QString &folder, const QDate &date)
{
    return ExportFolderName(folder) + DateToDigits(date) + QStringLiteral(".RTF");
}

ExportResult ExportEntries(const QDate &first, const QDate &last, const QString &folder,
                           const QString &password,
                           const std::function<void(const QDate &)> &progress)
{
    ExportResult result;
    for (QDate date = first; date.isValid() && date <= last; date = date.addDays(1)) {
        if (!EntryFileExists(date))
            continue;
        if (progress)
            progress(date);
        const QString source = EntryFileName(date);
        const QString target = ExportFileName(folder, date);
        QByteArray plain;
        QString error;
        // The entry's RTF, deciphered in memory when a password is set;
        // without one, the bytes of the file unchanged.
        if (ReadEntryFile(source, password, &plain, &error)
            && WriteFileAtomically(target, plain, &error))
            ++result.written;
        else
            result.failed << error;
    }
    return result;
}
