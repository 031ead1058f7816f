#include "controls/Ring.h"

#include "RenderForTest.h"

#include <QtTest>

namespace {

const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kGray = qRgb(128, 128, 128);
const QRgb kWhite = qRgb(255, 255, 255);

QRgb FromCode(QChar code)
{
    switch (code.toLatin1()) {
    case 'K': return kBlack;
    case 'S': return qRgb(192, 192, 192);
    case 'G': return kGray;
    case 'W': return kWhite;
    }
    return 0;
}

// The tops of every full copy of the ring image in column x0 of the image.
QList<int> RingTops(const QImage &image, const QImage &ring, int x0, int y0)
{
    QList<int> tops;
    for (int y = y0; y + ring.height() <= image.height(); ++y)
        if (image.copy(x0, y, ring.width(), ring.height()) == ring)
            tops << y - y0;
    return tops;
}

} // namespace

class TestRingPanel : public QObject
{
    Q_OBJECT
private slots:
    void ringImage_data();
    void ringImage();
    void ringPositions_data();
    void ringPositions();
    void edgesSetAtPaint_data();
    void edgesSetAtPaint();
    void pagePixels_data();
    void pagePixels();
    void settingRingOptionsRepaints();
};

void TestRingPanel::ringImage_data()
{
    QTest::addColumn<bool>("small");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("pixels");

    const char *large[] = {
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
    const char *small[] = {
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
    for (int row = 0; row < 11; ++row) {
        QTest::addRow("RINGIMAGE row %d", row + 1) << false << row << QString::fromLatin1(large[row]);
        QTest::addRow("RINGIMAGES row %d", row + 1) << true << row << QString::fromLatin1(small[row]);
    }
}

void TestRingPanel::ringImage()
{
    QFETCH(bool, small);
    QFETCH(int, row);
    QFETCH(QString, pixels);

    const QImage image = TRingPanel::RingImage(small);
    QCOMPARE(image.size(), QSize(pixels.size(), 11));
    for (int x = 0; x < pixels.size(); ++x) {
        if (image.pixel(x, row) != FromCode(pixels[x]))
            QFAIL(qPrintable(QStringLiteral("pixel %1 of row %2 is %3, expected %4")
                                 .arg(x).arg(row + 1).arg(image.pixel(x, row), 8, 16).arg(pixels[x])));
    }
}

void TestRingPanel::ringPositions_data()
{
    QTest::addColumn<bool>("small");
    QTest::addColumn<bool>("doubled");
    QTest::addColumn<bool>("border");
    QTest::addColumn<int>("height");
    QTest::addColumn<QList<int>>("tops");

    const QList<int> single{20, 70, 120, 170, 220};
    const QList<int> doubled{20, 35, 70, 85, 120, 135, 170, 185, 220, 235};
    QTest::newRow("large, 289 high") << false << false << true << 289 << single;
    QTest::newRow("large doubled, 289 high") << false << true << true << 289 << doubled;
    QTest::newRow("small doubled, 289 high") << true << true << true << 289 << doubled;
    QTest::newRow("small, no border, 289 high") << true << false << false << 289 << single;
    QTest::newRow("310 high reaches 270") << false << false << true << 310 << QList<int>{20, 70, 120, 170, 220, 270};
    QTest::newRow("59 high has none") << false << true << true << 59 << QList<int>{};
    QTest::newRow("60 high has one") << false << false << true << 60 << QList<int>{20};
}

void TestRingPanel::ringPositions()
{
    QFETCH(bool, small);
    QFETCH(bool, doubled);
    QFETCH(bool, border);
    QFETCH(int, height);
    QFETCH(QList<int>, tops);

    TRingPanel panel;
    panel.SetSmallRing(small);
    panel.SetDoubleRing(doubled);
    panel.SetBorderStyle(border ? TRingPanel::Border::Single : TRingPanel::Border::None);
    panel.resize(300, height);
    const int inset = border ? 1 : 0;
    const QImage image = RenderForTest(&panel);
    QCOMPARE(RingTops(image, TRingPanel::RingImage(small), inset, inset), tops);
}

void TestRingPanel::edgesSetAtPaint_data()
{
    QTest::addColumn<bool>("small");
    QTest::addColumn<int>("leftEdge");
    QTest::addColumn<int>("rightEdge");
    QTest::newRow("large") << false << 43 << 22;
    QTest::newRow("small") << true << 31 << 15;
}

void TestRingPanel::edgesSetAtPaint()
{
    QFETCH(bool, small);
    QFETCH(int, leftEdge);
    QFETCH(int, rightEdge);

    TRingPanel panel;
    panel.resize(200, 120);
    panel.SetSmallRing(small);
    panel.LeftEdge = 7;
    panel.RightEdge = 9;
    RenderForTest(&panel);
    QCOMPARE(panel.LeftEdge, leftEdge);
    QCOMPARE(panel.RightEdge, rightEdge);
}

void TestRingPanel::pagePixels_data()
{
    QTest::addColumn<bool>("small");
    QTest::addColumn<bool>("border");
    QTest::newRow("large, single border") << false << true;
    QTest::newRow("small, single border") << true << true;
    QTest::newRow("large, no border") << false << false;
}

void TestRingPanel::pagePixels()
{
    QFETCH(bool, small);
    QFETCH(bool, border);

    const int w = 300;
    const int h = 200;
    TRingPanel panel;
    panel.SetSmallRing(small);
    panel.SetBorderStyle(border ? TRingPanel::Border::Single : TRingPanel::Border::None);
    panel.resize(w, h);
    const QImage image = RenderForTest(&panel);

    // The page is laid out from the outer size but drawn from the inner
    // origin, so with a border it sits one pixel right and down.
    const int in = border ? 1 : 0;
    const int m = small ? 15 : 22;
    auto at = [&](int x, int y) { return image.pixel(in + x, in + y); };
    const int mid = 100; // a row between the rings
    const int right = w - m - 1;
    const int bottom = h - 6;

    QCOMPARE(at(m - 1, mid), kGray);
    QCOMPARE(at(m, mid), kBlack);
    QCOMPARE(at(m + 1, mid), kWhite);
    QCOMPARE(at(right - 1, mid), kWhite);
    QCOMPARE(at(right, mid), kBlack);
    QCOMPARE(at(right + 1, mid), kGray);
    QCOMPARE(at(150, 4), kGray);
    QCOMPARE(at(150, 5), kBlack);
    QCOMPARE(at(150, 6), kWhite);
    QCOMPARE(at(150, bottom - 1), kWhite);
    QCOMPARE(at(150, bottom), kBlack);
    QCOMPARE(at(150, bottom + 1), kGray);

    // Rounded corners: the rectangle's corner pixels are ground, the outline
    // meets the straight edges halfway along the 25-pixel corner.
    QCOMPARE(at(m, 5), kGray);
    QCOMPARE(at(right, 5), kGray);
    QCOMPARE(at(m, bottom), kGray);
    QCOMPARE(at(right, bottom), kGray);
    QCOMPARE(at(m + 12, 5), kBlack);
    QCOMPARE(at(m, 5 + 12), kBlack);
    QCOMPARE(at(right - 12, bottom), kBlack);
    QCOMPARE(at(right, bottom - 12), kBlack);
    QCOMPARE(at(m + 6, 5 + 6), kWhite);
    QCOMPARE(at(right - 6, bottom - 6), kWhite);

    QCOMPARE(image.pixel(0, 0), border ? kBlack : kGray);
    QCOMPARE(image.pixel(w - 1, h - 1), border ? kBlack : kGray);
    QCOMPARE(image.pixel(w - 1, mid), border ? kBlack : kGray);
}

void TestRingPanel::settingRingOptionsRepaints()
{
    TRingPanel panel;
    panel.resize(200, 100);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    panel.LeftEdge = 0;
    panel.SetSmallRing(true);
    QTRY_COMPARE(panel.LeftEdge, 31);
    panel.LeftEdge = 0;
    panel.SetDoubleRing(true);
    QTRY_COMPARE(panel.LeftEdge, 31);
}

QTEST_MAIN(TestRingPanel)
#include "tst_ringpanel.moc"
