#include "app/MessageBoxes.h"

#include "app/Messages.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

namespace {
bool showBox(MessageKind kind, const QString &text)
{
    QMessageBox box;
    // Texts of the older program break lines with a carriage return alone.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    box.setText(shown);
    switch (kind) {
    case MessageKind::Information:
        box.setWindowTitle(QStringLiteral("Information"));
        box.setIcon(QMessageBox::Information);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageKind::Confirmation:
        box.setWindowTitle(QStringLiteral("Confirm"));
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    case MessageKind::Plain:
        box.setWindowTitle(QStringLiteral("Quillary"));
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageKind::Error:
        box.setWindowTitle(QStringLiteral("Error"));
        box.setIcon(QMessageBox::Critical);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    // Application-modal: every window of the program waits for the answer,
    // and the window that was active gets the focus back afterwards.
    box.setWindowModality(Qt::ApplicationModal);
    QPointer<QWidget> active = QApplication::activeWindow();
    const int result = box.exec();
    if (active)
        active->activateWindow();
    return result == QMessageBox::Yes || result == QMessageBox::Ok;
}
} // namespace

void InstallMessageBoxes()
{
    SetMessageHandler(showBox);
}
