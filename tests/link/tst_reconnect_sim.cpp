// Reconnection end to end: the program's core on a real serial port, the
// simulated BMS on a pseudo-terminal behind a stable link, stopped and started
// again while the live values are being recorded.
#include "link/LinkController.h"
#include "link/LinkForm.h"
#include "link/SerialPortIo.h"
#include "records/OutputFiles.h"
#include "records/RecordForm.h"
#include "shell/Core.h"
#include "support/RecordingPrompt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {
constexpr int comNumber = 9;

int lineCount(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    return int(f.readAll().count("\r\n"));
}
} // namespace

class TestReconnectSim : public QObject {
    Q_OBJECT

    QTemporaryDir m_config;
    QTemporaryDir m_program;
    QString m_link;
    QProcess m_sim;

    void startSim()
    {
        m_sim.setProgram(QStringLiteral(CELLVANE_SIM_EXE));
        m_sim.setArguments({QStringLiteral("--link"), m_link, QStringLiteral("--speed"),
                            QStringLiteral("0")});
        m_sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_sim.start();
        QVERIFY(m_sim.waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(m_link).isSymLink(), 10000);
    }
    void stopSim()
    {
        m_sim.terminate();
        QVERIFY(m_sim.waitForFinished(5000));
        QVERIFY(!QFileInfo(m_link).isSymLink());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_config.isValid() && m_program.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
        const QString ports = m_config.filePath(QStringLiteral("cellvane/ports"));
        QVERIFY(QDir().mkpath(ports));
        m_link = ports + QStringLiteral("/com%1").arg(comNumber);
        OutputFiles::setProgramFolder(m_program.path());
    }
    void cleanupTestCase()
    {
        if (m_sim.state() != QProcess::NotRunning) {
            m_sim.terminate();
            m_sim.waitForFinished(5000);
        }
        OutputFiles::setProgramFolder({});
    }

    void simulatorStoppedAndStartedAgain()
    {
        startSim();
        RecordingPrompt prompt;
        Core core(prompt, std::make_unique<SerialPortIo>());
        core.state.setEnglishUi(true);
        core.state.link.setCheck(LinkField::reconnect, 1);
        core.selectTab(5); // recording page: live reads
        core.link.load();
        const int entry = int(core.state.link.entries(LinkField::port)
                                  .indexOf(QStringLiteral("COM%1").arg(comNumber)));
        QVERIFY(entry >= 0);
        QVERIFY(core.state.link.setChoice(LinkField::port, entry));
        core.link.toggleOpen();
        QVERIFY2(core.link.portOpen(), qPrintable(prompt.texts().join(QLatin1Char('|'))));
        QTRY_VERIFY_WITH_TIMEOUT(core.state.linkCountdown > 0, 10000);

        core.state.record.setCheck(RecordField::recording, 1);
        const QString first = core.state.recordFilePath;
        QTRY_VERIFY_WITH_TIMEOUT(lineCount(first) >= 1, 10000);

        stopSim();
        QTRY_VERIFY_WITH_TIMEOUT(!core.link.portOpen(), 10000);
        QVERIFY(core.link.reconnector().isWaiting());
        QVERIFY(!core.recorder.isRecording());
        QVERIFY(core.state.statusLine().contains(QStringLiteral("was disconnected")));
        const int linesAtLoss = lineCount(first);
        // A while without the pack: nothing is written, nothing is asked.
        QTest::qWait(2 * Reconnector::intervalMs + 200);
        QCOMPARE(lineCount(first), linesAtLoss);
        QVERIFY(!core.link.portOpen());

        startSim();
        QTRY_VERIFY_WITH_TIMEOUT(core.link.portOpen(), 10000);
        QVERIFY2(core.state.statusLine().contains(
                     QStringLiteral("COM%1 (%2) was reconnected at")
                         .arg(comNumber)
                         .arg(QFileInfo(m_link).canonicalFilePath())),
                 qPrintable(core.state.statusLine()));
        const QString second = core.state.recordFilePath;
        QVERIFY(second != first);
        QVERIFY(core.recorder.isRecording());
        QTRY_VERIFY_WITH_TIMEOUT(lineCount(second) >= 2, 10000);
        QCOMPARE(lineCount(first), linesAtLoss);
        QCOMPARE(core.state.link.choiceText(LinkField::port),
                 QStringLiteral("COM%1").arg(comNumber));
        QVERIFY2(prompt.messages.isEmpty(), qPrintable(prompt.texts().join(QLatin1Char('|'))));
        core.shutdown();
    }
};

QTEST_GUILESS_MAIN(TestReconnectSim)
#include "tst_reconnect_sim.moc"
