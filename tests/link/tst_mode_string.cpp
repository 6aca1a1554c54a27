#include "link/ModeString.h"

#include <QTest>

class TestModeString : public QObject {
    Q_OBJECT
private slots:
    void parse_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("baud");
        QTest::addColumn<char>("parity");
        QTest::addColumn<int>("dataBits");
        QTest::addColumn<int>("stopBits");
        QTest::addColumn<char>("flow");

        QTest::newRow("page default, blank kept")
            << "9600,N,8 ,1" << true << 9600 << 'N' << 8 << 1 << '\0';
        QTest::newRow("even parity") << "115200,E,8 ,1" << true << 115200 << 'E' << 8 << 1 << '\0';
        QTest::newRow("odd, lower case") << "1200,o,8 ,1" << true << 1200 << 'O' << 8 << 1 << '\0';
        QTest::newRow("unusual rate") << "56000,N,8 ,1" << true << 56000 << 'N' << 8 << 1 << '\0';
        QTest::newRow("nine data bits") << "9600,N,9 ,1" << false << 9600 << 'N' << 9 << 1 << '\0';
        QTest::newRow("four data bits") << "9600,N,4,1" << false << 9600 << 'N' << 4 << 1 << '\0';
        QTest::newRow("empty parity letter")
            << "9600,,8 ,1" << true << 9600 << 'E' << 8 << 1 << '\0';
        QTest::newRow("blanks everywhere")
            << "  19200 , n , 7 , 2 " << true << 19200 << 'N' << 7 << 2 << '\0';
        QTest::newRow("abbreviated rate") << "96,n,8,1" << true << 9600 << 'N' << 8 << 1 << '\0';
        QTest::newRow("rate only, classic defaults")
            << "2400" << true << 2400 << 'E' << 7 << 1 << '\0';
        QTest::newRow("110 baud takes two stop bits")
            << "11" << true << 110 << 'E' << 7 << 2 << '\0';
        QTest::newRow("device prefix")
            << "COM3: 9600,n,8,1" << true << 9600 << 'N' << 8 << 1 << '\0';
        QTest::newRow("xon/xoff") << "9600,n,8,1,x" << true << 9600 << 'N' << 8 << 1 << 'X';
        QTest::newRow("hardware handshake")
            << "9600,n,8,1,p" << true << 9600 << 'N' << 8 << 1 << 'P';
        QTest::newRow("mark and space parity")
            << "4800,m,8,1" << true << 4800 << 'M' << 8 << 1 << '\0';
        QTest::newRow("keyword form") << "baud=38400 parity=e data=8 stop=2 xon=off dtr=on rts=hs"
                                      << true << 38400 << 'E' << 8 << 2 << '\0';
        QTest::newRow("keyword form, hardware flow")
            << "baud=9600 parity=n data=8 stop=1 octs=on" << true << 9600 << 'N' << 8 << 1 << 'P';
        QTest::newRow("unknown keyword")
            << "baud=9600 speed=2" << false << 9600 << 'E' << 7 << 1 << '\0';
        QTest::newRow("bad switch value")
            << "baud=9600 xon=maybe" << false << 9600 << 'E' << 7 << 1 << '\0';
        QTest::newRow("bad parity letter")
            << "9600,X,8,1" << false << 9600 << 'E' << 7 << 1 << '\0';
        QTest::newRow("bad stop bits") << "9600,N,8,3" << false << 9600 << 'N' << 8 << 1 << '\0';
        QTest::newRow("bad flow letter")
            << "9600,N,8,1,z" << false << 9600 << 'N' << 8 << 1 << '\0';
        QTest::newRow("too many fields")
            << "9600,N,8,1,x,y" << false << 9600 << 'E' << 7 << 1 << '\0';
        QTest::newRow("empty") << "" << false << 9600 << 'E' << 7 << 1 << '\0';
        QTest::newRow("rate not a number")
            << "fast,N,8,1" << false << 9600 << 'E' << 7 << 1 << '\0';
        QTest::newRow("rate zero") << "0,N,8,1" << false << 9600 << 'E' << 7 << 1 << '\0';
        QTest::newRow("negative rate") << "-9600,N,8,1" << false << 9600 << 'E' << 7 << 1 << '\0';
        QTest::newRow("data bits not a number")
            << "9600,N,eight,1" << false << 9600 << 'N' << 7 << 1 << '\0';
    }

    void parse()
    {
        QFETCH(QString, mode);
        QFETCH(bool, valid);
        const PortIo::Settings s = ModeString::parse(mode);
        QCOMPARE(s.valid, valid);
        if (!valid)
            return; // the port refuses the whole block; its fields do not matter
        QFETCH(int, baud);
        QFETCH(char, parity);
        QFETCH(int, dataBits);
        QFETCH(int, stopBits);
        QFETCH(char, flow);
        QCOMPARE(s.baud, baud);
        QCOMPARE(s.parity, parity);
        QCOMPARE(s.dataBits, dataBits);
        QCOMPARE(s.stopBits, stopBits);
        QCOMPARE(s.flow, flow);
    }

    void oneAndAHalfStopBits()
    {
        const PortIo::Settings s = ModeString::parse(QStringLiteral("9600,N,5,1.5"));
#ifdef Q_OS_WIN
        QVERIFY(s.valid);
        QCOMPARE(s.stopBits, 3);
#else
        QVERIFY(!s.valid); // the POSIX serial drivers have no such setting
#endif
    }

    void compose()
    {
        QCOMPARE(
            ModeString::compose(QStringLiteral("9600"), QStringLiteral("N"), QStringLiteral("8 ")),
            QStringLiteral("9600,N,8 ,1"));
        QCOMPARE(ModeString::compose(QStringLiteral("1200"), QString(), QStringLiteral("9 ")),
                 QStringLiteral("1200,,9 ,1"));
    }
};

QTEST_GUILESS_MAIN(TestModeString)
#include "tst_mode_string.moc"
