#pragma once

#include "bank/BankLine.h"

class PortIo;

// The link's open port as the bank's line. The port stays the link's: this
// neither opens nor closes it.
class PortBankLine : public BankLine {
public:
    explicit PortBankLine(PortIo &port) : m_port(port) {}
    qint64 write(const QByteArray &bytes) override;
    QByteArray read(int maxBytes) override;

private:
    PortIo &m_port;
};
