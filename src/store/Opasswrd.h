#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

// [Security] Password of QY.INI, decoded; empty when no password is set.
QString ReadStoredPassword();

// The opening-password check of start-up: true when no password is stored or
// the user typed it; false when the user gave up with Close.
bool AskOpeningPassword();

// "Quillary! - Password Required"
class TGetOpeningPassword : public QDialog
{
    Q_OBJECT
public:
    explicit TGetOpeningPassword(QWidget *parent = nullptr);

    QString ExpectedPassword;

    QLineEdit *Pass = nullptr;
    QPushButton *OKButton = nullptr;
    QPushButton *CloseButton = nullptr;

private:
    void OKButtonClick();
};
