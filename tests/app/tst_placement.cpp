#include "TestSupport.h"

#include "app/IniFile.h"
#include "app/Placement.h"

#include <QTest>
#include <QWidget>

// A window whose class name gives the placement section, as the main
// window's does.
class TPlacedWindow : public QWidget
{
    Q_OBJECT
};

class TestPlacement : public QObject
{
    Q_OBJECT
private slots:
    void init() { SetScreenFacts(QSize(1024, 768), 96); }
    void cleanup() { SetScreenFacts(QSize(), 0); }

    void keptOnScreen_data()
    {
        QTest::addColumn<QRect>("stored"); // left, top, right, bottom in the file
        QTest::addColumn<QRect>("placed");
        // QRect(x, y, w, h) below; stored rects are written as left/top/right/bottom.
        QTest::newRow("inside") << QRect(100, 50, 400, 300) << QRect(100, 50, 400, 300);
        QTest::newRow("negative left") << QRect(-50, 40, 400, 300) << QRect(1, 40, 400, 300);
        QTest::newRow("past the right") << QRect(800, 40, 400, 300) << QRect(624, 40, 400, 300);
        QTest::newRow("wider than the screen")
            << QRect(100, 40, 1100, 300) << QRect(1, 40, 1100, 300);
        QTest::newRow("negative top") << QRect(10, -5, 400, 300) << QRect(10, 1, 400, 300);
        QTest::newRow("below the bottom") << QRect(10, 600, 400, 300) << QRect(10, 468, 400, 300);
    }
    void keptOnScreen()
    {
        QFETCH(QRect, stored);
        QFETCH(QRect, placed);
        TempProgramFolder folder;
        IniFile ini(folder.file(QStringLiteral("QY.INI")));
        const QString s = QStringLiteral("TPlacedWindow_Placement");
        QVERIFY(ini.WriteInteger(s, QStringLiteral("Left"), stored.x()));
        QVERIFY(ini.WriteInteger(s, QStringLiteral("Top"), stored.y()));
        QVERIFY(ini.WriteInteger(s, QStringLiteral("Right"), stored.x() + stored.width()));
        QVERIFY(ini.WriteInteger(s, QStringLiteral("Bottom"), stored.y() + stored.height()));
        TPlacedWindow window;
        RestoreFormPlacement(&window, IniFile(ini.FileName()));
        QCOMPARE(window.geometry(), placed);
    }

    void nothingStoredCentres()
    {
        TempProgramFolder folder;
        TPlacedWindow window;
        window.resize(400, 300);
        SetMainWindow(nullptr);
        RestoreFormPlacement(&window, IniFile(folder.file(QStringLiteral("QY.INI"))));
        QCOMPARE(window.geometry(), QRect(312, 234, 400, 300));
    }

    void roundTripAndResolutionSections()
    {
        TempProgramFolder folder;
        IniFile ini(folder.file(QStringLiteral("QY.INI")));
        TPlacedWindow window;
        window.setGeometry(120, 80, 500, 350);
        QVERIFY(SaveFormPlacement(&window, ini));
        const QByteArray text = folder.read(QStringLiteral("QY.INI"));
        QVERIFY(text.contains("[TPlacedWindow_Placement]\r\nLeft=120\r\nTop=80\r\nRight=620\r\n"
                              "Bottom=430\r\nMaximized=0\r\n"));

        TPlacedWindow again;
        RestoreFormPlacement(&again, IniFile(ini.FileName()));
        QCOMPARE(again.geometry(), QRect(120, 80, 500, 350));

        // At 120 dots per inch the position stored at 96 is not used.
        SetScreenFacts(QSize(1024, 768), 120);
        QCOMPARE(PlacementSection(&window), QStringLiteral("TPlacedWindow_Placement120"));
        TPlacedWindow high;
        high.resize(400, 300);
        RestoreFormPlacement(&high, IniFile(ini.FileName()));
        QCOMPARE(high.geometry(), QRect(312, 234, 400, 300));
    }

    void maximisedStateComesBack()
    {
        TempProgramFolder folder;
        IniFile ini(folder.file(QStringLiteral("QY.INI")));
        QVERIFY(ini.WriteBool(QStringLiteral("TPlacedWindow_Placement"), QStringLiteral("Maximized"), true));
        QVERIFY(ini.WriteInteger(QStringLiteral("TPlacedWindow_Placement"), QStringLiteral("Bottom"), 500));
        TPlacedWindow window;
        RestoreFormPlacement(&window, IniFile(ini.FileName()));
        QVERIFY(window.windowState() & Qt::WindowMaximized);
    }

    void dialogsCentreOverTheMainWindow()
    {
        QWidget main;
        main.setGeometry(100, 100, 600, 400);
        SetMainWindow(&main);
        QWidget dialog;
        dialog.resize(200, 100);
        PlaceDialog(&dialog);
        QCOMPARE(dialog.pos(), QPoint(300, 250));
        // Partly off screen is allowed.
        main.setGeometry(-300, 100, 200, 400);
        PlaceDialog(&dialog);
        QCOMPARE(dialog.pos(), QPoint(-300, 250));
        SetMainWindow(nullptr);
    }
};

QTEST_MAIN(TestPlacement)
#include "tst_placement.moc"
