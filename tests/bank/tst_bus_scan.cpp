// The bus scan against a scripted line of simulated packs on a fake clock,
// and against the simulator on a pseudo-terminal.
#include "SimPacks.h"
#include "sim/SimProcess.h"

#include "bank/BusScan.h"
#include "bank/PortBankLine.h"
#include "link/Frame.h"
#include "link/SerialPortIo.h"
#include "sim/BusPack.h"
#include "sim/SimOptions.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <deque>
#include <memory>
#include <vector>

namespace {

// A line with the simulator's packs on it, in test time. Packs sharing an
// address collide as in the simulator, or, with `takeTurns`, one of them
// wins the line each time.
class FakeBus : public BankLine {
public:
    explicit FakeBus(const QString &arguments) { packs = SimPacks::make(arguments); }

    qint64 write(const QByteArray &bytes) override
    {
        if (failWrites)
            return -1;
        writes.append(bytes);
        const QList<QByteArray> replies = SimPacks::answers(packs, bytes, now);
        QByteArray reply;
        if (takeTurns && !replies.isEmpty())
            reply = replies[turn++ % replies.size()];
        else
            reply = SimPacks::collided(replies);
        if (!reply.isEmpty() && corruptNext > 0) {
            --corruptNext;
            reply[reply.size() - 1] = char(reply[reply.size() - 1] ^ 0x55);
        }
        if (!reply.isEmpty())
            pending.push_back({now + latencyMs, noise + reply});
        return bytes.size();
    }
    QByteArray read(int maxBytes) override
    {
        QByteArray out;
        while (!pending.empty() && pending.front().dueMs <= now && out.size() < maxBytes) {
            QByteArray &b = pending.front().bytes;
            const int n = std::min(int(b.size()), maxBytes - int(out.size()));
            out += b.left(n);
            b.remove(0, n);
            if (b.isEmpty())
                pending.pop_front();
        }
        return out;
    }

    struct Due {
        qint64 dueMs;
        QByteArray bytes;
    };
    SimPacks::Packs packs;
    std::deque<Due> pending;
    QList<QByteArray> writes;
    qint64 now = 0;
    int latencyMs = 20;
    int corruptNext = 0;
    QByteArray noise;
    bool takeTurns = false;
    int turn = 0;
    bool failWrites = false;
};

// Runs the scan to its end on the fake clock, one tick per millisecond.
qint64 runScan(BusScan &scan, FakeBus &bus)
{
    scan.start(bus.now);
    for (int guard = 0; scan.running() && guard < 600000; ++guard) {
        ++bus.now;
        scan.tick(bus.now);
    }
    return scan.elapsedMs(bus.now);
}

QString describe(const QList<BusScan::Entry> &entries)
{
    QStringList parts;
    for (const BusScan::Entry &e : entries)
        parts.append(QString::number(e.address) +
                     (e.clash == BusScan::ClashSign::CrcNeverPassed  ? QStringLiteral(" clash: CRC")
                      : e.clash == BusScan::ClashSign::TwoIdentities ? QStringLiteral(" clash: IDs")
                                                                     : QString()));
    return parts.join(QStringLiteral(", "));
}

PortIo::Settings line(int baud, char parity = 'N')
{
    PortIo::Settings s;
    s.baud = baud;
    s.parity = parity;
    return s;
}

} // namespace

class TestBusScan : public QObject {
    Q_OBJECT
private slots:
    void foundSet_data();
    void foundSet();
    void identitiesOfTheFoundPacks();
    void timingFollowsTheLineRate_data();
    void timingFollowsTheLineRate();
    void refusedWriteStopsTheScan();
    void againstTheSimulator();
};

void TestBusScan::foundSet_data()
{
    QTest::addColumn<QString>("packs");
    QTest::addColumn<bool>("takeTurns");
    QTest::addColumn<int>("corruptNext");
    QTest::addColumn<QString>("found");

    QTest::newRow("three packs") << "--packs 1,2,5" << false << 0 << "1, 2, 5";
    QTest::newRow("an offline pack is not found")
        << "--packs 1,2,5,9 --offline 9" << false << 0 << "1, 2, 5";
    QTest::newRow("the first and last address") << "--packs 0,16" << false << 0 << "0, 16";
    QTest::newRow("only 0 to 16 are asked") << "--packs 1,17,255" << false << 0 << "1";
    QTest::newRow("an empty line") << "--address 200" << false << 0 << "";
    QTest::newRow("colliding answers") << "--packs 1 --clash 3" << false << 0 << "1, 3 clash: CRC";
    QTest::newRow("two packs taking turns")
        << "--address 4 --clash 4" << true << 0 << "4 clash: IDs";
    QTest::newRow("one broken answer is noise") << "--packs 6" << false << 1 << "6";
    QTest::newRow("two broken answers are noise") << "--packs 6" << false << 2 << "6";
    QTest::newRow("three broken answers are a clash")
        << "--packs 6" << false << 3 << "6 clash: CRC";
}

void TestBusScan::foundSet()
{
    QFETCH(QString, packs);
    QFETCH(bool, takeTurns);
    QFETCH(int, corruptNext);
    QFETCH(QString, found);

    FakeBus bus(packs);
    bus.takeTurns = takeTurns;
    bus.corruptNext = corruptNext;
    bus.noise = QByteArray::fromHex("00ff5d");
    BusScan scan(bus, line(9600), 16);
    QSignalSpy progress(&scan, &BusScan::progressChanged);
    QSignalSpy finished(&scan, &BusScan::finished);
    runScan(scan, bus);

    QVERIFY(scan.complete());
    QVERIFY(!scan.lineFailed());
    QCOMPARE(describe(scan.found()), found);
    QCOMPARE(scan.results().size(), 17);
    QCOMPARE(finished.size(), 1);
    QCOMPARE(progress.size(), 18);
    QCOMPARE(progress.last().at(0).toInt(), 17);
    // Each address asked in turn, every request a short read.
    QCOMPARE(quint8(bus.writes.first()[1]), quint8(0));
    QCOMPARE(quint8(bus.writes.last()[1]), quint8(16));
    for (const QByteArray &w : bus.writes)
        QCOMPARE(w.size(), Frame::overhead);
}

void TestBusScan::identitiesOfTheFoundPacks()
{
    FakeBus bus(QStringLiteral("--packs 2,7"));
    BusScan scan(bus, line(9600), 16);
    runScan(scan, bus);
    const QList<BusScan::Entry> found = scan.found();
    QCOMPARE(found.size(), 2);
    for (int i = 0; i < 2; ++i) {
        const PackModel &model = bus.packs[i]->model();
        QCOMPARE(found[i].found, BusScan::Found::Pack);
        QCOMPARE(found[i].projectNumber,
                 BusScan::itemText(model.settings().read(PackItem::projectNumber)));
        QCOMPARE(found[i].batteryId, BusScan::itemText(model.settings().read(PackItem::batteryId)));
        QVERIFY(found[i].batteryId.startsWith(QLatin1String("CVB")));
        QVERIFY(!found[i].batteryId.contains(QChar(0)));
    }
    QVERIFY(found[0].batteryId != found[1].batteryId);
    QCOMPARE(scan.foundAddresses(), (QList<int>{2, 7}));
}

void TestBusScan::timingFollowsTheLineRate_data()
{
    QTest::addColumn<int>("baud");
    QTest::addColumn<char>("parity");
    QTest::addColumn<QString>("packs");
    QTest::addColumn<int>("boundMs"); // what a technician can wait for

    QTest::newRow("9600, empty line") << 9600 << 'N' << "--address 200" << 3000;
    QTest::newRow("9600, four packs") << 9600 << 'N' << "--packs 1,2,5,9" << 4000;
    QTest::newRow("9600 even parity") << 9600 << 'E' << "--address 200" << 3000;
    QTest::newRow("115200, empty line") << 115200 << 'N' << "--address 200" << 1500;
    QTest::newRow("1200, empty line") << 1200 << 'N' << "--address 200" << 15000;
}

void TestBusScan::timingFollowsTheLineRate()
{
    QFETCH(int, baud);
    QFETCH(char, parity);
    QFETCH(QString, packs);
    QFETCH(int, boundMs);

    const PortIo::Settings settings = line(baud, parity);
    FakeBus bus(packs);
    // The answer's last byte arrives after the wire time, plus the pack's own
    // turnaround.
    bus.latencyMs = int(BusScan::wireMs(settings, Frame::overhead + 41)) + 20;
    BusScan scan(bus, settings, 16);
    const qint64 elapsed = runScan(scan, bus);

    // Every pack is found even on a slow line: the wait is never shorter
    // than the exchange's own bytes on the wire.
    QCOMPARE(scan.found().size(),
             int(bus.packs.size() == 1 && bus.packs[0]->address() == 200 ? 0 : bus.packs.size()));
    const double silentWire = 17 * BusScan::wireMs(settings, 2 * Frame::overhead + 24);
    if (scan.found().isEmpty()) {
        QCOMPARE(elapsed, BusScan::silentScanMs(settings));
        QVERIFY(elapsed > silentWire);
    }
    QVERIFY2(elapsed < boundMs, qPrintable(QString::number(elapsed)));
    // Slower lines wait longer per address.
    QVERIFY(BusScan::exchangeWaitMs(settings, 9, 33) > BusScan::wireMs(settings, 42));
}

void TestBusScan::refusedWriteStopsTheScan()
{
    FakeBus bus(QStringLiteral("--packs 1"));
    bus.failWrites = true;
    BusScan scan(bus, line(9600), 16);
    QSignalSpy finished(&scan, &BusScan::finished);
    scan.start(0);
    QVERIFY(!scan.running());
    QVERIFY(scan.lineFailed());
    QVERIFY(!scan.complete());
    QCOMPARE(finished.size(), 1);
    QVERIFY(scan.results().isEmpty());
    scan.tick(1000); // a tick after the end changes nothing
    QCOMPARE(scan.requestsSent(), 1);
}

void TestBusScan::againstTheSimulator()
{
    SimTest::SimProcess sim;
    QVERIFY(sim.start({QStringLiteral("--packs"), QStringLiteral("1,2,5,9"),
                       QStringLiteral("--offline"), QStringLiteral("9"), QStringLiteral("--clash"),
                       QStringLiteral("3")}));
    SerialPortIo port;
    int error = 0;
    PortIo::Settings settings = line(9600);
    QCOMPARE(port.open(sim.link(), settings, &error), PortIo::OpenResult::Ok);
    PortBankLine bankLine(port);
    BusScan scan(bankLine, settings, 16);
    QElapsedTimer clock;
    clock.start();
    scan.start(clock.elapsed());
    while (scan.running() && clock.elapsed() < 30000) {
        QTest::qWait(1);
        scan.tick(clock.elapsed());
    }
    QVERIFY(scan.complete());
    QCOMPARE(describe(scan.found()), QStringLiteral("1, 2, 3 clash: CRC, 5"));
    qInfo("17 addresses at 9600 baud scanned in %lld ms", scan.elapsedMs(clock.elapsed()));
    port.close();
}

QTEST_GUILESS_MAIN(TestBusScan)
#include "tst_bus_scan.moc"
