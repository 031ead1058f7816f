#pragma once

// Small fixtures shared by the tests: a program folder of its own for each
// case, and a message handler that answers and records every message.

#include "app/Messages.h"
#include "app/ProgramFolder.h"

#include <QApplication>
#include <QByteArray>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <QFile>
#include <QList>
#include <QPair>
#include <QString>
#include <QTemporaryDir>

// A fresh, empty program folder that the program uses until the fixture ends.
class TempProgramFolder
{
public:
    TempProgramFolder() { SetProgramFolder(dir_.path()); }
    ~TempProgramFolder() { SetProgramFolder(QString()); }
    TempProgramFolder(const TempProgramFolder &) = delete;
    TempProgramFolder &operator=(const TempProgramFolder &) = delete;

    QString path() const { return dir_.path() + QLatin1Char('/'); }
    QString file(const QString &relative) const { return path() + relative; }

    QByteArray read(const QString &relative) const
    {
        QFile f(file(relative));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    bool write(const QString &relative, const QByteArray &bytes) const
    {
        QFile f(file(relative));
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    }

private:
    QTemporaryDir dir_;
};

// Records every message; confirmations take the queued answers in turn
// (No when the queue is empty).
class MessageRecorder
{
public:
    MessageRecorder()
    {
        previous_ = SetMessageHandler([this](MessageKind kind, const QString &text) {
            messages.append({kind, text});
            if (kind != MessageKind::Confirmation)
                return true;
            return answers.isEmpty() ? false : answers.takeFirst();
        });
    }
    ~MessageRecorder() { SetMessageHandler(previous_); }
    MessageRecorder(const MessageRecorder &) = delete;
    MessageRecorder &operator=(const MessageRecorder &) = delete;

    QStringList texts() const
    {
        QStringList out;
        for (const auto &m : messages)
            out << m.second;
        return out;
    }
    QString last() const { return messages.isEmpty() ? QString() : messages.last().second; }

    QList<QPair<MessageKind, QString>> messages;
    QList<bool> answers;

private:
    MessageHandler previous_;
};

// Runs act on the next modal dialog of type T once it is showing (a timer
// looks every few milliseconds, for five seconds at most).  Use it before
// the call that opens the dialog.
template <typename T>
void WhenModal(std::function<void(T *)> act)
{
    auto *timer = new QTimer;
    auto *clock = new QElapsedTimer;
    clock->start();
    QObject::connect(timer, &QTimer::timeout, [timer, clock, act] {
        T *dialog = qobject_cast<T *>(QApplication::activeModalWidget());
        if (!dialog && clock->elapsed() < 5000)
            return;
        timer->stop();
        timer->deleteLater();
        delete clock;
        if (dialog)
            act(dialog);
    });
    timer->start(5);
}
