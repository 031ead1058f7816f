// The main window's settings in QY.INI.

#include "app/MainScreen.h"

#include "app/IniFile.h"
#include "app/Messages.h"
#include "app/Preferences.h"

void TMainScreen::LoadPreferences()
{
    Preferences p;
    p.Load(IniFile(IniFileName()), geometry());
    UserPassword = p.UserPassword;
    DefaultFontName = p.DefaultFontName;
    DefaultFontSize = p.DefaultFontSize;
    DefaultFontBold = p.DefaultFontBold;
    DefaultFontItalic = p.DefaultFontItalic;
    DefaultFontUnderline = p.DefaultFontUnderline;
    DefaultFontColor = p.DefaultFontColor;
    ShowOpeningScreen = p.ShowOpeningScreen;
    IconsFile = p.IconsFile;
    IconsVisible = p.IconsVisible;
    IconsTop = p.IconsTop;
    IconsLeft = p.IconsLeft;
}

bool TMainScreen::SavePreferences()
{
    // The icon palette's state comes into the fields here once the palette
    // exists; until then the fields keep what was read.
    Preferences p;
    p.UserPassword = UserPassword;
    p.DefaultFontName = DefaultFontName;
    p.DefaultFontSize = DefaultFontSize;
    p.DefaultFontBold = DefaultFontBold;
    p.DefaultFontItalic = DefaultFontItalic;
    p.DefaultFontUnderline = DefaultFontUnderline;
    p.DefaultFontColor = DefaultFontColor;
    p.ShowOpeningScreen = ShowOpeningScreen;
    p.IconsVisible = IconsVisible;
    p.IconsFile = IconsFile;
    p.IconsTop = IconsTop;
    p.IconsLeft = IconsLeft;
    IniFile ini(IniFileName());
    if (!p.Save(ini)) {
        ShowError(ini.ErrorString());
        return false;
    }
    return true;
}
