#include "richtext/WPFindDialog.h"

#include "app/Messages.h"
#include "richtext/WPRichText.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

TWPFindDialog::TWPFindDialog(TWPRichText *editor, bool replace)
    : QDialog(editor->window()), editor_(editor)
{
    setWindowTitle(replace ? QStringLiteral("Replace") : QStringLiteral("Find"));
    setModal(false);
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    FindWhat = new QLineEdit(this);
    form->addRow(QStringLiteral("Fi&nd what:"), FindWhat);
    if (replace) {
        ReplaceWith = new QLineEdit(this);
        form->addRow(QStringLiteral("Re&place with:"), ReplaceWith);
    }
    layout->addLayout(form);
    MatchCase = new QCheckBox(QStringLiteral("Match &case"), this);
    layout->addWidget(MatchCase);

    auto *buttons = new QDialogButtonBox(this);
    FindNextButton = buttons->addButton(QStringLiteral("&Find Next"), QDialogButtonBox::ActionRole);
    FindNextButton->setDefault(true);
    connect(FindNextButton, &QPushButton::clicked, this, [this] {
        if (!FindNext())
            ShowInformation(QStringLiteral("The text was not found."));
    });
    if (replace) {
        ReplaceButton = buttons->addButton(QStringLiteral("&Replace"), QDialogButtonBox::ActionRole);
        connect(ReplaceButton, &QPushButton::clicked, this, &TWPFindDialog::Replace);
        ReplaceAllButton =
            buttons->addButton(QStringLiteral("Replace &All"), QDialogButtonBox::ActionRole);
        connect(ReplaceAllButton, &QPushButton::clicked, this, &TWPFindDialog::ReplaceAll);
    }
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);
    layout->addWidget(buttons);
}

bool TWPFindDialog::Matches(const QString &selected) const
{
    return !FindWhat->text().isEmpty()
        && selected.compare(FindWhat->text(),
                            MatchCase->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive) == 0;
}

bool TWPFindDialog::FindNext()
{
    if (FindWhat->text().isEmpty())
        return false;
    const QTextCursor found = editor_->document()->find(
        FindWhat->text(), editor_->textCursor(),
        MatchCase->isChecked() ? QTextDocument::FindCaseSensitively : QTextDocument::FindFlags());
    if (found.isNull())
        return false;
    editor_->setTextCursor(found);
    return true;
}

bool TWPFindDialog::Replace()
{
    if (editor_->isReadOnly() || !ReplaceWith)
        return false;
    if (Matches(editor_->textCursor().selectedText()))
        editor_->textCursor().insertText(ReplaceWith->text());
    return FindNext();
}

int TWPFindDialog::ReplaceAll()
{
    if (editor_->isReadOnly() || !ReplaceWith || FindWhat->text().isEmpty())
        return 0;
    QTextCursor cursor(editor_->document());
    cursor.beginEditBlock();
    int count = 0;
    QTextCursor at(editor_->document());
    for (;;) {
        at = editor_->document()->find(FindWhat->text(), at,
                                       MatchCase->isChecked() ? QTextDocument::FindCaseSensitively
                                                              : QTextDocument::FindFlags());
        if (at.isNull())
            break;
        at.insertText(ReplaceWith->text()); // keeps the attributes of the text replaced
        ++count;
    }
    cursor.endEditBlock();
    return count;
}
