#pragma once

#include <QString>

#include <optional>

// The character format of a serial line. On a pseudo-terminal nothing is
// clocked, but both ends still agree (or not) on these values, and a pack that
// listens at another rate than the host talks hears only garbage.
struct LineSettings {
    int baud = 9600;
    char parity = 'N'; // 'N', 'E' or 'O'
    int dataBits = 8;
    int stopBits = 1;

    bool operator==(const LineSettings &) const = default;
    // "9600 8N1"
    QString toString() const;
    static LineSettings upgrade(int baud) { return LineSettings{baud, 'N', 8, 1}; }
};

// termios access for a line's file descriptor (a serial device or the master
// side of a pseudo-terminal, whose settings are those of its slave). Arbitrary
// rates such as 14400 and 56000 are supported where the system allows them.
namespace LineTermios {
std::optional<LineSettings> read(int fd);
// Raw mode (no echo, no translation, no signals) with the given format.
bool applyRaw(int fd, const LineSettings &settings);
} // namespace LineTermios
