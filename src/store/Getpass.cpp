#include "store/Getpass.h"

#include "app/IniFile.h"
#include "app/MainScreen.h"
#include "app/Messages.h"
#include "store/PasswordChange.h"
#include "store/PasswordCodec.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>

namespace {
const QString kValidCharacters =
    QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 ");

// The password as QY.INI gives it back once stored: what the diary is keyed
// with from then on.  Only characters that the check on leaving the box
// would refuse (reachable by pressing Enter) can change on the way.
QString AsStored(const QString &password)
{
    QTemporaryDir dir;
    IniFile ini(dir.filePath(QStringLiteral("QY.INI")));
    if (!dir.isValid() || !ini.WriteString(QStringLiteral("Security"), QStringLiteral("Password"),
                                           EncryptString(password)))
        return password;
    const QString stored = ini.ReadString(QStringLiteral("Security"), QStringLiteral("Password"), QString());
    return stored.isEmpty() ? stored : Decryptstring(stored);
}
} // namespace

TGetPassword::TGetPassword(TMainScreen *mainScreen, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), main_(mainScreen)
{
    setWindowTitle(QStringLiteral("Set Up Password"));

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAutoFillBackground(true); // covers "Processing new password:"
    auto *grid = new QGridLayout(Panel1);
    grid->addWidget(new QLabel(QStringLiteral("Old Password"), Panel1), 0, 0);
    NoneLabel = new QLabel(QStringLiteral("(none)"), Panel1);
    NoneLabel->setObjectName(QStringLiteral("NoneLabel"));
    OldPassword = new QLineEdit(Panel1);
    OldPassword->setObjectName(QStringLiteral("OldPassword"));
    OldPassword->setMaxLength(8);
    OldPassword->setEchoMode(QLineEdit::Password);
    OldPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42;")); // '*'
    // The box lies over "(none)"; hiding it shows that there is no password.
    grid->addWidget(NoneLabel, 0, 1);
    grid->addWidget(OldPassword, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("New Password"), Panel1), 1, 0);
    NewPassword = new QLineEdit(Panel1);
    NewPassword->setObjectName(QStringLiteral("NewPassword"));
    NewPassword->setMaxLength(8);
    NewPassword->installEventFilter(this);
    grid->addWidget(NewPassword, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("(maximum 8 chars - A-Z, 0-9 and spaces)"), Panel1), 2, 0,
                    1, 2);

    ProcessingLabel = new QLabel(QStringLiteral("Processing new password:"), this);
    ProcessingLabel->setObjectName(QStringLiteral("ProcessingLabel"));
    ProcessingLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto *stack = new QGridLayout;
    stack->addWidget(ProcessingLabel, 0, 0);
    stack->addWidget(Panel1, 0, 0);
    Panel1->raise(); // over the label until the run hides it

    Gauge1 = new QProgressBar(this);
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setRange(0, 0);
    Gauge1->setValue(0);
    Gauge1->setFormat(QStringLiteral("%p%"));
    Gauge1->setVisible(false);
    // Keeps its place while hidden, so the dialog does not change size.
    QSizePolicy keep = Gauge1->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    Gauge1->setSizePolicy(keep);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    ClearButton = new QPushButton(QStringLiteral("Clear (no password)"), this);
    connect(OKButton, &QPushButton::clicked, this, &TGetPassword::OkButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(ClearButton, &QPushButton::clicked, this, &TGetPassword::ClearButtonClick);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    buttons->addWidget(ClearButton);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(stack);
    layout->addWidget(Gauge1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize(); // its size is known before it is placed

    FormCreate();
}

void TGetPassword::FormCreate()
{
    main_->LoadPreferences();
    if (main_->UserPassword.isEmpty())
        OldPassword->hide();
    (OldPassword->isHidden() ? NewPassword : OldPassword)->setFocus();
}

bool TGetPassword::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == NewPassword && event->type() == QEvent::FocusOut) {
        // Leaving the box for another control of this dialog, not the
        // dialog losing the focus to a message.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            NewPasswordExit();
    }
    return QDialog::eventFilter(watched, event);
}

void TGetPassword::NewPasswordExit()
{
    const QString text = NewPassword->text();
    for (const QChar c : text) {
        if (!kValidCharacters.contains(c)) {
            QApplication::beep();
            ShowInformation(QStringLiteral("Valid password characters are A-Z, 0-9 and spaces"));
            NewPassword->clear();
            NewPassword->setFocus();
            // The click that moved the focus away must not act on the
            // emptied box.
            exitRejected_ = true;
            QTimer::singleShot(0, this, [this] { exitRejected_ = false; });
            return;
        }
    }
}

bool TGetPassword::checkoldpassword() const
{
    return OldPassword->isHidden() || OldPassword->text() == main_->UserPassword;
}

bool TGetPassword::reportOldPassword()
{
    if (checkoldpassword())
        return true;
    ShowInformation(OldPassword->text().isEmpty() ? QStringLiteral("Previous password is required")
                                                  : QStringLiteral("Previous password is incorrect"));
    return false;
}

void TGetPassword::OkButtonClick()
{
    if (exitRejected_)
        return;
    if (NewPassword->text().isEmpty()) {
        ClearButtonClick();
        return;
    }
    const QString old = main_->UserPassword;
    if (!reportOldPassword())
        return;
    if (ProcessPassword(old, AsStored(NewPassword->text())))
        accept();
}

void TGetPassword::ClearButtonClick()
{
    if (exitRejected_)
        return;
    if (!reportOldPassword())
        return;
    if (ProcessPassword(main_->UserPassword, QString()))
        accept();
}

void TGetPassword::setBusy(bool busy)
{
    OKButton->setEnabled(!busy);
    CancelButton->setEnabled(!busy);
    ClearButton->setEnabled(!busy);
    Panel1->setVisible(!busy);
}

bool TGetPassword::ProcessPassword(const QString &oldPassword, const QString &newPassword)
{
    setBusy(true);
    Gauge1->setRange(0, CountEntryFiles());
    if (newPassword == oldPassword) {
        // Only QY.INI is written again.
        main_->UserPassword = newPassword;
        main_->SavePreferences();
        main_->LoadPreferences();
        return true;
    }

    Gauge1->setValue(0);
    Gauge1->show();
    QString error;
    const PasswordChangeResult result = ChangeEntryPassword(
        oldPassword, newPassword,
        [this](int done, int) {
            Gauge1->setValue(done);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        },
        &error);
    Gauge1->hide();

    switch (result) {
    case PasswordChangeResult::Changed:
        main_->UserPassword = newPassword;
        main_->SavePreferences();
        main_->LoadPreferences();
        if (main_->UserPassword.isEmpty())
            ShowInformation(QStringLiteral("Password cleared. No password now required."));
        else
            ShowInformation(QStringLiteral("Be sure to write down your new password: ") + main_->UserPassword);
        return true;
    case PasswordChangeResult::NotChanged:
    case PasswordChangeResult::Interrupted:
        ShowError(QStringLiteral("The password was not changed, because %1. Every entry and QY.INI "
                                 "keep the previous password.")
                      .arg(error));
        setBusy(false);
        Gauge1->setValue(0);
        return false;
    case PasswordChangeResult::Pending:
        break;
    }
    // The diary is between two passwords on disk; only a fresh start sets it
    // right, so nothing may be read or saved before that.
    ShowError(QStringLiteral("The password change stopped, because %1, and could not be undone now. "
                             "Quillary! closes; when it starts again it finishes or undoes the change, "
                             "so that every entry has one password.")
                  .arg(error));
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(1); });
    return true;
}
