#include "link/Crc.h"
#include "link/Frame.h"

#include <QRandomGenerator>
#include <QTest>

namespace {
// CRC-16/MODBUS one bit at a time, to hold the tables against.
quint16 bitwiseCrc(const QByteArray &bytes)
{
    quint16 crc = 0xFFFF;
    for (char c : bytes) {
        crc ^= quint8(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? quint16((crc >> 1) ^ 0xA001) : quint16(crc >> 1);
    }
    return crc;
}
} // namespace

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
        QCOMPARE(crc.bytes[0], quint8(0x37)); // element 0 is the low byte
    }

    void workedExample()
    {
        const QByteArray frame = Frame::build(0x5C, 0xFF, 0x10, 0, 1, {});
        QCOMPARE(frame.toHex(' '), QByteArray("5c ff 10 00 01 00 00 17 84"));
        QVERIFY(Frame::crcValid(frame));
    }

    void tablesMatchTheBitwiseComputation_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("one byte") << QByteArray(1, '\x00');
        QTest::newRow("0xFF") << QByteArray(1, '\xFF');
        QByteArray all;
        for (int i = 0; i < 256; ++i)
            all.append(char(i));
        QTest::newRow("every byte value") << all;
        QByteArray random(1000, '\0');
        QRandomGenerator gen(12345);
        for (char &c : random)
            c = char(gen.bounded(256));
        QTest::newRow("random") << random;
    }
    void tablesMatchTheBitwiseComputation()
    {
        QFETCH(QByteArray, bytes);
        QCOMPARE(computeCrc(bytes, 0, bytes.size() - 1).value(), bitwiseCrc(bytes));
    }

    void rangeIsInclusive()
    {
        const QByteArray bytes("xx123456789yy");
        QCOMPARE(computeCrc(bytes, 2, 10).value(), quint16(0x4B37));
    }

    void frameLengths_data()
    {
        QTest::addColumn<int>("dataLength");
        QTest::addColumn<int>("size");
        QTest::newRow("no data") << 0 << 9;
        QTest::newRow("upgrade start frame") << 5 << 14;
        QTest::newRow("largest request, an upgrade block") << 130 << 139;
        QTest::newRow("length 0x0102") << 258 << 267;
        QTest::newRow("largest response") << 0x09FF << 0x09FF + 9;
    }
    void frameLengths()
    {
        QFETCH(int, dataLength);
        QFETCH(int, size);
        QByteArray data(dataLength, '\0');
        for (int i = 0; i < dataLength; ++i)
            data[i] = char(i * 7);
        const QByteArray frame = Frame::build(0x5D, 0x01, 0x10, 1, 2, data);
        QCOMPARE(frame.size(), size);
        QCOMPARE(int(Frame::dataLength(frame)), dataLength);
        QCOMPARE(quint8(frame[5]), quint8(dataLength >> 8));
        QCOMPARE(quint8(frame[6]), quint8(dataLength));
        QCOMPARE(frame.mid(Frame::dataOffset, dataLength), data);
        const quint16 crc = bitwiseCrc(frame.mid(1, 6 + dataLength));
        QCOMPARE(quint8(frame[7 + dataLength]), quint8(crc >> 8));
        QCOMPARE(quint8(frame[8 + dataLength]), quint8(crc & 0xFF));
        QVERIFY(Frame::crcValid(frame));
        QByteArray broken = frame;
        broken[3] = char(broken[3] ^ 0x40);
        QVERIFY(!Frame::crcValid(broken));
        QVERIFY(!Frame::crcValid(frame.left(frame.size() - 1)));
    }
};

QTEST_GUILESS_MAIN(TestCrc)
#include "tst_crc.moc"
