#include "app/Preferences.h"

#include "app/IniFile.h"
#include "app/ProgramFolder.h"
#include "store/PasswordCodec.h"

namespace {
const QString kSecurity = QStringLiteral("Security");
const QString kFont = QStringLiteral("Default Font");
const QString kOpening = QStringLiteral("Opening Screen");
const QString kIcons = QStringLiteral("Icons");
} // namespace

QString IniFileName()
{
    return ProgramFolder() + QStringLiteral("QY.INI");
}

void Preferences::Load(const IniFile &ini, const QRect &mainWindow)
{
    const QString stored = ini.ReadString(kSecurity, QStringLiteral("Password"), QString());
    UserPassword = stored.isEmpty() ? QString() : Decryptstring(stored);

    DefaultFontName = ini.ReadString(kFont, QStringLiteral("Name"), QStringLiteral("Arial"));
    DefaultFontSize = ini.ReadInteger(kFont, QStringLiteral("Size"), 10);
    DefaultFontBold = ini.ReadBool(kFont, QStringLiteral("Bold"), false);
    DefaultFontItalic = ini.ReadBool(kFont, QStringLiteral("Italic"), false);
    DefaultFontUnderline = ini.ReadBool(kFont, QStringLiteral("Underline"), false);
    DefaultFontColor = ini.ReadInteger(kFont, QStringLiteral("Color"), 0);

    ShowOpeningScreen = ini.ReadBool(kOpening, QStringLiteral("show"), true);

    IconsFile = ini.ReadString(kIcons, QStringLiteral("File"),
                               ProgramFolder() + QStringLiteral("ICONS\\MISC1.ICL"));
    IconsVisible = ini.ReadBool(kIcons, QStringLiteral("Visible"), false);
    IconsTop = ini.ReadInteger(kIcons, QStringLiteral("Top"), mainWindow.top() + 100);
    IconsLeft = ini.ReadInteger(kIcons, QStringLiteral("Left"),
                                mainWindow.left() + mainWindow.width() - 200);
}

bool Preferences::Save(IniFile &ini) const
{
    return ini.WriteString(kSecurity, QStringLiteral("Password"),
                           UserPassword.isEmpty() ? QString() : EncryptString(UserPassword))
        && ini.WriteString(kFont, QStringLiteral("Name"), DefaultFontName)
        && ini.WriteInteger(kFont, QStringLiteral("Size"), DefaultFontSize)
        && ini.WriteBool(kFont, QStringLiteral("Bold"), DefaultFontBold)
        && ini.WriteBool(kFont, QStringLiteral("Italic"), DefaultFontItalic)
        && ini.WriteBool(kFont, QStringLiteral("Underline"), DefaultFontUnderline)
        && ini.WriteInteger(kFont, QStringLiteral("Color"), DefaultFontColor)
        && ini.WriteBool(kOpening, QStringLiteral("show"), ShowOpeningScreen)
        && ini.WriteBool(kIcons, QStringLiteral("Visible"), IconsVisible)
        && ini.WriteString(kIcons, QStringLiteral("File"), IconsFile)
        && ini.WriteInteger(kIcons, QStringLiteral("Top"), IconsTop)
        && ini.WriteInteger(kIcons, QStringLiteral("Left"), IconsLeft);
}
