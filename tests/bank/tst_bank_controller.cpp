// The bank page's core in a Core on a fake port with the simulator's packs:
// it has the line while the page is shown, as the bus scan does, and gives it
// back to the page's live reads when the page is left.
#include "BusPort.h"
#include "support/RecordingPrompt.h"

#include "bank/BankForm.h"
#include "charts/PackHistory.h"
#include "i18n/SettingsRecord.h"
#include "link/LinkForm.h"
#include "link/PortMap.h"
#include "records/DataLocations.h"
#include "shell/Core.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
struct Rig {
    RecordingPrompt prompt;
    BusPort *port = new BusPort;
    std::unique_ptr<Core> core;
    int linkRequests = 0;
    qint64 now = 0;

    Rig()
    {
        port->presentDevices << PortMap::fixedDevice(1);
        port->setPacks(QStringLiteral("--packs 1,2,5,9 --offline 9"));
        SettingsRecord::storeBank({QStringLiteral("COM1"), {1, 2, 5, 9}});
        core = std::make_unique<Core>(prompt, std::unique_ptr<PortIo>(port));
        core->state.setEnglishUi(true);
        core->scan.loadRemembered();
        core->link.setRequestHandler([this] { ++linkRequests; });
        core->bank.setClock([this] { return now; });
        core->link.load();
        core->selectTab(1);
        core->link.toggleOpen();
    }
    BankController &bank() { return core->bank; }
    void run(qint64 ms)
    {
        for (const qint64 end = now + ms; now < end;) {
            ++now;
            core->link.receiveTick();
            if (now % 600 == 0)
                core->link.sendTick();
            bank().tick(now);
        }
    }
};
} // namespace

class TestBankController : public QObject {
    Q_OBJECT
    QTemporaryDir m_home;

private slots:
    void initTestCase()
    {
        qputenv("XDG_CONFIG_HOME", m_home.path().toLocal8Bit());
        DataLocations::setPlaces(DataLocations::Places::portableIn(m_home.path()));
    }
    void cleanupTestCase() { DataLocations::setPlaces({}); }

    void pageHasTheLineWhileShown()
    {
        Rig rig;
        QVERIFY(rig.core->link.portOpen());
        QSignalSpy updated(&rig.bank(), &BankController::packUpdated);
        rig.core->selectTab(8);
        QVERIFY(rig.core->link.lineLent());
        QCOMPARE(int(rig.core->state.currentCommand), 16);
        QVERIFY(!rig.core->link.sendTimer().isActive());
        rig.run(3000);
        QCOMPARE(rig.linkRequests, 0); // every request was the bank's
        for (int a : {1, 2, 5}) {
            QVERIFY(rig.bank().pack(a)->online);
            QVERIFY(rig.bank().pack(a)->hasLive);
        }
        QVERIFY(!rig.bank().pack(9)->online);
        QVERIFY(updated.contains(QVariantList{5}));
        // Each pack's values reach the charts under its own address.
        QCOMPARE(rig.core->charts.store().addresses(), (QList<int>{1, 2, 5}));
        for (int a : {1, 2, 5}) {
            const PackHistory *history = rig.core->charts.store().history(a);
            QVERIFY(history && !history->isEmpty());
            const auto &last = history->at(history->size() - 1).values;
            QCOMPARE(last[ChartSeries::TotalVoltage],
                     float(rig.bank().pack(a)->number(BankPack::Value::TotalVoltage)));
            QCOMPARE(last[ChartSeries::CellDifference],
                     float(rig.bank().pack(a)->number(BankPack::Value::CellDifference) * 1000));
        }
        QVERIFY(rig.core->state.bank.text(BankField::status)
                    .contains(QStringLiteral("3 of 4 packs online")));
        QCOMPARE(rig.bank().model().rowCount(), 4);

        // A row chosen: its address is the link page's.
        QVERIFY(rig.bank().choosePack(5));
        QCOMPARE(int(rig.core->state.deviceAddress), 5);
        QCOMPARE(rig.core->state.link.choiceText(LinkField::address), QStringLiteral("5"));
        QVERIFY(!rig.bank().choosePack(17));

        // Another page: the live reads go on, the bank's requests stop.
        rig.core->selectTab(2);
        QVERIFY(!rig.core->link.lineLent());
        QCOMPARE(int(rig.core->state.currentCommand), 0);
        QVERIFY(rig.core->link.sendTimer().isActive());
        const qsizetype writes = rig.port->writes.size();
        rig.run(2000);
        QCOMPARE(rig.port->writes.size(), writes);
        QCOMPARE(rig.linkRequests, 3); // the send timer's ticks at 3.6, 4.2 and 4.8 s
    }

    // The port closed and lost adapters end the polling; back on the page
    // with the port open, it polls again.
    void portClosedGivesTheLineBack()
    {
        Rig rig;
        rig.core->selectTab(8);
        rig.run(500);
        rig.core->link.toggleOpen();
        QVERIFY(!rig.core->link.lineLent());
        QVERIFY(!rig.bank().timer().isActive());
        QVERIFY(rig.core->state.bank.text(BankField::status)
                    .startsWith(QStringLiteral("Open the serial port")));
        rig.core->link.toggleOpen();
        QVERIFY(rig.core->link.lineLent());
        rig.port->unplug();
        QVERIFY(!rig.core->link.lineLent());
        QVERIFY(!rig.bank().hasLine());
    }

    // Recording follows the check box; where no file can be made the user is
    // told and the box is cleared.
    void recordingFollowsTheCheckBox()
    {
        Rig rig;
        rig.core->selectTab(8);
        rig.core->state.bank.setCheck(BankField::record, 1);
        QVERIFY(!rig.bank().recordingPath().isEmpty());
        rig.run(2500); // three sweeps of four packs
        rig.core->state.bank.setCheck(BankField::record, 0);
        QFile f(rig.bank().recordingPath());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll().count("\r\n"), 1 + 3 * 4);

        DataLocations::Places nowhere;
        nowhere.outputRoot = QStringLiteral("/proc/no-such-folder");
        DataLocations::setPlaces(nowhere);
        rig.core->state.bank.setCheck(BankField::record, 1);
        DataLocations::setPlaces(DataLocations::Places::portableIn(m_home.path()));
        QCOMPARE(rig.core->state.bank.check(BankField::record), 0);
        QCOMPARE(rig.prompt.messages.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestBankController)
#include "tst_bank_controller.moc"
