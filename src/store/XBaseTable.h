#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

// A read-only reader of the diary's older table: a dBase III or FoxPro
// table (.DBF) with its FoxPro memo file (.FPT).  It checks every length and
// offset it reads against the files, so a damaged table gives an error text
// instead of garbage.
class XBaseTable
{
public:
    struct Field
    {
        QString name;      // upper case, as stored
        char type = 0;     // 'C', 'D', 'M', ...
        int offset = 0;    // within a record, after the deleted mark
        int length = 0;
    };

    // Reads both headers.  False with ErrorString() when either file cannot
    // be read or its header makes no sense.
    bool Open(const QString &tableFile, const QString &memoFile);
    void Close();

    int RecordCount() const { return recordCount_; }
    const QList<Field> &Fields() const { return fields_; }
    int FieldIndex(const QString &name) const; // -1 when absent

    // Reads one record (0-based, in table order).
    bool ReadRecord(int index, QString *error);
    bool Deleted() const;
    // A character or date field as text, trailing blanks dropped.
    QByteArray FieldText(int field) const;
    // The memo of a memo field, its bytes unchanged; empty when the record
    // has none.  False when the memo lies outside the memo file.
    bool MemoBytes(int field, QByteArray *bytes, QString *error);

    QString ErrorString() const { return error_; }

private:
    bool fail(const QString &text);

    QFile table_;
    QFile memo_;
    QList<Field> fields_;
    int recordCount_ = 0;
    int headerLength_ = 0;
    int recordLength_ = 0;
    quint32 blockSize_ = 0;
    QByteArray record_;
    QString error_;
};
