#include "richtext/RtfPicture.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QImageReader>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QUrl>
#include <QtEndian>

namespace RtfPicture {

namespace {

using RtfFormat::Picture;

constexpr int MaxShownPixels = 4000; // placeholders larger than this are drawn scaled

quint32 U32(QByteArrayView b, qsizetype at)
{
    return qFromLittleEndian<quint32>(b.data() + at);
}

quint16 U16(QByteArrayView b, qsizetype at)
{
    return qFromLittleEndian<quint16>(b.data() + at);
}

bool IsMetafile(Picture kind)
{
    return kind == Picture::Emf || kind == Picture::Wmf;
}

QImage Placeholder(QSize pixels)
{
    QSize size = pixels.boundedTo(QSize(MaxShownPixels, MaxShownPixels)).expandedTo(QSize(8, 8));
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(240, 240, 240));
    QPainter painter(&image);
    painter.setPen(QColor(128, 128, 128));
    painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
    painter.drawLine(0, 0, size.width() - 1, size.height() - 1);
    painter.drawLine(0, size.height() - 1, size.width() - 1, 0);
    return image;
}

QSize PixelsOf(QSize twips)
{
    return QSize(qMax(1, twips.width() * RtfFormat::ScreenPixelsPerInch / 1440),
                 qMax(1, twips.height() * RtfFormat::ScreenPixelsPerInch / 1440));
}

QString ResourceName(const Data &data)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(data.bytes);
    const QSize twips = SizeInTwips(data);
    return QStringLiteral("quillary-picture:%1-%2x%3")
        .arg(QString::fromLatin1(hash.result().toHex()))
        .arg(twips.width())
        .arg(twips.height());
}

} // namespace

QSize SizeInTwips(const Data &data)
{
    auto one = [&](int goal, int stored, int scale) {
        qint64 twips = goal;
        if (twips <= 0) {
            // \picw is pixels of a bitmap (at the screen's resolution) and
            // hundredths of a millimetre of a metafile.
            twips = IsMetafile(data.kind) ? qint64(stored) * 1440 / 2540
                                          : qint64(stored) * 1440 / RtfFormat::ScreenPixelsPerInch;
        }
        twips = twips * (scale > 0 ? scale : 100) / 100;
        return int(qBound<qint64>(1, twips, qint64(RtfFormat::MaxTwips) * 4));
    };
    return QSize(one(data.goalWidth, data.width, data.scaleX),
                 one(data.goalHeight, data.height, data.scaleY));
}

QImage Image(const Data &data)
{
    if (!IsMetafile(data.kind) && !data.bytes.isEmpty()) {
        QBuffer buffer;
        buffer.setData(data.bytes);
        QImageReader reader(&buffer, data.kind == Picture::Jpeg ? "jpeg" : "png");
        const QSize size = reader.size();
        // Pictures whose pixels would not fit in memory are shown as a
        // placeholder; their bytes are kept all the same.
        if (size.isValid() && qint64(size.width()) * size.height() <= 64LL * 1024 * 1024) {
            QImage image = reader.read();
            if (!image.isNull())
                return image;
        }
    }
    return Placeholder(PixelsOf(SizeInTwips(data)));
}

QTextImageFormat Format(const Data &data, QTextDocument *document)
{
    QTextImageFormat format;
    const QString name = ResourceName(data);
    format.setName(name);
    const QSize pixels = PixelsOf(SizeInTwips(data));
    format.setWidth(pixels.width());
    format.setHeight(pixels.height());
    format.setProperty(RtfFormat::PictureData, data.bytes);
    format.setProperty(RtfFormat::PictureKind, int(data.kind));
    format.setProperty(RtfFormat::PictureWidth, data.width);
    format.setProperty(RtfFormat::PictureHeight, data.height);
    format.setProperty(RtfFormat::PictureGoalWidth, data.goalWidth);
    format.setProperty(RtfFormat::PictureGoalHeight, data.goalHeight);
    format.setProperty(RtfFormat::PictureScaleX, data.scaleX);
    format.setProperty(RtfFormat::PictureScaleY, data.scaleY);
    format.setProperty(RtfFormat::PictureMapMode, data.mapMode);
    if (document && !document->resource(QTextDocument::ImageResource, QUrl(name)).isValid())
        document->addResource(QTextDocument::ImageResource, QUrl(name), Image(data));
    return format;
}

bool DataOf(const QTextImageFormat &format, Data *data)
{
    if (!format.hasProperty(RtfFormat::PictureData))
        return false;
    data->bytes = format.property(RtfFormat::PictureData).toByteArray();
    const int kind = format.intProperty(RtfFormat::PictureKind);
    data->kind = (kind >= int(Picture::Png) && kind <= int(Picture::Wmf)) ? Picture(kind)
                                                                          : Picture::Png;
    data->width = format.intProperty(RtfFormat::PictureWidth);
    data->height = format.intProperty(RtfFormat::PictureHeight);
    data->goalWidth = format.intProperty(RtfFormat::PictureGoalWidth);
    data->goalHeight = format.intProperty(RtfFormat::PictureGoalHeight);
    data->scaleX = format.hasProperty(RtfFormat::PictureScaleX)
        ? format.intProperty(RtfFormat::PictureScaleX) : 100;
    data->scaleY = format.hasProperty(RtfFormat::PictureScaleY)
        ? format.intProperty(RtfFormat::PictureScaleY) : 100;
    data->mapMode = format.intProperty(RtfFormat::PictureMapMode);
    return true;
}

void AddResources(QTextDocument *document)
{
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat())
                continue;
            const QTextImageFormat image = format.toImageFormat();
            Data data;
            if (!DataOf(image, &data))
                continue;
            const QUrl name(image.name());
            if (!document->resource(QTextDocument::ImageResource, name).isValid())
                document->addResource(QTextDocument::ImageResource, name, Image(data));
        }
    }
}

Data FromImage(const QImage &image, int widthTwips, int heightTwips, int pixelsPerInch)
{
    Data data;
    data.kind = Picture::Png;
    QBuffer buffer(&data.bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    data.width = image.width();
    data.height = image.height();
    const int ppi = pixelsPerInch > 0 ? pixelsPerInch : RtfFormat::ScreenPixelsPerInch;
    data.goalWidth = widthTwips > 0 ? widthTwips : int(qint64(image.width()) * 1440 / ppi);
    data.goalHeight = heightTwips > 0 ? heightTwips : int(qint64(image.height()) * 1440 / ppi);
    return data;
}

QImage FromDib(QByteArrayView dib)
{
    if (dib.size() < 40)
        return QImage();
    const quint32 headerSize = U32(dib, 0);
    if (headerSize < 12 || headerSize > quint32(dib.size()))
        return QImage();
    int bitCount = 0;
    quint32 compression = 0, colorsUsed = 0;
    if (headerSize == 12) {
        bitCount = U16(dib, 10); // the old core header
    } else {
        bitCount = U16(dib, 14);
        compression = U32(dib, 16);
        colorsUsed = U32(dib, 32);
    }
    qint64 palette = 0;
    if (bitCount <= 8)
        palette = colorsUsed ? colorsUsed : (1u << bitCount);
    else if (colorsUsed < 65536)
        palette = colorsUsed;
    const int entrySize = headerSize == 12 ? 3 : 4;
    qint64 offset = 14 + headerSize + palette * entrySize;
    if (headerSize == 40 && (compression == 3 || compression == 6))
        offset += compression == 3 ? 12 : 16; // colour masks after the header
    if (offset > dib.size() + 14)
        return QImage();
    QByteArray file;
    file.reserve(dib.size() + 14);
    file += "BM";
    char le[4];
    qToLittleEndian<quint32>(quint32(dib.size() + 14), le);
    file.append(le, 4);
    file.append(4, '\0');
    qToLittleEndian<quint32>(quint32(offset), le);
    file.append(le, 4);
    file.append(dib.data(), dib.size());
    QBuffer buffer(&file);
    QImageReader reader(&buffer, "bmp");
    const QSize size = reader.size();
    if (!size.isValid() || qint64(size.width()) * size.height() > 64LL * 1024 * 1024)
        return QImage();
    return reader.read();
}

QImage FromDeviceBitmap(QByteArrayView bits, int width, int height, int bitsPerPixel,
                        int widthBytes)
{
    if (width <= 0 || height <= 0 || widthBytes <= 0)
        return QImage();
    if (widthBytes <= 0 || qint64(widthBytes) * height > bits.size()
        || qint64(width) * bitsPerPixel > qint64(widthBytes) * 8)
        return QImage();
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return QImage();
    for (int y = 0; y < height; ++y) {
        const auto *row = reinterpret_cast<const uchar *>(bits.data()) + qint64(y) * widthBytes;
        auto *out = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            switch (bitsPerPixel) {
            case 1:
                out[x] = (row[x / 8] >> (7 - x % 8)) & 1 ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
                break;
            case 4: {
                const int v = (row[x / 2] >> (x % 2 ? 0 : 4)) & 0xF;
                out[x] = qRgb(v * 17, v * 17, v * 17);
                break;
            }
            case 8:
                out[x] = qRgb(row[x], row[x], row[x]);
                break;
            case 24:
                out[x] = qRgb(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
                break;
            case 32:
                out[x] = qRgb(row[x * 4 + 2], row[x * 4 + 1], row[x * 4]);
                break;
            default:
                return QImage();
            }
        }
    }
    return image;
}

} // namespace RtfPicture
