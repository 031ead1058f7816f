#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QWidget;
class TMainScreen;

// "Set Up Password": sets, changes or clears the diary's password and
// rewrites every entry file under the new one.
class TGetPassword : public QDialog
{
    Q_OBJECT
public:
    explicit TGetPassword(TMainScreen *mainScreen, QWidget *parent = nullptr);

    QWidget *Panel1 = nullptr;
    QLineEdit *OldPassword = nullptr;
    QLabel *NoneLabel = nullptr;
    QLineEdit *NewPassword = nullptr;
    QLabel *ProcessingLabel = nullptr;
    QProgressBar *Gauge1 = nullptr;
    QPushButton *OKButton = nullptr;
    QPushButton *CancelButton = nullptr;
    QPushButton *ClearButton = nullptr;

    // Whether the old password was given correctly (or none is set).
    bool checkoldpassword() const;
    // Moves every entry file and QY.INI from old to new.  False when it
    // failed and everything was left under the old password.
    bool ProcessPassword(const QString &oldPassword, const QString &newPassword);

    void OkButtonClick();
    void ClearButtonClick();
    void NewPasswordExit();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    bool reportOldPassword();
    void setBusy(bool busy);

    TMainScreen *main_;
    bool exitRejected_ = false;
};
