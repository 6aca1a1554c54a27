#pragma once

#include <QString>

// Resolves the "COM" + number of the port list to a device. On Windows that
// is the port's own file name. Elsewhere a symbolic link "comN" in the link
// folder wins (so a technician can give any device, a USB adapter by its
// stable by-id path or a virtual line, a fixed number, as Wine's dosdevices
// do); otherwise the serial, USB and ACM devices take fixed number ranges.
class PortMap {
public:
    static constexpr int firstNumber = 1;
    static constexpr int lastNumber = 99;

    // The link folder is $XDG_CONFIG_HOME/cellvane/ports, by default
    // ~/.config/cellvane/ports.
    PortMap();
    explicit PortMap(const QString &linkFolder);

    QString linkFolder() const { return m_linkFolder; }
    // The device to open for COM<number>, or "" when none is mapped.
    QString deviceOf(int number) const;
    // Whether COM<number> goes through a link of the link folder (which a
    // virtual line removes when it ends) rather than a fixed device name.
    bool isLinked(int number) const;

    // COM1..COM9 by their plain names, COM10 and above behind the "\\.\\"
    // prefix that Windows needs for them.
    static QString windowsFileName(int number);
    // ttyS<k> is COM(k+1), ttyUSB<k> COM(33+k), ttyACM<k> COM(65+k), k 0..31.
    static QString fixedDevice(int number);
    static QString defaultLinkFolder();

private:
    QString m_linkFolder;
};
