// cellvane-cli publish as a service runs it: the simulated packs on a
// pseudo-terminal, a private mosquitto broker, and a subscriber that sees what
// a home-automation system would see, through a broker restart and a lost
// serial line.
#include "mqtt/BrokerFixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace MqttTest;

namespace {
constexpr int comNumber = 43;

QString portLink()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/cellvane/ports/com%1").arg(comNumber);
}

// The simulated line with packs 1 and 2, pack 2 switched off.
class SimLine {
public:
    ~SimLine() { stop(); }
    bool start()
    {
        QDir().mkpath(QFileInfo(portLink()).path());
        QFile::remove(portLink());
        m_sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_sim.start(QStringLiteral(CELLVANE_SIM_EXE),
                    {QStringLiteral("--link"), portLink(), QStringLiteral("--packs"),
                     QStringLiteral("1,2"), QStringLiteral("--offline"), QStringLiteral("2"),
                     QStringLiteral("--speed"), QStringLiteral("0")});
        return m_sim.waitForStarted(5000) &&
               QTest::qWaitFor([] { return QFileInfo(portLink()).isSymLink(); }, 10000);
    }
    void stop()
    {
        if (m_sim.state() == QProcess::NotRunning)
            return;
        m_sim.terminate();
        m_sim.waitForFinished(5000);
    }

private:
    QProcess m_sim;
};

QJsonObject json(const QByteArray &payload)
{
    return QJsonDocument::fromJson(payload).object();
}
} // namespace

class TestCliPublish : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QStringList publishArguments(int brokerPort) const
    {
        return {QStringLiteral("publish"),
                QStringLiteral("--port"),
                QStringLiteral("COM%1").arg(comNumber),
                QStringLiteral("--address"),
                QStringLiteral("1,2"),
                QStringLiteral("--mqtt"),
                QStringLiteral("127.0.0.1:%1").arg(brokerPort),
                QStringLiteral("--ha-discovery"),
                QStringLiteral("--interval"),
                QStringLiteral("1"),
                QStringLiteral("--timeout"),
                QStringLiteral("1")};
    }

private slots:
    // What ends the run at once: nothing that a restart would mend.
    void refusals_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("no broker") << QStringList{"publish"} << 2 << "--mqtt";
        QTest::newRow("port out of range")
            << QStringList{"publish", "--mqtt", "127.0.0.1:70000"} << 2 << "70000";
        QTest::newRow("interval zero")
            << QStringList{"publish", "--mqtt", "127.0.0.1", "--interval", "0"} << 2
            << "--interval";
        QTest::newRow("password file missing")
            << QStringList{"publish", "--mqtt", "127.0.0.1", "--password-file", "/nonexistent/pw"}
            << 3 << "/nonexistent/pw";
    }
    void refusals()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        QProcess p;
        p.start(QStringLiteral(CELLVANE_CLI_EXE), arguments);
        QVERIFY(p.waitForFinished(20000));
        const QString err = QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
        QCOMPARE(p.exitCode(), exitCode);
        QVERIFY2(err.contains(message) && !err.contains(QLatin1Char('\n')), qPrintable(err));
    }

    void publishesThroughBrokerRestartAndLineLoss()
    {
        QVERIFY(m_dir.isValid());
        Broker broker;
        QVERIFY(broker.start());
        SimLine line;
        QVERIFY(line.start());
        Subscriber first;
        QVERIFY(first.start(broker.port(), {"cellvane/#", "homeassistant/#"}));

        QProcess cli;
        cli.start(QStringLiteral(CELLVANE_CLI_EXE), publishArguments(broker.port()));
        QVERIFY(cli.waitForStarted());
        const auto states = [](const Subscriber &s) {
            QList<QJsonObject> out;
            for (const Received &r : s.all())
                if (r.topic.startsWith(QLatin1String("cellvane/")) &&
                    r.topic.endsWith(QLatin1String("/state")))
                    out << json(r.payload);
            return out;
        };
        QTRY_VERIFY_WITH_TIMEOUT(states(first).size() >= 2, 30000);

        // The pack that answers, with its own values; the silent one never
        // gets topics of its own.
        const QJsonObject state = states(first).last();
        QCOMPARE(state.value(QLatin1String("address")).toInt(), 1);
        const QString id = state.value(QLatin1String("battery_id")).toString();
        QVERIFY(!id.isEmpty());
        double sum = 0;
        for (const QJsonValue &cell : state.value(QLatin1String("cells")).toArray())
            sum += cell.toDouble();
        QVERIFY2(qAbs(sum - state.value(QLatin1String("total_voltage")).toDouble()) < 0.5,
                 qPrintable(QString::number(sum)));
        for (const QJsonObject &s : states(first))
            QCOMPARE(s.value(QLatin1String("address")).toInt(), 1);
        const QString key = QString(id).replace(
            QRegularExpression(QStringLiteral("[^A-Za-z0-9_-]")), QStringLiteral("_"));
        QCOMPARE(first.last(QStringLiteral("cellvane/%1/availability").arg(key)), "online");
        const QJsonObject soc = json(
            first.last(QStringLiteral("homeassistant/sensor/cellvane_%1_soc/config").arg(key)));
        QCOMPARE(soc.value(QLatin1String("state_topic")).toString(),
                 QStringLiteral("cellvane/%1/state").arg(key));

        // The broker goes away and comes back on the same port.
        const int port = broker.port();
        broker.stop();
        QTest::qWait(1500);
        QVERIFY(broker.start(port));
        Subscriber second;
        QVERIFY(second.start(port, {"cellvane/#"}));
        QTRY_VERIFY_WITH_TIMEOUT(!states(second).isEmpty(), 30000);

        // The serial line goes away and comes back under the same number.
        line.stop();
        QTest::qWait(2500);
        const int before = int(states(second).size());
        QVERIFY(line.start());
        QTRY_VERIFY_WITH_TIMEOUT(states(second).size() >= before + 2, 30000);
        QCOMPARE(cli.state(), QProcess::Running);

        // A stop marks the pack and the bridge offline, then ends with 0.
        ::kill(pid_t(cli.processId()), SIGTERM);
        QVERIFY(cli.waitForFinished(10000));
        QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
        QCOMPARE(cli.exitCode(), 0);
        QTRY_COMPARE(second.last(QStringLiteral("cellvane/%1/availability").arg(key)),
                     QByteArray("offline"));
        QCOMPARE(second.last(QStringLiteral("cellvane/bridge/availability")),
                 QByteArray("offline"));
        const QString log = QString::fromLocal8Bit(cli.readAllStandardError());
        QVERIFY2(log.contains(QLatin1String("was reconnected")), qPrintable(log));
        QVERIFY2(log.count(QLatin1String("address 2 did not answer")) == 1, qPrintable(log));
    }
};

QTEST_GUILESS_MAIN(TestCliPublish)
#include "tst_cli_publish.moc"
