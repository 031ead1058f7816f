#pragma once

// The main window on a diary of its own: a fresh program folder whose QY.INI
// turns the opening message off, recorded messages, English date formats,
// a 1280 by 1024 screen at 96 dpi, and the clock pinned to the day started on.

#include "TestSupport.h"

#include "app/Clock.h"
#include "app/DateFormats.h"
#include "app/IniFile.h"
#include "app/MainScreen.h"
#include "app/Placement.h"
#include "richtext/RtfReader.h"
#include "richtext/WPRichText.h"
#include "store/EntryFiles.h"
#include "store/PasswordCodec.h"

#include <QLocale>
#include <QTest>
#include <QTextDocument>
#include <memory>

class MainScreenFixture
{
public:
    MainScreenFixture()
    {
        SetDateFormats(DateFormatSettings::FromLocale(QLocale(QLocale::English, QLocale::UnitedStates)));
        SetScreenFacts(QSize(1280, 1024), 96);
        IniFile(folder.file(QStringLiteral("QY.INI")))
            .WriteBool(QStringLiteral("Opening Screen"), QStringLiteral("show"), false);
    }
    ~MainScreenFixture()
    {
        screen.reset();
        UnpinClock();
        SetScreenFacts(QSize(), 0);
    }
    MainScreenFixture(const MainScreenFixture &) = delete;
    MainScreenFixture &operator=(const MainScreenFixture &) = delete;

    // Starts the main window as the program does; false when its creation
    // ended the program.
    bool start(const QDate &today, const QTime &time = QTime(10, 0))
    {
        PinClock(QDateTime(today, time));
        screen = std::make_unique<TMainScreen>();
        if (!screen->FormCreate())
            return false;
        screen->show();
        if (!QTest::qWaitForWindowExposed(screen.get()))
            return false;
        screen->FormActivate();
        return !screen->FirstActivation;
    }

    // A stored password, in QY.INI's form.
    void storePassword(const QString &password)
    {
        IniFile(folder.file(QStringLiteral("QY.INI")))
            .WriteString(QStringLiteral("Security"), QStringLiteral("Password"), EncryptString(password));
    }

    static QByteArray rtfOf(const QString &text)
    {
        return QByteArray("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ") + text.toLatin1()
            + "\\par}";
    }
    static QString textOf(const QByteArray &rtf)
    {
        QTextDocument doc;
        RtfReader reader;
        if (!reader.Read(rtf, &doc))
            return QStringLiteral("<unreadable>");
        return doc.toPlainText();
    }

    bool writeEntry(const QDate &date, const QString &text, const QString &password = QString())
    {
        CreateFolderPath(EntriesFolder());
        return WriteEntryFile(EntriesFolder() + DateToDigits(date) + QStringLiteral(".QYE"),
                              rtfOf(text), password, nullptr);
    }
    QString entryText(const QDate &date, const QString &password = QString()) const
    {
        QByteArray plain;
        if (!ReadEntryFile(EntryFileName(date), password, &plain, nullptr))
            return QStringLiteral("<none>");
        return textOf(plain);
    }

    void type(const QString &text)
    {
        screen->WPRichText1->setFocus();
        QTest::keyClicks(screen->WPRichText1, text);
    }
    QString shownText() const { return screen->WPRichText1->toPlainText(); }

    TempProgramFolder folder;
    MessageRecorder messages;
    std::unique_ptr<TMainScreen> screen;
};
