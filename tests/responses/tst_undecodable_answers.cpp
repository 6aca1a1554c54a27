// Answers that pass the CRC but are too short for their layout, between the
// host and the simulated pack: the live polling goes on after one, a pack that
// always answers one item short shows its "7" once, and a page read ends
// cleanly.
#include "responses/ResponseTestKit.h"
#include "sim/SimTestSupport.h"

#include "records/OutputFiles.h"
#include "records/RecordForm.h"
#include "records/RecordingLine.h"
#include "responses/InfoForm.h"

#include <QFile>
#include <QHash>
#include <QSignalSpy>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QList<int> cycle = {1, 2, 3, 4, 5, 6, 7, 8, 9, 19};

// The host's core on a fake line whose other end is the simulated pack. Every
// request that goes out is answered through the host's receive step; answers
// of the items in `cut` keep only that many data bytes.
struct Line {
    explicit Line(bool english = true) : host(english) {}

    void pump()
    {
        while (m_answered < port().writes.size()) {
            const QByteArray request = port().writes[m_answered++];
            QByteArray reply = pack.responder.handle(request, 0).reply;
            const quint8 item = quint8(reply.at(4));
            if (cut.contains(item) && cutTimes.value(item, 1) != 0) {
                cutTimes[item] = cutTimes.value(item, 1) - 1;
                reply = Frame::build(Frame::responseStart, 255, 16, quint8(reply.at(3)), item,
                                     reply.mid(Frame::dataOffset, cut[item]));
            } else if (item == 6 && voltage >= 0) {
                reply[Frame::dataOffset] = char(voltage >> 8);
                reply[Frame::dataOffset + 1] = char(voltage & 0xFF);
                reply = Frame::build(Frame::responseStart, 255, 16, 0, 6,
                                     reply.mid(Frame::dataOffset, Frame::dataLength(reply)));
            }
            port().feed(reply);
        }
        // Messages that wait for the receive step to end.
        QCoreApplication::sendPostedEvents();
    }
    // One send-timer period: the timer fires only when it runs.
    void period()
    {
        if (host.core.link.sendTimer().isActive())
            host.core.link.sendTick();
        pump();
    }
    void startPolling()
    {
        host.core.selectTab(2);
        QVERIFY(host.core.link.sendTimer().isActive());
    }
    FakePort &port() { return host.port(); }
    AppState &state() { return host.core.state; }
    QList<int> sentItems() { return host.sentItems(); }
    QStringList texts() const { return host.prompt.texts(); }

    ResponseTestKit::Bench host;
    SimTest::Bench pack;
    QHash<int, int> cut;      // item -> data bytes left in its answer
    QHash<int, int> cutTimes; // item -> answers still to cut (absent: one)
    int voltage = -1;         // >= 0: the total voltage word of item 6 answers

private:
    qsizetype m_answered = 0;
};

} // namespace

class TestUndecodableAnswers : public QObject {
    Q_OBJECT
private slots:
    // One short answer: "7", the same read again at the next tick, and the
    // cycle runs on from there.
    void shortAnswerIsAskedAgain_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("bytes");
        QTest::newRow("live data, none") << 6 << 0;
        QTest::newRow("live data, one byte") << 6 << 1;
        QTest::newRow("live data, 28 bytes") << 6 << 28;
        QTest::newRow("versions, none") << 4 << 0;
        QTest::newRow("versions, one byte") << 4 << 1;
        QTest::newRow("temperatures, none") << 7 << 0;
        QTest::newRow("temperatures, one byte") << 7 << 1;
        QTest::newRow("cell voltages, none") << 8 << 0;
        QTest::newRow("cell voltages, one byte") << 8 << 1;
        QTest::newRow("balancing, none") << 9 << 0;
        QTest::newRow("balancing, one byte") << 9 << 1;
    }
    void shortAnswerIsAskedAgain()
    {
        QFETCH(int, item);
        QFETCH(int, bytes);
        Line line;
        line.cut[item] = bytes;
        line.startPolling();
        line.period();
        QCOMPARE(line.texts(), QStringList{"7"});
        QVERIFY2(line.state().statusLine().contains(QStringLiteral("(item %1)").arg(item)),
                 qPrintable(line.state().statusLine()));
        QVERIFY(line.host.core.link.sendTimer().isActive());
        line.period();
        line.period();

        const qsizetype at = cycle.indexOf(item);
        const QList<int> expected = cycle.mid(0, at + 1) + cycle.mid(at) + cycle;
        QCOMPARE(line.sentItems(), expected);
        QCOMPARE(line.texts(), QStringList{"7"});
        QCOMPARE(line.state().currentCommand, quint8(0));
    }

    // A pack that answers one item short every time: the rest of every cycle is
    // still read, "7" comes once, and again only after that item has decoded
    // in between. The status line names the read each time.
    void sameItemShortEveryTime_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("status");
        QTest::newRow("English")
            << true
            << "Reading the basic information failed: its answer (item 6) could not be decoded";
        QTest::newRow("Chinese") << false << "读取基本信息失败：应答（项 6）无法解析";
    }
    void sameItemShortEveryTime()
    {
        QFETCH(bool, english);
        QFETCH(QString, status);
        Line line(english);
        QSignalSpy statuses(&line.state(), &AppState::statusLineChanged);
        line.cut[6] = 1;
        line.cutTimes[6] = -1; // for ever
        line.startPolling();
        for (int i = 0; i < 12; ++i)
            line.period();

        QCOMPARE(line.texts(), QStringList{"7"});
        const QList<int> sent = line.sentItems();
        // Each cycle asks item 6 twice and then goes on to the end.
        QVERIFY2(sent.count(19) >= 3, qPrintable(QString::number(sent.count(19))));
        QCOMPARE(sent.count(6), 2 * sent.count(5));
        QVERIFY(sent.count(7) >= sent.count(19));
        QVERIFY(statuses.count() > 0);
        int faultStatuses = 0;
        for (const QList<QVariant> &args : statuses)
            faultStatuses += args.at(0).toString() == status;
        QCOMPARE(faultStatuses, sent.count(6));

        // One good answer in between, then short again: a second box.
        line.cut.clear();
        for (int i = 0; i < 3; ++i)
            line.period();
        QCOMPARE(line.texts(), QStringList{"7"});
        QVERIFY(!line.state().info.text(InfoField::totalVoltage).isEmpty());
        line.cut[6] = 1;
        for (int i = 0; i < 3; ++i)
            line.period();
        QCOMPARE(line.texts(), (QStringList{"7", "7"}));
        line.state().setEnglishUi(true);
    }

    // A recording in progress goes on with values from the pack, not with the
    // ones from before the bad answer.
    void recordingKeepsFreshLines()
    {
        QTemporaryDir dir;
        OutputFiles::setProgramFolder(dir.path());
        Line line;
        line.cut[6] = 1;
        line.startPolling();
        line.state().record.setCheck(RecordField::recording, 2);
        QVERIFY(line.host.core.recorder.isRecording());
        const int voltageField =
            2 + int(RecordingLine::infoFields().indexOf(InfoField::totalVoltage));
        QVERIFY(voltageField >= 2);
        for (int i = 0; i < 8; ++i) {
            line.voltage = 4000 + i;
            line.period();
            line.host.core.recorder.tick();
        }
        QCOMPARE(line.texts(), QStringList{"7"});
        const QString path = line.state().recordFilePath;
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QStringDecoder decode(QStringConverter::System); // as the recorder writes
        const QStringList lines =
            QString(decode(file.readAll())).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        line.host.core.recorder.stop();
        OutputFiles::setProgramFolder({});
        QCOMPARE(lines.size(), 8);
        QCOMPARE(lines.last().split(RecordingLine::separator).value(voltageField),
                 QStringLiteral("40.07"));
    }

    // A page read whose answer cannot be decoded ends: pause, its chain
    // flags cleared, the status line names it, and the page's next read works.
    void pageReadEndsCleanly_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("readAll");
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("bytes");
        QTest::addColumn<int>("nextCode");
        QTest::addColumn<QString>("nextMessage");
        QTest::newRow("Read All, row 3 short") << 17 << true << 43 << 6 << 20 << "Read succeeded";
        QTest::newRow("one row short") << 25 << false << 48 << 0 << 25 << "Read succeeded";
        QTest::newRow("BMS clock short") << 124 << false << 18 << 3 << 110 << "read successfully";
        QTest::newRow("dates short") << 108 << false << 10 << 11 << 124 << "read successfully";
    }
    void pageReadEndsCleanly()
    {
        QFETCH(int, code);
        QFETCH(bool, readAll);
        QFETCH(int, item);
        QFETCH(int, bytes);
        QFETCH(int, nextCode);
        QFETCH(QString, nextMessage);
        Line line;
        line.cut[item] = bytes;
        line.host.core.selectTab(code < 96 ? 3 : 4);
        if (readAll)
            line.host.core.paramCommands.readAll();
        else
            line.host.core.requests.send(quint8(code));
        line.pump();

        QCOMPARE(line.texts(), QStringList{"7"});
        QCOMPARE(line.state().currentCommand, quint8(16));
        QVERIFY(!line.state().readAllActive);
        QVERIFY(!line.host.core.link.sendTimer().isActive());
        QCOMPARE(
            line.state().statusLine(),
            QStringLiteral("Reading item %1 failed: its answer could not be decoded").arg(item));
        // Nothing more goes out: the exchange is over.
        const qsizetype sent = line.port().writes.size();
        line.period();
        QCOMPARE(line.port().writes.size(), sent);

        line.host.core.requests.send(quint8(nextCode));
        line.pump();
        QCOMPARE(line.texts(), (QStringList{"7", nextMessage}));
        QCOMPARE(line.port().writes.size(), sent + 1);
        QCOMPARE(line.state().currentCommand, quint8(16));
    }
};

QTEST_GUILESS_MAIN(TestUndecodableAnswers)
#include "tst_undecodable_answers.moc"
