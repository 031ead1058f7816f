#include "output/Lookfor.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

TLookForAll::TLookForAll(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("LookForAll"));
    setWindowTitle(QStringLiteral("Find text from any entry"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    QFont dialogFont(QStringLiteral("Arial"));
    dialogFont.setPixelSize(11);
    setFont(dialogFont);
    setFixedSize(249, 142);

    Label1 = new QLabel(QStringLiteral("Text to look for"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(16, 16, 217, 16);
    LookForText = new QLineEdit(this);
    LookForText->setObjectName(QStringLiteral("LookForText"));
    LookForText->setGeometry(16, 36, 217, 24);
    Label1->setBuddy(LookForText);

    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(40, 96, 80, 28);
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                              QStringLiteral("Cancel"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(130, 96, 80, 28);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    LookForText->setFocus();
}
