#include "app/MainScreen.h"

#include "app/Clock.h"
#include "app/DateFormats.h"
#include "app/IniFile.h"
#include "app/Messages.h"
#include "app/OpeningMessage.h"
#include "app/Placement.h"
#include "app/Preferences.h"
#include "app/ProgramFolder.h"
#include "controls/Ring.h"
#include "richtext/WPRichText.h"
#include "richtext/WPRuler.h"
#include "richtext/WPToolBar.h"
#include "store/Convert.h"
#include "store/EntryFiles.h"

#include <QAction>
#include <QCheckBox>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
// The designed client area and position of the main window.
constexpr int kDesignLeft = 156;
constexpr int kDesignTop = 106;
constexpr int kDesignWidth = 622;
constexpr int kDesignHeight = 402;
} // namespace

TMainScreen::TMainScreen(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MainScreen"));
    setWindowTitle(QStringLiteral("Quillary"));
    setWindowIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    QFont formFont(QStringLiteral("Arial"));
    formFont.setPointSize(8);
    setFont(formFont);

    buildMenu();

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    buildPage();
    buildToolBar(central);
    layout->addWidget(WPToolBar2);
    layout->addWidget(WPRuler1);
    layout->addWidget(RingPanel1, 1);

    buildActionPanel();
    layout->addWidget(ActionPanel);

    setCentralWidget(central);

    // Designed size and position; the stored placement replaces both.
    move(kDesignLeft, kDesignTop);
    resize(kDesignWidth, kDesignHeight + menuBar()->sizeHint().height());

    // Key preview: the window sees key presses before the focused control.
    qApp->installEventFilter(this);
    SetMainWindow(this);
}

TMainScreen::~TMainScreen()
{
    qApp->removeEventFilter(this);
}

void TMainScreen::buildPage()
{
    RingPanel1 = new TRingPanel(this);
    RingPanel1->setObjectName(QStringLiteral("RingPanel1"));
    RingPanel1->SetSmallRing(true);
    RingPanel1->SetDoubleRing(true);
    RingPanel1->LeftEdge = 31;
    RingPanel1->RightEdge = 15;
    RingPanel1->installEventFilter(this);

    DateLabel = new QLabel(RingPanel1);
    DateLabel->setObjectName(QStringLiteral("DateLabel"));
    QFont headingFont(QStringLiteral("Times New Roman"));
    headingFont.setPointSize(12);
    headingFont.setBold(true);
    headingFont.setItalic(true);
    DateLabel->setFont(headingFont);
    QPalette headingPalette = DateLabel->palette();
    headingPalette.setColor(QPalette::WindowText, QColor(128, 0, 128));
    DateLabel->setPalette(headingPalette);
    DateLabel->setAttribute(Qt::WA_TranslucentBackground);

    auto makeLine = [this](const char *name) {
        auto *line = new QFrame(RingPanel1);
        line->setObjectName(QString::fromLatin1(name));
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Plain);
        line->setLineWidth(1);
        line->setFixedHeight(1);
        return line;
    };
    TopLine = makeLine("TopLine");
    Bottomline = makeLine("Bottomline");

    WPRichText1 = new TWPRichText(RingPanel1);
    WPRichText1->setObjectName(QStringLiteral("WPRichText1"));
    WPRichText1->setFrameShape(QFrame::NoFrame);
    connect(WPRichText1, &TWPRichText::Changed, this, &TMainScreen::WPRichText1Change);

    WPRichTextAllPurpose = new TWPRichText(RingPanel1);
    WPRichTextAllPurpose->setObjectName(QStringLiteral("WPRichTextAllPurpose"));
    WPRichTextAllPurpose->hide();
}

void TMainScreen::buildActionPanel()
{
    ActionPanel = new QWidget(this);
    ActionPanel->setObjectName(QStringLiteral("ActionPanel"));
    ActionPanel->setFixedHeight(39);

    auto add = [this](QPushButton *&button, const char *name, const QString &caption, int left,
                      int width, QStyle::StandardPixmap glyph, bool hasGlyph, auto handler) {
        button = new QPushButton(caption, ActionPanel);
        button->setObjectName(QString::fromLatin1(name));
        button->setGeometry(left, 4, width, 29);
        if (hasGlyph)
            button->setIcon(style()->standardIcon(glyph));
        button->setFocusPolicy(Qt::TabFocus);
        connect(button, &QPushButton::clicked, this, handler);
    };
    add(SaveButton, "SaveButton", QStringLiteral("&Save"), 9, 65, QStyle::SP_DialogSaveButton, true,
        &TMainScreen::SaveChanges1Click);
    add(CancelButton, "CancelButton", QStringLiteral("&Cancel"), 78, 66,
        QStyle::SP_DialogCancelButton, true, &TMainScreen::CancelButtonClick);
    add(FirstButton, "FirstButton", QStringLiteral("Fi&rst"), 155, 48, QStyle::SP_MediaSkipBackward,
        true, &TMainScreen::FirstButtonClick);
    add(PriorButton, "PriorButton", QStringLiteral("&Prev"), 208, 48, QStyle::SP_MediaSeekBackward,
        true, &TMainScreen::PriorButtonClick);
    add(BitBtn1, "BitBtn1", QStringLiteral("Today"), 261, 48, QStyle::SP_CustomBase, false,
        &TMainScreen::BitBtn1Click);
    add(Nextbutton, "Nextbutton", QStringLiteral("&Next"), 314, 48, QStyle::SP_MediaSeekForward, true,
        &TMainScreen::NextButtonClick);
    add(LastButton, "LastButton", QStringLiteral("&Last"), 367, 48, QStyle::SP_MediaSkipForward, true,
        &TMainScreen::LastButtonClick);
    CalendarButton = new QPushButton(ActionPanel);
    CalendarButton->setObjectName(QStringLiteral("CalendarButton"));
    CalendarButton->setGeometry(418, 4, 29, 29);
    CalendarButton->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    CalendarButton->setToolTip(QStringLiteral("Select a date"));
    CalendarButton->setFocusPolicy(Qt::TabFocus);
    connect(CalendarButton, &QPushButton::clicked, this, &TMainScreen::CalendarButtonClick);
    add(Hidebutton, "Hidebutton", QStringLiteral("H&ide"), 474, 58, QStyle::SP_TitleBarMinButton,
        true, &TMainScreen::HideButtonClick);
    add(ExplorerButton1, "ExplorerButton1", QStringLiteral("E&xit"), 537, 63,
        QStyle::SP_DialogCloseButton, true, &TMainScreen::exit1Click);
    // Glyphs at the right of the caption.
    for (QPushButton *b : {Nextbutton, LastButton, Hidebutton, ExplorerButton1})
        b->setLayoutDirection(Qt::RightToLeft);

    SaveButton->hide();
    CancelButton->hide();
}

void TMainScreen::buildMenu()
{
    struct Item
    {
        const char *name;
        const char *caption; // "-" for a separator
        QKeySequence shortcut;
        void (TMainScreen::*handler)();
    };
    using S = QKeySequence;
    auto menu = [this](const QString &title, std::initializer_list<Item> items) {
        QMenu *m = menuBar()->addMenu(title);
        for (const Item &item : items) {
            QAction *action = nullptr;
            if (QByteArray(item.caption) == "-") {
                action = m->addSeparator();
            } else {
                action = m->addAction(QString::fromLatin1(item.caption));
                action->setShortcut(item.shortcut);
                if (item.handler)
                    connect(action, &QAction::triggered, this, item.handler);
                else
                    action->setEnabled(false); // its command is not part of this build yet
            }
            action->setObjectName(QString::fromLatin1(item.name));
        }
        return m;
    };

    menu(QStringLiteral("&File"), {
        {"mnuSecurity", "Select or Change Password", S(), &TMainScreen::mnuSecurityClick},
        {"N1", "-", S(), nullptr},
        {"PrintSetup1", "Print Setup", S(), nullptr},
        {"PrintNow", "Print", S(Qt::CTRL | Qt::Key_P), nullptr},
        {"N5", "-", S(), nullptr},
        {"Export1", "Export to RTF (Rich Text Format)", S(), &TMainScreen::Export1Click},
        {"N6", "-", S(), nullptr},
        {"exit1", "E&xit", S(), &TMainScreen::exit1Click},
    });
    menu(QStringLiteral("&Edit"), {
        {"Cut1", "Cut", S(Qt::CTRL | Qt::Key_X), &TMainScreen::Cut1Click},
        {"Copy1", "Copy", S(Qt::CTRL | Qt::Key_C), &TMainScreen::Copy1Click},
        {"Paste1", "Paste", S(Qt::CTRL | Qt::Key_V), &TMainScreen::Paste1Click},
        {"DeleteSelection1", "Delete Selection", S(), &TMainScreen::DeleteSelection1Click},
        {"N8", "-", S(), nullptr},
        {"SelectAll1", "Select All", S(Qt::CTRL | Qt::Key_A), &TMainScreen::SelectAll1Click},
        {"SaveChanges1", "Save Changes", S(Qt::CTRL | Qt::Key_S), &TMainScreen::SaveChanges1Click},
        {"DeleteEntry1", "Delete Entry", S(Qt::ALT | Qt::Key_D), &TMainScreen::DeleteEntry1Click},
        {"N9", "-", S(), nullptr},
        {"SpellCheck1", "&Spell Check", S(Qt::ALT | Qt::Key_S), nullptr},
        {"EnterDate1", "Insert Today's &Date ", S(Qt::CTRL | Qt::Key_D), &TMainScreen::EnterDate1Click},
        {"InsertTodaystime1", "Insert Current Time", S(Qt::CTRL | Qt::Key_T), &TMainScreen::InsertTodaystime1Click},
        {"N4", "-", S(), nullptr},
        {"mnuWrapTexttofitScreen", "&Wrap Text to fit Screen", S(), &TMainScreen::mnuWrapTexttofitScreenClick},
        {"N7", "-", S(), nullptr},
        {"mnuDefaultFont", "Change Default Font", S(), &TMainScreen::mnuDefaultFontClick},
    });
    menu(QStringLiteral("F&ind"), {
        {"mnuFind", "&Find in Current Entry", S(Qt::CTRL | Qt::Key_F), &TMainScreen::mnuFindClick},
        {"Replace1", "&Replace in Current Entry", S(Qt::CTRL | Qt::Key_R), &TMainScreen::Replace1Click},
        {"N2", "-", S(), nullptr},
        {"mnuFindentrycontaining", "Find Any Entry Containing...", S(Qt::CTRL | Qt::Key_F4),
         &TMainScreen::mnuFindentrycontainingClick},
        {"mnuFindNextBig", "Find Next Entry Containing...", S(Qt::CTRL | Qt::Key_F5),
         &TMainScreen::mnuFindNextBigClick},
    });
    menu(QStringLiteral("&Help"), {
        {"Contents1", "Contents", S(), nullptr},
        {"About1", "About", S(), nullptr},
        {"N3", "-", S(), nullptr},
        {"ConfigurationInformation1", "Configuration Information", S(), nullptr},
        {"TechnicalSupport1", "Technical Support", S(), nullptr},
        {"FrequentlyAskedQuestions1", "Frequently Asked Questions", S(), nullptr},
        {"N10", "-", S(), nullptr},
        {"VisitOurInternetWebsite1", "Visit Our Internet Website", S(), nullptr},
        {"mnuBonusArtwork", "Visit the Bonus Artwork Web Page", S(), nullptr},
    });
    // Find Next is offered once a search has found an entry.
    MenuItem(QStringLiteral("mnuFindNextBig"))->setEnabled(false);
    QAction *wrap = MenuItem(QStringLiteral("mnuWrapTexttofitScreen"));
    wrap->setCheckable(true);
    wrap->setChecked(true);
}

QAction *TMainScreen::MenuItem(const QString &name) const
{
    return findChild<QAction *>(name);
}

bool TMainScreen::FormCreate()
{
    FirstActivation = true;
    LoadingEntry = true;

    LoadPreferences();
    RestoreFormPlacement(this, IniFile(IniFileName()));

    DateFormatSettings formats = DateFormats();
    formats.ShortDateFormat = WidenYearFormat(formats.ShortDateFormat, formats.DateSeparator);
    SetDateFormats(formats);

    const QString folder = ProgramFolder();
    if (!QFileInfo(folder + QStringLiteral("Entries")).isDir()
        && QFileInfo::exists(ResolveProgramPath(QStringLiteral("QUILLRY.DBF")))
        && QFileInfo::exists(ResolveProgramPath(QStringLiteral("QUILLRY.FPT")))) {
        if (!PerformConversion(UserPassword)) {
            ShowInformation(QStringLiteral("Terminating Quillary!"));
            return false;
        }
    }

    CreateFolderPath(folder + QStringLiteral("Entries"));
    // An older version kept each entry's plain text here on its way to the
    // cipher; it must not stay on disk.
    RemoveLeftoverEraseme();

    CurrentDate = Today();
    EntryExists = false;
    FindDateRecord();
    LoadRichText();

    HelpFile = folder + QStringLiteral("QUILLRY.HLP");

    if (ShowOpeningScreen) {
        TShowOpeningMessage message(this);
        message.exec();
        ShowOpeningScreen = !message.DontShow->isChecked();
    }

    LoadingEntry = false;
    return true;
}

void TMainScreen::FormActivate()
{
    if (!FirstActivation)
        return;
    FirstActivation = false;
    SetButtons();
    if (StartMinimized) {
        showMinimized();
    } else {
        if (!isVisible())
            show();
        raise();
        activateWindow();
    }
    SetButtons();
    SavePreferences(); // QY.INI now holds every key
    hookInstalled_ = true;
    WPRichText1->setFocus();
}

void TMainScreen::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (FirstActivation)
        QTimer::singleShot(0, this, &TMainScreen::FormActivate);
}

void TMainScreen::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && FirstActivation)
        FormActivate();
}

void TMainScreen::exit1Click()
{
    if (!SaveButtonClick())
        return;
    close();
}

bool TMainScreen::FormCloseQuery()
{
    // A change that cannot be written keeps the window open: closing would
    // lose it.
    if (!SaveButtonClick())
        return false;
    SavePreferences();
    QCoreApplication::processEvents();
    IniFile ini(IniFileName());
    if (!SaveFormPlacement(this, ini))
        ShowError(ini.ErrorString());
    return true;
}

void TMainScreen::closeEvent(QCloseEvent *event)
{
    if (closing_ || FormCloseQuery()) {
        closing_ = true;
        event->accept();
    } else {
        event->ignore();
    }
}

void TMainScreen::FormResize()
{
    const int left = RingPanel1->LeftEdge + 15;
    const int width = RingPanel1->width() - left - (RingPanel1->RightEdge + 5);
    const int height = RingPanel1->height();
    // Children sit in the panel's client area, inside its border.
    const int inset = RingPanel1->frameWidth();
    DateLabel->setGeometry(left + inset, 8 + inset, width, 20);
    TopLine->setGeometry(left + inset, 28 + inset, width, 1);
    Bottomline->setGeometry(left + inset, height - 20 + inset, width, 1);
    WPRichText1->setGeometry(left + inset, 35 + inset, width, qMax(0, height - 35 - 22));
}

void TMainScreen::SetDateCaption()
{
    DateLabel->setText(FormatDate(QString::fromLatin1(HeadingDatePattern), CurrentDate));
}

void TMainScreen::SetButtons()
{
    // The icon palette's show/hide button is refreshed here once the palette
    // exists; until then there is nothing to update.
}

bool TMainScreen::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == RingPanel1 && event->type() == QEvent::Resize)
        FormResize();
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
        return QMainWindow::eventFilter(watched, event);

    // A key travels from the focused widget up to its parents; act on it
    // once, where it starts.
    auto *widget = qobject_cast<QWidget *>(watched);
    QWidget *first = QApplication::focusWidget() ? QApplication::focusWidget() : this;
    if (!widget || widget != first || widget->window() != this)
        return QMainWindow::eventFilter(watched, event);

    auto *key = static_cast<QKeyEvent *>(event);
    if (hookInstalled_ && HandleAppMessage(watched, key))
        return true;
    if (event->type() == QEvent::KeyPress)
        FormKeyDown(key);
    return QMainWindow::eventFilter(watched, event);
}

bool TMainScreen::HandleAppMessage(QObject *, QKeyEvent *event)
{
    if (QApplication::activeWindow() != this || !WPRichText1->isVisible() || !WPRichText1->hasFocus()
        || !(event->modifiers() & Qt::ControlModifier))
        return false;
    if (event->key() != Qt::Key_S && event->key() != Qt::Key_A)
        return false;
    if (event->type() == QEvent::ShortcutOverride) {
        // Keeps the menu's shortcut from taking the key; the key press that
        // follows runs the command here.
        event->accept();
        return true;
    }
    if (event->key() == Qt::Key_S)
        SaveButtonClick();
    else
        WPRichText1->selectAll();
    return true;
}

bool TMainScreen::FormKeyDown(QKeyEvent *event)
{
    // Exactly Ctrl: Page Down is Next, Page Up is Prev.  The key still
    // reaches the focused control afterwards.
    if (event->modifiers() != Qt::ControlModifier)
        return false;
    if (event->key() == Qt::Key_PageDown)
        NextButtonClick();
    else if (event->key() == Qt::Key_PageUp)
        PriorButtonClick();
    else
        return false;
    return true;
}
