#pragma once

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>

// Acts on the next modal dialog once its own event loop runs: the action is
// posted again until a modal widget is active, so a test never depends on
// timing.  A dialog the action leaves open (a failed check returns early) is
// cancelled, so a failing test ends instead of waiting.
inline void WhenModal(std::function<void(QWidget *)> action)
{
    QTimer::singleShot(0, qApp, [action] {
        QPointer<QWidget> modal = QApplication::activeModalWidget();
        if (!modal) {
            WhenModal(action);
            return;
        }
        action(modal);
        if (auto *dialog = qobject_cast<QDialog *>(modal.data()); dialog && dialog->isVisible())
            dialog->reject();
    });
}
