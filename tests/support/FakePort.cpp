#include "FakePort.h"

PortIo::OpenResult FakePort::open(const QString &device, const Settings &settings, int *errorCode)
{
    openedDevices << device;
    openedSettings << settings;
    OpenResult result = openResult;
    // Like a driver, a block the mode-string parser refused is not applied.
    if (result == OpenResult::Ok && !settings.valid)
        result = OpenResult::InvalidSettings;
    if (errorCode)
        *errorCode = openErrorCode;
    m_open = result == OpenResult::Ok;
    return result;
}

QByteArray FakePort::read(int maxBytes)
{
    ++reads;
    const QByteArray piece = incoming.left(maxBytes);
    incoming.remove(0, piece.size());
    return piece;
}

qint64 FakePort::write(const QByteArray &bytes)
{
    if (!m_open)
        return -1;
    const QByteArray taken = writeLimit >= 0 ? bytes.left(writeLimit) : bytes;
    writes << taken;
    return taken.size();
}

void FakePort::close()
{
    ++closes;
    m_open = false;
}

void FakePort::feed(const QByteArray &bytes)
{
    incoming += bytes;
    emit readyRead();
}

void FakePort::unplug()
{
    m_open = false;
    emit lost();
}

bool FakePort::probe(const QString &device)
{
    probes << device;
    return presentDevices.contains(device);
}

PortIo::Access FakePort::examine(const QString &device)
{
    probes << device;
    if (access.contains(device))
        return access.value(device);
    return presentDevices.contains(device) ? Access::Available : Access::Absent;
}

QString FakePort::usbSerialNumber(const QString &device)
{
    return serialNumbers.value(device);
}

QString FakePort::deviceWithSerialNumber(const QString &serialNumber)
{
    for (auto it = serialNumbers.cbegin(); it != serialNumbers.cend(); ++it)
        if (it.value() == serialNumber && presentDevices.contains(it.key()))
            return it.key();
    return {};
}
