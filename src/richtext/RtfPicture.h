#pragma once

#include "richtext/RtfFormat.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QTextImageFormat>

class QTextDocument;

// Pictures of a document: what RTF stores of them, and the images the
// editor shows for them.  The stored bytes are the truth; the shown image
// is made from them whenever a document needs it.
namespace RtfPicture {

struct Data
{
    RtfFormat::Picture kind = RtfFormat::Picture::Png;
    QByteArray bytes;
    int width = 0;      // \picw: pixels of a bitmap, 0.01 mm of a metafile
    int height = 0;
    int goalWidth = 0;  // twips before scaling; 0: from width and height
    int goalHeight = 0;
    int scaleX = 100;   // percent
    int scaleY = 100;
    int mapMode = 8;    // of a Windows metafile
};

// The shown size in twips: the goal size scaled, or the stored size
// converted when there is no goal.
QSize SizeInTwips(const Data &data);

// The picture's image: the decoded bitmap, or a framed placeholder of the
// picture's size for metafiles and bytes that do not decode.
QImage Image(const Data &data);

// A character format of the picture, with its image added to the
// document's resources.
QTextImageFormat Format(const Data &data, QTextDocument *document);
// The data kept in an image format; false when the format holds none
// (an image of some other origin).
bool DataOf(const QTextImageFormat &format, Data *data);

// Adds the images of all pictures the document holds but has no resource
// for (after a paste or a fragment insertion).
void AddResources(QTextDocument *document);

// A picture of a bitmap: PNG bytes, its pixel size and its size in twips at
// the given screen resolution (or the given twips when not 0).
Data FromImage(const QImage &image, int widthTwips = 0, int heightTwips = 0,
               int pixelsPerInch = RtfFormat::ScreenPixelsPerInch);

// Bitmaps of older writers: a device-independent bitmap as \dibitmap
// stores it (header, colours, bits) and a device-dependent bitmap of
// \wbitmap (bits only, rows of widthBytes, top row first).  Null when the
// bytes cannot hold what the header promises.
QImage FromDib(QByteArrayView dib);
QImage FromDeviceBitmap(QByteArrayView bits, int width, int height, int bitsPerPixel,
                        int widthBytes);

} // namespace RtfPicture
