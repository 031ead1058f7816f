#include "output/RangeOptions.h"

#include "app/Clock.h"
#include "app/DateFormats.h"
#include "app/DateReader.h"
#include "app/MainScreen.h"
#include "app/Messages.h"
#include "app/Placement.h"
#include "calendar/Calglyph.h"
#include "calendar/Datesel.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFocusEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>

namespace {
QString shortDate(const QDate &date)
{
    return FormatDate(QStringLiteral("ddddd"), date);
}
} // namespace

TDateRangeOptions::TDateRangeOptions(const QString &verb, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    QFont formFont(QStringLiteral("Arial"));
    formFont.setPixelSize(11);
    setFont(formFont);

    auto radio = [this](QRadioButton *&b, const char *name, const QString &caption,
                        const QString &hint) {
        b = new QRadioButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(hint);
    };
    radio(PrintCurrentOnly, "PrintCurrentOnly", verb + QStringLiteral(" current entry only"),
          QStringLiteral("Print only the currntly showing entry"));
    radio(PrintAll, "PrintAll", verb + QStringLiteral(" all entries"),
          QStringLiteral("Print all diary entries"));
    radio(PrintRangeOfDates, "PrintRangeOfDates", verb + QStringLiteral(" range of dates"),
          QStringLiteral("Print diary entries that fall between a starting \nand ending date"));
    // One choice at all times: clicking the chosen one again keeps it.
    auto *choices = new QButtonGroup(this);
    for (QRadioButton *b : {PrintCurrentOnly, PrintAll, PrintRangeOfDates})
        choices->addButton(b);
    PrintCurrentOnly->setChecked(true);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::StyledPanel);
    Panel1->setFrameShadow(QFrame::Sunken);

    auto label = [this](QLabel *&l, const char *name, const QString &caption) {
        l = new QLabel(caption, Panel1);
        l->setObjectName(QString::fromLatin1(name));
    };
    auto edit = [this](QLineEdit *&e, const char *name, const QString &hint) {
        e = new QLineEdit(Panel1);
        e->setObjectName(QString::fromLatin1(name));
        e->setToolTip(hint);
        e->installEventFilter(this);
    };
    auto calendar = [this](QToolButton *&b, const char *name, const QString &hint) {
        b = new QToolButton(Panel1);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(hint);
        b->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
        connect(b, &QToolButton::clicked, this, [this, b] { CalendarFromClick(b); });
    };
    label(DateEditLabel, "DateEditLabel", QStringLiteral("Starting Date"));
    edit(DateEditFrom, "DateEditFrom", QStringLiteral("Print diary entries starting with this date"));
    calendar(CalendarFrom, "CalendarFrom", QStringLiteral("Select the starting date from a calendar"));
    label(Label1, "Label1", QStringLiteral("Ending Date"));
    edit(DateEditTo, "DateEditTo", QStringLiteral("Print diary entries up to and including this date"));
    calendar(CalendarTo, "CalendarTo", QStringLiteral("Select the ending date from a calendar"));
    label(DateFormat, "DateFormat",
          QStringLiteral("(use: ") + DateFormats().ShortDateFormat + QStringLiteral(")"));
    DateFormat->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);

    OKButton = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton),
                               QStringLiteral("Ok"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    CancelButton = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                                   QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setAutoDefault(false);

    connect(PrintCurrentOnly, &QRadioButton::toggled, this, &TDateRangeOptions::PrintCurrentOnlyClick);
    connect(PrintAll, &QRadioButton::toggled, this, &TDateRangeOptions::PrintRangeOfDatesClick);
    connect(PrintRangeOfDates, &QRadioButton::toggled, this,
            &TDateRangeOptions::PrintRangeOfDatesClick);
    connect(DateEditFrom, &QLineEdit::textChanged, this, &TDateRangeOptions::DateEditFromChange);
    connect(DateEditTo, &QLineEdit::textChanged, this, &TDateRangeOptions::DateEditToChange);
    connect(OKButton, &QPushButton::clicked, this, &TDateRangeOptions::OKButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TDateRangeOptions::CancelButtonClick);

    FromDate = Today();
    ToDate = Today();
}

bool TDateRangeOptions::ValidDateText(const QString &text)
{
    return IsShortDate(text);
}

void TDateRangeOptions::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TDateRangeOptions::FormActivate()
{
    if (!FirstShow)
        return;
    DateEditFrom->setText(shortDate(FromDate));
    DateEditTo->setText(shortDate(ToDate));
    SetButtons();
    FirstShow = false;
}

void TDateRangeOptions::SetButtons()
{
    const bool range = PrintRangeOfDates->isChecked();
    for (QWidget *w : {static_cast<QWidget *>(DateEditFrom), static_cast<QWidget *>(DateEditTo),
                       static_cast<QWidget *>(CalendarFrom), static_cast<QWidget *>(CalendarTo)})
        w->setEnabled(range);
    OKButton->setEnabled(!range
                         || (ValidDateText(DateEditFrom->text()) && ValidDateText(DateEditTo->text())));
}

bool TDateRangeOptions::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut && (watched == DateEditFrom || watched == DateEditTo)) {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        // Switching windows or opening a menu leaves no box; nor does
        // reaching for Cancel, which throws the typing away anyway.
        const bool leftTheBox = reason != Qt::ActiveWindowFocusReason
            && reason != Qt::PopupFocusReason && QApplication::focusWidget() != CancelButton;
        if (leftTheBox && !inExit_)
            DateEditFromExit(static_cast<QLineEdit *>(watched));
    }
    return QDialog::eventFilter(watched, event);
}

void TDateRangeOptions::DateEditFromExit(QLineEdit *sender)
{
    const QString text = sender->text();
    if (text.isEmpty()) {
        SetButtons();
        return;
    }
    const QDate date = ReadShortDate(text);
    if (date.isValid()) {
        sender->setText(shortDate(date));
        SetButtons();
        return;
    }
    inExit_ = true; // the message box takes the focus from the box
    ShowInformation(QStringLiteral("Please use the date format ") + DateFormats().ShortDateFormat
                    + QStringLiteral("\n   Example: ") + shortDate(Today()));
    sender->setText(shortDate(sender == DateEditFrom ? FromDate : ToDate));
    sender->setFocus();
    inExit_ = false;
    SetButtons();
}

void TDateRangeOptions::CalendarFromClick(QToolButton *sender)
{
    QLineEdit *box = sender == CalendarFrom ? DateEditFrom : DateEditTo;
    TDateSelector selector(this);
    PlaceDialog(&selector);
    const QDate typed = ReadShortDate(box->text());
    selector.InitialDate = typed.isValid() ? typed : Today();
    if (auto *main = qobject_cast<TMainScreen *>(MainWindow())) {
        selector.OnMarkDays = [main](QStringList &list, int year, int month) {
            main->MarkEntryDays(list, year, month);
        };
    }
    if (selector.exec() == mrOk)
        box->setText(shortDate(selector.Calendar->CalendarDate()));
}

void TDateRangeOptions::OKButtonClick()
{
    CurrentOnlyChosen = PrintCurrentOnly->isChecked();
    AllChosen = PrintAll->isChecked();
    if (!CurrentOnlyChosen && !AllChosen) {
        const QDate from = ReadShortDate(DateEditFrom->text());
        const QDate to = ReadShortDate(DateEditTo->text());
        // Ok is disabled while a box holds no date; Enter cannot pass one.
        if (!from.isValid() || !to.isValid())
            return;
        FromDate = from;
        ToDate = to;
    } else {
        ToDate = FromDate;
    }
    done(mrOk);
}

void TDateRangeOptions::CancelButtonClick()
{
    done(mrCancel);
}

void TDateRangeOptions::reject()
{
    done(mrCancel);
}
