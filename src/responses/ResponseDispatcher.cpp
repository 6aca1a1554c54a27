#include "responses/ResponseDispatcher.h"

#include "base/UserPrompt.h"
#include "link/CommandCode.h"
#include "requests/SystemForm.h"
#include "responses/FieldDecoding.h"
#include "responses/FrameError.h"
#include "responses/IdentityDecoding.h"
#include "responses/InfoForm.h"
#include "responses/LiveDecoding.h"
#include "responses/ParamDecoding.h"
#include "responses/ResultMessages.h"
#include "responses/SystemDecoding.h"
#include "shell/Core.h"
#include "upgrade/UpgradeForm.h"

struct ResponseDispatcher::Reply {
    QByteArray frame;
    bool read = false; // operation byte 0; anything else acknowledges a write or control
    quint8 item = 0;
    int dataLength = 0;
};

namespace {

using Decoder = void (*)(const QByteArray &frame, int dataLength, Form &form);

// Identity texts: read by the polling cycle into the information page, or on
// request into the system page.
struct TextItem {
    quint8 item;
    quint8 pollCommand;
    quint8 nextPollCommand;
    quint8 systemCommand;
    const QString &infoControl;
    const QString &systemControl;
};

const TextItem textItems[] = {
    {1, 0, 1, CommandCode::projectNumberRead, InfoField::projectNumber, SystemField::projectNumber},
    {2, 1, 2, CommandCode::modelRead, InfoField::model, SystemField::model},
    {3, 2, 3, CommandCode::batteryIdRead, InfoField::batteryId, SystemField::batteryId},
    {19, CommandCode::lastLiveRead, CommandCode::cycleParked, CommandCode::customTextRead,
     InfoField::customText, SystemField::customText},
};

// The rest of the polling cycle. These answers are taken whatever request is in
// progress, and move the cycle on from there.
struct LiveItem {
    quint8 item;
    Decoder decode;
    quint8 nextCommand;
};

const LiveItem liveItems[] = {
    {4, IdentityDecoding::decodeVersions, 4}, {5, LiveDecoding::decodeSof, 5},
    {6, LiveDecoding::decodeLiveData, 6},     {7, LiveDecoding::decodeCellTemperatures, 7},
    {8, LiveDecoding::decodeCellVoltages, 8}, {9, LiveDecoding::decodeBalancing, 9},
};

// Items whose answer ends the exchange with a message, whatever request is in
// progress: a late answer is still shown.
enum class Op { Read, Ack };
enum class Table { Result, Module };

struct EndingItem {
    Op op;
    quint8 item;
    Decoder decode; // reads only
    Form AppState::*form;
    Table table;
    int message;
};

const EndingItem endingItems[] = {
    {Op::Read, 113, ParamDecoding::decodeShortCircuit, &AppState::param, Table::Result, 5},
    {Op::Ack, 113, nullptr, nullptr, Table::Result, 6},
    {Op::Ack, 1, nullptr, nullptr, Table::Result, 7},
    {Op::Ack, 2, nullptr, nullptr, Table::Result, 8},
    {Op::Ack, 3, nullptr, nullptr, Table::Result, 9},
    {Op::Ack, 19, nullptr, nullptr, Table::Result, 10},
    {Op::Read, 125, SystemDecoding::decodeNetworkAddress, &AppState::system, Table::Result, 11},
    {Op::Ack, 125, nullptr, nullptr, Table::Result, 12},
    {Op::Ack, 10, nullptr, nullptr, Table::Result, 13},
    {Op::Read, 10, IdentityDecoding::decodeDates, &AppState::system, Table::Result, 14},
    {Op::Ack, 12, nullptr, nullptr, Table::Result, 15},
    {Op::Read, 12, SystemDecoding::decodePassiveBalancing, &AppState::system, Table::Result, 16},
    {Op::Ack, 11, nullptr, nullptr, Table::Result, 17},
    {Op::Read, 11, SystemDecoding::decodeCounts, &AppState::system, Table::Result, 18},
    {Op::Ack, 13, nullptr, nullptr, Table::Result, 19},
    {Op::Read, 13, SystemDecoding::decodeCapacity, &AppState::system, Table::Result, 20},
    {Op::Read, 14, SystemDecoding::decodeZeroCalibration, &AppState::system, Table::Result, 21},
    {Op::Ack, 14, nullptr, nullptr, Table::Result, 22},
    {Op::Read, 15, SystemDecoding::decodeChargeCalibration, &AppState::system, Table::Result, 23},
    {Op::Ack, 15, nullptr, nullptr, Table::Result, 24},
    {Op::Read, 16, SystemDecoding::decodeDischargeCalibration, &AppState::system, Table::Result,
     25},
    {Op::Ack, 16, nullptr, nullptr, Table::Result, 26},
    {Op::Read, 17, SystemDecoding::decodeSamplingResistor, &AppState::system, Table::Result, 27},
    {Op::Ack, 17, nullptr, nullptr, Table::Result, 28},
    {Op::Read, 18, SystemDecoding::decodeClock, &AppState::system, Table::Result, 29},
    {Op::Ack, 18, nullptr, nullptr, Table::Result, 30},
    {Op::Read, 20, SystemDecoding::decodeSerialSettings, &AppState::system, Table::Result, 31},
    {Op::Ack, 20, nullptr, nullptr, Table::Result, 32},
    {Op::Read, 21, SystemDecoding::decodeHandshake, &AppState::system, Table::Result, 33},
    {Op::Ack, 21, nullptr, nullptr, Table::Result, 34},
    {Op::Read, 22, SystemDecoding::decodeCustomSelection, &AppState::system, Table::Result, 35},
    {Op::Ack, 22, nullptr, nullptr, Table::Result, 36},
    {Op::Read, 23, SystemDecoding::decodeCurrentLimiting, &AppState::system, Table::Module, 0},
    {Op::Ack, 23, nullptr, nullptr, Table::Module, 1},
    {Op::Read, 130, SystemDecoding::decodePreDischarge, &AppState::system, Table::Module, 2},
    {Op::Ack, 130, nullptr, nullptr, Table::Module, 3},
    {Op::Read, 24, SystemDecoding::decodeActiveBalancing, &AppState::system, Table::Module, 4},
    {Op::Ack, 24, nullptr, nullptr, Table::Module, 5},
};

constexpr quint8 controlAckItem = 60;
constexpr quint8 appUpgradeItem = 250, bootUpgradeItem = 251;
constexpr quint8 recordCountItem = 71, recordItem = 70;

// The items of the polling cycle, as the status line names them when their
// answer cannot be decoded.
struct CycleRead {
    quint8 item;
    const char *name;
};

const CycleRead cycleReads[] = {
    {1, QT_TRANSLATE_NOOP("ResponseDispatcher", "project number")},
    {2, QT_TRANSLATE_NOOP("ResponseDispatcher", "BMS model")},
    {3, QT_TRANSLATE_NOOP("ResponseDispatcher", "battery ID")},
    {4, QT_TRANSLATE_NOOP("ResponseDispatcher", "software and hardware version")},
    {5, QT_TRANSLATE_NOOP("ResponseDispatcher", "SOF")},
    {6, QT_TRANSLATE_NOOP("ResponseDispatcher", "basic information")},
    {7, QT_TRANSLATE_NOOP("ResponseDispatcher", "cell temperatures")},
    {8, QT_TRANSLATE_NOOP("ResponseDispatcher", "cell voltages")},
    {9, QT_TRANSLATE_NOOP("ResponseDispatcher", "balancing state")},
    {19, QT_TRANSLATE_NOOP("ResponseDispatcher", "custom text")},
};

const CycleRead *cycleRead(quint8 item)
{
    for (const CycleRead &c : cycleReads)
        if (c.item == item)
            return &c;
    return nullptr;
}

bool isRowItem(quint8 item)
{
    return item >= ParamDecoding::firstRowItem && item <= ParamDecoding::lastRowItem;
}

} // namespace

ResponseDispatcher::ResponseDispatcher(Core &core) : m_core(core) {}

void ResponseDispatcher::dispatchResponse()
{
    AppState &s = m_core.state;
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

        m_core.link.stopSendTimer();
        s.linkCountdown = linkCountdownStart;
        if (s.currentCommand == CommandCode::pause)
            s.setStatusLine(tr("Communication pause"));

        routeTextItems(r);
        routeLiveItems(r);
        resetParkedCycle();
        routeParamRead(r);
        routeParamWriteAck(r);
        routeControlAck(r);
        routeEndingItems(r);
        routeUpgradeAck(r);
        routeStoredRecords(r);
    } catch (const FrameError &) {
        handleFault(r, itemKnown);
        return;
    }

    // Live reads are repeated by the send timer until answered, and the cycle
    // restarts on its next tick. An answer that left a live code in place
    // without sending (a control acknowledged, a stray or duplicated frame)
    // must not leave that clock stopped, or the page would stop updating.
    if (s.currentCommand <= CommandCode::lastLiveRead && m_core.link.portOpen() &&
        !m_core.link.sendTimer().isActive())
        m_core.link.restartSendTimer();
}

void ResponseDispatcher::handleFault(const Reply &r, bool itemKnown)
{
    AppState &s = m_core.state;
    const quint8 cc = s.currentCommand;
    if (cc < CommandCode::pause) {
        cycleFault(r, itemKnown);
        return;
    }
    // Parameter page (rows, short-circuit levels) and system page requests; the
    // controls in between are acknowledged, never decoded.
    const bool pageExchange = cc >= CommandCode::firstRowRead && cc <= CommandCode::lastSetting &&
                              (cc < CommandCode::firstControl || cc > CommandCode::lastControl);
    if (pageExchange) {
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
    AppState &s = m_core.state;
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
    if (m_core.link.portOpen())
        m_core.link.restartSendTimer();

    // One box per failing item, not one per cycle, and never a stack of them.
    const bool cycleItem = itemKnown && r.read && cycleRead(r.item);
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
            m_core.state.prompt.message(QStringLiteral("7"));
            m_cycleMessageUp = false;
        },
        Qt::QueuedConnection);
}

QString ResponseDispatcher::faultStatus(quint8 item, bool itemKnown)
{
    if (!itemKnown)
        return tr("An answer could not be decoded: it is shorter than its header");
    if (const CycleRead *c = cycleRead(item))
        return tr("Reading the %1 failed: its answer (item %2) could not be decoded")
            .arg(tr(c->name))
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
    m_core.state.currentCommand = nextCommand;
    m_core.state.prompt.message(message);
}

void ResponseDispatcher::continueWith(quint8 nextCommand)
{
    m_core.state.currentCommand = nextCommand;
    m_core.requests.buildRequest();
}

void ResponseDispatcher::routeTextItems(const Reply &r)
{
    AppState &s = m_core.state;
    for (const TextItem &t : textItems) {
        if (!r.read || r.item != t.item)
            continue;
        if (s.currentCommand == t.pollCommand) {
            IdentityDecoding::decodeText(r.frame, r.dataLength, s.info, t.infoControl);
            decodedCycleItem(r.item);
            continueWith(t.nextPollCommand);
        } else if (s.currentCommand == t.systemCommand) {
            IdentityDecoding::decodeText(r.frame, r.dataLength, s.system, t.systemControl);
            decodedCycleItem(r.item);
            finish(ResultMessages::result(0));
        }
    }
}

void ResponseDispatcher::routeLiveItems(const Reply &r)
{
    for (const LiveItem &l : liveItems) {
        if (r.read && r.item == l.item) {
            l.decode(r.frame, r.dataLength, m_core.state.info);
            decodedCycleItem(r.item);
            m_core.state.notifyLiveItemDecoded(r.item);
            continueWith(l.nextCommand);
        }
    }
}

void ResponseDispatcher::resetParkedCycle()
{
    quint8 &cc = m_core.state.currentCommand;
    if (cc > CommandCode::lastLiveRead && cc <= CommandCode::lastBetweenCycles)
        cc = CommandCode::firstLiveRead;
}

void ResponseDispatcher::routeParamRead(const Reply &r)
{
    AppState &s = m_core.state;
    const quint8 cc = s.currentCommand;
    if (!r.read || cc < CommandCode::firstRowRead || cc > CommandCode::lastRowRead ||
        !isRowItem(r.item))
        return;
    // The row comes from the item, not from the request: an answer for another
    // row fills that row and the chain goes on after it.
    const int row = r.item - ParamDecoding::firstRowItem;
    ParamDecoding::decodeRow(r.frame, row, s.param);
    if (!s.readAllActive) {
        finish(ResultMessages::result(0));
    } else if (cc == CommandCode::lastRowRead) {
        s.readAllActive = false;
        finish(ResultMessages::result(1));
    } else {
        continueWith(CommandCode::rowRead(row + 1));
    }
}

void ResponseDispatcher::routeParamWriteAck(const Reply &r)
{
    AppState &s = m_core.state;
    const quint8 cc = s.currentCommand;
    if (r.read || !isRowItem(r.item))
        return;
    const int row = r.item - ParamDecoding::firstRowItem;
    if (cc != CommandCode::rowWrite(row))
        return;
    if (!s.writeAllActive) {
        finish(ResultMessages::result(2));
    } else if (cc == CommandCode::lastRowWrite) {
        s.writeAllActive = false;
        finish(ResultMessages::result(3));
    } else {
        continueWith(CommandCode::rowWrite(row + 1));
    }
}

void ResponseDispatcher::routeControlAck(const Reply &r)
{
    const quint8 cc = m_core.state.currentCommand;
    if (r.read || cc < CommandCode::firstControl || cc > CommandCode::lastControl ||
        r.item != controlAckItem)
        return;
    // Sleep and storage leave the pack silent, so the cycle stays paused.
    const bool staysPaused = cc == CommandCode::sleep || cc == CommandCode::storage;
    finish(ResultMessages::result(4),
           staysPaused ? CommandCode::pause : CommandCode::firstLiveRead);
}

void ResponseDispatcher::routeEndingItems(const Reply &r)
{
    AppState &s = m_core.state;
    for (const EndingItem &e : endingItems) {
        if (r.item != e.item || r.read != (e.op == Op::Read))
            continue;
        if (e.decode)
            e.decode(r.frame, r.dataLength, s.*(e.form));
        finish(e.table == Table::Result ? ResultMessages::result(e.message)
                                        : ResultMessages::module(e.message));
    }
}

void ResponseDispatcher::routeUpgradeAck(const Reply &r)
{
    if (r.read)
        return;
    const bool appSelected = m_core.state.upgrade.choice(UpgradeField::target) == UpgradeField::app;
    if ((r.item == appUpgradeItem && appSelected) || (r.item == bootUpgradeItem && !appSelected))
        m_core.upgrade.handleReply();
}

void ResponseDispatcher::routeStoredRecords(const Reply &r)
{
    if (r.read && r.item == recordCountItem)
        m_core.stored.handleCount();
    if (r.read && r.item == recordItem)
        m_core.stored.handleRecord();
}
