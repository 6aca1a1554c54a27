#include "link/Crc.h"
#include "link/Frame.h"

#include <QTest>

class TestCrc : public QObject {
    Q_OBJECT
private slots:
    void checkValue()
    {
        const QByteArray digits("123456789");
        const CrcResult crc = computeCrc(digits, 0, digits.size() - 1);
        QCOMPARE(crc.value(), quint16(0x4B37));
        QCOMPARE(crc.high(), quint8(0x4B));
        QCOMPARE(crc.low(), quint8(0x37));
    }

    void workedExample()
    {
        const QByteArray frame = Frame::build(0x5C, 0xFF, 0x10, 0, 1, {});
        QCOMPARE(frame.toHex(' '), QByteArray("5c ff 10 00 01 00 00 17 84"));
        QVERIFY(Frame::crcValid(frame));
    }
};

QTEST_GUILESS_MAIN(TestCrc)
#include "tst_crc.moc"
