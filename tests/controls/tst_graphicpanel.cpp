#include "controls/Graphp.h"

#include "RenderForTest.h"

#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

namespace {

const QColor kLight(250, 250, 240);
const QColor kDark(70, 60, 60);
const QColor kBackground(10, 120, 200);

// A panel with its own light and dark colours, so a test sees which role a
// pixel came from.
void UseTestPalette(QWidget &widget)
{
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Light, kLight);
    palette.setColor(QPalette::Dark, kDark);
    palette.setColor(QPalette::WindowText, Qt::black);
    widget.setPalette(palette);
}

QRgb FrameColour(QChar code)
{
    switch (code.toLatin1()) {
    case 'L': return kLight.rgb();
    case 'D': return kDark.rgb();
    case 'K': return qRgb(0, 0, 0);
    }
    return kBackground.rgb();
}

} // namespace

class TestGraphicPanel : public QObject
{
    Q_OBJECT
private slots:
    void defaults();
    void frames_data();
    void frames();
    void drawBevelFrame_data();
    void drawBevelFrame();
    void caption_data();
    void caption();
    void clicks();
};

void TestGraphicPanel::defaults()
{
    TGraphicPanel panel;
    QCOMPARE(panel.size(), QSize(185, 41));
    QCOMPARE(panel.Color(), panel.palette().color(QPalette::Button));
    QCOMPARE(panel.BevelOuter(), TGraphicPanel::Bevel::Raised);
    QCOMPARE(panel.BevelInner(), TGraphicPanel::Bevel::None);
    QCOMPARE(panel.BevelWidth(), 1);
    QCOMPARE(panel.BorderWidth(), 0);
    QCOMPARE(panel.BorderStyle(), TGraphicPanel::Border::None);
    QCOMPARE(panel.Alignment(), Qt::AlignHCenter);
}

using Bevel = TGraphicPanel::Bevel;

// frames lists, from the outside in, each 1-pixel frame as its top-left and
// bottom-right colour: L light, D dark, K black, C the panel's colour.
void TestGraphicPanel::frames_data()
{
    QTest::addColumn<Bevel>("outer");
    QTest::addColumn<Bevel>("inner");
    QTest::addColumn<int>("bevelWidth");
    QTest::addColumn<int>("borderWidth");
    QTest::addColumn<bool>("single");
    QTest::addColumn<QStringList>("frames");

    QTest::newRow("plain rectangle") << Bevel::None << Bevel::None << 1 << 0 << false << QStringList{};
    QTest::newRow("raised, width 1") << Bevel::Raised << Bevel::None << 1 << 0 << false << QStringList{"LD"};
    QTest::newRow("raised, width 2") << Bevel::Raised << Bevel::None << 2 << 0 << false << QStringList{"LD", "LD"};
    QTest::newRow("lowered, width 2") << Bevel::Lowered << Bevel::None << 2 << 0 << false << QStringList{"DL", "DL"};
    QTest::newRow("single border outermost") << Bevel::Raised << Bevel::None << 1 << 0 << true
                                             << QStringList{"KK", "LD"};
    QTest::newRow("raised, band, lowered") << Bevel::Raised << Bevel::Lowered << 1 << 2 << false
                                           << QStringList{"LD", "CC", "CC", "DL"};
    QTest::newRow("single border, inner only") << Bevel::None << Bevel::Raised << 2 << 1 << true
                                               << QStringList{"KK", "CC", "LD", "LD"};
}

void TestGraphicPanel::frames()
{
    QFETCH(Bevel, outer);
    QFETCH(Bevel, inner);
    QFETCH(int, bevelWidth);
    QFETCH(int, borderWidth);
    QFETCH(bool, single);
    QFETCH(QStringList, frames);

    TGraphicPanel panel;
    UseTestPalette(panel);
    panel.resize(40, 20);
    panel.SetColor(kBackground);
    panel.SetBevelOuter(outer);
    panel.SetBevelInner(inner);
    panel.SetBevelWidth(bevelWidth);
    panel.SetBorderWidth(borderWidth);
    panel.SetBorderStyle(single ? TGraphicPanel::Border::Single : TGraphicPanel::Border::None);
    const QImage image = RenderForTest(&panel);

    // Frame k: the bottom-right colour owns its right column and bottom row
    // (so also the bottom-left and top-right corners), the top-left colour
    // the rest of its left column and top row.
    const int w = image.width();
    const int h = image.height();
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int k = std::min({x, y, w - 1 - x, h - 1 - y});
            QRgb expected = kBackground.rgb();
            if (k < frames.size()) {
                const bool bottomRight = x == w - 1 - k || y == h - 1 - k;
                expected = FrameColour(frames[k][bottomRight ? 1 : 0]);
            }
            if (image.pixel(x, y) != expected)
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) is %3, expected %4")
                                     .arg(x).arg(y).arg(image.pixel(x, y), 8, 16).arg(expected, 8, 16)));
        }
    }
}

void TestGraphicPanel::drawBevelFrame_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QRect>("inside");
    const QRect r(2, 3, 20, 10);
    QTest::newRow("width 0") << 0 << r;
    QTest::newRow("width 1") << 1 << r.adjusted(1, 1, -1, -1);
    QTest::newRow("width 3") << 3 << r.adjusted(3, 3, -3, -3);
}

void TestGraphicPanel::drawBevelFrame()
{
    QFETCH(int, width);
    QFETCH(QRect, inside);

    const QRect original(2, 3, 20, 10);
    QImage image(30, 20, QImage::Format_RGB32);
    image.fill(kUnpainted);
    QRect rect = original;
    {
        QPainter painter(&image);
        TGraphicPanel::DrawBevelFrame(painter, rect, kLight, kDark, width);
    }
    QCOMPARE(rect, inside);
    // Exactly the band between the two rectangles is drawn.
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const bool band = original.contains(x, y) && !inside.contains(x, y);
            QCOMPARE(image.pixel(x, y) != kUnpainted, band);
        }
}

void TestGraphicPanel::caption_data()
{
    QTest::addColumn<int>("alignment");
    QTest::newRow("left") << int(Qt::AlignLeft);
    QTest::newRow("centred") << int(Qt::AlignHCenter);
    QTest::newRow("right") << int(Qt::AlignRight);
}

void TestGraphicPanel::caption()
{
    QFETCH(int, alignment);

    TGraphicPanel panel;
    UseTestPalette(panel);
    panel.SetColor(Qt::white);
    panel.SetBevelOuter(Bevel::None);
    panel.SetAlignment(Qt::Alignment(alignment));
    panel.SetCaption(QStringLiteral("WWW"));
    const QImage image = RenderForTest(&panel);

    // The caption's line is as high as a "W" and centred in the panel.
    const int h = QFontMetrics(panel.font()).height();
    const int top = (41 - h) / 2;
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                ink |= QRect(x, y, 1, 1);
    QVERIFY(!ink.isEmpty());
    QVERIFY(ink.top() >= top);
    QVERIFY(ink.bottom() < top + h);
    const int centre = ink.left() + ink.width() / 2;
    if (alignment == Qt::AlignLeft)
        QVERIFY(ink.left() < 4);
    else if (alignment == Qt::AlignRight)
        QVERIFY(ink.right() > 185 - 5);
    else
        QVERIFY(qAbs(centre - 185 / 2) <= 2);
}

void TestGraphicPanel::clicks()
{
    TGraphicPanel panel;
    QSignalSpy clicked(&panel, &TGraphicPanel::clicked);
    QSignalSpy doubleClicked(&panel, &TGraphicPanel::doubleClicked);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));

    QTest::mouseClick(&panel, Qt::LeftButton, {}, QPoint(20, 20));
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(doubleClicked.count(), 0);
    QTest::mouseClick(&panel, Qt::RightButton, {}, QPoint(20, 20));
    QCOMPARE(clicked.count(), 1);
    QTest::mouseDClick(&panel, Qt::LeftButton, {}, QPoint(20, 20));
    QCOMPARE(doubleClicked.count(), 1);
}

QTEST_MAIN(TestGraphicPanel)
#include "tst_graphicpanel.moc"
