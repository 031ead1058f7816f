#pragma once

#include <QString>

// Converts the diary's older single table (QUILLRY.DBF with QUILLRY.FPT)
// into entry files, enciphered under the stored password when one is set.
// True when the Entries folder exists afterwards.
bool PerformConversion(const QString &password);
