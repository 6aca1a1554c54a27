#include "sim/SerialLine.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {
constexpr int attachPollMs = 5;
constexpr int readChunk = 4096;

QString systemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(QString::fromLatin1(what),
                                        QString::fromLocal8Bit(strerror(errno)));
}
} // namespace

SerialLine::SerialLine(int fd, bool pty) : m_fd(fd), m_pty(pty)
{
    m_readNotifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    connect(m_readNotifier.get(), &QSocketNotifier::activated, this, &SerialLine::readAvailable);
    m_writeNotifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Write);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier.get(), &QSocketNotifier::activated, this, &SerialLine::flushOutput);
    m_attachPoll.setInterval(attachPollMs);
    connect(&m_attachPoll, &QTimer::timeout, this, &SerialLine::pollAttach);
    if (pty) {
        // Nobody holds the slave yet: wait for the host's open.
        m_attached = false;
        m_readNotifier->setEnabled(false);
        m_attachPoll.start();
    }
}

SerialLine::~SerialLine()
{
    m_readNotifier.reset();
    m_writeNotifier.reset();
    if (m_fd >= 0)
        ::close(m_fd);
}

Result<std::unique_ptr<SerialLine>> SerialLine::createPty(const LineSettings &settings,
                                                          QString *slavePath)
{
    const int fd = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        return Error{systemError("posix_openpt")};
    }
    const char *name = nullptr;
    if (grantpt(fd) != 0 || unlockpt(fd) != 0 || !(name = ptsname(fd))) {
        Error failure{systemError("grantpt/unlockpt/ptsname")};
        ::close(fd);
        return failure;
    }
    *slavePath = QString::fromLocal8Bit(name);
    // Open the slave once to put it into raw mode: until the host sets its own
    // format, nothing may be echoed or translated. Closing it again leaves the
    // master hung up until the host opens the slave, which is how the host's
    // open is noticed.
    const int slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (slave < 0) {
        Error failure{systemError("open pty slave")};
        ::close(fd);
        return failure;
    }
    const bool raw = LineTermios::applyRaw(slave, settings);
    ::close(slave);
    if (!raw) {
        ::close(fd);
        return Error{
            QStringLiteral("cannot set the pseudo-terminal to %1").arg(settings.toString())};
    }
    return std::unique_ptr<SerialLine>(new SerialLine(fd, true));
}

Result<std::unique_ptr<SerialLine>> SerialLine::openDevice(const QString &device,
                                                           const LineSettings &settings)
{
    const int fd = ::open(device.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        return Error{systemError(device.toLocal8Bit().constData())};
    }
    if (!isatty(fd) || !LineTermios::applyRaw(fd, settings)) {
        ::close(fd);
        return Error{QStringLiteral("%1 is not a serial device that accepts %2")
                         .arg(device, settings.toString())};
    }
    tcflush(fd, TCIOFLUSH);
    return std::unique_ptr<SerialLine>(new SerialLine(fd, false));
}

std::optional<LineSettings> SerialLine::hostSettings() const
{
    if (!m_pty)
        return std::nullopt;
    return LineTermios::read(m_fd);
}

void SerialLine::setAttached(bool attached)
{
    if (attached == m_attached)
        return;
    m_attached = attached;
    m_readNotifier->setEnabled(attached);
    if (attached) {
        ++m_opens;
        m_attachPoll.stop();
    } else {
        m_discarded += m_out.size();
        m_out.clear();
        m_writeNotifier->setEnabled(false);
        tcflush(m_fd, TCIOFLUSH);
        m_attachPoll.start();
    }
    emit hostAttachedChanged(attached);
    if (attached)
        readAvailable();
}

void SerialLine::pollAttach()
{
    pollfd p{m_fd, POLLIN, 0};
    if (::poll(&p, 1, 0) >= 0 && !(p.revents & POLLHUP))
        setAttached(true);
}

void SerialLine::readAvailable()
{
    char buffer[readChunk];
    for (;;) {
        const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
        if (n > 0) {
            emit received(QByteArray(buffer, n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN)
            return;
        // End of file or EIO: the host closed the slave, or the device is gone.
        if (m_pty) {
            setAttached(false);
        } else {
            const QString reason = n == 0 ? QStringLiteral("end of file") : systemError("read");
            m_readNotifier->setEnabled(false);
            m_writeNotifier->setEnabled(false);
            emit failed(reason);
        }
        return;
    }
}

void SerialLine::write(const QByteArray &bytes)
{
    if (!m_attached) {
        m_discarded += bytes.size();
        return;
    }
    m_out.append(bytes);
    flushOutput();
}

void SerialLine::flushOutput()
{
    while (!m_out.isEmpty()) {
        const ssize_t n = ::write(m_fd, m_out.constData(), size_t(m_out.size()));
        if (n > 0) {
            m_out.remove(0, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN) {
            m_writeNotifier->setEnabled(true);
            return;
        }
        // The host went away in the middle: the rest is lost, like on a wire.
        m_discarded += m_out.size();
        m_out.clear();
        break;
    }
    m_writeNotifier->setEnabled(false);
}

bool SerialLine::drained() const
{
    if (!m_out.isEmpty())
        return false;
    if (m_pty)
        return true;
    int queued = 0;
    return ::ioctl(m_fd, TIOCOUTQ, &queued) != 0 || queued == 0;
}

bool SerialLine::applySettings(const LineSettings &settings)
{
    if (m_pty)
        return true;
    return LineTermios::applyRaw(m_fd, settings);
}
