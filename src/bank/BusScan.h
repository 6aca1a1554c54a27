#pragma once

#include "bank/AnswerSearch.h"
#include "bank/BankLine.h"
#include "link/PortIo.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

// Finds the packs on a shared RS-485 line: asks every communication address
// from 0 to 16 for its project number, one short live read each, and asks
// each pack that answers for its battery ID, twice. How long each exchange
// may take follows from the line rate (the bytes of request and answer on the
// wire plus the pack's turnaround), so a silent address costs a fraction of a
// second rather than the link's 600 ms repeat period.
//
// Two packs wired to one address answer at once and their bytes collide: the
// host then sees answers that never pass the CRC, or, where one of them wins
// the line each time, two different battery IDs. Either is reported as a
// probable address clash rather than as a pack.
//
// Nothing here waits: start() sends the first request and every tick() reads
// what has arrived (at most one read of 255 bytes) and, once an exchange is
// decided, sends the next request at once. A 1 ms timer calls tick() in the
// program; tests call it with their own clock.
class BusScan : public QObject {
    Q_OBJECT
public:
    enum class Found { Nothing, Pack, Clash };
    enum class ClashSign { None, CrcNeverPassed, TwoIdentities };
    struct Entry {
        int address = 0;
        Found found = Found::Nothing;
        ClashSign clash = ClashSign::None;
        QString projectNumber;
        QString batteryId;
        int validAnswers = 0;   // frames that passed the CRC
        int garbledAnswers = 0; // answer frames of the right address whose CRC failed
    };

    static constexpr int firstAddress = 0;
    static constexpr int lastAddress = 16;
    // The pack's own time between the end of a request and its answer, plus
    // the adapter's latency (a USB serial adapter delivers in 1 to 16 ms).
    static constexpr int turnaroundMs = 50;
    // A garbled answer is asked for again this many times in all before the
    // address is taken as a clash; a few may be line noise.
    static constexpr int garbledTries = 3;
    static constexpr int maxRead = 255;

    BusScan(BankLine &line, const PortIo::Settings &settings, quint8 protocol,
            QObject *parent = nullptr);

    // Starts the scan (again, from address 0) and sends the first request.
    void start(qint64 nowMs);
    // Stops at once; what was found so far stays.
    void cancel(qint64 nowMs);
    void tick(qint64 nowMs);

    bool running() const { return m_running; }
    // False while running or before a start; true once every address was asked.
    bool complete() const { return m_complete; }
    // The line refused a request (port closed or gone); the scan stopped.
    bool lineFailed() const { return m_lineFailed; }
    int addressCount() const { return lastAddress - firstAddress + 1; }
    int addressesDone() const { return int(m_results.size()); }
    // The address being asked, -1 when not running.
    int currentAddress() const { return m_running ? m_address : -1; }
    // Time from start to the end of the scan (or to now while it runs).
    qint64 elapsedMs(qint64 nowMs) const;
    int requestsSent() const { return m_requests; }

    // Every address asked so far, in order.
    const QList<Entry> &results() const { return m_results; }
    // The addresses where a pack, or a probable clash, answered.
    QList<Entry> found() const;
    QList<int> foundAddresses() const;

    // Time on the wire for `bytes` characters at the line's format.
    static double wireMs(const PortIo::Settings &settings, int bytes);
    // How long an exchange of these sizes may take before it counts as
    // unanswered.
    static int exchangeWaitMs(const PortIo::Settings &settings, int requestBytes, int answerBytes);
    // The longest a whole scan can take when no address answers.
    static qint64 silentScanMs(const PortIo::Settings &settings);
    // A text item's characters, one byte each, zero bytes left out.
    static QString itemText(const QByteArray &data);

signals:
    void progressChanged(int done, int total);
    void finished();

private:
    enum class Step { Project, BatteryId, BatteryIdAgain };
    using Heard = AnswerSearch::Heard;

    void send(qint64 nowMs);
    Heard examine(QByteArray *data) const;
    void decide(Heard heard, const QByteArray &data, qint64 nowMs);
    void finishAddress(Found found, ClashSign clash, qint64 nowMs);
    void stop(qint64 nowMs);

    BankLine &m_line;
    PortIo::Settings m_settings;
    quint8 m_protocol;

    bool m_running = false;
    bool m_complete = false;
    bool m_lineFailed = false;
    int m_address = firstAddress;
    Step m_step = Step::Project;
    int m_tries = 0;
    Entry m_entry;
    QByteArray m_rx;
    qint64 m_deadlineMs = 0;
    qint64 m_startedMs = 0;
    qint64 m_endedMs = -1;
    int m_requests = 0;
    QList<Entry> m_results;
};
