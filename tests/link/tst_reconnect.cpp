// The line lost while open: the recording stops at once, and with "Reconnect
// automatically" ticked the device is opened again when it is back, without a
// message box. The reconnection timer is driven tick by tick.
#include "link/Frame.h"
#include "link/LinkController.h"
#include "link/LinkForm.h"
#include "link/PortMap.h"
#include "records/OutputFiles.h"
#include "records/RecordForm.h"
#include "shell/Core.h"
#include "support/FakePort.h"
#include "support/RecordingPrompt.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

namespace {

const QString com12 = QStringLiteral("/dev/fake-com12");
const QDateTime moment(QDate(2024, 5, 7), QTime(9, 3, 0));

// Runs `during` while a message is "up", as the timers would go on ticking
// behind a real modal box.
struct TickingPrompt : RecordingPrompt {
    std::function<void()> during;
    void message(const QString &text, const QString &title, Icon icon) override
    {
        RecordingPrompt::message(text, title, icon);
        if (during)
            during();
    }
};

int lineCount(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    return int(f.readAll().count("\r\n"));
}

struct Rig {
    TickingPrompt prompt;
    FakePort *port = new FakePort;
    std::unique_ptr<Core> core;
    QString linkPath;

    explicit Rig(const QString &config, bool english = true)
        : linkPath(config + QStringLiteral("/cellvane/ports/com12"))
    {
        port->presentDevices = {com12};
        core = std::make_unique<Core>(prompt, std::unique_ptr<PortIo>(port));
        core->state.setEnglishUi(english);
        // Any code but the pause code sends a 9-byte read; answers are
        // ignored (the tests set what an answer would).
        core->link.setDispatchHandler([] {});
        core->link.setRequestHandler([this] {
            AppState &s = core->state;
            if (s.currentCommand == 16)
                return;
            s.txFrame = QByteArray(9, '\0');
            s.txFrame[4] = char(s.currentCommand);
            core->link.restartSendTimer();
            core->link.sendFrame(0);
        });
    }
    LinkController &link() { return core->link; }
    Reconnector &reconnector() { return core->link.reconnector(); }
    AppState &state() { return core->state; }

    void open(int tab, int baudIndex = 0)
    {
        state().selectedTab = tab;
        link().load();
        state().link.setChoice(LinkField::baud, baudIndex);
        const int entry = int(state().link.entries(LinkField::port).indexOf("COM12"));
        QVERIFY(entry >= 0);
        state().link.setChoice(LinkField::port, entry);
        link().toggleOpen();
        QVERIFY(link().portOpen());
    }
    void startRecording()
    {
        state().record.setCheck(RecordField::recording, 1);
        QVERIFY(core->recorder.isRecording());
        state().linkCountdown = 20; // answers are arriving
    }
    // The virtual line ends: its link goes with it.
    void lineGoesAway()
    {
        QVERIFY(QFile::remove(linkPath));
        port->presentDevices.removeAll(com12);
        port->unplug();
    }
    void lineComesBack()
    {
        QVERIFY(QFile::link(com12, linkPath));
        port->presentDevices << com12;
    }
};

} // namespace

class TestReconnect : public QObject {
    Q_OBJECT

    QTemporaryDir m_config;
    QTemporaryDir m_program;

private slots:
    void initTestCase()
    {
        QVERIFY(m_config.isValid() && m_program.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
        QVERIFY(QDir().mkpath(m_config.filePath(QStringLiteral("cellvane/ports"))));
        OutputFiles::setProgramFolder(m_program.path());
        OutputFiles::setClock([] { return moment; });
    }
    void init()
    {
        const QString link = m_config.filePath(QStringLiteral("cellvane/ports/com12"));
        QFile::remove(link);
        QVERIFY(QFile::link(com12, link));
    }
    void cleanupTestCase()
    {
        OutputFiles::setProgramFolder({});
        OutputFiles::setClock({});
    }

    // While the "disconnected" message waits for OK, the recording timer goes
    // on ticking: not a line may come of it.
    void lossStopsTheRecordingBeforeTheMessage_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("note");
        QTest::newRow("English") << true << "Recording has stopped; its file is \"%1\".";
        QTest::newRow("Chinese") << false << "实时记录已停止，文件为“%1”。";
    }
    void lossStopsTheRecordingBeforeTheMessage()
    {
        QFETCH(bool, english);
        QFETCH(QString, note);
        Rig rig(m_config.path(), english);
        rig.open(2);
        rig.startRecording();
        rig.core->recorder.tick();
        const QString file = rig.state().recordFilePath;
        QCOMPARE(lineCount(file), 1);

        bool recordingDuringMessage = true;
        int boxDuringMessage = -1;
        rig.prompt.during = [&] {
            recordingDuringMessage = rig.core->recorder.isRecording();
            boxDuringMessage = rig.state().record.check(RecordField::recording);
            for (int i = 0; i < 3; ++i)
                rig.core->recorder.tick();
        };
        rig.port->unplug();

        QCOMPARE(rig.prompt.messages.size(), 1);
        QVERIFY(!recordingDuringMessage);
        QCOMPARE(boxDuringMessage, 0);
        QCOMPARE(lineCount(file), 1);
        const QStringList parts = rig.prompt.texts().first().split(QLatin1Char('\n'));
        QCOMPARE(parts.size(), 2);
        QCOMPARE(parts[1], note.arg(QDir::toNativeSeparators(file)));
        QVERIFY(rig.state().linkCountdown <= 0);
        QVERIFY(!rig.link().portOpen());
    }

    // Unplugged and back, with what the link was doing then.
    void reconnects_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("commandAtLoss");
        QTest::addColumn<bool>("recording");
        QTest::addColumn<int>("commandAfter");
        QTest::newRow("live reads go on from the first") << 2 << 5 << false << 0;
        QTest::newRow("live reads on the recording tab") << 5 << 0 << true << 0;
        QTest::newRow("pause stays a pause") << 7 << 16 << false << 16;
        QTest::newRow("a write cut short is not sent again") << 3 << 40 << false << 16;
    }
    void reconnects()
    {
        QFETCH(int, tab);
        QFETCH(int, commandAtLoss);
        QFETCH(bool, recording);
        QFETCH(int, commandAfter);
        Rig rig(m_config.path());
        rig.state().link.setCheck(LinkField::reconnect, 1);
        rig.open(tab, 5);
        if (recording)
            rig.startRecording();
        const QString firstFile = rig.state().recordFilePath;
        rig.state().currentCommand = quint8(commandAtLoss);
        const PortIo::Settings settings = rig.port->openedSettings.last();

        rig.lineGoesAway();
        QVERIFY(rig.prompt.messages.isEmpty());
        QVERIFY(!rig.link().portOpen());
        QVERIFY(!rig.core->recorder.isRecording());
        QVERIFY(rig.reconnector().isWaiting());
        QVERIFY(rig.reconnector().timer().isActive());
        QString waiting = QStringLiteral("COM12 (/dev/fake-com12) was disconnected at 09:03:00.");
        if (recording)
            waiting += QStringLiteral(" Recording has stopped; its file is \"%1\".")
                           .arg(QDir::toNativeSeparators(firstFile));
        waiting += QStringLiteral(" It will be opened again as soon as it is back.");
        QCOMPARE(rig.state().statusLine(), waiting);

        // Gone: nothing is opened, not even the fixed device the number falls
        // back to without its link.
        rig.port->presentDevices << PortMap::fixedDevice(12);
        const int opens = int(rig.port->openedDevices.size());
        for (int i = 0; i < 3; ++i)
            rig.reconnector().tick();
        QCOMPARE(int(rig.port->openedDevices.size()), opens);
        QVERIFY(!rig.link().portOpen());

        rig.lineComesBack();
        rig.reconnector().tick();
        QVERIFY(rig.link().portOpen());
        QVERIFY(!rig.reconnector().isWaiting());
        QVERIFY(!rig.reconnector().timer().isActive());
        QCOMPARE(rig.port->openedDevices.last(), com12);
        QCOMPARE(rig.port->openedSettings.last(), settings);
        QCOMPARE(rig.port->openedSettings.last().baud, 115200);
        QVERIFY(rig.link().sendTimer().isActive());
        QVERIFY(rig.link().receiveTimer().isActive());
        QCOMPARE(int(rig.state().currentCommand), commandAfter);
        QVERIFY(rig.prompt.messages.isEmpty());

        QString back = QStringLiteral("COM12 (/dev/fake-com12) was reconnected at 09:03:00.");
        if (recording) {
            const QString secondFile = rig.state().recordFilePath;
            QVERIFY(secondFile != firstFile);
            QVERIFY(rig.core->recorder.isRecording());
            QCOMPARE(rig.state().record.check(RecordField::recording), 1);
            back += QStringLiteral(" Recording goes on in a new file, \"%1\".")
                        .arg(QDir::toNativeSeparators(secondFile));
            // The values on the page are from before the loss: no line until
            // the pack has answered again.
            rig.core->recorder.tick();
            QCOMPARE(lineCount(secondFile), 0);
            rig.state().linkCountdown = 20;
            rig.core->recorder.tick();
            QCOMPARE(lineCount(secondFile), 1);
        } else {
            QVERIFY(!rig.core->recorder.isRecording());
        }
        QCOMPARE(rig.state().statusLine(), back);

        // What the tab was doing goes out at the next send tick.
        rig.port->writes.clear();
        rig.link().sendTick();
        if (commandAfter == 16) {
            QVERIFY(rig.port->writes.isEmpty());
        } else {
            QCOMPARE(rig.port->writes.size(), 1);
            QCOMPARE(int(quint8(rig.port->writes.first().at(4))), commandAfter);
        }
    }

    // The same USB adapter back under another device name is found by its
    // serial number; another adapter there is not taken for it.
    void sameAdapterElsewhere_data()
    {
        QTest::addColumn<QString>("serialAtOpen");
        QTest::addColumn<QString>("serialBack");
        QTest::addColumn<bool>("reopened");
        QTest::newRow("same serial number") << "A10K3Q"
                                            << "A10K3Q" << true;
        QTest::newRow("another adapter") << "A10K3Q"
                                         << "B77" << false;
        QTest::newRow("adapter without serial number") << ""
                                                       << "" << false;
    }
    void sameAdapterElsewhere()
    {
        QFETCH(QString, serialAtOpen);
        QFETCH(QString, serialBack);
        QFETCH(bool, reopened);
        Rig rig(m_config.path());
        const QString usb0 = PortMap::fixedDevice(33);
        const QString usb1 = PortMap::fixedDevice(34);
        rig.port->presentDevices = {usb0};
        rig.port->serialNumbers.insert(usb0, serialAtOpen);
        rig.state().link.setCheck(LinkField::reconnect, 1);
        rig.state().selectedTab = 2;
        rig.link().load();
        QCOMPARE(rig.state().link.choiceText(LinkField::port), QStringLiteral("COM33"));
        rig.link().toggleOpen();
        QVERIFY(rig.link().portOpen());

        rig.port->presentDevices.clear();
        rig.port->serialNumbers.clear();
        rig.port->unplug();
        rig.reconnector().tick();
        QVERIFY(!rig.link().portOpen());

        rig.port->presentDevices = {usb1};
        rig.port->serialNumbers.insert(usb1, serialBack);
        rig.reconnector().tick();
        QCOMPARE(rig.link().portOpen(), reopened);
        QCOMPARE(rig.reconnector().isWaiting(), !reopened);
        if (reopened) {
            QCOMPARE(rig.port->openedDevices.last(), usb1);
            QCOMPARE(rig.state().link.choiceText(LinkField::port), QStringLiteral("COM34"));
            QCOMPARE(rig.link().portNumber(), 34);
        }
        QVERIFY(rig.prompt.messages.isEmpty());
    }

    // A device that is back but refuses to open yet (its permissions are set a
    // moment after it appears) is tried again, without a message.
    void retriesQuietly()
    {
        Rig rig(m_config.path());
        rig.state().link.setCheck(LinkField::reconnect, 1);
        rig.open(2);
        rig.lineGoesAway();
        rig.lineComesBack();
        rig.port->openResult = PortIo::OpenResult::NoPermission;
        rig.reconnector().tick();
        rig.reconnector().tick();
        QVERIFY(!rig.link().portOpen());
        QVERIFY(rig.reconnector().isWaiting());
        QVERIFY(rig.prompt.messages.isEmpty());
        rig.port->openResult = PortIo::OpenResult::Ok;
        rig.reconnector().tick();
        QVERIFY(rig.link().portOpen());
        QVERIFY(rig.prompt.messages.isEmpty());
    }

    // The user taking over, or the program ending, stops the waiting.
    void waitingEnds_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("box cleared") << "clear";
        QTest::newRow("open button pressed") << "button";
        QTest::newRow("program end") << "shutdown";
    }
    void waitingEnds()
    {
        QFETCH(QString, how);
        Rig rig(m_config.path());
        rig.state().link.setCheck(LinkField::reconnect, 1);
        rig.open(2);
        rig.lineGoesAway();
        QVERIFY(rig.reconnector().isWaiting());
        if (how == QLatin1String("clear")) {
            rig.state().link.setCheck(LinkField::reconnect, 0);
            QCOMPARE(rig.state().statusLine(),
                     QStringLiteral("COM12 (/dev/fake-com12) was disconnected at 09:03:00."));
        } else if (how == QLatin1String("button")) {
            rig.port->openResult = PortIo::OpenResult::InvalidPort;
            rig.link().toggleOpen(); // the user's own attempt, which fails
            QCOMPARE(rig.prompt.messages.size(), 2);
            rig.port->openResult = PortIo::OpenResult::Ok;
        } else {
            rig.core->shutdown();
        }
        QVERIFY(!rig.reconnector().isWaiting());
        QVERIFY(!rig.reconnector().timer().isActive());
        rig.lineComesBack();
        rig.reconnector().tick();
        QVERIFY(!rig.link().portOpen());
    }

    // Without the box the loss is reported in a box as before, and nothing
    // waits for the device.
    void withoutTheBoxNothingWaits()
    {
        Rig rig(m_config.path());
        rig.open(2);
        rig.lineGoesAway();
        QCOMPARE(rig.prompt.messages.size(), 1);
        QVERIFY(!rig.reconnector().isWaiting());
        rig.lineComesBack();
        rig.reconnector().tick();
        QVERIFY(!rig.link().portOpen());
    }
};

QTEST_GUILESS_MAIN(TestReconnect)
#include "tst_reconnect.moc"
