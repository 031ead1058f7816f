// The print and export options dialogs: what they share, tested on both
// twins, and what each adds.

#include "../calendar/DriveModal.h"
#include "TestSupport.h"

#include "app/Clock.h"
#include "app/DateFormats.h"
#include "app/DateReader.h"
#include "app/MainScreen.h"
#include "app/Placement.h"
#include "calendar/Calglyph.h"
#include "calendar/Datesel.h"
#include "output/DirectoryListBox.h"
#include "output/DriveComboBox.h"
#include "output/Printopt.h"
#include "output/Saveopt.h"
#include "store/EntryFiles.h"

#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <memory>

namespace {
const QDate kShown(1999, 2, 14); // the main screen's current date
const QDate kToday(1999, 3, 5);

std::unique_ptr<TDateRangeOptions> make(const QString &kind)
{
    std::unique_ptr<TDateRangeOptions> dialog;
    if (kind == QLatin1String("print"))
        dialog = std::make_unique<TPrintOptions>();
    else
        dialog = std::make_unique<TSaveOptions>();
    dialog->FromDate = kShown;
    dialog->ToDate = Today();
    return dialog;
}

void addKinds()
{
    QTest::addColumn<QString>("kind");
}
} // namespace

class TestRangeOptions : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempProgramFolder> folder;
    std::unique_ptr<MessageRecorder> messages;

    // Shows the dialog as its caller does and makes it the active window, so
    // that leaving a box is a real change of focus.
    static void showActive(TDateRangeOptions &dialog)
    {
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
    }

private slots:
    void init()
    {
        folder = std::make_unique<TempProgramFolder>();
        messages = std::make_unique<MessageRecorder>();
        DateFormatSettings formats =
            DateFormatSettings::FromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        formats.ShortDateFormat = QStringLiteral("M/d/yyyy");
        formats.DateSeparator = QLatin1Char('/');
        SetDateFormats(formats);
        PinClock(QDateTime(kToday, QTime(16, 45)));
    }
    void cleanup()
    {
        messages.reset();
        folder.reset();
        UnpinClock();
    }

    void sharedComponents_data()
    {
        addKinds();
        QTest::addColumn<QString>("verb");
        QTest::newRow("print") << "print" << "Print";
        QTest::newRow("export") << "export" << "Export";
    }
    void sharedComponents()
    {
        QFETCH(QString, kind);
        QFETCH(QString, verb);
        auto dialog = make(kind);
        QCOMPARE(dialog->PrintCurrentOnly->text(), verb + " current entry only");
        QCOMPARE(dialog->PrintAll->text(), verb + " all entries");
        QCOMPARE(dialog->PrintRangeOfDates->text(), verb + " range of dates");
        QCOMPARE(dialog->PrintCurrentOnly->toolTip(), QStringLiteral("Print only the currntly showing entry"));
        QCOMPARE(dialog->PrintAll->toolTip(), QStringLiteral("Print all diary entries"));
        QCOMPARE(dialog->PrintRangeOfDates->toolTip(),
                 QStringLiteral("Print diary entries that fall between a starting \nand ending date"));
        QCOMPARE(dialog->DateEditLabel->text(), QStringLiteral("Starting Date"));
        QCOMPARE(dialog->Label1->text(), QStringLiteral("Ending Date"));
        QCOMPARE(dialog->DateEditFrom->toolTip(), QStringLiteral("Print diary entries starting with this date"));
        QCOMPARE(dialog->DateEditTo->toolTip(),
                 QStringLiteral("Print diary entries up to and including this date"));
        QCOMPARE(dialog->CalendarFrom->toolTip(), QStringLiteral("Select the starting date from a calendar"));
        QCOMPARE(dialog->CalendarTo->toolTip(), QStringLiteral("Select the ending date from a calendar"));
        QCOMPARE(dialog->DateFormat->text(), QStringLiteral("(use: M/d/yyyy)"));
        QCOMPARE(dialog->OKButton->text(), QStringLiteral("Ok"));
        QVERIFY(dialog->OKButton->isDefault());
        QCOMPARE(dialog->CancelButton->text(), QStringLiteral("Cancel"));
        // The radio buttons in their order, the range controls in Panel1.
        QVERIFY(dialog->PrintCurrentOnly->y() < dialog->PrintAll->y());
        QVERIFY(dialog->PrintAll->y() < dialog->PrintRangeOfDates->y());
        for (QWidget *w : {static_cast<QWidget *>(dialog->DateEditFrom),
                           static_cast<QWidget *>(dialog->CalendarTo),
                           static_cast<QWidget *>(dialog->DateFormat)})
            QCOMPARE(w->parentWidget(), dialog->Panel1);
    }

    void twinsDiffer()
    {
        TPrintOptions print;
        QCOMPARE(print.windowTitle(), QStringLiteral("Print Options"));
        QCOMPARE(print.size(), QSize(315, 279));
        QCOMPARE(print.EachPageSeparate->text(), QStringLiteral("Print each page separately"));
        QCOMPARE(print.EachPageSeparate->toolTip(), QStringLiteral("Print each diary entry (day) on its own page"));
        QCOMPARE(print.MergePages->text(), QStringLiteral("Merge pages "));
        QCOMPARE(print.MergePages->toolTip(),
                 QStringLiteral("Print as many diary entries per page as possible to conserve paper"));
        QCOMPARE(print.DateEditTo->y(), print.DateEditFrom->y()); // side by side

        TSaveOptions save;
        QCOMPARE(save.windowTitle(), QStringLiteral("Export Options (Export to RTF Format)"));
        QCOMPARE(save.size(), QSize(442, 382));
        QCOMPARE(save.Label2->text(), QStringLiteral("Save to path"));
        QCOMPARE(save.Label3->text(),
                 QStringLiteral("Files will be saved in the form: YYYYMMDD.RTF. For instance, the entry "
                                "for October 15, 1998 will be saved as 19981015.RTF."));
        QVERIFY(save.DateEditTo->y() > save.DateEditFrom->y()); // one under the other
    }

    void opensOnTheCurrentEntry_data()
    {
        addKinds();
        QTest::newRow("print") << "print";
        QTest::newRow("export") << "export";
    }
    void opensOnTheCurrentEntry()
    {
        QFETCH(QString, kind);
        auto dialog = make(kind);
        dialog->show();
        QVERIFY(dialog->PrintCurrentOnly->isChecked());
        QCOMPARE(dialog->DateEditFrom->text(), QStringLiteral("2/14/1999"));
        QCOMPARE(dialog->DateEditTo->text(), QStringLiteral("3/5/1999"));
        for (QWidget *w : {static_cast<QWidget *>(dialog->DateEditFrom),
                           static_cast<QWidget *>(dialog->DateEditTo),
                           static_cast<QWidget *>(dialog->CalendarFrom),
                           static_cast<QWidget *>(dialog->CalendarTo)})
            QVERIFY(!w->isEnabled());
        QVERIFY(dialog->OKButton->isEnabled());
        if (auto *print = dynamic_cast<TPrintOptions *>(dialog.get())) {
            QVERIFY(print->EachPageSeparate->isChecked());
            QVERIFY(!print->EachPageSeparate->isEnabled());
            QVERIFY(!print->MergePages->isEnabled());
        }
        // A later activation keeps what the user typed.
        dialog->PrintRangeOfDates->click();
        dialog->DateEditFrom->setText("1/1/1999");
        dialog->hide();
        dialog->show();
        QCOMPARE(dialog->DateEditFrom->text(), QStringLiteral("1/1/1999"));
    }

    void printEnabling_data()
    {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<bool>("rangeControls");
        QTest::addColumn<bool>("pageChoice");
        QTest::newRow("current entry") << "current" << false << false;
        QTest::newRow("all entries") << "all" << false << true;
        QTest::newRow("range") << "range" << true << true;
    }
    void printEnabling()
    {
        QFETCH(QString, choice);
        QFETCH(bool, rangeControls);
        QFETCH(bool, pageChoice);
        TPrintOptions dialog;
        dialog.show();
        dialog.PrintRangeOfDates->click();
        (choice == "current" ? dialog.PrintCurrentOnly
                             : choice == "all" ? dialog.PrintAll : dialog.PrintRangeOfDates)->click();
        QCOMPARE(dialog.DateEditFrom->isEnabled(), rangeControls);
        QCOMPARE(dialog.DateEditTo->isEnabled(), rangeControls);
        QCOMPARE(dialog.CalendarFrom->isEnabled(), rangeControls);
        QCOMPARE(dialog.CalendarTo->isEnabled(), rangeControls);
        QCOMPARE(dialog.EachPageSeparate->isEnabled(), pageChoice);
        QCOMPARE(dialog.MergePages->isEnabled(), pageChoice);
    }

    void okNeedsTwoDatesForARange_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("two dates") << "2/1/1999" << "3/5/1999" << true;
        QTest::newRow("two short dates") << "2/1" << "3/5" << true;
        QTest::newRow("start after end") << "3/5/1999" << "2/1/1999" << true;
        QTest::newRow("empty start") << "" << "3/5/1999" << false;
        QTest::newRow("empty end") << "2/1/1999" << "" << false;
        QTest::newRow("no such day") << "2/29/1999" << "3/5/1999" << false;
        QTest::newRow("with a time") << "2/1/1999" << "3/5/1999 12:00" << false;
        QTest::newRow("words") << "yesterday" << "3/5/1999" << false;
    }
    void okNeedsTwoDatesForARange()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(bool, enabled);
        TSaveOptions dialog;
        dialog.show();
        dialog.PrintRangeOfDates->click();
        dialog.DateEditFrom->setText(from);
        dialog.DateEditTo->setText(to);
        QCOMPARE(dialog.OKButton->isEnabled(), enabled);
        // Out of range mode the boxes do not count.
        dialog.PrintAll->click();
        QVERIFY(dialog.OKButton->isEnabled());
    }

    void leavingABox_data()
    {
        QTest::addColumn<bool>("endBox");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("after");
        QTest::addColumn<bool>("reported");
        QTest::newRow("short date gets the year") << false << "5/3" << "5/3/1999" << false;
        QTest::newRow("two-digit year") << true << "12/31/98" << "12/31/1998" << false;
        QTest::newRow("leading zeros dropped") << false << " 02/07/1999 " << "2/7/1999" << false;
        QTest::newRow("cleared: no message") << false << "" << "" << false;
        QTest::newRow("bad start: back to its date") << false << "2/30/1999" << "2/14/1999" << true;
        QTest::newRow("bad end: back to its date") << true << "soon" << "3/5/1999" << true;
    }
    void leavingABox()
    {
        QFETCH(bool, endBox);
        QFETCH(QString, typed);
        QFETCH(QString, after);
        QFETCH(bool, reported);
        auto dialog = make("print");
        showActive(*dialog);
        dialog->PrintRangeOfDates->click();
        QLineEdit *box = endBox ? dialog->DateEditTo : dialog->DateEditFrom;
        QLineEdit *other = endBox ? dialog->DateEditFrom : dialog->DateEditTo;
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, typed);
        if (typed.isEmpty())
            QTest::keyClick(box, Qt::Key_Delete);
        QCOMPARE(dialog->OKButton->isEnabled(), IsShortDate(typed)); // while typing
        other->setFocus(); // leaves the box

        QCOMPARE(box->text(), after);
        if (reported) {
            QCOMPARE(messages->texts(),
                     QStringList{"Please use the date format M/d/yyyy\n   Example: 3/5/1999"});
            QCOMPARE(messages->messages.first().first, MessageKind::Information);
            QVERIFY(box->hasFocus());
        } else {
            QVERIFY(messages->messages.isEmpty());
            QVERIFY(other->hasFocus());
        }
        QCOMPARE(dialog->OKButton->isEnabled(), !after.isEmpty());
        // The dates the caller gave stay until Ok.
        QCOMPARE(dialog->FromDate, kShown);
        QCOMPARE(dialog->ToDate, kToday);
    }

    void reachingForCancelReportsNothing()
    {
        auto dialog = make("export");
        showActive(*dialog);
        dialog->PrintRangeOfDates->click();
        dialog->DateEditFrom->setFocus();
        dialog->DateEditFrom->setText("never");
        dialog->CancelButton->setFocus();
        QVERIFY(messages->messages.isEmpty());
    }

    void okGivesTheChoice_data()
    {
        addKinds();
        QTest::addColumn<QString>("choice");
        QTest::addColumn<bool>("currentOnly");
        QTest::addColumn<bool>("all");
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        for (const char *kind : {"print", "export"}) {
            QTest::addRow("%s current", kind) << kind << "current" << true << false << kShown << kShown;
            QTest::addRow("%s all", kind) << kind << "all" << false << true << kShown << kShown;
            QTest::addRow("%s untouched range", kind)
                << kind << "range" << false << false << kShown << kToday;
            QTest::addRow("%s typed range", kind)
                << kind << "typed" << false << false << QDate(1998, 12, 1) << QDate(1999, 1, 31);
        }
    }
    void okGivesTheChoice()
    {
        QFETCH(QString, kind);
        QFETCH(QString, choice);
        QFETCH(bool, currentOnly);
        QFETCH(bool, all);
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        auto dialog = make(kind);
        WhenModal([choice](QWidget *modal) {
            auto *d = qobject_cast<TDateRangeOptions *>(modal);
            QVERIFY(d);
            if (choice == "all")
                d->PrintAll->click();
            if (choice == "range" || choice == "typed")
                d->PrintRangeOfDates->click();
            if (choice == "typed") {
                d->DateEditFrom->setText("12/1/98");
                d->DateEditTo->setText("1/31/1999");
            }
            QTest::mouseClick(d->OKButton, Qt::LeftButton);
        });
        PlaceDialog(dialog.get());
        QCOMPARE(dialog->exec(), mrOk);
        QCOMPARE(dialog->CurrentOnlyChosen, currentOnly);
        QCOMPARE(dialog->AllChosen, all);
        QCOMPARE(dialog->FromDate, from);
        QCOMPARE(dialog->ToDate, to);
    }

    void printGivesThePageChoice_data()
    {
        QTest::addColumn<bool>("merge");
        QTest::newRow("each page separately") << false;
        QTest::newRow("merge pages") << true;
    }
    void printGivesThePageChoice()
    {
        QFETCH(bool, merge);
        TPrintOptions dialog;
        WhenModal([merge](QWidget *modal) {
            auto *d = qobject_cast<TPrintOptions *>(modal);
            d->PrintAll->click();
            (merge ? d->MergePages : d->EachPageSeparate)->click();
            QTest::keyClick(d, Qt::Key_Return);
        });
        QCOMPARE(dialog.exec(), mrOk);
        QCOMPARE(dialog.MergeChosen, merge);
        QVERIFY(dialog.AllChosen);
    }

    void cancelGivesNothing_data()
    {
        addKinds();
        QTest::addColumn<bool>("escape");
        QTest::newRow("print Cancel") << "print" << false;
        QTest::newRow("export Esc") << "export" << true;
    }
    void cancelGivesNothing()
    {
        QFETCH(QString, kind);
        QFETCH(bool, escape);
        auto dialog = make(kind);
        WhenModal([escape](QWidget *modal) {
            auto *d = qobject_cast<TDateRangeOptions *>(modal);
            d->PrintRangeOfDates->click();
            d->DateEditFrom->setText("1/1/1999");
            if (escape)
                QTest::keyClick(d, Qt::Key_Escape);
            else
                QTest::mouseClick(d->CancelButton, Qt::LeftButton);
        });
        QCOMPARE(dialog->exec(), mrCancel);
        QCOMPARE(dialog->FromDate, kShown);
        QCOMPARE(dialog->ToDate, kToday);
        QVERIFY(!dialog->CurrentOnlyChosen && !dialog->AllChosen);
    }

    void calendarButtonPicksTheBoxsDate_data()
    {
        QTest::addColumn<bool>("endBox");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QDate>("opensOn");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("after");
        QTest::newRow("start, Ok") << false << "4/20/1998" << QDate(1998, 4, 20) << true << "4/22/1998";
        QTest::newRow("start, Cancel") << false << "4/20/1998" << QDate(1998, 4, 20) << false
                                       << "4/20/1998";
        QTest::newRow("end, no date: today") << true << "later" << kToday << true << "3/22/1999";
        QTest::newRow("end, Cancel keeps the text") << true << "later" << kToday << false << "later";
    }
    void calendarButtonPicksTheBoxsDate()
    {
        QFETCH(bool, endBox);
        QFETCH(QString, typed);
        QFETCH(QDate, opensOn);
        QFETCH(bool, ok);
        QFETCH(QString, after);
        auto dialog = make("export");
        dialog->show();
        dialog->PrintRangeOfDates->click();
        QLineEdit *box = endBox ? dialog->DateEditTo : dialog->DateEditFrom;
        box->setText(typed);
        QDate shownOn;
        WhenModal([&](QWidget *modal) {
            auto *s = qobject_cast<TDateSelector *>(modal);
            QVERIFY(s);
            shownOn = s->Calendar->CalendarDate();
            s->Calendar->SetCalendarDate(shownOn.addDays(shownOn == kToday ? 17 : 2));
            QTest::mouseClick(ok ? s->OKButton : s->CancelButton, Qt::LeftButton);
        });
        QTest::mouseClick(endBox ? dialog->CalendarTo : dialog->CalendarFrom, Qt::LeftButton);
        QCOMPARE(shownOn, opensOn);
        QCOMPARE(box->text(), after);
    }

    // With the main window there, the selector marks the days with entries.
    void calendarButtonShowsTheMarks()
    {
        QDir().mkpath(EntriesFolder());
        QString error;
        QVERIFY(WriteEntryFile(EntryFileName(QDate(1999, 2, 3)), "{\\rtf1 x}", QString(), &error));
        TMainScreen main; // becomes the main window
        auto dialog = make("print");
        dialog->show();
        dialog->PrintRangeOfDates->click();
        QStringList marks;
        WhenModal([&](QWidget *modal) {
            marks = qobject_cast<TDateSelector *>(modal)->EntryDays();
        });
        QTest::mouseClick(dialog->CalendarFrom, Qt::LeftButton);
        QCOMPARE(marks, QStringList{"3"});
    }

    void exportStartsAtTheProgramFolder()
    {
        QDir(folder->path()).mkpath("Backup/2024");
        QDir(folder->path()).mkpath("Entries");
        const QString programFolder = QDir::cleanPath(folder->path());
        TSaveOptions dialog;
        QCOMPARE(dialog.DirectoryListBox1->Directory(), programFolder);
        // The chain from the drive down to the folder, then its subfolders.
        const int count = dialog.DirectoryListBox1->count();
        QVERIFY(count >= 3);
        QCOMPARE(dialog.DirectoryListBox1->item(count - 2)->text().trimmed(), QStringLiteral("Backup"));
        QCOMPARE(dialog.DirectoryListBox1->item(count - 1)->text().trimmed(), QStringLiteral("Entries"));
        QCOMPARE(dialog.DirectoryListBox1->currentItem()->text().trimmed(),
                 QFileInfo(programFolder).fileName());

        // Entering a subfolder, then one of the folders above it.
        emit dialog.DirectoryListBox1->itemActivated(dialog.DirectoryListBox1->item(count - 2));
        QCOMPARE(dialog.DirectoryListBox1->Directory(), programFolder + "/Backup");
        QCOMPARE(dialog.DirectoryListBox1->item(dialog.DirectoryListBox1->count() - 1)->text().trimmed(),
                 QStringLiteral("2024"));
        emit dialog.DirectoryListBox1->itemActivated(dialog.DirectoryListBox1->item(0));
        QCOMPARE(dialog.DirectoryListBox1->Directory(), dialog.DirectoryListBox1->Drive());
    }

    void drivesStartWithTheRootAndHome()
    {
        const QStringList drives = TDriveComboBox::Drives();
        QCOMPARE(drives.value(0), QStringLiteral("/"));
        QCOMPARE(drives.value(1), QDir::cleanPath(QDir::homePath()));
        QVERIFY(!drives.contains("/proc"));
        QVERIFY(!drives.contains("/sys"));

        TSaveOptions dialog;
        dialog.DriveComboBox1->setCurrentIndex(0);
        emit dialog.DriveComboBox1->activated(0);
        QCOMPARE(dialog.DirectoryListBox1->Directory(), QStringLiteral("/"));
        QVERIFY(dialog.DirectoryListBox1->count() > 1);
    }
};

QTEST_MAIN(TestRangeOptions)
#include "tst_rangeoptions.moc"
