#include "SimTestSupport.h"

#include "sim/PackItems.h"
#include "sim/RequestAssembler.h"
#include "sim/WireBytes.h"

#include <QTest>

using namespace SimTest;

class TestSimResponder : public QObject {
    Q_OBJECT
private slots:
    void readAnswersHaveTheirLayout_data();
    void readAnswersHaveTheirLayout();
    void unansweredRequests_data();
    void unansweredRequests();
    void writesAreAcknowledgedAndReadBack_data();
    void writesAreAcknowledgedAndReadBack();
    void capacityWriteMovesThePack();
    void clockKeepsRunningFromTheWrittenTime();
    void serialSettingsAreKeptPerUsart();
    void serialSettingsOfTheLineUsartSwitchTheLine();
    void controlCommands_data();
    void controlCommands();
    void sleepStopsLiveReadsUntilWake_data();
    void sleepStopsLiveReadsUntilWake();
    void liveDataIsConsistent();
    void cellsAndSensorsBeyondTheCountAreEmpty();
    void storedRecordsAreNumberedByIndex();
    void firmwareTransfer_data();
    void firmwareTransfer();
    void firmwareEndWithAMissingBlockIsRefused();
    void firmwareBlocksOutsideAnUpgradeAreIgnored();
    void abandonedUpgradeRestoresTheLine();
    void assemblerFindsFrames_data();
    void assemblerFindsFrames();
    void assemblerDropsAStalePartialFrame();
};

void TestSimResponder::readAnswersHaveTheirLayout_data()
{
    addReadItemRows();
}

void TestSimResponder::readAnswersHaveTheirLayout()
{
    QFETCH(int, item);
    QFETCH(QByteArray, requestData);
    QFETCH(int, length);

    Bench bench;
    const Responder::Outcome out = bench.send(0, quint8(item), requestData);
    QVERIFY(out.forUs);
    QByteArray data;
    const QString error = checkReply(out.reply, 0, quint8(item), &data);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(data.size(), length);
    QCOMPARE(out.reply.size(), Frame::overhead + length);
}

void TestSimResponder::unansweredRequests_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<bool>("forUs");

    QTest::newRow("unknown read item") << request(0, 99) << true;
    QTest::newRow("read of the control item") << request(0, 60) << true;
    QTest::newRow("read of the upgrade item") << request(0, 250) << true;
    QTest::newRow("write of live data") << request(1, 6, QByteArray(56, '\0')) << true;
    QTest::newRow("write of the record count") << request(1, 71, QByteArray(4, '\0')) << true;
    QTest::newRow("unknown write item") << request(1, 200, QByteArray(2, '\0')) << true;
    QTest::newRow("short project number") << request(1, 1, QByteArray(23, 'A')) << true;
    QTest::newRow("long parameter row") << request(1, 40, QByteArray(15, '\0')) << true;
    QTest::newRow("control of 4 bytes") << request(1, 60, QByteArray(4, '\xFF')) << true;
    QTest::newRow("clock of 5 bytes")
        << request(1, 18, QByteArray::fromHex("180309070500").left(5)) << true;
    QTest::newRow("clock with month 13")
        << request(1, 18, QByteArray::fromHex("180d09070500")) << true;
    QTest::newRow("zero calibration with data") << request(1, 14, QByteArray(2, '\0')) << true;
    QTest::newRow("record index beyond the history")
        << request(0, 70, QByteArray::fromHex("0000000a00000001")) << true;
    QTest::newRow("record index -1 as the host wraps it")
        << request(0, 70, QByteArray::fromHex("0000ffff00000001")) << true;
    QTest::newRow("record request without index") << request(0, 70, QByteArray(2, '\0')) << true;
    QTest::newRow("other address") << request(0, 1, {}, 3) << false;
    QTest::newRow("other protocol") << request(0, 1, {}, address, 17) << false;
}

void TestSimResponder::unansweredRequests()
{
    QFETCH(QByteArray, request);
    QFETCH(bool, forUs);

    Bench bench;
    const Responder::Outcome out = bench.responder.handle(request, 0);
    QCOMPARE(out.forUs, forUs);
    QVERIFY2(out.reply.isEmpty(), out.reply.toHex(' ').constData());
    QVERIFY(!out.lineAfter);
    QVERIFY(!out.note.isEmpty());
}

void TestSimResponder::writesAreAcknowledgedAndReadBack_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<QByteArray>("data");

    QTest::newRow("project number") << 1 << WireBytes().text("PN-0815", 24).bytes();
    QTest::newRow("model") << 2 << WireBytes().text("MODEL X", 24).bytes();
    QTest::newRow("battery id")
        << 3 << WireBytes().text("ID 1234567890123456789012345678901", 32).bytes();
    QTest::newRow("custom text") << 19 << WireBytes().text("\xC4rger", 32).bytes();
    QTest::newRow("network") << 125
                             << WireBytes().text("bms.example.org", 40).text("8080", 10).bytes();
    QTest::newRow("dates and batch") << 10 << QByteArray::fromHex("150305160b1e0a1b2c3d00000000");
    QTest::newRow("passive balancing") << 12
                                       << QByteArray::fromHex("0001"
                                                              "0d7a"
                                                              "0014"
                                                              "0d48");
    QTest::newRow("counts") << 11 << WireBytes().word(8).word(4).word(3).bytes();
    QTest::newRow("sampling resistor") << 17 << WireBytes().word(125).bytes();
    QTest::newRow("charge handshake") << 21 << QByteArray(1, '\2');
    QTest::newRow("custom selection") << 22 << QByteArray(1, '\1');
    QTest::newRow("current limiting")
        << 23 << WireBytes().byte(7).byte(1).byte(2).word(-5000).word(60).bytes();
    QTest::newRow("pre-discharge") << 130 << WireBytes().byte(0).word(250).bytes();
    QTest::newRow("active balancing")
        << 24
        << QByteArray::fromHex("01 0d48 0d16 0032 000a 0e10 00 0c80 0c4e 0050 0014 0e10 01 0ce4 "
                               "0cb2 001e 000a 1c20");
    QTest::newRow("short circuit") << 113 << QByteArray::fromHex("0f00");
    QTest::newRow("row 0 Cell_OV")
        << 40 << QByteArray::fromHex("109a 0d48 0e10 0064 0001 01f4 0000");
    QTest::newRow("row 7 Charge_OT negative")
        << 47 << QByteArray::fromHex("ff9c ffce 0000 0064 0000 0064 0001");
    QTest::newRow("row 16 Cell_DIFV")
        << 56 << QByteArray::fromHex("01f4 012c 00c8 01f4 0001 0064 0001");
}

void TestSimResponder::writesAreAcknowledgedAndReadBack()
{
    QFETCH(int, item);
    QFETCH(QByteArray, data);

    Bench bench;
    QByteArray ackData;
    QString error = checkReply(bench.send(1, quint8(item), data).reply, 1, quint8(item), &ackData);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(ackData.isEmpty());

    QByteArray readBack;
    error = checkReply(bench.send(0, quint8(item)).reply, 0, quint8(item), &readBack);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(readBack.toHex(' '), data.toHex(' '));
}

void TestSimResponder::capacityWriteMovesThePack()
{
    Bench bench;
    const QByteArray capacity =
        WireBytes().word(455).word(321).word(28000).word(27150).word(2000).bytes();
    QVERIFY(checkReply(bench.send(1, PackItem::capacity, capacity).reply, 1, PackItem::capacity)
                .isEmpty());

    QByteArray data;
    QVERIFY(checkReply(bench.send(0, PackItem::capacity).reply, 0, PackItem::capacity, &data)
                .isEmpty());
    QCOMPARE(data.toHex(' '), capacity.toHex(' '));

    // The live data follows: SOC, cycles, full capacity, and SOH from the
    // cycles against the 80 % attenuation cycles.
    QVERIFY(checkReply(bench.send(0, PackItem::live).reply, 0, PackItem::live, &data).isEmpty());
    QCOMPARE(word(data, 4), 455);
    QCOMPARE(word(data, 36), 27150);
    QCOMPARE(word(data, 38), 321);
    QCOMPARE(word(data, 6), qRound(1000 - 200.0 * 321 / 2000));
}

void TestSimResponder::clockKeepsRunningFromTheWrittenTime()
{
    Bench bench;
    QByteArray data;
    QVERIFY(checkReply(bench.send(0, PackItem::clock, {}, 0).reply, 0, PackItem::clock, &data)
                .isEmpty());
    QCOMPARE(data.toHex(' '), QByteArray("18 05 07 09 03 00"));

    QVERIFY(checkReply(bench
                           .send(1, PackItem::clock,
                                 QByteArray::fromHex("1803090705"
                                                     "00"),
                                 1000)
                           .reply,
                       1, PackItem::clock)
                .isEmpty());
    QVERIFY(checkReply(bench.send(0, PackItem::clock, {}, 1000).reply, 0, PackItem::clock, &data)
                .isEmpty());
    QCOMPARE(data.toHex(' '), QByteArray("18 03 09 07 05 00"));
    // 61.5 s later (the calendar runs in real time even when the battery is
    // frozen).
    QVERIFY(checkReply(bench.send(0, PackItem::clock, {}, 62500).reply, 0, PackItem::clock, &data)
                .isEmpty());
    QCOMPARE(data.toHex(' '), QByteArray("18 03 09 07 06 01"));
}

void TestSimResponder::serialSettingsAreKeptPerUsart()
{
    Bench bench;
    QByteArray data;
    QVERIFY(checkReply(bench.send(0, PackItem::serialSettings, QByteArray(1, '\2')).reply, 0,
                       PackItem::serialSettings, &data)
                .isEmpty());
    QCOMPARE(data.toHex(' '), QByteArray("02 03 c0 00"));

    const QByteArray usart2 = QByteArray::fromHex("022d0001");
    QVERIFY(checkReply(bench.send(1, PackItem::serialSettings, usart2).reply, 1,
                       PackItem::serialSettings)
                .isEmpty());
    QVERIFY(checkReply(bench.send(0, PackItem::serialSettings, QByteArray(1, '\2')).reply, 0,
                       PackItem::serialSettings, &data)
                .isEmpty());
    QCOMPARE(data.toHex(' '), usart2.toHex(' '));
    QVERIFY(checkReply(bench.send(0, PackItem::serialSettings, QByteArray(1, '\0')).reply, 0,
                       PackItem::serialSettings, &data)
                .isEmpty());
    QCOMPARE(data.toHex(' '), QByteArray("00 03 c0 00"));
}

void TestSimResponder::serialSettingsOfTheLineUsartSwitchTheLine()
{
    Responder::Options options;
    options.lineUsart = 1;
    Bench bench(frozenPack(), 10, options);
    // Another USART: nothing changes on the line.
    QVERIFY(!bench.send(1, PackItem::serialSettings, QByteArray::fromHex("00076c02")).lineAfter);
    const Responder::Outcome out =
        bench.send(1, PackItem::serialSettings, QByteArray::fromHex("01076c02"));
    QVERIFY(checkReply(out.reply, 1, PackItem::serialSettings).isEmpty());
    QVERIFY(out.lineAfter);
    QCOMPARE(out.lineAfter->toString(), QStringLiteral("19000 8O1"));
    QCOMPARE(bench.responder.normalLine().toString(), QStringLiteral("19000 8O1"));
}

void TestSimResponder::controlCommands_data()
{
    QTest::addColumn<QList<QByteArray>>("commands");
    QTest::addColumn<int>("state1Mask"); // charge/discharge forced off bits
    QTest::addColumn<int>("state2Mask"); // MOS bits

    const QByteArray chargeOff = QByteArray::fromHex("00ffffffff");
    const QByteArray chargeOn = QByteArray::fromHex("01ffffffff");
    const QByteArray dischargeOff = QByteArray::fromHex("ff00ffffff");
    const QByteArray dischargeOn = QByteArray::fromHex("ff01ffffff");
    const QByteArray reset = QByteArray::fromHex("ffffff01ff");
    const QByteArray wake = QByteArray::fromHex("ffffffffff");

    QTest::newRow("as delivered") << QList<QByteArray>{wake} << 0x00 << 0x03;
    QTest::newRow("charge MOS off") << QList<QByteArray>{chargeOff} << 0x40 << 0x01;
    QTest::newRow("discharge MOS off") << QList<QByteArray>{dischargeOff} << 0x20 << 0x02;
    QTest::newRow("both off") << QList<QByteArray>{chargeOff, dischargeOff} << 0x60 << 0x00;
    QTest::newRow("charge off and on again")
        << QList<QByteArray>{chargeOff, chargeOn} << 0x00 << 0x03;
    QTest::newRow("discharge off, then on with pre-discharge pending")
        << QList<QByteArray>{dischargeOff, dischargeOn} << 0x00 << 0x06;
    QTest::newRow("reset clears forced off")
        << QList<QByteArray>{chargeOff, dischargeOff, reset} << 0x00 << 0x06;
}

void TestSimResponder::controlCommands()
{
    QFETCH(QList<QByteArray>, commands);
    QFETCH(int, state1Mask);
    QFETCH(int, state2Mask);

    Bench bench;
    for (const QByteArray &c : commands)
        QVERIFY(
            checkReply(bench.send(1, PackItem::control, c).reply, 1, PackItem::control).isEmpty());
    QByteArray data;
    QVERIFY(checkReply(bench.send(0, PackItem::live).reply, 0, PackItem::live, &data).isEmpty());
    QCOMPARE(quint8(data[50]) & 0x60, state1Mask);
    QCOMPARE(quint8(data[51]) & 0x07, state2Mask);
}

void TestSimResponder::sleepStopsLiveReadsUntilWake_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("wake");
    QTest::newRow("sleep, wake") << QByteArray::fromHex("ffff01ffff")
                                 << QByteArray::fromHex("ffffffffff");
    QTest::newRow("storage, wake")
        << QByteArray::fromHex("ffffffff01") << QByteArray::fromHex("ffffffffff");
    QTest::newRow("sleep, reset") << QByteArray::fromHex("ffff01ffff")
                                  << QByteArray::fromHex("ffffff01ff");
    QTest::newRow("storage, storage off")
        << QByteArray::fromHex("ffffffff01") << QByteArray::fromHex("ffffffff00");
}

void TestSimResponder::sleepStopsLiveReadsUntilWake()
{
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, wake);

    Bench bench;
    QVERIFY(checkReply(bench.send(1, PackItem::control, command).reply, 1, PackItem::control)
                .isEmpty());
    for (quint8 item : {1, 2, 3, 4, 5, 6, 7, 8, 9, 19})
        QVERIFY2(bench.send(0, item).reply.isEmpty(), qPrintable(QString::number(item)));
    // Settings and the history still answer; so does the next control frame.
    QVERIFY(checkReply(bench.send(0, PackItem::counts).reply, 0, PackItem::counts).isEmpty());
    QVERIFY(
        checkReply(bench.send(0, PackItem::recordCount).reply, 0, PackItem::recordCount).isEmpty());
    QVERIFY(
        checkReply(bench.send(1, PackItem::control, wake).reply, 1, PackItem::control).isEmpty());
    QVERIFY(checkReply(bench.send(0, PackItem::live).reply, 0, PackItem::live).isEmpty());
}

void TestSimResponder::liveDataIsConsistent()
{
    Bench bench(frozenPack(-12.34));
    QByteArray live, cells, temps;
    QVERIFY(checkReply(bench.send(0, PackItem::live).reply, 0, PackItem::live, &live).isEmpty());
    QVERIFY(
        checkReply(bench.send(0, PackItem::cellVoltages).reply, 0, PackItem::cellVoltages, &cells)
            .isEmpty());
    QVERIFY(
        checkReply(bench.send(0, PackItem::temperatures).reply, 0, PackItem::temperatures, &temps)
            .isEmpty());

    QCOMPARE(word(cells, 0), 16);
    int sum = 0, maxMv = 0, minMv = 100000, maxNo = 0, minNo = 0;
    for (int i = 0; i < 16; ++i) {
        const int mv = word(cells, 2 + 2 * i);
        QVERIFY2(mv > 2500 && mv < 3700, qPrintable(QString::number(mv)));
        sum += mv;
        if (mv > maxMv) {
            maxMv = mv;
            maxNo = i + 1;
        }
        if (mv < minMv) {
            minMv = mv;
            minNo = i + 1;
        }
    }
    QCOMPARE(qint16(word(live, 2)), qint16(-1234));
    QVERIFY(qAbs(word(live, 0) - sum / 10) <= 1); // total in 10 mV
    QCOMPARE(word(live, 8), maxMv);
    QCOMPARE(word(live, 10), maxNo);
    QCOMPARE(word(live, 12), minMv);
    QCOMPARE(word(live, 14), minNo);
    QCOMPARE(word(live, 16), maxMv - minMv);
    QVERIFY(qAbs(word(live, 34) - sum / 16) <= 1);

    QCOMPARE(word(temps, 0), 4);
    int maxT = -10000, minT = 10000;
    for (int j = 0; j < 4; ++j) {
        const int t = qint16(word(temps, 2 + 2 * j));
        maxT = qMax(maxT, t);
        minT = qMin(minT, t);
    }
    QCOMPARE(qint16(word(live, 18)), qint16(maxT));
    QCOMPARE(qint16(word(live, 22)), qint16(minT));
    QCOMPARE(qint16(word(live, 26)), qint16(maxT - minT));
    // Discharging: working state bit 2, load connected, both MOS on.
    QCOMPARE(quint8(live[50]) & 0x06, 0x04);
    QCOMPARE(quint8(live[51]) & 0x63, 0x43);
}

void TestSimResponder::cellsAndSensorsBeyondTheCountAreEmpty()
{
    PackModel::Config config = frozenPack();
    config.cells = 8;
    config.sensors = 3;
    Bench bench(config);
    QByteArray cells, temps;
    QVERIFY(
        checkReply(bench.send(0, PackItem::cellVoltages).reply, 0, PackItem::cellVoltages, &cells)
            .isEmpty());
    QVERIFY(
        checkReply(bench.send(0, PackItem::temperatures).reply, 0, PackItem::temperatures, &temps)
            .isEmpty());
    QCOMPARE(word(cells, 0), 8);
    QCOMPARE(word(temps, 0), 3);
    for (int i = 0; i < 32; ++i)
        QCOMPARE(word(cells, 2 + 2 * i) != 0, i < 8);
    for (int j = 0; j < 12; ++j)
        QCOMPARE(word(temps, 2 + 2 * j) != 0, j < 3);

    // A count written later changes what the pack monitors.
    QVERIFY(checkReply(
                bench.send(1, PackItem::counts, WireBytes().word(5).word(5).word(2).bytes()).reply,
                1, PackItem::counts)
                .isEmpty());
    QVERIFY(
        checkReply(bench.send(0, PackItem::cellVoltages).reply, 0, PackItem::cellVoltages, &cells)
            .isEmpty());
    QCOMPARE(word(cells, 0), 5);
    QCOMPARE(word(cells, 2 + 2 * 5), 0);
    QVERIFY(word(cells, 2 + 2 * 4) != 0);
}

void TestSimResponder::storedRecordsAreNumberedByIndex()
{
    Bench bench(frozenPack(), 25);
    QByteArray data;
    QVERIFY(checkReply(bench.send(0, PackItem::recordCount).reply, 0, PackItem::recordCount, &data)
                .isEmpty());
    QCOMPARE(word(data, 2), 25);

    QDateTime previous;
    for (int index = 0; index < 25; ++index) {
        const QByteArray request = WireBytes().dword(quint32(index)).dword(1).bytes();
        QVERIFY(
            checkReply(bench.send(0, PackItem::record, request).reply, 0, PackItem::record, &data)
                .isEmpty());
        QCOMPARE(word(data, 2), index + 1);
        const QDateTime time(QDate(2000 + quint8(data[6]), quint8(data[7]), quint8(data[8])),
                             QTime(quint8(data[9]), quint8(data[10]), quint8(data[11])), Qt::UTC);
        QVERIFY(time.isValid());
        QVERIFY(!previous.isValid() || previous < time);
        QVERIFY(time < startClock());
        previous = time;
        QVERIFY(word(data, 20) >= word(data, 24)); // highest cell >= lowest cell
    }
}

void TestSimResponder::firmwareTransfer_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<int>("imageSize");
    QTest::addColumn<bool>("switchesLine");
    QTest::newRow("APP, 3 blocks") << 250 << 384 << true;
    QTest::newRow("BOOT, 1 block") << 251 << 128 << false;
    QTest::newRow("APP, 100 KiB") << 250 << 102400 << true;
}

void TestSimResponder::firmwareTransfer()
{
    QFETCH(int, item);
    QFETCH(int, imageSize);
    QFETCH(bool, switchesLine);

    Bench bench;
    QByteArray image(imageSize, '\0');
    for (int i = 0; i < imageSize; ++i)
        image[i] = char((i * 7 + i / 256) & 0xFF);

    Responder::Outcome out = bench.send(1, quint8(item), QByteArray::fromHex("00002d0000"));
    QByteArray data;
    QVERIFY(checkReply(out.reply, 1, quint8(item), &data).isEmpty());
    QCOMPARE(data.toHex(), QByteArray("0000"));
    QCOMPARE(bool(out.lineAfter), switchesLine);
    if (switchesLine)
        QCOMPARE(out.lineAfter->toString(), QStringLiteral("115200 8N1"));

    const int blocks = imageSize / 128;
    for (int n = 1; n <= blocks; ++n) {
        out = bench.send(1, quint8(item),
                         WireBytes().word(n).raw(image.mid((n - 1) * 128, 128)).bytes());
        QVERIFY(checkReply(out.reply, 1, quint8(item), &data).isEmpty());
        QCOMPARE(word(data, 0), n);
        QVERIFY(!out.lineAfter);
        if (n == 1) // a re-sent block is acknowledged again
            QVERIFY(
                checkReply(
                    bench.send(1, quint8(item), WireBytes().word(1).raw(image.left(128)).bytes())
                        .reply,
                    1, quint8(item))
                    .isEmpty());
    }
    out =
        bench.send(1, quint8(item), WireBytes().word(0xFFFF).raw(QByteArray(128, '\xFF')).bytes());
    QVERIFY(checkReply(out.reply, 1, quint8(item), &data).isEmpty());
    QCOMPARE(data.toHex(), QByteArray("ffff"));
    QVERIFY(out.image);
    QCOMPARE(out.image->target, item == 250 ? QStringLiteral("APP") : QStringLiteral("BOOT"));
    QCOMPARE(out.image->bytes.size(), image.size());
    QVERIFY(out.image->bytes == image);
    QCOMPARE(bool(out.lineAfter), switchesLine);
    if (switchesLine)
        QCOMPARE(*out.lineAfter, bench.responder.normalLine());
    QVERIFY(!bench.responder.firmware().active());
}

void TestSimResponder::firmwareEndWithAMissingBlockIsRefused()
{
    Bench bench;
    QVERIFY(!bench.send(1, 251, QByteArray::fromHex("0000096000")).reply.isEmpty());
    QVERIFY(
        !bench.send(1, 251, WireBytes().word(1).raw(QByteArray(128, 'a')).bytes()).reply.isEmpty());
    QVERIFY(
        !bench.send(1, 251, WireBytes().word(3).raw(QByteArray(128, 'c')).bytes()).reply.isEmpty());
    const Responder::Outcome out =
        bench.send(1, 251, WireBytes().word(0xFFFF).raw(QByteArray(128, '\xFF')).bytes());
    QVERIFY(out.reply.isEmpty());
    QVERIFY(!out.image);
    QVERIFY(out.note.contains(QLatin1String("2 of 3")));
    QVERIFY(bench.responder.firmware().active());
}

void TestSimResponder::firmwareBlocksOutsideAnUpgradeAreIgnored()
{
    Bench bench;
    const QByteArray block = WireBytes().word(1).raw(QByteArray(128, 'a')).bytes();
    QVERIFY(bench.send(1, 250, block).reply.isEmpty());
    // An upgrade of the other target does not take the block either.
    QVERIFY(!bench.send(1, 251, QByteArray::fromHex("0000096000")).reply.isEmpty());
    QVERIFY(bench.send(1, 250, block).reply.isEmpty());
    QVERIFY(bench.send(1, 250, QByteArray(129, '\0')).reply.isEmpty());
}

void TestSimResponder::abandonedUpgradeRestoresTheLine()
{
    Bench bench;
    QVERIFY(bench.send(1, 250, QByteArray::fromHex("0000170000"), 1000).lineAfter);
    QVERIFY(!bench.responder.poll(1000 + FirmwareSession::timeoutMs - 1));
    const std::optional<LineSettings> restored =
        bench.responder.poll(1000 + FirmwareSession::timeoutMs);
    QVERIFY(restored);
    QCOMPARE(*restored, bench.responder.normalLine());
    QVERIFY(!bench.responder.firmware().active());
    QVERIFY(!bench.responder.poll(1000 + 2 * FirmwareSession::timeoutMs));
}

void TestSimResponder::assemblerFindsFrames_data()
{
    QTest::addColumn<QList<QByteArray>>("pieces");
    QTest::addColumn<QList<QByteArray>>("frames");

    const QByteArray a = request(0, 1);
    const QByteArray b = request(1, 40, QByteArray(14, '\x11'));
    QByteArray corrupted = request(0, 6);
    corrupted[corrupted.size() - 1] = char(corrupted.back() ^ 0x55);
    const QByteArray falseHeader = QByteArray::fromHex("5cff1000010050"); // claims 80 bytes

    QTest::newRow("one frame") << QList<QByteArray>{a} << QList<QByteArray>{a};
    QTest::newRow("two in one piece") << QList<QByteArray>{a + b} << QList<QByteArray>{a, b};
    QTest::newRow("split in three")
        << QList<QByteArray>{b.left(3), b.mid(3, 10), b.mid(13)} << QList<QByteArray>{b};
    QTest::newRow("noise around") << QList<QByteArray>{"\x01\x5c\x02\x03" + a + "\x07"}
                                  << QList<QByteArray>{a};
    QTest::newRow("start bytes right before")
        << QList<QByteArray>{"\x5c\x5c" + a} << QList<QByteArray>{a};
    QTest::newRow("corrupted then good")
        << QList<QByteArray>{corrupted + a} << QList<QByteArray>{a};
    QTest::newRow("answer frames are not requests")
        << QList<QByteArray>{Frame::build(Frame::responseStart, 255, 16, 0, 1, {}) + a}
        << QList<QByteArray>{a};
    QTest::newRow("false header completed by later frames")
        << QList<QByteArray>{falseHeader + a, QByteArray(90, '\0')} << QList<QByteArray>{a};
    QTest::newRow("other address is still a frame")
        << QList<QByteArray>{request(0, 1, {}, 3)} << QList<QByteArray>{request(0, 1, {}, 3)};
}

void TestSimResponder::assemblerFindsFrames()
{
    QFETCH(QList<QByteArray>, pieces);
    QFETCH(QList<QByteArray>, frames);

    RequestAssembler assembler;
    QList<QByteArray> found;
    for (const QByteArray &p : pieces)
        found += assembler.push(p, 0);
    QCOMPARE(found, frames);
}

void TestSimResponder::assemblerDropsAStalePartialFrame()
{
    RequestAssembler assembler;
    const QByteArray a = request(0, 1);
    QVERIFY(assembler.push(QByteArray::fromHex("5cff1000010050") + a.left(4), 0).isEmpty());
    // After a pause the rest of the false frame never comes; the next request
    // must not wait behind it.
    QCOMPARE(assembler.push(a, RequestAssembler::staleMs + 1), QList<QByteArray>{a});
    QCOMPARE(assembler.pending(), 0);
}

QTEST_GUILESS_MAIN(TestSimResponder)
#include "tst_sim_responder.moc"
