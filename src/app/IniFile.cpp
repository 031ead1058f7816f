#include "app/IniFile.h"

#include <QFile>
#include <QSaveFile>

#include <cstdint>

namespace {
const QByteArray Bom("\xEF\xBB\xBF");
const QByteArray Crlf("\r\n");
constexpr qsizetype MaxValueLength = 1023; // the reader's buffer of 1024 characters

// One line of the file as it is on disk: its text and its own line end
// ("\r\n", "\n", or nothing on a last line without one).
struct Line
{
    QByteArray text;
    QByteArray end;
};

struct Contents
{
    bool readable = true; // false for a file that is there but cannot be read
    QByteArray bom;
    QList<Line> lines;

    QByteArray bytes() const
    {
        QByteArray out = bom;
        for (const Line &line : lines)
            out += line.text + line.end;
        return out;
    }
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n';
}

QByteArray trimmed(const QByteArray &bytes)
{
    qsizetype from = 0;
    qsizetype to = bytes.size();
    while (from < to && isBlank(bytes.at(from)))
        ++from;
    while (to > from && isBlank(bytes.at(to - 1)))
        --to;
    return bytes.mid(from, to - from);
}

enum class Kind { Blank, Comment, Section, Key, Other };

struct Parsed
{
    Kind kind = Kind::Blank;
    QByteArray name;  // section or key name, blanks dropped
    QByteArray value; // key value, blanks dropped
};

Parsed parse(const QByteArray &text)
{
    Parsed p;
    const QByteArray t = trimmed(text);
    if (t.isEmpty())
        return p;
    if (t.startsWith('[')) {
        const qsizetype close = t.lastIndexOf(']');
        if (close > 0) {
            p.kind = Kind::Section;
            p.name = trimmed(t.mid(1, close - 1));
            return p;
        }
    }
    if (t.startsWith(';')) {
        p.kind = Kind::Comment;
        return p;
    }
    const qsizetype eq = t.indexOf('=');
    if (eq < 0) {
        p.kind = Kind::Other;
        return p;
    }
    p.kind = Kind::Key;
    p.name = trimmed(t.left(eq));
    p.value = trimmed(t.mid(eq + 1));
    return p;
}

bool sameName(const QByteArray &a, const QString &b)
{
    return QString::fromLatin1(a).compare(b, Qt::CaseInsensitive) == 0;
}

Contents load(const QString &fileName)
{
    Contents c;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        c.readable = !file.exists();
        return c;
    }
    QByteArray data = file.readAll();
    if (data.startsWith(Bom)) {
        c.bom = Bom;
        data.remove(0, Bom.size());
    }
    qsizetype from = 0;
    while (from < data.size()) {
        const qsizetype nl = data.indexOf('\n', from);
        if (nl < 0) {
            c.lines.append({data.mid(from), QByteArray()});
            break;
        }
        const bool cr = nl > from && data.at(nl - 1) == '\r';
        const qsizetype textEnd = cr ? nl - 1 : nl;
        c.lines.append({data.mid(from, textEnd - from), cr ? Crlf : QByteArray("\n")});
        from = nl + 1;
    }
    return c;
}

// Where a key lives: the first section of that name (later sections of the
// same name are not looked at), the first line of the key in it, and the
// last line of the section that is neither blank nor a comment.
struct Place
{
    qsizetype section = -1;
    qsizetype key = -1;
    qsizetype lastContent = -1;
    QByteArray keyName;
    QByteArray value;
};

Place locate(const Contents &c, const QString &section, const QString &key)
{
    Place place;
    for (qsizetype i = 0; i < c.lines.size(); ++i) {
        const Parsed p = parse(c.lines.at(i).text);
        if (p.kind == Kind::Section) {
            if (place.section >= 0)
                break;
            if (sameName(p.name, section))
                place.section = place.lastContent = i;
            continue;
        }
        if (place.section < 0)
            continue;
        if (p.kind == Kind::Key || p.kind == Kind::Other)
            place.lastContent = i;
        if (p.kind == Kind::Key && place.key < 0 && sameName(p.name, key)) {
            place.key = i;
            place.keyName = p.name;
            place.value = p.value;
        }
    }
    return place;
}

bool isNumberOf(const QByteArray &digits, int base, std::int64_t limit, std::int64_t &out)
{
    if (digits.isEmpty())
        return false;
    std::int64_t value = 0;
    for (const char c : digits) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return false;
        value = value * base + d;
        if (value > limit)
            return false;
    }
    out = value;
    return true;
}
} // namespace

IniFile::IniFile(QString fileName) : fileName_(std::move(fileName)) {}

QString IniFile::ReadString(const QString &section, const QString &key,
                            const QString &defaultValue) const
{
    const Place place = locate(load(fileName_), section, key);
    if (place.key < 0)
        return defaultValue;
    QByteArray value = place.value;
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'')
        && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return QString::fromLatin1(value.left(MaxValueLength));
}

int IniFile::ReadInteger(const QString &section, const QString &key, int defaultValue) const
{
    const QByteArray text = ReadString(section, key, QString()).toLatin1();
    std::int64_t value = 0;
    if (text.size() > 2 && text.at(0) == '0' && (text.at(1) == 'x' || text.at(1) == 'X')) {
        // Up to 32 bits of hexadecimal, the top bit making it negative.
        if (!isNumberOf(text.mid(2), 16, 0xFFFFFFFFll, value))
            return defaultValue;
        return static_cast<int>(static_cast<std::uint32_t>(value));
    }
    const bool negative = text.startsWith('-');
    const QByteArray digits = (negative || text.startsWith('+')) ? text.mid(1) : text;
    if (!isNumberOf(digits, 10, negative ? 2147483648ll : 2147483647ll, value))
        return defaultValue;
    return static_cast<int>(negative ? -value : value);
}

bool IniFile::ReadBool(const QString &section, const QString &key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool IniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    error_.clear();
    // A line break inside a value would split it into lines of its own.
    QByteArray bytes = value.toLatin1();
    bytes.replace('\r', ' ').replace('\n', ' ');

    Contents c = load(fileName_);
    if (!c.readable) {
        // Writing now would replace the file's other keys with nothing.
        error_ = QStringLiteral("Unable to write to %1").arg(fileName_);
        return false;
    }
    const Place place = locate(c, section, key);
    if (place.key >= 0) {
        c.lines[place.key] = {place.keyName + '=' + bytes, Crlf};
    } else {
        qsizetype at = place.section >= 0 ? place.lastContent + 1 : c.lines.size();
        if (at > 0 && c.lines.at(at - 1).end.isEmpty())
            c.lines[at - 1].end = Crlf;
        if (place.section < 0)
            c.lines.insert(at++, {'[' + section.toLatin1() + ']', Crlf});
        c.lines.insert(at, {key.toLatin1() + '=' + bytes, Crlf});
    }

    QSaveFile file(fileName_);
    const QByteArray out = c.bytes();
    if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size() || !file.commit()) {
        error_ = QStringLiteral("Unable to write to %1").arg(fileName_);
        return false;
    }
    return true;
}

bool IniFile::WriteInteger(const QString &section, const QString &key, int value)
{
    return WriteString(section, key, QString::number(value));
}

bool IniFile::WriteBool(const QString &section, const QString &key, bool value)
{
    return WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}
