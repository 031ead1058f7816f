// The main window's entry of the current date: finding, loading and saving
// its file.

#include "app/MainScreen.h"

#include "app/Messages.h"
#include "richtext/WPRichText.h"
#include "store/EntryFiles.h"

#include <QCoreApplication>
#include <QPushButton>

QString TMainScreen::GetCurrentDateFileName() const
{
    return EntryFileName(CurrentDate);
}

void TMainScreen::FindDateRecord()
{
    EntryExists = EntryFileExists(CurrentDate);
    SetDateCaption();
}

void TMainScreen::LoadRichText()
{
    LoadingEntry = true;
    WPRichText1->setReadOnly(false);
    WPRichText1->Clear();
    if (!EntryExists) {
        SetDefaultFontNow();
        setEntryChanged(false);
        if (!FirstActivation)
            WPRichText1->setFocus();
        LoadingEntry = false;
        return;
    }

    const QString fileName = GetCurrentDateFileName();
    QByteArray plain;
    QString error;
    bool loaded = ReadEntryFile(fileName, UserPassword, &plain, &error);
    if (loaded && !WPRichText1->LoadFromBytes(plain)) {
        loaded = false;
        error = QStringLiteral("%1 cannot be read: %2").arg(fileName, WPRichText1->ErrorString());
    }
    if (!loaded) {
        // An entry that cannot be shown must not be overwritten by an edit
        // of the empty page: the page stays read-only until another date.
        WPRichText1->Clear();
        WPRichText1->setReadOnly(true);
        ShowError(error);
    }
    WPRichText1->CaretToStart();
    WPRichText1->viewport()->update();
    if (!FirstActivation)
        WPRichText1->setFocus();
    LoadingEntry = false;
}

bool TMainScreen::SaveRichText(QString *error)
{
    const bool empty = WPRichText1->IsEmpty();
    const QString fileName = GetCurrentDateFileName();
    if (EntryExists && empty) {
        if (!RemoveEntryFile(fileName, error))
            return false;
        EntryExists = false;
    } else if (EntryExists || !empty) {
        if (!WriteEntryFile(fileName, WPRichText1->SaveToBytes(), UserPassword, error))
            return false;
        EntryExists = true;
    }
    // An empty page for a date without an entry writes nothing.
    QCoreApplication::processEvents();
    return true;
}

void TMainScreen::SetDefaultFontNow()
{
    TWPCharAttr attr = WPRichText1->CurrentCharAttr();
    attr.Font = WPRichText1->FontIndex(DefaultFontName);
    attr.Size = DefaultFontSize;
    // Style bits already present stay.
    if (DefaultFontBold)
        attr.Style |= TWPCharAttr::Bold;
    if (DefaultFontItalic)
        attr.Style |= TWPCharAttr::Italic;
    if (DefaultFontUnderline)
        attr.Style |= TWPCharAttr::Underline;
    // The stored colour has red in its low byte; one that is not in the
    // editor's colour table gives colour 0.
    attr.Color = TWPRichText::ColorIndexOf(QColor(DefaultFontColor & 0xFF,
                                                  (DefaultFontColor >> 8) & 0xFF,
                                                  (DefaultFontColor >> 16) & 0xFF));
    WPRichText1->SetCurrentCharAttr(attr);
}
