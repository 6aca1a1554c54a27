#include "responses/ResponseDispatcher.h"

#include "base/UserPrompt.h"
#include "link/LinkController.h"
#include "requests/RequestBuilder.h"
#include "requests/SystemForm.h"
#include "responses/FieldDecoding.h"
#include "responses/FrameError.h"
#include "responses/IdentityDecoding.h"
#include "responses/InfoForm.h"
#include "responses/LiveDecoding.h"
#include "responses/ParamDecoding.h"
#include "responses/ResultMessages.h"
#include "responses/SystemDecoding.h"
#include "state/AppState.h"

struct ResponseDispatcher::Reply {
    QByteArray frame;
    bool read = false; // operation byte 0; anything else acknowledges a write or control
    quint8 item = 0;
    int dataLength = 0;
};

namespace {

using Decode = void (*)(const QByteArray &frame, int dataLength, Form &page,
                        const AnswerSpec &answer);

template <void (*decode)(const QByteArray &, int, Form &)>
void plain(const QByteArray &frame, int dataLength, Form &page, const AnswerSpec &)
{
    decode(frame, dataLength, page);
}

// The identity texts go to the information page when the polling cycle read
// them and to the system page when its button did.
template <const QString &infoControl, const QString &systemControl>
void identityText(const QByteArray &frame, int dataLength, Form &page, const AnswerSpec &answer)
{
    IdentityDecoding::decodeText(frame, dataLength, page,
                                 answer.page == &AppState::info ? infoControl : systemControl);
}

void parameterRow(const QByteArray &frame, int, Form &page, const AnswerSpec &answer)
{
    ParamDecoding::decodeRow(frame, answer.row, page);
}

struct DecoderEntry {
    Decoder decoder;
    Decode decode;
};

// The catalogue names a decoder; these are the functions.
const DecoderEntry decoderTable[] = {
    {Decoder::projectNumber, identityText<InfoField::projectNumber, SystemField::projectNumber>},
    {Decoder::model, identityText<InfoField::model, SystemField::model>},
    {Decoder::batteryId, identityText<InfoField::batteryId, SystemField::batteryId>},
    {Decoder::customText, identityText<InfoField::customText, SystemField::customText>},
    {Decoder::versions, plain<IdentityDecoding::decodeVersions>},
    {Decoder::sof, plain<LiveDecoding::decodeSof>},
    {Decoder::liveData, plain<LiveDecoding::decodeLiveData>},
    {Decoder::cellTemperatures, plain<LiveDecoding::decodeCellTemperatures>},
    {Decoder::cellVoltages, plain<LiveDecoding::decodeCellVoltages>},
    {Decoder::balancing, plain<LiveDecoding::decodeBalancing>},
    {Decoder::parameterRow, parameterRow},
    {Decoder::shortCircuit, plain<ParamDecoding::decodeShortCircuit>},
    {Decoder::networkAddress, plain<SystemDecoding::decodeNetworkAddress>},
    {Decoder::dates, plain<IdentityDecoding::decodeDates>},
    {Decoder::passiveBalancing, plain<SystemDecoding::decodePassiveBalancing>},
    {Decoder::counts, plain<SystemDecoding::decodeCounts>},
    {Decoder::capacity, plain<SystemDecoding::decodeCapacity>},
    {Decoder::zeroCalibration, plain<SystemDecoding::decodeZeroCalibration>},
    {Decoder::chargeCalibration, plain<SystemDecoding::decodeChargeCalibration>},
    {Decoder::dischargeCalibration, plain<SystemDecoding::decodeDischargeCalibration>},
    {Decoder::samplingResistor, plain<SystemDecoding::decodeSamplingResistor>},
    {Decoder::clock, plain<SystemDecoding::decodeClock>},
    {Decoder::serialSettings, plain<SystemDecoding::decodeSerialSettings>},
    {Decoder::handshake, plain<SystemDecoding::decodeHandshake>},
    {Decoder::customSelection, plain<SystemDecoding::decodeCustomSelection>},
    {Decoder::currentLimiting, plain<SystemDecoding::decodeCurrentLimiting>},
    {Decoder::preDischarge, plain<SystemDecoding::decodePreDischarge>},
    {Decoder::activeBalancing, plain<SystemDecoding::decodeActiveBalancing>},
};

Decode decoderFor(Decoder decoder)
{
    for (const DecoderEntry &e : decoderTable)
        if (e.decoder == decoder)
            return e.decode;
    return nullptr;
}

} // namespace

ResponseDispatcher::ResponseDispatcher(AppState &state, LinkController &link,
                                       RequestBuilder &requests)
    : m_state(state), m_link(link), m_requests(requests)
{
}

void ResponseDispatcher::setAnswerHandler(Decoder decoder, std::function<void()> handler)
{
    m_handlers[size_t(decoder)] = std::move(handler);
}

bool ResponseDispatcher::decodesItself(Decoder decoder)
{
    return decoderFor(decoder) != nullptr;
}

bool ResponseDispatcher::takes(Decoder decoder) const
{
    return decoder == Decoder::acknowledgement || decodesItself(decoder) ||
           bool(m_handlers[size_t(decoder)]);
}

void ResponseDispatcher::dispatchResponse()
{
    AppState &s = m_state;
    Reply r;
    bool itemKnown = false;
    try {
        // A copy: a message box opened below lets the event loop run, and the
        // decoders must keep reading this frame whatever arrives meanwhile.
        r.frame = s.rxFrame;
        r.read = frameByte(r.frame, 3) == 0;
        r.item = frameByte(r.frame, 4);
        itemKnown = true;
        r.dataLength = frameByte(r.frame, 5) * 256 + frameByte(r.frame, 6);
        s.rxDataLength = r.dataLength;

        m_link.stopSendTimer();
        s.linkCountdown = linkCountdownStart;
        if (s.currentCommand == CommandCode::pause)
            s.setStatusLine(tr("Communication pause"));

        // An answer of the polling cycle is taken as the cycle stands, and a
        // cycle it parks restarts after it; any other answer finds a parked
        // cycle restarted already.
        const RequestSpec *row = RequestTable::takenBy(r.read, r.item, s.currentCommand);
        if (row && row->code <= CommandCode::lastLiveRead) {
            take(*row, r);
            resetParkedCycle();
        } else {
            resetParkedCycle();
            if ((row = RequestTable::takenBy(r.read, r.item, s.currentCommand)))
                take(*row, r);
        }
    } catch (const FrameError &) {
        handleFault(r, itemKnown);
        return;
    }

    // Live reads are repeated by the send timer until answered, and the cycle
    // restarts on its next tick. An answer that left a live code in place
    // without sending (a control acknowledged, a stray or duplicated frame)
    // must not leave that clock stopped, or the page would stop updating.
    if (s.currentCommand <= CommandCode::lastLiveRead && m_link.portOpen() &&
        !m_link.sendTimer().isActive())
        m_link.restartSendTimer();
}

void ResponseDispatcher::take(const RequestSpec &row, const Reply &r)
{
    const AnswerSpec &a = row.answer;
    if (const Decode decode = decoderFor(a.decoder)) {
        decode(r.frame, r.dataLength, m_state.*(a.page), a);
    } else if (const auto &handler = m_handlers[size_t(a.decoder)]) {
        handler();
        return;
    }
    if (r.read && RequestTable::pollingRead(r.item))
        decodedCycleItem(r.item);
    if (a.live)
        m_state.notifyLiveItemDecoded(r.item);
    then(row);
}

void ResponseDispatcher::then(const RequestSpec &row)
{
    const AnswerSpec &a = row.answer;
    switch (a.then) {
    case AnswerSpec::Then::Nothing:
        break;
    case AnswerSpec::Then::ContinueWith:
        continueWith(a.next);
        break;
    case AnswerSpec::Then::Finish:
        finish(ResultMessages::text(a.message), a.next);
        break;
    case AnswerSpec::Then::Chain:
        chain(a);
        break;
    }
}

// The chain goes on after the link that was answered (for the row reads,
// possibly another row than the one asked for) and ends at the last link,
// or when the request in progress was the last one.
void ResponseDispatcher::chain(const AnswerSpec &answer)
{
    bool &running = m_state.*(answer.chain);
    const RequestSpec *asked = RequestTable::find(m_state.currentCommand);
    const bool askedLast =
        asked && asked->answer.chain == answer.chain && asked->answer.next == CommandCode::pause;
    if (!running) {
        finish(ResultMessages::text(answer.message));
    } else if (askedLast || answer.next == CommandCode::pause) {
        running = false;
        finish(ResultMessages::text(answer.chainEnd));
    } else {
        continueWith(answer.next);
    }
}

void ResponseDispatcher::handleFault(const Reply &r, bool itemKnown)
{
    AppState &s = m_state;
    const quint8 cc = s.currentCommand;
    if (cc < CommandCode::pause) {
        cycleFault(r, itemKnown);
        return;
    }
    const RequestSpec *row = RequestTable::find(cc);
    if (row && row->faultEndsExchange) {
        // The page's exchange is over: nothing is left pending for the send
        // timer, and a Read All or Write All does not carry on from the next
        // single-row button.
        s.currentCommand = CommandCode::pause;
        s.readAllActive = false;
        s.writeAllActive = false;
        s.setStatusLine(faultStatus(r.item, itemKnown));
    }
    s.prompt.message(QStringLiteral("7"));
}

void ResponseDispatcher::cycleFault(const Reply &r, bool itemKnown)
{
    AppState &s = m_state;
    quint8 &cc = s.currentCommand;
    s.setStatusLine(faultStatus(r.item, itemKnown));
    if (cc > CommandCode::lastLiveRead) {
        cc = CommandCode::firstLiveRead; // parked between two cycles: the next tick starts the next
                                         // one
    } else if (m_repeatedCommand == cc) {
        // Asked again and failed again: the rest of the cycle is still read.
        m_repeatedCommand = -1;
        cc = cc == CommandCode::lastLiveRead ? CommandCode::firstLiveRead : quint8(cc + 1);
    } else {
        m_repeatedCommand = cc;
    }
    if (m_link.portOpen())
        m_link.restartSendTimer();

    // One box per failing item, not one per cycle, and never a stack of them.
    const bool cycleItem = itemKnown && r.read && RequestTable::pollingRead(r.item);
    if (m_cycleMessageUp || (cycleItem && m_reportedItems.test(r.item)))
        return;
    if (cycleItem)
        m_reportedItems.set(r.item);
    m_cycleMessageUp = true;
    // Shown once the receive step is over: a box opened inside it would hold
    // the send and receive timers until someone presses OK.
    QMetaObject::invokeMethod(
        &s,
        [this] {
            m_state.prompt.message(QStringLiteral("7"));
            m_cycleMessageUp = false;
        },
        Qt::QueuedConnection);
}

QString ResponseDispatcher::faultStatus(quint8 item, bool itemKnown)
{
    if (!itemKnown)
        return tr("An answer could not be decoded: it is shorter than its header");
    if (const RequestSpec *poll = RequestTable::pollingRead(item))
        return tr("Reading the %1 failed: its answer (item %2) could not be decoded")
            .arg(tr(poll->answer.name))
            .arg(item);
    return tr("Reading item %1 failed: its answer could not be decoded").arg(item);
}

void ResponseDispatcher::decodedCycleItem(quint8 item)
{
    m_reportedItems.reset(item);
    m_repeatedCommand = -1;
}

void ResponseDispatcher::finish(const QString &message, quint8 nextCommand)
{
    m_state.currentCommand = nextCommand;
    m_state.prompt.message(message);
}

void ResponseDispatcher::continueWith(quint8 nextCommand)
{
    m_state.currentCommand = nextCommand;
    m_requests.buildRequest();
}

void ResponseDispatcher::resetParkedCycle()
{
    quint8 &cc = m_state.currentCommand;
    if (cc > CommandCode::lastLiveRead && cc <= CommandCode::lastBetweenCycles)
        cc = CommandCode::firstLiveRead;
}
