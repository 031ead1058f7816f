#pragma once

#include <QFrame>
#include <QImage>

// A panel drawn as a ring-binder page: a white page with rounded corners on a
// gray ground and binder rings along the left edge.  After each paint
// LeftEdge and RightEdge tell how much room the rings and the page margin
// take; the owner lays out its children from them.
//
// The page is laid out from the panel's outer size (border included) but
// drawn in the coordinates of the area inside the border, as the main
// screen's page has always looked: with a border the page sits one pixel
// right and down of centre.
class TRingPanel : public QFrame
{
    Q_OBJECT
public:
    enum class Border { None, Single };

    explicit TRingPanel(QWidget *parent = nullptr);

    bool DoubleRing() const { return doubleRing_; }
    void SetDoubleRing(bool on);
    bool SmallRing() const { return smallRing_; }
    void SetSmallRing(bool on);
    // A 1-pixel black line around the panel; single by default.
    Border BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(Border style);

    // Width of the ring image (43 large, 31 small) and the page margin (22
    // large, 15 small); set at each paint, and settable like stored values.
    int LeftEdge = 43;
    int RightEdge = 22;

    // The ring image, built pixel for pixel from its table: large 43x11
    // ("RINGIMAGE") or small 31x11 ("RINGIMAGES").
    static QImage RingImage(bool small);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void PaintPage(QPainter &painter, int margin) const;

    bool doubleRing_ = false;
    bool smallRing_ = false;
    Border borderStyle_ = Border::Single;
};
