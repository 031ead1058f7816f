#pragma once

#include <QImage>
#include <QWidget>

// The widget's own painting alone, on a ground of a colour no control here
// uses, so that a pixel the widget leaves unpainted shows.
inline constexpr QRgb kUnpainted = 0xFFFF00FF;

inline QImage RenderForTest(QWidget *widget)
{
    QImage image(widget->size(), QImage::Format_RGB32);
    image.fill(kUnpainted);
    widget->render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    return image;
}
