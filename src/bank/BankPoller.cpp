#include "bank/BankPoller.h"

#include "bank/BusScan.h"
#include "link/Frame.h"

namespace {
constexpr quint8 readOperation = 0;
// More than this in the buffer holds no answer to the exchange in progress.
constexpr int rxLimit = 4096;
} // namespace

BankPoller::BankPoller(BankLine &line, const PortIo::Settings &settings, quint8 protocol,
                       QObject *parent)
    : QObject(parent), m_line(line), m_settings(settings), m_protocol(protocol)
{
}

int BankPoller::exchangeWaitMs(const PortIo::Settings &settings, quint8 item)
{
    const int data = item == BankPackDecoder::liveItem ? BankPackDecoder::liveAnswerData
                                                       : BankPackDecoder::batteryIdAnswerData;
    // More patient than the scan: a pack that answers ends its exchange with
    // its answer, so the extra wait is only spent on a missing one, and that
    // at most every ten seconds per dead pack. A busy pack that answers late
    // is not taken for a dead one.
    return BusScan::exchangeWaitMs(settings, Frame::overhead, Frame::overhead + data) +
           extraTurnaroundMs;
}

void BankPoller::setAddresses(const QList<int> &addresses)
{
    QList<BankPack> packs;
    QList<qint64> retry;
    QList<bool> needsId;
    for (int a : addresses) {
        const BankPack *known = pack(a);
        BankPack p = known ? *known : BankPack{};
        p.address = a;
        const qsizetype old = known ? known - m_packs.constData() : -1;
        packs << p;
        retry << (old >= 0 ? m_retryAtMs[old] : 0);
        needsId << (old >= 0 ? m_needsId[old] : true);
    }
    m_packs = packs;
    m_retryAtMs = retry;
    m_needsId = needsId;
    if (m_running) {
        m_index = -1;
        m_step = Step::Idle;
        m_nextSweepMs = 0;
    }
}

QList<int> BankPoller::addresses() const
{
    QList<int> list;
    for (const BankPack &p : m_packs)
        list << p.address;
    return list;
}

const BankPack *BankPoller::pack(int address) const
{
    for (const BankPack &p : m_packs)
        if (p.address == address)
            return &p;
    return nullptr;
}

void BankPoller::start(qint64 nowMs)
{
    m_running = true;
    m_lineFailed = false;
    m_index = -1;
    m_step = Step::Idle;
    m_nextSweepMs = nowMs;
    m_lastSweepMs = -1;
    m_sweeps = 0;
    m_bytesOnLine = 0;
    m_exchanges = 0;
    tick(nowMs);
}

void BankPoller::stop()
{
    m_running = false;
    m_step = Step::Idle;
    m_index = -1;
}

bool BankPoller::due(const BankPack &p, qint64 nowMs) const
{
    return p.online || nowMs >= m_retryAtMs[&p - m_packs.constData()];
}

void BankPoller::tick(qint64 nowMs)
{
    if (!m_running)
        return;
    if (m_step == Step::Idle) {
        if (nowMs < m_nextSweepMs || m_packs.isEmpty())
            return;
        m_sweepStartMs = nowMs;
        m_index = -1;
        nextPack(nowMs);
        return;
    }
    const QByteArray bytes = m_line.read(maxRead);
    if (m_rx.size() + bytes.size() > rxLimit)
        m_rx.clear();
    m_rx += bytes;
    const quint8 item =
        m_step == Step::Live ? BankPackDecoder::liveItem : BankPackDecoder::batteryIdItem;
    QByteArray frame;
    const AnswerSearch::Heard heard =
        AnswerSearch::find(m_rx, quint8(m_packs[m_index].address), m_protocol, item, &frame);
    if (heard == AnswerSearch::Heard::Answer)
        answered(frame, nowMs);
    else if (heard == AnswerSearch::Heard::Garbled || nowMs >= m_deadlineMs)
        missed(nowMs);
}

// The next pack of the sweep that is due, or the end of the sweep.
void BankPoller::nextPack(qint64 nowMs)
{
    for (++m_index; m_index < m_packs.size(); ++m_index) {
        if (!due(m_packs[m_index], nowMs))
            continue;
        m_step = m_needsId[m_index] ? Step::BatteryId : Step::Live;
        send(nowMs);
        return;
    }
    m_step = Step::Idle;
    m_index = -1;
    m_lastSweepMs = nowMs - m_sweepStartMs;
    ++m_sweeps;
    m_nextSweepMs = m_sweepStartMs + m_sweepPeriodMs;
    emit sweepFinished();
}

void BankPoller::send(qint64 nowMs)
{
    BankPack &p = m_packs[m_index];
    const quint8 item =
        m_step == Step::Live ? BankPackDecoder::liveItem : BankPackDecoder::batteryIdItem;
    const QByteArray request =
        Frame::build(Frame::requestStart, quint8(p.address), m_protocol, readOperation, item, {});
    m_rx.clear();
    // Whatever is still in the port belongs to an earlier exchange.
    for (int i = 0; i < rxLimit / maxRead && !m_line.read(maxRead).isEmpty(); ++i) {
    }
    ++p.requests;
    ++m_exchanges;
    if (m_line.write(request) != request.size()) {
        m_lineFailed = true;
        stop();
        emit lineFailedChanged();
        return;
    }
    m_bytesOnLine += request.size();
    m_deadlineMs = nowMs + exchangeWaitMs(m_settings, item);
}

void BankPoller::answered(const QByteArray &frame, qint64 nowMs)
{
    BankPack &p = m_packs[m_index];
    m_bytesOnLine += frame.size();
    if (m_step == Step::BatteryId) {
        p.batteryId = m_decoder.batteryId(frame);
        m_needsId[m_index] = false;
        p.online = true;
        p.misses = 0;
        ++p.answers;
        emit packUpdated(p.address);
        m_step = Step::Live;
        send(nowMs);
        return;
    }
    // An answer too short for the live layout is as good as none.
    if (!m_decoder.decodeLive(frame, &p)) {
        missed(nowMs);
        return;
    }
    p.updatedMs = nowMs;
    p.online = true;
    p.misses = 0;
    ++p.answers;
    emit packUpdated(p.address);
    nextPack(nowMs);
}

void BankPoller::missed(qint64 nowMs)
{
    BankPack &p = m_packs[m_index];
    ++p.misses;
    if (p.online && p.misses >= missesToOffline) {
        p.online = false;
        // Whoever answers at this address next may be another pack.
        m_needsId[m_index] = true;
        emit packUpdated(p.address);
    }
    if (!p.online)
        m_retryAtMs[m_index] = nowMs + offlineRetryMs;
    nextPack(nowMs);
}
