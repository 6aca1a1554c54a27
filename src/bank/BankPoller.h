#pragma once

#include "bank/AnswerSearch.h"
#include "bank/BankLine.h"
#include "bank/BankPack.h"
#include "bank/BankPackDecoder.h"
#include "link/PortIo.h"

#include <QList>
#include <QObject>

// Polls the packs of a bank in turn on their shared line, one exchange at a
// time: each sweep asks every pack once for its live data (and, the first
// time or after it was away, for its battery ID). A pack that misses two
// answers in a row is offline; it is asked again only every ten seconds, so a
// dead pack costs the others one short wait per retry, and it is back online
// with its first answer. Sweeps start at most once per sweep period; a sweep
// that takes longer is followed by the next at once.
//
// Like the bus scan, nothing waits: tick() reads what has arrived and, once
// an exchange is decided, sends the next request. A 1 ms timer calls it in
// the program; tests call it with their own clock.
class BankPoller : public QObject {
    Q_OBJECT
public:
    static constexpr int missesToOffline = 2;
    static constexpr int offlineRetryMs = 10000;
    static constexpr int defaultSweepPeriodMs = 1000;
    static constexpr int maxRead = 255;
    // Added to the scan's wait for an answer.
    static constexpr int extraTurnaroundMs = 100;

    BankPoller(BankLine &line, const PortIo::Settings &settings, quint8 protocol,
               QObject *parent = nullptr);

    // The packs to poll, in this order. Values already known of an address
    // that stays are kept.
    void setAddresses(const QList<int> &addresses);
    QList<int> addresses() const;
    void setSweepPeriodMs(int ms) { m_sweepPeriodMs = ms; }
    // The line's format (for the wait per exchange) and the protocol byte.
    void setLineFormat(const PortIo::Settings &settings, quint8 protocol)
    {
        m_settings = settings;
        m_protocol = protocol;
    }

    void start(qint64 nowMs);
    void stop();
    void tick(qint64 nowMs);
    bool running() const { return m_running; }
    // The line refused a request; polling stopped.
    bool lineFailed() const { return m_lineFailed; }

    const QList<BankPack> &packs() const { return m_packs; }
    // The latest snapshot of the pack at `address`, nullptr when it is not polled.
    const BankPack *pack(int address) const;

    int sweeps() const { return m_sweeps; }
    // How long the last complete sweep took; -1 before the first.
    qint64 lastSweepMs() const { return m_lastSweepMs; }
    // When the current (or last) sweep began.
    qint64 sweepStartMs() const { return m_sweepStartMs; }
    // Bytes written and answer bytes accepted since start, for the wire time.
    qint64 bytesOnLine() const { return m_bytesOnLine; }
    qint64 exchanges() const { return m_exchanges; }

    static int exchangeWaitMs(const PortIo::Settings &settings, quint8 item);

signals:
    // New values, a new battery ID, or the pack went offline or came back.
    void packUpdated(int address);
    void sweepFinished();
    void lineFailedChanged();

private:
    enum class Step { Idle, BatteryId, Live };
    bool due(const BankPack &p, qint64 nowMs) const;
    void nextPack(qint64 nowMs);
    void send(qint64 nowMs);
    void answered(const QByteArray &frame, qint64 nowMs);
    void missed(qint64 nowMs);

    BankLine &m_line;
    PortIo::Settings m_settings;
    quint8 m_protocol;
    BankPackDecoder m_decoder;
    QList<BankPack> m_packs;
    QList<qint64> m_retryAtMs; // per pack: when an offline pack is asked again
    QList<bool> m_needsId;

    bool m_running = false;
    bool m_lineFailed = false;
    int m_sweepPeriodMs = defaultSweepPeriodMs;
    int m_index = -1; // the pack of the exchange in progress
    Step m_step = Step::Idle;
    QByteArray m_rx;
    qint64 m_deadlineMs = 0;
    qint64 m_sweepStartMs = 0;
    qint64 m_nextSweepMs = 0;
    qint64 m_lastSweepMs = -1;
    int m_sweeps = 0;
    qint64 m_bytesOnLine = 0;
    qint64 m_exchanges = 0;
};
