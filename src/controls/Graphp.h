#pragma once

#include <QColor>
#include <QWidget>

class QPainter;

// A panel without children that draws bevels, a border, a background and a
// one-line caption.
class TGraphicPanel : public QWidget
{
    Q_OBJECT
public:
    enum class Bevel { None, Lowered, Raised };
    enum class Border { None, Single };

    explicit TGraphicPanel(QWidget *parent = nullptr);

    Qt::Alignment Alignment() const { return alignment_; }
    void SetAlignment(Qt::Alignment alignment);
    Bevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(Bevel bevel);
    Bevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(Bevel bevel);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int width);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int width);
    Border BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(Border style);
    // The background; until set it follows the palette's button colour.
    QColor Color() const;
    void SetColor(const QColor &color);
    QString Caption() const { return caption_; }
    void SetCaption(const QString &caption);

    // Draws a frame of the given width inside rect: top-left colour on the
    // left and top, bottom-right colour on the right and bottom (which own
    // the bottom-left and top-right corner pixels); on return rect is the
    // area inside the frame.  A width of 0 draws nothing.
    static void DrawBevelFrame(QPainter &painter, QRect &rect, const QColor &topLeft,
                               const QColor &bottomRight, int width);

signals:
    void clicked();
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    Qt::Alignment alignment_ = Qt::AlignHCenter;
    Bevel bevelOuter_ = Bevel::Raised;
    Bevel bevelInner_ = Bevel::None;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    Border borderStyle_ = Border::None;
    QColor color_;
    QString caption_;
    bool pressed_ = false;
};
