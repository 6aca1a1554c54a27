// The simulator as a program: started on a pseudo-terminal and spoken to as
// the host does, through a serial port and the core's frame code.
#include "SimProcess.h"
#include "SimTestSupport.h"

#include "sim/WireBytes.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QSerialPort>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace SimTest;

namespace {

QByteArray testImage(int size)
{
    QByteArray image(size, '\0');
    for (int i = 0; i < size; ++i)
        image[i] = char((i * 131 + i / 509) & 0xFF);
    return image;
}

} // namespace

class TestSimLink : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void everyItemIsAnswered_data();
    void everyItemIsAnswered();
    void writesAreReadBack_data();
    void writesAreReadBack();
    void storedRecordNumbering();
    void firmwareUpgrade_data();
    void firmwareUpgrade();
    void hostThatKeepsItsRateIsNotHeard();
    void faultOptions_data();
    void faultOptions();
    void sameSeedSameFaults();
    void addressAndProtocolFilter();
    void hostLineSettingsAreSeen_data();
    void hostLineSettingsAreSeen();
    void answersAreNotKeptForAClosedHost();
    void stopRemovesTheLink();
    void servesAnExistingDevice();
    void refusedOptionsExitWithAMessage();
    void cleanupTestCase();

private:
    std::unique_ptr<SimProcess> m_sim;
    Host m_host;
};

void TestSimLink::initTestCase()
{
    m_sim = std::make_unique<SimProcess>();
    QVERIFY(m_sim->start({}));
    QVERIFY(m_host.open(m_sim->link()));
}

void TestSimLink::cleanupTestCase()
{
    m_host.close();
    m_sim.reset();
}

void TestSimLink::everyItemIsAnswered_data()
{
    addReadItemRows();
}

void TestSimLink::everyItemIsAnswered()
{
    QFETCH(int, item);
    QFETCH(QByteArray, requestData);
    QFETCH(int, length);

    QByteArray raw;
    const QByteArray reply = m_host.exchange(request(0, quint8(item), requestData), 1000, &raw);
    QByteArray data;
    const QString error = checkReply(reply, 0, quint8(item), &data);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(data.size(), length);
    QCOMPARE(raw, reply); // nothing before or after it
}

void TestSimLink::writesAreReadBack_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("project number") << 1 << WireBytes().text("LINE-TEST-01", 24).bytes();
    QTest::newRow("row Discharge_OC2")
        << 45 << QByteArray::fromHex("3a98 2ee0 36b0 0032 0001 0019 0001");
    QTest::newRow("short circuit") << 113 << QByteArray::fromHex("0c07");
    QTest::newRow("active balancing")
        << 24
        << QByteArray::fromHex("01 0d48 0d16 0032 000a 0e10 01 0c80 0c4e 0050 0014 0e10 00 0ce4 "
                               "0cb2 001e 000a 1c20");
}

void TestSimLink::writesAreReadBack()
{
    QFETCH(int, item);
    QFETCH(QByteArray, data);

    QString error = checkReply(m_host.exchange(request(1, quint8(item), data)), 1, quint8(item));
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QByteArray readBack;
    error = checkReply(m_host.exchange(request(0, quint8(item))), 0, quint8(item), &readBack);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(readBack.toHex(' '), data.toHex(' '));
}

void TestSimLink::storedRecordNumbering()
{
    SimProcess sim;
    QVERIFY(sim.start({QStringLiteral("--records"), QStringLiteral("7")}));
    Host host;
    QVERIFY(host.open(sim.link()));
    QByteArray data;
    QVERIFY(checkReply(host.exchange(request(0, 71)), 0, 71, &data).isEmpty());
    QCOMPARE(word(data, 2), 7);
    // Newest first, as the host reads them.
    for (int index = 6; index >= 0; --index) {
        const QByteArray r =
            request(0, 70, WireBytes().word(0).word(index).word(0).word(1).bytes());
        QVERIFY(checkReply(host.exchange(r), 0, 70, &data).isEmpty());
        QCOMPARE(word(data, 2), index + 1);
    }
    QVERIFY(host.exchange(request(0, 70, WireBytes().word(0).word(7).word(0).word(1).bytes()), 300)
                .isEmpty());
}

void TestSimLink::firmwareUpgrade_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("baud");
    QTest::newRow("APP 100 KiB at 115200") << 250 << 102400 << 115200;
    QTest::newRow("APP 1000 bytes at 19200") << 250 << 1000 << 19200;
    QTest::newRow("BOOT 300 bytes") << 251 << 300 << 115200;
}

void TestSimLink::firmwareUpgrade()
{
    QFETCH(int, item);
    QFETCH(int, size);
    QFETCH(int, baud);
    const bool app = item == 250;

    SimProcess sim;
    QTemporaryDir out;
    QVERIFY(sim.start({QStringLiteral("--firmware-out"), out.path()}));
    Host host;
    QVERIFY(host.open(sim.link()));

    // The host pads the image to whole blocks with 0xFF.
    QByteArray image = testImage(size);
    image.append(QByteArray((128 - size % 128) % 128, '\xFF'));

    QByteArray data;
    const QByteArray start = WireBytes().word(0).word(baud / 10).byte(0).bytes();
    QVERIFY(checkReply(host.exchange(request(1, quint8(item), start)), 1, quint8(item), &data)
                .isEmpty());
    QCOMPARE(word(data, 0), 0);
    if (app)
        QVERIFY(host.open(sim.link(), baud));

    const int blocks = int(image.size() / 128);
    for (int n = 1; n <= blocks; ++n) {
        const QByteArray frame = request(
            1, quint8(item), WireBytes().word(n).raw(image.mid((n - 1) * 128, 128)).bytes());
        const QString error = checkReply(host.exchange(frame), 1, quint8(item), &data);
        QVERIFY2(error.isEmpty(), qPrintable(QStringLiteral("block %1: %2").arg(n).arg(error)));
        QCOMPARE(word(data, 0), n);
    }
    const QByteArray end =
        request(1, quint8(item), WireBytes().word(0xFFFF).raw(QByteArray(128, '\xFF')).bytes());
    QVERIFY(checkReply(host.exchange(end), 1, quint8(item), &data).isEmpty());
    QCOMPARE(word(data, 0), 0xFFFF);

    // Back at the normal rate, the pack answers as before.
    if (app)
        QVERIFY(host.open(sim.link()));
    QVERIFY(checkReply(host.exchange(request(0, 6)), 0, 6).isEmpty());

    const QJsonObject status = sim.status();
    const QJsonArray files = status[QStringLiteral("firmwareFiles")].toArray();
    QCOMPARE(files.size(), 1);
    const QString path = files.first().toString();
    QVERIFY2(
        QFileInfo(path).fileName().startsWith(app ? QLatin1String("APP ") : QLatin1String("BOOT ")),
        qPrintable(path));
    QCOMPARE(QFileInfo(path).absolutePath(), QFileInfo(out.path()).absoluteFilePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll() == image);

    // The pack saw the host follow its line changes (an APP upgrade only).
    const QJsonArray checks = status[QStringLiteral("lineChecks")].toArray();
    QCOMPARE(checks.size(), app ? 2 : 0);
    if (app) {
        const QString rate = QStringLiteral("%1 8N1").arg(baud);
        QCOMPARE(checks[0][QStringLiteral("expected")].toString(), rate);
        QCOMPARE(checks[0][QStringLiteral("seen")].toString(), rate);
        QVERIFY(checks[0][QStringLiteral("ok")].toBool());
        QCOMPARE(checks[1][QStringLiteral("seen")].toString(), QStringLiteral("9600 8N1"));
        QVERIFY(checks[1][QStringLiteral("ok")].toBool());
        QVERIFY(sim.log().contains(
            QStringLiteral("line check after upgrade start: pack %1, host %1: ok").arg(rate)));
    }
    QCOMPARE(status[QStringLiteral("line")].toString(), QStringLiteral("9600 8N1"));
}

void TestSimLink::hostThatKeepsItsRateIsNotHeard()
{
    SimProcess sim;
    QVERIFY(sim.start({}));
    Host host;
    QVERIFY(host.open(sim.link()));
    QVERIFY(!host.exchange(request(1, 250, QByteArray::fromHex("00002d0000"))).isEmpty());
    // Still at 9600: the pack listens at 115200 now and hears garbage.
    const QByteArray block1 =
        request(1, 250, WireBytes().word(1).raw(QByteArray(128, 'x')).bytes());
    QVERIFY(host.exchange(block1, 300).isEmpty());
    QJsonObject status = sim.status();
    QVERIFY(status[QStringLiteral("counters")][QStringLiteral("garbledBytes")].toInt() >=
            block1.size());
    const QJsonObject check = status[QStringLiteral("lineChecks")].toArray().first().toObject();
    QCOMPARE(check[QStringLiteral("seen")].toString(), QStringLiteral("9600 8N1"));
    QVERIFY(!check[QStringLiteral("ok")].toBool());
    QVERIFY(sim.log().contains(QLatin1String("MISMATCH")));

    QVERIFY(host.open(sim.link(), 115200));
    QVERIFY(checkReply(host.exchange(block1), 1, 250).isEmpty());
}

void TestSimLink::faultOptions_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("fault");
    QTest::newRow("drop") << QStringList{"--drop", "1"} << QStringLiteral("drop");
    QTest::newRow("corrupt") << QStringList{"--corrupt", "1"} << QStringLiteral("corrupt");
    QTest::newRow("noise") << QStringList{"--noise", "1"} << QStringLiteral("noise");
    QTest::newRow("split") << QStringList{"--split"} << QStringLiteral("split");
    QTest::newRow("delay") << QStringList{"--delay", "150"} << QStringLiteral("delay");
    QTest::newRow("none") << QStringList{} << QStringLiteral("none");
}

void TestSimLink::faultOptions()
{
    QFETCH(QStringList, options);
    QFETCH(QString, fault);

    SimProcess sim;
    QVERIFY(sim.start(options));
    Host host;
    QVERIFY(host.open(sim.link()));

    int totalReads = 0;
    for (int i = 0; i < 3; ++i) {
        QByteArray raw;
        int reads = 0;
        QElapsedTimer latency;
        latency.start();
        const QByteArray reply =
            host.exchange(request(0, 8), fault == QLatin1String("drop") ? 200 : 1500, &raw, &reads);
        const qint64 elapsed = latency.elapsed();
        if (fault == QLatin1String("drop")) {
            QVERIFY(raw.isEmpty());
            continue;
        }
        QCOMPARE(reply.size(), Frame::overhead + 66);
        QCOMPARE(Frame::crcValid(reply), fault != QLatin1String("corrupt"));
        QCOMPARE(raw.indexOf(reply) > 0, fault == QLatin1String("noise"));
        // At least a millisecond between any two of the 10 or more pieces.
        if (fault == QLatin1String("split"))
            QVERIFY2(elapsed >= 9, qPrintable(QString::number(elapsed)));
        if (fault == QLatin1String("delay"))
            QVERIFY2(elapsed >= 145, qPrintable(QString::number(elapsed)));
        totalReads += reads;
    }
    // Pieces that arrive that far apart are not all read in one go.
    if (fault == QLatin1String("split"))
        QVERIFY2(totalReads >= 6, qPrintable(QString::number(totalReads)));
    const QJsonObject counters = sim.status()[QStringLiteral("counters")].toObject();
    QCOMPARE(counters[QStringLiteral("requests")].toInt(), 3);
    QCOMPARE(counters[QStringLiteral("dropped")].toInt(), fault == QLatin1String("drop") ? 3 : 0);
    QCOMPARE(counters[QStringLiteral("corrupted")].toInt(),
             fault == QLatin1String("corrupt") ? 3 : 0);
    QCOMPARE(counters[QStringLiteral("noisy")].toInt(), fault == QLatin1String("noise") ? 3 : 0);
}

void TestSimLink::sameSeedSameFaults()
{
    const auto pattern = [](const QString &seed) {
        SimProcess sim;
        if (!sim.start(
                {QStringLiteral("--drop"), QStringLiteral("0.5"), QStringLiteral("--seed"), seed}))
            return QString();
        Host host;
        if (!host.open(sim.link()))
            return QString();
        QString answered;
        for (int i = 0; i < 16; ++i)
            answered +=
                host.exchange(request(0, 5), 100).isEmpty() ? QLatin1Char('-') : QLatin1Char('A');
        return answered;
    };
    const QString first = pattern(QStringLiteral("11"));
    QCOMPARE(first.size(), 16);
    QVERIFY(first.contains(QLatin1Char('-')) && first.contains(QLatin1Char('A')));
    QCOMPARE(pattern(QStringLiteral("11")), first);
}

void TestSimLink::addressAndProtocolFilter()
{
    SimProcess sim;
    QVERIFY(sim.start({QStringLiteral("--address"), QStringLiteral("3"),
                       QStringLiteral("--protocol"), QStringLiteral("17")}));
    Host host;
    QVERIFY(host.open(sim.link()));
    QVERIFY(host.exchange(request(0, 1), 300).isEmpty());
    QVERIFY(host.exchange(request(0, 1, {}, 3, 16), 300).isEmpty());
    const QByteArray reply = host.exchange(request(0, 1, {}, 3, 17));
    QVERIFY(Frame::crcValid(reply));
    QCOMPARE(quint8(reply[1]), quint8(3));
    QCOMPARE(quint8(reply[2]), quint8(17));
    QCOMPARE(sim.status()[QStringLiteral("counters")][QStringLiteral("otherAddress")].toInt(), 2);
}

void TestSimLink::hostLineSettingsAreSeen_data()
{
    QTest::addColumn<int>("baud");
    QTest::addColumn<int>("parity");
    QTest::addColumn<QString>("seen");
    QTest::newRow("56000") << 56000 << int(QSerialPort::NoParity) << QStringLiteral("56000 8N1");
    QTest::newRow("14400") << 14400 << int(QSerialPort::NoParity) << QStringLiteral("14400 8N1");
    QTest::newRow("1200") << 1200 << int(QSerialPort::NoParity) << QStringLiteral("1200 8N1");
    QTest::newRow("115200") << 115200 << int(QSerialPort::NoParity) << QStringLiteral("115200 8N1");
    // Linux keeps a pseudo-terminal at 8 data bits without parity whatever the
    // host asks for, so only the rate can be told apart there.
    QTest::newRow("9600 even") << 9600 << int(QSerialPort::EvenParity)
                               << QStringLiteral("9600 8N1");
}

void TestSimLink::hostLineSettingsAreSeen()
{
    QFETCH(int, baud);
    QFETCH(int, parity);
    QFETCH(QString, seen);

    // A pack that answers any format (else these would all be lost).
    SimProcess sim;
    QVERIFY(sim.start({QStringLiteral("--any-line")}));
    Host host;
    QVERIFY(host.open(sim.link(), baud, QSerialPort::Parity(parity)));
    QVERIFY(checkReply(host.exchange(request(0, 4)), 0, 4).isEmpty());
    QCOMPARE(sim.status()[QStringLiteral("hostLine")].toString(), seen);
}

void TestSimLink::answersAreNotKeptForAClosedHost()
{
    SimProcess sim;
    QVERIFY(sim.start({QStringLiteral("--delay"), QStringLiteral("200")}));
    Host host;
    QVERIFY(host.open(sim.link()));
    host.m_port.write(request(0, 6));
    QVERIFY(host.m_port.waitForBytesWritten(1000));
    QTest::qWait(50);
    host.close();
    QTest::qWait(400);
    // A host that opens the line later does not receive the stale answer.
    QVERIFY(host.open(sim.link()));
    QVERIFY(host.answer(300).isEmpty());
    QVERIFY(checkReply(host.exchange(request(0, 4)), 0, 4).isEmpty());
    QVERIFY(sim.status()[QStringLiteral("hostOpens")].toInt() >= 2);
}

void TestSimLink::stopRemovesTheLink()
{
    SimProcess sim;
    QVERIFY(sim.start({}));
    QVERIFY(QFileInfo(sim.link()).isSymLink());
    QCOMPARE(sim.stop(), 0);
    QVERIFY(!QFileInfo(sim.link()).isSymLink());
    QVERIFY(!QFileInfo::exists(sim.link()));
}

void TestSimLink::servesAnExistingDevice()
{
    // A null-modem pair stands in for two USB adapters wired together.
    const QString socat = QStandardPaths::findExecutable(QStringLiteral("socat"));
    if (socat.isEmpty())
        QSKIP("socat is not installed");
    QTemporaryDir dir;
    const QString packEnd = dir.filePath(QStringLiteral("packEnd"));
    const QString hostEnd =
        dir.filePath(QStringLiteral("hostEnd%1").arg(QRandomGenerator::global()->generate()));
    QProcess wire;
    wire.start(socat, {QStringLiteral("pty,raw,echo=0,link=") + packEnd,
                       QStringLiteral("pty,raw,echo=0,link=") + hostEnd});
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(packEnd) && QFileInfo::exists(hostEnd), 5000);

    QProcess sim;
    sim.start(QStringLiteral(CELLVANE_SIM_EXE), {QStringLiteral("--port"), packEnd});
    QVERIFY(sim.waitForReadyRead(5000));
    QCOMPARE(sim.readLine().trimmed(), packEnd.toLocal8Bit());
    Host host;
    QVERIFY(host.open(hostEnd));
    QByteArray data;
    QVERIFY(checkReply(host.exchange(request(0, 8)), 0, 8, &data).isEmpty());
    QCOMPARE(word(data, 0), 16);
    host.close();
    sim.terminate();
    QVERIFY(sim.waitForFinished(5000));
    QCOMPARE(sim.exitCode(), 0);
    QVERIFY(QFileInfo::exists(packEnd)); // a device is not removed
    wire.terminate();
    wire.waitForFinished(3000);
}

void TestSimLink::refusedOptionsExitWithAMessage()
{
    QProcess process;
    process.start(QStringLiteral(CELLVANE_SIM_EXE),
                  {QStringLiteral("--link"), QStringLiteral("/tmp/unused"),
                   QStringLiteral("--cells"), QStringLiteral("40")});
    QVERIFY(process.waitForFinished(5000));
    QCOMPARE(process.exitCode(), 2);
    QVERIFY(process.readAllStandardError().contains("--cells must be a whole number from 1 to 32"));
    QVERIFY(process.readAllStandardOutput().isEmpty());
}

QTEST_GUILESS_MAIN(TestSimLink)
#include "tst_sim_link.moc"
