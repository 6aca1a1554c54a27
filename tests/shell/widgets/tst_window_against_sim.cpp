// The program's real window against the simulated BMS on a pseudo-terminal
// that the port map shows as COM7: open the port from the link page, let the
// polling cycle run, read the information page.
#include "support/RecordingPrompt.h"

#include "link/LinkForm.h"
#include "link/widgets/LinkPanel.h"
#include "responses/FieldDecoding.h"
#include "responses/InfoForm.h"
#include "responses/widgets/InfoPanel.h"
#include "shell/Core.h"
#include "shell/widgets/MainWindow.h"
#include "shell/widgets/PanelHost.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {
constexpr int comNumber = 7;
constexpr int cells = 8;
constexpr int sensors = 3;

// The whole program as main() builds it, with the messages recorded instead
// of shown and the real serial port.
struct Program {
    RecordingPrompt prompt;
    Core core{prompt, nullptr};
    MainWindow window{core};
    PanelHost &host = *window.host();

    Program()
    {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
    LinkPanel &linkPage() { return *static_cast<LinkPanel *>(host.page(PanelHost::Page::Link)); }
    InfoPanel &infoPage() { return *static_cast<InfoPanel *>(host.page(PanelHost::Page::Info)); }
    QString shown(const QString &control)
    {
        QWidget *w = infoPage().control(control);
        if (auto *line = qobject_cast<QLineEdit *>(w))
            return line->text();
        return qobject_cast<QPlainTextEdit *>(w)->toPlainText();
    }

    // What a technician does: the serial-setting tab, COM7, open, then the
    // information tab.
    void openCom7()
    {
        QTabBar *tabs = host.tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
        QVERIFY(linkPage().isVisible());
        QTest::mouseClick(linkPage().refreshButton(), Qt::LeftButton);
        QComboBox *ports = linkPage().list(LinkField::port);
        const int index = ports->findText(QStringLiteral("COM%1").arg(comNumber));
        QVERIFY2(index >= 0, "the simulator is not in the port list");
        ports->setCurrentIndex(index);
        emit ports->activated(index);
        QTest::mouseClick(linkPage().openCloseButton(), Qt::LeftButton);
        QVERIFY2(core.link.portOpen(), qPrintable(prompt.texts().join(QLatin1Char('|'))));
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
        QVERIFY(infoPage().isVisible());
        QCOMPARE(int(core.state.currentCommand), 0);
    }
};
} // namespace

class TestWindowAgainstSim : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_config;
    QString m_status;
    QProcess m_sim;

    QJsonObject pack() const
    {
        QFile f(m_status);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QJsonDocument::fromJson(f.readAll())
            .object()
            .value(QStringLiteral("pack"))
            .toObject();
    }
    double answers() const
    {
        QFile f(m_status);
        if (!f.open(QIODevice::ReadOnly))
            return 0;
        return QJsonDocument::fromJson(f.readAll())
            .object()
            .value(QStringLiteral("counters"))
            .toObject()
            .value(QStringLiteral("answers"))
            .toDouble();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
        const QString ports = m_config.path() + QStringLiteral("/cellvane/ports");
        QVERIFY(QDir().mkpath(ports));
        m_status = m_config.path() + QStringLiteral("/sim-status.json");
        m_sim.setProgram(QStringLiteral(CELLVANE_SIM_EXE));
        m_sim.setArguments(
            {QStringLiteral("--link"), ports + QStringLiteral("/com%1").arg(comNumber),
             QStringLiteral("--cells"), QString::number(cells), QStringLiteral("--ntc"),
             QString::number(sensors), QStringLiteral("--speed"), QStringLiteral("0"),
             QStringLiteral("--current"), QStringLiteral("-12.5"), QStringLiteral("--status"),
             m_status});
        m_sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_sim.start();
        QVERIFY(m_sim.waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(m_sim.canReadLine(), 10000);
        const QString device = QString::fromLocal8Bit(m_sim.readLine()).trimmed();
        QVERIFY2(device.startsWith(QLatin1String("/dev/")), qPrintable(device));
    }

    void cleanupTestCase()
    {
        m_sim.terminate();
        m_sim.waitForFinished(5000);
    }

    void pollingFillsInformationPage_data()
    {
        QTest::addColumn<bool>("english");
        QTest::newRow("chinese") << false;
        QTest::newRow("english") << true;
    }
    void pollingFillsInformationPage()
    {
        QFETCH(bool, english);
        Program program;
        program.core.state.setEnglishUi(english);
        program.openCom7();
        const QString null = english ? QStringLiteral("null") : QStringLiteral("无");

        // After one full polling cycle every item has been answered.
        QTRY_COMPARE_WITH_TIMEOUT(program.shown(InfoField::cellCount), QString::number(cells),
                                  5000);
        QTRY_VERIFY_WITH_TIMEOUT(!program.shown(InfoField::customText).isNull() &&
                                     program.shown(InfoField::cellVoltage(cells)) == null &&
                                     program.shown(InfoField::cellTemperature(sensors)) == null &&
                                     !program.shown(InfoField::dischargeMos).isEmpty(),
                                 5000);
        QTRY_VERIFY_WITH_TIMEOUT(!pack().isEmpty(), 2000);
        const QJsonObject p = pack();
        QCOMPARE(p.value(QStringLiteral("cellCount")).toInt(), cells);

        const QJsonArray mv = p.value(QStringLiteral("cellMv")).toArray();
        for (int i = 0; i < 32; ++i)
            QCOMPARE(program.shown(InfoField::cellVoltage(i)),
                     i < cells ? QString::number(mv.at(i).toInt()) : null);
        const QJsonArray deciC = p.value(QStringLiteral("sensorDeciC")).toArray();
        QCOMPARE(program.shown(InfoField::ntcCount), QString::number(sensors));
        for (int i = 0; i < 12; ++i)
            QCOMPARE(program.shown(InfoField::cellTemperature(i)),
                     i < sensors ? decimalText(deciC.at(i).toInt() / 10.0) : null);
        QCOMPARE(program.shown(InfoField::totalVoltage),
                 decimalText(p.value(QStringLiteral("totalCentiV")).toInt() / 100.0));
        QCOMPARE(program.shown(InfoField::totalCurrent), QStringLiteral("-12.5"));
        QCOMPARE(program.shown(InfoField::soc),
                 decimalText(p.value(QStringLiteral("socPermille")).toInt() / 10.0));

        // MOS states from the second state byte: bit 0 discharge, bit 1 charge.
        const int state2 = p.value(QStringLiteral("state2")).toInt();
        const auto onOff = [&](bool on) {
            return english ? (on ? QStringLiteral("on") : QStringLiteral("off"))
                           : (on ? QStringLiteral("开") : QStringLiteral("关"));
        };
        QCOMPARE(program.shown(InfoField::dischargeMos), onOff(state2 & 1));
        QCOMPARE(program.shown(InfoField::chargeMos), onOff(state2 & 2));

        // Balancing cells are highlighted exactly as the pack reports them.
        const quint32 balancing = quint32(p.value(QStringLiteral("balancingBits")).toDouble());
        for (int i = 0; i < cells; ++i)
            QCOMPARE(program.core.state.info.isHighlighted(InfoField::cellVoltage(i)),
                     bool((balancing >> i) & 1u));

        QVERIFY2(program.prompt.messages.isEmpty(),
                 qPrintable(program.prompt.texts().join(QLatin1Char('|'))));
        QVERIFY(program.window.close());
        QVERIFY(!program.core.link.portOpen());
    }

    // The polling cycle keeps running on its own, without a message. How
    // long it may hold up the event loop is measured by bench/window_stall.
    void pollingKeepsRunning()
    {
        Program program;
        program.openCom7();
        QTRY_COMPARE_WITH_TIMEOUT(program.shown(InfoField::cellCount), QString::number(cells),
                                  5000);
        const double answersBefore = answers();
        QTest::qWait(3000);
        const double cycles = (answers() - answersBefore) / 10.0;
        QVERIFY2(cycles >= 2, qPrintable(QStringLiteral("%1 cycles answered").arg(cycles)));
        QVERIFY(program.prompt.messages.isEmpty());
    }

    // Closing the window releases the port: the next start opens it again.
    void portReleasedOnClose()
    {
        {
            Program first;
            first.openCom7();
            QVERIFY(first.window.close());
        }
        Program second;
        second.openCom7();
        QTRY_COMPARE_WITH_TIMEOUT(second.shown(InfoField::cellCount), QString::number(cells), 5000);
        QVERIFY(second.prompt.messages.isEmpty());
    }
};

QTEST_MAIN(TestWindowAgainstSim)
#include "tst_window_against_sim.moc"
