#include "store/PasswordCodec.h"

namespace {
// Shifts the character at position p (from 1) by -shift when p is odd and
// by +shift when p is even, modulo 256.
QString shifted(const QString &text, int oddShift, int evenShift)
{
    QString out(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int shift = (i % 2 == 0) ? oddShift : evenShift; // i = 0 is position 1
        out[i] = QChar(static_cast<ushort>((text.at(i).unicode() + shift) & 0xFF));
    }
    return out;
}
} // namespace

QString EncryptString(const QString &text)
{
    const int length = static_cast<int>(text.size() & 0xFF);
    return shifted(text, 100 - length, 100 + length);
}

QString Decryptstring(const QString &text)
{
    const int length = static_cast<int>(text.size() & 0xFF);
    return shifted(text, length - 100, -length - 100);
}
