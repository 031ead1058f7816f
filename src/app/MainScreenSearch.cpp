// Find Any Entry Containing and Find Next Entry Containing.

#include "app/MainScreen.h"

#include "app/DateFormats.h"
#include "app/Messages.h"
#include "app/Placement.h"
#include "output/EntrySearch.h"
#include "output/Lookfor.h"
#include "richtext/WPRichText.h"
#include "store/Convnot.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>

void TMainScreen::mnuFindentrycontainingClick()
{
    if (!SaveButtonClick())
        return;
    const QDate remembered = CurrentDate;
    QString text;
    {
        TLookForAll dialog(this);
        PlaceDialog(&dialog);
        if (dialog.exec() != QDialog::Accepted)
            return;
        text = dialog.LookForText->text();
    }
    if (!text.isEmpty()) {
        const QDate last = LastDiaryRecord();
        const QDate first = FirstDiaryRecord();
        CurrentDate = first;
        SearchText = text;
        SearchFound = false;
        scanForSearchText(first, last);
    }
    finishSearch(remembered);
}

void TMainScreen::mnuFindNextBigClick()
{
    if (!SaveButtonClick())
        return;
    const QDate remembered = CurrentDate;
    const QDate last = LastDiaryRecord();
    CurrentDate = CurrentDate.addDays(1);
    SearchFound = false;
    scanForSearchText(CurrentDate, last);
    finishSearch(remembered);
}

void TMainScreen::scanForSearchText(const QDate &first, const QDate &last)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    TConvertNotify progress;
    progress.WhatAmIdoing->setText(QStringLiteral("Searching..."));
    progress.show();
    // The scan walks the current date: nothing the user does may move it
    // meanwhile, so only painting gets through.
    const SearchResult result = SearchEntries(first, last, SearchText, UserPassword,
                                              [&progress](const QDate &date) {
        progress.Status->setText(QStringLiteral("Processing entry for ")
                                 + FormatDate(QStringLiteral("ddddd"), date));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    if (result.found) {
        SearchFound = true;
        CurrentDate = result.date;
    }
    if (!result.unreadable.isEmpty()) {
        QStringList dates;
        for (const QDate &date : result.unreadable)
            dates << FormatDate(QStringLiteral("ddddd"), date);
        ShowError(QStringLiteral("These entries could not be read and were not searched: %1. %2")
                      .arg(dates.join(QStringLiteral(", ")), result.errors.first()));
    }
}

void TMainScreen::finishSearch(const QDate &remembered)
{
    if (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    MenuItem(QStringLiteral("mnuFindNextBig"))->setEnabled(SearchFound);
    if (!SearchFound) {
        CurrentDate = remembered;
        ShowInformation(QStringLiteral("No matches"));
    }
    FindDateRecord();
    LoadRichText();
    if (SearchFound) {
        WPRichText1->moveCursor(QTextCursor::Start);
        WPRichText1->find(SearchText);
    }
}
