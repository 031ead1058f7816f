#pragma once

#include "app/Preferences.h"

#include <QDate>
#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <functional>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QToolButton;
class QWidget;
class QFontDialog;
class QKeyEvent;
class TGraphicPanel;
class TRingPanel;
class TWPRuler;
class TWPToolBar;
class TWPRichText;
class IniFile;

// The diary page: the entry of the current date under its heading, inside
// the ring-binder panel, with the navigation and entry buttons below and the
// main menu above.
class TMainScreen : public QMainWindow, public Preferences
{
    Q_OBJECT
public:
    explicit TMainScreen(QWidget *parent = nullptr);
    ~TMainScreen() override;

    // The creation steps: settings, placement, widening of the short date
    // format, the old table, the Entries folder, today's entry and the
    // opening message.  False when the program must end here (the old table
    // was not converted); nothing has been written then.
    bool FormCreate();

    // --- current date and entry-changed state
    QDate CurrentDate;
    bool EntryExists = false;
    bool LoadingEntry = false;
    bool FirstActivation = true;
    bool EntryChanged() const; // Save and Cancel are showing

    // The settings kept on the main window (UserPassword, the DefaultFont
    // fields, ShowOpeningScreen, the icon palette's fields) come from
    // Preferences.

    // --- controls
    TWPToolBar *WPToolBar2 = nullptr;
    QToolButton *Deletebutton = nullptr;
    TWPRuler *WPRuler1 = nullptr;
    TRingPanel *RingPanel1 = nullptr;
    QLabel *DateLabel = nullptr;
    QFrame *TopLine = nullptr;
    QFrame *Bottomline = nullptr;
    TWPRichText *WPRichText1 = nullptr;
    TWPRichText *WPRichTextAllPurpose = nullptr;
    QWidget *ActionPanel = nullptr;
    QPushButton *SaveButton = nullptr;
    QPushButton *CancelButton = nullptr;
    QPushButton *FirstButton = nullptr;
    QPushButton *PriorButton = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QPushButton *Nextbutton = nullptr;
    QPushButton *LastButton = nullptr;
    QPushButton *CalendarButton = nullptr;
    QPushButton *Hidebutton = nullptr;
    QPushButton *ExplorerButton1 = nullptr;

    // --- menu items, by their names
    QAction *MenuItem(const QString &name) const;

    // --- commands
    bool SaveButtonClick();   // false when the entry could not be written
    void CancelButtonClick();
    void DeletebuttonClick();
    void DeleteEntry1Click() { DeletebuttonClick(); }
    void SaveChanges1Click() { SaveButtonClick(); }
    void NextButtonClick();
    void PriorButtonClick();
    void BitBtn1Click();
    void FirstButtonClick();
    void LastButtonClick();
    void HideButtonClick();
    void exit1Click();
    // Moves to a date in the one pattern every date change follows: save,
    // set the date, look for its entry, load it.  False (and the date stays)
    // when the pending change could not be saved.
    bool GoToDate(const QDate &date);

    void SetDateCaption();
    void SetButtons();
    void FormResize();
    void FormActivate();

    QDate FirstDiaryRecord() const;
    QDate LastDiaryRecord() const;

    // --- calendar: the date selector and its marked days
    void CalendarButtonClick();
    // Fills the list with the days of the month that have an entry file, as
    // "1" to "31" ascending.
    void MarkEntryDays(QStringList &list, int year, int month);
    // The test for one day's entry file; empty means EntryFileExists.
    std::function<bool(const QDate &)> EntryDayExists;

    // --- entry files
    QString GetCurrentDateFileName() const;
    void FindDateRecord();
    void LoadRichText();
    bool SaveRichText(QString *error);
    void SetDefaultFontNow();

    // --- settings
    void LoadPreferences();
    bool SavePreferences();

    // --- password (MainScreenPassword.cpp)
    // File menu "Select or Change Password": the warning, the Save command,
    // then the password dialog.
    void mnuSecurityClick();

    // The show state the program was started with: minimised or not.
    bool StartMinimized = false;
    // The help file of the program ("QUILLRY.HLP" in the program folder).
    QString HelpFile;

    // --- search across entries
    QString SearchText;
    bool SearchFound = false;
    void mnuFindentrycontainingClick();
    void mnuFindNextBigClick();

    // --- export
    void Export1Click();

    // --- editing commands, tool bar and ruler (MainScreenEditing.cpp)
    QToolButton *DocPageBreakButton = nullptr;
    QToolButton *ParagraphSetupButton = nullptr;
    QToolButton *DocWordWrapButton = nullptr;
    QToolButton *Printbutton = nullptr;
    QToolButton *PasteGraphicButton = nullptr;
    QToolButton *SigilboxButton = nullptr;
    QPushButton *ShowHideIconTool = nullptr;
    QFontDialog *DefaultFontdialog = nullptr;
    void Cut1Click();
    void Copy1Click();
    void Paste1Click();
    void DeleteSelection1Click();
    void SelectAll1Click();
    void EnterDate1Click();
    void InsertTodaystime1Click();
    void mnuFindClick();
    void Replace1Click();
    void mnuWrapTexttofitScreenClick();
    void DocWordWrapButtonClick();
    void DocPageBreakButtonClick();
    void mnuDefaultFontClick();
    // True when the key was Delete, Tab or exactly Ctrl+V (the entry is then
    // marked changed); the editor handles the key afterwards all the same.
    bool WPRichText1KeyDown(QKeyEvent *event);
    void WPRichText1BeforePasteEvent();
    void WPRuler1MouseDown();
    void WPToolBar2IconSelection(int kind, const QString &text, int group, int number, int index);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void buildMenu();
    void buildToolBar(QWidget *parent); // MainScreenEditing.cpp
    void ToggleWordWrap();             // MainScreenEditing.cpp
    void MarkChanged();                // MainScreenEditing.cpp
    void buildPage();
    void buildActionPanel();
    void WPRichText1Change();
    bool FormCloseQuery();
    bool FormKeyDown(QKeyEvent *event);
    bool HandleAppMessage(QObject *watched, QKeyEvent *event);
    void setEntryChanged(bool changed);
    void reportSaveFailure(const QString &error);

    void scanForSearchText(const QDate &first, const QDate &last);
    void finishSearch(const QDate &remembered);

    bool hookInstalled_ = false;
    bool closing_ = false;
};
