// The link on a real serial device: a virtual pair made by socat, one end
// listed as COM5 through the port map, the other driven by the test.

#include "link/Frame.h"
#include "link/LinkController.h"
#include "link/LinkForm.h"
#include "link/SerialPortIo.h"
#include "shell/Core.h"
#include "support/RecordingPrompt.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSerialPort>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {
QByteArray response(quint8 item, const QByteArray &data)
{
    return Frame::build(Frame::responseStart, 0xFF, 0x10, 0, item, data);
}
} // namespace

class TestSerialLoopback : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_ports;
    QString m_peerLink;
    QProcess m_socat;
    RecordingPrompt m_prompt;
    std::unique_ptr<Core> m_core;
    QList<QByteArray> m_dispatched;

    void startPair()
    {
        const QString com5 = m_ports + QStringLiteral("/com5");
        m_socat.start(QStringLiteral("socat"),
                      {QStringLiteral("pty,raw,echo=0,link=") + com5,
                       QStringLiteral("pty,raw,echo=0,link=") + m_peerLink});
        QVERIFY2(m_socat.waitForStarted(5000), qPrintable(m_socat.errorString()));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(com5) && QFileInfo::exists(m_peerLink), 5000);
    }

    void openPeer(QSerialPort &peer)
    {
        peer.setPortName(QFileInfo(m_peerLink).canonicalFilePath());
        QVERIFY2(peer.open(QIODevice::ReadWrite), qPrintable(peer.errorString()));
    }

    void openLink()
    {
        m_core->link.load();
        QVERIFY(m_core->state.link.entries(LinkField::port).contains(QStringLiteral("COM5")));
        QVERIFY(m_core->state.link.setChoice(
            LinkField::port, int(m_core->state.link.entries(LinkField::port).indexOf("COM5"))));
        m_core->link.toggleOpen();
        QVERIFY2(m_core->link.portOpen(), qPrintable(m_prompt.texts().join(" | ")));
    }

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("socat")).isEmpty())
            QSKIP("socat is not installed, so no virtual serial pair can be made for this test");
        QVERIFY(m_dir.isValid());
        qputenv("XDG_CONFIG_HOME", m_dir.path().toLocal8Bit());
        m_ports = m_dir.filePath(QStringLiteral("cellvane/ports"));
        QVERIFY(QDir().mkpath(m_ports));
        m_peerLink = m_dir.filePath(QStringLiteral("peer"));
    }

    void init()
    {
        startPair();
        m_prompt.clear();
        m_dispatched.clear();
        m_core = std::make_unique<Core>(m_prompt, std::make_unique<SerialPortIo>());
        m_core->state.setEnglishUi(true);
        m_core->state.selectedTab = 3; // pause: nothing goes out unless the test sends it
        m_core->state.currentCommand = 16;
        m_core->link.setDispatchHandler([this] { m_dispatched << m_core->state.rxFrame; });
        m_core->link.setRequestHandler([] {});
    }

    void cleanup()
    {
        if (m_core)
            m_core->shutdown();
        m_core.reset();
        if (m_socat.state() != QProcess::NotRunning) {
            m_socat.terminate();
            m_socat.waitForFinished(5000);
        }
    }

    void frameArrivesByteExact_data()
    {
        QTest::addColumn<int>("dataLength");
        QTest::newRow("no data") << 0;
        QTest::newRow("upgrade block") << 130;
        QTest::newRow("258 bytes") << 258;
    }
    void frameArrivesByteExact()
    {
        QFETCH(int, dataLength);
        QSerialPort peer;
        openPeer(peer);
        openLink();
        QCOMPARE(m_core->link.deviceOf(5), QFileInfo(m_ports + "/com5").canonicalFilePath());

        QByteArray data(dataLength, '\0');
        for (int i = 0; i < dataLength; ++i)
            data[i] = char(255 - i);
        AppState &s = m_core->state;
        s.txFrame = QByteArray(Frame::overhead + dataLength, '\0');
        s.txFrame[4] = char(0x21);
        s.txFrame[5] = char(dataLength >> 8);
        s.txFrame[6] = char(dataLength & 0xFF);
        s.txFrame.replace(Frame::dataOffset, dataLength, data);
        m_core->link.sendFrame(1);
        QVERIFY(m_prompt.messages.isEmpty());

        const QByteArray expected = Frame::build(Frame::requestStart, 0xFF, 0x10, 1, 0x21, data);
        QByteArray received;
        QTRY_VERIFY_WITH_TIMEOUT((received += peer.readAll()).size() >= expected.size(), 5000);
        QCOMPARE(received.toHex(' '), expected.toHex(' '));
    }

    void framesInOddChunksArriveInOrder()
    {
        QSerialPort peer;
        openPeer(peer);
        openLink();
        const QList<QByteArray> frames = {response(1, "P-01"), response(2, QByteArray(300, 'v')),
                                          response(3, {}), response(4, "tail")};
        QByteArray stream = "noise";
        for (const QByteArray &f : frames)
            stream += f + QByteArray("\x5d\x00", 2);
        const int chunks[] = {1, 7, 13, 64, 3, 255, 29};
        int i = 0;
        for (int k = 0; i < stream.size(); ++k) {
            const QByteArray piece = stream.mid(i, chunks[k % 7]);
            QCOMPARE(peer.write(piece), piece.size());
            QVERIFY(peer.flush() || peer.bytesToWrite() == 0);
            i += int(piece.size());
            QTest::qWait(3);
        }
        QTRY_COMPARE_WITH_TIMEOUT(m_dispatched, frames, 5000);
        QVERIFY(m_prompt.messages.isEmpty());
    }

    // Held by another program: listed, marked as in use, and opening it fails
    // with the port message (and no word about permissions).
    void busyPortIsMarkedAndCannotBeOpened()
    {
        QSerialPort other;
        other.setPortName(QFileInfo(m_ports + "/com5").canonicalFilePath());
        QVERIFY(other.open(QIODevice::ReadWrite));
        m_core->link.load();
        const QStringList entries = m_core->state.link.entries(LinkField::port);
        QVERIFY(entries.contains(QStringLiteral("COM5")));
        QCOMPARE(m_core->link.portAccess(5), PortIo::Access::Busy);
        QCOMPARE(m_core->link.portCaption(QStringLiteral("COM5")), QStringLiteral("COM5 (in use)"));
        QVERIFY(m_core->state.link.setChoice(LinkField::port, int(entries.indexOf("COM5"))));
        m_core->link.toggleOpen();
        QVERIFY(!m_core->link.portOpen());
        QCOMPARE(m_prompt.texts().value(0), QStringLiteral("端口 5无效. 请设置正确."));
        QCOMPARE(m_prompt.messages.size(), 2);
    }

    void nineDataBitsAreRefused()
    {
        m_core->link.load();
        m_core->state.link.setChoice(
            LinkField::port, int(m_core->state.link.entries(LinkField::port).indexOf("COM5")));
        m_core->state.link.setChoice(LinkField::dataBits, 1);
        m_core->link.toggleOpen();
        QVERIFY(!m_core->link.portOpen());
        QCOMPARE(m_prompt.texts().value(0), QStringLiteral("无效设备 DCB 块 9600,N,9 ,1 错误: %1")
                                                .arg(SerialPortIo::invalidSettingsError()));
        // The device was let go: the next open with sound settings works.
        m_prompt.clear();
        m_core->state.link.setChoice(LinkField::dataBits, 0);
        m_core->link.toggleOpen();
        QVERIFY(m_core->link.portOpen());
    }

    // A pseudo-terminal has no parity setting, so only the rates vary here.
    void absentDevicesAreRefused_data()
    {
        QTest::addColumn<QString>("device");
        QTest::newRow("no name") << QString();
        QTest::newRow("no such file") << QStringLiteral("/nonexistent/ttyX");
        QTest::newRow("a folder") << m_dir.path();
    }
    void absentDevicesAreRefused()
    {
        QFETCH(QString, device);
        SerialPortIo io;
        int error = 0;
        QCOMPARE(io.open(device, PortIo::Settings{}, &error), PortIo::OpenResult::InvalidPort);
        QVERIFY(!io.isOpen());
        QVERIFY(!io.probe(device));
        QCOMPARE(io.read(255), QByteArray());
        QCOMPARE(io.write("x"), -1);
    }

    void everyBaudRateOpens()
    {
        openLink();
        for (int i = 0; i < LinkField::baudRates.size(); ++i) {
            QVERIFY2(m_core->link.reopen(i, 0),
                     qPrintable(QString::number(i) + ": " + m_prompt.texts().join(" | ")));
            QVERIFY(m_core->link.port().isOpen());
        }
        QVERIFY(m_prompt.messages.isEmpty());
    }

    void peerGoingAwayIsReportedOnce()
    {
        openLink();
        m_socat.terminate();
        QVERIFY(m_socat.waitForFinished(5000));
        QTRY_COMPARE_WITH_TIMEOUT(m_prompt.messages.size(), 1, 5000);
        QVERIFY(m_prompt.texts().first().startsWith(QStringLiteral("The serial port COM5 (")));
        QVERIFY(!m_core->link.portOpen());
        QVERIFY(!m_core->link.port().isOpen());
        QTest::qWait(500);
        QCOMPARE(m_prompt.messages.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestSerialLoopback)
#include "tst_serial_loopback.moc"
