// The round robin over the packs of a bank, on a fake line with the
// simulator's packs behind it and a fake clock.
#include "SimPacks.h"

#include "bank/BankPoller.h"
#include "link/Frame.h"
#include "link/ModeString.h"

#include <QMap>
#include <QSignalSpy>
#include <QTest>

namespace {

// The shared wire: a request is answered by the packs that hear it (their
// answers colliding where two do), delivered one wire time later.
class PackLine : public BankLine {
public:
    explicit PackLine(const QString &arguments) : packs(SimPacks::make(arguments)) {}
    qint64 write(const QByteArray &bytes) override
    {
        if (refuse)
            return -1;
        requests << Request{quint8(bytes[1]), quint8(bytes[4]), now};
        if (!pending.isEmpty())
            overlapped = true; // a request before the last answer was read
        pending = SimPacks::collided(SimPacks::answers(packs, bytes, now));
        deliverAt = now + 20;
        return bytes.size();
    }
    QByteArray read(int maxBytes) override
    {
        if (now < deliverAt || pending.isEmpty())
            return {};
        const QByteArray piece = pending.left(maxBytes);
        pending.remove(0, piece.size());
        return piece;
    }
    struct Request {
        quint8 address;
        quint8 item;
        qint64 atMs;
    };
    SimPacks::Packs packs;
    QList<Request> requests;
    QByteArray pending;
    qint64 deliverAt = 0;
    qint64 now = 0;
    bool refuse = false;
    bool overlapped = false;

    QMap<int, int> counts() const
    {
        QMap<int, int> c;
        for (const Request &r : requests)
            ++c[r.address];
        return c;
    }
};

struct Rig {
    PackLine line;
    BankPoller poller;
    explicit Rig(const QString &arguments, const QList<int> &addresses)
        : line(arguments), poller(line, ModeString::parse(QStringLiteral("9600,n,8,1")), 16)
    {
        poller.setAddresses(addresses);
    }
    void runUntil(qint64 endMs)
    {
        if (!poller.running())
            poller.start(line.now);
        while (line.now < endMs)
            poller.tick(++line.now);
    }
};

} // namespace

class TestBankPoller : public QObject {
    Q_OBJECT
private slots:
    // Over a minute every online pack is asked as often as the others (one
    // sweep at most between them), the dead one only every ten seconds, and
    // never two requests on the line at once.
    void roundRobinIsFair()
    {
        Rig rig(QStringLiteral("--packs 1,2,5,9 --offline 9"), {1, 2, 5, 9});
        rig.runUntil(60000);
        const QMap<int, int> counts = rig.line.counts();
        const int lo = std::min({counts[1], counts[2], counts[5]});
        const int hi = std::max({counts[1], counts[2], counts[5]});
        QVERIFY2(hi - lo <= 1, qPrintable(QStringLiteral("%1..%2").arg(lo).arg(hi)));
        // One live read per second each, and the battery ID once.
        QVERIFY(lo >= 59 && hi <= 62);
        QVERIFY(!rig.line.overlapped);

        // Two misses make it offline; after that one retry per ten seconds.
        QList<qint64> to9;
        for (const PackLine::Request &r : rig.line.requests)
            if (r.address == 9)
                to9 << r.atMs;
        QVERIFY(to9.size() >= 7 && to9.size() <= 8);
        for (int i = 2; i < to9.size(); ++i)
            QVERIFY(to9[i] - to9[i - 1] >= BankPoller::offlineRetryMs);
        QVERIFY(!rig.poller.pack(9)->online);
        QVERIFY(rig.poller.pack(5)->online);
        QCOMPARE(rig.poller.pack(5)->misses, 0);
        // The dead pack does not hold the others up: a sweep every second.
        QCOMPARE(rig.poller.sweeps(), 60);
    }

    // A silent pack and two packs clashing at one address both go offline
    // after two misses; the silent one comes back by itself.
    void offlineAndBack_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<bool>("returns");
        QTest::newRow("silent for 15 s") << "--packs 1,2 --offline 2:15" << true;
        QTest::newRow("address clash") << "--packs 1 --clash 2" << false;
    }
    void offlineAndBack()
    {
        QFETCH(QString, arguments);
        QFETCH(bool, returns);
        Rig rig(arguments, {1, 2});
        QSignalSpy updated(&rig.poller, &BankPoller::packUpdated);
        rig.runUntil(5000);
        QVERIFY(!rig.poller.pack(2)->online);
        QVERIFY(!rig.poller.pack(2)->hasLive);
        QVERIFY(rig.poller.pack(1)->online);
        QVERIFY(updated.contains(QVariantList{2})); // told when it went offline
        rig.runUntil(26000);
        QCOMPARE(rig.poller.pack(2)->online, returns);
        QCOMPARE(rig.poller.pack(2)->hasLive, returns);
        if (returns) {
            QVERIFY(rig.poller.pack(2)->updatedMs > 15000);
            QVERIFY(!rig.poller.pack(2)->batteryId.isEmpty());
        }
    }

    void refusedWriteStops()
    {
        Rig rig(QStringLiteral("--packs 1"), {1});
        rig.line.refuse = true;
        QSignalSpy failed(&rig.poller, &BankPoller::lineFailedChanged);
        rig.runUntil(10);
        QVERIFY(!rig.poller.running());
        QVERIFY(rig.poller.lineFailed());
        QCOMPARE(failed.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestBankPoller)
#include "tst_bank_poller.moc"
