#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <array>

// CRC-16/MODBUS as the BMS frames carry it. Element 0 is the low byte of the
// CRC value and element 1 the high byte; on the wire the high byte goes first,
// the reverse of Modbus RTU.
struct CrcResult {
    std::array<quint8, 2> bytes{};
    quint8 low() const { return bytes[0]; }
    quint8 high() const { return bytes[1]; }
    quint16 value() const { return quint16(bytes[1] << 8 | bytes[0]); }
};

// Over bytes[first] .. bytes[last] inclusive (last may equal first).
CrcResult computeCrc(const quint8 *bytes, qsizetype first, qsizetype last);
CrcResult computeCrc(const QByteArray &bytes, qsizetype first, qsizetype last);
