#include "link/PortMap.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestPortMap : public QObject {
    Q_OBJECT
private slots:
    void windowsFileName_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("name");
        QTest::newRow("1") << 1 << "COM1";
        QTest::newRow("9, last plain name") << 9 << "COM9";
        QTest::newRow("10, first prefixed name") << 10 << "\\\\.\\\\COM10";
        QTest::newRow("99") << 99 << "\\\\.\\\\COM99";
        QTest::newRow("0") << 0 << "";
        QTest::newRow("100") << 100 << "";
    }
    void windowsFileName()
    {
        QFETCH(int, number);
        QFETCH(QString, name);
        QCOMPARE(PortMap::windowsFileName(number), name);
    }

    void fixedDevice_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("device");
        QTest::newRow("COM1") << 1 << "/dev/ttyS0";
        QTest::newRow("COM32") << 32 << "/dev/ttyS31";
        QTest::newRow("COM33") << 33 << "/dev/ttyUSB0";
        QTest::newRow("COM64") << 64 << "/dev/ttyUSB31";
        QTest::newRow("COM65") << 65 << "/dev/ttyACM0";
        QTest::newRow("COM96") << 96 << "/dev/ttyACM31";
        QTest::newRow("COM97 has no fixed device") << 97 << "";
        QTest::newRow("COM0") << 0 << "";
    }
    void fixedDevice()
    {
        QFETCH(int, number);
        QFETCH(QString, device);
        QCOMPARE(PortMap::fixedDevice(number), device);
    }

#ifndef Q_OS_WIN
    void linksWin()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString target = dir.filePath(QStringLiteral("adapter"));
        QFile device(target);
        QVERIFY(device.open(QIODevice::WriteOnly));
        device.close();
        QVERIFY(QFile::link(target, dir.filePath(QStringLiteral("com33"))));
        QVERIFY(
            QFile::link(QStringLiteral("/nonexistent/ttyX"), dir.filePath(QStringLiteral("com2"))));
        QVERIFY(QFile::link(target, dir.filePath(QStringLiteral("com98"))));
        QVERIFY(QFile::link(target, dir.filePath(QStringLiteral("COM5")))); // names are lower case

        const PortMap map(dir.path());
        QCOMPARE(map.deviceOf(33), QFileInfo(target).canonicalFilePath());
        QCOMPARE(map.deviceOf(98), QFileInfo(target).canonicalFilePath());
        QCOMPARE(map.deviceOf(2), QStringLiteral("/nonexistent/ttyX")); // dangling, still wins
        QCOMPARE(map.deviceOf(5), QStringLiteral("/dev/ttyS4"));
        QCOMPARE(map.deviceOf(34), QStringLiteral("/dev/ttyUSB1"));
        QCOMPARE(map.deviceOf(97), QString());
        QCOMPARE(map.deviceOf(0), QString());
        QCOMPARE(map.deviceOf(100), QString());
    }

    void linkFolderFollowsXdgConfigHome()
    {
        const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", "/tmp/somewhere");
        QCOMPARE(PortMap().linkFolder(), QStringLiteral("/tmp/somewhere/cellvane/ports"));
        qunsetenv("XDG_CONFIG_HOME");
        QCOMPARE(PortMap().linkFolder(),
                 QDir::homePath() + QStringLiteral("/.config/cellvane/ports"));
        qputenv("XDG_CONFIG_HOME", saved);
    }
#endif
};

QTEST_GUILESS_MAIN(TestPortMap)
#include "tst_port_map.moc"
