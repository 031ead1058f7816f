#include "store/Convert.h"

#include "app/Messages.h"

bool PerformConversion(const QString &)
{
    // This build cannot read the old table yet.  Ending here keeps the old
    // files untouched and creates no Entries folder, so a later version
    // offers the conversion again.
    ShowInformation(QStringLiteral(
        "This version of Quillary! cannot convert the diary in QUILLRY.DBF yet. The old files "
        "have not been changed."));
    return false;
}
