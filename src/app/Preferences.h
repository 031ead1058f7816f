#pragma once

#include <QRect>
#include <QString>

class IniFile;

// The diary's settings as QY.INI keeps them ([Security], [Default Font],
// [Opening Screen], [Icons]), with their defaults.  The main window copies
// them into its fields.
struct Preferences
{
    QString UserPassword;                 // plain text; empty when none is set
    QString DefaultFontName = QStringLiteral("Arial");
    int DefaultFontSize = 10;             // points
    bool DefaultFontBold = false;
    bool DefaultFontItalic = false;
    bool DefaultFontUnderline = false;
    int DefaultFontColor = 0;             // RGB value, red in the low byte
    bool ShowOpeningScreen = true;
    bool IconsVisible = false;
    QString IconsFile;                    // default: program folder + "ICONS\\MISC1.ICL"
    int IconsTop = 0;                     // default: main window's top + 100
    int IconsLeft = 0;                    // default: main window's left + width - 200

    // Reads every key; missing keys take their defaults, the palette's
    // position following the main window's rectangle.
    void Load(const IniFile &ini, const QRect &mainWindow);

    // Writes every key, in the order a new file receives them.  Stops at the
    // first key that cannot be written and returns false (ini.ErrorString()).
    bool Save(IniFile &ini) const;
};

// QY.INI in the program folder.
QString IniFileName();
