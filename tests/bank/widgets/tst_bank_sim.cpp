// The real window against the simulator serving four packs on one
// pseudo-terminal, one of them silent: the bus scan finds the three that
// answer, the bank page shows their values as the simulator holds them, and a
// row opens that pack on the information page.
#include "support/RecordingPrompt.h"

#include "bank/BankTableModel.h"
#include "bank/widgets/BankPanel.h"
#include "link/LinkForm.h"
#include "link/widgets/LinkPanel.h"
#include "responses/FieldDecoding.h"
#include "responses/InfoForm.h"
#include "shell/Core.h"
#include "shell/widgets/MainWindow.h"
#include "shell/widgets/PanelHost.h"

#include <QComboBox>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {
constexpr int comNumber = 4;
} // namespace

class TestBankSim : public QObject {
    Q_OBJECT
    QTemporaryDir m_config;
    QString m_status;
    QProcess m_sim;

    // The simulator's own record of the pack at `address`.
    QJsonObject simPack(int address) const
    {
        QFile f(m_status);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        for (const QJsonValue &v :
             QJsonDocument::fromJson(f.readAll()).object().value(QStringLiteral("packs")).toArray())
            if (v.toObject().value(QStringLiteral("address")).toInt() == address)
                return v.toObject();
        return {};
    }

private slots:
    void initTestCase()
    {
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
        const QString ports = m_config.path() + QStringLiteral("/cellvane/ports");
        QVERIFY(QDir().mkpath(ports));
        m_status = m_config.path() + QStringLiteral("/sim-status.json");
        m_sim.setProgram(QStringLiteral(CELLVANE_SIM_EXE));
        m_sim.setArguments(
            {QStringLiteral("--link"), ports + QStringLiteral("/com%1").arg(comNumber),
             QStringLiteral("--packs"), QStringLiteral("1,2,5,9"), QStringLiteral("--offline"),
             QStringLiteral("9"), QStringLiteral("--speed"), QStringLiteral("0"),
             QStringLiteral("--current"), QStringLiteral("0"), QStringLiteral("--status"),
             m_status});
        m_sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_sim.start();
        QVERIFY(m_sim.waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(m_sim.canReadLine(), 10000);
    }
    void cleanupTestCase()
    {
        m_sim.terminate();
        m_sim.waitForFinished(5000);
    }

    void scanPollAndOpenAPack()
    {
        RecordingPrompt prompt;
        Core core{prompt, nullptr};
        MainWindow window{core};
        PanelHost &host = *window.host();
        core.state.setEnglishUi(true);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTabBar *tabs = host.tabBar();
        QCOMPARE(tabs->count(), 8);
        QCOMPARE(tabs->tabText(7), QStringLiteral("packs"));

        // The link page: COM4, open, scan.
        auto &link = *static_cast<LinkPanel *>(host.page(PanelHost::Page::Link));
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
        QTest::mouseClick(link.refreshButton(), Qt::LeftButton);
        QComboBox *ports = link.list(LinkField::port);
        const int index = ports->findText(QStringLiteral("COM%1").arg(comNumber));
        QVERIFY2(index >= 0, "the simulator is not in the port list");
        ports->setCurrentIndex(index);
        emit ports->activated(index);
        QTest::mouseClick(link.openCloseButton(), Qt::LeftButton);
        QVERIFY(core.link.portOpen());
        QTest::mouseClick(link.scanButton(), Qt::LeftButton);
        QVERIFY(core.scan.running());
        QTRY_VERIFY_WITH_TIMEOUT(!core.scan.running(), 20000);
        QCOMPARE(core.scan.addresses(), (QList<int>{1, 2, 5}));

        // The bank page: each pack's values as the simulator has them.
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(7).center());
        auto &bank = *static_cast<BankPanel *>(host.page(PanelHost::Page::Bank));
        QVERIFY(bank.isVisible());
        QTableView *table = bank.table();
        QAbstractItemModel *model = table->model();
        QCOMPARE(model->rowCount(), 3);
        const auto cell = [model](int row, int column) {
            return model->index(row, column).data().toString();
        };
        QTRY_VERIFY_WITH_TIMEOUT(cell(2, BankTableModel::State) == QStringLiteral("online"), 5000);
        for (int row = 0; row < 3; ++row) {
            const int address = QList<int>{1, 2, 5}[row];
            QCOMPARE(cell(row, BankTableModel::Address), QString::number(address));
            const QJsonObject sim = simPack(address);
            const QJsonObject values = sim.value(QStringLiteral("pack")).toObject();
            QCOMPARE(cell(row, BankTableModel::BatteryId),
                     sim.value(QStringLiteral("batteryId")).toString());
            QCOMPARE(cell(row, BankTableModel::Voltage),
                     decimalText(values.value(QStringLiteral("totalCentiV")).toInt() / 100.0));
            QCOMPARE(cell(row, BankTableModel::CellDifference),
                     decimalText(values.value(QStringLiteral("differenceMv")).toInt() / 1000.0));
        }
        QVERIFY(core.bank.poller().lastSweepMs() >= 0);

        // Sorted by SOC, highest first, and the row chosen with Enter.
        table->sortByColumn(BankTableModel::Soc, Qt::DescendingOrder);
        QVERIFY(model->index(0, BankTableModel::Soc).data(BankTableModel::SortRole).toDouble() >=
                model->index(1, BankTableModel::Soc).data(BankTableModel::SortRole).toDouble());
        int row2 = -1;
        for (int r = 0; r < 3; ++r)
            if (cell(r, BankTableModel::Address) == QStringLiteral("2"))
                row2 = r;
        table->setFocus();
        table->setCurrentIndex(model->index(row2, 0));
        QTest::keyClick(table, Qt::Key_Return);
        QCOMPARE(host.selectedTab(), 2);
        QCOMPARE(int(core.state.deviceAddress), 2);
        QVERIFY(!core.link.lineLent());
        // The information page polls pack 2 as it would any pack.
        QTRY_COMPARE_WITH_TIMEOUT(core.state.info.text(InfoField::batteryId),
                                  simPack(2).value(QStringLiteral("batteryId")).toString(), 5000);
        QTRY_COMPARE_WITH_TIMEOUT(core.state.info.text(InfoField::totalVoltage),
                                  decimalText(simPack(2)
                                                  .value(QStringLiteral("pack"))
                                                  .toObject()
                                                  .value(QStringLiteral("totalCentiV"))
                                                  .toInt() /
                                              100.0),
                                  5000);
        core.shutdown();
    }
};

QTEST_MAIN(TestBankSim)
#include "tst_bank_sim.moc"
