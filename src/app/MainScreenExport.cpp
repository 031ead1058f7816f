// Export to RTF (Rich Text Format).

#include "app/MainScreen.h"

#include "app/Clock.h"
#include "app/DateFormats.h"
#include "app/Messages.h"
#include "app/Placement.h"
#include "app/ProgramFolder.h"
#include "output/DirectoryListBox.h"
#include "output/EntryExport.h"
#include "output/Saveopt.h"
#include "store/Convnot.h"

#include <QApplication>
#include <QLabel>

void TMainScreen::Export1Click()
{
    if (!SaveButtonClick())
        return;
    QDate first, last;
    QString folder;
    {
        TSaveOptions options(this);
        options.FromDate = CurrentDate;
        options.ToDate = Today();
        options.DirectoryListBox1->SetDirectory(ProgramFolder());
        PlaceDialog(&options);
        if (options.exec() != QDialog::Accepted)
            return;
        folder = ExportFolderName(options.DirectoryListBox1->Directory());
        if (options.CurrentOnlyChosen) {
            first = last = CurrentDate;
        } else if (options.AllChosen) {
            first = FirstDiaryRecord();
            last = LastDiaryRecord();
        } else {
            first = options.FromDate;
            last = options.ToDate;
        }
    }

    ExportResult result;
    {
        TConvertNotify progress;
        progress.WhatAmIdoing->setText(QStringLiteral("Exporting..."));
        progress.show();
        result = ExportEntries(first, last, folder, UserPassword, [&progress](const QDate &date) {
            progress.Status->setText(QStringLiteral("Processing entry for ")
                                     + FormatDate(QStringLiteral("ddddd"), date));
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    }

    QString message = QStringLiteral("Saved %1 file(s) as Rich Text Format (RTF)\nto directory: %2")
                          .arg(result.written)
                          .arg(folder);
    if (!result.failed.isEmpty()) {
        // Only the files really written are counted; the others are named.
        message += QStringLiteral("\n\n%1 file(s) could not be written:\n%2")
                       .arg(result.failed.size())
                       .arg(result.failed.mid(0, 5).join(QLatin1Char('\n')));
        if (result.failed.size() > 5)
            message += QStringLiteral("\n...");
        ShowError(message);
    } else {
        ShowInformation(message);
    }
    FindDateRecord();
    LoadRichText();
}
