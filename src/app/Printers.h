#pragma once

#include <QStringList>

// The printers the program offers.  At start-up a single installed printer
// whose name contains "Rendering" (a virtual rendering device, not paper) is
// taken away, so the program behaves as if no printer were installed.

// The system's installed printers; tests pin the list.
QStringList InstalledPrinterNames();
void SetInstalledPrinterNames(const QStringList &names, bool pinned = true);

// The rule itself: the list without that one printer.
QStringList WithoutRenderingPrinter(const QStringList &installed);

// Runs the check once, at start-up.
void CheckPrinters();
// The program's printer list after the check.
QStringList ProgramPrinters();
