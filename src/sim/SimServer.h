#pragma once

#include "sim/BusPack.h"
#include "sim/FaultInjector.h"
#include "sim/RequestAssembler.h"
#include "sim/SerialLine.h"
#include "sim/SimOptions.h"

#include <QElapsedTimer>
#include <QJsonObject>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <deque>
#include <memory>
#include <vector>

// Serves the simulated packs on a line: cuts the received bytes into requests,
// lets the pack at the request's address answer them (two packs at one
// address answer at once, and their answers collide on the line), sends the answers through the
// fault injector in order and on time, carries out line changes once the answer before them has
// left, and writes received firmware images.
//
// On a pseudo-terminal it also watches the format the host set on its side:
// bytes sent at another rate or parity than the pack listens with are lost as
// garbage (unless --any-line), and after every change of the pack's own line
// (the upgrade rate switch and its return) the host's format is checked and
// logged ("line check"), so a test can see that the host followed. (Linux
// keeps a pseudo-terminal at 8 data bits without parity, so there only the
// rate can differ; on a real device the UART garbles the rest.)
class SimServer : public QObject {
    Q_OBJECT
public:
    explicit SimServer(const SimOptions &options, QObject *parent = nullptr);
    ~SimServer() override;

    // Creates or opens the line, or says why it cannot.
    Result<void> start();
    // The device the host opens (the pty slave, or the --port device).
    QString devicePath() const { return m_devicePath; }
    // Removes the --link symlink and writes the final status.
    void stop();

    QJsonObject status() const;

signals:
    void fatal(const QString &reason);

private:
    struct Pending {
        qint64 dueMs = 0;
        QByteArray bytes;
        std::optional<LineSettings> line;
        QString lineReason;
    };
    struct LineCheck {
        QString reason;
        LineSettings expected;
        std::optional<LineSettings> seen;
        bool ok = false;
    };

    qint64 now() const { return m_clock.elapsed(); }
    void log(const QString &text) const;
    void onReceived(const QByteArray &bytes);
    void onRequest(const QByteArray &frame);
    void schedule(const QByteArray &reply);
    void scheduleLine(const LineSettings &line, const QString &reason);
    void runQueue();
    void applyLine(const LineSettings &line, const QString &reason);
    void noteHostLine();
    void saveImage(const FirmwareImage &image);
    bool clashing(const BusPack &pack) const;
    void pollPack();
    void markDirty();
    void writeStatus();

    SimOptions m_options;
    QElapsedTimer m_clock;
    std::vector<std::unique_ptr<BusPack>> m_packs;
    FaultInjector m_faults;
    RequestAssembler m_assembler;
    std::unique_ptr<SerialLine> m_line;
    QString m_devicePath;
    bool m_linkCreated = false;

    LineSettings m_packLine;
    std::deque<Pending> m_queue;
    qint64 m_lastDueMs = 0;
    QTimer m_queueTimer;
    QTimer m_pollTimer;
    QTimer m_statusTimer;

    std::optional<LineSettings> m_hostLine;
    QStringList m_hostLines;
    QList<LineCheck> m_lineChecks;
    bool m_checkPending = false;
    QString m_lastMismatch;
    QStringList m_firmwareFiles;

    qint64 m_requests = 0;
    qint64 m_answers = 0;
    qint64 m_dropped = 0;
    qint64 m_corrupted = 0;
    qint64 m_noisy = 0;
    qint64 m_unanswered = 0;
    qint64 m_otherAddress = 0;
    qint64 m_garbledBytes = 0;
    qint64 m_collisions = 0;
    qint64 m_offlineSilences = 0;
};
