#include "store/PasswordCodec.h"

#include <QTest>

class TestPasswordCodec : public QObject
{
    Q_OBJECT

private:
    static QList<int> codes(const QString &text)
    {
        QList<int> out;
        for (const QChar c : text)
            out << c.unicode();
        return out;
    }

private slots:
    void encodes_data()
    {
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QList<int>>("stored");
        QTest::newRow("abc") << "abc" << QList<int>{194, 201, 196};
        QTest::newRow("empty") << "" << QList<int>{};
        QTest::newRow("one letter") << "A" << QList<int>{164};
        QTest::newRow("spaces and digits") << " 9 9" << QList<int>{128, 161, 128, 161};
        QTest::newRow("wraps past 255") << QString(QChar(0xFF)) << QList<int>{98};
    }
    void encodes()
    {
        QFETCH(QString, plain);
        QFETCH(QList<int>, stored);
        QCOMPARE(codes(EncryptString(plain)), stored);
        QCOMPARE(Decryptstring(EncryptString(plain)), plain);
    }

    // Every allowed password of up to 8 characters comes back unchanged, and
    // its stored form stays within 124..230, so QY.INI never sees a blank, an
    // "=" or a line break in it.
    void allowedPasswordsRoundTrip()
    {
        const QString allowed = QStringLiteral(
            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 ");
        for (int length = 1; length <= 8; ++length) {
            for (int i = 0; i < allowed.size(); ++i) {
                QString text;
                for (int p = 0; p < length; ++p)
                    text += allowed.at((i + p * 17) % allowed.size());
                const QString stored = EncryptString(text);
                QCOMPARE(stored.size(), text.size());
                for (const QChar c : stored)
                    QVERIFY2(c.unicode() >= 124 && c.unicode() <= 230, qPrintable(text));
                QCOMPARE(Decryptstring(stored), text);
            }
        }
    }

    void anyCodesRoundTrip()
    {
        QString text;
        for (int code = 0; code < 256; ++code)
            text += QChar(code);
        QCOMPARE(Decryptstring(EncryptString(text)), text);
        QCOMPARE(Decryptstring(EncryptString(text.left(37))), text.left(37));
    }
};

QTEST_MAIN(TestPasswordCodec)
#include "tst_passwordcodec.moc"
