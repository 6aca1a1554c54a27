#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

// The serial line as the link uses it: opened with one settings string, read
// without blocking, written whole or reported short. The program uses the
// QSerialPort implementation; tests substitute a scripted one.
class PortIo : public QObject {
    Q_OBJECT
public:
    enum class OpenResult { Ok, InvalidPort, InvalidTimeouts, InvalidSettings };

    struct Settings {
        qint32 baud = 9600;
        char parity = 'N'; // 'N', 'E' or 'O'
        int dataBits = 8;
        int stopBits = 1;
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

signals:
    void readyRead();
    // The device went away while open (adapter unplugged, pty peer gone).
    void lost();
};
