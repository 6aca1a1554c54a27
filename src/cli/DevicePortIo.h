#pragma once

#include "link/SerialPortIo.h"

// The serial line of a command that names its device (--port /dev/ttyUSB0):
// the link opens whatever its port list resolves to, and this opens the
// named device instead, so a device without a COM number can be used too.
// With no device named it is the plain serial line.
class DevicePortIo : public SerialPortIo {
    Q_OBJECT
public:
    explicit DevicePortIo(const QString &device, QObject *parent = nullptr)
        : SerialPortIo(parent), m_device(device)
    {
    }

    OpenResult open(const QString &device, const Settings &settings, int *errorCode) override
    {
        return SerialPortIo::open(m_device.isEmpty() ? device : m_device, settings, errorCode);
    }

private:
    QString m_device;
};
