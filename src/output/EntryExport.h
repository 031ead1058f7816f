#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// Writing entries out as plain RTF files, yyyymmdd.RTF, into a folder: a
// byte copy of the entry file, or the entry deciphered when a password is
// set.  Existing files of the same name are replaced.

// The folder as the closing message names it: with one final separator.
QString ExportFolderName(const QString &folder);
// folder + yyyymmdd + ".RTF"
QString ExportFileName(const QString &folder, const QDate &date);

struct ExportResult
{
    int written = 0;          // files actually written
    QStringList failed;       // the files that could not be written, with the reason
};

// Exports every entry from first to last (both included).  Each file is
// written whole or not at all.  progress runs for each entry.
ExportResult ExportEntries(const QDate &first, const QDate &last, const QString &folder,
                           const QString &password,
                           const std::function<void(const QDate &)> &progress = {});
