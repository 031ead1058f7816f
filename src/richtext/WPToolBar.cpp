#include "richtext/WPToolBar.h"

#include "richtext/WPRichText.h"

#include <QComboBox>
#include <QFontComboBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QTextBlock>
#include <QTextCursor>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int GroupSpacing = 5;
constexpr int MaxExtraControls = 100;

// Icons drawn here, so the tool bar needs no icon theme.
QIcon Letter(const QString &text, bool bold, bool italic, bool underline, bool strike)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(text.size() > 1 ? 9 : 14);
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strike);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, text);
    return QIcon(pixmap);
}

QIcon Lines(Qt::Alignment alignment)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    for (int i = 0; i < 5; ++i) {
        const int y = 3 + i * 2 + (i > 0 ? i : 0) / 2;
        const int length = (alignment == Qt::AlignJustify || i % 2 == 0) ? 12 : 8;
        int left = 2;
        if (alignment == Qt::AlignRight)
            left = 14 - length;
        else if (alignment == Qt::AlignHCenter)
            left = 8 - length / 2;
        painter.drawLine(left, y, left + length - 1, y);
    }
    return QIcon(pixmap);
}

QIcon Drawn(const QString &name)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    if (name == QLatin1String("copy")) {
        painter.setBrush(Qt::white);
        painter.drawRect(2, 2, 8, 10);
        painter.drawRect(6, 5, 8, 10);
    } else if (name == QLatin1String("cut")) {
        painter.drawLine(5, 2, 10, 10);
        painter.drawLine(11, 2, 6, 10);
        painter.drawEllipse(3, 10, 4, 4);
        painter.drawEllipse(9, 10, 4, 4);
    } else if (name == QLatin1String("paste")) {
        painter.setBrush(QColor(200, 160, 90));
        painter.drawRect(3, 3, 10, 12);
        painter.setBrush(Qt::white);
        painter.drawRect(6, 1, 4, 3);
        painter.drawRect(7, 7, 7, 8);
    } else if (name == QLatin1String("all")) {
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.drawRect(1, 1, 13, 13);
        painter.setPen(Qt::black);
        for (int y = 4; y <= 11; y += 3)
            painter.drawLine(4, y, 11, y);
    } else if (name == QLatin1String("find") || name == QLatin1String("replace")) {
        painter.drawEllipse(2, 2, 8, 8);
        painter.setPen(QPen(Qt::black, 2));
        painter.drawLine(9, 9, 14, 14);
        if (name == QLatin1String("replace")) {
            painter.setPen(QPen(Qt::darkRed, 1));
            painter.drawLine(10, 2, 15, 2);
            painter.drawLine(15, 2, 13, 0);
        }
    } else if (name == QLatin1String("spell")) {
        QFont font;
        font.setPixelSize(8);
        font.setBold(true);
        painter.setFont(font);
        painter.drawText(QRect(0, 0, 16, 9), Qt::AlignCenter, QStringLiteral("ABC"));
        painter.setPen(QPen(Qt::darkGreen, 2));
        painter.drawLine(4, 12, 7, 15);
        painter.drawLine(7, 15, 14, 8);
    }
    return QIcon(pixmap);
}

QIcon Swatch(const QColor &color)
{
    QPixmap pixmap(14, 14);
    pixmap.fill(color);
    QPainter(&pixmap).drawRect(0, 0, 13, 13);
    return QIcon(pixmap);
}

void FillColors(QComboBox *list)
{
    static const char *const names[16] = {"Black", "Maroon", "Green", "Olive", "Navy", "Purple",
                                          "Teal", "Gray", "Silver", "Red", "Lime", "Yellow",
                                          "Blue", "Fuchsia", "Aqua", "White"};
    for (int i = 0; i < 16; ++i)
        list->addItem(Swatch(TWPRichText::ColorOf(i)), QString::fromLatin1(names[i]));
}

} // namespace

TWPToolBar::TWPToolBar(QWidget *parent) : QWidget(parent)
{
    setFixedHeight(52);
    auto *rows = new QVBoxLayout(this);
    // The window may be narrower than all the tool bar's controls: the
    // last ones are then cut off rather than the window kept wide.
    rows->setSizeConstraint(QLayout::SetNoConstraint);
    rows->setContentsMargins(4, 2, 4, 2);
    rows->setSpacing(2);
    auto *top = new QHBoxLayout;
    top->setSpacing(1);
    extraRow_ = new QHBoxLayout;
    extraRow_->setSpacing(0);
    rows->addLayout(top);
    rows->addLayout(extraRow_);

    FontNameList = new QFontComboBox(this);
    FontNameList->setToolTip(QStringLiteral("Font"));
    FontNameList->setFixedWidth(140);
    FontNameList->setFixedHeight(22);
    top->addWidget(FontNameList);
    FontSizeList = new QComboBox(this);
    FontSizeList->setEditable(true);
    FontSizeList->setToolTip(QStringLiteral("Font Size"));
    for (int size : {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72})
        FontSizeList->addItem(QString::number(size));
    FontSizeList->setFixedSize(50, 22);
    top->addWidget(FontSizeList);
    TextColorList = new QComboBox(this);
    TextColorList->setToolTip(QStringLiteral("Text Color"));
    FillColors(TextColorList);
    TextColorList->setFixedSize(84, 22);
    top->addWidget(TextColorList);
    BackgroundColorList = new QComboBox(this);
    BackgroundColorList->setToolTip(QStringLiteral("Background Color"));
    BackgroundColorList->addItem(QStringLiteral("None"));
    FillColors(BackgroundColorList);
    BackgroundColorList->setFixedSize(84, 22);
    top->addWidget(BackgroundColorList);
    top->addSpacing(GroupSpacing);

    AddIcon(top, QStringLiteral("Normal"), Letter(QStringLiteral("N"), false, false, false, false), false);
    AddIcon(top, QStringLiteral("Bold"), Letter(QStringLiteral("B"), true, false, false, false), true);
    AddIcon(top, QStringLiteral("Italic"), Letter(QStringLiteral("I"), false, true, false, false), true);
    AddIcon(top, QStringLiteral("Underline"), Letter(QStringLiteral("U"), false, false, true, false), true);
    AddIcon(top, QStringLiteral("StrikeOut"), Letter(QStringLiteral("S"), false, false, false, true), true);
    top->addSpacing(GroupSpacing);
    AddIcon(top, QStringLiteral("Left Justified"), Lines(Qt::AlignLeft), true);
    AddIcon(top, QStringLiteral("Right Justified"), Lines(Qt::AlignRight), true);
    AddIcon(top, QStringLiteral("Justified"), Lines(Qt::AlignJustify), true);
    AddIcon(top, QStringLiteral("Centered"), Lines(Qt::AlignHCenter), true);
    // The edit icons open the second row, before the program's own
    // controls, so the whole tool bar fits the page's designed width.
    AddIcon(extraRow_, QStringLiteral("Copy"), Drawn(QStringLiteral("copy")), false);
    AddIcon(extraRow_, QStringLiteral("Cut"), Drawn(QStringLiteral("cut")), false);
    AddIcon(extraRow_, QStringLiteral("Paste"), Drawn(QStringLiteral("paste")), false);
    AddIcon(extraRow_, QStringLiteral("Select All"), Drawn(QStringLiteral("all")), false);
    AddIcon(extraRow_, QStringLiteral("Find"), Drawn(QStringLiteral("find")), false);
    AddIcon(extraRow_, QStringLiteral("Find and Replace"), Drawn(QStringLiteral("replace")), false);
    AddIcon(extraRow_, QStringLiteral("Spell Check"), Drawn(QStringLiteral("spell")), false);
    extraRow_->addSpacing(GroupSpacing);
    top->addStretch(1);
    extraRow_->addStretch(1);

    connect(FontNameList, &QFontComboBox::currentFontChanged, this, [this](const QFont &font) {
        Apply([&](QTextCharFormat &f) { f.setFontFamilies(QStringList{font.family()}); });
    });
    connect(FontSizeList, &QComboBox::currentTextChanged, this, [this](const QString &text) {
        bool ok = false;
        const int size = text.toInt(&ok);
        if (ok && size >= 1 && size <= 1638)
            Apply([&](QTextCharFormat &f) { f.setFontPointSize(size); });
    });
    connect(TextColorList, &QComboBox::activated, this, [this](int index) {
        Apply([&](QTextCharFormat &f) { f.setForeground(TWPRichText::ColorOf(index)); });
    });
    connect(BackgroundColorList, &QComboBox::activated, this, [this](int index) {
        Apply([&](QTextCharFormat &f) {
            if (index == 0)
                f.setBackground(QBrush());
            else
                f.setBackground(TWPRichText::ColorOf(index - 1));
        });
    });
}

QToolButton *TWPToolBar::AddIcon(QHBoxLayout *row, const QString &hint, const QIcon &icon,
                                 bool checkable)
{
    auto *button = new QToolButton(this);
    button->setIcon(icon);
    button->setToolTip(hint);
    button->setObjectName(hint);
    button->setAutoRaise(true);
    button->setCheckable(checkable);
    button->setFixedSize(22, 22);
    button->setFocusPolicy(Qt::NoFocus);
    row->addWidget(button);
    icons_.append(button);
    const int index = int(icons_.size() - 1);
    connect(button, &QToolButton::clicked, this, [this, hint, index, checkable](bool checked) {
        if (updating_ || !editor_)
            return;
        TWPRichText *e = editor_;
        if (hint == QLatin1String("Spell Check")) {
            emit IconSelection(SpellCheckKind, hint, SpellCheckGroup, SpellCheckNumber, index);
            return;
        }
        if (hint == QLatin1String("Normal")) {
            Apply([](QTextCharFormat &f) {
                f.setFontWeight(QFont::Normal);
                f.setFontItalic(false);
                f.setFontUnderline(false);
                f.setFontStrikeOut(false);
            });
        } else if (hint == QLatin1String("Bold")) {
            Apply([&](QTextCharFormat &f) { f.setFontWeight(checked ? QFont::Bold : QFont::Normal); });
        } else if (hint == QLatin1String("Italic")) {
            Apply([&](QTextCharFormat &f) { f.setFontItalic(checked); });
        } else if (hint == QLatin1String("Underline")) {
            Apply([&](QTextCharFormat &f) { f.setFontUnderline(checked); });
        } else if (hint == QLatin1String("StrikeOut")) {
            Apply([&](QTextCharFormat &f) { f.setFontStrikeOut(checked); });
        } else if (hint.endsWith(QLatin1String("Justified")) || hint == QLatin1String("Centered")) {
            const Qt::Alignment alignment = hint == QLatin1String("Left Justified") ? Qt::AlignLeft
                : hint == QLatin1String("Right Justified")                        ? Qt::AlignRight
                : hint == QLatin1String("Justified")                              ? Qt::AlignJustify
                                                                                  : Qt::AlignHCenter;
            if (!e->isReadOnly())
                e->setAlignment(alignment);
        } else if (hint == QLatin1String("Copy")) {
            e->copy();
        } else if (hint == QLatin1String("Cut")) {
            e->cut();
        } else if (hint == QLatin1String("Paste")) {
            e->paste();
        } else if (hint == QLatin1String("Select All")) {
            e->selectAll();
        } else if (hint == QLatin1String("Find")) {
            e->ShowFindDialog();
        } else if (hint == QLatin1String("Find and Replace")) {
            e->ShowReplaceDialog();
        }
        emit IconSelection(checkable ? 1 : 6, hint, 0, index, index);
        UpdateFromEditor();
    });
    return button;
}

QToolButton *TWPToolBar::Icon(const QString &hint) const
{
    for (QToolButton *button : icons_) {
        if (button->toolTip() == hint)
            return button;
    }
    return nullptr;
}

void TWPToolBar::SetEditor(TWPRichText *editor)
{
    if (editor_)
        disconnect(editor_, nullptr, this, nullptr);
    editor_ = editor;
    if (!editor_)
        return;
    connect(editor_, &QTextEdit::currentCharFormatChanged, this, &TWPToolBar::UpdateFromEditor);
    connect(editor_, &QTextEdit::cursorPositionChanged, this, &TWPToolBar::UpdateFromEditor);
    UpdateFromEditor();
}

bool TWPToolBar::AddExtraControl(QWidget *control)
{
    if (extraCount_ >= MaxExtraControls)
        return false;
    control->setParent(this);
    extraRow_->insertWidget(extraRow_->count() - 1, control);
    control->show();
    ++extraCount_;
    return true;
}

void TWPToolBar::Apply(const std::function<void(QTextCharFormat &)> &change)
{
    if (updating_ || !editor_ || editor_->isReadOnly())
        return;
    QTextCharFormat format;
    change(format);
    editor_->mergeCurrentCharFormat(format);
    editor_->setFocus();
}

void TWPToolBar::UpdateFromEditor()
{
    if (!editor_)
        return;
    updating_ = true;
    const QTextCharFormat format = editor_->currentCharFormat();
    const QString family = format.fontFamilies().toStringList().value(0);
    if (!family.isEmpty())
        FontNameList->setCurrentFont(QFont(family));
    const int size = format.hasProperty(QTextFormat::FontPointSize) ? qRound(format.fontPointSize())
                                                                    : editor_->font().pointSize();
    FontSizeList->setCurrentText(QString::number(size));
    TextColorList->setCurrentIndex(format.foreground().style() == Qt::NoBrush
                                       ? 0 : TWPRichText::ColorIndexOf(format.foreground().color()));
    BackgroundColorList->setCurrentIndex(
        format.background().style() == Qt::NoBrush
            ? 0 : 1 + TWPRichText::ColorIndexOf(format.background().color()));
    Icon(QStringLiteral("Bold"))->setChecked(format.fontWeight() >= QFont::DemiBold);
    Icon(QStringLiteral("Italic"))->setChecked(format.fontItalic());
    Icon(QStringLiteral("Underline"))->setChecked(format.fontUnderline());
    Icon(QStringLiteral("StrikeOut"))->setChecked(format.fontStrikeOut());
    const Qt::Alignment alignment = editor_->alignment() & Qt::AlignHorizontal_Mask;
    Icon(QStringLiteral("Left Justified"))->setChecked(alignment == Qt::AlignLeft
                                                        || alignment == Qt::AlignLeading);
    Icon(QStringLiteral("Right Justified"))->setChecked(alignment == Qt::AlignRight
                                                         || alignment == Qt::AlignTrailing);
    Icon(QStringLiteral("Justified"))->setChecked(alignment == Qt::AlignJustify);
    Icon(QStringLiteral("Centered"))->setChecked(alignment == Qt::AlignHCenter);
    updating_ = false;
}

QSize TWPToolBar::minimumSizeHint() const
{
    return QSize(0, 52);
}
