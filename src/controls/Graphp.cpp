#include "controls/Graphp.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

TGraphicPanel::TGraphicPanel(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(185, 41);
}

void TGraphicPanel::SetAlignment(Qt::Alignment alignment)
{
    alignment &= Qt::AlignHorizontal_Mask;
    if (alignment_ == alignment)
        return;
    alignment_ = alignment;
    update();
}

void TGraphicPanel::SetBevelOuter(Bevel bevel)
{
    if (bevelOuter_ == bevel)
        return;
    bevelOuter_ = bevel;
    update();
}

void TGraphicPanel::SetBevelInner(Bevel bevel)
{
    if (bevelInner_ == bevel)
        return;
    bevelInner_ = bevel;
    update();
}

void TGraphicPanel::SetBevelWidth(int width)
{
    width = std::max(width, 0);
    if (bevelWidth_ == width)
        return;
    bevelWidth_ = width;
    update();
}

void TGraphicPanel::SetBorderWidth(int width)
{
    width = std::max(width, 0);
    if (borderWidth_ == width)
        return;
    borderWidth_ = width;
    update();
}

void TGraphicPanel::SetBorderStyle(Border style)
{
    if (borderStyle_ == style)
        return;
    borderStyle_ = style;
    update();
}

QColor TGraphicPanel::Color() const
{
    return color_.isValid() ? color_ : palette().color(QPalette::Button);
}

void TGraphicPanel::SetColor(const QColor &color)
{
    if (color_ == color)
        return;
    color_ = color;
    update();
}

void TGraphicPanel::SetCaption(const QString &caption)
{
    if (caption_ == caption)
        return;
    caption_ = caption;
    update();
}

void TGraphicPanel::DrawBevelFrame(QPainter &painter, QRect &rect, const QColor &topLeft,
                                   const QColor &bottomRight, int width)
{
    // Each round is a pen line up the left side and along the top, then down
    // the right side and back along the bottom, where a line's last point is
    // not drawn: the top-left colour covers the left column without its
    // bottom pixel and the top row without its right pixel; the bottom-right
    // colour covers the whole right column and the whole bottom row.
    for (int i = 0; i < width; ++i) {
        const int l = rect.left();
        const int t = rect.top();
        const int r = rect.right();
        const int b = rect.bottom();
        if (r >= l && b >= t) {
            painter.fillRect(l, t, r - l, 1, topLeft);
            painter.fillRect(l, t, 1, b - t, topLeft);
            painter.fillRect(r, t, 1, b - t + 1, bottomRight);
            painter.fillRect(l, b, r - l + 1, 1, bottomRight);
        }
        rect.adjust(1, 1, -1, -1);
    }
}

void TGraphicPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QRect r = rect();
    const QColor light = palette().color(QPalette::Light);
    const QColor dark = palette().color(QPalette::Dark);
    const QColor background = Color();
    auto drawBevel = [&](Bevel bevel) {
        if (bevel == Bevel::Raised)
            DrawBevelFrame(painter, r, light, dark, bevelWidth_);
        else if (bevel == Bevel::Lowered)
            DrawBevelFrame(painter, r, dark, light, bevelWidth_);
    };

    if (borderStyle_ == Border::Single)
        DrawBevelFrame(painter, r, Qt::black, Qt::black, 1);
    drawBevel(bevelOuter_);
    DrawBevelFrame(painter, r, background, background, borderWidth_);
    drawBevel(bevelInner_);
    if (r.isValid())
        painter.fillRect(r, background);

    if (caption_.isEmpty())
        return;
    // One line as high as a "W", centred between what the frames leave.
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    const int h = painter.fontMetrics().height();
    const int top = (r.top() + r.top() + r.height() - h) / 2;
    const QRect line(r.left(), top, r.width(), h);
    painter.drawText(line, int(alignment_) | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextExpandTabs,
                     caption_.left(255));
}

void TGraphicPanel::mousePressEvent(QMouseEvent *event)
{
    pressed_ = event->button() == Qt::LeftButton;
    QWidget::mousePressEvent(event);
}

void TGraphicPanel::mouseReleaseEvent(QMouseEvent *event)
{
    // A click is a left press and release over the panel; the release that
    // ends a double click is not another click.
    const bool click = pressed_ && event->button() == Qt::LeftButton
        && rect().contains(event->position().toPoint());
    pressed_ = false;
    QWidget::mouseReleaseEvent(event);
    if (click)
        emit clicked();
}

void TGraphicPanel::mouseDoubleClickEvent(QMouseEvent *event)
{
    // Not passed on: the default would treat it as another press.
    pressed_ = false;
    event->accept();
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
}
