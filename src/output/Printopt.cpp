#include "output/Printopt.h"

#include <QButtonGroup>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

TPrintOptions::TPrintOptions(QWidget *parent) : TDateRangeOptions(QStringLiteral("Print"), parent)
{
    setObjectName(QStringLiteral("PrintOptions"));
    setWindowTitle(QStringLiteral("Print Options"));
    setFixedSize(315, 279);

    PrintCurrentOnly->setGeometry(16, 8, 283, 20);
    PrintAll->setGeometry(16, 28, 283, 20);
    PrintRangeOfDates->setGeometry(16, 48, 283, 20);

    // The starting and the ending date side by side.
    Panel1->setGeometry(8, 72, 299, 92);
    DateEditLabel->setGeometry(10, 6, 130, 16);
    DateEditFrom->setGeometry(10, 24, 100, 22);
    CalendarFrom->setGeometry(114, 24, 24, 22);
    Label1->setGeometry(156, 6, 130, 16);
    DateEditTo->setGeometry(156, 24, 100, 22);
    CalendarTo->setGeometry(260, 24, 24, 22);
    DateFormat->setGeometry(0, 66, 299, 18);

    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFrameShape(QFrame::StyledPanel);
    Panel2->setFrameShadow(QFrame::Sunken);
    Panel2->setGeometry(8, 170, 299, 62);
    EachPageSeparate = new QRadioButton(QStringLiteral("Print each page separately"), Panel2);
    EachPageSeparate->setObjectName(QStringLiteral("EachPageSeparate"));
    EachPageSeparate->setToolTip(QStringLiteral("Print each diary entry (day) on its own page"));
    EachPageSeparate->setGeometry(10, 8, 280, 20);
    EachPageSeparate->setChecked(true);
    MergePages = new QRadioButton(QStringLiteral("Merge pages "), Panel2);
    MergePages->setObjectName(QStringLiteral("MergePages"));
    MergePages->setToolTip(
        QStringLiteral("Print as many diary entries per page as possible to conserve paper"));
    MergePages->setGeometry(10, 32, 280, 20);
    auto *pages = new QButtonGroup(this);
    pages->addButton(EachPageSeparate);
    pages->addButton(MergePages);

    OKButton->setGeometry(8, 242, 89, 29);
    CancelButton->setGeometry(218, 242, 89, 29);
}

void TPrintOptions::SetButtons()
{
    TDateRangeOptions::SetButtons();
    const bool several = PrintAll->isChecked() || PrintRangeOfDates->isChecked();
    EachPageSeparate->setEnabled(several);
    MergePages->setEnabled(several);
}

void TPrintOptions::OKButtonClick()
{
    MergeChosen = MergePages->isChecked();
    TDateRangeOptions::OKButtonClick();
}
