#include "controls/Ring.h"

#include <QPainter>

#include <algorithm>
#include <array>

namespace {

// K black, S silver, G gray, W white.
QRgb RingColour(char code)
{
    switch (code) {
    case 'K': return qRgb(0, 0, 0);
    case 'S': return qRgb(192, 192, 192);
    case 'G': return qRgb(128, 128, 128);
    default: return qRgb(255, 255, 255);
    }
}

constexpr std::array<const char *, 11> kLargeRing = {
    "GGGGGGGGGGGGGGGGGGGGGGKWWWWWWWWWWWWKKKKKWWW",
    "GGGGGGGGGGGGGGGGGGGGGGKWWWWWWWWWWWKKKKKKKWW",
    "GGGGKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKW",
    "GGGKKSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSKK",
    "GGGKSSSWWWWWWWWWWWWWWWWWWSSSSSSSSSSSSSSSSSK",
    "GGGKSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSK",
    "GGGKSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSK",
    "GGGKKSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSKK",
    "GGGGKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKW",
    "GGGGGGGGGGGGGGGGGGGGGGKWWWWWWWWWWWKKKKKKKWW",
    "GGGGGGGGGGGGGGGGGGGGGGKWWWWWWWWWWWWKKKKKWWW",
};

constexpr std::array<const char *, 11> kSmallRing = {
    "GGGGGGGGGGGGGGGKWWWWWWWKKKKKWWW",
    "GGGGGGGGGGGGGGGKWWWWWWKKKKKKKWW",
    "GGGGKKKKKKKKKKKKKKKKKKKKKKKKKKW",
    "GGGKKSSSSSSSSSSSSSSSSSSSSSSSSKK",
    "GGGKSSSWWWWWWWWWWWSSSSSSSSSSSSK",
    "GGGKSSSSSSSSSSSSSSSSSSSSSSSSSSK",
    "GGGKSSSSSSSSSSSSSSSSSSSSSSSSSSK",
    "GGGKKSSSSSSSSSSSSSSSSSSSSSSSSKK",
    "GGGGKKKKKKKKKKKKKKKKKKKKKKKKKKW",
    "GGGGGGGGGGGGGGGKWWWWWWKKKKKKKWW",
    "GGGGGGGGGGGGGGGKWWWWWWWKKKKKWWW",
};

QImage BuildRingImage(const std::array<const char *, 11> &rows)
{
    const int width = int(qstrlen(rows[0]));
    QImage image(width, int(rows.size()), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, RingColour(rows[y][x]));
    return image;
}

constexpr int kCorner = 25; // the corners are quarter ellipses of 25 by 25 pixels

// The page: the rectangle [left, right) x [top, bottom) with rounded corners.
// A pixel belongs to it when its centre lies inside the shape; the arithmetic
// is done in half pixels so that it stays exact.
class RoundedPage
{
public:
    RoundedPage(int left, int top, int right, int bottom)
        : left_(left), top_(top), right_(right), bottom_(bottom)
    {
    }

    bool Contains(int x, int y) const
    {
        if (x < left_ || x >= right_ || y < top_ || y >= bottom_)
            return false;
        const int cx = 2 * x + 1;
        const int cy = 2 * y + 1;
        const int dxLeft = std::max(0, 2 * left_ + kCorner - cx);
        const int dxRight = std::max(0, cx - (2 * right_ - kCorner));
        const int dyTop = std::max(0, 2 * top_ + kCorner - cy);
        const int dyBottom = std::max(0, cy - (2 * bottom_ - kCorner));
        const int limit = kCorner * kCorner;
        return dxLeft * dxLeft + dyTop * dyTop <= limit
            && dxRight * dxRight + dyTop * dyTop <= limit
            && dxLeft * dxLeft + dyBottom * dyBottom <= limit
            && dxRight * dxRight + dyBottom * dyBottom <= limit;
    }

    // The pixels [first, last) of row y that belong to the page; the shape is
    // convex, so every row is one run.  Empty when first == last.
    struct Run { int first; int last; bool Empty() const { return first >= last; } };

    Run RowRun(int y) const
    {
        int first = left_;
        while (first < right_ && !Contains(first, y))
            ++first;
        int last = right_;
        while (last > first && !Contains(last - 1, y))
            --last;
        return {first, last};
    }

private:
    int left_, top_, right_, bottom_;
};

} // namespace

TRingPanel::TRingPanel(QWidget *parent)
    : QFrame(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
}

void TRingPanel::SetDoubleRing(bool on)
{
    if (doubleRing_ == on)
        return;
    doubleRing_ = on;
    update();
}

void TRingPanel::SetSmallRing(bool on)
{
    if (smallRing_ == on)
        return;
    smallRing_ = on;
    update();
}

void TRingPanel::SetBorderStyle(Border style)
{
    if (borderStyle_ == style)
        return;
    borderStyle_ = style;
    setFrameStyle(style == Border::Single ? (QFrame::Box | QFrame::Plain) : QFrame::NoFrame);
    setLineWidth(1);
    update();
}

QImage TRingPanel::RingImage(bool small)
{
    static const QImage large = BuildRingImage(kLargeRing);
    static const QImage smallImage = BuildRingImage(kSmallRing);
    return small ? smallImage : large;
}

void TRingPanel::PaintPage(QPainter &painter, int margin) const
{
    // The page spans the outer size; its right and bottom coordinates lie
    // just outside it.
    const RoundedPage page(margin, 5, width() - margin, height() - 5);
    const QColor black(0, 0, 0);
    const QColor white(255, 255, 255);
    RoundedPage::Run above{0, 0};
    RoundedPage::Run run = page.RowRun(5);
    for (int y = 5; y < height() - 5; ++y) {
        const RoundedPage::Run below = page.RowRun(y + 1);
        if (!run.Empty()) {
            if (above.Empty() || below.Empty()) {
                painter.fillRect(run.first, y, run.last - run.first, 1, black);
            } else {
                // The outline is every page pixel with a neighbour outside the
                // page, to the side, above or below.
                const int inFirst = std::min(run.last, std::max({run.first + 1, above.first, below.first}));
                const int inLast = std::max(inFirst, std::min({run.last - 1, above.last, below.last}));
                painter.fillRect(run.first, y, inFirst - run.first, 1, black);
                painter.fillRect(inFirst, y, inLast - inFirst, 1, white);
                painter.fillRect(inLast, y, run.last - inLast, 1, black);
            }
        }
        above = run;
        run = below;
    }
}

void TRingPanel::paintEvent(QPaintEvent *)
{
    const QImage image = RingImage(smallRing_);
    const int margin = smallRing_ ? 15 : 22;
    LeftEdge = image.width();
    RightEdge = margin;

    QPainter painter(this);
    const QRect client = contentsRect();
    painter.save();
    painter.setClipRect(client);
    painter.translate(client.topLeft());
    painter.fillRect(0, 0, client.width(), client.height(), QColor(128, 128, 128));
    PaintPage(painter, margin);
    for (int y = 20; y <= height() - 40; y += 50) {
        painter.drawImage(0, y, image);
        if (doubleRing_)
            painter.drawImage(0, y + 15, image);
    }
    painter.restore();

    if (borderStyle_ == Border::Single) {
        const QColor black(0, 0, 0);
        const QRect r = rect();
        painter.fillRect(r.left(), r.top(), r.width(), 1, black);
        painter.fillRect(r.left(), r.bottom(), r.width(), 1, black);
        painter.fillRect(r.left(), r.top(), 1, r.height(), black);
        painter.fillRect(r.right(), r.top(), 1, r.height(), black);
    }
}
