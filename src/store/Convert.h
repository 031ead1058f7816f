#pragma once

#include <QString>

// Converts the diary's older single table (QUILLRY.DBF with QUILLRY.FPT)
// into entry files, enciphered under the stored password when one is set,
// after asking the user.  Entries are written into a folder of their own
// that becomes Entries only once every record is converted, so a damaged
// table or a failure converts nothing.  The old files stay as they are.
// True when the Entries folder exists afterwards.
bool PerformConversion(const QString &password);
