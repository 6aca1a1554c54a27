#include "link/Frame.h"
#include "link/LinkController.h"
#include "link/LinkForm.h"
#include "records/RecordForm.h"
#include "shell/Core.h"
#include "support/FakePort.h"
#include "support/RecordingPrompt.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QString com3 = QStringLiteral("/dev/fake-com3");
const QString com12 = QStringLiteral("/dev/fake-com12");

QByteArray response(quint8 item, const QByteArray &data = {})
{
    return Frame::build(Frame::responseStart, 0xFF, 0x10, 0, item, data);
}

// A Core on a scripted line, with a request builder that sends a 9-byte read
// for any code but the pause code, and a dispatcher that records the frames.
struct Rig {
    RecordingPrompt prompt;
    FakePort *port = nullptr;
    std::unique_ptr<Core> core;
    QList<QByteArray> dispatched;
    std::function<void()> onDispatch;

    explicit Rig(bool english = true)
    {
        auto fake = std::make_unique<FakePort>();
        port = fake.get();
        port->presentDevices = {com3, com12};
        core = std::make_unique<Core>(prompt, std::move(fake));
        core->state.setEnglishUi(english);
        core->link.setDispatchHandler([this] {
            dispatched << core->state.rxFrame;
            if (onDispatch)
                onDispatch();
        });
        core->link.setRequestHandler([this] { request(); });
    }

    LinkController &link() { return core->link; }
    AppState &state() { return core->state; }

    void request()
    {
        AppState &s = core->state;
        if (s.currentCommand == 16)
            return;
        s.txFrame = QByteArray(9, '\0');
        s.txFrame[4] = char(s.currentCommand);
        core->link.restartSendTimer();
        core->link.sendFrame(0);
    }

    void open()
    {
        link().load();
        link().toggleOpen();
        QVERIFY(link().portOpen());
    }

    int count(const QString &text) const { return int(prompt.texts().count(text)); }
};

// Whether the six setting lists are all in the `enabled` state.
bool listsAre(const Form &form, bool enabled)
{
    for (const QString &c : {LinkField::port, LinkField::baud, LinkField::parity,
                             LinkField::dataBits, LinkField::address, LinkField::protocol})
        if (form.isEnabled(c) != enabled)
            return false;
    return true;
}

} // namespace

class TestLinkController : public QObject {
    Q_OBJECT

    QTemporaryDir m_config;

private slots:
    void initTestCase()
    {
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
        const QString ports = m_config.filePath(QStringLiteral("cellvane/ports"));
        QVERIFY(QDir().mkpath(ports));
        QVERIFY(QFile::link(com3, ports + QStringLiteral("/com3")));
        QVERIFY(QFile::link(com12, ports + QStringLiteral("/com12")));
    }

    void loadSelectsFirstEntriesAndRunsTheirActions()
    {
        Rig rig;
        // Before the page loads, the settings are what the lists show.
        QCOMPARE(rig.link().portSettings(), QStringLiteral("9600,N,8 ,1"));
        rig.state().deviceAddress = 7;
        rig.state().protocolCode = 3;
        rig.link().load();
        const Form &form = rig.state().link;
        QCOMPARE(form.entries(LinkField::port), (QStringList{"COM3", "COM12"}));
        QCOMPARE(form.choiceText(LinkField::port), QStringLiteral("COM12"));
        for (const QString &c : {LinkField::baud, LinkField::parity, LinkField::dataBits,
                                 LinkField::address, LinkField::protocol})
            QCOMPARE(form.choice(c), 0);
        QCOMPARE(rig.state().deviceAddress, quint8(255));
        QCOMPARE(rig.state().protocolCode, quint8(16));
        QCOMPARE(rig.link().portSettings(), QStringLiteral("9600,N,8 ,1"));
        QCOMPARE(rig.link().portNumber(), 12);
        QCOMPARE(rig.link().deviceOf(12), com12);
    }

    void listSelections_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("address");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<int>("number");
        QTest::newRow("address 0") << LinkField::address << 1 << 0 << "9600,N,8 ,1" << 12;
        QTest::newRow("address 16") << LinkField::address << 17 << 16 << "9600,N,8 ,1" << 12;
        QTest::newRow("115200 baud") << LinkField::baud << 5 << 255 << "115200,N,8 ,1" << 12;
        QTest::newRow("1200 baud") << LinkField::baud << 6 << 255 << "1200,N,8 ,1" << 12;
        QTest::newRow("even parity") << LinkField::parity << 1 << 255 << "9600,E,8 ,1" << 12;
        QTest::newRow("odd parity") << LinkField::parity << 2 << 255 << "9600,O,8 ,1" << 12;
        QTest::newRow("nine data bits") << LinkField::dataBits << 1 << 255 << "9600,N,9 ,1" << 12;
        QTest::newRow("first port") << LinkField::port << 0 << 255 << "9600,N,8 ,1" << 3;
    }
    void listSelections()
    {
        QFETCH(QString, list);
        QFETCH(int, index);
        QFETCH(int, address);
        QFETCH(QString, settings);
        QFETCH(int, number);
        Rig rig;
        rig.link().load();
        QVERIFY(rig.state().link.setChoice(list, index));
        QCOMPARE(int(rig.state().deviceAddress), address);
        QCOMPARE(rig.state().protocolCode, quint8(16));
        QCOMPARE(rig.link().portSettings(), settings);
        QCOMPARE(rig.link().portNumber(), number);
    }

    void noPortPresent()
    {
        Rig rig;
        rig.port->presentDevices.clear();
        rig.port->openResult = PortIo::OpenResult::InvalidPort;
        rig.link().load();
        QVERIFY(rig.state().link.entries(LinkField::port).isEmpty());
        QCOMPARE(rig.state().link.choice(LinkField::port), -1);
        rig.link().toggleOpen();
        QVERIFY(!rig.link().portOpen());
        QCOMPARE(rig.port->openedDevices, QStringList{QString()});
        QCOMPARE(rig.prompt.texts().value(0), QStringLiteral("端口 0无效. 请设置正确."));
        QCOMPARE(rig.prompt.messages.size(), 2);
    }

    void enumerationTriesEveryNumber()
    {
        Rig rig;
        rig.link().enumeratePorts();
        // COM1..COM96 have a device (two of them through links); COM97..COM99
        // have none without a link.
        QCOMPARE(rig.port->probes.size(), 96);
        QVERIFY(rig.port->probes.contains(QStringLiteral("/dev/ttyS0")));
        QVERIFY(rig.port->probes.contains(QStringLiteral("/dev/ttyACM31")));
        QVERIFY(rig.port->probes.contains(com12));
        QVERIFY(!rig.port->probes.contains(QStringLiteral("/dev/ttyS2"))); // COM3 is linked
    }

    void openFailure_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("dataBitsIndex");
        QTest::addColumn<int>("errorCode");
        QTest::addColumn<QString>("first");
        QTest::addColumn<bool>("warningIcon");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("title");

        const QString warnEn =
            QStringLiteral("Error: Closing Port COM12fail，Please check COM12Is it "
                           "still being read or written or corrupted");
        const QString warnZh =
            QStringLiteral("错误：关闭端口COM12失败，请检查COM12是否还在读写或已损坏");
        QTest::newRow("absent or busy, English")
            << true << int(PortIo::OpenResult::InvalidPort) << 0 << 2 << "端口 12无效. 请设置正确."
            << true << warnEn << "warn";
        QTest::newRow("absent or busy, Chinese")
            << false << int(PortIo::OpenResult::InvalidPort) << 0 << 2 << "端口 12无效. 请设置正确."
            << true << warnZh << "警告";
        QTest::newRow("time-outs refused")
            << true << int(PortIo::OpenResult::InvalidTimeouts) << 0 << 5
            << "端口超时设定无效 12 错误: 5" << false << warnEn << "warn";
        QTest::newRow("nine data bits")
            << false << int(PortIo::OpenResult::Ok) << 1 << 87
            << "无效设备 DCB 块 9600,N,9 ,1 错误: 87" << false << warnZh << "警告";
        QTest::newRow("driver refuses the block")
            << true << int(PortIo::OpenResult::InvalidSettings) << 0 << 22
            << "无效设备 DCB 块 9600,N,8 ,1 错误: 22" << false << warnEn << "warn";
    }
    void openFailure()
    {
        QFETCH(bool, english);
        QFETCH(int, result);
        QFETCH(int, dataBitsIndex);
        QFETCH(int, errorCode);
        QFETCH(QString, first);
        QFETCH(bool, warningIcon);
        QFETCH(QString, second);
        QFETCH(QString, title);

        Rig rig(english);
        rig.port->openResult = PortIo::OpenResult(result);
        rig.port->openErrorCode = errorCode;
        rig.link().load();
        rig.state().link.setChoice(LinkField::dataBits, dataBitsIndex);
        QSignalSpy changed(&rig.link(), &LinkController::portOpenChanged);
        rig.link().toggleOpen();

        QCOMPARE(rig.prompt.messages.size(), 2);
        QCOMPARE(rig.prompt.messages[0].text, first);
        QCOMPARE(rig.prompt.messages[0].icon == UserPrompt::Icon::Warning, warningIcon);
        QCOMPARE(rig.prompt.messages[1].text, second);
        QCOMPARE(rig.prompt.messages[1].title, title);
        QVERIFY(!rig.link().portOpen());
        QVERIFY(!rig.port->isOpen());
        QVERIFY(changed.isEmpty());
        QVERIFY(!rig.link().sendTimer().isActive());
        QVERIFY(!rig.link().receiveTimer().isActive());
        QVERIFY(listsAre(rig.state().link, true));
        QVERIFY(rig.state().link.isEnabled(LinkField::refresh));
    }

    void openAndClose_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("command");
        QTest::newRow("serial setting tab leaves the command") << 1 << 5;
        QTest::newRow("information tab starts live reads") << 2 << 0;
        QTest::newRow("other settings tab leaves the command") << 5 << 5;
        QTest::newRow("upgrade tab pauses") << 7 << 16;
    }
    void openAndClose()
    {
        QFETCH(int, tab);
        QFETCH(int, command);
        Rig rig;
        AppState &s = rig.state();
        s.selectedTab = tab;
        s.currentCommand = 5;
        QSignalSpy changed(&rig.link(), &LinkController::portOpenChanged);
        rig.open();

        QCOMPARE(int(s.currentCommand), command);
        QCOMPARE(rig.port->openedDevices, QStringList{com12});
        const PortIo::Settings opened = rig.port->openedSettings.value(0);
        QCOMPARE(opened.baud, 9600);
        QCOMPARE(opened.parity, 'N');
        QCOMPARE(opened.dataBits, 8);
        QCOMPARE(opened.stopBits, 1);
        QVERIFY(opened.valid);
        QVERIFY(rig.link().sendTimer().isActive());
        QVERIFY(rig.link().receiveTimer().isActive());
        QCOMPARE(rig.link().sendTimer().interval(), 600);
        QCOMPARE(rig.link().receiveTimer().interval(), 1);
        QVERIFY(listsAre(s.link, false));
        QVERIFY(!s.link.isEnabled(LinkField::refresh));
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.at(0).at(0).toBool(), true);

        // Leave something behind for the close to clean up.
        rig.port->feed(response(1).left(5));
        QCOMPARE(rig.link().receiveBuffer().count(), 5);
        s.setStatusLine(QStringLiteral("Read project number"));
        s.record.setCheck(RecordField::recording, 1);
        rig.core->recorder.timer().start();

        rig.link().toggleOpen();
        QVERIFY(!rig.link().portOpen());
        QVERIFY(!rig.port->isOpen());
        QCOMPARE(rig.port->flushes, 1);
        QCOMPARE(rig.link().receiveBuffer().count(), 0);
        QCOMPARE(s.statusLine(), QString());
        QVERIFY(listsAre(s.link, true));
        QVERIFY(s.link.isEnabled(LinkField::refresh));
        QVERIFY(!rig.link().sendTimer().isActive());
        QVERIFY(!rig.link().receiveTimer().isActive());
        QCOMPARE(s.record.check(RecordField::recording), 0);
        QVERIFY(!rig.core->recorder.timer().isActive());
        QCOMPARE(changed.size(), 2);
        QCOMPARE(changed.at(1).at(0).toBool(), false);
        QVERIFY(rig.prompt.messages.isEmpty());

        // Closed, nothing is read.
        const int reads = rig.port->reads;
        rig.port->incoming = response(2);
        rig.link().receiveTick();
        QCOMPARE(rig.port->reads, reads);
    }

    void sendRetries_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<int>("sends");
        QTest::addColumn<int>("failures");
        QTest::addColumn<int>("finalCode");
        QTest::newRow("write, five repeats, no verdict yet") << 40 << 5 << 6 << 0 << 40;
        QTest::newRow("write, given up after the sixth send") << 40 << 6 << 6 << 1 << 16;
        QTest::newRow("write, ticks after giving up send nothing") << 40 << 20 << 6 << 1 << 16;
        QTest::newRow("first code above the pause") << 17 << 6 << 6 << 1 << 16;
        QTest::newRow("stored records") << 161 << 6 << 6 << 1 << 16;
        QTest::newRow("live read repeats without failing") << 0 << 20 << 21 << 0 << 0;
        QTest::newRow("last live read repeats too") << 9 << 20 << 21 << 0 << 9;
        QTest::newRow("pause sends nothing") << 16 << 10 << 0 << 0 << 16;
        QTest::newRow("upgrade tolerates forty repeats") << 255 << 41 << 42 << 0 << 255;
        QTest::newRow("upgrade abandoned after more than forty") << 255 << 42 << 42 << 0 << 16;
    }
    void sendRetries()
    {
        QFETCH(int, code);
        QFETCH(int, ticks);
        QFETCH(int, sends);
        QFETCH(int, failures);
        QFETCH(int, finalCode);
        Rig rig;
        rig.open();
        AppState &s = rig.state();
        s.linkCountdown = 20;
        s.currentCommand = quint8(code);
        rig.request(); // the page button's own send
        for (int i = 0; i < ticks; ++i)
            rig.link().sendTick();

        QCOMPARE(int(rig.port->writes.size()), sends);
        for (const QByteArray &w : rig.port->writes)
            QCOMPARE(quint8(w.at(4)), quint8(code));
        QCOMPARE(rig.count(QStringLiteral("Send failed")), failures);
        // A given-up upgrade reports itself once.
        const int upgradeFailures = rig.count(QStringLiteral("Upgrade failed"));
        QCOMPARE(upgradeFailures, code == 255 && finalCode == 16 ? 1 : 0);
        QCOMPARE(rig.prompt.messages.size(), failures + upgradeFailures);
        QCOMPARE(int(s.currentCommand), finalCode);
        QCOMPARE(s.linkCountdown, 20 - ticks);
        QVERIFY(rig.link().portOpen());
    }

    // A chain that advances (the dispatcher sets the next code) starts the
    // count again.
    void retryCountFollowsTheCommand()
    {
        Rig rig;
        rig.open();
        AppState &s = rig.state();
        s.currentCommand = 40;
        rig.request();
        for (int i = 0; i < 4; ++i)
            rig.link().sendTick();
        s.currentCommand = 41;
        rig.request();
        for (int i = 0; i < 5; ++i)
            rig.link().sendTick();
        QCOMPARE(rig.prompt.messages.size(), 0);
        QCOMPARE(rig.link().retryCount(), 4);
        rig.link().sendTick();
        QCOMPARE(rig.count(QStringLiteral("Send failed")), 1);
        QCOMPARE(int(s.currentCommand), 16);
    }

    void sendFailedInChinese()
    {
        Rig rig(false);
        rig.open();
        rig.state().currentCommand = 96;
        rig.request();
        for (int i = 0; i < 8; ++i)
            rig.link().sendTick();
        QCOMPARE(rig.prompt.texts(), QStringList{QStringLiteral("发送失败")});
    }

    void requestWhileClosed()
    {
        Rig rig;
        rig.link().load();
        AppState &s = rig.state();
        s.currentCommand = 40;
        rig.request();
        QCOMPARE(rig.prompt.texts(),
                 QStringList{QStringLiteral("Please open the serial port first")});
        QCOMPARE(int(s.currentCommand), 16);
        QVERIFY(rig.link().sendTimer().isActive());
        for (int i = 0; i < 5; ++i)
            rig.link().sendTick();
        QCOMPARE(rig.prompt.messages.size(), 1);
        rig.core->selectTab(2);
        rig.link().sendTick();
        QCOMPARE(rig.prompt.messages.size(), 2);
        QCOMPARE(rig.prompt.texts().last(), QStringLiteral("Please open the serial port first"));
        QVERIFY(rig.port->writes.isEmpty());
    }

    void shortWrite_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("text");
        QTest::newRow("four of nine") << true << 4 << "1_9_4_7_Send the serial port error";
        QTest::newRow("nothing written") << true << 0 << "1_9_0_7_Send the serial port error";
        QTest::newRow("Chinese") << false << 8 << "1_9_8_7_发送串口错误";
    }
    void shortWrite()
    {
        QFETCH(bool, english);
        QFETCH(int, limit);
        QFETCH(QString, text);
        Rig rig(english);
        rig.open();
        rig.port->writeLimit = limit;
        rig.state().currentCommand = 0;
        rig.request();
        QCOMPARE(rig.prompt.texts(), QStringList{text});
        QCOMPARE(int(rig.state().currentCommand), 16);
        QVERIFY(rig.link().portOpen());
    }

    void malformedRequestIsNotWritten_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("shorter than a header") << QByteArray(5, '\0');
        QTest::newRow("length field claims more") << QByteArray("\0\0\0\0\x01\0\x05\0\0", 9);
        QTest::newRow("length field claims less") << QByteArray(12, '\0');
    }
    void malformedRequestIsNotWritten()
    {
        QFETCH(QByteArray, frame);
        Rig rig;
        rig.open();
        rig.state().currentCommand = 40;
        rig.state().txFrame = frame;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("does not match its length field"));
        rig.link().sendFrame(1);
        QVERIFY(rig.port->writes.isEmpty());
        QCOMPARE(int(rig.state().currentCommand), 16);
    }

    void framesAreHandedOverInOrder()
    {
        Rig rig;
        rig.open();
        const QByteArray a = response(1, "ab"), b = response(2, "cdef");
        QList<int> lengths;
        rig.onDispatch = [&] { lengths << rig.state().rxDataLength; };
        rig.port->feed(QByteArray("xx") + a + b + "yy");
        QCOMPARE(rig.dispatched, (QList<QByteArray>{a, b}));
        QCOMPARE(lengths, (QList<int>{2, 4}));
        QCOMPARE(rig.state().rxFrame, b);
        QCOMPARE(rig.link().receiveBuffer().pending().toByteArray(), QByteArray("yy"));
    }

    void readsAtMost255BytesPerStep()
    {
        Rig rig;
        rig.open();
        const QByteArray big = response(3, QByteArray(600, 'q'));
        rig.port->incoming = big;
        rig.link().receiveTick();
        QCOMPARE(rig.link().receiveBuffer().count(), 255);
        rig.link().receiveTick();
        QVERIFY(rig.dispatched.isEmpty());
        rig.link().receiveTick();
        QCOMPARE(rig.dispatched, QList<QByteArray>{big});
    }

    // A message box opened by the dispatcher spins the event loop: ticks that
    // arrive meanwhile must neither read nor send.
    void ticksInsideDispatchWait()
    {
        Rig rig;
        rig.open();
        const QByteArray a = response(1), b = response(2);
        int readsInside = -1;
        int writesInside = -1;
        rig.state().currentCommand = 0;
        rig.onDispatch = [&] {
            if (readsInside >= 0)
                return;
            const int reads = rig.port->reads;
            const int writes = int(rig.port->writes.size());
            rig.port->feed(b);
            rig.link().receiveTick();
            rig.link().sendTick();
            readsInside = rig.port->reads - reads;
            writesInside = int(rig.port->writes.size()) - writes;
        };
        rig.port->feed(a);
        QCOMPARE(readsInside, 0);
        QCOMPARE(writesInside, 0);
        QCOMPARE(rig.dispatched, QList<QByteArray>{a});
        rig.link().receiveTick();
        QCOMPARE(rig.dispatched, (QList<QByteArray>{a, b}));
    }

    void closingInsideDispatchEndsTheScan()
    {
        Rig rig;
        rig.open();
        const QByteArray a = response(1), b = response(2);
        rig.onDispatch = [&] {
            if (rig.link().portOpen())
                rig.link().toggleOpen();
        };
        rig.port->feed(a + b);
        QCOMPARE(rig.dispatched, QList<QByteArray>{a});
        QVERIFY(!rig.link().portOpen());
        QCOMPARE(rig.link().receiveBuffer().count(), 0);
    }

    void unplug_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::newRow("English") << true
                                 << "The serial port COM12 (/dev/fake-com12) was disconnected. "
                                    "Check the cable and the adapter, then open the port again."
                                 << "warn";
        QTest::newRow("Chinese") << false
                                 << "串口COM12（/dev/fake-com12）已断开，请检查连接线和转换器，"
                                    "然后重新打开串口。"
                                 << "警告";
    }
    void unplug()
    {
        QFETCH(bool, english);
        QFETCH(QString, text);
        QFETCH(QString, title);
        Rig rig(english);
        rig.state().selectedTab = 2;
        rig.open();
        rig.port->feed(response(1).left(4));
        QSignalSpy changed(&rig.link(), &LinkController::portOpenChanged);

        // A virtual line's link goes away with the line: the message still
        // names the device that was open.
        const QString link = m_config.filePath(QStringLiteral("cellvane/ports/com12"));
        QVERIFY(QFile::remove(link));
        rig.port->unplug();
        QVERIFY(QFile::link(com12, link));
        QCOMPARE(rig.prompt.messages.size(), 1);
        QCOMPARE(rig.prompt.messages[0].text, text);
        QCOMPARE(rig.prompt.messages[0].title, title);
        QVERIFY(!rig.link().portOpen());
        QCOMPARE(changed.size(), 1);
        QVERIFY(listsAre(rig.state().link, true));
        QVERIFY(rig.state().link.isEnabled(LinkField::refresh));
        QCOMPARE(rig.link().receiveBuffer().count(), 0);
        QVERIFY(!rig.link().sendTimer().isActive());
        QVERIFY(!rig.link().receiveTimer().isActive());

        // No second report, and no timer left to produce one.
        rig.port->unplug();
        QTest::qWait(700);
        QCOMPARE(rig.prompt.messages.size(), 1);
    }

    void reopen()
    {
        Rig rig;
        rig.open();
        const int closes = rig.port->closes;
        QVERIFY(rig.link().reopen(5, 2));
        QCOMPARE(rig.port->closes, closes + 1);
        QCOMPARE(rig.port->flushes, 0);
        QCOMPARE(rig.state().link.choice(LinkField::baud), 5);
        QCOMPARE(rig.state().link.choice(LinkField::parity), 2);
        QCOMPARE(rig.link().portSettings(), QStringLiteral("115200,O,8 ,1"));
        QCOMPARE(rig.port->openedSettings.size(), 2);
        QCOMPARE(rig.port->openedSettings.last().baud, 115200);
        QCOMPARE(rig.port->openedSettings.last().parity, 'O');
        QVERIFY(rig.link().portOpen());
        QVERIFY(rig.port->isOpen());
        QVERIFY(rig.prompt.messages.isEmpty());
        // Same positions again: the settings are still rebuilt and applied.
        QVERIFY(rig.link().reopen(5, 2));
        QCOMPARE(rig.port->openedSettings.size(), 3);
    }

    // The line cannot be opened again: the page must not go on showing an
    // open port that is not there.
    void reopenFails()
    {
        Rig rig;
        rig.open();
        rig.port->openResult = PortIo::OpenResult::InvalidPort;
        QSignalSpy changed(&rig.link(), &LinkController::portOpenChanged);
        QVERIFY(!rig.link().reopen(0, 0));
        QCOMPARE(rig.prompt.texts(), QStringList{QStringLiteral("端口 12无效. 请设置正确.")});
        QVERIFY(!rig.link().portOpen());
        QCOMPARE(changed.size(), 1);
        QVERIFY(listsAre(rig.state().link, true));
        QVERIFY(!rig.link().sendTimer().isActive());
        QVERIFY(!rig.link().receiveTimer().isActive());
    }

    void reopenLeavesAClosedPortClosed()
    {
        Rig rig;
        rig.link().load();
        QVERIFY(!rig.link().reopen(3, 1));
        QVERIFY(rig.port->openedDevices.isEmpty());
        QCOMPARE(rig.link().portSettings(), QStringLiteral("38400,E,8 ,1"));
    }

    void shutdown()
    {
        Rig rig;
        rig.open();
        rig.core->shutdown();
        QVERIFY(!rig.link().sendTimer().isActive());
        QVERIFY(!rig.link().receiveTimer().isActive());
        QVERIFY(!rig.port->isOpen());
        QCOMPARE(rig.port->flushes, 0);
        QVERIFY(!rig.link().portOpen());
    }

    // The timers themselves: a live read goes out on the send timer and the
    // answer is collected by the receive timer without any readyRead.
    void timersDriveTheTraffic()
    {
        Rig rig;
        rig.state().selectedTab = 2;
        rig.open();
        QTRY_VERIFY_WITH_TIMEOUT(!rig.port->writes.isEmpty(), 2000);
        QCOMPARE(quint8(rig.port->writes.first().at(4)), quint8(0));
        const QByteArray answer = response(1, "P1");
        rig.port->incoming += answer;
        QTRY_COMPARE(rig.dispatched, QList<QByteArray>{answer});
    }

    void captions_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("English") << true
                                 << QStringList{"Open serial port",
                                                "Close serial port",
                                                "None",
                                                "Even",
                                                "Odd",
                                                "Please open the serial port first"};
        QTest::newRow("Chinese") << false << QStringList{"打开串口", "关闭串口", "无校验",
                                                         "偶校验",   "奇校验",   "请先打开串口"};
    }
    void captions()
    {
        QFETCH(bool, english);
        QFETCH(QStringList, texts);
        Rig rig(english);
        QCOMPARE((QStringList{
                     LinkController::openCaption(), LinkController::closeCaption(),
                     LinkController::parityCaption("None"), LinkController::parityCaption("Even"),
                     LinkController::parityCaption("Odd"), LinkController::openPortFirstText()}),
                 texts);
    }
};

QTEST_GUILESS_MAIN(TestLinkController)
#include "tst_link_controller.moc"
