#include "sim/SimServer.h"

#include "sim/PackItems.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>

#include <algorithm>
#include <cstdio>

namespace {
constexpr int pollIntervalMs = 250;
constexpr int statusDelayMs = 25;

// The pack's calendar clock is a plain local date and time without a zone.
QDateTime localNow()
{
    const QDateTime now = QDateTime::currentDateTime();
    return QDateTime(now.date(), now.time(), Qt::UTC);
}
} // namespace

SimServer::SimServer(const SimOptions &options, QObject *parent)
    : QObject(parent), m_options(options), m_faults(options.faults), m_packLine(options.line)
{
    m_queueTimer.setSingleShot(true);
    connect(&m_queueTimer, &QTimer::timeout, this, &SimServer::runQueue);
    m_pollTimer.setInterval(pollIntervalMs);
    connect(&m_pollTimer, &QTimer::timeout, this, &SimServer::pollPack);
    m_statusTimer.setSingleShot(true);
    m_statusTimer.setInterval(statusDelayMs);
    connect(&m_statusTimer, &QTimer::timeout, this, &SimServer::writeStatus);
}

SimServer::~SimServer() = default;

void SimServer::log(const QString &text) const
{
    std::fprintf(stderr, "cellvane-sim: %s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
}

Result<void> SimServer::start()
{
    m_clock.start();
    const QDateTime clock = localNow();
    for (const SimOptions::PackSpec &spec : m_options.packs)
        m_packs.push_back(std::make_unique<BusPack>(spec, m_options, now(), clock));
    if (!m_options.linkPath.isEmpty()) {
        Result<std::unique_ptr<SerialLine>> line = SerialLine::createPty(m_packLine, &m_devicePath);
        if (!line)
            return line.error();
        m_line = std::move(line).value();
        const QFileInfo link(m_options.linkPath);
        if (link.isSymLink()) {
            QFile::remove(m_options.linkPath); // left over from an earlier run
        } else if (link.exists()) {
            return Error{
                QStringLiteral("%1 exists and is not a symbolic link").arg(m_options.linkPath)};
        }
        if (!QFile::link(m_devicePath, m_options.linkPath)) {
            return Error{
                QStringLiteral("cannot create the symbolic link %1").arg(m_options.linkPath)};
        }
        m_linkCreated = true;
    } else {
        Result<std::unique_ptr<SerialLine>> line =
            SerialLine::openDevice(m_options.device, m_packLine);
        if (!line)
            return line.error();
        m_line = std::move(line).value();
        m_devicePath = m_options.device;
    }

    connect(m_line.get(), &SerialLine::received, this, &SimServer::onReceived);
    connect(m_line.get(), &SerialLine::hostAttachedChanged, this, [this](bool attached) {
        log(attached ? QStringLiteral("host opened the line")
                     : QStringLiteral("host closed the line"));
        markDirty();
    });
    connect(m_line.get(), &SerialLine::failed, this, [this](const QString &reason) {
        log(QStringLiteral("line failed: %1").arg(reason));
        emit fatal(reason);
    });
    m_pollTimer.start();

    log(QStringLiteral("%1 on %2%3, protocol %4, line %5, speed %6")
            .arg(m_packs.size() == 1 ? QStringLiteral("one pack")
                                     : QStringLiteral("%1 packs").arg(m_packs.size()))
            .arg(m_devicePath)
            .arg(m_linkCreated ? QStringLiteral(" (linked as %1)").arg(m_options.linkPath)
                               : QString())
            .arg(m_options.protocol)
            .arg(m_packLine.toString())
            .arg(m_options.pack.speed));
    for (const auto &p : m_packs) {
        const LiveSnapshot &s = p->model().snapshot();
        log(QStringLiteral("pack at address %1: %2 cells, %3 sensors, SOC %4 %, %5 stored "
                           "records%6%7")
                .arg(p->address())
                .arg(s.cellCount)
                .arg(s.sensorCount)
                .arg(s.socPermille / 10.0)
                .arg(p->history().count())
                .arg(p->silentAt(now()) ? QStringLiteral(", offline") : QString())
                .arg(clashing(*p) ? QStringLiteral(", shares its address") : QString()));
    }
    writeStatus();
    return {};
}

void SimServer::stop()
{
    m_pollTimer.stop();
    m_queueTimer.stop();
    if (m_linkCreated && QFileInfo(m_options.linkPath).isSymLink())
        QFile::remove(m_options.linkPath);
    m_linkCreated = false;
    writeStatus();
}

void SimServer::noteHostLine()
{
    const std::optional<LineSettings> host = m_line->hostSettings();
    if (host != m_hostLine) {
        m_hostLine = host;
        if (host) {
            m_hostLines.append(host->toString());
            log(QStringLiteral("host line %1").arg(host->toString()));
        }
    }
    if (m_checkPending && !m_lineChecks.isEmpty()) {
        m_checkPending = false;
        LineCheck &check = m_lineChecks.last();
        check.seen = host;
        check.ok = host && *host == check.expected;
        log(QStringLiteral("line check after %1: pack %2, host %3: %4")
                .arg(check.reason, check.expected.toString(),
                     host ? host->toString() : QStringLiteral("unknown"),
                     check.ok ? QStringLiteral("ok") : QStringLiteral("MISMATCH")));
    }
}

void SimServer::onReceived(const QByteArray &bytes)
{
    if (m_line->isPty()) {
        noteHostLine();
        if (!m_options.anyLine && m_hostLine && *m_hostLine != m_packLine) {
            m_garbledBytes += bytes.size();
            const QString mismatch = QStringLiteral("host sends at %1 but the pack listens at %2: "
                                                    "bytes lost")
                                         .arg(m_hostLine->toString(), m_packLine.toString());
            if (mismatch != m_lastMismatch)
                log(mismatch);
            m_lastMismatch = mismatch;
            markDirty();
            return;
        }
        m_lastMismatch.clear();
    }
    if (m_options.verbose)
        log(QStringLiteral("received %1").arg(QString::fromLatin1(bytes.toHex(' '))));
    for (const QByteArray &frame : m_assembler.push(bytes, now()))
        onRequest(frame);
}

void SimServer::onRequest(const QByteArray &frame)
{
    QList<BusPack *> listeners;
    for (const auto &p : m_packs)
        if (p->hears(quint8(frame[1]), quint8(frame[2])))
            listeners.append(p.get());
    if (listeners.isEmpty()) {
        ++m_otherAddress;
        return;
    }
    ++m_requests;
    if (m_faults.dropRequest()) {
        ++m_dropped;
        if (m_options.verbose)
            log(QStringLiteral("request dropped"));
        markDirty();
        return;
    }

    const quint8 item = quint8(frame[4]);
    QByteArray reply;
    int answering = 0;
    for (BusPack *pack : listeners) {
        const bool silent = pack->silentAt(now());
        const Responder::Outcome out = pack->handle(frame, now());
        if (silent)
            ++m_offlineSilences;
        if (!out.note.isEmpty() && (!silent || m_options.verbose))
            log(out.note);
        if (out.image)
            saveImage(*out.image);
        if (!out.reply.isEmpty()) {
            reply = answering == 0 ? out.reply : BusPack::collide(reply, out.reply);
            ++answering;
        }
        if (out.lineAfter) {
            const bool upgrade = item == PackItem::upgradeApp || item == PackItem::upgradeBoot;
            scheduleLine(*out.lineAfter, !upgrade ? QStringLiteral("serial settings write")
                                         : *out.lineAfter == pack->responder().normalLine()
                                             ? QStringLiteral("upgrade end")
                                             : QStringLiteral("upgrade start"));
        }
    }
    if (answering > 1) {
        ++m_collisions;
        log(QStringLiteral("%1 packs at address %2 answered at once: their answers collided")
                .arg(answering)
                .arg(quint8(frame[1])));
    }
    if (reply.isEmpty()) {
        ++m_unanswered;
    } else {
        ++m_answers;
        if (m_options.verbose)
            log(QStringLiteral("answer %1").arg(QString::fromLatin1(reply.toHex(' '))));
        schedule(reply);
    }
    markDirty();
}

bool SimServer::clashing(const BusPack &pack) const
{
    return std::count_if(m_packs.cbegin(), m_packs.cend(),
                         [&](const auto &p) { return p->address() == pack.address(); }) > 1;
}

void SimServer::schedule(const QByteArray &reply)
{
    const FaultInjector::Delivery delivery = m_faults.deliver(reply);
    if (delivery.corrupted)
        ++m_corrupted;
    if (delivery.noiseBytes > 0)
        ++m_noisy;
    for (const FaultInjector::Chunk &chunk : delivery.chunks) {
        m_lastDueMs = std::max(now(), m_lastDueMs) + chunk.gapMs;
        m_queue.push_back({m_lastDueMs, chunk.bytes, std::nullopt, {}});
    }
    runQueue();
}

void SimServer::scheduleLine(const LineSettings &line, const QString &reason)
{
    m_lastDueMs = std::max(now(), m_lastDueMs);
    m_queue.push_back({m_lastDueMs, {}, line, reason});
    runQueue();
}

void SimServer::runQueue()
{
    while (!m_queue.empty()) {
        Pending &next = m_queue.front();
        const qint64 wait = next.dueMs - now();
        if (wait > 0) {
            m_queueTimer.start(int(wait));
            return;
        }
        if (next.line) {
            // The pack changes its format only once the answer before it is out.
            if (!m_line->drained()) {
                m_queueTimer.start(1);
                return;
            }
            applyLine(*next.line, next.lineReason);
        } else {
            m_line->write(next.bytes);
        }
        m_queue.pop_front();
    }
}

void SimServer::applyLine(const LineSettings &line, const QString &reason)
{
    if (line == m_packLine)
        return;
    m_packLine = line;
    if (!m_line->applySettings(line))
        log(QStringLiteral("cannot set the device to %1").arg(line.toString()));
    log(QStringLiteral("pack line now %1 (%2)").arg(line.toString(), reason));
    if (m_line->isPty()) {
        m_lineChecks.append({reason, line, std::nullopt, false});
        m_checkPending = true;
    }
    markDirty();
}

void SimServer::saveImage(const FirmwareImage &image)
{
    if (m_options.firmwareOut.isEmpty()) {
        log(QStringLiteral("%1 image of %2 bytes received (not kept: no --firmware-out)")
                .arg(image.target)
                .arg(image.bytes.size()));
        return;
    }
    QDir dir(m_options.firmwareOut);
    if (!dir.mkpath(QStringLiteral("."))) {
        log(QStringLiteral("cannot create %1: %2 image not kept")
                .arg(m_options.firmwareOut, image.target));
        return;
    }
    const QString stem =
        image.target + QLatin1Char(' ') +
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh.mm.ss"));
    QString path = dir.filePath(stem + QStringLiteral(".bin"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(QStringLiteral("%1-%2.bin").arg(stem).arg(n));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(image.bytes) != image.bytes.size() ||
        !file.commit()) {
        log(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
        return;
    }
    m_firmwareFiles.append(path);
    log(QStringLiteral("%1 image written to %2").arg(image.target, path));
}

void SimServer::pollPack()
{
    for (const auto &p : m_packs) {
        if (const std::optional<LineSettings> restore = p->responder().poll(now())) {
            log(QStringLiteral("upgrade abandoned by the host"));
            scheduleLine(*restore, QStringLiteral("upgrade time-out"));
        }
    }
    markDirty();
}

void SimServer::markDirty()
{
    if (!m_options.statusFile.isEmpty() && !m_statusTimer.isActive())
        m_statusTimer.start();
}

QJsonObject SimServer::status() const
{
    QJsonObject o;
    o[QStringLiteral("device")] = m_devicePath;
    o[QStringLiteral("address")] = m_options.address;
    o[QStringLiteral("protocol")] = m_options.protocol;
    o[QStringLiteral("line")] = m_packLine.toString();
    if (m_line) {
        o[QStringLiteral("hostAttached")] = m_line->hostAttached();
        o[QStringLiteral("hostOpens")] = m_line->hostOpens();
        o[QStringLiteral("discardedBytes")] = double(m_line->discardedBytes());
    }
    o[QStringLiteral("hostLine")] = m_hostLine ? m_hostLine->toString() : QString();
    o[QStringLiteral("hostLines")] = QJsonArray::fromStringList(m_hostLines);
    QJsonArray checks;
    for (const LineCheck &c : m_lineChecks)
        checks.append(QJsonObject{{QStringLiteral("reason"), c.reason},
                                  {QStringLiteral("expected"), c.expected.toString()},
                                  {QStringLiteral("seen"), c.seen ? c.seen->toString() : QString()},
                                  {QStringLiteral("ok"), c.ok}});
    o[QStringLiteral("lineChecks")] = checks;
    o[QStringLiteral("counters")] =
        QJsonObject{{QStringLiteral("requests"), double(m_requests)},
                    {QStringLiteral("answers"), double(m_answers)},
                    {QStringLiteral("dropped"), double(m_dropped)},
                    {QStringLiteral("corrupted"), double(m_corrupted)},
                    {QStringLiteral("noisy"), double(m_noisy)},
                    {QStringLiteral("unanswered"), double(m_unanswered)},
                    {QStringLiteral("otherAddress"), double(m_otherAddress)},
                    {QStringLiteral("garbledBytes"), double(m_garbledBytes)},
                    {QStringLiteral("collisions"), double(m_collisions)},
                    {QStringLiteral("offlineSilences"), double(m_offlineSilences)},
                    {QStringLiteral("skippedBytes"), m_assembler.skipped()}};
    // The first pack also at the top level, as with one pack on the line.
    QJsonArray packs;
    for (const auto &p : m_packs)
        packs.append(p->status(now(), clashing(*p)));
    if (!m_packs.empty()) {
        const QJsonObject first = packs.first().toObject();
        o[QStringLiteral("pack")] = first[QStringLiteral("pack")];
        o[QStringLiteral("records")] = first[QStringLiteral("records")];
        // The upgrade in progress on any pack (one at a time on a line).
        const BusPack *upgrading = m_packs.front().get();
        for (const auto &p : m_packs)
            if (p->responder().firmware().active())
                upgrading = p.get();
        const FirmwareSession &f = upgrading->responder().firmware();
        o[QStringLiteral("upgrade")] = QJsonObject{{QStringLiteral("active"), f.active()},
                                                   {QStringLiteral("target"), f.target()},
                                                   {QStringLiteral("baud"), f.baud()},
                                                   {QStringLiteral("blocks"), f.blocksReceived()}};
    }
    o[QStringLiteral("packs")] = packs;
    o[QStringLiteral("firmwareFiles")] = QJsonArray::fromStringList(m_firmwareFiles);
    return o;
}

void SimServer::writeStatus()
{
    if (m_options.statusFile.isEmpty())
        return;
    QSaveFile file(m_options.statusFile);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(QJsonDocument(status()).toJson(QJsonDocument::Indented));
    file.commit();
}
