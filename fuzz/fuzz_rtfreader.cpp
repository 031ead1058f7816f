// libFuzzer target: any bytes through the RTF reader, the plain-text reader
// and, for what the reader made, the writer and the reader again.  Crashes,
// hangs and sanitizer reports are the findings.

#include "richtext/RtfPlainText.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data),
                                                     qsizetype(size));
    const QString text = RtfPlainText(bytes);
    if (text.size() > bytes.size())
        std::abort(); // text cannot outgrow its bytes

    QTextDocument document;
    RtfReader().Read(bytes, &document);
    const QByteArray written = RtfWriter().Write(&document);
    QTextDocument again;
    if (!RtfReader().Read(written, &again))
        std::abort(); // what we write we must read
    if (again.toRawText() != document.toRawText())
        std::abort(); // and with the same text
    return 0;
}
