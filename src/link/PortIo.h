#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

// The serial line as the link uses it: opened with one settings block, read
// without blocking, written whole or reported short. The program uses the
// QSerialPort implementation; tests substitute a scripted one.
class PortIo : public QObject {
    Q_OBJECT
public:
    // NoPermission: the device is there but this user may not open it (on
    // Linux: not in the group that owns it).
    enum class OpenResult { Ok, InvalidPort, InvalidTimeouts, InvalidSettings, NoPermission };
    // What the port list makes of a device: listed when not Absent, and
    // marked when it cannot be opened now.
    enum class Access { Absent, Available, Busy, NoPermission };

    // What a mode string such as "9600,N,8 ,1" describes. A block the mode
    // string parser refused has `valid` false; the port then opens the device
    // and refuses the block, so a missing device is still reported first.
    struct Settings {
        qint32 baud = 9600;
        char parity = 'N'; // 'N', 'E', 'O', 'M' or 'S'
        int dataBits = 8;  // 5..8
        int stopBits = 1;  // 1, 2, or 3 for one and a half
        char flow = 0;     // 0 none, 'X' XON/XOFF, 'P' hardware handshake
        bool valid = true;

        bool operator==(const Settings &) const = default;
    };

    using QObject::QObject;
    ~PortIo() override = default;

    // `errorCode` receives the platform's error number on failure.
    virtual OpenResult open(const QString &device, const Settings &settings, int *errorCode) = 0;
    virtual bool isOpen() const = 0;
    // At most `maxBytes` of what has arrived; never waits.
    virtual QByteArray read(int maxBytes) = 0;
    // Returns the number of bytes written, -1 on failure.
    virtual qint64 write(const QByteArray &bytes) = 0;
    virtual void flush() = 0;
    virtual void close() = 0;
    // A number that names the open port in messages (a descriptor here).
    virtual qintptr handleValue() const = 0;
    // Whether `device` could be opened right now; opens it and closes it at
    // once, leaving this port as it is. A port that cannot tell lists nothing.
    virtual bool probe(const QString &device)
    {
        Q_UNUSED(device);
        return false;
    }
    // Whether `device` exists and whether it could be opened right now.
    virtual Access examine(const QString &device)
    {
        return probe(device) ? Access::Available : Access::Absent;
    }
    // The serial number of the USB adapter behind `device` ("" when there is
    // none), and the device of the plugged-in adapter with that number ("" when
    // it is not plugged in): how an adapter is recognised after it comes back
    // under another device name.
    virtual QString usbSerialNumber(const QString &device)
    {
        Q_UNUSED(device);
        return {};
    }
    virtual QString deviceWithSerialNumber(const QString &serialNumber)
    {
        Q_UNUSED(serialNumber);
        return {};
    }

signals:
    void readyRead();
    // The device went away while open (adapter unplugged, pty peer gone).
    // Emitted once; the port is closed by then.
    void lost();
};
