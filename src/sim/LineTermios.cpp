// Kept apart from everything that includes <termios.h>: the kernel's termios2
// structure (needed for rates outside the B-constants) clashes with it.
#include "sim/LineSettings.h"

#if defined(__linux__)

#include <asm/ioctls.h>
#include <asm/termbits.h>

extern "C" int ioctl(int fd, unsigned long request, ...);

namespace {
int dataBitsOf(tcflag_t cflag)
{
    switch (cflag & CSIZE) {
    case CS5:
        return 5;
    case CS6:
        return 6;
    case CS7:
        return 7;
    default:
        return 8;
    }
}

tcflag_t sizeFlag(int dataBits)
{
    switch (dataBits) {
    case 5:
        return CS5;
    case 6:
        return CS6;
    case 7:
        return CS7;
    default:
        return CS8;
    }
}
} // namespace

namespace LineTermios {

std::optional<LineSettings> read(int fd)
{
    termios2 t{};
    if (ioctl(fd, TCGETS2, &t) != 0)
        return std::nullopt;
    LineSettings s;
    s.baud = int(t.c_ospeed);
    s.parity = (t.c_cflag & PARENB) ? ((t.c_cflag & PARODD) ? 'O' : 'E') : 'N';
    s.dataBits = dataBitsOf(t.c_cflag);
    s.stopBits = (t.c_cflag & CSTOPB) ? 2 : 1;
    return s;
}

bool applyRaw(int fd, const LineSettings &settings)
{
    termios2 t{};
    if (ioctl(fd, TCGETS2, &t) != 0)
        return false;
    t.c_iflag &=
        ~tcflag_t(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY);
    t.c_oflag &= ~tcflag_t(OPOST);
    t.c_lflag &= ~tcflag_t(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    t.c_cflag &= ~tcflag_t(CSIZE | PARENB | PARODD | CSTOPB | CBAUD | CRTSCTS);
    t.c_cflag |= sizeFlag(settings.dataBits) | CREAD | CLOCAL | BOTHER;
    if (settings.parity != 'N')
        t.c_cflag |= PARENB | (settings.parity == 'O' ? PARODD : 0);
    if (settings.stopBits == 2)
        t.c_cflag |= CSTOPB;
    t.c_cflag &= ~tcflag_t(CBAUD << IBSHIFT);
    t.c_cflag |= BOTHER << IBSHIFT;
    t.c_ispeed = speed_t(settings.baud);
    t.c_ospeed = speed_t(settings.baud);
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    return ioctl(fd, TCSETS2, &t) == 0;
}

} // namespace LineTermios

#else

#include <termios.h>

namespace {
struct Rate {
    int baud;
    speed_t code;
};
constexpr Rate rates[] = {{1200, B1200},   {2400, B2400},     {4800, B4800},
                          {9600, B9600},   {19200, B19200},   {38400, B38400},
                          {57600, B57600}, {115200, B115200}, {230400, B230400}};
} // namespace

namespace LineTermios {

std::optional<LineSettings> read(int fd)
{
    termios t{};
    if (tcgetattr(fd, &t) != 0)
        return std::nullopt;
    LineSettings s;
    const speed_t code = cfgetospeed(&t);
    s.baud = 0;
    for (const Rate &r : rates)
        if (r.code == code)
            s.baud = r.baud;
    s.parity = (t.c_cflag & PARENB) ? ((t.c_cflag & PARODD) ? 'O' : 'E') : 'N';
    s.dataBits = (t.c_cflag & CSIZE) == CS7   ? 7
                 : (t.c_cflag & CSIZE) == CS6 ? 6
                 : (t.c_cflag & CSIZE) == CS5 ? 5
                                              : 8;
    s.stopBits = (t.c_cflag & CSTOPB) ? 2 : 1;
    return s;
}

bool applyRaw(int fd, const LineSettings &settings)
{
    termios t{};
    if (tcgetattr(fd, &t) != 0)
        return false;
    cfmakeraw(&t);
    speed_t code = 0;
    for (const Rate &r : rates)
        if (r.baud == settings.baud)
            code = r.code;
    if (code == 0)
        return false;
    cfsetispeed(&t, code);
    cfsetospeed(&t, code);
    t.c_cflag &= ~tcflag_t(CSIZE | PARENB | PARODD | CSTOPB);
    t.c_cflag |= CREAD | CLOCAL;
    t.c_cflag |= settings.dataBits == 7   ? CS7
                 : settings.dataBits == 6 ? CS6
                 : settings.dataBits == 5 ? CS5
                                          : CS8;
    if (settings.parity != 'N')
        t.c_cflag |= PARENB | (settings.parity == 'O' ? PARODD : 0);
    if (settings.stopBits == 2)
        t.c_cflag |= CSTOPB;
    return tcsetattr(fd, TCSANOW, &t) == 0;
}

} // namespace LineTermios

#endif
