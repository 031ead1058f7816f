#include "store/Convert.h"

#include "app/DateFormats.h"
#include "app/Messages.h"
#include "app/ProgramFolder.h"
#include "store/Convnot.h"
#include "store/EntryFiles.h"
#include "store/XBaseTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>

namespace {
// Where the entries are written until the whole table is converted.
QString stagingFolder()
{
    return ProgramFolder() + QStringLiteral("Entries.converting");
}

// A DATE that can name an entry file: exactly eight digits.  Anything else
// (a path, "..", a control character) would name a file outside Entries or
// one the diary never shows.
bool isDateDigits(const QByteArray &date)
{
    if (date.size() != 8)
        return false;
    for (const char c : date) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

bool convertTable(const QString &password, TConvertNotify *notify, QString *error)
{
    XBaseTable table;
    if (!table.Open(ResolveProgramPath(QStringLiteral("QUILLRY.DBF")),
                    ResolveProgramPath(QStringLiteral("QUILLRY.FPT")))) {
        *error = table.ErrorString();
        return false;
    }
    const int dateField = table.FieldIndex(QStringLiteral("DATE"));
    const int entryField = table.FieldIndex(QStringLiteral("ENTRY"));
    if (dateField < 0 || entryField < 0 || table.Fields().at(entryField).type != 'M') {
        *error = QStringLiteral("QUILLRY.DBF has no DATE field or no ENTRY memo.");
        return false;
    }

    const QString staging = stagingFolder() + QLatin1Char('/');
    CreateFolderPath(staging);
    for (int i = 0; i < table.RecordCount(); ++i) {
        if (!table.ReadRecord(i, error))
            return false;
        const QByteArray date = table.FieldText(dateField);
        if (table.Deleted() || date.isEmpty() || !isDateDigits(date))
            continue;
        QByteArray entry;
        if (!table.MemoBytes(entryField, &entry, error))
            return false;
        // An empty entry never has a file.
        if (entry.isEmpty())
            continue;

        const QString digits = QString::fromLatin1(date);
        const QString shown = FormatDate(QStringLiteral("ddddd"), STOD(digits));
        notify->Status->setText(QStringLiteral("Processing entry for ") + shown);
        QCoreApplication::processEvents();
        if (!password.isEmpty()) {
            notify->Status->setText(QStringLiteral("Encrypting entry for ") + shown);
            QCoreApplication::processEvents();
        }
        // A later record of the same date replaces the earlier one.
        if (!WriteEntryFile(staging + digits + QStringLiteral(".QYE"), entry, password, error))
            return false;
        QCoreApplication::processEvents();
    }
    table.Close();

    if (!QDir().rename(stagingFolder(), ProgramFolder() + QStringLiteral("Entries"))) {
        *error = QStringLiteral("The folder Entries could not be made.");
        return false;
    }
    return true;
}
} // namespace

bool PerformConversion(const QString &password)
{
    if (!AskConfirmation(QStringLiteral("Old file format detected. Would you like to\r"
                                        "convert to the new file format now? (Press No\r"
                                        "if you wish to make backups of your datafiles\r"
                                        "first)")))
        return false;

    // What an earlier attempt that was cut off left behind.
    QDir(stagingFolder()).removeRecursively();

    QString error;
    bool converted = false;
    {
        TConvertNotify notify;
        notify.show();
        QCoreApplication::processEvents();
        converted = convertTable(password, &notify, &error);
    }
    if (!converted) {
        QDir(stagingFolder()).removeRecursively();
        if (!error.endsWith(QLatin1Char('.')))
            error += QLatin1Char('.');
        ShowError(QStringLiteral("The old diary could not be converted: %1 Nothing was converted; "
                                 "QUILLRY.DBF and QUILLRY.FPT are unchanged.")
                      .arg(error));
    }
    RemoveLeftoverEraseme();
    return QFileInfo(ProgramFolder() + QStringLiteral("Entries")).isDir();
}
