#include "responses/FieldDecoding.h"
#include "responses/FrameError.h"

#include <QTest>

// The word sits at positions 7-8 of a frame padded to the usual 9 + 2 bytes.
static QByteArray frameWithWord(quint16 word)
{
    QByteArray f(11, '\0');
    f[7] = char(word >> 8);
    f[8] = char(word & 0xFF);
    return f;
}

class TestDecodeWord : public QObject {
    Q_OBJECT
private slots:
    void decodes_data()
    {
        QTest::addColumn<int>("word");
        QTest::addColumn<double>("scale");
        QTest::addColumn<int>("signedMode");
        QTest::addColumn<QString>("text");

        QTest::newRow("zero unsigned") << 0x0000 << 1.0 << 0 << "0";
        QTest::newRow("zero signed") << 0x0000 << 1.0 << 1 << "0";
        QTest::newRow("ffff unsigned") << 0xFFFF << 1.0 << 0 << "65535";
        QTest::newRow("ffff signed") << 0xFFFF << 1.0 << 1 << "-1";
        QTest::newRow("8000 unsigned tenths") << 0x8000 << 0.1 << 0 << "3276.8";
        QTest::newRow("8000 signed tenths") << 0x8000 << 0.1 << 1 << "-3276.8";
        QTest::newRow("7fff signed stays positive") << 0x7FFF << 1.0 << 1 << "32767";
        QTest::newRow("one millivolt") << 0x0001 << 0.001 << 0 << "0.001";
        QTest::newRow("fffe hundredths signed") << 0xFFFE << 0.01 << 1 << "-0.02";
        QTest::newRow("10000 hundredths no decimals") << 0x2710 << 0.01 << 0 << "100";
        QTest::newRow("2400 times ten") << 0x0960 << 10.0 << 0 << "24000";
        QTest::newRow("1234 hundredths") << 1234 << 0.01 << 0 << "12.34";
        QTest::newRow("1200 hundredths") << 1200 << 0.01 << 0 << "12";
        QTest::newRow("3300 thousandths noise removed") << 3300 << 0.001 << 0 << "3.3";
        QTest::newRow("half gets leading zero") << 5 << 0.1 << 0 << "0.5";
        QTest::newRow("negative half gets leading zero") << 0xFFFB << 0.1 << 1 << "-0.5";
        QTest::newRow("current ff38") << 0xFF38 << 0.01 << 1 << "-2";
        QTest::newRow("current 00c8") << 0x00C8 << 0.01 << 1 << "2";
        QTest::newRow("temperature ff9c") << 0xFF9C << 0.1 << 1 << "-10";
        QTest::newRow("version 0x0069") << 0x0069 << 0.01 << 0 << "1.05";
        QTest::newRow("version 0x006e") << 0x006E << 0.01 << 0 << "1.1";
        QTest::newRow("fifth decimal kept") << 1 << 0.00001 << 0 << "0.00001";
        QTest::newRow("below fifth decimal rounds away") << 4 << 0.000001 << 0 << "0";
        QTest::newRow("above half of fifth decimal rounds up") << 6 << 0.000001 << 0 << "0.00001";
        QTest::newRow("tiny negative is zero, not -0") << 0xFFFF << 0.000001 << 1 << "0";
        QTest::newRow("negated scale of zero is 0") << 0x0000 << -0.01 << 1 << "0";
        QTest::newRow("negated scale fe0c") << 0xFE0C << -0.01 << 1 << "5";
        QTest::newRow("negated scale 01f4") << 0x01F4 << -0.01 << 1 << "-5";
    }
    void decodes()
    {
        QFETCH(int, word);
        QFETCH(double, scale);
        QFETCH(int, signedMode);
        QFETCH(QString, text);
        QCOMPARE(decodeWord(frameWithWord(quint16(word)), 7, scale, 0, quint8(signedMode)), text);
    }

    void offsetIsAddedBeforeScaling()
    {
        QCOMPARE(decodeWord(frameWithWord(100), 7, 0.1, 20, 0), QStringLiteral("12"));
    }

    void roundsHalvesToEven_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        // Values whose scaled form is an exact binary half of 1e-5.
        QTest::newRow("0.000005 to even 0") << 0.000005 << "0";
        QTest::newRow("0.000015 up to even 2") << 0.000015 << "0.00002";
        QTest::newRow("0.000025 down to even 2") << 0.000025 << "0.00002";
        QTest::newRow("0.000045 down to even 4") << 0.000045 << "0.00004";
        QTest::newRow("-0.000055 to even -6") << -0.000055 << "-0.00006";
        QTest::newRow("large integer") << 655350.0 << "655350";
    }
    void roundsHalvesToEven()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(decimalText(value), text);
    }

    void positionOutsideFrameAborts_data()
    {
        QTest::addColumn<int>("index");
        QTest::newRow("high byte is the last byte") << 10;
        QTest::newRow("both past the end") << 11;
        QTest::newRow("negative") << -1;
    }
    void positionOutsideFrameAborts()
    {
        QFETCH(int, index);
        QVERIFY_THROWS_EXCEPTION(FrameError, decodeWord(frameWithWord(1), index, 1));
    }

    void crcBytesAreReadLikeData()
    {
        // Position 9-10 is past two data bytes but still inside the frame.
        QByteArray f = frameWithWord(0);
        f[9] = char(0x12);
        f[10] = char(0x34);
        QCOMPARE(decodeWord(f, 9, 1), QStringLiteral("4660"));
    }
};

QTEST_GUILESS_MAIN(TestDecodeWord)
#include "tst_decode_word.moc"
