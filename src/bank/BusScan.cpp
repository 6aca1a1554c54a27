#include "bank/BusScan.h"

#include "bank/AnswerSearch.h"
#include "link/Frame.h"

#include <cmath>

namespace {

constexpr quint8 readOperation = 0;
// Beyond this the buffer holds no answer to the request in progress: an
// answer is at most 41 bytes, so it is noise.
constexpr int rxLimit = 4096;

// What each step asks for: the item byte and the data length of its answer.
struct StepRead {
    quint8 item;
    int answerData;
};
constexpr StepRead projectRead{1, 24};
constexpr StepRead batteryIdRead{3, 32};

} // namespace

BusScan::BusScan(BankLine &line, const PortIo::Settings &settings, quint8 protocol, QObject *parent)
    : QObject(parent), m_line(line), m_settings(settings), m_protocol(protocol)
{
}

double BusScan::wireMs(const PortIo::Settings &settings, int bytes)
{
    const double stop = settings.stopBits == 3 ? 1.5 : settings.stopBits;
    const double parity = settings.parity == 'N' ? 0 : 1;
    const double bitsPerChar = 1 + settings.dataBits + parity + stop;
    return bytes * bitsPerChar * 1000.0 / std::max(settings.baud, qint32(1));
}

int BusScan::exchangeWaitMs(const PortIo::Settings &settings, int requestBytes, int answerBytes)
{
    // Half as much again as the wire needs, for gaps between characters.
    return int(std::ceil(wireMs(settings, requestBytes + answerBytes) * 1.5)) + turnaroundMs;
}

qint64 BusScan::silentScanMs(const PortIo::Settings &settings)
{
    return qint64(lastAddress - firstAddress + 1) *
           exchangeWaitMs(settings, Frame::overhead, Frame::overhead + projectRead.answerData);
}

QString BusScan::itemText(const QByteArray &data)
{
    QString text;
    for (char c : data)
        if (c != '\0')
            text += QChar(uchar(c));
    return text;
}

qint64 BusScan::elapsedMs(qint64 nowMs) const
{
    if (m_endedMs >= 0)
        return m_endedMs - m_startedMs;
    return m_running ? nowMs - m_startedMs : 0;
}

QList<BusScan::Entry> BusScan::found() const
{
    QList<Entry> list;
    for (const Entry &e : m_results)
        if (e.found != Found::Nothing)
            list.append(e);
    return list;
}

QList<int> BusScan::foundAddresses() const
{
    QList<int> list;
    for (const Entry &e : found())
        list.append(e.address);
    return list;
}

void BusScan::start(qint64 nowMs)
{
    m_results.clear();
    m_running = true;
    m_complete = false;
    m_lineFailed = false;
    m_address = firstAddress;
    m_step = Step::Project;
    m_tries = 0;
    m_entry = Entry{};
    m_entry.address = m_address;
    m_startedMs = nowMs;
    m_endedMs = -1;
    m_requests = 0;
    emit progressChanged(0, addressCount());
    send(nowMs);
}

void BusScan::cancel(qint64 nowMs)
{
    if (m_running)
        stop(nowMs);
}

void BusScan::stop(qint64 nowMs)
{
    m_running = false;
    m_endedMs = nowMs;
    emit finished();
}

void BusScan::send(qint64 nowMs)
{
    const StepRead read = m_step == Step::Project ? projectRead : batteryIdRead;
    const QByteArray request = Frame::build(Frame::requestStart, quint8(m_address), m_protocol,
                                            readOperation, read.item, {});
    m_rx.clear();
    // Whatever is still in the port belongs to an earlier exchange.
    for (int i = 0; i < rxLimit / maxRead && !m_line.read(maxRead).isEmpty(); ++i) {
    }
    ++m_tries;
    ++m_requests;
    if (m_line.write(request) != request.size()) {
        m_lineFailed = true;
        stop(nowMs);
        return;
    }
    m_deadlineMs =
        nowMs + exchangeWaitMs(m_settings, int(request.size()), Frame::overhead + read.answerData);
}

BusScan::Heard BusScan::examine(QByteArray *data) const
{
    const quint8 item = m_step == Step::Project ? projectRead.item : batteryIdRead.item;
    QByteArray frame;
    const Heard heard = AnswerSearch::find(m_rx, quint8(m_address), m_protocol, item, &frame);
    if (heard == Heard::Answer)
        *data = frame.mid(Frame::dataOffset, Frame::dataLength(frame));
    return heard;
}

void BusScan::tick(qint64 nowMs)
{
    if (!m_running)
        return;
    const QByteArray bytes = m_line.read(maxRead);
    if (m_rx.size() + bytes.size() > rxLimit)
        m_rx.clear();
    m_rx += bytes;

    QByteArray data;
    const Heard heard = examine(&data);
    // A complete answer, even a garbled one, decides the exchange at once.
    if (heard != Heard::Nothing || nowMs >= m_deadlineMs)
        decide(heard, data, nowMs);
}

void BusScan::decide(Heard heard, const QByteArray &data, qint64 nowMs)
{
    if (heard == Heard::Answer) {
        ++m_entry.validAnswers;
        const QString text = itemText(data);
        switch (m_step) {
        case Step::Project:
            m_entry.projectNumber = text;
            m_step = Step::BatteryId;
            break;
        case Step::BatteryId:
            m_entry.batteryId = text;
            m_step = Step::BatteryIdAgain;
            break;
        case Step::BatteryIdAgain:
            if (text != m_entry.batteryId)
                finishAddress(Found::Clash, ClashSign::TwoIdentities, nowMs);
            else
                finishAddress(Found::Pack, ClashSign::None, nowMs);
            return;
        }
        m_tries = 0;
        send(nowMs);
        return;
    }

    if (heard == Heard::Garbled)
        ++m_entry.garbledAnswers;
    // An address that never said anything is asked once; one that did is
    // given a few more chances past a garbled or lost answer.
    const bool spoken = m_entry.validAnswers > 0 || m_entry.garbledAnswers > 0;
    if (spoken && m_tries < garbledTries) {
        send(nowMs);
        return;
    }
    if (m_entry.garbledAnswers > 0)
        finishAddress(Found::Clash, ClashSign::CrcNeverPassed, nowMs);
    else
        finishAddress(m_entry.validAnswers > 0 ? Found::Pack : Found::Nothing, ClashSign::None,
                      nowMs);
}

void BusScan::finishAddress(Found found, ClashSign clash, qint64 nowMs)
{
    m_entry.found = found;
    m_entry.clash = clash;
    m_results.append(m_entry);
    emit progressChanged(addressesDone(), addressCount());
    if (m_address >= lastAddress) {
        m_complete = true;
        stop(nowMs);
        return;
    }
    ++m_address;
    m_step = Step::Project;
    m_tries = 0;
    m_entry = Entry{};
    m_entry.address = m_address;
    send(nowMs);
}
