#pragma once

#include "link/PortIo.h"

#include <QHash>
#include <QStringList>

// A scripted serial line: what the test feeds comes back from read() in pieces
// of at most the requested size; what the program writes is collected.
class FakePort : public PortIo {
    Q_OBJECT
public:
    using PortIo::PortIo;

    OpenResult open(const QString &device, const Settings &settings, int *errorCode) override;
    bool isOpen() const override { return m_open; }
    QByteArray read(int maxBytes) override;
    qint64 write(const QByteArray &bytes) override;
    void flush() override { ++flushes; }
    void close() override;
    qintptr handleValue() const override { return m_open ? 7 : -1; }
    // True for the devices listed in presentDevices.
    bool probe(const QString &device) override;
    // What `access` says for a device, else Available for a present one.
    Access examine(const QString &device) override;
    QString usbSerialNumber(const QString &device) override;
    QString deviceWithSerialNumber(const QString &serialNumber) override;

    // Bytes that arrive from the BMS; emits readyRead.
    void feed(const QByteArray &bytes);
    // Simulates the adapter being pulled out: the port closes and says so.
    void unplug();

    OpenResult openResult = OpenResult::Ok;
    int openErrorCode = 0;
    qint64 writeLimit = -1; // >= 0: writes stop after this many bytes
    QByteArray incoming;
    QList<QByteArray> writes;
    QStringList openedDevices;
    QList<Settings> openedSettings;
    int flushes = 0;
    int closes = 0;
    int reads = 0;
    QStringList presentDevices; // what probe() finds
    QStringList probes;
    QHash<QString, Access> access;         // devices that exist but cannot be opened
    QHash<QString, QString> serialNumbers; // device -> USB serial number

private:
    bool m_open = false;
};
