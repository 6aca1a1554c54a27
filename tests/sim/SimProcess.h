#pragma once

#include "link/Frame.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>

// The simulator as a program, for the tests that start it on a
// pseudo-terminal and speak to it as the host does.
namespace SimTest {

// One cellvane-sim process on a pty linked into a temporary folder.
class SimProcess {
public:
    ~SimProcess() { stop(); }

    bool start(const QStringList &extra)
    {
        // The link's name is the serial port's lock name: unique per process.
        m_link =
            m_dir.filePath(QStringLiteral("ttySIM%1").arg(QRandomGenerator::global()->generate()));
        m_status = m_dir.filePath(QStringLiteral("status.json"));
        m_process.setProgram(QStringLiteral(CELLVANE_SIM_EXE));
        m_process.setArguments(
            QStringList{QStringLiteral("--link"), m_link, QStringLiteral("--status"), m_status} +
            extra);
        m_process.start();
        if (!m_process.waitForStarted(5000))
            return false;
        QElapsedTimer t;
        t.start();
        while (!m_process.canReadLine() && t.elapsed() < 10000)
            m_process.waitForReadyRead(100);
        m_device = QString::fromLocal8Bit(m_process.readLine()).trimmed();
        return m_device.startsWith(QLatin1String("/dev/")) && QFileInfo(m_link).isSymLink();
    }

    int stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return m_process.exitCode();
        m_process.terminate();
        m_process.waitForFinished(5000);
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }

    QJsonObject status(int waitMs = 100)
    {
        // The status file is rewritten shortly after every event.
        QTest::qWait(waitMs);
        QFile f(m_status);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QJsonDocument::fromJson(f.readAll()).object();
    }
    QString log()
    {
        m_log += QString::fromLocal8Bit(m_process.readAllStandardError());
        return m_log;
    }

    QString link() const { return m_link; }
    QString device() const { return m_device; }
    QString dir() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_link;
    QString m_status;
    QString m_device;
    QString m_log;
};

// The host's side of the line.
class Host {
public:
    bool open(const QString &path, int baud = 9600,
              QSerialPort::Parity parity = QSerialPort::NoParity)
    {
        m_port.close();
        m_port.setPortName(path);
        m_port.setBaudRate(baud);
        m_port.setParity(parity);
        m_port.setDataBits(QSerialPort::Data8);
        m_port.setStopBits(QSerialPort::OneStop);
        m_port.setFlowControl(QSerialPort::NoFlowControl);
        return m_port.open(QIODevice::ReadWrite);
    }
    void close() { m_port.close(); }

    // Sends a request and collects what comes back until an answer frame
    // (CRC not checked) is complete or the time is up. `raw` gets every byte,
    // `reads` the number of pieces they came in.
    QByteArray exchange(const QByteArray &request, int timeoutMs = 1000, QByteArray *raw = nullptr,
                        int *reads = nullptr)
    {
        m_port.readAll();
        m_port.write(request);
        m_port.waitForBytesWritten(1000);
        return answer(timeoutMs, raw, reads);
    }
    QByteArray answer(int timeoutMs, QByteArray *raw = nullptr, int *reads = nullptr)
    {
        QByteArray bytes;
        int pieces = 0;
        QElapsedTimer t;
        t.start();
        QByteArray frame;
        while (t.elapsed() < timeoutMs) {
            if (m_port.bytesAvailable() ||
                m_port.waitForReadyRead(int(qMax<qint64>(1, timeoutMs - t.elapsed())))) {
                bytes += m_port.readAll();
                ++pieces;
            }
            const int start = int(bytes.indexOf(char(Frame::responseStart)));
            if (start >= 0 && bytes.size() - start >= 7) {
                const int n = quint8(bytes[start + 5]) << 8 | quint8(bytes[start + 6]);
                if (bytes.size() - start >= Frame::overhead + n) {
                    frame = bytes.mid(start, Frame::overhead + n);
                    break;
                }
            }
        }
        if (raw)
            *raw = bytes;
        if (reads)
            *reads = pieces;
        return frame;
    }

    QSerialPort m_port;
};

} // namespace SimTest
