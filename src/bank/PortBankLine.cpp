#include "bank/PortBankLine.h"

#include "link/PortIo.h"

qint64 PortBankLine::write(const QByteArray &bytes)
{
    if (!m_port.isOpen())
        return -1;
    return m_port.write(bytes);
}

QByteArray PortBankLine::read(int maxBytes)
{
    return m_port.isOpen() ? m_port.read(maxBytes) : QByteArray();
}
