#include "store/Warn.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TWarningScreen::TWarningScreen(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(QStringLiteral("Warning!"));
    auto *layout = new QVBoxLayout(this);
    const char *texts[] = {
        "There is a slight chance that things beyond our control could cause damage to your "
        "datafiles during this operation (i.e. damaged hard drive, power surge, power loss, not "
        "enough disk space, etc).",
        "Please verify that you have made backups of the following files before continuing:",
        "-QY.INI (found in the main Quillary! directory)",
        "-All files with the .QYE extension, in the \\Entries subdirectory (these are your "
        "Quillary entries)",
        "Copying them to another directory, or to a floppy disk or other removable media is "
        "recommended. Should datafile damage occur, you can then simply copy these files back "
        "into their original directories.",
    };
    for (const char *text : texts) {
        auto *label = new QLabel(QString::fromLatin1(text), this);
        label->setWordWrap(true);
        label->setFixedWidth(380);
        layout->addWidget(label);
    }

    OkButton = new QPushButton(QStringLiteral("Ok"), this);
    OkButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);
    buttons->addStretch();
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize(); // its size is known before it is placed
}
