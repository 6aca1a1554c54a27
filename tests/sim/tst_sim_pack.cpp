#include "SimTestSupport.h"

#include "sim/FaultInjector.h"
#include "sim/PackItems.h"
#include "sim/SimOptions.h"
#include "sim/WireBytes.h"

#include <QTest>

#include <algorithm>

using namespace SimTest;

namespace {

// A parameter row with the given thresholds (in wire units) and delays of 0.
QByteArray row(int protection, int recovery, int alarm, bool alarmOn = true,
               bool protectionOn = true)
{
    return WireBytes()
        .word(protection)
        .word(recovery)
        .word(alarm)
        .word(0)
        .word(alarmOn ? 1 : 0)
        .word(0)
        .word(protectionOn ? 1 : 0)
        .bytes();
}

PackModel::Config movingPack(double speed, std::optional<double> current = std::nullopt)
{
    PackModel::Config c;
    c.speed = speed;
    c.fixedCurrentA = current;
    return c;
}

} // namespace

class TestSimPack : public QObject {
    Q_OBJECT
private slots:
    void thresholdsRaiseAlarmsAndProtections_data();
    void thresholdsRaiseAlarmsAndProtections();
    void alarmWaitsForItsDelay();
    void protectionRecoversBelowTheRecoveryValue();
    void socAndCyclesFollowTheCurrent();
    void cellsFollowTheCurrent();
    void temperaturesRiseWithCurrent();
    void passiveBalancingMarksTheHighestCells();
    void currentLimitingCapsTheChargeCurrent();
    void calibration_data();
    void calibration();
    void chargeProtectionStopsChargeCurrent();
    void preDischargeRunsInRealTimeWhenFrozen();
    void cycleRunsThroughAllPhases();
    void sameSeedSamePack();
    void historyRecords();
    void historyIsBoundedAndCheap();
    void faultsFollowTheirProbability_data();
    void faultsFollowTheirProbability();
    void splitAnswersAreSmallChunksInOrder();
    void faultsAreReproducible();
    void options_data();
    void options();
};

void TestSimPack::thresholdsRaiseAlarmsAndProtections_data()
{
    QTest::addColumn<double>("current");
    QTest::addColumn<int>("rowIndex");
    QTest::addColumn<QByteArray>("thresholds");
    QTest::addColumn<bool>("protected_");
    QTest::addColumn<int>("mosBits"); // state byte 2, bits 0 (discharge) and 1 (charge)

    // The frozen pack at 80 % SOC has cells near 3.3 V, 24 degC, SOC 80 %.
    QTest::newRow("Cell_OV alarm only") << 0.0 << 0 << row(3650, 3400, 3000) << false << 0x03;
    QTest::newRow("Cell_OV protection") << 0.0 << 0 << row(3000, 2900, 3000) << true << 0x01;
    QTest::newRow("Cell_UV protection") << 0.0 << 1 << row(3500, 3600, 3500) << true << 0x02;
    QTest::newRow("Total_OV protection") << 0.0 << 2 << row(4000, 3000, 4000) << true << 0x01;
    QTest::newRow("Discharge_OC1") << -20.0 << 4 << row(1500, 1000, 1500) << true << 0x02;
    QTest::newRow("Charge_OC") << 20.0 << 6 << row(1500, 1000, 1500) << true << 0x01;
    QTest::newRow("Charge_OT") << 0.0 << 7 << row(100, 50, 100) << true << 0x01;
    QTest::newRow("Discharge_UT") << 0.0 << 10 << row(400, 450, 400) << true << 0x02;
    QTest::newRow("MOS_OT both") << 0.0 << 11 << row(100, 50, 100) << true << 0x00;
    QTest::newRow("SOC_UC") << 0.0 << 12 << row(900, 950, 900) << true << 0x02;
    QTest::newRow("Cell_DIFV") << 0.0 << 16 << row(1, 0, 1) << true << 0x00;
    QTest::newRow("alarm disabled")
        << 0.0 << 0 << row(3650, 3400, 3000, false, true) << false << 0x03;
    QTest::newRow("protection disabled")
        << 0.0 << 0 << row(3000, 2900, 3000, true, false) << false << 0x03;
}

void TestSimPack::thresholdsRaiseAlarmsAndProtections()
{
    QFETCH(double, current);
    QFETCH(int, rowIndex);
    QFETCH(QByteArray, thresholds);
    QFETCH(bool, protected_);
    QFETCH(int, mosBits);

    PackModel pack(frozenPack(current), 0, startClock());
    QCOMPARE(pack.snapshot().alarms, 0u);
    QCOMPARE(pack.snapshot().protections, 0u);
    QVERIFY(pack.settings().write(quint8(PackItem::paramRowFirst + rowIndex), thresholds));
    pack.reevaluate();

    const bool alarmOn = WireBytes::wordAt(thresholds, 8) != 0;
    QCOMPARE(pack.snapshot().alarms, alarmOn ? 1u << rowIndex : 0u);
    QCOMPARE(pack.snapshot().protections, protected_ ? 1u << rowIndex : 0u);
    // A tripped current protection also takes its current away.
    QCOMPARE(pack.snapshot().state2 & 0x03, mosBits);
}

void TestSimPack::alarmWaitsForItsDelay()
{
    PackModel pack(frozenPack(), 0, startClock());
    // Cell_OV alarm below the cells, alarm delay 2 s, no protection.
    QVERIFY(pack.settings().write(
        PackItem::paramRowFirst,
        WireBytes().word(3650).word(3400).word(3000).word(0).word(1).word(200).word(0).bytes()));
    pack.reevaluate();
    QCOMPARE(pack.snapshot().alarms, 0u);
    pack.advanceTo(1900);
    QCOMPARE(pack.snapshot().alarms, 0u);
    pack.advanceTo(2100);
    QCOMPARE(pack.snapshot().alarms, 1u);
}

void TestSimPack::protectionRecoversBelowTheRecoveryValue()
{
    PackModel pack(frozenPack(), 0, startClock());
    QVERIFY(pack.settings().write(PackItem::paramRowFirst, row(3000, 2900, 3650)));
    pack.reevaluate();
    QCOMPARE(pack.snapshot().protections, 1u);
    // Raising only the protection value does not release it: the cells are
    // still above the recovery value.
    QVERIFY(pack.settings().write(PackItem::paramRowFirst, row(3650, 2900, 3650)));
    pack.reevaluate();
    QCOMPARE(pack.snapshot().protections, 1u);
    QVERIFY(pack.settings().write(PackItem::paramRowFirst, row(3650, 3400, 3650)));
    pack.reevaluate();
    QCOMPARE(pack.snapshot().protections, 0u);
    QCOMPARE(pack.snapshot().state2 & 0x03, 0x03);
}

void TestSimPack::socAndCyclesFollowTheCurrent()
{
    PackModel::Config config = movingPack(1.0, 50.0);
    config.startSoc = 50;
    PackModel charging(config, 0, startClock());
    charging.advanceTo(360000); // 0.1 h at 50 A into 100 Ah
    QCOMPARE(charging.snapshot().socPermille, 550);

    config.fixedCurrentA = -50.0;
    config.startSoc = 100;
    config.startCycles = 7;
    PackModel discharging(config, 0, startClock());
    // No under-voltage or low-SOC protection may stop the test discharge.
    for (int r : {1, 3, 12})
        QVERIFY(discharging.settings().write(quint8(PackItem::paramRowFirst + r),
                                             row(0, 0, 0, false, false)));
    discharging.advanceTo(3600 * 1000);
    QCOMPARE(discharging.snapshot().socPermille, 500);
    QCOMPARE(discharging.snapshot().cycles, 7);
    // Another 50 Ah: one full capacity discharged in all makes one cycle.
    discharging.advanceTo(2 * 3600 * 1000 + 1000);
    QCOMPARE(discharging.snapshot().cycles, 8);
    QCOMPARE(discharging.snapshot().socPermille, 0);
}

void TestSimPack::cellsFollowTheCurrent()
{
    int previous = 0;
    for (double amps : {-50.0, 0.0, 50.0}) {
        PackModel pack(frozenPack(amps), 0, startClock());
        const LiveSnapshot &s = pack.snapshot();
        QCOMPARE(s.cellMv.size(), 16);
        QVERIFY2(s.averageCellMv > previous, qPrintable(QString::number(amps)));
        previous = s.averageCellMv;
        // Small differences between cells, not identical ones.
        QVERIFY(s.differenceMv > 0 && s.differenceMv < 100);
    }
}

void TestSimPack::temperaturesRiseWithCurrent()
{
    PackModel idle(movingPack(1.0, 0.0), 0, startClock());
    PackModel busy(movingPack(1.0, 50.0), 0, startClock());
    idle.advanceTo(1800 * 1000);
    busy.advanceTo(1800 * 1000);
    QVERIFY(busy.snapshot().averageDeciC > idle.snapshot().averageDeciC + 30);
    QVERIFY(busy.snapshot().mosDeciC > idle.snapshot().mosDeciC + 50);
}

void TestSimPack::passiveBalancingMarksTheHighestCells()
{
    PackModel::Config config = frozenPack();
    config.startSoc = 95; // where the cells spread out
    PackModel pack(config, 0, startClock());
    const QList<int> cells = pack.snapshot().cellMv;
    const int minMv = *std::min_element(cells.cbegin(), cells.cend());
    const int maxMv = *std::max_element(cells.cbegin(), cells.cend());
    QVERIFY(maxMv - minMv >= 4);
    const int difference = (maxMv - minMv) / 2;

    // Enabled, opening at 3.0 V with half the present spread.
    QVERIFY(
        pack.settings().write(PackItem::passiveBalancing,
                              WireBytes().word(1).word(3000).word(difference).word(2900).bytes()));
    pack.reevaluate();
    const quint32 bits = pack.snapshot().balancingBits;
    QVERIFY(bits != 0);
    for (int i = 0; i < cells.size(); ++i)
        QCOMPARE(bool(bits & (1u << i)), cells[i] - minMv >= difference);

    // Disabled: no cell is balanced.
    QVERIFY(
        pack.settings().write(PackItem::passiveBalancing,
                              WireBytes().word(0).word(3000).word(difference).word(2900).bytes()));
    pack.reevaluate();
    QCOMPARE(pack.snapshot().balancingBits, 0u);
}

void TestSimPack::currentLimitingCapsTheChargeCurrent()
{
    PackModel pack(frozenPack(50.0), 0, startClock());
    QCOMPARE(pack.snapshot().currentCentiA, 5000);
    QCOMPARE(pack.snapshot().state1 & 0x10, 0);
    // Enabled with a threshold of 20 A (stored negated).
    QVERIFY(
        pack.settings().write(PackItem::currentLimiting,
                              WireBytes().byte(1).byte(1).byte(0).word(-2000).word(30).bytes()));
    pack.reevaluate();
    QCOMPARE(pack.snapshot().currentCentiA, 2000);
    QCOMPARE(pack.snapshot().state1 & 0x10, 0x10);
    QCOMPARE(pack.snapshot().bmsAddress, 1);
}

void TestSimPack::calibration_data()
{
    QTest::addColumn<double>("current");
    QTest::addColumn<int>("kind"); // 0 zero, 1 charge, 2 discharge
    QTest::addColumn<double>("reference");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("reportedCentiA");

    QTest::newRow("charge 10 A read as 10.5 A") << 10.0 << 1 << 10.5 << true << 1050;
    QTest::newRow("discharge 20 A read as 19 A") << -20.0 << 2 << 19.0 << true << -1900;
    QTest::newRow("charge calibration while discharging") << -20.0 << 1 << 10.0 << false << -2000;
    QTest::newRow("discharge calibration at rest") << 0.0 << 2 << 10.0 << false << 0;
    QTest::newRow("zero at 1.5 A") << 1.5 << 0 << 0.0 << true << 0;
    QTest::newRow("zero under load") << 30.0 << 0 << 0.0 << false << 3000;
}

void TestSimPack::calibration()
{
    QFETCH(double, current);
    QFETCH(int, kind);
    QFETCH(double, reference);
    QFETCH(bool, accepted);
    QFETCH(int, reportedCentiA);

    PackModel pack(frozenPack(current), 0, startClock());
    const bool ok = kind == 0   ? pack.calibrateZero()
                    : kind == 1 ? pack.calibrateCharge(reference)
                                : pack.calibrateDischarge(reference);
    QCOMPARE(ok, accepted);
    QCOMPARE(pack.snapshot().currentCentiA, reportedCentiA);
    if (!accepted) {
        QCOMPARE(pack.chargeCoefficient(), 1000);
        QCOMPARE(pack.dischargeCoefficient(), 1000);
        QCOMPARE(pack.zeroOffsetCounts(), 0);
    }
}

void TestSimPack::chargeProtectionStopsChargeCurrent()
{
    PackModel pack(frozenPack(20.0), 0, startClock());
    QVERIFY(pack.settings().write(PackItem::paramRowFirst, row(3000, 2900, 3000)));
    pack.reevaluate();
    QCOMPARE(pack.snapshot().currentCentiA, 0);
    QCOMPARE(pack.snapshot().state1 & 0x06, 0);    // neither charging nor discharging
    QCOMPARE(pack.snapshot().state2 & 0x20, 0x20); // the charger is still connected
}

void TestSimPack::preDischargeRunsInRealTimeWhenFrozen()
{
    PackModel pack(frozenPack(-10.0), 0, startClock());
    QVERIFY(pack.settings().write(PackItem::preDischarge, WireBytes().byte(1).word(200).bytes()));
    pack.control(0xFF, 0, 0xFF, 0xFF, 0xFF);
    QCOMPARE(pack.snapshot().currentCentiA, 0);
    pack.control(0xFF, 1, 0xFF, 0xFF, 0xFF);
    QCOMPARE(pack.snapshot().state2 & 0x05, 0x04); // pre-discharge MOS on, discharge MOS off
    QCOMPARE(pack.snapshot().currentCentiA, 0);
    pack.advanceTo(1500);
    QCOMPARE(pack.snapshot().state2 & 0x05, 0x04);
    pack.advanceTo(2600);
    QCOMPARE(pack.snapshot().state2 & 0x05, 0x01);
    QCOMPARE(pack.snapshot().currentCentiA, -1000);
}

void TestSimPack::cycleRunsThroughAllPhases()
{
    PackModel pack(movingPack(200.0), 0, startClock());
    QList<PackModel::Phase> seen{pack.phase()};
    int minSoc = 1000, maxSoc = 0, minCurrent = 0, maxCurrent = 0;
    const int startCycles = pack.snapshot().cycles;
    for (qint64 t = 0; t <= 400 * 1000; t += 250) {
        pack.advanceTo(t);
        const LiveSnapshot &s = pack.snapshot();
        if (seen.last() != pack.phase())
            seen.append(pack.phase());
        minSoc = qMin(minSoc, s.socPermille);
        maxSoc = qMax(maxSoc, s.socPermille);
        minCurrent = qMin(minCurrent, s.currentCentiA);
        maxCurrent = qMax(maxCurrent, s.currentCentiA);
        QVERIFY(s.socPermille >= 0 && s.socPermille <= 1000);
        // Working state and MOS bits agree with the current.
        if (s.currentCentiA > 10)
            QCOMPARE(s.state1 & 0x06, 0x02);
        if (s.currentCentiA < -10)
            QCOMPARE(s.state1 & 0x06, 0x04);
    }
    const QList<PackModel::Phase> cycle{PackModel::Phase::Charge, PackModel::Phase::RestFull,
                                        PackModel::Phase::Discharge, PackModel::Phase::RestEmpty,
                                        PackModel::Phase::Charge};
    QVERIFY(seen.size() >= cycle.size());
    QCOMPARE(seen.mid(0, cycle.size()), cycle);
    QVERIFY(maxSoc >= 980 && minSoc <= 125);
    QVERIFY(maxCurrent >= 4900);
    QVERIFY(minCurrent <= -10000); // a load peak above 1 C
    QVERIFY(pack.snapshot().cycles > startCycles);
}

void TestSimPack::sameSeedSamePack()
{
    PackModel a(movingPack(50.0), 0, startClock());
    PackModel b(movingPack(50.0), 0, startClock());
    PackModel::Config other = movingPack(50.0);
    other.seed = 2;
    PackModel c(other, 0, startClock());
    for (qint64 t = 0; t <= 60000; t += 700) {
        a.advanceTo(t);
        b.advanceTo(t);
        c.advanceTo(t);
    }
    QCOMPARE(a.snapshot().cellMv, b.snapshot().cellMv);
    QCOMPARE(a.snapshot().currentCentiA, b.snapshot().currentCentiA);
    QVERIFY(a.snapshot().cellMv != c.snapshot().cellMv);
}

void TestSimPack::historyRecords()
{
    PackModel pack(frozenPack(), 0, startClock());
    const HistoryLog log(300, pack, startClock());
    QCOMPARE(log.count(), 300);
    QVERIFY(!log.record(-1));
    QVERIFY(!log.record(300));

    int charging = 0, discharging = 0, resting = 0;
    QDateTime previous;
    for (int i = 0; i < log.count(); ++i) {
        const std::optional<HistoryRecord> r = log.record(i);
        QVERIFY(r);
        QCOMPARE(r->number, i + 1);
        QVERIFY(!previous.isValid() || r->time > previous);
        previous = r->time;
        QVERIFY(r->socPermille >= 0 && r->socPermille <= 1000);
        QVERIFY(r->maxCellMv >= r->minCellMv);
        QCOMPARE(r->differenceMv, r->maxCellMv - r->minCellMv);
        QVERIFY(r->maxCellNo >= 1 && r->maxCellNo <= 16);
        QVERIFY(r->maxDeciC >= r->minDeciC);
        QCOMPARE(r->type, (r->alarms || r->protections || r->faults) ? 2 : 1);
        charging += r->currentCentiA > 0;
        discharging += r->currentCentiA < 0;
        resting += r->currentCentiA == 0;
        QCOMPARE(r->state1 & 0x06, r->currentCentiA > 0 ? 0x02 : r->currentCentiA < 0 ? 0x04 : 0);
    }
    QVERIFY(previous <= startClock().addSecs(20));
    QVERIFY(charging > 0 && discharging > 0 && resting > 0);
    // The same index always gives the same record.
    QCOMPARE(log.record(17)->maxCellMv, log.record(17)->maxCellMv);
    QCOMPARE(log.record(17)->time, HistoryLog(300, pack, startClock()).record(17)->time);
}

void TestSimPack::historyIsBoundedAndCheap()
{
    PackModel pack(frozenPack(), 0, startClock());
    const HistoryLog log(100000, pack, startClock());
    QCOMPARE(log.count(), HistoryLog::maxRecords);
    QCOMPARE(log.record(HistoryLog::maxRecords - 1)->number, 65535);
    QVERIFY(log.record(0)->time.date().year() >= 2022);
}

void TestSimPack::faultsFollowTheirProbability_data()
{
    QTest::addColumn<double>("drop");
    QTest::addColumn<double>("corrupt");
    QTest::addColumn<double>("noise");
    QTest::addColumn<int>("minDropped");
    QTest::addColumn<int>("maxDropped");
    QTest::addColumn<int>("minCorrupted");
    QTest::addColumn<int>("maxCorrupted");
    QTest::addColumn<int>("minNoisy");
    QTest::addColumn<int>("maxNoisy");

    QTest::newRow("none") << 0.0 << 0.0 << 0.0 << 0 << 0 << 0 << 0 << 0 << 0;
    QTest::newRow("all") << 1.0 << 1.0 << 1.0 << 1000 << 1000 << 1000 << 1000 << 1000 << 1000;
    QTest::newRow("some") << 0.1 << 0.3 << 0.5 << 60 << 140 << 250 << 350 << 440 << 560;
}

void TestSimPack::faultsFollowTheirProbability()
{
    QFETCH(double, drop);
    QFETCH(double, corrupt);
    QFETCH(double, noise);
    QFETCH(int, minDropped);
    QFETCH(int, maxDropped);
    QFETCH(int, minCorrupted);
    QFETCH(int, maxCorrupted);
    QFETCH(int, minNoisy);
    QFETCH(int, maxNoisy);

    FaultInjector faults({drop, corrupt, noise, false, 0, 42});
    const QByteArray frame =
        Frame::build(Frame::responseStart, 255, 16, 0, 6, QByteArray(56, '\x5D'));
    int dropped = 0, corrupted = 0, noisy = 0;
    for (int i = 0; i < 1000; ++i) {
        dropped += faults.dropRequest();
        const FaultInjector::Delivery d = faults.deliver(frame);
        QCOMPARE(d.chunks.size(), 1);
        const QByteArray bytes = d.chunks.first().bytes;
        QCOMPARE(bytes.size(), frame.size() + d.noiseBytes);
        const QByteArray answer = bytes.mid(d.noiseBytes);
        QCOMPARE(Frame::crcValid(answer), !d.corrupted);
        QCOMPARE(answer.left(answer.size() - 1), frame.left(frame.size() - 1));
        QVERIFY(!bytes.left(d.noiseBytes).contains(char(Frame::responseStart)));
        QVERIFY(d.noiseBytes <= FaultInjector::maxNoiseBytes);
        corrupted += d.corrupted;
        noisy += d.noiseBytes > 0;
    }
    QVERIFY2(dropped >= minDropped && dropped <= maxDropped, qPrintable(QString::number(dropped)));
    QVERIFY2(corrupted >= minCorrupted && corrupted <= maxCorrupted,
             qPrintable(QString::number(corrupted)));
    QVERIFY2(noisy >= minNoisy && noisy <= maxNoisy, qPrintable(QString::number(noisy)));
}

void TestSimPack::splitAnswersAreSmallChunksInOrder()
{
    FaultInjector faults({0, 0, 0, true, 250, 7});
    const QByteArray frame =
        Frame::build(Frame::responseStart, 255, 16, 0, 8, QByteArray(66, '\1'));
    const FaultInjector::Delivery d = faults.deliver(frame);
    QVERIFY(d.chunks.size() >= frame.size() / FaultInjector::maxChunkBytes);
    QByteArray joined;
    for (int i = 0; i < d.chunks.size(); ++i) {
        const FaultInjector::Chunk &c = d.chunks[i];
        QVERIFY(!c.bytes.isEmpty() && c.bytes.size() <= FaultInjector::maxChunkBytes);
        if (i == 0)
            QCOMPARE(c.gapMs, 250); // the latency comes first
        else
            QVERIFY(c.gapMs >= 1 && c.gapMs <= FaultInjector::maxGapMs);
        joined += c.bytes;
    }
    QCOMPARE(joined, frame);
}

void TestSimPack::faultsAreReproducible()
{
    const auto pattern = [](quint32 seed) {
        FaultInjector faults({0.5, 0.5, 0.5, true, 0, seed});
        QByteArray out;
        for (int i = 0; i < 50; ++i) {
            out += char(faults.dropRequest());
            for (const FaultInjector::Chunk &c : faults.deliver(QByteArray(20, 'x')).chunks)
                out += c.bytes + char(c.gapMs);
        }
        return out;
    };
    QCOMPARE(pattern(3), pattern(3));
    QVERIFY(pattern(3) != pattern(4));
}

void TestSimPack::options_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("refusal"); // empty: accepted

    const QStringList link{QStringLiteral("--link"), QStringLiteral("/tmp/x")};
    QTest::newRow("defaults") << link << QString();
    QTest::newRow("everything") << link + QStringList{"--address",  "3",
                                                      "--protocol", "16",
                                                      "--cells",    "32",
                                                      "--ntc",      "12",
                                                      "--records",  "65535",
                                                      "--seed",     "99",
                                                      "--drop",     "0.02",
                                                      "--corrupt",  "0.1",
                                                      "--noise",    "1",
                                                      "--split",    "--delay",
                                                      "40",         "--firmware-out",
                                                      "/tmp/fw",    "--faults",
                                                      "0x0011",     "--current",
                                                      "-12.5",      "--speed",
                                                      "0"}
                                << QString();
    QTest::newRow("no line") << QStringList{} << QStringLiteral("exactly one of");
    QTest::newRow("both lines") << link + QStringList{"--port", "/dev/ttyUSB0"}
                                << QStringLiteral("exactly one of");
    QTest::newRow("33 cells") << link + QStringList{"--cells", "33"} << QStringLiteral("--cells");
    QTest::newRow("0 cells") << link + QStringList{"--cells", "0"} << QStringLiteral("--cells");
    QTest::newRow("13 sensors") << link + QStringList{"--ntc", "13"} << QStringLiteral("--ntc");
    QTest::newRow("too many records")
        << link + QStringList{"--records", "65536"} << QStringLiteral("--records");
    QTest::newRow("address 256") << link + QStringList{"--address", "256"}
                                 << QStringLiteral("--address");
    QTest::newRow("probability 1.5")
        << link + QStringList{"--drop", "1.5"} << QStringLiteral("--drop");
    QTest::newRow("probability text")
        << link + QStringList{"--noise", "often"} << QStringLiteral("--noise");
    QTest::newRow("negative delay")
        << link + QStringList{"--delay", "-5"} << QStringLiteral("--delay");
    QTest::newRow("parity X") << link + QStringList{"--parity", "X"} << QStringLiteral("--parity");
    QTest::newRow("unknown option") << link + QStringList{"--colour"} << QStringLiteral("colour");
}

void TestSimPack::options()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, refusal);

    QString message;
    bool exitOk = true;
    const std::optional<SimOptions> o = SimOptions::parse(
        QStringList{QStringLiteral("cellvane-sim")} + arguments, &message, &exitOk);
    QVERIFY(!exitOk);
    if (refusal.isEmpty()) {
        QVERIFY2(o, qPrintable(message));
        QCOMPARE(o->linkPath, QStringLiteral("/tmp/x"));
    } else {
        QVERIFY(!o);
        QVERIFY2(message.contains(refusal), qPrintable(message));
    }
    if (arguments.contains(QStringLiteral("--split"))) {
        QCOMPARE(o->address, 3);
        QCOMPARE(o->pack.cells, 32);
        QCOMPARE(o->pack.sensors, 12);
        QCOMPARE(o->records, 65535);
        QCOMPARE(o->pack.seed, 99u);
        QCOMPARE(o->faults.seed, 99u);
        QCOMPARE(o->faults.dropProbability, 0.02);
        QCOMPARE(o->faults.delayMs, 40);
        QVERIFY(o->faults.split);
        QCOMPARE(o->pack.faults, quint16(0x11));
        QCOMPARE(*o->pack.fixedCurrentA, -12.5);
        QCOMPARE(o->pack.speed, 0.0);
        QCOMPARE(o->firmwareOut, QStringLiteral("/tmp/fw"));
    }
}

QTEST_GUILESS_MAIN(TestSimPack)
#include "tst_sim_pack.moc"
