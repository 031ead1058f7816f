#include "app/Printers.h"

#include <QPrinterInfo>

namespace {
bool pinned = false;
QStringList pinnedNames;
QStringList programList;
bool checked = false;
} // namespace

QStringList InstalledPrinterNames()
{
    return pinned ? pinnedNames : QPrinterInfo::availablePrinterNames();
}

void SetInstalledPrinterNames(const QStringList &names, bool pin)
{
    pinned = pin;
    pinnedNames = names;
    checked = false;
}

QStringList WithoutRenderingPrinter(const QStringList &installed)
{
    if (installed.size() == 1 && installed.first().contains(QStringLiteral("Rendering")))
        return {};
    return installed;
}

void CheckPrinters()
{
    programList = WithoutRenderingPrinter(InstalledPrinterNames());
    checked = true;
}

QStringList ProgramPrinters()
{
    if (!checked)
        CheckPrinters();
    return programList;
}
