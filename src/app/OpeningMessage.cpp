#include "app/OpeningMessage.h"

#include "app/Placement.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

TShowOpeningMessage::TShowOpeningMessage(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ShowOpeningMessage"));
    setWindowTitle(QStringLiteral("Quillary!"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    QFont dialogFont(QStringLiteral("Arial"));
    dialogFont.setPointSize(8);
    setFont(dialogFont);
    setFixedSize(427, 230);

    const char *texts[] = {
        "Quillary! is intended solely for your personal recreational use. Please do not rely on "
        "it for critical data storage.",
        "While Quillary! makes every attempt to keep the data safe, we cannot prevent data "
        "damage from such things as power failures, hard drive crashes, etc.",
        "Therefore, it is up to you to ensure that you make frequent backups of all files in the "
        "\\ENTRIES subdirectory, as well as the QY.INI file.",
    };
    int top = 12;
    for (const char *text : texts) {
        auto *label = new QLabel(QString::fromLatin1(text), this);
        label->setWordWrap(true);
        label->setGeometry(16, top, 395, 44);
        top += 50;
    }
    DontShow = new QCheckBox(QStringLiteral("Do not show this message again"), this);
    DontShow->setObjectName(QStringLiteral("DontShow"));
    DontShow->setGeometry(16, 168, 260, 20);
    OKButton = new QPushButton(QStringLiteral("Ok"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(176, 196, 75, 25);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    CentreOnScreen(this);
}
