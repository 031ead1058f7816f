#pragma once

#include <QString>
#include <functional>

// Every message the program gives the user goes through here, so that tests
// can answer and record them.
enum class MessageKind {
    Information,  // caption "Information", one OK button
    Confirmation, // caption "Confirm", Yes and No
    Plain,        // the simple message box: program's caption, one OK button
    Error,        // something failed; caption "Error", one OK button
};

// Returns true for Yes (Confirmation) and for OK (the others).
using MessageHandler = std::function<bool(MessageKind kind, const QString &text)>;

void ShowInformation(const QString &text);
bool AskConfirmation(const QString &text);
void ShowPlainMessage(const QString &text);
void ShowError(const QString &text);

// Installs the handler that shows the messages; returns the previous one.
// Without a handler, messages go to the debug log and confirmations say No.
MessageHandler SetMessageHandler(MessageHandler handler);
