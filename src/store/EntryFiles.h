#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

// Where entries live and how their bytes travel: one file per date,
// Entries/yyyymmdd.QYE under the program folder, holding the entry's RTF,
// enciphered under the password when one is set.

QString EntriesFolder();                       // ProgramFolder() + "Entries/"
QString EntryFileName(const QDate &date);      // the name an entry of that date has
QString ErasemeFileName();                     // the old temporary file "Eraseme.rtf"

// Creates a folder and its missing parents; a folder that cannot be created
// is left to the file operations that follow.
void CreateFolderPath(const QString &folder);

// True when the date has an entry file.
bool EntryFileExists(const QDate &date);

// Reads an entry file and gives its plain RTF: deciphered in memory when a
// password is set.  False with an error text that names the file.
bool ReadEntryFile(const QString &fileName, const QString &password, QByteArray *plain,
                   QString *error);

// Writes an entry's plain RTF to its file, enciphered in memory when a
// password is set: a temporary file in the same folder replaces the old file
// only once it is complete, so a failed write keeps the previous entry.
bool WriteEntryFile(const QString &fileName, const QByteArray &plain, const QString &password,
                    QString *error);

// Removes an entry file; a file that is not there is no error.
bool RemoveEntryFile(const QString &fileName, QString *error);

// Deletes a leftover "Eraseme.rtf" (in any letter case) from the program
// folder: it may hold an entry's plain text.
void RemoveLeftoverEraseme();

// Writes bytes to a file atomically; false with an error text naming it.
bool WriteFileAtomically(const QString &fileName, const QByteArray &bytes, QString *error);

// Copies a file in blocks: false, touching nothing, when the names are the
// same text or the source cannot be opened; false when the target cannot be
// written.  The target is replaced only once the copy is complete.
bool CopyFileBytes(const QString &source, const QString &target);

// The earliest entry date, never later than bound; and the latest, never
// earlier than bound.  Every "*.QYE" file in Entries counts (in any letter
// case); names that are no date change nothing.
QDate EarliestEntryDate(const QDate &bound);
QDate LatestEntryDate(const QDate &bound);
