#pragma once

#include <QDialog>

class QCheckBox;
class QPushButton;

// The message shown at start-up until the user ticks "Do not show this
// message again": the diary is no substitute for backups.
class TShowOpeningMessage : public QDialog
{
    Q_OBJECT
public:
    explicit TShowOpeningMessage(QWidget *parent = nullptr);

    QCheckBox *DontShow = nullptr;
    QPushButton *OKButton = nullptr;
};
