// Several packs on one line: which pack answers which address, silent and
// clashing packs, and that every pack keeps its own state.
#include "SimProcess.h"
#include "SimTestSupport.h"

#include "sim/BusPack.h"
#include "sim/SimOptions.h"

#include <QJsonArray>

using namespace SimTest;

namespace {

std::optional<SimOptions> parse(const QStringList &extra, QString *message = nullptr)
{
    QString text;
    bool exitOk = false;
    auto o = SimOptions::parse(QStringList{QStringLiteral("cellvane-sim"), QStringLiteral("--link"),
                                           QStringLiteral("/tmp/unused")} +
                                   extra,
                               &text, &exitOk);
    if (message)
        *message = text;
    return o;
}

// Addresses of the line's packs as text, "*" after a silent one.
QString describe(const SimOptions &o)
{
    QStringList parts;
    for (const SimOptions::PackSpec &p : o.packs)
        parts.append(QString::number(p.address) + (p.offline ? QStringLiteral("*") : QString()));
    return parts.join(QLatin1Char(','));
}

struct Line {
    explicit Line(const SimOptions &options)
    {
        for (const SimOptions::PackSpec &spec : options.packs)
            packs.push_back(std::make_unique<BusPack>(spec, options, 0, startClock()));
    }
    BusPack &at(int address)
    {
        for (const auto &p : packs)
            if (p->address() == address)
                return *p;
        qFatal("no pack at %d", address);
    }
    std::vector<std::unique_ptr<BusPack>> packs;
};

} // namespace

class TestSimBus : public QObject {
    Q_OBJECT
private slots:
    void optionsBuildTheLine_data();
    void optionsBuildTheLine();
    void refusedLineOptions_data();
    void refusedLineOptions();
    void packsHaveTheirOwnState_data();
    void packsHaveTheirOwnState();
    void offlinePeriods_data();
    void offlinePeriods();
    void collidingAnswers_data();
    void collidingAnswers();
    void clashingPacksGarbleTheirFrames_data();
    void clashingPacksGarbleTheirFrames();

    void initTestCase();
    void eachAddressOnTheLine_data();
    void eachAddressOnTheLine();
    void statusReportsEveryPack();
    void cleanupTestCase();

private:
    std::unique_ptr<SimProcess> m_sim;
    Host m_host;
};

void TestSimBus::optionsBuildTheLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("packs");
    QTest::addColumn<int>("offlinePeriodMs");

    QTest::newRow("default: one pack at 255") << QStringList{} << QStringLiteral("255") << 0;
    QTest::newRow("--address") << QStringList{QStringLiteral("--address"), QStringLiteral("3")}
                               << QStringLiteral("3") << 0;
    QTest::newRow("--packs") << QStringList{QStringLiteral("--packs"), QStringLiteral("1,2,5")}
                             << QStringLiteral("1,2,5") << 0;
    QTest::newRow("--packs in hex with spaces")
        << QStringList{QStringLiteral("--packs"), QStringLiteral("0x10, 0")}
        << QStringLiteral("16,0") << 0;
    QTest::newRow("--offline") << QStringList{QStringLiteral("--packs"), QStringLiteral("1,2,5"),
                                              QStringLiteral("--offline"), QStringLiteral("5")}
                               << QStringLiteral("1,2,5*") << 0;
    QTest::newRow("--offline in turns")
        << QStringList{QStringLiteral("--packs"), QStringLiteral("1,9"),
                       QStringLiteral("--offline"), QStringLiteral("9:4")}
        << QStringLiteral("1,9*") << 4000;
    QTest::newRow("--clash on a listed address")
        << QStringList{QStringLiteral("--packs"), QStringLiteral("1,3"), QStringLiteral("--clash"),
                       QStringLiteral("3")}
        << QStringLiteral("1,3,3") << 0;
    QTest::newRow("--clash on an unlisted address")
        << QStringList{QStringLiteral("--packs"), QStringLiteral("1,2"), QStringLiteral("--clash"),
                       QStringLiteral("3")}
        << QStringLiteral("1,2,3,3") << 0;
    QTest::newRow("--clash with one pack")
        << QStringList{QStringLiteral("--address"), QStringLiteral("4"), QStringLiteral("--clash"),
                       QStringLiteral("4")}
        << QStringLiteral("4,4") << 0;
    QTest::newRow("--offline silences both clashing packs")
        << QStringList{QStringLiteral("--packs"),   QStringLiteral("1"),
                       QStringLiteral("--clash"),   QStringLiteral("3"),
                       QStringLiteral("--offline"), QStringLiteral("3")}
        << QStringLiteral("1,3*,3*") << 0;
}

void TestSimBus::optionsBuildTheLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, packs);
    QFETCH(int, offlinePeriodMs);

    QString message;
    const std::optional<SimOptions> o = parse(arguments, &message);
    QVERIFY2(o, qPrintable(message));
    QCOMPARE(describe(*o), packs);
    QCOMPARE(o->address, o->packs.first().address);
    for (const SimOptions::PackSpec &p : o->packs)
        if (p.offline)
            QCOMPARE(p.offlinePeriodMs, offlinePeriodMs);
    // The first pack is the one-pack default whatever else is on the line.
    QCOMPARE(o->packs.first().pack.cells, 16);
    QCOMPARE(o->packs.first().pack.startSoc, 80.0);
    QCOMPARE(o->packs.first().pack.seed, 1u);
}

void TestSimBus::refusedLineOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");

    QTest::newRow("--address and --packs")
        << QStringList{QStringLiteral("--address"), QStringLiteral("1"), QStringLiteral("--packs"),
                       QStringLiteral("1,2")}
        << QStringLiteral("either --address or --packs");
    QTest::newRow("address twice")
        << QStringList{QStringLiteral("--packs"), QStringLiteral("1,2,1")}
        << QStringLiteral("address 1 twice");
    QTest::newRow("empty entry") << QStringList{QStringLiteral("--packs"), QStringLiteral("1,,2")}
                                 << QStringLiteral("--packs takes addresses");
    QTest::newRow("address too big")
        << QStringList{QStringLiteral("--packs"), QStringLiteral("256")}
        << QStringLiteral("--packs takes addresses");
    QTest::newRow("period on --packs")
        << QStringList{QStringLiteral("--packs"), QStringLiteral("1:5")}
        << QStringLiteral("--packs takes addresses");
    QTest::newRow("offline pack not on the line")
        << QStringList{QStringLiteral("--packs"), QStringLiteral("1,2"),
                       QStringLiteral("--offline"), QStringLiteral("4")}
        << QStringLiteral("--offline 4: no pack");
    QTest::newRow("offline period zero")
        << QStringList{QStringLiteral("--packs"), QStringLiteral("1,2"),
                       QStringLiteral("--offline"), QStringLiteral("2:0")}
        << QStringLiteral(":SECONDS (1 to 3600)");
    QStringList many;
    for (int a = 0; a <= 32; ++a)
        many.append(QString::number(a));
    QTest::newRow("33 packs") << QStringList{QStringLiteral("--packs"), many.join(QLatin1Char(','))}
                              << QStringLiteral("at most 32 packs");
}

void TestSimBus::refusedLineOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);

    QString text;
    QVERIFY(!parse(arguments, &text));
    QVERIFY2(text.contains(message), qPrintable(text));
}

void TestSimBus::packsHaveTheirOwnState_data()
{
    QTest::addColumn<int>("address");
    QTest::addColumn<int>("cells");
    QTest::addColumn<int>("socPermille");
    QTest::addColumn<int>("weakCell"); // 0: no drifted cell
    QTest::addColumn<bool>("alarm");

    QTest::newRow("pack 1: the one-pack default") << 1 << 16 << 800 << 0 << false;
    QTest::newRow("pack 2: a drifted cell") << 2 << 15 << 620 << 7 << false;
    QTest::newRow("pack 5: a hot sensor in alarm") << 5 << 16 << 450 << 0 << true;
    QTest::newRow("pack 9") << 9 << 8 << 910 << 0 << false;
}

void TestSimBus::packsHaveTheirOwnState()
{
    QFETCH(int, address);
    QFETCH(int, cells);
    QFETCH(int, socPermille);
    QFETCH(int, weakCell);
    QFETCH(bool, alarm);

    const std::optional<SimOptions> o = parse({QStringLiteral("--packs"), QStringLiteral("1,2,5,9"),
                                               QStringLiteral("--current"), QStringLiteral("0")});
    QVERIFY(o);
    Line line(*o);
    for (const auto &p : line.packs)
        p->model().advanceTo(10000); // past every alarm delay
    const LiveSnapshot &s = line.at(address).model().snapshot();
    QCOMPARE(s.cellCount, cells);
    QCOMPARE(s.cellMv.size(), cells);
    QVERIFY(qAbs(s.socPermille - socPermille) <= 5);
    if (weakCell > 0) {
        QCOMPARE(s.minCellNo, weakCell);
        QVERIFY2(s.differenceMv > 60, qPrintable(QString::number(s.differenceMv)));
    } else {
        QVERIFY2(s.differenceMv < 40, qPrintable(QString::number(s.differenceMv)));
    }
    QCOMPARE(s.alarms != 0, alarm);
    QCOMPARE(s.protections, 0u);

    // Every pack has an identity of its own.
    const QByteArray id = line.at(address).model().settings().read(PackItem::batteryId);
    for (const auto &p : line.packs)
        if (p->address() != address)
            QVERIFY(p->model().settings().read(PackItem::batteryId) != id);
}

void TestSimBus::offlinePeriods_data()
{
    QTest::addColumn<int>("periodMs");
    QTest::addColumn<int>("nowMs");
    QTest::addColumn<bool>("silent");

    QTest::newRow("always, at start") << 0 << 0 << true;
    QTest::newRow("always, later") << 0 << 123456 << true;
    QTest::newRow("in turns: first period silent") << 4000 << 0 << true;
    QTest::newRow("in turns: end of the first period") << 4000 << 3999 << true;
    QTest::newRow("in turns: second period answers") << 4000 << 4000 << false;
    QTest::newRow("in turns: third period silent again") << 4000 << 8500 << true;
}

void TestSimBus::offlinePeriods()
{
    QFETCH(int, periodMs);
    QFETCH(int, nowMs);
    QFETCH(bool, silent);

    const std::optional<SimOptions> o = parse({});
    QVERIFY(o);
    SimOptions::PackSpec spec = o->packs.first();
    spec.offline = true;
    spec.offlinePeriodMs = periodMs;
    BusPack pack(spec, *o, 0, startClock());
    QCOMPARE(pack.silentAt(nowMs), silent);
    const Responder::Outcome out = pack.handle(request(0, 4), nowMs);
    QCOMPARE(out.reply.isEmpty(), silent);
}

void TestSimBus::collidingAnswers_data()
{
    QTest::addColumn<QByteArray>("a");
    QTest::addColumn<QByteArray>("b");
    QTest::addColumn<QByteArray>("line");

    QTest::newRow("a 0 bit wins") << QByteArray::fromHex("5d03f00f")
                                  << QByteArray::fromHex("5d030ff0")
                                  << QByteArray::fromHex("5d030000");
    QTest::newRow("identical answers pass unharmed")
        << QByteArray::fromHex("5d0310aa") << QByteArray::fromHex("5d0310aa")
        << QByteArray::fromHex("5d0310aa");
    QTest::newRow("the longer answer's tail")
        << QByteArray::fromHex("ff0f") << QByteArray::fromHex("f0ff1234")
        << QByteArray::fromHex("f00f1234");
}

void TestSimBus::collidingAnswers()
{
    QFETCH(QByteArray, a);
    QFETCH(QByteArray, b);
    QFETCH(QByteArray, line);
    QCOMPARE(BusPack::collide(a, b), line);
    QCOMPARE(BusPack::collide(b, a), line);
}

void TestSimBus::clashingPacksGarbleTheirFrames_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<bool>("garbled");

    QTest::newRow("project number") << 1 << true;
    QTest::newRow("battery id") << 3 << true;
    QTest::newRow("live data") << 6 << true;
    QTest::newRow("cell voltages") << 8 << true;
    // Both run the same firmware: the one answer a clash cannot spoil.
    QTest::newRow("versions") << 4 << false;
}

void TestSimBus::clashingPacksGarbleTheirFrames()
{
    QFETCH(int, item);
    QFETCH(bool, garbled);

    const std::optional<SimOptions> o = parse({QStringLiteral("--address"), QStringLiteral("3"),
                                               QStringLiteral("--clash"), QStringLiteral("3")});
    QVERIFY(o);
    Line line(*o);
    QCOMPARE(int(line.packs.size()), 2);
    const QByteArray frame = request(0, quint8(item), {}, 3);
    const QByteArray a = line.packs[0]->handle(frame, 0).reply;
    const QByteArray b = line.packs[1]->handle(frame, 0).reply;
    QVERIFY(checkReply(a, 0, quint8(item), nullptr, 3).isEmpty());
    QVERIFY(checkReply(b, 0, quint8(item), nullptr, 3).isEmpty());
    const QByteArray heard = BusPack::collide(a, b);
    QCOMPARE(heard.size(), a.size());
    // The header survives, so a host sees a frame of the right length...
    QCOMPARE(heard.left(Frame::dataOffset), a.left(Frame::dataOffset));
    // ...whose CRC fails.
    QCOMPARE(!Frame::crcValid(heard), garbled);
}

void TestSimBus::initTestCase()
{
    m_sim = std::make_unique<SimProcess>();
    QVERIFY(m_sim->start({QStringLiteral("--packs"), QStringLiteral("1,2,5"),
                          QStringLiteral("--offline"), QStringLiteral("5"),
                          QStringLiteral("--clash"), QStringLiteral("3")}));
    QVERIFY(m_host.open(m_sim->link()));
}

void TestSimBus::cleanupTestCase()
{
    m_host.close();
    m_sim.reset();
}

void TestSimBus::eachAddressOnTheLine_data()
{
    QTest::addColumn<int>("address");
    QTest::addColumn<QString>("heard");
    QTest::addColumn<int>("cells");

    QTest::newRow("pack 1") << 1 << QStringLiteral("answer") << 16;
    QTest::newRow("pack 2") << 2 << QStringLiteral("answer") << 15;
    QTest::newRow("offline pack 5") << 5 << QStringLiteral("nothing") << 0;
    QTest::newRow("two packs at 3") << 3 << QStringLiteral("garbled") << 0;
    QTest::newRow("no pack at 7") << 7 << QStringLiteral("nothing") << 0;
    QTest::newRow("no pack at 255") << 255 << QStringLiteral("nothing") << 0;
}

void TestSimBus::eachAddressOnTheLine()
{
    QFETCH(int, address);
    QFETCH(QString, heard);
    QFETCH(int, cells);

    QByteArray raw;
    const QByteArray reply = m_host.exchange(request(0, 8, {}, quint8(address)),
                                             heard == QLatin1String("nothing") ? 400 : 1500, &raw);
    if (heard == QLatin1String("nothing")) {
        QVERIFY2(raw.isEmpty(), raw.toHex(' ').constData());
    } else if (heard == QLatin1String("garbled")) {
        QCOMPARE(reply.size(), Frame::overhead + 66);
        QCOMPARE(quint8(reply[1]), quint8(address));
        QVERIFY(!Frame::crcValid(reply));
    } else {
        QByteArray data;
        const QString problem = checkReply(reply, 0, 8, &data, quint8(address));
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QCOMPARE(word(data, 0), cells);
    }
}

void TestSimBus::statusReportsEveryPack()
{
    // One more request to each, on top of those of the test before.
    for (int address : {1, 2, 3, 5})
        m_host.exchange(request(0, 1, {}, quint8(address)), 300);
    const QJsonObject status = m_sim->status(200);
    const QJsonArray packs = status[QStringLiteral("packs")].toArray();
    QStringList seen;
    for (const QJsonValue &v : packs) {
        const QJsonObject p = v.toObject();
        seen.append(
            QStringLiteral("%1 %2%3 asked %4 answered %5")
                .arg(p[QStringLiteral("address")].toInt())
                .arg(p[QStringLiteral("offline")].toBool() ? QStringLiteral("offline")
                                                           : QStringLiteral("online"))
                .arg(p[QStringLiteral("clash")].toBool() ? QStringLiteral(" clash") : QString())
                .arg(p[QStringLiteral("requests")].toInt())
                .arg(p[QStringLiteral("answers")].toInt()));
    }
    QCOMPARE(seen, (QStringList{QStringLiteral("1 online asked 2 answered 2"),
                                QStringLiteral("2 online asked 2 answered 2"),
                                QStringLiteral("5 offline asked 2 answered 0"),
                                QStringLiteral("3 online clash asked 2 answered 2"),
                                QStringLiteral("3 online clash asked 2 answered 2")}));
    const QJsonObject counters = status[QStringLiteral("counters")].toObject();
    QCOMPARE(counters[QStringLiteral("collisions")].toInt(), 2);
    QCOMPARE(counters[QStringLiteral("offlineSilences")].toInt(), 2);
    QCOMPARE(counters[QStringLiteral("otherAddress")].toInt(), 2); // 7 and 255
    // The first pack stays at the top level, as with one pack.
    QCOMPARE(status[QStringLiteral("address")].toInt(), 1);
    QCOMPARE(status[QStringLiteral("pack")].toObject()[QStringLiteral("cellCount")].toInt(), 16);
    QCOMPARE(
        packs[1].toObject()[QStringLiteral("pack")].toObject()[QStringLiteral("cellCount")].toInt(),
        15);
}

QTEST_GUILESS_MAIN(TestSimBus)
#include "tst_sim_bus.moc"
