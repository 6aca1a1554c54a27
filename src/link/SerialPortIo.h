#pragma once

#include "link/PortIo.h"

#include <functional>
#include <memory>

// Only the link sees Qt Serial Port; the parts above take a PortIo.
class QSerialPort;

// The serial line on QSerialPort. Reads take what has already arrived and
// never wait; writes are handed to the port whole. A device that goes away
// (USB adapter pulled out, the other side of a virtual line closed) shows up
// as a resource, read or write error; the port then closes itself, since a
// dead descriptor would otherwise report the same error for every event-loop
// turn, and announces the loss once.
class SerialPortIo : public PortIo {
    Q_OBJECT
public:
    explicit SerialPortIo(QObject *parent = nullptr);
    ~SerialPortIo() override;

    OpenResult open(const QString &device, const Settings &settings, int *errorCode) override;
    bool isOpen() const override;
    QByteArray read(int maxBytes) override;
    qint64 write(const QByteArray &bytes) override;
    void flush() override;
    void close() override;
    qintptr handleValue() const override;
    bool probe(const QString &device) override;
    Access examine(const QString &device) override;
    QString usbSerialNumber(const QString &device) override;
    QString deviceWithSerialNumber(const QString &serialNumber) override;

    // Whether this user may read and write `device`. A device node the user
    // may not open is reported as such rather than as absent; the check is
    // replaceable because tests run as root, whom no permission stops.
    using AccessCheck = std::function<bool(const QString &device)>;
    void setAccessCheck(AccessCheck check);
    static bool userMayOpen(const QString &device);
    // A legacy UART node with no hardware behind it (Linux creates ttyS0..31
    // whether or not the machine has them): sysfs gives its type as 0.
    static bool isPhantomUart(const QString &device,
                              const QString &sysClassTty = QStringLiteral("/sys/class/tty"));

    // The numeric error reported when a settings block is refused.
    static int invalidSettingsError();

private:
    void onError(int error);

    std::unique_ptr<QSerialPort> m_serial;
    AccessCheck m_mayOpen = &SerialPortIo::userMayOpen;
    bool m_lost = false;
    quint32 m_session = 0; // one per open, so a late loss report finds its port gone
};
