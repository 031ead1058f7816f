#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// "Find text from any entry": asks for the text that Find Any Entry
// Containing looks for.  A new dialog for each use, so the box starts empty.
class TLookForAll : public QDialog
{
    Q_OBJECT
public:
    explicit TLookForAll(QWidget *parent = nullptr);

    QLabel *Label1 = nullptr;
    QLineEdit *LookForText = nullptr;
    QPushButton *BitBtn1 = nullptr; // OK
    QPushButton *BitBtn2 = nullptr; // Cancel
};
