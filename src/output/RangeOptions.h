#pragma once

#include <QDate>
#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

// What the print and the export options dialogs share: the choice of the
// entry shown, all entries or a range of dates, the two date boxes with
// their calendar buttons, Ok and Cancel.  The caller sets FromDate and ToDate,
// places and shows the dialog, and on Ok (1) reads the dates and the choices.
class TDateRangeOptions : public QDialog
{
    Q_OBJECT
public:
    QRadioButton *PrintCurrentOnly = nullptr;
    QRadioButton *PrintAll = nullptr;
    QRadioButton *PrintRangeOfDates = nullptr;
    QFrame *Panel1 = nullptr;
    QLabel *DateEditLabel = nullptr;
    QLineEdit *DateEditFrom = nullptr;
    QToolButton *CalendarFrom = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *DateEditTo = nullptr;
    QToolButton *CalendarTo = nullptr;
    QLabel *DateFormat = nullptr;
    QPushButton *OKButton = nullptr;
    QPushButton *CancelButton = nullptr;

    // In: the dates the boxes first show and fall back to after a bad date.
    // Out: the range, read from the boxes at Ok.
    QDate FromDate;
    QDate ToDate;
    bool CurrentOnlyChosen = false;
    bool AllChosen = false;

    static bool ValidDateText(const QString &text);

    // Fills the date boxes on the first activation; later ones do nothing.
    void FormActivate();
    virtual void SetButtons();
    void PrintCurrentOnlyClick() { SetButtons(); }
    void PrintRangeOfDatesClick() { SetButtons(); }
    void DateEditFromChange() { SetButtons(); }
    void DateEditToChange() { SetButtons(); }
    // Leaving a date box: a date is rewritten in the short date format, a
    // bad one is reported and replaced by the box's starting date.
    void DateEditFromExit(QLineEdit *sender);
    // Picks the box's date from the date selector.
    void CalendarFromClick(QToolButton *sender);
    virtual void OKButtonClick();
    void CancelButtonClick();

    // Esc gives Cancel (2), not Qt's 0.
    void reject() override;

protected:
    // verb: "Print" or "Export", the start of the radio buttons' captions.
    TDateRangeOptions(const QString &verb, QWidget *parent);

    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool FirstShow = true;
    bool inExit_ = false;
};
