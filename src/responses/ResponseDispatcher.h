#pragma once

#include "link/CommandCode.h"

#include <QCoreApplication>
#include <QtGlobal>

#include <bitset>

class Core;

// Routes the frame in AppState::rxFrame by its operation byte, item byte and
// the request in progress to its decoder, then continues a chain or ends the
// exchange with its result message.
//
// The routing rows are tested one after the other for every frame; a row may
// change currentCommand for the rows after it (the custom-text answer parks the
// cycle at 11, which the reset row then turns into 0). A frame that cannot be
// decoded stops at the fault; values written before it stay and the message
// "7" is shown. What happens next depends on the request in progress:
// - a read of the polling cycle is asked again at the next send tick; if its
//   answer fails again the cycle moves on past it. The "7" waits until the
//   receive step is over, so the polling (and a recording that follows it)
//   goes on while it is shown, and it comes once per item until that item
//   decodes again;
// - a page exchange (parameter or system read, Read All) ends: pause code,
//   chains cleared, the page's buttons work as before;
// - anything else keeps the request as it was.
// The status line names the read whose answer failed.
class ResponseDispatcher {
    Q_DECLARE_TR_FUNCTIONS(ResponseDispatcher)
public:
    explicit ResponseDispatcher(Core &core);
    void dispatchResponse();

    static constexpr qint32 linkCountdownStart = 20;

private:
    struct Reply;
    void routeTextItems(const Reply &r);
    void routeLiveItems(const Reply &r);
    void resetParkedCycle();
    void routeParamRead(const Reply &r);
    void routeParamWriteAck(const Reply &r);
    void routeControlAck(const Reply &r);
    void routeEndingItems(const Reply &r);
    void routeUpgradeAck(const Reply &r);
    void routeStoredRecords(const Reply &r);

    // Ends an exchange: the pause code first, so that nothing the message box
    // lets run in the meantime sees the finished request as still pending.
    void finish(const QString &message, quint8 nextCommand = CommandCode::pause);
    void continueWith(quint8 nextCommand);

    void decodedCycleItem(quint8 item);
    void handleFault(const Reply &r, bool itemKnown);
    void cycleFault(const Reply &r, bool itemKnown);
    static QString faultStatus(quint8 item, bool itemKnown);

    Core &m_core;
    // Cycle items whose "7" has been shown and that have not decoded since.
    std::bitset<256> m_reportedItems;
    // The cycle read that is being asked again after its answer failed; -1 none.
    int m_repeatedCommand = -1;
    // A cycle "7" is queued or open; no second box is stacked on it.
    bool m_cycleMessageUp = false;
};
