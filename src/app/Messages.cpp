#include "app/Messages.h"

#include <QDebug>

namespace {
MessageHandler &handler()
{
    static MessageHandler current;
    return current;
}

bool deliver(MessageKind kind, const QString &text)
{
    // The boxes hold at most 255 characters; an error is shown whole, so it
    // can name every file it concerns.
    const QString shown = kind == MessageKind::Error ? text : text.left(255);
    if (handler())
        return handler()(kind, shown);
    qWarning().noquote() << shown;
    return false;
}
} // namespace

void ShowInformation(const QString &text)
{
    deliver(MessageKind::Information, text);
}

bool AskConfirmation(const QString &text)
{
    return deliver(MessageKind::Confirmation, text);
}

void ShowPlainMessage(const QString &text)
{
    deliver(MessageKind::Plain, text);
}

void ShowError(const QString &text)
{
    deliver(MessageKind::Error, text);
}

MessageHandler SetMessageHandler(MessageHandler h)
{
    MessageHandler previous = std::move(handler());
    handler() = std::move(h);
    return previous;
}
