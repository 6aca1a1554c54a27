#pragma once

// Opens the link of a test core on its FakePort: the port map gets a "com1"
// entry naming a fake device that the FakePort reports present.

#include "link/LinkController.h"
#include "shell/Core.h"
#include "support/FakePort.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace FakeLink {

inline bool open(Core &core, FakePort &port)
{
    const QString device = QStringLiteral("/dev/cellvane-fake-com1");
    const QString ports = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                          QStringLiteral("/cellvane/ports");
    QDir().mkpath(ports);
    const QString entry = ports + QStringLiteral("/com1");
    if (QFileInfo(entry).symLinkTarget() != device) {
        QFile::remove(entry);
        QFile::link(device, entry);
    }
    if (!port.presentDevices.contains(device))
        port.presentDevices << device;
    core.link.load();
    if (!core.link.portOpen())
        core.link.toggleOpen();
    return core.link.portOpen();
}

} // namespace FakeLink
