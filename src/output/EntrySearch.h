#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

#include "richtext/RtfPlainText.h" // EntryPlainText
#include <functional>

// Looking through the entries of a range of dates for a text, the way the
// editor's find looks: letters compared without regard to case, on the
// entry's text (never on its RTF markup), across formatting runs.

// True when the text holds the needle as the editor's find sees it.
bool TextContains(const QString &text, const QString &needle);

struct SearchResult
{
    bool found = false;
    QDate date;                    // the entry found
    QList<QDate> unreadable;       // entries that could not be read (skipped)
    QStringList errors;            // one text for each of them
};

// Scans day by day from first to last (both included), reading only the
// entries that exist, and stops at the first that holds the text.
// progress runs for each entry before it is read.
SearchResult SearchEntries(const QDate &first, const QDate &last, const QString &text,
                           const QString &password,
                           const std::function<void(const QDate &)> &progress = {});
