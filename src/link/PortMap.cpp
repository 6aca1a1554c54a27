#include "link/PortMap.h"

#include <QDir>
#include <QFileInfo>

namespace {
struct DeviceRange {
    int firstNumber;
    const char *prefix;
};
// 32 devices of each kind.
constexpr DeviceRange fixedRanges[] = {
    {1, "/dev/ttyS"},
    {33, "/dev/ttyUSB"},
    {65, "/dev/ttyACM"},
};
constexpr int devicesPerRange = 32;
} // namespace

PortMap::PortMap() : m_linkFolder(defaultLinkFolder()) {}

PortMap::PortMap(const QString &linkFolder) : m_linkFolder(linkFolder) {}

QString PortMap::defaultLinkFolder()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/cellvane/ports");
}

QString PortMap::windowsFileName(int number)
{
    if (number < firstNumber || number > lastNumber)
        return {};
    // The doubled backslash after the dot is what the port has always been
    // opened with; Windows reads it as the device namespace.
    const QString prefix = number <= 9 ? QStringLiteral("COM") : QStringLiteral("\\\\.\\\\COM");
    return prefix + QString::number(number);
}

QString PortMap::fixedDevice(int number)
{
    for (const DeviceRange &range : fixedRanges) {
        const int k = number - range.firstNumber;
        if (k >= 0 && k < devicesPerRange)
            return QLatin1String(range.prefix) + QString::number(k);
    }
    return {};
}

QString PortMap::deviceOf(int number) const
{
    if (number < firstNumber || number > lastNumber)
        return {};
#ifdef Q_OS_WIN
    return windowsFileName(number);
#else
    const QFileInfo link(QDir(m_linkFolder).filePath(QStringLiteral("com%1").arg(number)));
    if (link.isSymLink()) {
        // A link that leads nowhere still wins: its port is simply absent.
        const QString resolved = link.canonicalFilePath();
        return resolved.isEmpty() ? link.symLinkTarget() : resolved;
    }
    if (link.exists())
        return link.absoluteFilePath();
    return fixedDevice(number);
#endif
}

bool PortMap::isLinked(int number) const
{
#ifdef Q_OS_WIN
    Q_UNUSED(number);
    return false;
#else
    if (number < firstNumber || number > lastNumber)
        return false;
    const QFileInfo link(QDir(m_linkFolder).filePath(QStringLiteral("com%1").arg(number)));
    return link.isSymLink() || link.exists();
#endif
}
