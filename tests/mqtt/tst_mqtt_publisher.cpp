#include "BrokerFixture.h"
#include "mqtt/MqttPublisher.h"
#include "support/ResultCheck.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSignalSpy>

using namespace MqttTest;

namespace {

QJsonObject packState(int address, const QString &id, double soc = 81.5)
{
    return QJsonObject{
        {"address", address},
        {"battery_id", id},
        {"total_voltage", 53.12},
        {"current", -4.5},
        {"soc", soc},
        {"soh", 98.0},
        {"cell_max_voltage", 3.327},
        {"cell_max_index", 7},
        {"cell_min_voltage", 3.312},
        {"cell_min_index", 2},
        {"cell_diff", 15},
        {"temp_max", 27.0},
        {"temp_min", 24.0},
        {"charge_mos", true},
        {"discharge_mos", true},
        {"alarms", QJsonArray{"Cell overvoltage alarm"}},
        {"protections", QJsonArray{}},
        {"faults", QJsonArray{}},
        {"cells", QJsonArray{3.32, 3.312, 3.327}},
    };
}

QJsonObject json(const QByteArray &payload)
{
    return QJsonDocument::fromJson(payload).object();
}

} // namespace

class TestMqttPublisher : public QObject {
    Q_OBJECT
private:
    MqttOptions options(int port)
    {
        MqttOptions o;
        o.host = QStringLiteral("127.0.0.1");
        o.port = port;
        o.haDiscovery = true;
        o.reconnectMinMs = 200;
        o.reconnectMaxMs = 400;
        return o;
    }

private slots:
    void discoveryAndState()
    {
        Broker broker;
        QVERIFY(broker.start());
        Subscriber live;
        QVERIFY(live.start(broker.port(), {"cellvane/#", "homeassistant/#"}));

        MqttPublisher publisher(options(broker.port()));
        QVERIFY_OK(publisher.start());
        QTRY_VERIFY(publisher.isConnected());

        // The second pack's ID reads like the first's once made a topic level.
        const QJsonObject first = packState(1, QStringLiteral("BT 01/A+#"));
        const QJsonObject second = packState(2, QStringLiteral("BT_01_A"), 40.0);
        publisher.publishState(first);
        publisher.publishState(second);
        QCOMPARE(publisher.packKey(1), QStringLiteral("BT_01_A"));
        QCOMPARE(publisher.packKey(2), QStringLiteral("BT_01_A_2"));

        QTRY_COMPARE(live.on("cellvane/BT_01_A/state").size(), 1);
        QTRY_COMPARE(live.on("cellvane/BT_01_A_2/state").size(), 1);
        QCOMPARE(json(live.last("cellvane/BT_01_A/state")), first);
        QCOMPARE(json(live.last("cellvane/BT_01_A_2/state")), second);
        QCOMPARE(live.last("cellvane/bridge/availability"), QByteArray("online"));
        QCOMPARE(live.last("cellvane/BT_01_A/availability"), QByteArray("online"));

        // Every config reads a member the state has, from the pack's own topic.
        const QRegularExpression member(QStringLiteral("value_json\\.(\\w+)"));
        QStringList units;
        int configs = 0;
        for (const Received &r : live.all()) {
            if (!r.topic.startsWith("homeassistant/sensor/cellvane_BT_01_A_") ||
                r.topic.startsWith("homeassistant/sensor/cellvane_BT_01_A_2_"))
                continue;
            ++configs;
            const QJsonObject c = json(r.payload);
            QCOMPARE(r.topic, "homeassistant/sensor/" + c["unique_id"].toString() + "/config");
            QCOMPARE(c["state_topic"].toString(), QStringLiteral("cellvane/BT_01_A/state"));
            auto it = member.globalMatch(c["value_template"].toString());
            QVERIFY(it.hasNext());
            while (it.hasNext()) {
                const QString field = it.next().captured(1);
                QVERIFY2(first.contains(field), qPrintable(field));
            }
            QCOMPARE(c["availability_mode"].toString(), QStringLiteral("all"));
            QCOMPARE(c["availability"].toArray(),
                     (QJsonArray{QJsonObject{{"topic", "cellvane/bridge/availability"}},
                                 QJsonObject{{"topic", "cellvane/BT_01_A/availability"}}}));
            const QJsonObject device = c["device"].toObject();
            QCOMPARE(device["identifiers"].toArray(), QJsonArray{"cellvane_BT_01_A"});
            QCOMPARE(device["name"].toString(), QStringLiteral("Battery BT 01/A+#"));
            QVERIFY(!device["manufacturer"].toString().isEmpty());
            QCOMPARE(c["state_class"].toString(), QStringLiteral("measurement"));
            units << c["unit_of_measurement"].toString() + "/" + c["device_class"].toString();
        }
        QCOMPARE(configs, 10);
        units.sort();
        QCOMPARE(units,
                 (QStringList{"%/", "%/battery", "/", "A/current", "V/voltage", "V/voltage",
                              "V/voltage", "mV/voltage", "°C/temperature", "°C/temperature"}));

        // Availability and configs stay on the broker for who comes later;
        // states do not.
        Subscriber later;
        QVERIFY(later.start(broker.port(), {"cellvane/#", "homeassistant/#"}));
        QTRY_COMPARE(later.on("cellvane/BT_01_A_2/availability").size(), 1);
        QVERIFY(later.on("cellvane/BT_01_A_2/availability").first().retained);
        QVERIFY(later.on("cellvane/bridge/availability").first().retained);
        QTRY_COMPARE(later.on("homeassistant/sensor/cellvane_BT_01_A_soc/config").size(), 1);
        QVERIFY(later.on("homeassistant/sensor/cellvane_BT_01_A_soc/config").first().retained);
        QVERIFY(later.on("cellvane/BT_01_A/state").isEmpty());
    }

    void brokerRestart()
    {
        Broker broker;
        QVERIFY(broker.start());
        MqttOptions o = options(broker.port());
        // Long enough for the test to bring the broker back and subscribe
        // before the bridge tries again.
        o.reconnectMinMs = o.reconnectMaxMs = 3000;
        MqttPublisher publisher(o);
        QSignalSpy retries(&publisher, &MqttPublisher::retryScheduled);
        QVERIFY_OK(publisher.start());
        QTRY_VERIFY(publisher.isConnected());

        int cycle = 0;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            publisher.publishState(packState(1, "A", ++cycle));
            publisher.publishState(packState(2, "B", cycle));
        });
        poll.start(50);
        QTest::qWait(300);
        broker.stop();
        QTRY_VERIFY(!publisher.isConnected());
        QTRY_VERIFY(!retries.isEmpty());
        // Cycles go on while the broker is away; what waits is one state per pack.
        QTest::qWait(300);
        poll.stop();
        publisher.publishState(packState(1, "A", 77));
        QCOMPARE(publisher.pendingCount(), 2);

        QVERIFY(broker.start(broker.port()));
        Subscriber sub;
        QVERIFY(sub.start(broker.port(), {"cellvane/#"}));
        QVERIFY(!publisher.isConnected());
        QTRY_VERIFY_WITH_TIMEOUT(publisher.isConnected(), 10000);
        // The broker forgot the retained topics; the bridge said them again.
        QTRY_COMPARE(sub.last("cellvane/bridge/availability"), QByteArray("online"));
        QTRY_COMPARE(sub.last("cellvane/A/availability"), QByteArray("online"));
        QTRY_COMPARE(sub.on("cellvane/A/state").size(), 1);
        QCOMPARE(json(sub.last("cellvane/A/state"))["soc"].toDouble(), 77.0);
        QCOMPARE(sub.on("cellvane/B/state").size(), 1);
        QCOMPARE(json(sub.last("cellvane/B/state"))["soc"].toDouble(), double(cycle));
        QCOMPARE(publisher.pendingCount(), 0);

        poll.start(50);
        QTRY_VERIFY(sub.on("cellvane/A/state").size() >= 5);
        QVERIFY(json(sub.last("cellvane/A/state"))["soc"].toDouble() > cycle - 5);
    }

    // A broker that is not there, or takes the connection and never answers,
    // is tried again and again, each wait twice the last up to the limit.
    void unreachable_data()
    {
        QTest::addColumn<bool>("listening");
        QTest::addColumn<QString>("reason");
        QTest::newRow("nothing listens") << false << "refused";
        QTest::newRow("never answers") << true << "did not answer";
    }
    void unreachable()
    {
        QFETCH(bool, listening);
        QFETCH(QString, reason);
        const int port = freePort();
        const int silent = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = htons(quint16(port));
        if (listening) {
            QCOMPARE(::bind(silent, reinterpret_cast<sockaddr *>(&a), sizeof a), 0);
            QCOMPARE(::listen(silent, 8), 0);
        }
        MqttOptions o = options(port);
        o.reconnectMinMs = 50;
        o.reconnectMaxMs = 200;
        o.connectTimeoutMs = 150;
        MqttPublisher publisher(o);
        QSignalSpy retries(&publisher, &MqttPublisher::retryScheduled);
        QVERIFY_OK(publisher.start());
        publisher.publishState(packState(1, "A"));
        QTRY_VERIFY_WITH_TIMEOUT(retries.size() >= 3, 10000);
        // Each attempt's socket is closed before the next one: a long outage
        // does not use up the process's files.
        const auto openFiles = [] { return QDir("/proc/self/fd").count(); };
        const qsizetype files = openFiles();
        QTRY_VERIFY_WITH_TIMEOUT(retries.size() >= 9, 10000);
        QVERIFY2(openFiles() <= files + 1, qPrintable(QString::number(openFiles() - files)));
        ::close(silent);
        QList<int> delays;
        for (const QList<QVariant> &r : retries.mid(0, 5))
            delays << r.at(0).toInt();
        QCOMPARE(delays, (QList<int>{50, 100, 200, 200, 200}));
        const QString said = retries.first().at(1).toString();
        QVERIFY2(said.contains(reason, Qt::CaseInsensitive), qPrintable(said));
        QVERIFY(!publisher.isConnected());
        QCOMPARE(publisher.pendingCount(), 1);
    }

    void credentials_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("right") << "s3cret" << true;
        QTest::newRow("wrong") << "guess" << false;
    }
    void credentials()
    {
        QFETCH(QString, password);
        QFETCH(bool, accepted);
        QTemporaryDir dir;
        const QString users = dir.filePath("users");
        QCOMPARE(run("mosquitto_passwd", {"-b", "-c", users, "bridge", "s3cret"}), 0);
        Broker broker;
        QVERIFY(broker.start(0, "allow_anonymous false\npassword_file " + users + "\n"));
        MqttOptions o = options(broker.port());
        o.username = QStringLiteral("bridge");
        o.password = password;
        MqttPublisher publisher(o);
        QSignalSpy retries(&publisher, &MqttPublisher::retryScheduled);
        QVERIFY_OK(publisher.start());
        if (accepted) {
            QTRY_VERIFY(publisher.isConnected());
            QVERIFY(retries.isEmpty());
        } else {
            // Refused, said why, and tried again rather than given up.
            QTRY_VERIFY(retries.size() >= 2);
            QVERIFY(!publisher.isConnected());
            QVERIFY2(retries.first().at(1).toString().contains("refused"),
                     qPrintable(retries.first().at(1).toString()));
        }
    }

    void tls_data()
    {
        QTest::addColumn<bool>("trusted");
        QTest::newRow("broker's authority") << true;
        QTest::newRow("another authority") << false;
    }
    void tls()
    {
        QFETCH(bool, trusted);
        QTemporaryDir dir;
        const auto file = [&](const char *name) { return dir.filePath(name); };
        const auto authority = [&](const char *name) {
            return run("openssl",
                       {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout",
                        file(name) + QString(".key"), "-out", file(name) + QString(".pem"), "-days",
                        "2", "-subj", "/CN=" + QString(name)}) == 0;
        };
        QVERIFY(authority("ca"));
        QVERIFY(authority("other"));
        QFile ext(file("ext"));
        QVERIFY(ext.open(QIODevice::WriteOnly));
        ext.write("subjectAltName=IP:127.0.0.1\n");
        ext.close();
        QCOMPARE(run("openssl", {"req", "-newkey", "rsa:2048", "-nodes", "-keyout", file("srv.key"),
                                 "-out", file("srv.csr"), "-subj", "/CN=127.0.0.1"}),
                 0);
        QCOMPARE(run("openssl", {"x509", "-req", "-in", file("srv.csr"), "-CA", file("ca.pem"),
                                 "-CAkey", file("ca.key"), "-CAcreateserial", "-out",
                                 file("srv.pem"), "-days", "2", "-extfile", file("ext")}),
                 0);
        Broker broker;
        QVERIFY(broker.start(0, QString("allow_anonymous true\ncafile %1\ncertfile %2\nkeyfile "
                                        "%3\n")
                                    .arg(file("ca.pem"), file("srv.pem"), file("srv.key"))));
        MqttOptions o = options(broker.port());
        o.tlsCaFile = file(trusted ? "ca.pem" : "other.pem");
        MqttPublisher publisher(o);
        QSignalSpy retries(&publisher, &MqttPublisher::retryScheduled);
        QVERIFY_OK(publisher.start());
        if (trusted) {
            QTRY_VERIFY(publisher.isConnected());
            QVERIFY(retries.isEmpty());
        } else {
            // A broker whose certificate does not check out gets nothing.
            QTRY_VERIFY(retries.size() >= 2);
            QVERIFY(!publisher.isConnected());
        }
    }

    void availability_data()
    {
        QTest::addColumn<bool>("graceful");
        QTest::newRow("stopped") << true;
        QTest::newRow("vanished") << false;
    }
    void availability()
    {
        QFETCH(bool, graceful);
        Broker broker;
        QVERIFY(broker.start());
        Subscriber sub;
        QVERIFY(sub.start(broker.port(), {"cellvane/#"}));
        auto *publisher = new MqttPublisher(options(broker.port()));
        QVERIFY_OK(publisher->start());
        QTRY_VERIFY(publisher->isConnected());
        publisher->publishState(packState(1, "A"));
        publisher->publishState(packState(2, "B"));
        publisher->publishUnavailable(2);
        QTRY_COMPARE(sub.last("cellvane/A/availability"), QByteArray("online"));
        QTRY_COMPARE(sub.last("cellvane/B/availability"), QByteArray("offline"));

        if (graceful) {
            QSignalSpy stopped(publisher, &MqttPublisher::stopped);
            publisher->stop();
            QVERIFY(stopped.wait(5000));
            QCOMPARE(sub.last("cellvane/A/availability"), QByteArray("offline"));
        }
        delete publisher;
        // Stopped or vanished, the bridge is offline: said, or by its will.
        QTRY_COMPARE(sub.last("cellvane/bridge/availability"), QByteArray("offline"));
        QCOMPARE(sub.on("cellvane/bridge/availability").size(), 2);
        if (!graceful)
            QCOMPARE(sub.last("cellvane/A/availability"), QByteArray("online"));
    }
};

QTEST_GUILESS_MAIN(TestMqttPublisher)
#include "tst_mqtt_publisher.moc"
