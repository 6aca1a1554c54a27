#include "link/SerialPortIo.h"

#include <QFileInfo>
#include <QMetaObject>

#include <cerrno>

SerialPortIo::SerialPortIo(QObject *parent) : PortIo(parent)
{
    connect(&m_serial, &QSerialPort::readyRead, this, &PortIo::readyRead);
    connect(&m_serial, &QSerialPort::errorOccurred, this, &SerialPortIo::onError);
}

SerialPortIo::~SerialPortIo() = default;

int SerialPortIo::invalidSettingsError()
{
    return EINVAL;
}

bool SerialPortIo::apply(QSerialPort &port, const Settings &s)
{
    if (!s.valid || s.dataBits < 5 || s.dataBits > 8)
        return false;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    switch (s.parity) {
    case 'N':
        parity = QSerialPort::NoParity;
        break;
    case 'E':
        parity = QSerialPort::EvenParity;
        break;
    case 'O':
        parity = QSerialPort::OddParity;
        break;
    case 'M':
        parity = QSerialPort::MarkParity;
        break;
    case 'S':
        parity = QSerialPort::SpaceParity;
        break;
    default:
        return false;
    }
    QSerialPort::StopBits stop = QSerialPort::OneStop;
    switch (s.stopBits) {
    case 1:
        stop = QSerialPort::OneStop;
        break;
    case 2:
        stop = QSerialPort::TwoStop;
        break;
    case 3:
        stop = QSerialPort::OneAndHalfStop;
        break;
    default:
        return false;
    }
    QSerialPort::FlowControl flow = QSerialPort::NoFlowControl;
    if (s.flow == 'X')
        flow = QSerialPort::SoftwareControl;
    else if (s.flow == 'P')
        flow = QSerialPort::HardwareControl;
    return port.setBaudRate(s.baud) && port.setDataBits(QSerialPort::DataBits(s.dataBits)) &&
           port.setParity(parity) && port.setStopBits(stop) && port.setFlowControl(flow);
}

PortIo::OpenResult SerialPortIo::open(const QString &device, const Settings &settings,
                                      int *errorCode)
{
    close();
    m_lost = false;
    ++m_session;
    m_serial.setPortName(device);
    if (device.isEmpty() || !m_serial.open(QIODevice::ReadWrite)) {
        if (errorCode)
            *errorCode = int(m_serial.error());
        return OpenResult::InvalidPort;
    }
    // No time-outs to set: reads return at once with what has arrived, and the
    // receive timer polls every millisecond instead.
    if (!apply(m_serial, settings)) {
        if (errorCode)
            *errorCode = invalidSettingsError();
        m_serial.close();
        return OpenResult::InvalidSettings;
    }
    m_serial.clear();
    return OpenResult::Ok;
}

bool SerialPortIo::isOpen() const
{
    return m_serial.isOpen() && !m_lost;
}

QByteArray SerialPortIo::read(int maxBytes)
{
    if (!isOpen() || maxBytes <= 0)
        return {};
    return m_serial.read(maxBytes);
}

qint64 SerialPortIo::write(const QByteArray &bytes)
{
    if (!isOpen())
        return -1;
    return m_serial.write(bytes);
}

void SerialPortIo::flush()
{
    if (isOpen())
        m_serial.flush();
}

void SerialPortIo::close()
{
    if (m_serial.isOpen())
        m_serial.close();
}

qintptr SerialPortIo::handleValue() const
{
    return m_serial.isOpen() ? qintptr(m_serial.handle()) : -1;
}

bool SerialPortIo::probe(const QString &device)
{
    if (device.isEmpty())
        return false;
#ifndef Q_OS_WIN
    // Opening costs a lock-file round trip even for a device that is not
    // there; most of the 99 numbers are not, and the window waits for this.
    // (Windows port names are no files, so there every number is tried.)
    if (!QFileInfo::exists(device))
        return false;
#endif
    QSerialPort trial;
    trial.setPortName(device);
    if (!trial.open(QIODevice::ReadWrite))
        return false;
    trial.close();
    return true;
}

void SerialPortIo::onError(QSerialPort::SerialPortError error)
{
    if (m_lost || !m_serial.isOpen())
        return;
    if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError &&
        error != QSerialPort::WriteError)
        return;
    m_lost = true;
    // Closing from inside the port's own notification is not safe; the next
    // event-loop turn closes it and tells the link.
    QMetaObject::invokeMethod(
        this,
        [this, session = m_session] {
            if (session != m_session || !m_lost)
                return; // reopened in the meantime
            close();
            emit lost();
        },
        Qt::QueuedConnection);
}
