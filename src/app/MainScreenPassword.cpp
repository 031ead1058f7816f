// The main window's password command.

#include "app/MainScreen.h"

#include "app/Placement.h"
#include "store/Getpass.h"
#include "store/Warn.h"

void TMainScreen::mnuSecurityClick()
{
    TWarningScreen warning(this);
    PlaceDialog(&warning);
    if (warning.exec() != QDialog::Accepted)
        return;
    // The change run reads every entry from disk, this one included; an
    // entry that cannot be saved stops it (the failure has been shown).
    if (!SaveButtonClick())
        return;
    TGetPassword dialog(this, this);
    PlaceDialog(&dialog);
    dialog.exec();
}
