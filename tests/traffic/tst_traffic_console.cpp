#include "link/Frame.h"
#include "link/LinkController.h"
#include "shell/Core.h"
#include "support/FakePort.h"
#include "support/RecordingPrompt.h"
#include "traffic/TrafficFile.h"
#include "traffic/TrafficFilter.h"
#include "traffic/TrafficModel.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {
using Kind = TrafficRow::Kind;
const QString com3 = QStringLiteral("/dev/fake-com3");

QByteArray noise(int size, quint8 seed)
{
    // Never the response start byte, so nothing in it looks like a header.
    QByteArray bytes(size, '\0');
    quint8 v = seed;
    for (char &c : bytes) {
        v = quint8(v * 73 + 41);
        c = char(v == Frame::responseStart ? 0x5E : v);
    }
    return bytes;
}

QByteArray projectAnswer()
{
    return Frame::build(Frame::responseStart, 0xFF, 0x10, 0, 1,
                        QByteArray("PRJ-7").leftJustified(24, '\0'));
}

QByteArray corrupted(QByteArray frame)
{
    frame[10] = char(frame[10] ^ 0x40);
    return frame;
}

// The real link, request builder and dispatcher on a scripted line, with the
// console's model recording.
struct Rig {
    RecordingPrompt prompt;
    FakePort *port = nullptr;
    std::unique_ptr<Core> core;
    TrafficModel model;

    Rig()
    {
        auto fake = std::make_unique<FakePort>();
        port = fake.get();
        port->presentDevices = {com3};
        core = std::make_unique<Core>(prompt, std::move(fake));
        core->state.setEnglishUi(true);
        model.attach(core->link.tap());
    }

    // Open, poll the project number, an answer after noise and a corrupt copy
    // of itself, then noise that is still waiting when the port is closed.
    void exchange()
    {
        core->link.load();
        core->link.toggleOpen();
        QVERIFY(core->link.portOpen());
        core->link.sendTick();
        port->feed(noise(4, 1) + corrupted(projectAnswer()) + projectAnswer());
        port->feed(noise(3, 2));
        core->link.toggleOpen();
        QVERIFY(!core->link.portOpen());
        model.flush();
    }

    QList<int> kinds(const QAbstractItemModel &shown) const
    {
        QList<int> list;
        for (int r = 0; r < shown.rowCount(); ++r)
            list << shown.data(shown.index(r, 0), TrafficModel::KindRole).toInt();
        return list;
    }
};
} // namespace

class TestTrafficConsole : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
        const QString ports = m_config.filePath(QStringLiteral("cellvane/ports"));
        QVERIFY(QDir().mkpath(ports));
        QVERIFY(QFile::link(com3, ports + QStringLiteral("/com3")));
    }

    void exchangeRows_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("crc");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("chinese");
        QTest::addColumn<QByteArray>("bytes");

        const QByteArray answer = projectAnswer();
        QTest::newRow("port opened")
            << 0 << int(Kind::Opened) << ""
            << ""
            << ""
            << "port opened: COM3 (/dev/fake-com3) 9600,N,8 ,1"
            << "打开串口：COM3 (/dev/fake-com3) 9600,N,8 ,1" << QByteArray();
        QTest::newRow("poll sent") << 1 << int(Kind::Sent) << "1"
                                   << "0"
                                   << "ok"
                                   << "Read Project No."
                                   << "读取项目编号"
                                   << QByteArray::fromHex("5CFF1000010000"
                                                          "1784");
        QTest::newRow("corrupt answer") << 2 << int(Kind::Rejected) << "1"
                                        << "24"
                                        << "bad"
                                        << "Read Project No."
                                        << "读取项目编号" << corrupted(answer);
        QTest::newRow("noise and the corrupt answer dropped")
            << 3 << int(Kind::Discarded) << ""
            << "37"
            << ""
            << "discarded 37 bytes"
            << "丢弃 37 字节" << noise(4, 1) + corrupted(answer);
        QTest::newRow("answer accepted") << 4 << int(Kind::Received) << "1"
                                         << "24"
                                         << "ok"
                                         << "Read Project No."
                                         << "读取项目编号" << answer;
        QTest::newRow("next poll sent from the dispatcher")
            << 5 << int(Kind::Sent) << "2"
            << "0"
            << "ok"
            << "Read BMS model"
            << "读取BMS型号" << Frame::build(Frame::requestStart, 0xFF, 0x10, 0, 2, {});
        QTest::newRow("noise left when the port closed") << 6 << int(Kind::Discarded) << ""
                                                         << "3"
                                                         << ""
                                                         << "discarded 3 bytes"
                                                         << "丢弃 3 字节" << noise(3, 2);
    }

    void exchangeRows()
    {
        QFETCH(int, row);
        QFETCH(int, kind);
        QFETCH(QString, item);
        QFETCH(QString, length);
        QFETCH(QString, crc);
        QFETCH(QString, command);
        QFETCH(QString, chinese);
        QFETCH(QByteArray, bytes);

        Rig rig;
        rig.exchange();
        QCOMPARE(rig.model.rowCount(), 7);
        const TrafficRow &r = rig.model.row(row);
        QCOMPARE(int(r.kind), kind);
        QCOMPARE(r.bytes, bytes);
        QCOMPARE(TrafficModel::cellText(r, TrafficModel::Item), item);
        QCOMPARE(TrafficModel::cellText(r, TrafficModel::Length), length);
        QCOMPARE(TrafficModel::cellText(r, TrafficModel::Crc), crc);
        QCOMPARE(TrafficModel::cellText(r, TrafficModel::Command), command);
        QCOMPARE(TrafficModel::cellText(r, TrafficModel::Bytes, true),
                 QString::fromLatin1(bytes.toHex(' ').toUpper()));
        // Times count from the open, in order.
        QVERIFY(r.ms >= 0 && r.ms <= 10000);
        if (row > 0)
            QVERIFY(r.ms >= rig.model.row(row - 1).ms);
        rig.core->state.setEnglishUi(false);
        QCOMPARE(TrafficModel::cellText(r, TrafficModel::Command), chinese);
    }

    // Nothing reaches the view before the batch is due; watching changes
    // nothing on the wire.
    void rowsArriveInBatches()
    {
        Rig rig;
        rig.core->link.load();
        rig.core->link.toggleOpen();
        rig.core->link.sendTick();
        QCOMPARE(rig.model.rowCount(), 0);
        QCOMPARE(rig.model.pendingCount(), 2);
        QTRY_COMPARE(rig.model.rowCount(), 2);
        QCOMPARE(rig.port->writes, QList<QByteArray>{QByteArray::fromHex("5CFF100001000017"
                                                                         "84")});
    }

    void ringKeepsTheNewest_data()
    {
        QTest::addColumn<QList<int>>("batches");
        QTest::addColumn<int>("oldest");
        const int cap = TrafficModel::capacity;
        QTest::newRow("one batch beyond the bound") << QList<int>{cap + 37} << 37;
        QTest::newRow("full, then more") << QList<int>{cap, 37} << 37;
        QTest::newRow("a few, then more than the bound") << QList<int>{10, cap + 30} << 40;
    }

    void ringKeepsTheNewest()
    {
        QFETCH(QList<int>, batches);
        QFETCH(int, oldest);
        TrafficModel model;
        int next = 0;
        for (int size : batches) {
            for (int i = 0; i < size; ++i)
                model.add({next++, Kind::Sent,
                           QByteArray::fromHex("5CFF1000010000"
                                               "1784")});
            model.flush();
        }
        QCOMPARE(model.rowCount(), qMin(next, int(TrafficModel::capacity)));
        QCOMPARE(model.row(0).ms, qint64(oldest));
        QCOMPARE(model.row(model.rowCount() - 1).ms, qint64(next - 1));
    }

    void filter_data()
    {
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("item");
        QTest::addColumn<QList<int>>("kinds");
        const int opened = int(Kind::Opened), sent = int(Kind::Sent),
                  rejected = int(Kind::Rejected), discarded = int(Kind::Discarded),
                  received = int(Kind::Received);
        using D = TrafficFilter::Direction;
        QTest::newRow("everything")
            << int(D::All) << TrafficFilter::allItems
            << QList<int>{opened, sent, rejected, discarded, received, sent, discarded};
        QTest::newRow("sent") << int(D::Sent) << TrafficFilter::allItems
                              << QList<int>{opened, sent, sent};
        QTest::newRow("received") << int(D::Received) << TrafficFilter::allItems
                                  << QList<int>{opened, rejected, discarded, received, discarded};
        QTest::newRow("faults") << int(D::Faults) << TrafficFilter::allItems
                                << QList<int>{opened, rejected, discarded, discarded};
        QTest::newRow("item 1") << int(D::All) << 1 << QList<int>{opened, sent, rejected, received};
    }

    void filter()
    {
        QFETCH(int, direction);
        QFETCH(int, item);
        QFETCH(QList<int>, kinds);
        Rig rig;
        TrafficFilter shown;
        shown.setSourceModel(&rig.model);
        // Set before the rows arrive, so rows are filtered as they come.
        shown.setDirection(TrafficFilter::Direction(direction));
        rig.exchange();
        shown.setItem(item);
        QCOMPARE(rig.kinds(shown), kinds);
        // Back to everything.
        shown.setDirection(TrafficFilter::Direction::All);
        shown.setItem(TrafficFilter::allItems);
        QCOMPARE(shown.rowCount(), rig.model.rowCount());
    }

    void pauseRecordsNothingButSaysHowMuch()
    {
        Rig rig;
        rig.core->link.load();
        rig.core->link.toggleOpen();
        rig.model.setPaused(true);
        rig.core->link.sendTick();
        rig.port->feed(projectAnswer()); // and the dispatcher's next request
        rig.model.setPaused(false);
        rig.model.flush();
        QCOMPARE(rig.kinds(rig.model), (QList<int>{int(Kind::Opened), int(Kind::Skipped)}));
        QCOMPARE(TrafficModel::cellText(rig.model.row(1), TrafficModel::Command),
                 QStringLiteral("3 rows not recorded while paused"));
        rig.model.clear();
        QCOMPARE(rig.model.rowCount(), 0);
    }

    // The window's test covers a save that fails.
    void save()
    {
        Rig rig;
        rig.exchange();
        // A run of bytes longer than a table cell shows goes to the file whole.
        const QByteArray longRun = noise(TrafficModel::shownBytes + 40, 5);
        rig.model.add({99, Kind::Discarded, longRun});
        rig.model.flush();
        TrafficFilter shown;
        shown.setSourceModel(&rig.model);
        shown.setDirection(TrafficFilter::Direction::Received);

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("traffic.txt"));
        QCOMPARE(TrafficFile::save(shown, path), QString());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines =
            QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 1 + shown.rowCount());
        QCOMPARE(lines.first().split(QLatin1Char('\t')).size(), int(TrafficModel::ColumnCount));
        QVERIFY(lines.first().startsWith(QStringLiteral("Time (ms)\tDirection\t")));
        const QStringList dropped = lines.at(3).split(QLatin1Char('\t'));
        QCOMPARE(dropped.at(TrafficModel::Direction), QStringLiteral("received"));
        QCOMPARE(dropped.at(TrafficModel::Command), QStringLiteral("discarded 37 bytes"));
        QCOMPARE(
            dropped.at(TrafficModel::Bytes),
            QString::fromLatin1((noise(4, 1) + corrupted(projectAnswer())).toHex(' ').toUpper()));
        QVERIFY(lines.last().endsWith(QString::fromLatin1(longRun.toHex(' ').toUpper())));
    }

private:
    QTemporaryDir m_config;
};

QTEST_GUILESS_MAIN(TestTrafficConsole)
#include "tst_traffic_console.moc"
