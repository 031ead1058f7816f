#include "store/XBaseTable.h"

#include <QFileInfo>
#include <QtEndian>

namespace {
constexpr int kDescriptorSize = 32;
constexpr qint64 kMemoHeaderSize = 512;

bool knownVersion(quint8 version)
{
    switch (version) {
    case 0x02: // FoxBase
    case 0x03: // dBase III / FoxPro without memo
    case 0x30: // Visual FoxPro
    case 0x31:
    case 0x32:
    case 0x83: // dBase III with memo
    case 0x8B: // dBase IV with memo
    case 0xF5: // FoxPro 2 with memo
    case 0xFB:
        return true;
    default:
        return false;
    }
}

QString baseName(const QFile &file)
{
    return QFileInfo(file.fileName()).fileName();
}
} // namespace

bool XBaseTable::fail(const QString &text)
{
    error_ = text;
    return false;
}

bool XBaseTable::Open(const QString &tableFile, const QString &memoFile)
{
    Close();
    table_.setFileName(tableFile);
    if (!table_.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("%1 cannot be opened: %2").arg(baseName(table_), table_.errorString()));
    const QString damaged = QStringLiteral("%1 is damaged: ").arg(baseName(table_));

    const QByteArray head = table_.read(kDescriptorSize);
    if (head.size() < kDescriptorSize)
        return fail(damaged + QStringLiteral("its header is incomplete."));
    const auto *h = reinterpret_cast<const uchar *>(head.constData());
    if (!knownVersion(h[0]))
        return fail(QStringLiteral("%1 is not a dBase or FoxPro table.").arg(baseName(table_)));
    const quint32 count = qFromLittleEndian<quint32>(h + 4);
    headerLength_ = qFromLittleEndian<quint16>(h + 8);
    recordLength_ = qFromLittleEndian<quint16>(h + 10);
    if (headerLength_ < kDescriptorSize + 1 || recordLength_ < 1)
        return fail(damaged + QStringLiteral("its header lengths are impossible."));
    if (qint64(headerLength_) + qint64(count) * recordLength_ > table_.size())
        return fail(damaged + QStringLiteral("it holds fewer records than its header says."));
    recordCount_ = int(count);

    // Field descriptors, up to the terminating carriage return.
    const QByteArray header = table_.read(headerLength_ - kDescriptorSize);
    int position = 0;
    int offset = 1; // after the deleted mark
    bool hasMemo = false;
    for (;;) {
        if (position >= header.size())
            return fail(damaged + QStringLiteral("its field list has no end."));
        if (header.at(position) == '\r')
            break;
        if (position + kDescriptorSize > header.size())
            return fail(damaged + QStringLiteral("its field list has no end."));
        const QByteArray d = header.mid(position, kDescriptorSize);
        Field field;
        const QByteArray rawName = d.left(11);
        const qsizetype nul = rawName.indexOf('\0');
        field.name = QString::fromLatin1(nul >= 0 ? rawName.left(nul) : rawName).trimmed().toUpper();
        field.type = d.at(11);
        field.length = quint8(d.at(16));
        field.offset = offset;
        offset += field.length;
        if (offset > recordLength_)
            return fail(damaged + QStringLiteral("its fields do not fit in a record."));
        hasMemo = hasMemo || field.type == 'M';
        fields_.append(field);
        position += kDescriptorSize;
    }

    if (hasMemo) {
        memo_.setFileName(memoFile);
        if (!memo_.open(QIODevice::ReadOnly))
            return fail(QStringLiteral("%1 cannot be opened: %2").arg(baseName(memo_), memo_.errorString()));
        const QByteArray memoHead = memo_.read(8);
        if (memoHead.size() < 8 || memo_.size() < kMemoHeaderSize)
            return fail(QStringLiteral("%1 is damaged: its header is incomplete.").arg(baseName(memo_)));
        blockSize_ = qFromBigEndian<quint16>(memoHead.constData() + 6);
        if (blockSize_ == 0)
            return fail(QStringLiteral("%1 is damaged: its block size is zero.").arg(baseName(memo_)));
    }
    return true;
}

void XBaseTable::Close()
{
    table_.close();
    memo_.close();
    fields_.clear();
    recordCount_ = 0;
    headerLength_ = 0;
    recordLength_ = 0;
    blockSize_ = 0;
    record_.clear();
    error_.clear();
}

int XBaseTable::FieldIndex(const QString &name) const
{
    for (int i = 0; i < fields_.size(); ++i) {
        if (fields_.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool XBaseTable::ReadRecord(int index, QString *error)
{
    record_.clear();
    if (index < 0 || index >= recordCount_ || !table_.isOpen()) {
        if (error)
            *error = QStringLiteral("There is no record %1.").arg(index + 1);
        return false;
    }
    if (!table_.seek(qint64(headerLength_) + qint64(index) * recordLength_)
        || (record_ = table_.read(recordLength_)).size() != recordLength_) {
        record_.clear();
        if (error)
            *error = QStringLiteral("%1 cannot be read at record %2.").arg(baseName(table_)).arg(index + 1);
        return false;
    }
    return true;
}

bool XBaseTable::Deleted() const
{
    return !record_.isEmpty() && record_.at(0) == '*';
}

QByteArray XBaseTable::FieldText(int field) const
{
    if (record_.isEmpty() || field < 0 || field >= fields_.size())
        return QByteArray();
    QByteArray text = record_.mid(fields_.at(field).offset, fields_.at(field).length);
    while (!text.isEmpty() && (text.endsWith(' ') || text.endsWith('\0')))
        text.chop(1);
    return text;
}

bool XBaseTable::MemoBytes(int field, QByteArray *bytes, QString *error)
{
    bytes->clear();
    if (record_.isEmpty() || field < 0 || field >= fields_.size() || fields_.at(field).type != 'M')
        return true;
    const Field &f = fields_.at(field);
    const QByteArray raw = record_.mid(f.offset, f.length);
    const QString damaged = QStringLiteral("%1 is damaged: ").arg(baseName(memo_));

    // The block number: ten digits in FoxPro and dBase tables, a 32-bit
    // little-endian number in Visual FoxPro ones.
    quint64 block = 0;
    if (f.length == 4) {
        block = qFromLittleEndian<quint32>(raw.constData());
    } else {
        const QByteArray digits = raw.trimmed();
        if (digits.isEmpty())
            return true;
        bool ok = false;
        block = digits.toULongLong(&ok);
        if (!ok || digits.size() > 10) {
            if (error)
                *error = QStringLiteral("%1 is damaged: a memo reference is no number.").arg(baseName(table_));
            return false;
        }
    }
    if (block == 0)
        return true;

    const qint64 size = memo_.size();
    const quint64 start = block * blockSize_;
    if (start < quint64(kMemoHeaderSize) || start + 8 > quint64(size)) {
        if (error)
            *error = damaged + QStringLiteral("a memo lies beyond its end.");
        return false;
    }
    QByteArray blockHead;
    if (!memo_.seek(qint64(start)) || (blockHead = memo_.read(8)).size() != 8) {
        if (error)
            *error = QStringLiteral("%1 cannot be read.").arg(baseName(memo_));
        return false;
    }
    const quint32 length = qFromBigEndian<quint32>(blockHead.constData() + 4);
    if (quint64(length) > quint64(size) - start - 8) {
        if (error)
            *error = damaged + QStringLiteral("a memo is longer than the file.");
        return false;
    }
    *bytes = memo_.read(length);
    if (bytes->size() != qsizetype(length)) {
        bytes->clear();
        if (error)
            *error = QStringLiteral("%1 cannot be read.").arg(baseName(memo_));
        return false;
    }
    return true;
}
