#pragma once

#include <QTextCharFormat>
#include <QWidget>

#include <functional>

class QComboBox;
class QFontComboBox;
class QHBoxLayout;
class QToolButton;
class TWPRichText;

// The editor's tool bar: font name and size, text and background colour,
// the state icons, the edit icons, and after them the program's own
// controls.  It acts on its editor itself; the spell-check icon is only
// reported, through IconSelection.
class TWPToolBar : public QWidget
{
    Q_OBJECT
public:
    explicit TWPToolBar(QWidget *parent = nullptr);

    void SetEditor(TWPRichText *editor);
    TWPRichText *Editor() const { return editor_; }

    // Lays a control out after the tool bar's own groups (at most 100).
    bool AddExtraControl(QWidget *control);

    QFontComboBox *FontNameList = nullptr;
    QComboBox *FontSizeList = nullptr;
    QComboBox *TextColorList = nullptr;
    QComboBox *BackgroundColorList = nullptr;
    // By their hints: "Normal", "Bold", ... "Spell Check".
    QToolButton *Icon(const QString &hint) const;

    // The codes the tool bar reports for its spell-check icon.
    static constexpr int SpellCheckKind = 6;
    static constexpr int SpellCheckGroup = 768;
    static constexpr int SpellCheckNumber = 8;

    QSize minimumSizeHint() const override;

signals:
    void IconSelection(int kind, const QString &text, int group, int number, int index);

private:
    QToolButton *AddIcon(QHBoxLayout *row, const QString &hint, const QIcon &icon,
                         bool checkable);
    void UpdateFromEditor();
    void Apply(const std::function<void(QTextCharFormat &)> &change);

    TWPRichText *editor_ = nullptr;
    QHBoxLayout *extraRow_ = nullptr;
    int extraCount_ = 0;
    bool updating_ = false;
    QList<QToolButton *> icons_;
};
