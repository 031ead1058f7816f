#include "richtext/WPRuler.h"

#include "richtext/WPRichText.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QTextDocument>

namespace {

// Paragraph measures lay out at one document unit per point: an inch of
// the ruler is 72 units of the page.
constexpr int UnitsPerInch = 72;
constexpr int TwipsPerUnit = 20;
constexpr int TabBox = 16; // the box that chooses the kind of a new tab
constexpr int Grab = 4;    // pixels around a marker that take hold of it

} // namespace

TWPRuler::TWPRuler(QWidget *parent) : QWidget(parent)
{
    setFixedHeight(22);
    setMouseTracking(false);
    setToolTip(QStringLiteral("Drag the indents and tab stops; click to set a tab"));
}

QSize TWPRuler::sizeHint() const
{
    return QSize(400, 22);
}

void TWPRuler::SetEditor(TWPRichText *editor)
{
    if (editor_)
        disconnect(editor_, nullptr, this, nullptr);
    editor_ = editor;
    if (editor_) {
        connect(editor_, &QTextEdit::cursorPositionChanged, this, qOverload<>(&QWidget::update));
        connect(editor_->horizontalScrollBar(), &QScrollBar::valueChanged, this,
                qOverload<>(&QWidget::update));
    }
    update();
}

int TWPRuler::Origin() const
{
    if (!editor_)
        return TabBox + 4;
    // the left edge of the text in the editor, in the ruler's pixels
    const QPoint viewport = editor_->viewport()->mapTo(window(), QPoint(0, 0));
    const QPoint ruler = mapTo(window(), QPoint(0, 0));
    return viewport.x() - ruler.x() + int(editor_->document()->documentMargin())
        - editor_->horizontalScrollBar()->value();
}

int TWPRuler::XOfTwips(int twips) const
{
    return Origin() + twips / TwipsPerUnit;
}

int TWPRuler::TwipsOfX(int x) const
{
    return (x - Origin()) * TwipsPerUnit;
}

int TWPRuler::PageRightTwips() const
{
    if (!editor_)
        return 6 * 1440;
    const qreal width = editor_->viewport()->width() - 2 * editor_->document()->documentMargin();
    return qMax(1440, int(width * TwipsPerUnit));
}

void TWPRuler::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const int origin = Origin();
    const int right = XOfTwips(PageRightTwips());
    painter.fillRect(QRect(origin, 3, right - origin, height() - 6), Qt::white);
    painter.setPen(Qt::darkGray);
    QFont small = font();
    small.setPixelSize(8);
    painter.setFont(small);
    for (int eighth = 0; origin + eighth * UnitsPerInch / 8 <= right; ++eighth) {
        const int x = origin + eighth * UnitsPerInch / 8;
        if (eighth % 8 == 0) {
            if (eighth > 0)
                painter.drawText(QRect(x - 8, 3, 16, 10), Qt::AlignCenter,
                                 QString::number(eighth / 8));
        } else {
            const int tick = eighth % 4 == 0 ? 4 : 2;
            painter.drawLine(x, 11 - tick / 2, x, 11 + tick / 2);
        }
    }

    // the kind of a new tab
    painter.setPen(Qt::black);
    painter.drawRect(1, 3, TabBox - 2, height() - 7);
    const char *kinds = "LRCD";
    painter.drawText(QRect(1, 3, TabBox - 2, height() - 7), Qt::AlignCenter,
                     QString(QChar(kinds[int(NewTabType)])));

    if (!editor_)
        return;
    int first = first_, left = left_, indentRight = right_;
    QList<QTextOption::Tab> tabs = tabs_;
    if (dragging_ == Marker::None) {
        const TWPParagraphValues v = editor_->ParagraphValues();
        first = v.FirstIndent;
        left = v.LeftIndent;
        indentRight = v.RightIndent;
        tabs = editor_->TabStops();
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(160, 160, 160));
    auto triangle = [&](int x, bool down) {
        QPainterPath path;
        const int y = down ? 3 : height() - 3;
        const int tip = down ? 9 : height() - 9;
        path.moveTo(x - 4, y);
        path.lineTo(x + 4, y);
        path.lineTo(x, tip);
        path.closeSubpath();
        painter.drawPath(path);
    };
    triangle(XOfTwips(left + first), true);
    triangle(XOfTwips(left), false);
    triangle(XOfTwips(PageRightTwips() - indentRight), false);
    painter.setPen(QPen(Qt::black, 2));
    for (const QTextOption::Tab &tab : tabs) {
        const int x = XOfTwips(qRound(tab.position * TwipsPerUnit));
        const int y = height() - 6;
        painter.drawLine(x, y - 5, x, y);
        if (tab.type == QTextOption::LeftTab || tab.type == QTextOption::DelimiterTab)
            painter.drawLine(x, y, x + 4, y);
        if (tab.type == QTextOption::RightTab)
            painter.drawLine(x - 4, y, x, y);
        if (tab.type == QTextOption::CenterTab)
            painter.drawLine(x - 3, y, x + 3, y);
    }
}

void TWPRuler::mousePressEvent(QMouseEvent *event)
{
    emit MousePressed();
    if (!editor_ || event->button() != Qt::LeftButton)
        return;
    const int x = int(event->position().x());
    if (x < TabBox) {
        NewTabType = QTextOption::TabType((int(NewTabType) + 1) % 4);
        update();
        return;
    }
    const TWPParagraphValues v = editor_->ParagraphValues();
    first_ = v.FirstIndent;
    left_ = v.LeftIndent;
    right_ = v.RightIndent;
    tabs_ = editor_->TabStops();
    dragOff_ = false;
    dragTab_ = -1;
    const bool upper = event->position().y() < height() / 2;
    dragging_ = Marker::None;
    if (qAbs(x - XOfTwips(left_ + first_)) <= Grab && upper)
        dragging_ = Marker::FirstIndent;
    else if (qAbs(x - XOfTwips(left_)) <= Grab)
        dragging_ = Marker::LeftIndent;
    else if (qAbs(x - XOfTwips(PageRightTwips() - right_)) <= Grab)
        dragging_ = Marker::RightIndent;
    for (int i = 0; dragging_ == Marker::None && i < tabs_.size(); ++i) {
        if (qAbs(x - XOfTwips(qRound(tabs_[i].position * TwipsPerUnit))) <= Grab) {
            dragging_ = Marker::Tab;
            dragTab_ = i;
        }
    }
    if (dragging_ == Marker::None) {
        // a new tab stop where the click was
        const int twips = qMax(0, TwipsOfX(x));
        QTextOption::Tab tab(twips / qreal(TwipsPerUnit), NewTabType,
                             NewTabType == QTextOption::DelimiterTab ? QChar('.') : QChar());
        tabs_.append(tab);
        std::sort(tabs_.begin(), tabs_.end(),
                  [](const QTextOption::Tab &a, const QTextOption::Tab &b) {
                      return a.position < b.position;
                  });
        editor_->SetTabStops(tabs_);
        return;
    }
    update();
}

void TWPRuler::mouseMoveEvent(QMouseEvent *event)
{
    if (dragging_ == Marker::None)
        return;
    // measures snap to sixteenths of an inch
    const int twips = qRound(TwipsOfX(int(event->position().x())) / 90.0) * 90;
    switch (dragging_) {
    case Marker::FirstIndent: first_ = twips - left_; break;
    case Marker::LeftIndent: {
        const int firstAt = left_ + first_;
        left_ = qMax(0, twips);
        first_ = firstAt - left_; // the first line stays where it was
        break;
    }
    case Marker::RightIndent: right_ = qMax(0, PageRightTwips() - twips); break;
    case Marker::Tab:
        dragOff_ = event->position().y() < -10 || event->position().y() > height() + 10;
        if (dragTab_ >= 0 && dragTab_ < tabs_.size())
            tabs_[dragTab_].position = qMax(0, twips) / qreal(TwipsPerUnit);
        break;
    case Marker::None: break;
    }
    update();
}

void TWPRuler::mouseReleaseEvent(QMouseEvent *)
{
    if (dragging_ != Marker::None)
        Commit();
    dragging_ = Marker::None;
    update();
}

void TWPRuler::Commit()
{
    if (dragging_ == Marker::Tab) {
        if (dragOff_ && dragTab_ >= 0 && dragTab_ < tabs_.size())
            tabs_.removeAt(dragTab_);
        editor_->SetTabStops(tabs_);
    } else {
        editor_->SetParagraphIndents(first_, left_, right_);
    }
}
