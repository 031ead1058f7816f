#include "store/Opasswrd.h"

#include "app/Placement.h"

#include "app/IniFile.h"
#include "app/Messages.h"
#include "app/ProgramFolder.h"
#include "store/PasswordCodec.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

QString ReadStoredPassword()
{
    const IniFile ini(ProgramFolder() + QStringLiteral("QY.INI"));
    const QString stored = ini.ReadString(QStringLiteral("Security"), QStringLiteral("Password"), QString());
    return stored.isEmpty() ? stored : Decryptstring(stored);
}

bool AskOpeningPassword()
{
    const QString password = ReadStoredPassword();
    if (password.isEmpty())
        return true;
    TGetOpeningPassword dialog;
    dialog.ExpectedPassword = password;
    return dialog.exec() == QDialog::Accepted;
}

TGetOpeningPassword::TGetOpeningPassword(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowStaysOnTopHint)
{
    setWindowTitle(QStringLiteral("Quillary! - Password Required"));

    auto *label = new QLabel(QStringLiteral("Please enter your password and press OK"), this);

    Pass = new QLineEdit(QStringLiteral("Pass"), this);
    Pass->setObjectName(QStringLiteral("Pass"));
    Pass->setEchoMode(QLineEdit::Password);
    Pass->setStyleSheet(QStringLiteral("lineedit-password-character: 42;")); // '*'
    QFont bold = Pass->font();
    bold.setBold(true);
    Pass->setFont(bold);
    // Typing replaces the text the box starts with.
    Pass->selectAll();

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setDefault(true);
    CloseButton = new QPushButton(QStringLiteral("Close"), this);
    connect(OKButton, &QPushButton::clicked, this, &TGetOpeningPassword::OKButtonClick);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CloseButton);
    buttons->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(Pass);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    Pass->setFocus();

    // Centred on the screen, not over another window.
    adjustSize();
    CentreOnScreen(this);
}

void TGetOpeningPassword::OKButtonClick()
{
    if (Pass->text() == ExpectedPassword)
        accept();
    else
        ShowInformation(QStringLiteral("Sorry, that is the wrong password"));
}
