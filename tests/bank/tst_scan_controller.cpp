// The bus scan as the link page runs it, without a window: a Core on a fake
// port with the simulator's packs behind it, driven on a fake clock.
#include "BusPort.h"
#include "SimPacks.h"
#include "support/FakePort.h"
#include "support/RecordingPrompt.h"

#include "bank/ScanForm.h"
#include "i18n/SettingsRecord.h"
#include "link/Frame.h"
#include "link/LinkForm.h"
#include "link/PortMap.h"
#include "shell/Core.h"
#include "sim/BusPack.h"
#include "sim/PackItems.h"
#include "sim/PackModel.h"
#include "sim/SimOptions.h"

#include <QDir>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <vector>

namespace {

struct Rig {
    RecordingPrompt prompt;
    BusPort *port = new BusPort;
    std::unique_ptr<Core> core;
    int linkRequests = 0;
    int dispatched = 0;
    qint64 now = 0;

    explicit Rig(const QString &packs = QStringLiteral("--packs 1,2,5"))
    {
        port->presentDevices << PortMap::fixedDevice(1);
        port->setPacks(packs);
        core = std::make_unique<Core>(prompt, std::unique_ptr<PortIo>(port));
        core->state.setEnglishUi(true);
        core->link.setRequestHandler([this] { ++linkRequests; });
        core->link.setDispatchHandler([this] { ++dispatched; });
    }
    ScanController &scan() { return core->scan; }
    AppState &state() { return core->state; }
    Form &form() { return core->state.scan; }

    void openOnLinkPage()
    {
        core->link.load();
        core->selectTab(1);
        core->link.toggleOpen();
        QVERIFY(core->link.portOpen());
    }
    // Ticks the scan on the fake clock until it ends, also running the link's
    // own timer steps as the event loop would, which must leave the line alone.
    void runScan()
    {
        for (int guard = 0; scan().running() && guard < 100000; ++guard) {
            ++now;
            core->link.receiveTick();
            if (now % 600 == 0)
                core->link.sendTick();
            scan().tick(now);
        }
        QVERIFY(!scan().running());
    }
    QStringList foundLines() const
    {
        return core->state.scan.text(ScanField::found).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
};

const QByteArray answerToLink =
    Frame::build(Frame::responseStart, 0xFF, 0x10, 0, 1, QByteArray(24, 'P'));

} // namespace

class TestScanController : public QObject {
    Q_OBJECT
    QTemporaryDir m_home;
    QByteArray m_savedXdg;

    QString conf() const { return m_home.path() + QStringLiteral("/cellvane/cellvane.conf"); }

private slots:
    void initTestCase()
    {
        m_savedXdg = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", m_home.path().toLocal8Bit());
    }
    void cleanupTestCase() { qputenv("XDG_CONFIG_HOME", m_savedXdg); }
    void init() { QDir(m_home.path() + QStringLiteral("/cellvane")).removeRecursively(); }

    void closedPortRefusesAndSendsNothing()
    {
        Rig rig;
        rig.core->link.load();
        QVERIFY(!rig.form().isEnabled(ScanField::scan));
        QVERIFY(!rig.scan().start(0));
        QVERIFY(!rig.scan().running());
        QCOMPARE(rig.prompt.texts(),
                 QStringList{QStringLiteral("Please open the serial port first")});
        QVERIFY(rig.port->writes.isEmpty());
    }

    void scanHasTheLineToItselfAndListsThePacks()
    {
        Rig rig;
        rig.openOnLinkPage();
        QVERIFY(rig.form().isEnabled(ScanField::scan));
        QCOMPARE(int(rig.state().currentCommand), 0);
        rig.state().linkCountdown = 20; // the pages show live values
        QVERIFY(rig.scan().start(rig.now));
        QCOMPARE(int(rig.state().currentCommand), 16);
        // They are not refreshed while the scan runs: no recorded line may be
        // made of them.
        QVERIFY(rig.state().linkCountdown <= 0);
        QCOMPARE(rig.form().text(ScanField::status), QStringLiteral("Scanning address 0 of 16"));
        rig.runScan();

        // Every request on the line was the scan's, and no answer to it reached
        // the link's dispatcher.
        QCOMPARE(rig.linkRequests, 0);
        QCOMPARE(rig.dispatched, 0);
        QCOMPARE(rig.scan().lastScan()->requestsSent(), int(rig.port->writes.size()));
        QCOMPARE(rig.scan().addresses(), (QList<int>{1, 2, 5}));
        QCOMPARE(rig.form().value(ScanField::progress), 100);
        QVERIFY(rig.form().text(ScanField::status).startsWith(QStringLiteral("Scan complete in ")));
        QVERIFY(rig.form()
                    .text(ScanField::status)
                    .endsWith(QStringLiteral("; packs: 3, probable address clashes: 0")));
        const QStringList lines = rig.foundLines();
        QCOMPARE(lines.size(), 3);
        for (int i = 0; i < 3; ++i) {
            const PackModel &pack = rig.port->packs[std::size_t(i)]->model();
            const QString project =
                BusScan::itemText(pack.settings().read(PackItem::projectNumber));
            const QString id = BusScan::itemText(pack.settings().read(PackItem::batteryId));
            QVERIFY(!id.isEmpty());
            QCOMPARE(lines[i], QStringLiteral("Address %1: project %2, battery ID %3")
                                   .arg(QList<int>{1, 2, 5}[i])
                                   .arg(project, id));
        }

        // The live reads of the page go on from the first one, and the link
        // hears its answers again.
        QCOMPARE(int(rig.state().currentCommand), 0);
        QVERIFY(rig.core->link.sendTimer().isActive());
        QVERIFY(!rig.core->link.lineLent());
        rig.core->link.sendTick();
        QCOMPARE(rig.linkRequests, 1);
        rig.port->feed(answerToLink);
        QCOMPARE(rig.dispatched, 1);

        // Remembered with the port for the next start.
        QSettings record(conf(), QSettings::IniFormat);
        QCOMPARE(record.value(QStringLiteral("bank/port")).toString(), QStringLiteral("COM1"));
        QCOMPARE(record.value(QStringLiteral("bank/addresses")).toString(),
                 QStringLiteral("1,2,5"));
    }

    void clashesAreListedButNotOffered()
    {
        Rig rig(QStringLiteral("--packs 1 --clash 3"));
        rig.openOnLinkPage();
        rig.scan().start(rig.now);
        rig.runScan();
        QCOMPARE(rig.foundLines().value(1),
                 QStringLiteral("Address 3: probable address clash (answers fail the CRC)"));
        QVERIFY(rig.form()
                    .text(ScanField::status)
                    .endsWith(QStringLiteral("; packs: 1, probable address clashes: 1")));
        QCOMPARE(rig.scan().addresses(), QList<int>{1});
    }

    void emptyBusKeepsWhatWasStored()
    {
        SettingsRecord::storeBank({QStringLiteral("COM1"), {2, 7}});
        Rig rig(QStringLiteral("--packs 1 --offline 1"));
        rig.scan().loadRemembered();
        QCOMPARE(rig.form().text(ScanField::status),
                 QStringLiteral("Last scan on COM1 found addresses 2, 7."));
        rig.openOnLinkPage();
        rig.scan().start(rig.now);
        rig.runScan();
        QCOMPARE(rig.foundLines(),
                 QStringList{QStringLiteral("No pack answered at addresses 0 to 16.")});
        QCOMPARE(rig.scan().addresses(), (QList<int>{2, 7}));
        QCOMPARE(SettingsRecord::storedBank().addresses, (QList<int>{2, 7}));
    }

    void endsCleanly_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("portOpen");
        QTest::addColumn<int>("command");
        QTest::newRow("button again") << "toggle" << true << 0;
        QTest::newRow("another page") << "tab" << true << 16;
        QTest::newRow("port closed") << "close" << false << 0;
        QTest::newRow("adapter unplugged") << "unplug" << false << 0;
    }
    void endsCleanly()
    {
        QFETCH(QString, how);
        QFETCH(bool, portOpen);
        QFETCH(int, command);
        Rig rig;
        rig.openOnLinkPage();
        rig.scan().start(rig.now);
        // Into address 3.
        while (rig.scan().lastScan()->currentAddress() < 3) {
            ++rig.now;
            rig.scan().tick(rig.now);
        }
        if (how == QLatin1String("toggle"))
            rig.scan().toggle();
        else if (how == QLatin1String("tab"))
            rig.core->selectTab(3);
        else if (how == QLatin1String("close"))
            rig.core->link.toggleOpen();
        else
            rig.port->unplug();

        QVERIFY(!rig.scan().running());
        QVERIFY(!rig.scan().timer().isActive());
        QVERIFY(!rig.core->link.lineLent());
        QCOMPARE(rig.core->link.portOpen(), portOpen);
        QCOMPARE(int(rig.state().currentCommand), command);
        QCOMPARE(rig.form().text(ScanField::status),
                 QStringLiteral("Scan stopped at address 3; what was found so far is listed."));
        QCOMPARE(rig.foundLines().size(), 2); // addresses 1 and 2
        QVERIFY(rig.scan().addresses().isEmpty());
        QVERIFY(!QFile::exists(conf()) || SettingsRecord::storedBank().port.isEmpty());
        // Nothing more goes out for the scan.
        const qsizetype writes = rig.port->writes.size();
        for (int i = 0; i < 500; ++i)
            rig.scan().tick(++rig.now);
        QCOMPARE(rig.port->writes.size(), writes);
        QCOMPARE(rig.form().isEnabled(ScanField::scan), portOpen);
    }

    // A line that takes no request ends the scan at once and says where.
    void refusedWriteEndsTheScan()
    {
        Rig rig;
        rig.openOnLinkPage();
        rig.port->writeLimit = 3;
        QSignalSpy running(&rig.scan(), &ScanController::runningChanged);
        QVERIFY(rig.scan().start(rig.now));
        QVERIFY(!rig.scan().running());
        QVERIFY(!rig.scan().timer().isActive());
        QCOMPARE(running.size(), 1);
        QCOMPARE(running.first().first().toBool(), false);
        QCOMPARE(rig.form().text(ScanField::status),
                 QStringLiteral("Scan stopped: the request to address 0 could not be sent."));
        QVERIFY(!rig.core->link.lineLent());
        QCOMPARE(int(rig.state().currentCommand), 0);
    }

    // A lost adapter that comes back: the page's live reads go on, not the
    // scan's pause, and the scan is not resumed behind the user's back.
    void reconnectionResumesTheLiveReads()
    {
        Rig rig;
        rig.openOnLinkPage();
        rig.state().link.setCheck(LinkField::reconnect, 1);
        rig.scan().start(rig.now);
        rig.scan().tick(++rig.now);
        rig.port->presentDevices.clear();
        rig.port->unplug();
        QVERIFY(!rig.scan().running());
        rig.port->presentDevices << PortMap::fixedDevice(1);
        rig.core->link.reconnector().tick();
        QVERIFY(rig.core->link.portOpen());
        QCOMPARE(int(rig.state().currentCommand), 0);
        QVERIFY(!rig.core->link.lineLent());
        QVERIFY(!rig.scan().running());
        QVERIFY(rig.prompt.messages.isEmpty());
    }

    void textsFollowTheLanguage()
    {
        Rig rig;
        rig.openOnLinkPage();
        rig.scan().start(rig.now);
        rig.runScan();
        rig.state().setEnglishUi(false);
        QVERIFY(rig.form().text(ScanField::status).startsWith(QStringLiteral("扫描完成")));
        QVERIFY(rig.foundLines().value(0).startsWith(QStringLiteral("地址 1：项目号 ")));
    }
};

QTEST_GUILESS_MAIN(TestScanController)
#include "tst_scan_controller.moc"
