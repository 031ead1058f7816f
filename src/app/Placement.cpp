#include "app/Placement.h"

#include "app/IniFile.h"

#include <QGuiApplication>
#include <QPointer>
#include <QRect>
#include <QScreen>
#include <QWidget>

namespace {
QSize pinnedSize;
int pinnedDpi = 0;
QPointer<QWidget> mainWindow;
} // namespace

QSize ScreenSize()
{
    if (pinnedSize.isValid())
        return pinnedSize;
    if (QScreen *screen = QGuiApplication::primaryScreen())
        return screen->geometry().size();
    return QSize(1024, 768);
}

int ScreenDpi()
{
    if (pinnedSize.isValid())
        return pinnedDpi;
    if (QScreen *screen = QGuiApplication::primaryScreen())
        return qRound(screen->logicalDotsPerInch());
    return 96;
}

void SetScreenFacts(const QSize &size, int dpi)
{
    pinnedSize = size;
    pinnedDpi = dpi;
}

QWidget *MainWindow()
{
    return mainWindow.data();
}

void SetMainWindow(QWidget *window)
{
    mainWindow = window;
}

void CentreOnScreen(QWidget *window)
{
    const QSize screen = ScreenSize();
    window->move((screen.width() - window->width()) / 2, (screen.height() - window->height()) / 2);
}

void PlaceDialog(QWidget *window)
{
    if (!window)
        return;
    const QWidget *main = MainWindow();
    const bool isMain = QString::fromLatin1(window->metaObject()->className()).toUpper()
        == QStringLiteral("TMAINSCREEN");
    if (isMain || !main || main->isMaximized()) {
        CentreOnScreen(window);
        return;
    }
    const QRect m = main->geometry();
    window->move(m.left() + (m.width() - window->width()) / 2,
                 m.top() + (m.height() - window->height()) / 2);
}

QString PlacementSection(const QWidget *window)
{
    QString section = QString::fromLatin1(window->metaObject()->className())
        + QStringLiteral("_Placement");
    const int dpi = ScreenDpi();
    if (dpi > 96)
        section += QString::number(dpi);
    return section;
}

void RestoreFormPlacement(QWidget *window, const IniFile &ini)
{
    const QString section = PlacementSection(window);
    int left = ini.ReadInteger(section, QStringLiteral("Left"), 0);
    int top = ini.ReadInteger(section, QStringLiteral("Top"), 0);
    int right = ini.ReadInteger(section, QStringLiteral("Right"), 0);
    int bottom = ini.ReadInteger(section, QStringLiteral("Bottom"), 0);
    const bool maximized = ini.ReadBool(section, QStringLiteral("Maximized"), window->isMaximized());

    if (maximized) {
        window->setWindowState(window->windowState() | Qt::WindowMaximized);
        return;
    }
    if (bottom == 0) {
        PlaceDialog(window);
        left = window->x();
        top = window->y();
        right = left + window->width();
        bottom = top + window->height();
    }
    const QSize screen = ScreenSize();
    if (right > screen.width()) {
        left -= right - screen.width();
        right = screen.width();
    }
    if (left < 0) {
        right += -left + 1;
        left = 1;
    }
    if (bottom > screen.height()) {
        top -= bottom - screen.height();
        bottom = screen.height();
    }
    if (top < 0) {
        bottom += -top + 1;
        top = 1;
    }
    window->setGeometry(left, top, right - left, bottom - top);
}

bool SaveFormPlacement(const QWidget *window, IniFile &ini)
{
    const QString section = PlacementSection(window);
    // The normal (restored) rectangle, also while the window is maximised.
    const QRect normal = window->isMaximized() || window->isMinimized() ? window->normalGeometry()
                                                                        : window->geometry();
    return ini.WriteInteger(section, QStringLiteral("Left"), normal.left())
        && ini.WriteInteger(section, QStringLiteral("Top"), normal.top())
        && ini.WriteInteger(section, QStringLiteral("Right"), normal.left() + normal.width())
        && ini.WriteInteger(section, QStringLiteral("Bottom"), normal.top() + normal.height())
        && ini.WriteBool(section, QStringLiteral("Maximized"), window->isMaximized());
}
