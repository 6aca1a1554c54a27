#include "link/SerialPortIo.h"

#include <QFile>
#include <QFileInfo>
#include <QMetaObject>
#include <QSerialPort>
#include <QSerialPortInfo>

#include <cerrno>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

SerialPortIo::SerialPortIo(QObject *parent)
    : PortIo(parent), m_serial(std::make_unique<QSerialPort>())
{
    connect(m_serial.get(), &QSerialPort::readyRead, this, &PortIo::readyRead);
    connect(m_serial.get(), &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError error) { onError(int(error)); });
}

SerialPortIo::~SerialPortIo() = default;

int SerialPortIo::invalidSettingsError()
{
    return EINVAL;
}

namespace {

bool apply(QSerialPort &port, const PortIo::Settings &s)
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

} // namespace

PortIo::OpenResult SerialPortIo::open(const QString &device, const Settings &settings,
                                      int *errorCode)
{
    close();
    m_lost = false;
    ++m_session;
#ifndef Q_OS_WIN
    // The node is there but closed to this user: say so instead of "invalid".
    if (!device.isEmpty() && QFileInfo::exists(device) && !m_mayOpen(device)) {
        if (errorCode)
            *errorCode = EACCES;
        return OpenResult::NoPermission;
    }
#endif
    m_serial->setPortName(device);
    if (device.isEmpty() || !m_serial->open(QIODevice::ReadWrite)) {
        if (errorCode)
            *errorCode = int(m_serial->error());
        return OpenResult::InvalidPort;
    }
    // No time-outs to set: reads return at once with what has arrived, and the
    // receive timer polls every millisecond instead.
    if (!apply(*m_serial, settings)) {
        if (errorCode)
            *errorCode = invalidSettingsError();
        m_serial->close();
        return OpenResult::InvalidSettings;
    }
    m_serial->clear();
    return OpenResult::Ok;
}

bool SerialPortIo::isOpen() const
{
    return m_serial->isOpen() && !m_lost;
}

QByteArray SerialPortIo::read(int maxBytes)
{
    if (!isOpen() || maxBytes <= 0)
        return {};
    return m_serial->read(maxBytes);
}

qint64 SerialPortIo::write(const QByteArray &bytes)
{
    if (!isOpen())
        return -1;
    return m_serial->write(bytes);
}

void SerialPortIo::flush()
{
    if (isOpen())
        m_serial->flush();
}

void SerialPortIo::close()
{
    if (m_serial->isOpen())
        m_serial->close();
}

qintptr SerialPortIo::handleValue() const
{
    return m_serial->isOpen() ? qintptr(m_serial->handle()) : -1;
}

bool SerialPortIo::probe(const QString &device)
{
    return examine(device) == Access::Available;
}

void SerialPortIo::setAccessCheck(AccessCheck check)
{
    m_mayOpen = check ? std::move(check) : AccessCheck(&SerialPortIo::userMayOpen);
}

bool SerialPortIo::userMayOpen(const QString &device)
{
#ifdef Q_OS_WIN
    Q_UNUSED(device);
    return true; // port names are no files; a refused open means "in use"
#else
    return ::access(QFile::encodeName(device).constData(), R_OK | W_OK) == 0;
#endif
}

bool SerialPortIo::isPhantomUart(const QString &device, const QString &sysClassTty)
{
    const QString canonical = QFileInfo(device).canonicalFilePath();
    const QString name = QFileInfo(canonical.isEmpty() ? device : canonical).fileName();
    if (!name.startsWith(QLatin1String("ttyS")))
        return false;
    QFile type(sysClassTty + QLatin1Char('/') + name + QStringLiteral("/type"));
    if (!type.open(QIODevice::ReadOnly))
        return false;
    return type.readAll().trimmed() == "0";
}

PortIo::Access SerialPortIo::examine(const QString &device)
{
    if (device.isEmpty())
        return Access::Absent;
#ifndef Q_OS_WIN
    // Opening costs a lock-file round trip even for a device that is not
    // there; most of the 99 numbers are not, and the window waits for this.
    // (Windows port names are no files, so there every number is tried.)
    if (!QFileInfo::exists(device))
        return Access::Absent;
    if (!m_mayOpen(device))
        return isPhantomUart(device) ? Access::Absent : Access::NoPermission;
#endif
    QSerialPort trial;
    trial.setPortName(device);
    if (trial.open(QIODevice::ReadWrite)) {
        trial.close();
        return Access::Available;
    }
    // Refused although this user may open it: another program holds it. Any
    // other failure is a node without a working device behind it.
    return trial.error() == QSerialPort::PermissionError ? Access::Busy : Access::Absent;
}

QString SerialPortIo::usbSerialNumber(const QString &device)
{
    const QString wanted = QFileInfo(device).canonicalFilePath();
    if (wanted.isEmpty())
        return {};
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports)
        if (QFileInfo(info.systemLocation()).canonicalFilePath() == wanted)
            return info.serialNumber();
    return {};
}

QString SerialPortIo::deviceWithSerialNumber(const QString &serialNumber)
{
    if (serialNumber.isEmpty())
        return {};
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports)
        if (info.serialNumber() == serialNumber)
            return info.systemLocation();
    return {};
}

void SerialPortIo::onError(int error)
{
    if (m_lost || !m_serial->isOpen())
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
