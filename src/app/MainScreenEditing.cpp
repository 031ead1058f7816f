// The main window's editing commands, its editor's tool bar and ruler, and
// the key rules of the editor.

#include "app/MainScreen.h"

#include "app/Clock.h"
#include "app/DateFormats.h"
#include "controls/Graphp.h"
#include "richtext/WPRichText.h"
#include "richtext/WPRuler.h"
#include "richtext/WPToolBar.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontComboBox>
#include <QFontDialog>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

#include <functional>

namespace {

// Sees the editor's key presses before the editor does.
class EditorKeys : public QObject
{
public:
    EditorKeys(TMainScreen *screen, QObject *parent) : QObject(parent), screen_(screen) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress)
            screen_->WPRichText1KeyDown(static_cast<QKeyEvent *>(event));
        return false;
    }

private:
    TMainScreen *screen_;
};

// A 16 by 16 glyph drawn on a clear ground.
QIcon Glyph(const std::function<void(QPainter &)> &draw)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    draw(painter);
    painter.end();
    return QIcon(pixmap);
}

QIcon CharacterGlyph(QChar c, const QFont &font)
{
    return Glyph([&](QPainter &painter) {
        painter.setFont(font);
        painter.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QString(c));
    });
}

QIcon PageBreakGlyph()
{
    return Glyph([](QPainter &painter) {
        painter.drawRect(3, 0, 10, 5);
        painter.drawRect(3, 10, 10, 5);
        painter.setPen(QPen(Qt::blue, 1, Qt::DashLine));
        painter.drawLine(0, 7, 15, 7);
    });
}

QIcon ParagraphGlyph()
{
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(14);
    font.setBold(true);
    return CharacterGlyph(QChar(0x00B6), font);
}

QIcon WrapGlyph()
{
    return Glyph([](QPainter &painter) {
        painter.drawLine(1, 3, 13, 3);
        painter.drawLine(13, 3, 13, 9);
        painter.drawLine(13, 9, 5, 9);
        painter.drawLine(5, 9, 7, 7);
        painter.drawLine(5, 9, 7, 11);
        painter.drawLine(1, 13, 9, 13);
    });
}

QIcon SymbolGlyph()
{
    QFont font;
    font.setPixelSize(13);
    return CharacterGlyph(QChar(0x03A9), font);
}

} // namespace

void TMainScreen::buildToolBar(QWidget *parent)
{
    WPToolBar2 = new TWPToolBar(parent);
    WPToolBar2->setObjectName(QStringLiteral("WPToolBar2"));
    WPToolBar2->SetEditor(WPRichText1);
    // Hints of the two lists as this program names them.
    WPToolBar2->FontSizeList->setToolTip(QStringLiteral("Font Size"));
    WPToolBar2->FontNameList->setToolTip(QStringLiteral("Font"));
    // The spell check dialog is not part of this build yet.
    WPToolBar2->Icon(QStringLiteral("Spell Check"))->setEnabled(false);
    connect(WPToolBar2, &TWPToolBar::IconSelection, this, &TMainScreen::WPToolBar2IconSelection);

    WPRuler1 = new TWPRuler(parent);
    WPRuler1->setObjectName(QStringLiteral("WPRuler1"));
    WPRuler1->SetEditor(WPRichText1);
    connect(WPRuler1, &TWPRuler::MousePressed, this, &TMainScreen::WPRuler1MouseDown);

    auto tool = [this](QToolButton *&button, const char *name, const QIcon &icon,
                       const QString &hint) {
        button = new QToolButton(WPToolBar2);
        button->setObjectName(QString::fromLatin1(name));
        button->setIcon(icon);
        button->setToolTip(hint);
        button->setFixedSize(20, 20);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        return button;
    };
    Deletebutton = tool(Deletebutton, "Deletebutton", style()->standardIcon(QStyle::SP_TrashIcon),
                        QStringLiteral("Delete current entry"));
    connect(Deletebutton, &QToolButton::clicked, this, &TMainScreen::DeletebuttonClick);
    tool(DocPageBreakButton, "DocPageBreakButton", PageBreakGlyph(),
         QStringLiteral("Insert Page Break"));
    connect(DocPageBreakButton, &QToolButton::clicked, this, &TMainScreen::DocPageBreakButtonClick);
    tool(ParagraphSetupButton, "ParagraphSetupButton", ParagraphGlyph(),
         QStringLiteral("Paragraph properties"));
    tool(DocWordWrapButton, "DocWordWrapButton", WrapGlyph(), QString());
    connect(DocWordWrapButton, &QToolButton::clicked, this, &TMainScreen::DocWordWrapButtonClick);
    tool(Printbutton, "Printbutton", style()->standardIcon(QStyle::SP_DriveFDIcon),
         QStringLiteral("Print diary entries"));
    tool(PasteGraphicButton, "PasteGraphicButton",
         style()->standardIcon(QStyle::SP_FileDialogInfoView),
         QStringLiteral("Paste an image into the text"));
    tool(SigilboxButton, "SigilboxButton", SymbolGlyph(),
         QStringLiteral("Paste a symbol into the text"));
    ShowHideIconTool = new QPushButton(QStringLiteral("Show Icon Tool"), WPToolBar2);
    ShowHideIconTool->setObjectName(QStringLiteral("ShowHideIconTool"));
    ShowHideIconTool->setToolTip(QStringLiteral("Show/hide the icon palette"));
    ShowHideIconTool->setFixedSize(96, 20);
    ShowHideIconTool->setFocusPolicy(Qt::NoFocus);
    // Their dialogs and the palette are not part of this build yet.
    for (QWidget *w : std::initializer_list<QWidget *>{ParagraphSetupButton, Printbutton,
                                                       PasteGraphicButton, SigilboxButton,
                                                       ShowHideIconTool})
        w->setEnabled(false);

    // The eight controls in their order, a narrow blank panel between them.
    const QList<QWidget *> extras = {Deletebutton,  DocPageBreakButton, ParagraphSetupButton,
                                     DocWordWrapButton, Printbutton, PasteGraphicButton,
                                     SigilboxButton, ShowHideIconTool};
    for (int i = 0; i < extras.size(); ++i) {
        if (i > 0) {
            auto *spacer = new TGraphicPanel(WPToolBar2);
            spacer->setObjectName(QStringLiteral("Spacer%1").arg(i));
            spacer->setFixedSize(3, 20);
            spacer->SetBevelOuter(TGraphicPanel::Bevel::None);
            WPToolBar2->AddExtraControl(spacer);
        }
        WPToolBar2->AddExtraControl(extras[i]);
    }

    QAction *wrap = MenuItem(QStringLiteral("mnuWrapTexttofitScreen"));
    // The menu toggles its own check mark before it reports the click; the
    // command does the toggling, so the menu's is taken back first.
    disconnect(wrap, &QAction::triggered, this, nullptr);
    connect(wrap, &QAction::triggered, this, [this, wrap] {
        wrap->setChecked(!wrap->isChecked());
        mnuWrapTexttofitScreenClick();
    });
    DocWordWrapButton->setToolTip(wrap->isChecked() ? QStringLiteral("Toggle word wrap off")
                                                    : QStringLiteral("Toggle word wrap on"));
    WPRichText1->SetWordWrap(wrap->isChecked());

    connect(WPRichText1, &TWPRichText::BeforePaste, this, &TMainScreen::WPRichText1BeforePasteEvent);
    WPRichText1->installEventFilter(new EditorKeys(this, WPRichText1));
    WPRichText1->setFrameShape(QFrame::NoFrame);
    WPRichText1->viewport()->setCursor(Qt::IBeamCursor);
    WPRichText1->setAcceptDrops(false); // icons are dropped by the palette, not the editor
}

void TMainScreen::MarkChanged()
{
    // A read-only page (an entry that could not be read) ignores this in
    // WPRichText1Change.
    WPRichText1->RaiseChange();
}

void TMainScreen::Cut1Click()
{
    if (!WPRichText1->HasSelection())
        return;
    WPRichText1->cut();
    MarkChanged();
}

void TMainScreen::Copy1Click()
{
    if (!WPRichText1->HasSelection())
        return;
    WPRichText1->copy();
    MarkChanged(); // as the older program did, although the text is the same
}

void TMainScreen::Paste1Click()
{
    WPRichText1->paste();
    MarkChanged();
}

void TMainScreen::DeleteSelection1Click()
{
    if (!WPRichText1->HasSelection())
        return;
    WPRichText1->DeleteSelection();
    MarkChanged();
}

void TMainScreen::SelectAll1Click()
{
    WPRichText1->selectAll();
}

void TMainScreen::EnterDate1Click()
{
    WPRichText1->InsertText(FormatDate(DateFormats().ShortDateFormat, Today())
                            + QLatin1Char(' '));
    WPRichText1->viewport()->update();
    QCoreApplication::processEvents();
}

void TMainScreen::InsertTodaystime1Click()
{
    WPRichText1->InsertText(FormatDateTime(QStringLiteral("t"), Now()) + QLatin1Char(' '));
    WPRichText1->viewport()->update();
    QCoreApplication::processEvents();
}

void TMainScreen::mnuFindClick()
{
    WPRichText1->ShowFindDialog();
}

void TMainScreen::Replace1Click()
{
    WPRichText1->ShowReplaceDialog();
    MarkChanged(); // at once, whether anything is replaced or not
}

void TMainScreen::ToggleWordWrap()
{
    QAction *wrap = MenuItem(QStringLiteral("mnuWrapTexttofitScreen"));
    wrap->setChecked(!wrap->isChecked());
    WPRichText1->SetWordWrap(wrap->isChecked());
    DocWordWrapButton->setToolTip(wrap->isChecked() ? QStringLiteral("Toggle word wrap off")
                                                    : QStringLiteral("Toggle word wrap on"));
}

void TMainScreen::mnuWrapTexttofitScreenClick()
{
    ToggleWordWrap();
}

void TMainScreen::DocWordWrapButtonClick()
{
    ToggleWordWrap();
}

void TMainScreen::DocPageBreakButtonClick()
{
    if (WPRichText1->isReadOnly())
        return;
    WPRichText1->InsertParagraph(true);
    MarkChanged();
    WPRichText1->viewport()->update();
}

void TMainScreen::mnuDefaultFontClick()
{
    LoadPreferences();
    if (!DefaultFontdialog) {
        DefaultFontdialog = new QFontDialog(this);
        DefaultFontdialog->setObjectName(QStringLiteral("DefaultFontdialog"));
    }
    QFont font(DefaultFontName, DefaultFontSize);
    font.setBold(DefaultFontBold);
    font.setItalic(DefaultFontItalic);
    font.setUnderline(DefaultFontUnderline);
    DefaultFontdialog->setCurrentFont(font);
    if (DefaultFontdialog->exec() != QDialog::Accepted)
        return;
    const QFont chosen = DefaultFontdialog->selectedFont();
    DefaultFontName = chosen.family();
    DefaultFontSize = chosen.pointSize() > 0 ? chosen.pointSize() : DefaultFontSize;
    DefaultFontBold = chosen.bold();
    DefaultFontItalic = chosen.italic();
    DefaultFontUnderline = chosen.underline();
    SavePreferences();
    // The page shown keeps its look; the default applies to the next empty page.
}

bool TMainScreen::WPRichText1KeyDown(QKeyEvent *event)
{
    const bool marks = event->key() == Qt::Key_Delete || event->key() == Qt::Key_Tab
        || event->key() == Qt::Key_Backtab
        || (event->modifiers() == Qt::ControlModifier && event->key() == Qt::Key_V);
    if (marks)
        MarkChanged();
    return marks;
}

void TMainScreen::WPRichText1BeforePasteEvent()
{
    MarkChanged();
}

void TMainScreen::WPRuler1MouseDown()
{
    MarkChanged();
}

void TMainScreen::WPToolBar2IconSelection(int kind, const QString &, int group, int number, int)
{
    if (kind == TWPToolBar::SpellCheckKind && group == TWPToolBar::SpellCheckGroup
        && number == TWPToolBar::SpellCheckNumber) {
        // The spell check dialog (SpellCheck1Click) is called here once it
        // is part of the program; until then its icon is disabled.
    }
}
