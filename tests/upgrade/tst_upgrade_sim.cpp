#include "support/RecordingPrompt.h"

#include "link/LinkForm.h"
#include "link/SerialPortIo.h"
#include "shell/Core.h"
#include "upgrade/UpgradeForm.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <functional>
#include <memory>

// Upgrades against the simulated pack on a pseudo-terminal, through the real
// serial line, request builder, receive assembly and dispatcher.
namespace {

constexpr int imageSize = 100 * 1024;
constexpr int upgradeBaudIndex = 5; // 115200
// A pseudo-terminal refuses parity, so the line starts at another rate.
constexpr int startBaudIndex = 2; // 19200

// The simulator on a pty that the link finds as COM99.
class Sim {
public:
    Sim(const QTemporaryDir &dir, const QStringList &extra)
        : m_status(dir.filePath("status.json")), m_firmware(dir.filePath("firmware"))
    {
        const QString ports =
            QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME")) + QStringLiteral("/cellvane/ports");
        QDir().mkpath(ports);
        QFile::remove(ports + "/com99");
        m_process.setProgram(QStringLiteral(CELLVANE_SIM_EXE));
        m_process.setArguments(QStringList{"--link", ports + "/com99", "--firmware-out", m_firmware,
                                           "--status", m_status, "--baud", "19200", "--seed", "7"} +
                               extra);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start();
    }
    ~Sim()
    {
        resume();
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
    }
    bool ready()
    {
        m_out += m_process.readAllStandardOutput();
        return m_out.contains('\n');
    }
    void pause() { ::kill(pid_t(m_process.processId()), SIGSTOP); }
    void resume() { ::kill(pid_t(m_process.processId()), SIGCONT); }
    QJsonObject status() const
    {
        QFile f(m_status);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QJsonDocument::fromJson(f.readAll()).object();
    }
    QStringList images() const
    {
        QStringList paths;
        for (const QString &name : QDir(m_firmware).entryList(QDir::Files))
            paths << QDir(m_firmware).filePath(name);
        return paths;
    }

private:
    QProcess m_process;
    QString m_status;
    QString m_firmware;
    QByteArray m_out;
};

struct Host {
    RecordingPrompt prompt;
    Core core{prompt, std::make_unique<SerialPortIo>()};

    Host()
    {
        AppState &s = core.state;
        s.setEnglishUi(true);
        s.selectedTab = 7;
        s.link.setEntries(LinkField::port, {QStringLiteral("COM99")}, 0);
        s.link.setChoice(LinkField::baud, startBaudIndex);
        core.link.buildPortSettings();
    }
    ~Host() { core.shutdown(); }
};

// Runs a real event loop until `done` holds. QTRY_* would drive the loop in
// 10 ms naps, which is slower than the line and would hide the program's own
// turnaround.
bool waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    poll.start(20);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    if (!done())
        loop.exec();
    return done();
}

QByteArray firmware()
{
    QByteArray bytes(imageSize, 0);
    QRandomGenerator random(2024);
    for (char &b : bytes)
        b = char(random.bounded(256));
    return bytes;
}

QStringList checks(const QJsonObject &status)
{
    QStringList list;
    for (const QJsonValue &v : status.value("lineChecks").toArray()) {
        const QJsonObject c = v.toObject();
        list << QStringLiteral("%1: %2 %3")
                    .arg(c.value("reason").toString(), c.value("expected").toString(),
                         c.value("ok").toBool() ? "ok" : "MISMATCH");
    }
    return list;
}

} // namespace

class TestUpgradeSim : public QObject {
    Q_OBJECT
private slots:
    void upgrade_data()
    {
        QTest::addColumn<int>("target");
        QTest::addColumn<QStringList>("simOptions");
        QTest::addColumn<QStringList>("lineChecks");
        const QStringList appChecks{"upgrade start: 115200 8N1 ok", "upgrade end: 19200 8N1 ok"};
        QTest::newRow("APP") << UpgradeField::app << QStringList{} << appChecks;
        QTest::newRow("BOOT") << UpgradeField::boot << QStringList{} << QStringList{};
        QTest::newRow("APP, 2% of requests lost")
            << UpgradeField::app << QStringList{"--drop", "0.02"} << appChecks;
    }
    void upgrade()
    {
        QFETCH(int, target);
        QFETCH(QStringList, simOptions);
        QFETCH(QStringList, lineChecks);
        QTemporaryDir dir;
        Sim sim(dir, simOptions);
        QTRY_VERIFY_WITH_TIMEOUT(sim.ready(), 10000);
        Host host;
        AppState &s = host.core.state;
        host.core.link.toggleOpen();
        QVERIFY2(host.core.link.portOpen(), qPrintable(host.prompt.texts().join(" | ")));

        const QByteArray image = firmware();
        const QString path = dir.filePath("firmware.bin");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(image) == image.size());
        f.close();
        host.core.upgrade.selectTarget(target);
        s.upgrade.setChoice(UpgradeField::baud, upgradeBaudIndex);
        s.upgrade.setText(UpgradeField::path, path);

        // Block turnaround: from the first data block to the end frame.
        QElapsedTimer clock;
        qint64 firstBlockMs = -1;
        qint64 endFrameMs = -1;
        connect(&s, &AppState::statusLineChanged, this, [&](const QString &text) {
            if (text == QLatin1String("Send upgrade data1") && firstBlockMs < 0)
                firstBlockMs = clock.elapsed();
            if (text == QLatin1String("Send upgrade data801"))
                endFrameMs = clock.elapsed();
        });
        clock.start();
        host.core.upgrade.start();
        QVERIFY(waitUntil([&] { return !host.prompt.messages.isEmpty(); }, 120000));

        QCOMPARE(host.prompt.texts(), QStringList{"Upgrade succeeded"});
        QCOMPARE(s.currentCommand, quint8(16));
        QCOMPARE(s.upgrade.text(UpgradeField::progressText), QStringLiteral("100%"));
        QVERIFY(s.upgrade.isEnabled(UpgradeField::start));
        QVERIFY(host.core.link.portOpen());
        QCOMPARE(s.link.choice(LinkField::baud), startBaudIndex);
        QCOMPARE(s.link.choice(LinkField::parity), 0);

        const QStringList images = sim.images();
        QCOMPARE(images.size(), 1);
        QFile received(images.first());
        QVERIFY(received.open(QIODevice::ReadOnly));
        QVERIFY(received.readAll() == image);

        if (simOptions.isEmpty() && firstBlockMs >= 0 && endFrameMs > firstBlockMs) {
            const double perBlock = double(endFrameMs - firstBlockMs) / 800;
            qInfo("%s: %.3f ms per block (%d blocks in %lld ms), %.0f blocks/s",
                  QTest::currentDataTag(), perBlock, 800, endFrameMs - firstBlockMs,
                  1000.0 / perBlock);
            // Far above the target, but far below a block that waits for a timer.
            QVERIFY2(perBlock < 20, qPrintable(QString::number(perBlock)));
        }

        // The line still carries live reads at the settings it started with.
        // The final answer stopped the send timer; one tick starts the reads.
        s.linkCountdown = 0;
        host.core.selectTab(2);
        host.core.link.sendTick();
        QTRY_VERIFY_WITH_TIMEOUT(s.linkCountdown > 0, 5000);
        QTRY_COMPARE_WITH_TIMEOUT(checks(sim.status()), lineChecks, 3000);
        if (!simOptions.isEmpty())
            QVERIFY(sim.status().value("counters").toObject().value("dropped").toInt() > 0);
        if (target == UpgradeField::boot)
            QCOMPARE(sim.status().value("hostLines").toArray().toVariantList(),
                     QVariantList{"19200 8N1"});
    }

    // Pack after pack on one line: the upgrade after a finished one sends its
    // start frame on the running send timer and completes too.
    void upgradeAfterAnother_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        using namespace UpgradeField;
        QTest::newRow("BOOT then BOOT") << boot << boot;
        QTest::newRow("APP then BOOT") << app << boot;
    }
    void upgradeAfterAnother()
    {
        QFETCH(int, first);
        QFETCH(int, second);
        QTemporaryDir dir;
        Sim sim(dir, {});
        QTRY_VERIFY_WITH_TIMEOUT(sim.ready(), 10000);
        Host host;
        AppState &s = host.core.state;
        host.core.link.toggleOpen();
        QVERIFY2(host.core.link.portOpen(), qPrintable(host.prompt.texts().join(" | ")));
        const QByteArray image = firmware().left(4096);
        const QString path = dir.filePath("firmware.bin");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(image) == image.size());
        f.close();
        s.upgrade.setChoice(UpgradeField::baud, upgradeBaudIndex);
        s.upgrade.setText(UpgradeField::path, path);

        for (int target : {first, second}) {
            host.prompt.clear();
            host.core.upgrade.selectTarget(target);
            host.core.upgrade.start();
            QVERIFY(waitUntil([&] { return !host.prompt.messages.isEmpty(); }, 30000));
            QCOMPARE(host.prompt.texts(), QStringList{"Upgrade succeeded"});
        }
        QCOMPARE(sim.images().size(), 2);
        for (const QString &received : sim.images()) {
            QFile r(received);
            QVERIFY(r.open(QIODevice::ReadOnly));
            QVERIFY(r.readAll() == image);
        }
    }

    // The pack stops answering half way: after 40 re-sends the upgrade gives
    // up and the line goes back to the settings it had.
    void stoppedSimulator()
    {
        QTemporaryDir dir;
        Sim sim(dir, {});
        QTRY_VERIFY_WITH_TIMEOUT(sim.ready(), 10000);
        Host host;
        AppState &s = host.core.state;
        host.core.link.toggleOpen();
        QVERIFY2(host.core.link.portOpen(), qPrintable(host.prompt.texts().join(" | ")));
        const QString path = dir.filePath("firmware.bin");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(firmware()) == imageSize);
        f.close();
        s.upgrade.setChoice(UpgradeField::baud, upgradeBaudIndex);
        s.upgrade.setText(UpgradeField::path, path);
        host.core.upgrade.start();
        QTRY_VERIFY_WITH_TIMEOUT(host.core.upgrade.upgradeBlock > 100, 20000);
        sim.pause();
        QVERIFY(host.prompt.messages.isEmpty());
        QCOMPARE(s.link.choice(LinkField::baud), upgradeBaudIndex);

        QTRY_VERIFY_WITH_TIMEOUT(!host.prompt.messages.isEmpty(), 40000);
        QCOMPARE(host.prompt.texts(), QStringList{"Upgrade failed"});
        QCOMPARE(s.currentCommand, quint8(16));
        QVERIFY(s.upgrade.isEnabled(UpgradeField::start));
        QVERIFY(s.upgrade.isEnabled(UpgradeField::target));
        QVERIFY(host.core.link.portOpen());
        QCOMPARE(s.link.choice(LinkField::baud), startBaudIndex);
        QCOMPARE(s.link.choice(LinkField::parity), 0);
        QCOMPARE(host.core.link.portSettings(), QStringLiteral("19200,N,8 ,1"));

        // Once the pack is back and has given up too, live reads work again.
        sim.resume();
        s.linkCountdown = 0;
        host.core.selectTab(2);
        QTRY_VERIFY_WITH_TIMEOUT(s.linkCountdown > 0, 15000);
        QCOMPARE(sim.status().value("hostLines").toArray().last().toString(),
                 QStringLiteral("19200 8N1"));
    }
};

QTEST_GUILESS_MAIN(TestUpgradeSim)
#include "tst_upgrade_sim.moc"
