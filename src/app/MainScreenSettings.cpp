// The main window's settings in QY.INI.

#include "app/MainScreen.h"

#include "app/IniFile.h"
#include "app/Messages.h"

void TMainScreen::LoadPreferences()
{
    Load(IniFile(IniFileName()), geometry());
}

bool TMainScreen::SavePreferences()
{
    // The icon palette's state comes into the fields here once the palette
    // exists; until then the fields keep what was read.
    IniFile ini(IniFileName());
    if (!Save(ini)) {
        ShowError(ini.ErrorString());
        return false;
    }
    return true;
}
