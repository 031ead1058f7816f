#include "output/EntrySearch.h"

#include "richtext/RtfPlainText.h"
#include "richtext/RtfReader.h"
#include "store/EntryFiles.h"

#include <QStringDecoder>

QString EntryPlainText(const QByteArray &bytes)
{
    if (RtfReader::LooksLikeRtf(bytes))
        return RtfPlainText(bytes);
    // What the editor shows of a file that is no RTF: its text.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return QStringDecoder("windows-1252").decode(bytes);
}

bool TextContains(const QString &text, const QString &needle)
{
    if (needle.isEmpty())
        return false;
    // The editor's find takes a no-break space for a blank.
    QString haystack = text;
    haystack.replace(QChar::Nbsp, QLatin1Char(' '));
    QString wanted = needle;
    wanted.replace(QChar::Nbsp, QLatin1Char(' '));
    return haystack.contains(wanted, Qt::CaseInsensitive);
}

SearchResult SearchEntries(const QDate &first, const QDate &last, const QString &text,
                           const QString &password,
                           const std::function<void(const QDate &)> &progress)
{
    SearchResult result;
    for (QDate date = first; date.isValid() && date <= last; date = date.addDays(1)) {
        if (!EntryFileExists(date))
            continue;
        if (progress)
            progress(date);
        QByteArray plain;
        QString error;
        if (!ReadEntryFile(EntryFileName(date), password, &plain, &error)) {
            result.unreadable << date;
            result.errors << error;
            continue;
        }
        if (TextContains(EntryPlainText(plain), text)) {
            result.found = true;
            result.date = date;
            break;
        }
    }
    return result;
}
