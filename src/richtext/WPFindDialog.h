#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class TWPRichText;

// The editor's find dialog, or with replace its replace dialog: non-modal,
// working on one editor, kept and shown again.
class TWPFindDialog : public QDialog
{
    Q_OBJECT
public:
    TWPFindDialog(TWPRichText *editor, bool replace);

    QLineEdit *FindWhat = nullptr;
    QLineEdit *ReplaceWith = nullptr; // replace dialog only
    QCheckBox *MatchCase = nullptr;
    QPushButton *FindNextButton = nullptr;
    QPushButton *ReplaceButton = nullptr;    // replace dialog only
    QPushButton *ReplaceAllButton = nullptr; // replace dialog only

    // Selects the next occurrence after the caret; false at the end.
    bool FindNext();
    // Replaces the selection when it is the text looked for, then finds on.
    bool Replace();
    // Replaces every occurrence; the number replaced.
    int ReplaceAll();

private:
    bool Matches(const QString &selected) const;

    TWPRichText *editor_;
};
