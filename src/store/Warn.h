#pragma once

#include <QDialog>

class QPushButton;

// "Warning!": asks for backups before the password change rewrites the
// diary.  Ok accepts, Cancel rejects.
class TWarningScreen : public QDialog
{
    Q_OBJECT
public:
    explicit TWarningScreen(QWidget *parent = nullptr);

    QPushButton *OkButton = nullptr;
    QPushButton *CancelButton = nullptr;
};
