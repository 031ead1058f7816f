// The main window's commands: Save, Cancel, Delete and moving between dates.

#include "app/MainScreen.h"

#include "app/Clock.h"
#include "app/DateFormats.h"
#include "app/Messages.h"
#include "richtext/WPRichText.h"
#include "store/EntryFiles.h"

#include <QApplication>
#include <QPushButton>

bool TMainScreen::EntryChanged() const
{
    return !SaveButton->isHidden();
}

void TMainScreen::setEntryChanged(bool changed)
{
    SaveButton->setVisible(changed);
    CancelButton->setVisible(changed);
}

void TMainScreen::WPRichText1Change()
{
    // A page that shows no entry because the entry could not be read never
    // counts as changed: saving it would overwrite or delete that entry.
    if (!LoadingEntry && !WPRichText1->isReadOnly())
        setEntryChanged(true);
}

void TMainScreen::reportSaveFailure(const QString &error)
{
    ShowError(QStringLiteral("The entry for %1 was not saved. %2")
                  .arg(FormatDate(QStringLiteral("ddddd"), CurrentDate), error));
}

bool TMainScreen::SaveButtonClick()
{
    if (!EntryChanged())
        return true;
    QString error;
    if (!SaveRichText(&error)) {
        // Save and Cancel stay, so the next command that saves tries again.
        reportSaveFailure(error);
        return false;
    }
    setEntryChanged(false);
    return true;
}

void TMainScreen::CancelButtonClick()
{
    LoadRichText();
    setEntryChanged(false);
}

void TMainScreen::DeletebuttonClick()
{
    if (WPRichText1->isReadOnly())
        return;
    if (!AskConfirmation(QStringLiteral("Delete this entry?")))
        return;
    // The file goes with the next save, which finds the page empty; Cancel
    // brings the text back.
    WPRichText1->Clear();
    WPRichText1->RaiseChange();
}

bool TMainScreen::GoToDate(const QDate &date)
{
    if (!SaveButtonClick())
        return false;
    CurrentDate = date;
    FindDateRecord();
    LoadRichText();
    return true;
}

void TMainScreen::NextButtonClick()
{
    GoToDate(CurrentDate.addDays(1));
}

void TMainScreen::PriorButtonClick()
{
    GoToDate(CurrentDate.addDays(-1));
}

void TMainScreen::BitBtn1Click()
{
    GoToDate(Today());
}

void TMainScreen::FirstButtonClick()
{
    if (SaveButtonClick())
        GoToDate(FirstDiaryRecord());
}

void TMainScreen::LastButtonClick()
{
    if (SaveButtonClick())
        GoToDate(LastDiaryRecord());
}

void TMainScreen::HideButtonClick()
{
    showMinimized();
}

QDate TMainScreen::FirstDiaryRecord() const
{
    return EarliestEntryDate(Today());
}

QDate TMainScreen::LastDiaryRecord() const
{
    return LatestEntryDate(Today());
}
