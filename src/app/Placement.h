#pragma once

#include <QSize>
#include <QString>

class QWidget;
class IniFile;

// The screen the program's windows are placed on: its size and logical
// resolution.  Tests pin both.
QSize ScreenSize();
int ScreenDpi();
void SetScreenFacts(const QSize &size, int dpi); // an empty size unpins

// The main window, once it exists; dialogs are placed over it.
QWidget *MainWindow();
void SetMainWindow(QWidget *window);

// Centres a window on the screen (the few windows that do not follow the
// main window).
void CentreOnScreen(QWidget *window);

// Places a dialog before it is shown: centred on the screen when it is the
// main window or the main window is maximised, otherwise centred over the
// main window (even when that puts it partly off screen).
void PlaceDialog(QWidget *window);

// "<class name>_Placement", with the resolution appended above 96 dpi.
QString PlacementSection(const QWidget *window);

// The window's stored position, kept on the screen, or its maximised state.
void RestoreFormPlacement(QWidget *window, const IniFile &ini);
// Stores the window's normal position and whether it is maximised; false
// when QY.INI cannot be written (ini.ErrorString()).
bool SaveFormPlacement(const QWidget *window, IniFile &ini);
