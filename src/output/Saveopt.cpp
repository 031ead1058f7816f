#include "output/Saveopt.h"

#include "app/ProgramFolder.h"
#include "output/DirectoryListBox.h"
#include "output/DriveComboBox.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

TSaveOptions::TSaveOptions(QWidget *parent) : TDateRangeOptions(QStringLiteral("Export"), parent)
{
    setObjectName(QStringLiteral("SaveOptions"));
    setWindowTitle(QStringLiteral("Export Options (Export to RTF Format)"));
    setFixedSize(442, 382);

    PrintCurrentOnly->setGeometry(16, 8, 190, 20);
    PrintAll->setGeometry(16, 28, 190, 20);
    PrintRangeOfDates->setGeometry(16, 48, 190, 20);

    // The ending date under the starting date.
    Panel1->setGeometry(8, 74, 200, 136);
    DateEditLabel->setGeometry(10, 6, 150, 16);
    DateEditFrom->setGeometry(10, 24, 120, 22);
    CalendarFrom->setGeometry(134, 24, 24, 22);
    Label1->setGeometry(10, 56, 150, 16);
    DateEditTo->setGeometry(10, 74, 120, 22);
    CalendarTo->setGeometry(134, 74, 24, 22);
    DateFormat->setGeometry(0, 110, 200, 18);

    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setGeometry(216, 4, 218, 286);
    Label2 = new QLabel(QStringLiteral("Save to path"), Panel2);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(4, 4, 210, 16);
    DriveComboBox1 = new TDriveComboBox(Panel2);
    DriveComboBox1->setObjectName(QStringLiteral("DriveComboBox1"));
    DriveComboBox1->setGeometry(4, 22, 210, 24);
    DirectoryListBox1 = new TDirectoryListBox(Panel2);
    DirectoryListBox1->setObjectName(QStringLiteral("DirectoryListBox1"));
    DirectoryListBox1->setGeometry(4, 50, 210, 232);
    Label2->setBuddy(DirectoryListBox1);

    Label3 = new QLabel(QStringLiteral("Files will be saved in the form: YYYYMMDD.RTF. For instance, "
                                       "the entry for October 15, 1998 will be saved as 19981015.RTF."),
                        this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setWordWrap(true);
    Label3->setGeometry(8, 296, 426, 40);

    OKButton->setGeometry(8, 345, 89, 29);
    CancelButton->setGeometry(345, 345, 89, 29);

    // Choosing a drive shows its folders.
    connect(DriveComboBox1, &TDriveComboBox::activated, this,
            [this] { DirectoryListBox1->SetDrive(DriveComboBox1->Drive()); });
    // The program folder, which the export command would otherwise have to set.
    DriveComboBox1->SelectDriveOf(ProgramFolder());
    DirectoryListBox1->SetDrive(DriveComboBox1->Drive());
    DirectoryListBox1->SetDirectory(ProgramFolder());
}
