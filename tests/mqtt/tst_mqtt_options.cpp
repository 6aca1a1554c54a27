#include "mqtt/MqttOptions.h"
#include "mqtt/MqttTopics.h"
#include "support/ResultCheck.h"

#include <QTemporaryDir>
#include <QTest>

class TestMqttOptions : public QObject {
    Q_OBJECT
private slots:
    void topicLevel_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("level");
        QTest::newRow("plain") << "BT-0042_a"
                               << "BT-0042_a";
        QTest::newRow("space and slash") << " BT 01 / A "
                                         << "BT_01_A";
        QTest::newRow("wildcards") << "+#pack#+"
                                   << "pack";
        QTest::newRow("not ascii") << "电池1"
                                   << "1";
        QTest::newRow("nothing usable") << "/ + #"
                                        << "";
    }
    void topicLevel()
    {
        QFETCH(QString, id);
        QFETCH(QString, level);
        QCOMPARE(MqttTopics::level(id), level);
    }

    void brokerAddress_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port");
        QTest::addColumn<bool>("ok");
        QTest::newRow("host only") << "broker.lan"
                                   << "broker.lan" << 1883 << true;
        QTest::newRow("host and port") << "10.0.0.5:8883"
                                       << "10.0.0.5" << 8883 << true;
        QTest::newRow("ipv6 bare") << "::1"
                                   << "::1" << 1883 << true;
        QTest::newRow("ipv6 with port") << "[fe80::1]:1884"
                                        << "fe80::1" << 1884 << true;
        QTest::newRow("empty port") << "host:"
                                    << "" << 0 << false;
        QTest::newRow("port too big") << "host:65536"
                                      << "" << 0 << false;
        QTest::newRow("no host") << ":1883"
                                 << "" << 0 << false;
        QTest::newRow("unclosed bracket") << "[::1:1883"
                                          << "" << 0 << false;
    }
    void brokerAddress()
    {
        QFETCH(QString, text);
        QFETCH(QString, host);
        QFETCH(int, port);
        QFETCH(bool, ok);
        MqttOptions options;
        options.host = QStringLiteral("before");
        const Result<void> parsed = parseBrokerAddress(text, &options);
        QCOMPARE(parsed.ok(), ok);
        if (!ok)
            QVERIFY(!parsed.error().message.isEmpty());
        // A refused address leaves the options as they were.
        QCOMPARE(options.host, ok ? host : QStringLiteral("before"));
        QCOMPARE(options.port, ok ? port : 1883);
    }

    void topicPrefix_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<bool>("ok");
        QTest::newRow("default") << "cellvane" << true;
        QTest::newRow("levels") << "home/garage/bank" << true;
        QTest::newRow("wildcard") << "home/+" << false;
        QTest::newRow("trailing slash") << "home/" << false;
        QTest::newRow("empty level") << "home//bank" << false;
        QTest::newRow("system topic") << "$SYS" << false;
    }
    void topicPrefix()
    {
        QFETCH(QString, prefix);
        QFETCH(bool, ok);
        MqttOptions options;
        options.host = QStringLiteral("localhost");
        options.topicPrefix = prefix;
        const Result<void> valid = options.validate();
        QVERIFY2(valid.ok() == ok, qPrintable(failureText(valid)));
        if (!ok)
            QVERIFY(valid.error().message.contains(prefix));
    }

    void passwordFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("error");
        QTest::newRow("line break dropped") << "pw" << QByteArray("s3cr et\r\n") << "s3cr et"
                                            << "";
        QTest::newRow("only the first line") << "pw" << QByteArray("one\ntwo\n") << "one"
                                             << "";
        QTest::newRow("missing") << "" << QByteArray() << ""
                                 << "does not exist";
        QTest::newRow("empty") << "pw" << QByteArray("\n") << ""
                               << "is empty";
        QTest::newRow("a folder") << "dir" << QByteArray() << ""
                                  << "cannot be read";
    }
    void passwordFile()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, password);
        QFETCH(QString, error);
        QTemporaryDir dir;
        const QString path = dir.filePath(name.isEmpty() ? QStringLiteral("absent") : name);
        if (name == QLatin1String("dir")) {
            QVERIFY(QDir().mkdir(path));
        } else if (!name.isEmpty()) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        const Result<QString> read = readPasswordFile(path);
        QCOMPARE(read.ok(), error.isEmpty());
        if (read) {
            QCOMPARE(*read, password);
        } else {
            const QString why = read.error().message;
            QVERIFY2(why.contains(error) && why.contains(path), qPrintable(why));
        }
    }
};

QTEST_GUILESS_MAIN(TestMqttOptions)
#include "tst_mqtt_options.moc"
