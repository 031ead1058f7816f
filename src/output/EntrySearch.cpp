#include "output/EntrySearch.h"

#include "richtext/RtfPlainText.h"
#include "store/EntryFiles.h"

#include <QStringMatcher>
#include <QtConcurrent/QtConcurrentMap>

namespace {
// The editor's find takes a no-break space for a blank.
QString withBlanks(const QString &text)
{
    if (!text.contains(QChar::Nbsp))
        return text;
    QString out = text;
    return out.replace(QChar::Nbsp, QLatin1Char(' '));
}

bool contains(const QString &text, const QStringMatcher &matcher)
{
    return matcher.indexIn(withBlanks(text)) >= 0;
}
} // namespace

bool TextContains(const QString &text, const QString &needle)
{
    if (needle.isEmpty())
        return false;
    return contains(text, QStringMatcher(withBlanks(needle), Qt::CaseInsensitive));
}

namespace {
struct Probe
{
    QDate date;
    QString fileName;
    bool readable = false;
    bool match = false;
    QString error;
};

void probe(Probe &p, const QStringMatcher &matcher, const QString &password)
{
    QByteArray plain;
    p.readable = ReadEntryFile(p.fileName, password, &plain, &p.error);
    p.match = p.readable && contains(EntryPlainText(plain), matcher);
}
} // namespace

SearchResult SearchEntries(const QDate &first, const QDate &last, const QString &text,
                           const QString &password,
                           const std::function<void(const QDate &)> &progress)
{
    // The entries are read and searched a batch at a time on every core;
    // the results are then taken in date order, so the first entry that
    // holds the text is found, as a scan day by day finds it.
    constexpr int batchSize = 32;
    SearchResult result;
    if (text.isEmpty())
        return result;
    const QStringMatcher matcher(withBlanks(text), Qt::CaseInsensitive);
    QList<Probe> batch;
    auto runBatch = [&]() {
        QtConcurrent::blockingMap(batch, [&](Probe &p) { probe(p, matcher, password); });
        for (const Probe &p : std::as_const(batch)) {
            if (!p.readable) {
                result.unreadable << p.date;
                result.errors << p.error;
            } else if (p.match) {
                result.found = true;
                result.date = p.date;
                return;
            }
        }
        batch.clear();
    };
    for (QDate date = first; date.isValid() && date <= last; date = date.addDays(1)) {
        if (!EntryFileExists(date))
            continue;
        if (progress)
            progress(date);
        batch.append({date, EntryFileName(date), false, false, QString()});
        if (batch.size() == batchSize) {
            runBatch();
            if (result.found)
                return result;
        }
    }
    if (!batch.isEmpty())
        runBatch();
    return result;
}
