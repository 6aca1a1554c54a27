#pragma once

#include <QByteArray>

// The shared serial line as the bank's traffic uses it: one request written
// whole, answers read in pieces without waiting. The program puts the link's
// open port behind it; tests put a scripted bus of simulated packs there.
class BankLine {
public:
    virtual ~BankLine() = default;
    // The number of bytes written, -1 on failure.
    virtual qint64 write(const QByteArray &bytes) = 0;
    // At most `maxBytes` of what has arrived; never waits.
    virtual QByteArray read(int maxBytes) = 0;
};
